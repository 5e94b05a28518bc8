#include <gtest/gtest.h>

#include "block_test_support.hpp"
#include "catalogue/channel_freq_table.hpp"
#include "engine/tables_amplifier.hpp"

namespace kavrix::test {
namespace {

using engine::TerrAmpData;

TEST(ChannelFreqTableTest, RastersAndUndefinedIndices) {
  EXPECT_EQ(ChannelFreqTable[21], 470.0);
  EXPECT_EQ(ChannelFreqTable[69], 854.0);
  EXPECT_EQ(ChannelFreqTable[70], 174.0);
  EXPECT_EQ(ChannelFreqTable[77], 223.0);
  EXPECT_EQ(ChannelFreqTable[84], 222.0);
  EXPECT_EQ(ChannelFreqTable[90], 208.0);
  EXPECT_EQ(ChannelFreqTable[94], 223.0);
  EXPECT_EQ(*ChannelLowerEdge(100), 470.0);
  EXPECT_EQ(*ChannelLowerEdge(155), 855.0);
  for (int i : {-1, 0, 20, 95, 99, 156, 1000}) EXPECT_FALSE(ChannelLowerEdge(i).has_value()) << i;
}

TEST(Attenuator, BandsTiltAndStep) {
  BlockNet net;
  const int n = net.node(80005, net.object(80));
  BlockNet::freqs({470, 862, 46, 47, 863, 469.5, 4});
  BlockNet::settings(n, 0);
  BlockNet::input(n, 70.0);
  CalcNode(n, -1);
  EXPECT_NEAR(BlockNet::out(n, 1, 0), 66.5, kTol);
  EXPECT_NEAR(BlockNet::out(n, 1, 1), 65.5, kTol);
  EXPECT_EQ(BlockNet::out(n, 1, 2), -1.0e7);
  EXPECT_NEAR(BlockNet::out(n, 1, 3), 66.5, kTol);
  EXPECT_EQ(BlockNet::out(n, 1, 4), kNoSignal);
  EXPECT_NEAR(BlockNet::out(n, 1, 5), 66.5 + 0.5 / 392, kTol);
  EXPECT_EQ(BlockNet::out(n, 1, 6), kNoSignal);
  BlockNet::settings(n, -10);
  CalcNode(n, -1);
  EXPECT_NEAR(BlockNet::out(n, 1, 0), 70.0 - 8.0 - 3.5, 1e-12);
}

class ChannelAmp : public ::testing::Test {
 protected:
  void build(int kind, int mode, int c1, int r1 = 0, int c2 = 0, int r2 = 0) {
    obj = net.object(kind, mode);
    AddContinuation(c1, c2, r1, r2);
    AddContinuation(0, 0, 0, 0);
    main = net.node(kind * 1000 + 105, obj, 105);
    second = net.node(kind * 1000 + 205, obj, 105);
    BlockNet::input(second, -1e6);
  }
  void run(double level) {
    BlockNet::input(main, level);
    CalcNode(main, -1);
  }
  BlockNet net;
  int obj = 0, main = 0, second = 0;
};

TEST_F(ChannelAmp, WindowIsInclusiveAndNeedsInputAboveThreshold) {
  build(81, 0, 21, 3);
  BlockNet::freqs({470, 478, 479});
  run(60.0);
  EXPECT_EQ(BlockNet::out(main, 1, 0), -1000.0);
  run(60.5);
  EXPECT_EQ(BlockNet::out(main, 1, 0), 87.0);
  EXPECT_EQ(BlockNet::out(main, 1, 1), 87.0);
  EXPECT_EQ(BlockNet::out(main, 1, 2), -1000.0);
  EXPECT_EQ(BlockNet::out(second, 1, 0), 87.0);  // both nodes of the channel output carry it
}

TEST_F(ChannelAmp, RastersByKindAndMode) {
  build(83, 0, 5, 0, 12, 0);  // channel 12 lies outside every frequency below
  BlockNet::freqs({174, 181, 208, 215});
  run(70.0);
  EXPECT_EQ(BlockNet::out(main, 1, 0), 90.0);
  EXPECT_EQ(BlockNet::out(main, 1, 1), 90.0);
  EXPECT_EQ(BlockNet::out(main, 1, 2), -1000.0);
  NetObjects[obj][kInst] = 2;
  run(70.0);
  EXPECT_EQ(BlockNet::out(main, 1, 0), -1000.0);
  EXPECT_EQ(BlockNet::out(main, 1, 3), 90.0);
  // A mode the kind does not have leaves the channel output as it was.
  NetObjects[obj][kInst] = 7;
  NodeSpectra(main, 1, 0) = 12.0;
  run(70.0);
  EXPECT_EQ(BlockNet::out(main, 1, 0), 12.0);
}

TEST_F(ChannelAmp, UhfChannelListOfKind82) {
  build(82, 1, 20, 0, 76, 0);
  BlockNet::freqs({470, 477, 862, 478});
  run(55.0);
  EXPECT_EQ(BlockNet::out(main, 1, 0), 85.0);
  EXPECT_EQ(BlockNet::out(main, 1, 1), 85.0);
  EXPECT_EQ(BlockNet::out(main, 1, 2), -1000.0);  // channel 76 names no channel
  EXPECT_EQ(BlockNet::out(main, 1, 3), -1000.0);
}

TEST_F(ChannelAmp, SecondInputAddsAsVoltage) {
  build(81, 0, 21, 10);
  BlockNet::freqs({474, 600});
  BlockNet::input(second, 82.0);
  run(70.0);
  EXPECT_NEAR(BlockNet::out(main, 1, 0), 80.0 + 20 * std::log10(2.0), kTol);
  EXPECT_NEAR(BlockNet::out(second, 1, 0), 86.0206, 1e-4);
  // Outside the channels the second input passes alone (the -1000 adds nothing).
  EXPECT_NEAR(BlockNet::out(main, 1, 1), 80.0, 1e-9);
  BlockNet::input(second, 1.0);
  run(70.0);
  EXPECT_EQ(BlockNet::out(main, 1, 0), 80.0);
  EXPECT_EQ(BlockNet::out(second, 1, 0), 80.0);
}

TEST_F(ChannelAmp, SecondNodeOfAnotherSourceOrObjectIsLeftAlone) {
  TerrSourceIndex = 1;  // the group-2 node of the same source would be two rows on
  build(81, 0, 21);
  BlockNet::freqs({474});
  run(70.0);
  EXPECT_EQ(BlockNet::out(second, 1, 0), kNoSignal);
  EXPECT_EQ(BlockNet::out(main, 1, 0), 90.0);
}

TEST(ThreeBand, FixedFiguresBandsAndSteps) {
  const auto& d = TerrAmpData();
  EXPECT_DOUBLE_EQ(d.rimbGain.at(0, 0), -1.31);
  EXPECT_DOUBLE_EQ(d.rimbGain.at(12, 0), -3.4);
  EXPECT_DOUBLE_EQ(d.rimbGain.at(13, 0), -33.4);
  EXPECT_DOUBLE_EQ(d.rimbGain.at(0, 1), -16.0);
  EXPECT_DOUBLE_EQ(d.rimbGain.at(6, 1), -1.07);
  EXPECT_DOUBLE_EQ(d.rimbGain.at(0, 2), -1.1);
  EXPECT_DOUBLE_EQ(d.rimbGain.at(6, 2), -17.5);
  EXPECT_DOUBLE_EQ(d.qent1Gain.at(0, 0), 28.9);
  EXPECT_DOUBLE_EQ(d.qent1Gain.at(12, 0), 25.8);
  EXPECT_DOUBLE_EQ(d.qent1Gain.at(13, 0), -10.5);
  EXPECT_DOUBLE_EQ(d.qent1Step.at(0, 0, 0), 5.9);
  EXPECT_DOUBLE_EQ(d.qent1Step.at(0, 0, 1), 8.3);

  BlockNet net;
  const int o87 = net.object(87);
  const int uhf = net.node(87005, o87);
  const int vhf = net.node(87105, o87);
  const int q2 = net.node(88005, net.object(88));
  auto gain = [](int n, double f, int s) {
    BlockNet::freqs({f});
    BlockNet::settings(n, s);
    BlockNet::input(n, 60.0);
    CalcNode(n, -1);
    return BlockNet::out(n, 1, 0) - 60.0;
  };
  const double a0 = 5.9, a1 = 8.3;
  EXPECT_NEAR(gain(uhf, 470, -7), 28.9 - a0, kTol);
  EXPECT_NEAR(gain(uhf, 470, -8), 28.9 - a0 - a1 / 8, kTol);
  const double b0 = d.qent1Step.at(6, 1, 0), b1 = d.qent1Step.at(6, 1, 1);
  EXPECT_NEAR(gain(vhf, 174, -6), 26.0 - b0, kTol);
  EXPECT_NEAR(gain(vhf, 174, -7), 26.0 - b0 - b1 / 6, kTol);
  EXPECT_EQ(gain(vhf, 120, 0), -1.0e7 - 60.0);  // between FM and band III: blocked
  const double p = d.qent2Step.at(0, 0, 0), c0 = d.qent2Step.at(0, 0, 1), c1 = d.qent2Step.at(0, 0, 2);
  EXPECT_NEAR(gain(q2, 470, -10), 35.0 - c0 - 3 * c1 / 8, kTol);
  EXPECT_NEAR(gain(q2, 470, -11), 35.0 - p - c0 / 7, kTol);
  EXPECT_NEAR(gain(q2, 469.5, 0), 35.0, kTol);  // below the first point: the first value
}

TEST(Broadband, StepSlopeAndTaps) {
  const auto& d = TerrAmpData();
  EXPECT_DOUBLE_EQ(d.slev2Gain.at(2), 37.13);
  EXPECT_DOUBLE_EQ(d.slev2Gain.at(15), 37.02);
  for (int j = 19; j < 24; ++j) EXPECT_EQ(d.slev3Gain.at(j), 0.0);

  BlockNet net;
  const int o = net.object(89);
  const int mainOut = net.node(89005, o);
  const int inTap = net.node(89105, o);
  const int outTap = net.node(89205, o);
  BlockNet::freqs({50});
  auto gain = [](int n, int s, int t) {
    BlockNet::settings(n, s, t);
    BlockNet::input(n, 60.0);
    CalcNode(n, -1);
    return BlockNet::out(n, 1, 0) - 60.0;
  };
  const double p = d.slev2Step.at(2, 0), a0 = d.slev2Step.at(2, 1), a1 = d.slev2Step.at(2, 2);
  EXPECT_NEAR(gain(mainOut, -9, 1), 37.13 - a0 - 4 * a1 / 5, kTol);
  EXPECT_NEAR(gain(mainOut, -10, 1), 37.13 - p, kTol);
  const double v0 = d.slev2Slope.at(2, 0), v1 = d.slev2Slope.at(2, 1), v2 = d.slev2Slope.at(2, 2);
  EXPECT_NEAR(gain(mainOut, 0, 11), 37.13 - v1 - v2, kTol);
  EXPECT_NEAR(gain(mainOut, 0, 12), 37.13 - v0 - v1 / 5, kTol);
  EXPECT_NEAR(gain(mainOut, 0, 0), 37.13, kTol);
  EXPECT_NEAR(gain(inTap, -20, 21), -20.0, kTol);
  EXPECT_NEAR(gain(outTap, -9, 11), 37.13 - a0 - 4 * a1 / 5 - v1 - v2 - 30.0, kTol);
}

// Antenna line through the three-band amplifier's UHF input, an attenuator and a broadband
// amplifier, computed node by node.
TEST(TerrChain, ThreeBandThenAttenuatorThenBroadband) {
  BlockNet net;
  BlockNet::freqs({474, 602, 858});
  const int qent = net.node(88005, net.object(88));
  const int att = net.node(80005, net.object(80));
  const int amp = net.node(90005, net.object(90));
  BlockNet::settings(qent, 0);
  BlockNet::settings(att, -5);
  BlockNet::settings(amp, 0, 1);
  BlockNet::input(qent, 40.0);
  CalcNode(qent, -1);
  BlockNet::feed(qent, att);
  BlockNet::feed(att, amp);
  EXPECT_NEAR(BlockNet::out(att, 1, 0), BlockNet::out(qent, 1, 0) - 4.0 - 3.5 - 4.0 / 392, 1e-12);
  EXPECT_GT(BlockNet::out(amp, 1, 0), 95.0);  // about 35 + 34 + 34 - 7.5
  EXPECT_LT(BlockNet::out(amp, 1, 2), BlockNet::out(att, 1, 2) + 0.001);  // 0 dB above 800 MHz
}

}  // namespace
}  // namespace kavrix::test

#include <gtest/gtest.h>

#include "block_test_support.hpp"
#include "engine/tables_amplifier.hpp"

namespace kavrix::test {
namespace {

using engine::HouseAmpData;

TEST(LaunchAmplifier, StepAndSlopeRules) {
  const auto& d = HouseAmpData();
  EXPECT_DOUBLE_EQ(d.nerbGain[0].at(0, 0), 26.7);
  EXPECT_DOUBLE_EQ(d.nerbGain[0].at(4, 0), 7.3);
  EXPECT_DOUBLE_EQ(d.nerbStep[0].at(0, 0, 0), 5.6);
  EXPECT_DOUBLE_EQ(d.nerbStep[0].at(0, 0, 1), 14.4);

  BlockNet net;
  const int o = net.object(50);
  const int sat = net.node(50001, o);
  const int terr = net.node(50005, o);
  BlockNet::freqs({950, 5});
  auto run = [&](int n, int s, int t, int k) {
    BlockNet::settings(n, s, t);
    BlockNet::input(n, 60.0);
    CalcNode(n, -1);
    return BlockNet::out(n, 1, k) - 60.0;
  };
  EXPECT_NEAR(run(sat, 0, 1, 0), 26.7, kTol);
  EXPECT_NEAR(run(sat, -10, 1, 0), 26.7 - 5.6, kTol);
  EXPECT_NEAR(run(sat, -11, 1, 0), 26.7 - 5.6 - 1.44, kTol);
  EXPECT_NEAR(run(sat, 0, 11, 0), 26.7, kTol);  // no slope on a satellite line
  const double sla = d.nerbSlope[0].at(0, 0), slb = d.nerbSlope[0].at(0, 1);
  EXPECT_NEAR(run(terr, 0, 11, 1), 7.3 - sla, kTol);
  EXPECT_NEAR(run(terr, 0, 12, 1), 7.3 - sla - slb / 10, kTol);
  EXPECT_NEAR(run(terr, 0, kNoLimit, 1), 7.3, kTol);
}

TEST(HouseAmplifierSlev1, SlopeLadderAndTestOutput) {
  const auto& d = HouseAmpData();
  EXPECT_DOUBLE_EQ(d.slevGain.at(0), 3.61);
  EXPECT_DOUBLE_EQ(d.slevGain.at(1), 18.08);
  EXPECT_DOUBLE_EQ(d.slevStep.at(0, 0), 1.1);
  EXPECT_DOUBLE_EQ(d.slevStep.at(0, 1), 1.07);
  EXPECT_DOUBLE_EQ(d.slevSlope.at(0, 0), 0.96);
  EXPECT_DOUBLE_EQ(d.slevSlope.at(0, 1), 1.0);

  BlockNet net;
  const int o = net.object(45);
  const int main = net.node(45005, o);
  const int tap = net.node(45105, o);
  BlockNet::freqs({25});
  const double s1 = d.slevSlope.at(1, 0), s2 = d.slevSlope.at(1, 1);
  auto gain = [&](int n, int t) {
    BlockNet::settings(n, 0, t);
    BlockNet::input(n, 60.0);
    CalcNode(n, -1);
    return BlockNet::out(n, 1, 0) - 60.0;
  };
  EXPECT_NEAR(gain(main, 1), 18.08, kTol);
  EXPECT_NEAR(gain(main, 0), 18.08, kTol);
  EXPECT_NEAR(gain(main, 11), 18.08 - s1, kTol);
  EXPECT_NEAR(gain(main, 12), 18.08 - s1 - s2 / 10, kTol);
  EXPECT_NEAR(gain(tap, 12), 18.08 - s1 - s2 / 10 - 30.0, kTol);
}

class Vorb1Test : public ::testing::Test {
 protected:
  // Groups 0..3 of one terrestrial path, T + 1 copies each (T = TerrSourceIndex).
  void build(int copies) {
    TerrSourceIndex = copies - 1;
    obj = net.object(43);
    for (int g = 0; g < 4; ++g)
      for (int c = 0; c < copies; ++c) nodes[g][c] = net.node(43005 + 100 * g, obj, 105 + c);
  }
  double gainAt(int group, double f, int s, int t) {
    BlockNet::freqs({f});
    const int n = nodes[group][0];
    BlockNet::settings(n, s, t);
    BlockNet::input(n, 60.0);
    CalcNode(n, -1);
    return BlockNet::out(n, 1, 0) - 60.0;
  }
  BlockNet net;
  int obj = 0;
  int nodes[4][3] = {};
};

TEST_F(Vorb1Test, PadsAreTheFirstStepsAgain) {
  build(1);
  const auto& d = HouseAmpData();
  EXPECT_NEAR(gainAt(0, 75, -11, 1), gainAt(0, 75, -1, 1) - d.vorbStep.at(0, 0, 0), kTol);
  EXPECT_NEAR(gainAt(1, 470, -8, 1), gainAt(1, 470, -1, 1) - d.vorbStep.at(0, 1, 0), kTol);
  EXPECT_NEAR(gainAt(0, 75, -5, 1), d.vorbGain.at(0, 0) - d.vorbStep.at(0, 0, 1), kTol);
  EXPECT_NEAR(gainAt(1, 470, -7, 1), d.vorbGain.at(0, 1) - d.vorbStep.at(0, 1, 1) - d.vorbStep.at(0, 1, 2),
              kTol);
  // Slope: group 0 t = 9 is t = 2 plus the slope pad.
  const double pad = d.vorbSlope.at(0, 0, 0);
  EXPECT_NEAR(gainAt(0, 75, 0, 9), gainAt(0, 75, 0, 2) - pad, kTol);
  EXPECT_NEAR(gainAt(0, 75, 0, 5), d.vorbGain.at(0, 0) - d.vorbSlope.at(0, 0, 1), kTol);
}

TEST_F(Vorb1Test, OutOfBandNeighboursAndTestOutputs) {
  build(2);
  const int g0 = nodes[0][1];  // second terrestrial source
  BlockNet::freqs({70, 80, 240});
  BlockNet::input(g0, 60.0);
  CalcNode(g0, -1);
  EXPECT_EQ(BlockNet::out(g0, 1, 0), -1000.0);
  EXPECT_EQ(BlockNet::out(g0, 1, 2), -1000.0);
  // Test outputs of the same source: input - 20 and output - 30; the first source's untouched.
  EXPECT_NEAR(BlockNet::out(nodes[2][1], 1, 1), 40.0, kTol);
  EXPECT_NEAR(BlockNet::out(nodes[3][1], 1, 1), BlockNet::out(g0, 1, 1) - 30.0, kTol);
  EXPECT_EQ(BlockNet::out(nodes[2][0], 1, 1), kNoSignal);

  const int g1 = nodes[1][1];
  BlockNet::freqs({466, 474, 870});
  BlockNet::input(g1, 60.0);
  CalcNode(g1, -1);
  EXPECT_EQ(BlockNet::out(g1, 1, 0), -1e8);
  EXPECT_EQ(BlockNet::out(g1, 1, 2), -1e8);
  // Only a UHF output above -10 dBuV reaches the output test port: 466 MHz keeps the VHF value.
  EXPECT_NEAR(BlockNet::out(nodes[3][1], 1, 1), BlockNet::out(g1, 1, 1) - 30.0, kTol);
  EXPECT_NEAR(BlockNet::out(nodes[3][1], 1, 0), -1000.0 - 30.0, kTol);

  // A list whose first entry is in band leaves its upper neighbour alone.
  BlockNet::freqs({474, 870});
  NodeSpectra(g1, 1, 1) = 5.0;
  CalcNode(g1, -1);
  EXPECT_EQ(BlockNet::out(g1, 1, 1), 5.0);
}

// The VHF node's output, which the chain below the shared output pin takes, carries the UHF
// band as the UHF node computes it from its own input and settings; not the UHF node's
// out-of-band markers, and nothing when the two outputs lie apart.
TEST_F(Vorb1Test, VhfOutputCarriesTheUhfBandOfTheSharedPin) {
  build(1);
  const int g0 = nodes[0][0], g1 = nodes[1][0];
  BlockNet::freqs({200, 474, 870});
  BlockNet::input(g0, 60.0);
  BlockNet::input(g1, 50.0);
  BlockNet::settings(g1, -3, 1);
  CalcNode(g0, -1);
  CalcNode(g1, -1);
  EXPECT_NEAR(BlockNet::out(g0, 1, 0), 60.0 + gainAt(0, 200, 0, 1), kTol) << "the VHF carrier";
  BlockNet::freqs({200, 474, 870});
  CalcNode(g0, -1);
  EXPECT_EQ(BlockNet::out(g0, 1, 1), BlockNet::out(g1, 1, 1)) << "474 MHz as the UHF node has it";
  EXPECT_EQ(BlockNet::out(g1, 1, 2), -1e8);
  EXPECT_EQ(BlockNet::out(g0, 1, 2), kNoSignal) << "870 MHz: neither band computes it";

  // One list position at a time, as the level adjustment's trial walk computes.
  BlockNet::input(g1, 40.0);
  CalcNode(g1, 1);
  CalcNode(g0, 1);
  EXPECT_EQ(BlockNet::out(g0, 1, 1), BlockNet::out(g1, 1, 1));

  Nodes[g1][kNodeOutX] = 500;  // the UHF output elsewhere
  BlockNet::input(g1, 30.0);
  CalcNode(g1, -1);
  CalcNode(g0, -1);
  EXPECT_NE(BlockNet::out(g0, 1, 1), BlockNet::out(g1, 1, 1));
}

TEST_F(Vorb1Test, SiblingOutsideTheObjectIsNotWritten) {
  build(1);
  // A group-1 node whose test-output rows belong to another object.
  const int other = net.object(43);
  const int lone = net.node(43105, other);
  net.node(43205, obj);
  BlockNet::freqs({474});
  BlockNet::input(lone, 60.0);
  CalcNode(lone, -1);
  EXPECT_EQ(BlockNet::out(lone + 1, 1, 0), kNoSignal);
  EXPECT_NE(BlockNet::out(lone, 1, 0), kNoSignal);
}

TEST(HouseAmplifierWexl1, BandsAndTestOutputs) {
  BlockNet net;
  TerrSourceIndex = 0;
  const int o = net.object(44);
  int n[8];
  for (int g = 0; g < 8; ++g) n[g] = net.node(44005 + 100 * g, o, 105);
  BlockNet::freqs({100, 120, 174, 250, 469.5, 600});
  for (int g = 0; g < 8; ++g) BlockNet::input(n[g], 50.0);
  for (int g = 0; g < 8; ++g) CalcNode(n[g], -1);
  const auto& d = HouseAmpData();
  EXPECT_NE(BlockNet::out(n[3], 1, 0), engine::kNoPath);
  EXPECT_EQ(BlockNet::out(n[3], 1, 1), engine::kNoPath);
  EXPECT_NEAR(BlockNet::out(n[2], 1, 2), 50.0 + d.wexlGain.at(9, 2), kTol);  // 174 is a grid point
  EXPECT_NEAR(BlockNet::out(n[2], 1, 3), 50.0 + d.wexlGain.at(15, 2), kTol);  // held past 237 MHz
  EXPECT_NEAR(BlockNet::out(n[1], 1, 4), 50.0 + d.wexlGain.at(0, 1), kTol);
  for (int k = 0; k < 6; ++k) EXPECT_EQ(BlockNet::out(n[5], 1, k), BlockNet::out(n[1], 1, k) - 30.0);
  // Steps: -5 is the first step value, -11 the pad with one step.
  BlockNet::freqs({600});
  auto gain = [&](int s) {
    BlockNet::settings(n[0], s);
    CalcNode(n[0], -1);
    return BlockNet::out(n[0], 1, 0) - 50.0;
  };
  const int i = 6;  // 620 MHz is the first row-4 point at or above 600
  EXPECT_NEAR(gain(0) - gain(-5), d.wexlStep.at(i, 0, 1), kTol);
  EXPECT_NEAR(gain(0) - gain(-11), d.wexlStep.at(i, 0, 0) + d.wexlStep.at(i, 0, 1) / 5, kTol);
}

// Launch amplifier into a Slev1 house amplifier on the terrestrial line.
TEST(HouseAmplifierChain, LaunchThenHouseAmplifier) {
  BlockNet net;
  BlockNet::freqs({50, 400, 862});
  const int launch = net.node(51005, net.object(51));
  const int house = net.node(45005, net.object(45));
  BlockNet::settings(launch, -5, 1);
  BlockNet::settings(house, 0, 1);
  BlockNet::input(launch, 50.0);
  CalcNode(launch, -1);
  BlockNet::feed(launch, house);
  const auto& d = HouseAmpData();
  const double expected = 50.0 + d.nerbGain[1].at(4, 2) - d.nerbStep[1].at(2, 4, 0) / 2 + d.slevGain.at(2);
  EXPECT_NEAR(BlockNet::out(house, 1, 0), expected, kTol);
  for (int k = 0; k < 3; ++k) EXPECT_GT(BlockNet::out(house, 1, k), 70.0);
}

}  // namespace
}  // namespace kavrix::test

// The panel setting codes shared by the engine, the run and the property panels.
#include "model/panel_encodings.hpp"

#include <gtest/gtest.h>

#include "support/model_guard.hpp"

namespace kavrix::test {
namespace {

TEST(LegacyOutputsCode, EncodesAndDecodesTheCheckedBoxes) {
  // Kind 184: "A2" is digit 2, "B1" digit 5.
  const int32_t code = panel::EncodeLegacyOutputs(184, (1u << 2) | (1u << 5), false);
  EXPECT_EQ(code, 11001);
  EXPECT_TRUE(panel::LegacyOutputChecked(code, 2));
  EXPECT_FALSE(panel::LegacyOutputChecked(code, 3));
  EXPECT_TRUE(panel::LegacyOutputChecked(code, 5));
  EXPECT_FALSE(panel::LegacyOutputChecked(code, 6));

  // Kind 183 with "Terr TV passive" and "B2" (digit 9).
  const int32_t g3 = panel::EncodeLegacyOutputs(183, 1u << 9, true);
  EXPECT_EQ(g3, 200000001);
  EXPECT_TRUE(panel::IsTerrTvPassive(g3));
  EXPECT_FALSE(panel::IsTerrTvPassive(111111111));
  EXPECT_EQ(panel::EncodeLegacyOutputs(184, 0, true), 10000);  // the option belongs to 183 only
  EXPECT_EQ(panel::EncodeLegacyOutputs(182, 0, false), 0);     // no panel
}

TEST(LegacyOutputsCode, ModeDigitOfEachOutputGroup) {
  EXPECT_EQ(panel::OutputModeDigit(101, 1), '0');
  EXPECT_EQ(panel::OutputModeDigit(101, 2), '1');
  EXPECT_EQ(panel::OutputModeDigit(101, 3), 0);  // beyond the text
  EXPECT_EQ(panel::OutputModeDigit(101, 0), 0);  // the through group has no digit
  EXPECT_EQ(panel::DecimalDigitAt(-12, 1), '-');
}

TEST(ConverterRows, ChannelsRanksAndOscillators) {
  FreshModel model;
  const int o = AddObject(60, 100, 100, 4);
  for (int j = 1; j <= 16; ++j) AddContinuation(j, j % 6, 11000 + j, 4740, 0, j == 2 ? -2 : -1);
  AddContinuation(9750, 10600, 9000, 0, 0, -1);

  panel::ConverterChannel ch;
  ASSERT_TRUE(panel::ReadConverterChannel(o, 3, ch));
  EXPECT_TRUE(ch.enabled);
  EXPECT_EQ(ch.inputLine, 3);
  EXPECT_DOUBLE_EQ(ch.level(), 91.5);
  EXPECT_EQ(panel::ConverterChannelRank(o, 1), 0);
  EXPECT_EQ(panel::ConverterChannelRank(o, 2), -1);
  EXPECT_EQ(panel::ConverterChannelRank(o, 3), 1);
  EXPECT_FALSE(panel::ReadConverterChannel(o, 17, ch));

  panel::ConverterOscillators osc;
  ASSERT_TRUE(panel::ReadConverterOscillators(o, osc));
  EXPECT_EQ(osc.forLine(1), 9750);
  EXPECT_EQ(osc.forLine(3), 10600);
  EXPECT_EQ(osc.forLine(4), 9000);
  EXPECT_EQ(osc.forLine(6), 0);

  // A converter at the end of the table has no channel rows to read.
  const int last = static_cast<int>(NetObjects.size()) - 1;
  EXPECT_FALSE(panel::ReadConverterChannel(last, 1, ch));
  EXPECT_FALSE(panel::ReadConverterOscillators(last, osc));
}

TEST(ModulatorRows, SettingsAndChannelRaster) {
  FreshModel model;
  const int o = AddObject(96, 100, 100, 10);
  AddContinuation(-2, 4740, 1, 0, 0, -1);
  panel::DvbModulatorSettings dvb;
  ASSERT_TRUE(panel::ReadDvbModulator(o, dvb));
  EXPECT_TRUE(dvb.channel1);
  EXPECT_FALSE(dvb.channel2);
  EXPECT_EQ(dvb.outputTenths, 4740);
  EXPECT_DOUBLE_EQ(panel::ModulatorChannelWidth(dvb.widthItem), 8.0);
  EXPECT_DOUBLE_EQ(panel::ModulatorChannelWidth(4), 0.0);

  double f, a, b;
  ASSERT_TRUE(panel::HdmiChannelRaster(0, 8, f, a, b));
  EXPECT_EQ(f + a, 478);
  EXPECT_EQ(f + b, 479);
  ASSERT_TRUE(panel::HdmiChannelRaster(3, 8, f, a, b));
  EXPECT_EQ(f + a, 477);
  EXPECT_FALSE(panel::HdmiChannelRaster(5, 0, f, a, b));
}


// Each case sits on one side of an edge of the streamer's rules; a < for a <= (or the wrong
// oscillator, band bit or satellite bound) moves one case to the other side.
TEST(StreamerSettings, HighBandEdgeAndTheSourceItSelects) {
  const struct {
    int32_t input, source, polarisation;
    bool selects;
    int32_t id;
    bool toneMismatch, plainMismatch;  // codes 4 (13V/22kHz) and 3 (13V)
    int64_t ifMHz;
  } cases[] = {
      {11699, 98, 0, true, 1, true, false, 11699 - 9750},
      {11700, 98, 0, true, 2, false, true, 11700 - 10600},
      {11000, 48, 1, true, 43, true, false, 11000 - 9750},  // satellite digit 4 still adds its tens,
      {11000, 58, 1, true, 3, true, false, 11000 - 9750},   // 5 no more
      {11000, 14, 1, true, 14, true, false, 11000 - 9750},  // a digit below 5 names the id
      {11000, 15, 1, false, 0, true, false, 11000 - 9750},
      {11000, 17, 1, false, 0, true, false, 11000 - 9750},
  };
  ObjRow settings{kChannelOn, 0, 0, 9750, 10600, 0};
  for (const auto& c : cases) {
    SCOPED_TRACE(testing::Message() << c.input << " / " << c.source);
    int32_t id = 0;
    EXPECT_EQ(panel::StreamerSourceId(c.source, c.polarisation, c.input, id), c.selects);
    EXPECT_EQ(id, c.id);
    EXPECT_EQ(panel::StreamerPowerMismatch(c.input, 4), c.toneMismatch);
    EXPECT_EQ(panel::StreamerPowerMismatch(c.input, 3), c.plainMismatch);
    EXPECT_EQ(panel::StreamerIfMHz(c.input, settings), c.ifMHz);
  }
  // The lists' items round-trip through the stored field.
  panel::StreamerChoice choice;
  choice.satelliteItem = 3;  // SAT C
  choice.powerItem = 2;      // 13V
  EXPECT_EQ(panel::WriteStreamerRow(choice, settings), 3);
  EXPECT_EQ(settings[kStreamerSource], 23);
  EXPECT_EQ(panel::StreamerSatelliteItem(settings[kStreamerSource]), 3);
  EXPECT_EQ(panel::StreamerPowerItem(panel::StreamerPowerOf(settings[kStreamerSource])), 2);
}

// The 16-channel converter's checks on one channel at either side of each bound; every other
// channel passes. Channel 9 is the first that may take an Aux input.
TEST(ConverterChecks, BoundsOfOutputAuxInputAndIntermediateFrequency) {
  const panel::ConverterOscillators osc{9750, 10600, 9000};
  const struct {
    int channel;
    bool enabled;
    int32_t line, inputMHz, outputTenths;
    const char* message;
  } cases[] = {
      {5, true, 1, 9750 + 949, 4740, "For channel 5 SAT input or LNB LO frequency is incorrect"},
      {5, true, 1, 9750 + 950, 4740, ""},
      {5, true, 2, 10600 + 2150, 4740, ""},
      {5, true, 2, 10600 + 2151, 4740, "For channel 5 SAT input or LNB LO frequency is incorrect"},
      {7, false, 4, 9000 + 2151, 4740, "For channel 7 SAT input or LNB LO frequency is incorrect"},
      {3, true, 1, 11000, 4, "For channel 3 output frequency is incorrect"},
      {3, true, 1, 11000, 5, ""},
      {3, true, 1, 11000, 8560, ""},
      {3, true, 1, 11000, 8561, "For channel 3 output frequency is incorrect"},
      {3, false, 1, 11000, 8561, ""},
      {8, true, 4, 9000 + 1000, 4740, "For channel 8  SAT input is incorrect"},
      {8, true, 3, 10600 + 1000, 4740, ""},
      {9, true, 4, 9000 + 1000, 4740, ""},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(testing::Message() << "channel " << c.channel << " input " << c.inputMHz);
    std::array<panel::ConverterChannel, panel::kConverterChannels> channels;
    channels.fill({true, 0, 1, 11000, 4740});
    channels[static_cast<std::size_t>(c.channel - 1)] = {c.enabled, 0, c.line, c.inputMHz, c.outputTenths};
    EXPECT_EQ(panel::ConverterFailureMessage(panel::ConverterFailure(channels, osc)), c.message);
  }
}

TEST(ConverterChecks, FourInputAndModulatorOutputBounds) {
  panel::FourChannelConverter c;
  c.outBandwidthTenths = 80;
  c.inCentreTenths = {47, 4740, 4820, 4900};
  c.outCentreTenths = 230;
  EXPECT_TRUE(panel::FourChannelConverterAccepted(c));
  c.outCentreTenths = 229;
  EXPECT_FALSE(panel::FourChannelConverterAccepted(c));
  c.outCentreTenths = 230;
  c.inCentreTenths[0] = 46;
  EXPECT_FALSE(panel::FourChannelConverterAccepted(c));

  EXPECT_FALSE(panel::DvbOutputAccepted(95.9));
  EXPECT_TRUE(panel::DvbOutputAccepted(96.0));
  EXPECT_TRUE(panel::DvbOutputAccepted(862.9));
  EXPECT_FALSE(panel::DvbOutputAccepted(863.0));
}

}  // namespace
}  // namespace kavrix::test

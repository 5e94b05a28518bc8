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

}  // namespace
}  // namespace kavrix::test

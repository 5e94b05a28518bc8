#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <fstream>

#include "model/number_text.hpp"
#include "model/text_file.hpp"
#include "support/model_guard.hpp"

namespace kavrix {
namespace {

TEST(NumberText, RoundsHalfToEvenAndTruncatesTowardZero) {
  EXPECT_EQ(RoundHalfEven(2.5), 2);
  EXPECT_EQ(RoundHalfEven(3.5), 4);
  EXPECT_EQ(RoundHalfEven(-2.5), -2);
  EXPECT_EQ(RoundHalfEven(-3.5), -4);
  EXPECT_EQ(RoundHalfEven(2.51), 3);
  EXPECT_EQ(TruncToZero(-2.9), -2);
  EXPECT_EQ(TruncToZero(2.9), 2);
}

TEST(NumberText, GeneralFormatIsShortestWithDot) {
  EXPECT_EQ(FormatGeneral(50.0), "50");
  EXPECT_EQ(FormatGeneral(2.5), "2.5");
  EXPECT_EQ(FormatGeneral(0.135), "0.135");
  EXPECT_EQ(FormatGeneral(-0.27), "-0.27");
  EXPECT_EQ(FormatGeneral(0.0), "0");
  EXPECT_EQ(FormatGeneral(1000000.0), "1000000");
  EXPECT_EQ(FormatGeneral(0.00001), "1E-5");
  EXPECT_EQ(FormatGeneral(0.0001), "0.0001");
  EXPECT_EQ(FormatGeneral(1.0 / 3.0), "0.333333333333333");
  EXPECT_EQ(FormatGeneral(1.5e20), "1.5E20");
  EXPECT_EQ(FormatFixed(12.3, 2), "12.30");
}

TEST(NumberText, ParsersReportFirstBadCharacter) {
  int32_t i = 0;
  EXPECT_EQ(ParseInt("42", i), 0);
  EXPECT_EQ(i, 42);
  EXPECT_EQ(ParseInt("  -7", i), 0);
  EXPECT_EQ(i, -7);
  EXPECT_EQ(ParseInt("4x2", i), 2);
  EXPECT_EQ(ParseInt("", i), 1);
  EXPECT_EQ(ParseInt("-", i), 2);
  EXPECT_EQ(ParseInt("2.5", i), 2);
  EXPECT_EQ(ParseInt("99999999999", i), 10) << "overflow is a bad character, not a wrapped value";
  double d = 0;
  EXPECT_EQ(ParseReal("0.27", d), 0);
  EXPECT_DOUBLE_EQ(d, 0.27);
  EXPECT_EQ(ParseReal("-1.5e3", d), 0);
  EXPECT_DOUBLE_EQ(d, -1500.0);
  EXPECT_EQ(ParseReal(".5", d), 0);
  EXPECT_DOUBLE_EQ(d, 0.5);
  EXPECT_EQ(ParseReal("0,27", d), 2) << "the comma is never a decimal mark";
  EXPECT_EQ(ParseReal("", d), 1);
  EXPECT_EQ(ParseReal("1e", d), 3);
  EXPECT_EQ(ParseReal("1e999", d), 5);
  EXPECT_FALSE(IsRealText("abc"));
  EXPECT_TRUE(IsIntegerText("+12"));
}

TEST(TextFile, WritesCrLfInCp1252AndReadsAnyLineEnd) {
  test::TempCurrentDir dir;
  TextWriter w;
  w.line("4410");
  w.line("Grüße €");
  ASSERT_TRUE(w.save("a.txt"));
  std::ifstream f("a.txt", std::ios::binary);
  std::string raw((std::istreambuf_iterator<char>(f)), {});
  EXPECT_EQ(raw, std::string("4410\r\nGr\xFC\xDF\x65 \x80\r\n"));
  std::ofstream("b.txt", std::ios::binary) << "one\ntwo\rthree\r\nfour";
  std::vector<std::string> lines;
  ASSERT_TRUE(ReadTextLines("b.txt", lines));
  EXPECT_EQ(lines, (std::vector<std::string>{"one", "two", "three", "four"}));
  ASSERT_TRUE(ReadTextLines("a.txt", lines));
  EXPECT_EQ(lines[1], "Grüße €");
  EXPECT_FALSE(ReadTextLines("missing.txt", lines));
  // What the file cannot keep is named before it is lost: each character once, a typed '?' never.
  EXPECT_EQ(CharsCp1252CannotHold("Riser A: žė € 5?"), "ė");
  EXPECT_EQ(CharsCp1252CannotHold("руб."), "руб");
  EXPECT_EQ(CharsCp1252CannotHold("Grüße €"), "");
  EXPECT_EQ(WithoutChars("Riser A: žė € 5ė", "ė"), "Riser A: ž € 5");
}

TEST(TextFile, SplitBlanksDropsEmptyFields) {
  EXPECT_EQ(SplitBlanks("  12  -3   4 "), (std::vector<std::string>{"12", "-3", "4"}));
  EXPECT_TRUE(SplitBlanks("   ").empty());
}

}  // namespace
}  // namespace kavrix

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>

#include "model/source_file.hpp"
#include "support/model_guard.hpp"

namespace kavrix {
namespace {

using test::FileBytes;
using test::WriteBytes;

// An LNB plan with a full H,Lo band, a short V,Hi band and an empty last row.
SourceGrid LnbPlan() {
  SourceGrid g(8, 32);
  for (int r = 1; r <= 30; ++r) {
    g.setCell(0, r, std::to_string(970 + 40 * (r - 1)));
    g.setCell(1, r, std::to_string(70 + r % 5));
  }
  g.setCell(6, 1, "1120");
  g.setCell(7, 1, "68");
  g.setCell(6, 2, "1210");
  return g;
}

TEST(SourceFile, LnbFileLayoutAndByteIdenticalRoundTrip) {
  test::TempCurrentDir dir;
  const SourceGrid plan = LnbPlan();
  ASSERT_TRUE(WriteSourceFile("a.lnb", plan, SourceFileKind::Lnb));
  const std::string bytes = FileBytes("a.lnb");

  // Version line, then 31 rows of eight fields; an empty row is seven separators.
  EXPECT_EQ(bytes.substr(0, 6), "4410\r\n");
  EXPECT_NE(bytes.find("\r\n970  71          1120  68\r\n"), std::string::npos);
  EXPECT_NE(bytes.find("\r\n1010  72          1210  \r\n"), std::string::npos);
  EXPECT_NE(bytes.find("\r\n1050  73            \r\n"), std::string::npos);
  EXPECT_EQ(bytes.substr(bytes.size() - 18), "\r\n" + std::string(14, ' ') + "\r\n");
  std::size_t lines = 0;
  for (std::size_t p = bytes.find("\r\n"); p != std::string::npos; p = bytes.find("\r\n", p + 2)) ++lines;
  EXPECT_EQ(lines, 32u);

  SourcePlanRead read = ReadSourceFile("a.lnb", SourceFileKind::Lnb);
  ASSERT_TRUE(read.ok) << read.error;
  EXPECT_FALSE(read.oldVersion);
  SourceGrid back(8, 32);
  back.setCell(3, 31, "stale");
  ApplySourcePlan(read, SourceFileKind::Lnb, back);
  for (int r = 1; r <= 31; ++r)
    for (int c = 0; c < 8; ++c) ASSERT_EQ(back.cell(c, r), plan.cell(c, r)) << c << "," << r;
  ASSERT_TRUE(WriteSourceFile("b.lnb", back, SourceFileKind::Lnb));
  EXPECT_EQ(FileBytes("b.lnb"), bytes);
}

TEST(SourceFile, TerrFileHoldsHundredRowsAndRoundTrips) {
  test::TempCurrentDir dir;
  SourceGrid g(2, 31);  // a UHF grid shows 31 rows but the file always carries rows 1..100
  for (int r = 1; r <= 49; ++r) {
    g.setCell(0, r, std::to_string(474 + 8 * (r - 1)));
    g.setCell(1, r, "65");
  }
  g.setCell(0, 100, "858");
  g.setCell(1, 100, "61");
  ASSERT_TRUE(WriteSourceFile("u.ter", g, SourceFileKind::Terr));
  const std::string bytes = FileBytes("u.ter");
  EXPECT_EQ(bytes.substr(0, 17), "4410\r\n474  65\r\n48");
  EXPECT_EQ(bytes.substr(bytes.size() - 11), "\r\n858  61\r\n");
  EXPECT_NE(bytes.find("\r\n  \r\n"), std::string::npos);

  SourcePlanRead read = ReadSourceFile("u.ter", SourceFileKind::Terr);
  ASSERT_TRUE(read.ok);
  ASSERT_EQ(read.rows.size(), 100u);
  SourceGrid back(2, 31);
  ApplySourcePlan(read, SourceFileKind::Terr, back);
  EXPECT_EQ(back.cell(0, 100), "858");
  EXPECT_EQ(back.cell(2, 1), "") << "terrestrial import touches two columns only";
  ASSERT_TRUE(WriteSourceFile("v.ter", back, SourceFileKind::Terr));
  EXPECT_EQ(FileBytes("v.ter"), bytes);
}

TEST(SourceFile, LineSplittingAtTwoBlankSeparators) {
  using V = std::vector<std::string>;
  EXPECT_EQ(SplitSourceLine(std::string(14, ' '), 8), V(8, ""));
  EXPECT_EQ(SplitSourceLine("1 2  3", 2), (V{"1 2", "3"}));
  // A single blank next to a separator stays with the following cell.
  EXPECT_EQ(SplitSourceLine("12   34", 2), (V{"12", " 34"}));
  // Short lines leave the last cells empty; the last column keeps the rest of a longer line.
  EXPECT_EQ(SplitSourceLine("11000  80", 8), (V{"11000", "80", "", "", "", "", "", ""}));
  EXPECT_EQ(SplitSourceLine("474  65  999", 2), (V{"474", "65  999"}));
  EXPECT_EQ(SplitSourceLine("1  2  3  4  5  6  7  8  9", 8), (V{"1", "2", "3", "4", "5", "6", "7", "8  9"}));
  EXPECT_EQ(SplitSourceLine("", 2), (V{"", ""}));
}

TEST(SourceFile, ExtensionIsTakenFromTheFirstDotOfTheNamePart) {
  EXPECT_EQ(FileNameExtension("/home/u/plan.lnb"), "lnb");
  EXPECT_EQ(FileNameExtension("/home/u/plan.old.lnb"), "old.lnb");
  EXPECT_EQ(FileNameExtension("C:\\plans.v2\\Plan.LNB"), "LNB");
  EXPECT_EQ(FileNameExtension("/home/u.dir/plan"), "");
  EXPECT_EQ(FileNameExtension(""), "");
}

TEST(SourceFile, ParsingChecksTheKindAndToleratesShortFiles) {
  // An old version is flagged and still read.
  SourcePlanRead old = ParseSourceFile({"1999 trailing text", "474  65"}, SourceFileKind::Terr);
  ASSERT_TRUE(old.ok);
  EXPECT_TRUE(old.oldVersion);
  EXPECT_EQ(old.version, 1999);
  EXPECT_EQ(old.rows[0], (std::vector<std::string>{"474", "65"}));
  EXPECT_EQ(old.rows[99], (std::vector<std::string>{"", ""})) << "missing lines read as empty rows";

  // Lines after the last row are outside the plan.
  std::vector<std::string> lnb(40, "1  2  3  4  5  6  7  8");
  lnb[0] = "4410";
  SourcePlanRead longer = ParseSourceFile(lnb, SourceFileKind::Lnb);
  ASSERT_TRUE(longer.ok);
  EXPECT_EQ(longer.rows.size(), 31u);

  // Files of another kind are refused with a message.
  SourcePlanRead text = ParseSourceFile({"[Network]", "1  2"}, SourceFileKind::Lnb);
  EXPECT_FALSE(text.ok);
  EXPECT_EQ(text.error, NotSourceFileMessage(SourceFileKind::Lnb));
  EXPECT_FALSE(ParseSourceFile({}, SourceFileKind::Terr).ok);
  EXPECT_FALSE(ParseSourceFile(lnb, SourceFileKind::Terr).ok) << "a carrier plan read as a channel plan";
  std::vector<std::string> ter(101, "474  65");
  ter[0] = "4410";
  EXPECT_FALSE(ParseSourceFile(ter, SourceFileKind::Lnb).ok) << "a channel plan read as a carrier plan";
  ter.resize(20);
  EXPECT_TRUE(ParseSourceFile(ter, SourceFileKind::Lnb).ok) << "a short hand-made carrier plan";
}

TEST(SourceFile, FailuresLeaveFilesAndGridAlone) {
  test::TempCurrentDir dir;
  WriteBytes("keep.lnb", "4410\r\nold\r\n");
  std::string error;
  EXPECT_FALSE(WriteSourceFile("no/such/dir/x.lnb", LnbPlan(), SourceFileKind::Lnb, &error));
  EXPECT_FALSE(error.empty());

  SourcePlanRead missing = ReadSourceFile("absent.lnb", SourceFileKind::Lnb);
  EXPECT_FALSE(missing.ok);
  EXPECT_NE(missing.error.find("absent.lnb"), std::string::npos);
  SourceGrid g(8, 32);
  g.setCell(0, 1, "970");
  ApplySourcePlan(missing, SourceFileKind::Lnb, g);
  EXPECT_EQ(g.cell(0, 1), "970");
  EXPECT_EQ(FileBytes("keep.lnb"), "4410\r\nold\r\n");
}

}  // namespace
}  // namespace kavrix

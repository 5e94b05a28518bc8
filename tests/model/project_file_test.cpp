#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "catalogue/type_catalogue.hpp"
#include "model/network_model.hpp"
#include "model/number_text.hpp"
#include "model/price_rows.hpp"
#include "model/project_file.hpp"
#include "model/project_options.hpp"
#include "model/source_file.hpp"
#include "model/source_tables.hpp"
#include "model/text_file.hpp"
#include "project_fixtures.hpp"
#include "support/model_guard.hpp"
#include "support/project_guard.hpp"

namespace kavrix {
namespace {

namespace fs = std::filesystem;

constexpr int kPrinterW = 4800;
constexpr int kPrinterH = 6800;

std::string Bytes(const fs::path& p) { return test::FileBytes(p.string()); }

fs::path DataDir() { return fs::path(KAVRIX_TEST_DATA); }

ProjectReadResult Load(const fs::path& p) {
  NewProjectState();
  return ReadProjectFile(p.string(), kPrinterW, kPrinterH);
}

std::string SavedBytes(const test::TempCurrentDir& dir) {
  const fs::path out = dir.path() / "out.stn";
  EXPECT_TRUE(WriteProjectFile(out.string()));
  return Bytes(out);
}

ProjectReadResult LoadText(const test::TempCurrentDir& dir, const std::string& text) {
  const fs::path p = dir.path() / "in.stn";
  std::ofstream(p, std::ios::binary) << text;
  return Load(p);
}

// Version line, cable lines and the given records of a file of version v.
std::string OldFile(int v, const std::string& records) {
  std::string s = std::to_string(v) + "\r\nRG-59:0.27:1\r\nRG-6:0.21:1\r\nX:0.18:1\r\nRG-11:0.14:1\r\nC:0.1:1\r\n";
  if (v > 3999) s += "F1:0.2:0.35\r\nF2:0.3:0.45\r\nF3:0.4:0.55\r\nF4:0.5:0.65\r\nF5:0.6:0.75\r\n";
  return s + records;
}

// The sample files hold what the program writes for the sample projects, checked by hand when
// they were made; a deliberate format change edits them by hand too, so a test run never
// rewrites its own expectation.
TEST(ProjectFile, SampleProjectsAreWhatTheWriterProducesAndReloadByteIdentically) {
  for (const auto& fx : test::FixtureProjects()) {
    SCOPED_TRACE(fx.file);
    test::TempCurrentDir dir;
    test::FreshProject fresh;
    fx.build();
    const fs::path file = DataDir() / fx.file;
    const std::string written = SavedBytes(dir);
    ASSERT_EQ(written, Bytes(file)) << "writer output differs from the stored sample";

    test::ResetProjectState();
    ASSERT_EQ(Load(file).status, ProjectReadResult::Status::Ok);
    EXPECT_EQ(SavedBytes(dir), written);
  }
}

// The sample with every source kind, read against its records worked out from the rows it places:
// kinds 91..97 from x 120 in steps of 160, each with its settings row, the second LNB, the socket.
TEST(ProjectFile, SourcesSampleHoldsTheRowsAsPlaced) {
  const std::string s = Bytes(DataDir() / "sources.stn");
  EXPECT_NE(s.find("\r\nType 5:0.6:0.75\r\n91  120  100  0  1  2\r\n-1  -1  -2  9750  10600  0\r\n"
                   "92  280  100  0  1  0\r\n-1  -1  -2  9750  10600  0\r\n93  440  100  1  1  0\r\n"),
            std::string::npos);
  EXPECT_NE(s.find("\r\n96  920  100  0  1  0\r\n-1  -1  -2  9750  10600  0\r\n97  1080  100  0  1  0\r\n"
                   "-1  0  2  9750  10600  0\r\n91  120  400  2  3  1\r\n210  600  500  15  2  3\r\n"
                   "2001  5000   15335166  0   0   0\r\n"),
            std::string::npos);
}

TEST(ProjectFile, RecordLayoutOfANewProject) {
  test::TempCurrentDir dir;
  test::FreshProject fresh;
  const std::string s = SavedBytes(dir);
  EXPECT_EQ(s.rfind("4410\r\nRG-59:0.27:1\r\nRG-6:0.21:1\r\n", 0), 0u);
  EXPECT_NE(s.find("Custom:0.1:1\r\nType 1:0.2:0.35\r\n"), std::string::npos);
  EXPECT_NE(s.find("\r\n2001  5000   15335166  0   0   0\r\n"), std::string::npos);
  EXPECT_NE(s.find("\r\n2002  2000  3000  50  80   0\r\n"), std::string::npos);
  EXPECT_NE(s.find("\r\n2003  0  0  45  90   0\r\n"), std::string::npos);
  // The two comment texts of a new program are written even with no objects.
  EXPECT_NE(s.find("\r\n10001  ;;;;\r\n100000  abcd\r\n100001  efgh\r\n"), std::string::npos);
  EXPECT_EQ(s.substr(s.size() - 2), "\r\n");

  ASSERT_EQ(Load(dir.path() / "out.stn").status, ProjectReadResult::Status::Ok);
  EXPECT_EQ(ItemTextCount, 2);
  EXPECT_EQ(CurObject, 0);
}

TEST(ProjectFile, CarrierRecordsWriteEntryFiftyTwiceAndCoverTheWholePlan) {
  test::TempCurrentDir dir;
  test::FreshProject fresh;
  TerrUsed[1] = true;
  for (int e = 0; e < kTerrEntries; ++e) TerrTables[1][0][e] = 100 + e, TerrTables[1][1][e] = e;
  SatUsed[3] = true;
  SatCell(3, 5, 31) = 12345;
  const std::string s = SavedBytes(dir);
  EXPECT_NE(s.find("\r\n3001  100  0  150  50   0\r\n"), std::string::npos);
  EXPECT_NE(s.find("\r\n3001  150  50  200  100   50\r\n"), std::string::npos);
  EXPECT_NE(s.find("\r\n4103  0  12345  0  0   31\r\n4230  0  0  0  0  0\r\n"), std::string::npos);

  test::ResetProjectState();
  Load(dir.path() / "out.stn");
  EXPECT_TRUE(TerrUsed[1]);
  EXPECT_EQ(TerrTables[1][0][100], 200);
  EXPECT_EQ(TerrTables[1][1][73], 73);
  EXPECT_EQ(SatCell(3, 5, 31), 12345);
  EXPECT_FALSE(TerrUsed[0]);
}

TEST(ProjectFile, RealsRoundToThousandthsAndLimitsSurviveALoad) {
  test::TempCurrentDir dir;
  test::FreshProject fresh;
  SatSocketLoss = 2.01;  // 2009.999... thousandths: truncation would give 2.009
  TerrSocketLoss = 0.3;
  PrintScale = 2.5;
  TerrMinLevel = 41;
  TerrMaxLevel = 93;
  SavedBytes(dir);
  test::ResetProjectState();
  Load(dir.path() / "out.stn");
  EXPECT_DOUBLE_EQ(SatSocketLoss, 2.01);
  EXPECT_EQ(OptionControls.Edit4, "2.01");
  EXPECT_EQ(OptionControls.Edit5, "0.3");
  EXPECT_DOUBLE_EQ(PrintScale, 2.5);
  EXPECT_EQ(OptionControls.Edit3, "2.5");
  EXPECT_EQ(PageWidthPx, RoundHalfEven(kPrinterW / 2.5));
  EXPECT_EQ(PageHeightPx, RoundHalfEven(kPrinterH * 0.98 / 2.5));
  EXPECT_EQ(OptionControls.Edit11, "41");
  EXPECT_EQ(TerrMinLevel, 41.0);
  EXPECT_EQ(TerrMaxLevel, 93.0);
}

TEST(ProjectFile, BrokenEditTextsAreWrittenAsTheModelValues) {
  test::TempCurrentDir dir;
  test::FreshProject fresh;
  OptionControls.Edit6 = "";
  OptionControls.Edit1 = "8x";
  OptionControls.Edit3 = "0";
  SatMinLevel = 47;
  SatMaxLevel = 83;
  PrintScale = 4;
  const std::string s = SavedBytes(dir);
  EXPECT_NE(s.find("\r\n2001  4000   "), std::string::npos);
  EXPECT_NE(s.find("\r\n2002  2000  3000  47  83   0\r\n"), std::string::npos);
}

// A ";" in an estimate cell (a cable name, a price from the price file) split its record.
TEST(ProjectFile, TextsWithLineBreaksColonsOrSemicolonsComeBackInTheirPlaces) {
  test::TempCurrentDir dir;
  test::FreshProject fresh;
  ItemTexts[4] = "two\r\nlines";
  OptionControls.RfGrid[2] = {"A:B:C", "0.3", "2"};
  EstimateGrid.SetRowCount(3);
  EstimateGrid.Rows[2] = {"Cable A;B", "1", "2;3", "2", "note\nmore; a;b"};
  SavedBytes(dir);
  test::ResetProjectState();
  Load(dir.path() / "out.stn");
  EXPECT_EQ(ItemTexts[4], "two  lines");
  EXPECT_EQ(ItemTextCount, 5);
  EXPECT_EQ(OptionControls.RfGrid[2], (CableGridRow{"A:B:C", "0.3", "2"}));
  EXPECT_NEAR(CableCoef[2], 0.3 / std::sqrt(2.0), 1e-12);
  ASSERT_EQ(EstimateGrid.RowCount(), 3);
  EXPECT_EQ(EstimateGrid.Rows[2], (PriceRow{"Cable A,B", "1", "2,3", "2", "note more; a;b"}));
}

// Emptied comments came back with a new network's "abcd", and the next comment shared a slot.
TEST(ProjectFile, EmptiedCommentsStayEmptyAndTheNextCommentTakesAFreeSlot) {
  test::TempCurrentDir dir;
  test::FreshProject fresh;
  for (int i = 0; i < 3; ++i) test::AddObject(100, 100, 40 + 40 * i, i);
  ItemTexts[0] = ItemTexts[2] = "";
  ItemTexts[1] = "Riser B";
  SavedBytes(dir);
  test::ResetProjectState();
  Load(dir.path() / "out.stn");
  EXPECT_EQ(ItemTexts[0] + "|" + ItemTexts[1] + "|" + ItemTexts[2], "|Riser B|");
  EXPECT_EQ(ItemTextCount, 3);
}

TEST(ProjectFile, ReaderToleratesOddRecordsWithoutWritingOutsideTheTables) {
  test::TempCurrentDir dir;
  test::FreshProject fresh;
  const std::string records =
      "91    10   20    1   1   1\r\n"  // extra blanks between fields read the same
      "91  10  20  9  1  1\r\n"          // LNB of an unknown slot: no SatUsed
      "210  5  6  x  1  3\r\n"           // a field that is no integer reads as 0
      "4000  1  2  3  4   0\r\n"         // carrier row 0 is outside the plan
      "4001  1  2  3  4   32\r\n"
      "4005  1  2  3  4   1\r\n"
      "4290  1  2  3  4  5\r\n"          // LNB header of slot 9
      "4215  1  2  3  4  5\r\n"          // band 5
      "3002  70  71  72  73   60\r\n"    // entry 60 exists, entry 110 does not
      "3205  1  2  3  4  5\r\n"
      "10000  ignored;;;;\r\n"
      "10002  Cable; RG-6;2;3;6;note\r\n"  // written before a ";" was kept out of the cells
      "10003  a;b\r\n"
      "100101  beyond the slots\r\n"
      "100003  kept\r\n"
      "2500  1  2  3  4  5\r\n"
      "junk line\r\n"
      "\r\n";
  ASSERT_EQ(LoadText(dir, OldFile(4410, records)).status, ProjectReadResult::Status::Ok);
  EXPECT_EQ(CurObject, 3);
  EXPECT_TRUE(SatUsed[1]);
  EXPECT_EQ(NetObjects[0], (ObjRow{91, 10, 20, 1, 1, 1}));
  EXPECT_EQ(NetObjects[2], (ObjRow{210, 5, 6, 0, 1, 3}));
  for (const auto& slot : SatTables)
    for (const auto& col : slot)
      for (int v : col) EXPECT_EQ(v, 0);
  for (const auto& slot : LnbParams)
    for (const auto& band : slot)
      for (int v : band) EXPECT_EQ(v, 0);
  EXPECT_TRUE(TerrUsed[2]);
  EXPECT_EQ(TerrTables[2][0][60], 70);
  EXPECT_EQ(TerrTables[2][1][60], 71);
  ASSERT_EQ(EstimateGrid.RowCount(), 4);
  EXPECT_EQ(EstimateGrid.Rows[2], (PriceRow{"Cable", " RG-6", "2", "3", "6;note"}));
  EXPECT_EQ(EstimateGrid.Rows[3], (PriceRow{"a", "", "", "", "b"}));
  EXPECT_EQ(ItemTexts[3], "kept");
  EXPECT_EQ(ItemTextCount, 4);
  EXPECT_FALSE(ProjectModified);
  EXPECT_GE(NetObjects.size(), static_cast<std::size_t>(CurObject) + 18);
}

TEST(ProjectFile, LoadingGrowsTheCalculationArraysAndRebuildsSymbolsInRowOrder) {
  test::TempCurrentDir dir;
  test::FreshProject fresh;
  std::vector<std::string> calls;
  Hooks().makeObjectGlyph = [&](int r) { calls.push_back("glyph " + std::to_string(r)); };
  Hooks().drawObjectLabels = [&](int r) { calls.push_back("labels " + std::to_string(r)); };
  Hooks().selectTvStandard = [&](int s) { calls.push_back("standard " + std::to_string(s)); };
  Hooks().calcDrawingExtent = [&] { calls.push_back("extent"); };
  const std::size_t nodes = Nodes.size(), links = Links.size(), chain = ChainQueue.size();
  const std::string records =
      "97  10  10  0  1  0\r\n-1  3  0  0  0  0\r\n201  1  1  5  1  1\r\n-1  1  2  3  4  11\r\n210  1  1  1  1  1\r\n"
      "100  1  1  0  1  0\r\n";
  LoadText(dir, OldFile(4410, records));
  const std::vector<std::string> want = {"glyph 0",  "standard 3", "labels 0", "glyph 4",
                                         "labels 4", "glyph 5",    "labels 5", "extent"};
  EXPECT_EQ(calls, want);
  EXPECT_EQ(Nodes.size(), nodes + TypeOf(97)[kPaths] + TypeOf(201)[kPaths] + TypeOf(100)[kPaths]);
  EXPECT_EQ(Links.size(), links + 1);
  EXPECT_GE(ChainQueue.size(), chain);
  EXPECT_EQ(ObjValues.size(), NetObjects.size());
}

TEST(ProjectFile, TooOldFileLeavesTheNewNetwork) {
  test::TempCurrentDir dir;
  test::FreshProject fresh;
  const auto r = LoadText(dir, "1999\r\nRG-59:0.27:1\r\n91  1  1  0  1  1\r\n");
  EXPECT_EQ(r.status, ProjectReadResult::Status::TooOld);
  EXPECT_EQ(r.message, "This file is created by older Kavrix version and is not supported by this software");
  EXPECT_EQ(CurObject, 0);
  EXPECT_EQ(NetObjects[0][kKind], 0);
  EXPECT_EQ(OptionControls.RfGrid[3].type, "Triset-113");
  EXPECT_FALSE(ProjectModified);
  EXPECT_EQ(Load(dir.path() / "missing.stn").status, ProjectReadResult::Status::OpenFailed);
}

// Open judged files by their names: a project named like a plan was refused, while an empty file,
// text or a plan passed for an older version.
TEST(ProjectFile, FilesAreJudgedByWhatTheyHold) {
  using S = ProjectReadResult::Status;
  const struct { std::string text; S status; const char* message; } cases[] = {
      {"", S::Refused, kEmptyFileMessage},
      {" \r\n\r\n", S::Refused, kEmptyFileMessage},
      {"Network\r\n" + OldFile(4410, "").substr(6), S::Refused, kNotAProjectMessage},
      {"12\r\n131  1  1  1  1  0\r\n", S::Refused, kNotAProjectMessage},
      {"1999\r\n91  1  1  0  1  1\r\n", S::TooOld, kTooOldProjectMessage},
      {"4410\r\n970  80  1100  80  990  80  1120  80\r\n              \r\n", S::Refused, kLnbNotAProjectMessage},
      {"1999\r\n474  65\r\n  \r\n", S::Refused, kTerrNotAProjectMessage},
      {OldFile(2000, "131  1  1  1  1  0\r\n"), S::Ok, ""},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.text);
    const ProjectReadResult r = CheckProjectLines(SplitTextLines(c.text));
    EXPECT_EQ(r.status, c.status);
    EXPECT_EQ(r.message, c.message);
  }
  EXPECT_EQ(ParseSourceFile(SplitTextLines(OldFile(4410, "")), SourceFileKind::Terr).error,
            ProjectNotPlanMessage(SourceFileKind::Terr));
}

TEST(ProjectFile, TerrestrialSlotZeroStartingAtZeroShiftsOnEveryLoad) {
  test::TempCurrentDir dir;
  test::FreshProject fresh;
  const std::string records =
      "3000  0  0  500  55   0\r\n3000  474  70  506  71   1\r\n3000  900  1  999  2   50\r\n"
      "3001  0  0  0  0   0\r\n3001  482  60  0  0   1\r\n";
  LoadText(dir, OldFile(4410, records));
  EXPECT_EQ(TerrTables[0][0][0], 474);
  EXPECT_EQ(TerrTables[0][1][0], 70);
  EXPECT_EQ(TerrTables[0][0][49], 900);  // entry 50 moved down
  EXPECT_EQ(TerrTables[0][0][99], 999);  // entry 100 ...
  EXPECT_EQ(TerrTables[0][0][100], 999); // ... keeps its value
  EXPECT_EQ(TerrTables[1][0][0], 0);     // other slots never shift
  EXPECT_EQ(TerrTables[1][0][1], 482);
}

// A 15 KB hand-made file of kind-79 rows made the reader allocate gigabytes, a larger one ended
// the program: each row adds 136 calculation nodes of about 5 KB.
TEST(ProjectFile, NetworkNeedingTooManyNodesIsRefusedBeforeAnythingIsRead) {
  test::TempCurrentDir dir;
  test::FreshProject fresh;
  std::string records = "100005  a comment\r\n2002  1000  1000  40  70   0\r\n";
  for (int i = 0; i < 1500; ++i) records += "79 \r\n";  // 204,000 nodes
  const auto r = LoadText(dir, OldFile(4410, records));
  EXPECT_EQ(r.status, ProjectReadResult::Status::Refused);
  EXPECT_EQ(r.message, "This file cannot be opened: its network needs more than 200000 signal paths");
  EXPECT_EQ(CurObject, 0);
  EXPECT_EQ(Nodes.size(), 300u);
  EXPECT_EQ(NodeSpectra.size(), 300u);
  EXPECT_EQ(OptionControls.RfGrid[3].type, "Triset-113") << "the cable lines were not read either";
  EXPECT_TRUE(ItemTexts[5].empty());
  EXPECT_EQ(SatMinLevel, 50.0);
  EXPECT_FALSE(ProjectModified);
}

// Extreme coordinates, lengths and table values of a hand-made file overflowed the integer
// arithmetic of the run, the node building and the pin rotation.
TEST(ProjectFile, ValuesNoDrawingHoldsAreRefusedNamingTheLine) {
  const char* bad[] = {
      "91  2147483647  20  0  1  1",         // an LNB far beyond any drawing
      "-1  0  -2147483648  0  0  11",        // a bend of the line before it
      "210  5  6  -1000001  1  3",           // a socket with an impossible cable length
      "-2147483648  1  1  1  1  1",          // a continuation kind
      "3001  474  2147483000  0  0   1",     // a channel level
      "4202  25  80  1000001  1930  1",      // an LNB band header
  };
  for (const char* line : bad) {
    SCOPED_TRACE(line);
    test::TempCurrentDir dir;
    test::FreshProject fresh;
    const auto r = LoadText(dir, OldFile(4410, std::string("201  10  10  5  1  1\r\n") + line + "\r\n100003  x\r\n"));
    EXPECT_EQ(r.status, ProjectReadResult::Status::Refused);
    // Line 1 the version, 2..11 the cable tables, 12 the line object: the bad record is line 13.
    EXPECT_EQ(r.message, "This file cannot be opened: line 13 holds a value outside -1000000..1000000");
    EXPECT_EQ(CurObject, 0);
    EXPECT_FALSE(TerrUsed[1]);
    EXPECT_TRUE(ItemTexts[3].empty());
  }
  // The bounds themselves belong to the drawing, and records the reader ignores are not judged.
  test::TempCurrentDir dir;
  test::FreshProject fresh;
  const auto r = LoadText(dir, OldFile(4410, "91  1000000  -1000000  0  1  1\r\n2500  2147483647  0  0  0  0\r\n"
                                              "2001  5000   2147483647  0   0   0\r\n"));
  ASSERT_EQ(r.status, ProjectReadResult::Status::Ok);
  EXPECT_EQ(NetObjects[0], (ObjRow{91, 1000000, -1000000, 0, 1, 1}));
  EXPECT_EQ(CanvasColor, 2147483647);
}

// A single-cable unit keeps its outputs as a code of up to nine digits (kind 183 is placed with
// 100000000): a file holding one was written by the program and must open again.
TEST(ProjectFile, LegacyOutputsCodesOfSingleCableUnitsOpen) {
  test::TempCurrentDir dir;
  test::FreshProject fresh;
  const auto r = LoadText(dir, OldFile(4410, "183  300  300  211111111  1  0\r\n184  500  300  11001  1  0\r\n"));
  ASSERT_EQ(r.status, ProjectReadResult::Status::Ok) << r.message;
  EXPECT_EQ(NetObjects[0][kInst], 211111111);
  const auto far = LoadText(dir, OldFile(4410, "201  10  10  1000001  1  1\r\n"));
  EXPECT_EQ(far.status, ProjectReadResult::Status::Refused) << "other kinds keep the common bound";
}

// Files of the three older conventions and what the program makes of them.
TEST(ProjectFile, OldVersionsConvertAsTheirExpectedFilesShow) {
  for (const char* name : {"v2500", "v3500", "v4000"}) {
    SCOPED_TRACE(name);
    test::TempCurrentDir dir;
    test::FreshProject fresh;
    int built = 0;
    Hooks().createSwitchAmpGlyphs = [&] { ++built; };
    ASSERT_EQ(Load(DataDir() / (std::string("old_") + name + ".stn")).status, ProjectReadResult::Status::Ok);
    const fs::path expected = DataDir() / (std::string("old_") + name + ".expected.stn");
    EXPECT_EQ(SavedBytes(dir), Bytes(expected));
    if (std::string(name) != "v4000") {
      EXPECT_EQ(built, 1) << "files before 3520 always turn the obsolete families on";
      EXPECT_TRUE(IncludeObsolete);
      EXPECT_TRUE(OptionControls.CheckBox3);
    }
  }
}

TEST(ProjectFile, Version2500Conventions) {
  test::TempCurrentDir dir;
  test::FreshProject fresh;
  Load(DataDir() / "old_v2500.stn");
  EXPECT_EQ(NetObjects[0], (ObjRow{91, 100, 100, 0, 1, 1}));
  EXPECT_EQ(LnbParams[0][1][4], 2);  // the LNB current came from Style
  EXPECT_EQ(NetObjects[1][kKind], 201);
  EXPECT_EQ(NetObjects[2][kStyle], 11);
  EXPECT_EQ(NetObjects[3][kKind], 202);
  EXPECT_EQ(NetObjects[4][kStyle], 11);
  EXPECT_EQ(NetObjects[5][kKind], 203);
  EXPECT_EQ(CanvasColor, 255);
  EXPECT_EQ(OptionControls.FiberGrid[1].type, "Type 1");
}

// A version-2500 file cut after a trunk line's head row loaded the line without its geometry row
// and wrote the route style behind the drawing's end; inside the drawing the next object got it.
TEST(ProjectFile, ObjectsMissingTheirRowsGetTheOnesThePlacementWrites) {
  test::TempCurrentDir dir;
  test::FreshProject fresh;
  LoadText(dir, OldFile(2500, "103  1  1  5  1  2\r\n102  1  1  5  1  2\r\n91  9  9  0  1  2\r\n101  2  2  6  1  1\r\n"));
  const std::vector<ObjRow> want = {{203, 1, 1, 5, 1, 2}, {-1, 0, 0, 0, 0, 5}, {202, 1, 1, 5, 1, 2}, {-1, 0, 0, 0, 0, 11},
                                    {91, 9, 9, 0, 1, 1},  {201, 2, 2, 6, 1, 1}, {-1, 0, 0, 0, 0, 11}};
  EXPECT_EQ(std::vector<ObjRow>(NetObjects.begin(), NetObjects.begin() + CurObject), want);
  EXPECT_EQ(LnbParams[0][1][4], 2) << "the LNB current comes from the LNB's own Style";
  EXPECT_TRUE(std::all_of(NetObjects.begin() + CurObject, NetObjects.end(), [](const ObjRow& r) { return r == ObjRow{}; }));

  // A device short of its settings rows gets the missing ones behind those it has.
  test::ResetProjectState();
  LoadText(dir, OldFile(4410, "79  5  5  0  1  0\r\n-1  -5  -17  1  857  1\r\n80  9  9  1  3  0\r\n"));
  EXPECT_EQ(std::vector<ObjRow>(NetObjects.begin(), NetObjects.begin() + CurObject),
            (std::vector<ObjRow>{{79, 5, 5, 0, 1, 0}, {-1, -5, -17, 1, 857, 1}, {-1, 0, 0, 0, 0, 0}, {80, 9, 9, 1, 3, 0}}));
}

TEST(ProjectFile, Version3500And4000SettingScales) {
  test::TempCurrentDir dir;
  test::FreshProject fresh;
  Load(DataDir() / "old_v3500.stn");
  EXPECT_EQ(NetObjects[0][kKind], 210);  // the old socket kind 95
  EXPECT_EQ(NetObjects[2][1], -23);      // after kind 88: -30 + 7
  EXPECT_EQ(NetObjects[2][2], -25);
  EXPECT_EQ(NetObjects[4][1], -15);      // after kind 87: -20 + 5
  EXPECT_EQ(NetObjects[4][2], -12);
  EXPECT_EQ(NetObjects[4][3], -5);       // -13 + 8

  test::ResetProjectState();
  Load(DataDir() / "old_v4000.stn");
  EXPECT_EQ(NetObjects[1][1], -23);
  EXPECT_EQ(NetObjects[1][2], -25);
  EXPECT_EQ(NetObjects[2][kKind], 95);  // 95 stays a source from 3600 on
  EXPECT_EQ(OptionControls.FiberGrid[2].type, "Mono 2");
  EXPECT_FALSE(IncludeObsolete);
}

}  // namespace
}  // namespace kavrix

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>

#include "editor/canvas_window.hpp"
#include "support/model_guard.hpp"

namespace kavrix {
namespace {

namespace fs = std::filesystem;
using platform::FileDialogResult;

using test::FileBytes;
using test::WriteBytes;

void SetTerrMode(TForm5& f) {
  f.StringGrid2.setColCount(2);
  f.StringGrid1.setColCount(2);
  f.StringGrid1.setRowCount(101);
}

// A carrier file whose row r holds "r0  r1  ..  r7", except row 5 which is empty.
std::string LnbFileText(int version) {
  std::string t = std::to_string(version) + "\r\n";
  for (int r = 1; r <= 31; ++r) {
    for (int c = 0; c < 8; ++c) {
      if (c) t += "  ";
      if (r != 5) t += std::to_string(r) + std::to_string(c);
    }
    t += "\r\n";
  }
  return t;
}

struct SourcePanelFiles : ::testing::Test {
  test::TempCurrentDir dir;
  test::FreshModel fresh;
  platform::ScopedScriptedPlatform ui;
  TForm5 form;
  void SetUp() override { SourceFileName.clear(); }
};

TEST_F(SourcePanelFiles, SaveProposesFirstFreeNamePerKindInTheCurrentDirectory) {
  WriteBytes("Source1.lnb", "x");
  ui->files.push_back(std::nullopt);
  form.Button3Click(nullptr);
  SetTerrMode(form);
  ui->files.push_back(std::nullopt);
  form.Button3Click(nullptr);

  ASSERT_EQ(ui->fileRequests.size(), 2u);
  const auto& lnb = ui->fileRequests[0];
  EXPECT_EQ(lnb.fileName, "Source2.lnb");
  EXPECT_EQ(lnb.defaultExt, ".lnb");
  EXPECT_EQ(lnb.filterIndex, 1);
  EXPECT_EQ(lnb.filter, "LNB file(*.lnb)|*.lnb|Terrestrial source file(*.ter)|*.ter");
  EXPECT_EQ(fs::path(lnb.initialDir), fs::current_path());
  const auto& ter = ui->fileRequests[1];
  EXPECT_EQ(ter.fileName, "Source1.ter");
  EXPECT_EQ(ter.defaultExt, ".ter");
  EXPECT_EQ(ter.filterIndex, 2);
}

TEST_F(SourcePanelFiles, SaveWritesTheGridUnderTheChosenNameAndCancelWritesNothing) {
  form.StringGrid1.setCell(0, 1, "10714");
  form.StringGrid1.setCell(1, 1, "78");
  ui->files.push_back(FileDialogResult{(dir.path() / "plan").string(), 1});
  form.Button3Click(nullptr);
  const std::string saved = (dir.path() / "plan.lnb").string();
  EXPECT_EQ(SourceFileName, saved);
  EXPECT_EQ(FileBytes(saved).substr(0, 29), "4410\r\n10714  78            \r\n");

  form.StringGrid1.setCell(0, 1, "11000");
  ui->files.push_back(std::nullopt);
  form.Button3Click(nullptr);
  EXPECT_EQ(FileBytes(saved).substr(6, 5), "10714") << "a cancelled save left the earlier file alone";
  EXPECT_EQ(SourceFileName, saved);
  EXPECT_TRUE(ui->messages.empty());

  ui->files.push_back(FileDialogResult{(dir.path() / "missing" / "p.lnb").string(), 1});
  form.Button3Click(nullptr);
  ASSERT_EQ(ui->messages.size(), 1u) << "a write error is reported";
}

TEST_F(SourcePanelFiles, ImportFillsAllEightColumnsOfRowsOneToThirtyOne) {
  WriteBytes("plan.lnb", LnbFileText(4410));
  form.StringGrid1.setCell(3, 5, "stale");
  form.StringGrid1.setCell(0, 32, "below");
  ui->files.push_back(FileDialogResult{(dir.path() / "plan.lnb").string(), 2});
  form.Button4Click(nullptr);

  ASSERT_EQ(ui->fileRequests.size(), 1u);
  EXPECT_EQ(ui->fileRequests[0].filterIndex, 2);
  EXPECT_EQ(ui->fileRequests[0].defaultExt, ".lnb");
  EXPECT_EQ(ui->fileRequests[0].fileName, "");
  EXPECT_TRUE(ui->messages.empty());
  EXPECT_EQ(form.StringGrid1.cell(0, 1), "10");
  EXPECT_EQ(form.StringGrid1.cell(7, 31), "317");
  EXPECT_EQ(form.StringGrid1.cell(3, 5), "") << "empty fields empty their cells";
  EXPECT_EQ(form.StringGrid1.cell(0, 32), "below");
  EXPECT_EQ(SourceFileName, (dir.path() / "plan.lnb").string());
}

TEST_F(SourcePanelFiles, ImportOfAnOlderVersionWarnsAndStillLoads) {
  SetTerrMode(form);
  std::string text = "1999\r\n";
  for (int r = 1; r <= 100; ++r) text += std::to_string(46 + r) + "  " + std::to_string(r) + "\r\n";
  WriteBytes("old.ter", text);
  ui->files.push_back(FileDialogResult{"old.ter", 3});
  form.Button4Click(nullptr);
  EXPECT_EQ(ui->fileRequests[0].filterIndex, 3);
  ASSERT_EQ(ui->texts(), std::vector<std::string>{
                             "This file is created by older Kavrix version and is not supported by this version"});
  EXPECT_EQ(form.StringGrid1.cell(0, 1), "47");
  EXPECT_EQ(form.StringGrid1.cell(1, 100), "100");
}

TEST_F(SourcePanelFiles, FilesOfAnotherKindChangeNothing) {
  WriteBytes("plan.old.lnb", LnbFileText(4410));
  WriteBytes("Plan.LNB", LnbFileText(4410));
  std::string ter = "4410\r\n";
  for (int r = 1; r <= 100; ++r) ter += "474  65\r\n";
  WriteBytes("uhf.ter", ter);
  WriteBytes("renamed.lnb", ter);
  WriteBytes("notes.lnb", "Network notes\r\n");
  form.StringGrid1.setCell(0, 1, "970");

  for (const char* name : {"plan.old.lnb", "Plan.LNB", "uhf.ter", "renamed.lnb", "notes.lnb", "absent.lnb"}) {
    ui->messages.clear();
    ui->files.push_back(FileDialogResult{name, 2});
    form.Button4Click(nullptr);
    EXPECT_EQ(ui->messages.size(), 1u) << name;
    EXPECT_EQ(form.StringGrid1.cell(0, 1), "970") << name;
  }
  EXPECT_EQ(ui->lastText(), "Cannot open file absent.lnb: No such file or directory");

  // A carrier plan offered to a terrestrial panel is refused as well.
  SetTerrMode(form);
  WriteBytes("lnb.ter", LnbFileText(4410));
  ui->messages.clear();
  ui->files.push_back(FileDialogResult{"lnb.ter", 3});
  form.Button4Click(nullptr);
  EXPECT_EQ(ui->texts(), std::vector<std::string>{"This file is not a terrestrial source file (*.ter)"});
  EXPECT_EQ(form.StringGrid1.cell(0, 1), "970");

  // A cancelled dialog shows nothing.
  ui->messages.clear();
  form.Button4Click(nullptr);
  EXPECT_TRUE(ui->messages.empty());
}

// A UHF antenna took 31 of the 40 channels of an imported plan without a word.
TEST_F(SourcePanelFiles, ImportSaysHowManyChannelsAnAntennaCannotTake) {
  std::string ter = "4410\r\n";
  for (int f = 474; f <= 786; f += 8) ter += std::to_string(f) + "  60\r\n";
  WriteBytes("uhf.ter", ter);
  ASSERT_TRUE(form.OpenObjectEditor(test::AddObject(93, 300, 300), 300, 315));
  ui->files.push_back(FileDialogResult{"uhf.ter", 3});
  form.Button4Click(nullptr);
  EXPECT_EQ(ui->lastText(), "This source takes 31 channels: 9 channels of the file after row 31 were not taken.");
}

TEST_F(SourcePanelFiles, SavedPlanImportsBackIntoAnotherPanelUnchanged) {
  for (int r = 1; r <= 31; ++r)
    for (int c = 0; c < 8; c += 2) {
      if ((r + c) % 3 == 0) continue;
      form.StringGrid1.setCell(c, r, std::to_string(950 + 30 * r + c));
      form.StringGrid1.setCell(c + 1, r, std::to_string(60 + c));
    }
  ui->files.push_back(FileDialogResult{"a.lnb", 1});
  form.Button3Click(nullptr);
  TForm5 other;
  ui->files.push_back(FileDialogResult{"a.lnb", 2});
  other.Button4Click(nullptr);
  ui->files.push_back(FileDialogResult{"b.lnb", 1});
  other.Button3Click(nullptr);
  EXPECT_EQ(FileBytes("b.lnb"), FileBytes("a.lnb"));
  EXPECT_TRUE(ui->messages.empty());
}

}  // namespace
}  // namespace kavrix

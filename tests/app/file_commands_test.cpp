#include <gtest/gtest.h>

#include <QLineEdit>
#include <QTableWidget>
#include <filesystem>
#include <string>

#include "app/main_window.hpp"
#include "editor/canvas_window.hpp"
#include "editor/placement_commands.hpp"
#include "model/network_model.hpp"
#include "model/project_file.hpp"
#include "model/project_options.hpp"
#include "model/source_file.hpp"
#include "model/source_tables.hpp"
#include "model/window/options_window.hpp"
#include "reports/price_window.hpp"
#include "support/app_guard.hpp"
#include "support/file_faults.hpp"

namespace kavrix {
namespace {

namespace fs = std::filesystem;
using platform::FileDialogResult;
using test::AsOrdinaryUser;
using test::FileBytes;
using test::WriteBytes;

// The cable tables and first records of a file of the current version.
std::string FileHead() {
  return "4410\r\nRG-59:0.27:1\r\nRG-6:0.21:1\r\nTriset-113:0.18:1\r\nRG-11:0.14:1\r\nCustom:0.1:1\r\n"
         "Type 1:0.2:0.35\r\nType 2:0.3:0.45\r\nType 3:0.4:0.55\r\nType 4:0.5:0.65\r\nType 5:0.6:0.75\r\n";
}

class FileCommands : public ::testing::Test {
 protected:
  test::AppFixture app;
  platform::ScriptedPlatform& ui() { return app.ui.fake; }
  std::string PathIn(const std::string& name) { return (app.dir.path() / name).string(); }
  void DrawSomething() {
    test::AddObject(131, 200, 200, 1, 1, 0);
    ProjectModified = true;
  }
  void Open(const std::string& path) {
    ui().files.push_back(FileDialogResult{path, 1});
    Form1->Open1Click();
  }
  void TearDown() override {
    for (const auto& e : fs::recursive_directory_iterator(app.dir.path()))
      if (e.is_directory()) fs::permissions(e.path(), fs::perms::owner_all, fs::perm_options::add);
  }
};

// Saving over a read-only project, or a read-only source plan, replaced it and reported success.
TEST_F(FileCommands, SavesOverAReadOnlyFileAreRefusedAndLeaveItUntouched) {
  fs::create_directory("work");
  AsOrdinaryUser::Give("work");
  const std::string project = PathIn("work/house.stn");
  const std::string plan = PathIn("work/plan.lnb");
  for (const std::string& p : {project, plan}) {
    WriteBytes(p, "kept\r\n");
    fs::permissions(p, fs::perms(0444));
  }
  DrawSomething();
  ProjectFileName = project;
  {
    AsOrdinaryUser user;
    EXPECT_FALSE(Form1->Save1Click());
    ui().files.push_back(FileDialogResult{plan, 1});
    Form5->Button3Click(nullptr);
  }
  ASSERT_EQ(ui().messages.size(), 2u);
  EXPECT_EQ(ui().messages[0].caption, "Error");
  EXPECT_EQ(ui().messages[0].text, "Cannot write file " + project + ": Permission denied");
  EXPECT_EQ(ui().messages[1].text, "Cannot write file " + plan + ": Permission denied");
  EXPECT_TRUE(ProjectModified);
  for (const std::string& p : {project, plan}) {
    EXPECT_EQ(FileBytes(p), "kept\r\n");
    EXPECT_EQ(test::FileMode(p), 0444u);
  }
}

// A save turned a symbolic link into a plain file of mode 0644, and a writable project in a
// read-only folder could not be saved at all.
TEST_F(FileCommands, SaveWritesThroughLinksAndInPlaceInReadOnlyFolders) {
  fs::create_directory("shared");
  WriteBytes("shared/house.stn", "old\r\n");
  fs::permissions("shared/house.stn", fs::perms(0640));
  fs::create_symlink("shared/house.stn", "house.stn");
  DrawSomething();
  ProjectFileName = PathIn("house.stn");
  ASSERT_TRUE(Form1->Save1Click());
  EXPECT_TRUE(fs::is_symlink("house.stn"));
  EXPECT_EQ(test::FileMode("shared/house.stn"), 0640u);
  EXPECT_EQ(FileBytes("shared/house.stn").substr(0, 6), "4410\r\n");

  fs::create_directory("locked");
  WriteBytes("locked/p.stn", "old\r\n");
  AsOrdinaryUser::Give("locked/p.stn");
  fs::permissions("locked", fs::perms(0555));
  ProjectFileName = PathIn("locked/p.stn");
  ProjectModified = true;
  {
    AsOrdinaryUser user;
    ASSERT_TRUE(Form1->Save1Click()) << ui().lastText();
  }
  EXPECT_FALSE(ProjectModified);
  EXPECT_EQ(FileBytes("locked/p.stn"), FileBytes("shared/house.stn"));
  EXPECT_EQ(std::distance(fs::directory_iterator("locked"), fs::directory_iterator()), 1);
  EXPECT_TRUE(ui().messages.empty());
}

// After one project was opened, New/Close or Open of another kept its comment texts, limits and
// cable tables, and the next save wrote them into the other project's file.
TEST_F(FileCommands, NoProjectCarriesTheDataOfTheOneBefore) {
  const std::string first = PathIn("first.stn");
  WriteBytes(first, "4410\r\nHouse coax:0.3:1\r\nRG-6:0.21:1\r\nTriset-113:0.18:1\r\nRG-11:0.14:1\r\nCustom:0.1:1\r\n"
                    "Mono:0.25:0.4\r\nType 2:0.3:0.45\r\nType 3:0.4:0.55\r\nType 4:0.5:0.65\r\nType 5:0.6:0.75\r\n"
                    "131  200  200  1  1  0\r\n2001  2500   255  0   0   0\r\n2002  1500  2500  45  77   0\r\n"
                    "2003  0  0  41  95   0\r\n100000  first project's note\r\n100005  riser B\r\n");
  const std::string other = PathIn("other.stn");
  WriteBytes(other, FileHead() + "131  300  300  1  1  0\r\n");

  for (bool viaOpen : {false, true}) {
    SCOPED_TRACE(viaOpen ? "Open of another project" : "New/Close, then a new drawing");
    Open(first);
    ASSERT_EQ(ItemTexts[5], "riser B");
    ASSERT_EQ(SatMaxLevel, 77.0);
    if (viaOpen) {
      Open(other);
      ASSERT_EQ(ProjectFileName, other);
    } else {
      ASSERT_TRUE(Form1->Close1Click());
      DrawSomething();
    }
    EXPECT_EQ(Form3->Edit1->text(), "80");
    EXPECT_EQ(Form3->StringGrid1->item(0, 1)->text(), "RG-59");
    EXPECT_EQ(Form2->StringGrid2->item(CablePriceRow, 0)->text(), "RG-59");
    EXPECT_DOUBLE_EQ(CableCoef[1], 0.27);

    const std::string saved = PathIn("saved.stn");
    ProjectFileName = saved;
    ProjectModified = true;
    ASSERT_TRUE(Form1->Save1Click());
    const std::string bytes = FileBytes(saved);
    EXPECT_EQ(bytes.rfind("4410\r\nRG-59:0.27:1\r\n", 0), 0u);
    EXPECT_NE(bytes.find("\r\nType 1:0.2:0.35\r\n"), std::string::npos);
    EXPECT_NE(bytes.find("\r\n2001  5000   15335166  0   0   0\r\n"), std::string::npos);
    EXPECT_NE(bytes.find("\r\n2002  2000  3000  50  80   0\r\n2003  0  0  60  90   0\r\n"), std::string::npos);
    EXPECT_EQ(bytes.substr(bytes.find("\r\n100000")), "\r\n100000  abcd\r\n100001  efgh\r\n");
  }
  EXPECT_TRUE(ui().messages.empty());
}

// An antenna picked from the palette but not yet placed took its slot, and a save meanwhile wrote
// that slot's plan: the reopened project then held a plan of no antenna and allowed one less.
TEST_F(FileCommands, AnUnplacedSourceLeavesNoPlanInTheFile) {
  DrawSomething();
  ASSERT_EQ(ArmPlacement(92, 0).status, ArmStatus::kArmed);
  ASSERT_EQ(ArmPlacement(91, 0).status, ArmStatus::kArmed);  // re-arming gives the antenna's slot back
  ASSERT_TRUE(SatUsed[0]);
  const std::string saved = PathIn("armed.stn");
  ProjectFileName = saved;
  ASSERT_TRUE(Form1->Save1Click());
  EXPECT_TRUE(SatUsed[0]);  // the arm itself is kept
  EXPECT_EQ(PendingKind, 91);
  const std::string bytes = FileBytes(saved);
  EXPECT_EQ(bytes.find("\r\n4000  "), std::string::npos) << bytes;
  EXPECT_EQ(bytes.find("\r\n4200  "), std::string::npos);
  EXPECT_EQ(bytes.find("\r\n3000  "), std::string::npos);

  CancelPlacement();
  Open(saved);
  for (bool used : SatUsed) EXPECT_FALSE(used);
  for (bool used : TerrUsed) EXPECT_FALSE(used);
}

// A small hand-made file made the reader allocate gigabytes, and values no drawing holds
// overflowed the run's arithmetic: both are refused and the new network stays.
TEST_F(FileCommands, OpenRefusesOversizedNetworksAndImpossibleValues) {
  std::string rows;
  for (int i = 0; i < 1500; ++i) rows += "79 \r\n";
  WriteBytes("big.stn", FileHead() + rows);
  WriteBytes("far.stn", FileHead() + "131  200  200  1  1  0\r\n131  2147483647  -2147483648  1  1  0\r\n");
  const struct {
    const char* file;
    std::string message;
  } cases[] = {{"big.stn", kProjectTooLargeMessage},
               {"far.stn", "This file cannot be opened: line 13 holds a value outside -1000000..1000000"}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.file);
    ui().messages.clear();
    Open(PathIn(c.file));
    ASSERT_EQ(ui().messages.size(), 1u);
    EXPECT_EQ(ui().messages[0].caption, "Error");
    EXPECT_EQ(ui().messages[0].text, c.message);
    EXPECT_EQ(CurObject, 0);
    EXPECT_EQ(Nodes.size(), 300u);
    EXPECT_EQ(ProjectFileName, kUnsavedProjectName);
    EXPECT_EQ(Form5->windowTitle(), "New Network");
    EXPECT_EQ(ui().busyDepth, 0);
  }
}

// A plan chosen in the Open dialog was read as a project, and the next Save wrote over it; a project
// named like a plan was refused, and an older file only after the save question cleared the drawing.
TEST_F(FileCommands, OpenRefusesPlanFilesAndKeepsTheDrawing) {
  const std::string plan = "4410\r\n970  80  1100  80  990  80  1120  80\r\n";
  for (const char* name : {"a.lnb", "b.TER", "plan.stn"}) WriteBytes(name, plan);
  WriteBytes("old.stn", "1999\r\n131  200  200  1  1  0\r\n");
  DrawSomething();
  for (const char* name : {"a.lnb", "b.TER", "plan.stn", "old.stn"}) Open(PathIn(name));
  EXPECT_EQ(ui().texts(), (std::vector<std::string>{kLnbNotAProjectMessage, kLnbNotAProjectMessage,
                                                    kLnbNotAProjectMessage, kTooOldProjectMessage}));
  EXPECT_EQ(CurObject, 1);
  EXPECT_EQ(ProjectFileName, kUnsavedProjectName);
  EXPECT_TRUE(ProjectModified);
  ui().files.push_back(FileDialogResult{PathIn("a.lnb"), 1});
  Form1->SaveAs1Click();
  EXPECT_EQ(FileBytes("a.lnb"), plan);
  for (const char* name : {"x.stn.ter", "x.lnb", "x"}) {
    fs::copy_file("a.lnb.stn", name);
    Open(PathIn(name));
    EXPECT_EQ(ProjectFileName, PathIn(name));
  }
}

// An armed comment's placeholder was saved as a text no comment uses, over the slot's own text.
TEST_F(FileCommands, AnArmedCommentLeavesTheSavedFileAsItWas) {
  DrawSomething();
  ProjectFileName = PathIn("plain.stn");
  ASSERT_TRUE(Form1->Save1Click());
  ASSERT_EQ(ArmPlacement(100, 0).status, ArmStatus::kArmed);
  ui().files.push_back(FileDialogResult{PathIn("armed.stn"), 1});
  Form1->SaveAs1Click();
  EXPECT_EQ(FileBytes("armed.stn"), FileBytes("plain.stn"));
  EXPECT_EQ(ItemTexts[0], kNewCommentText);
  CancelPlacement();
  EXPECT_EQ(ItemTexts[0], "abcd");
}

}  // namespace
}  // namespace kavrix

#include <gtest/gtest.h>

#include <QAction>
#include <QLineEdit>
#include <QTableWidget>
#include <QToolBar>
#include <QWindow>
#include <filesystem>
#include <fstream>

#include "app/main_window.hpp"
#include "editor/canvas_window.hpp"
#include "model/network_model.hpp"
#include "model/price_rows.hpp"
#include "model/project_file.hpp"
#include "model/project_options.hpp"
#include "model/source_tables.hpp"
#include "model/window/options_window.hpp"
#include "reports/price_window.hpp"
#include "simulation/window/analyzer_window.hpp"
#include "support/app_guard.hpp"

namespace kavrix {
namespace {

namespace fs = std::filesystem;
using platform::Answer;
using platform::FileDialogResult;

class MainWindowTest : public ::testing::Test {
 protected:
  test::AppFixture app;
  platform::ScriptedPlatform& ui() { return app.ui.fake; }

  void DrawSomething() {
    test::AddObject(132, 200, 200, 1, 1, 0);
    ProjectModified = true;
  }
  std::string PathIn(const std::string& name) { return (app.dir.path() / name).string(); }
};

TEST_F(MainWindowTest, StartUpCreatesTheWindowsInOrderWithTheProjectDefaults) {
  ASSERT_TRUE(Form1 && Form2 && Form3 && Form4 && Form5 && Form6);
  EXPECT_EQ(Form1->windowTitle(), "Kavrix_v4.4.1");
  EXPECT_EQ(Form5->windowTitle(), "New Network");
  EXPECT_EQ(Form1->centralWidget(), Form5);
  EXPECT_EQ(ProjectFileName, "naujas");
  EXPECT_EQ(ItemTexts[0], "abcd");
  EXPECT_EQ(ItemTexts[1], "efgh");
  // Printer page 4800 x 6800 at scale 5: 960 and Round(1332.8).
  EXPECT_EQ(PageWidthPx, 960);
  EXPECT_EQ(PageHeightPx, 1333);
  EXPECT_EQ(Form3->Edit6->text(), "50");
  EXPECT_EQ(TerrMinLevel, 45.0);
  EXPECT_EQ(BackBuffer.pixel(1, 1) & 0xFFFFFF, 0xC0C0C0u);
  EXPECT_EQ(Form2->StringGrid2->item(CablePriceRow, 0)->text(), "RG-59");
  EXPECT_EQ(Form2->StringGrid2->item(CablePriceRow - 1, 0)->text(), "---  RF  Cables:  ---");
  EXPECT_TRUE(ui().messages.empty());
}

TEST_F(MainWindowTest, VersionTextsOfTitleAndAbout) {
  EXPECT_EQ(AboutVersionText(4410), "4.4.1");
  EXPECT_EQ(AboutVersionText(4400), "4.4");
  Form1->About1Click();
  ASSERT_EQ(ui().messages.size(), 1u);
  EXPECT_NE(ui().lastText().find("4.4.1"), std::string::npos);
  EXPECT_NE(ui().lastText().find("ZANTO"), std::string::npos);
}

TEST_F(MainWindowTest, SaveQuestionIsAskedOnlyForAModifiedDrawing) {
  ProjectModified = true;  // empty drawing: no question
  EXPECT_TRUE(Form1->Close1Click());
  EXPECT_TRUE(ui().messages.empty());

  DrawSomething();
  ui().answers.push_back(Answer::No);
  EXPECT_TRUE(Form1->Close1Click());
  ASSERT_EQ(ui().messages.size(), 1u);
  EXPECT_EQ(ui().lastText(), "Do you want to save project?");
  EXPECT_EQ(CurObject, 0);
}

// Answering Yes and then cancelling the save dialog used to discard the drawing anyway.
TEST_F(MainWindowTest, YesWithACancelledSaveKeepsTheDrawing) {
  DrawSomething();
  ui().answers.push_back(Answer::Yes);
  ui().files.push_back(std::nullopt);
  EXPECT_FALSE(Form1->Close1Click());
  EXPECT_EQ(CurObject, 1);
  EXPECT_TRUE(ProjectModified);

  ui().answers.push_back(Answer::Yes);
  ui().files.push_back(std::nullopt);
  EXPECT_FALSE(Form1->Exit1Click());
  EXPECT_EQ(CurObject, 1);
}

// Closing the save question with Escape or the title bar was taken for No and dropped the drawing.
TEST_F(MainWindowTest, ASaveQuestionClosedUnansweredKeepsTheDrawing) {
  DrawSomething();
  ui().answers.push_back(Answer::Cancel);
  EXPECT_FALSE(Form1->Close1Click());
  ui().answers.push_back(Answer::Cancel);
  EXPECT_FALSE(Form1->Exit1Click());
  ui().answers.push_back(Answer::Cancel);
  ui().files.push_back(FileDialogResult{PathIn("other.stn"), 1});
  Form1->Open1Click();
  EXPECT_EQ(ui().messages.size(), 3u);
  EXPECT_EQ(CurObject, 1);
  EXPECT_EQ(NetObjects[0][kKind], 132);
  EXPECT_TRUE(ProjectModified);
  EXPECT_FALSE(Form1->Exited);
}

TEST_F(MainWindowTest, SaveThenOpenRestoresTheProjectAndItsWindows) {
  Form1->show();
  DrawSomething();
  Form3->Edit1->setText("77");
  EstimateGrid.SetRowCount(3);
  EstimateGrid.Rows[2] = {"TV socket", "4", "2", "8", ""};
  ui().files.push_back(FileDialogResult{PathIn("house"), 1});
  ASSERT_TRUE(Form1->Save1Click());
  EXPECT_EQ(ProjectFileName, PathIn("house.stn"));  // ".stn" added by the close check
  EXPECT_FALSE(ProjectModified);
  ASSERT_TRUE(fs::exists(PathIn("house.stn")));
  // The first save named the file, yet both titles kept "New Network".
  EXPECT_EQ(Form1->windowHandle()->title(), "Kavrix_v4.4.1 - [house.stn]");

  ASSERT_TRUE(Form1->Close1Click());
  EXPECT_EQ(EstimateGrid.RowCount(), 2);
  EXPECT_EQ(Form2->StringGrid1->rowCount(), 1);
  ui().files.push_back(FileDialogResult{PathIn("house.stn"), 1});
  Form1->Open1Click();
  EXPECT_EQ(CurObject, 1);
  EXPECT_EQ(NetObjects[0][kKind], 132);
  EXPECT_EQ(ProjectFileName, PathIn("house.stn"));
  EXPECT_EQ(Form5->windowTitle(), "house.stn");
  EXPECT_EQ(Form3->Edit1->text(), "77");
  EXPECT_EQ(Form2->StringGrid1->item(1, 0)->text(), "TV socket");
  EXPECT_FALSE(ProjectModified);
  EXPECT_EQ(ui().busyDepth, 0);
}

TEST_F(MainWindowTest, FailedSaveReportsAndKeepsTheProjectModified) {
  DrawSomething();
  const std::string blocked = PathIn("no_such_dir/p.stn");
  ProjectFileName = blocked;
  EXPECT_FALSE(Form1->Save1Click());
  ASSERT_EQ(ui().messages.size(), 1u);
  EXPECT_EQ(ui().messages[0].caption, "Error");
  EXPECT_TRUE(ProjectModified);
  EXPECT_EQ(ProjectFileName, blocked);
}

TEST_F(MainWindowTest, SaveAsByFilter) {
  DrawSomething();
  std::string exported;
  Windows().exportPicture = [&](const std::string& p) {
    exported = p;
    return true;
  };
  ui().files.push_back(FileDialogResult{PathIn("pic"), 4});
  Form1->SaveAs1Click();
  EXPECT_EQ(ui().fileRequests.back().fileName, "Network1.stn");
  EXPECT_EQ(exported, PathIn("pic.bmp"));
  EXPECT_EQ(ProjectFileName, "naujas");

  for (int filter : {2, 3}) {
    ui().files.push_back(FileDialogResult{PathIn("plan"), filter});
    Form1->SaveAs1Click();
    EXPECT_EQ(ui().lastText(), filter == 2 ? kLnbTypeNotSavedMessage : kTerrTypeNotSavedMessage);
  }
  EXPECT_EQ(ProjectFileName, "naujas");
  EXPECT_FALSE(fs::exists(PathIn("plan")));

  ui().files.push_back(FileDialogResult{PathIn("my.stn.old"), 1});
  Form1->SaveAs1Click();
  EXPECT_EQ(ProjectFileName, PathIn("my.stn.old"));  // used as the dialog returned it
  EXPECT_EQ(Form5->windowTitle(), "my.stn.old");
  EXPECT_TRUE(fs::exists(PathIn("my.stn.old")));
  // A name typed with no extension at all gets the dialog's default one, so Open lists it.
  ui().files.push_back(FileDialogResult{PathIn("riser"), 1});
  Form1->SaveAs1Click();
  EXPECT_EQ(ProjectFileName, PathIn("riser.stn"));
  EXPECT_EQ(Form5->windowTitle(), "riser.stn");
  EXPECT_TRUE(fs::exists(PathIn("riser.stn")));
  EXPECT_FALSE(fs::exists(PathIn("riser")));
  EXPECT_EQ(Form1->SaveDialog1CanClose("a.STN"), "a.STN.stn");
  EXPECT_EQ(Form1->SaveDialog1CanClose("a.bmp"), "a.bmp");
}

TEST_F(MainWindowTest, RejectedOldFileLeavesAnUnsavedNewNetwork) {
  std::ofstream(PathIn("old.stn"), std::ios::binary) << "1990\r\n91  1  1  0  1  1\r\n";
  ui().files.push_back(FileDialogResult{PathIn("old.stn"), 1});
  Form1->Open1Click();
  EXPECT_EQ(ui().lastText(), kTooOldProjectMessage);
  EXPECT_EQ(ProjectFileName, "naujas");
  EXPECT_EQ(Form5->windowTitle(), "New Network");
  EXPECT_EQ(CurObject, 0);
  EXPECT_FALSE(ProjectModified);
}

TEST_F(MainWindowTest, NewClearsEstimateChartsAndAnalyzer) {
  int cleared = 0;
  Windows().clearAnalyzerCharts = [&] { ++cleared; };
  EstimateGrid.SetRowCount(5);
  EstimateGrid.Rows[4][0] = "x";
  EstimateGrid.Tag = 2;
  Form4->show();
  Form5->Tag = 3;
  OptimizeMode = false;  // left by an optimisation: the button shows the satellite criteria come next
  Form1->ToolButton94->trigger();  // stops at once: nothing to exchange
  EXPECT_TRUE(Form1->ToolButton94->isChecked());
  ASSERT_TRUE(Form1->Close1Click());
  EXPECT_EQ(cleared, 1);
  EXPECT_FALSE(Form4->isVisible());
  EXPECT_EQ(EstimateGrid.RowCount(), 2);
  EXPECT_EQ(EstimateGrid.Tag, 0);
  EXPECT_EQ(Form3->Edit11->text(), "60");
  EXPECT_EQ(Form5->VertScrollRange, Form5->ClientHeight() + 100);
  EXPECT_EQ(Form1->ToolButton94ImageIndex, 76);
  EXPECT_FALSE(Form1->ToolButton94->isChecked());
}

// New/Close and closing the window used to leave the canvas in the navigation view.
TEST_F(MainWindowTest, NewAndCloseLeaveTheNavigationView) {
  Form1->ToolButton90Click();
  ASSERT_EQ(Form5->Tag, 10);
  ASSERT_TRUE(Form1->Close1Click());
  EXPECT_EQ(Form5->Tag, 0);
  EXPECT_EQ(Form1->ToolButton90ImageIndex, 71);

  Form1->ToolButton90Click();
  Form1->close();
  EXPECT_EQ(Form5->Tag, 0);
  EXPECT_TRUE(Form1->Exited);
}

TEST_F(MainWindowTest, ExitStopsTheCanvasTimersAndReleasesTheModel) {
  DrawSomething();
  ProjectModified = false;
  Form5->Timer1->start(1000);
  Form5->Timer2->start(1000);
  EXPECT_TRUE(Form1->Exit1Click());
  EXPECT_FALSE(Form5->Timer1->isActive());
  EXPECT_FALSE(Form5->Timer2->isActive());
  EXPECT_EQ(NetObjects.size(), 1u);
  EXPECT_TRUE(Nodes.empty());
  EXPECT_TRUE(BackBuffer.empty());
}

TEST_F(MainWindowTest, SaveActionFollowsModifiedNonEmptyDrawing) {
  Form1->SaveActionUpdate();
  EXPECT_FALSE(Form1->SaveAction->isEnabled());
  DrawSomething();
  Form1->SaveActionUpdate();
  EXPECT_TRUE(Form1->SaveAction->isEnabled());
  EXPECT_TRUE(Form1->ToolBar1->actions().contains(Form1->SaveAction)) << "the toolbar's Save button";
  EXPECT_TRUE(Form1->ToolBar1->actions().contains(Form1->Open1)) << "the toolbar's Open button";
  test::WriteBytes((std::filesystem::path(StartDir) / "Kavrix_Help.chm").string(), "help");
  Form1->Help2Click();
  ASSERT_EQ(ui().openedDocuments.size(), 1u);
  EXPECT_NE(ui().openedDocuments[0].find("Kavrix_Help.chm"), std::string::npos);
}

}  // namespace
}  // namespace kavrix

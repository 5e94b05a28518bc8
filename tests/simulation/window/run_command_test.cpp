#include <gtest/gtest.h>

#include <cmath>
#include <set>

#include "app/main_window.hpp"
#include "editor/canvas_window.hpp"
#include "model/network_model.hpp"
#include "model/run_records.hpp"
#include "model/project_options.hpp"
#include "model/source_tables.hpp"
#include "simulation/window/analyzer_window.hpp"
#include "support/app_guard.hpp"
#include "symbols/glyph_store.hpp"

namespace kavrix {
namespace {

class RunCommandTest : public ::testing::Test, protected test::AppFixture {
 protected:
  void AddFedSocket(int level) {
    test::AddObject(91, 200, 100, 0, 1, 1);  // band 1 output at (170, 140)
    SatCell(0, 0, 1) = 1200;
    SatCell(0, 1, 1) = level;
    LnbParams[0][0][0] = 1;
    LnbParams[0][1][4] = 180;
    test::AddObject(203, 170, 140, 10, 1, 1);
    test::AddContinuation(100, 0, 0, 0, 11);
    test::AddObject(210, 195, 240, 5, 1, 1);
  }
};

TEST_F(RunCommandTest, RunShowsAnalyzerStartsBlinkerAndReportsCurrent) {
  AddFedSocket(75);
  Form5->Timer2->stop();
  Form1->ToolButton5->trigger();
  EXPECT_TRUE(Form4->isVisible());
  EXPECT_EQ(Form4->Chart1->titleText(), "Signal level - Summary list");
  EXPECT_TRUE(Form5->Timer2->isActive());
  EXPECT_EQ(Form1Tag, 1);
  EXPECT_EQ(StatusBarText, "   Total Current Consumption from H Lines:  180 mA max");
  EXPECT_EQ(Links[0][kLinkStatus], 9);
  EXPECT_TRUE(ui->messages.empty());
  EXPECT_EQ(ui->busyDepth, 0) << "the cursor is restored";
}

TEST_F(RunCommandTest, BadMinimumEditStopsBeforeAnythingChanges) {
  AddFedSocket(75);
  OptionControls.Edit6 = "fifty";
  Form1->RFAnalyze1->trigger();
  ASSERT_EQ(ui->messages.size(), 1u);
  EXPECT_EQ(ui->messages[0].caption, "Error");
  EXPECT_EQ(ui->messages[0].text, "The value must be of an integer type number!");
  EXPECT_EQ(Form1Tag, 0);
  EXPECT_TRUE(Form5->Timer2->isActive()) << "the blinker runs from the canvas's creation and is left alone";
}

TEST_F(RunCommandTest, DrawingFaultShowsMarkerThenLeavesNavigation) {
  AddFedSocket(75);
  test::AddObject(100, 200, 100, 0, 1, 0);  // a comment on the LNB
  Form1->ToolButton5->trigger();
  ASSERT_EQ(ui->messages.size(), 1u);
  EXPECT_EQ(ui->messages[0].text, "There are components in the same position");
  EXPECT_EQ(Form5->Tag, 0) << "the run leaves the navigation view at its end";
  EXPECT_EQ(Form1->ToolButton90ImageIndex, 71);
}

TEST_F(RunCommandTest, NavigationToggleStopsAndRestartsTheBlinker) {
  Form1Tag = 1;
  Form5->Timer2->start();
  Form4->show();
  Form1->ToolButton90->trigger();
  EXPECT_EQ(Form5->Tag, 10);
  EXPECT_FALSE(Form5->Timer2->isActive());
  EXPECT_FALSE(Form4->isVisible());
  EXPECT_FALSE(Form5->Overview.isNull());
  Form1->ToolButton90->trigger();
  EXPECT_EQ(Form5->Tag, 0);
  EXPECT_TRUE(Form5->Timer2->isActive()) << "results present: the marks blink again";
  EXPECT_TRUE(Form5->Overview.isNull());
  Form1Tag = 0;
  Form1->ToolButton90->trigger();
  Form1->ToolButton90->trigger();
  EXPECT_FALSE(Form5->Timer2->isActive()) << "no results: the blinker stays off";
}

}  // namespace
}  // namespace kavrix

namespace kavrix {
namespace {

TEST_F(RunCommandTest, TuneButtonRunsThroughTheMainWindowButtons) {
  AddFedSocket(75);
  const int serial = EditSerial;
  Form1->ToolButton86->trigger();
  EXPECT_EQ(Form1Tag, 1) << "the chain ends with a run";
  EXPECT_TRUE(Form5->Timer2->isActive());
  EXPECT_EQ(EditSerial, serial + 1) << "reset and Tune share one undo step";
  EXPECT_EQ(Links[0][kLinkStatus], 9);
  EXPECT_NEAR(NodeSpectra(4, 1, 0), 75 - 10 * CableCoef[1] * std::sqrt(1.2), 1e-9) << "nothing to adjust: the run's levels stay";
  EXPECT_EQ(ui->busyDepth, 0);
}

}  // namespace
}  // namespace kavrix

namespace kavrix {
namespace {

TEST_F(RunCommandTest, BlinkingCanvasPaintsMarksInBothPhases) {
  AddFedSocket(120);  // far above the maximum: marks and a red socket marker
  Form1->ToolButton5->trigger();
  ASSERT_TRUE(Form5->Timer2->isActive());
  Form5->resize(400, 400);
  ASSERT_EQ(Links[0][kLinkStatus] % 10, 1) << "far above the maximum";
  const QPoint endA(Links[0][kLinkSatX], Links[0][kLinkSatY]);
  std::set<QRgb> seen;
  for (int phase = 0; phase < 2; ++phase) {
    Form5->Timer2Timer();
    const QImage shot = Form5->grab().toImage();
    seen.insert(shot.pixel(endA) & 0xFFFFFF);
  }
  EXPECT_EQ(seen, (std::set<QRgb>{0xFF0000, 0xFFFFFF})) << "the SAT marker blinks red and white";
}

}  // namespace
}  // namespace kavrix

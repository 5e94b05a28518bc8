#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QDir>
#include <QImage>
#include <QMenu>
#include <cmath>
#include <vector>

#include "app/main_window.hpp"
#include "editor/canvas_state.hpp"
#include "editor/canvas_window.hpp"
#include "editor/level_display.hpp"
#include "model/network_model.hpp"
#include "model/number_text.hpp"
#include "model/source_tables.hpp"
#include "simulation/window/analyzer_window.hpp"
#include "support/app_guard.hpp"

namespace kavrix {
namespace {

constexpr double kTol = 1e-9;

// Whole program on the scripted platform: RF Analyze from the main window's toolbar, clicks on
// the canvas where the pointer is, the Analyzer's filter items from its popup menu.
class LevelProbeWindowTest : public ::testing::Test, protected test::AppFixture {
 protected:
  void SetUp() override {
    ResetCanvasState();
    LastProbePoint.reset();
    Form5->resize(800, 600);
  }
  void TearDown() override {
    ResetCanvasState();
    LastProbePoint.reset();
  }

  void PointerAt(int canvasX, int canvasY) {
    const QPoint g = Form5->mapToGlobal(QPoint(canvasX - ScrollX, canvasY - ScrollY));
    ui->cursorX = g.x();
    ui->cursorY = g.y();
  }
  // The canvas click as the window fires it: the handler reads the pointer itself.
  void ClickCanvasAt(int canvasX, int canvasY) {
    PointerAt(canvasX, canvasY);
    Form5->FormClick(Form5);
  }
  static std::vector<QPointF> Points(AnalyzerChart* c, int series) {
    std::vector<QPointF> out;
    for (int k = 0; k < c->pointCount(series); ++k) out.push_back(c->point(series, k));
    return out;
  }
  static void SaveShot(const char* name) {
    Form4->ShowModel();
    QApplication::processEvents();
    const QImage shot = Form4->grab().toImage();
    const QString path = QDir(QCoreApplication::applicationDirPath()).filePath(name);
    EXPECT_TRUE(shot.save(path, "PNG")) << path.toStdString();
  }
};

// An LNB whose H-Lo band feeds 10 m of RG-59 down to a socket with 5 m of RG-59.
class SatelliteSocketTest : public LevelProbeWindowTest {
 protected:
  static constexpr int kCarriers = 11;
  static double Freq(int k) { return 950 + 110 * k; }

  void SetUp() override {
    LevelProbeWindowTest::SetUp();
    CableCoef[1] = 0.27;
    test::AddObject(91, 200, 100, 0, 1, 1);  // band 1 output at (170, 140)
    for (int k = 0; k < kCarriers; ++k) {
      SatCell(0, 0, k + 1) = static_cast<int>(Freq(k));
      SatCell(0, 1, k + 1) = 86;
    }
    LnbParams[0][0][0] = kCarriers;
    SatUsed[0] = true;
    test::AddObject(203, 170, 140, 10, 1, 1);
    test::AddContinuation(100, 0, 0, 0, 11);
    test::AddObject(210, 195, 240, 5, 1, 1);  // fed at (170, 240), satellite outlet (218, 240)
  }
};

TEST_F(SatelliteSocketTest, ClickOnTheSocketEndShowsItsLevelsAndTheMaximumLine) {
  Form1->ToolButton5->trigger();
  ASSERT_EQ(Form1Tag, 1);
  ClickCanvasAt(218, 240);

  AnalyzerChart* sat = Form4->Chart1;
  const std::vector<QPointF> pts = Points(sat, 1);
  ASSERT_EQ(pts.size(), static_cast<std::size_t>(kCarriers));
  for (int k = 0; k < kCarriers; ++k) {
    // Line and socket cable: sqrt(f / 1000) x 0.27 x (10 + 5), then the socket loss of 2 dB.
    const double socket = 86 - std::sqrt(Freq(k) / 1000) * 0.27 * (10 + 5) - SatSocketLoss;
    EXPECT_NEAR(pts[static_cast<std::size_t>(k)].x(), Freq(k) / 1000, kTol);
    EXPECT_NEAR(pts[static_cast<std::size_t>(k)].y(), socket, 1e-6) << Freq(k);
  }
  EXPECT_EQ(sat->pointLabel(1, 0), "HLo");
  // Levels above the project's 80 dBuV: the maximum line spans the band at 80.
  const std::vector<QPointF> max = Points(sat, 17);
  ASSERT_EQ(max.size(), 3u);
  EXPECT_EQ(max[1], QPointF(Freq(0) / 1000, SatMaxLevel));
  EXPECT_EQ(max[2], QPointF(Freq(kCarriers - 1) / 1000, SatMaxLevel));
  EXPECT_EQ(sat->pointColour(17, 2), QColor(255, 0, 0));
  EXPECT_TRUE(Form4->isVisible());
  EXPECT_TRUE(sat->isVisible());
  EXPECT_FALSE(Form4->Chart2->isVisible());
  EXPECT_EQ(Form4->height(), 284 - AnalyzerModel::kFrameHeight);
  EXPECT_TRUE(ui->messages.empty());
  SaveShot("analyzer_socket_levels.png");
}

TEST_F(SatelliteSocketTest, LnbOutputShowsTheSourceLevelsAndTheFilterRefillsIt) {
  Form1->ToolButton5->trigger();
  ClickCanvasAt(171, 141);
  const std::vector<QPointF> source = Points(Form4->Chart1, 1);
  ASSERT_EQ(source.size(), static_cast<std::size_t>(kCarriers));
  for (int k = 0; k < kCarriers; ++k) EXPECT_EQ(source[static_cast<std::size_t>(k)], QPointF(Freq(k) / 1000, 86));

  // Filter "A" from the popup menu while the pointer is elsewhere: the same point again.
  PointerAt(700, 500);
  Form4->Chart1MouseDown(Qt::RightButton, 40, 40);
  ASSERT_TRUE(Form4->A1->isVisible());
  Form4->A1->trigger();
  Form4->PopupMenu1->hide();
  EXPECT_EQ(Points(Form4->Chart1, 1), source);
  EXPECT_EQ(Form4->Tag, 0);
  EXPECT_EQ(Form4->Chart1->titleText(), "Signal level - Satellite A list");
  EXPECT_FALSE(Form4->Chart1->seriesActive(5));

  // An edit ends the display: a click no longer probes.
  Form1Tag = 0;
  ClickCanvasAt(218, 240);
  EXPECT_EQ(Points(Form4->Chart1, 1), source);
}

// Ports a node does not have keep (0, 0) in their pin fields, and a line's length sits in its
// port-2 field: a click at the canvas's top edge matched them and raised both charts, empty.
TEST_F(SatelliteSocketTest, ClickAtTheCanvasCornerMatchesNoPin) {
  Form1->ToolButton5->trigger();
  const int height = Form4->height();
  for (const QPoint at : {QPoint(2, 2), QPoint(10, 0)}) {
    ClickCanvasAt(at.x(), at.y());
    EXPECT_FALSE(Form4->Chart2->isVisible()) << at.x();
    EXPECT_EQ(Form4->height(), height) << at.x();
  }
  AnalyzerModel m;
  EXPECT_EQ(ProbeLevels(m, {10, 0}).matchedPins, 0);
}

TEST_F(LevelProbeWindowTest, FilterBeforeAnyProbeLeavesTheChartsAlone) {
  Form1Tag = 1;
  Form4->Chart1->addPoint(3, 1.0, 60.0, "VLo");
  PointerAt(100, 100);
  Form4->All1->trigger();
  EXPECT_EQ(Form4->Chart1->pointCount(3), 1);
  EXPECT_EQ(Form4->Tag, 0);
}

// A UHF antenna with strong and weak channels, 20 m of RG-59 to a socket with 5 m.
TEST_F(LevelProbeWindowTest, ClickOnAnAntennaSocketShowsTerrestrialLevelsAndBothLimits) {
  CableCoef[1] = 0.27;
  test::AddObject(93, 400, 100, 0, 1, 0);  // output (400, 190)
  TerrUsed[0] = true;
  std::vector<double> f, level;
  for (int k = 0; k < 20; ++k) {
    f.push_back(474 + 8 * k);
    level.push_back(k < 10 ? 96 : 46);
    TerrTables[0][0][static_cast<std::size_t>(k)] = static_cast<int>(f.back());
    TerrTables[0][1][static_cast<std::size_t>(k)] = static_cast<int>(level.back());
  }
  TerrParams[0][0] = 20;
  test::AddObject(203, 400, 190, 20, 1, 1);
  test::AddContinuation(100, 0, 0, 0, 11);
  test::AddObject(210, 425, 290, 5, 1, 1);  // fed at (400, 290), terrestrial outlet (440, 290)

  Form1->ToolButton5->trigger();
  ClickCanvasAt(440, 290);

  AnalyzerChart* terr = Form4->Chart2;
  const std::vector<QPointF> pts = Points(terr, 1);
  ASSERT_EQ(pts.size(), f.size() + 2) << "the curve drops to 0 at both ends";
  EXPECT_EQ(pts.front(), QPointF(f.front(), 0));
  EXPECT_EQ(pts.back(), QPointF(f.back(), 0));
  for (std::size_t k = 0; k < f.size(); ++k) {
    const double socket = level[k] - std::sqrt(f[k] / 1000) * 0.27 * (20 + 5) - TerrSocketLoss;
    EXPECT_EQ(pts[k + 1].x(), f[k]);
    EXPECT_NEAR(pts[k + 1].y(), socket, 1e-6) << f[k];
  }
  // Weak channels fall below the 45 dBuV minimum, strong ones rise above the 90 dBuV maximum.
  EXPECT_EQ(Points(terr, 0), (std::vector<QPointF>{{f.front(), TerrMinLevel}, {f.back(), TerrMinLevel}}));
  EXPECT_EQ(Points(terr, 2), (std::vector<QPointF>{{f.front(), TerrMaxLevel}, {f.back(), TerrMaxLevel}}));
  EXPECT_TRUE(terr->isVisible());
  EXPECT_FALSE(Form4->Chart1->isVisible());
  EXPECT_EQ(terr->y(), 60);
  EXPECT_LE(terr->leftMinimum(), 46 - std::sqrt(f.back() / 1000) * 0.27 * 25 - TerrSocketLoss);
  SaveShot("analyzer_antenna_socket_levels.png");
}

// The socket's satellite outlet lies 8 px beyond its terrestrial one. With only an antenna in
// the network the levels charted there are terrestrial, but both charts stayed up in the
// one-chart window: an empty satellite chart over a strip of the terrestrial one.
TEST_F(LevelProbeWindowTest, SatelliteOutletOfAnAntennaSocketShowsTheTerrestrialChartWhole) {
  CableCoef[1] = 0.27;
  test::AddObject(93, 400, 100, 0, 1, 0);
  TerrUsed[0] = true;
  for (int k = 0; k < 20; ++k) {
    TerrTables[0][0][static_cast<std::size_t>(k)] = 474 + 8 * k;
    TerrTables[0][1][static_cast<std::size_t>(k)] = 80;
  }
  TerrParams[0][0] = 20;
  test::AddObject(203, 400, 190, 20, 1, 1);
  test::AddContinuation(100, 0, 0, 0, 11);
  test::AddObject(210, 425, 290, 5, 1, 1);  // satellite outlet (448, 290)

  Form1->ToolButton5->trigger();
  ClickCanvasAt(448, 290);
  Form4->ShowModel();
  QApplication::processEvents();
  ASSERT_EQ(Form4->Chart2->pointCount(1), 22);
  EXPECT_NEAR(Form4->Chart2->point(1, 1).y(), 80 - std::sqrt(0.474) * 0.27 * 25 - TerrSocketLoss, 1e-6);
  EXPECT_FALSE(Form4->Chart1->isVisible());
  EXPECT_TRUE(Form4->Chart2->isVisible());
  EXPECT_EQ(Form4->Chart2->y(), 60);
  EXPECT_EQ(Form4->height(), 284 - AnalyzerModel::kFrameHeight);
  EXPECT_LE(Form4->Chart2->geometry().bottom(), Form4->height());
}

}  // namespace
}  // namespace kavrix

namespace kavrix {
namespace {

// An optical transmitter's input fed by satellite A's H-Hi band, as the run leaves it.
TEST_F(LevelProbeWindowTest, TotalLevelBarIsDrawnBesideTheLevelChart) {
  const int tx = test::AddObject(141, 300, 200);
  for (int k = 0; k < 8; ++k) {
    SatCell(0, 2, k + 1) = 1700 + 50 * k;
    NodeSpectra(0, 0, k) = 72 + k;
  }
  LnbParams[0][1][0] = 8;
  NodeRow& r = Nodes[0];
  r[0] = 141001;
  r[1] = 280;
  r[2] = 200;
  r[13] = 90;
  r[14] = 2;
  r[18] = tx;
  NodeSpectra(0, 0, 101) = 72;
  NodeSpectra(0, 0, 102) = 79;
  Form1Tag = 1;
  Form4->show();
  Form4->showNormal();
  ClickCanvasAt(280, 200);

  EXPECT_EQ(Form4->Chart1->pointCount(2), 8);
  EXPECT_FALSE(Form4->Chart2->isVisible());
  Form4->ShowModel();
  QApplication::processEvents();
  const QImage shot = Form4->grab().toImage();
  // 79 dBuV on the 50..90 scale: Trunc(29 x 150 / 40) = 108 pixels of band-2 yellow above y 215.
  EXPECT_EQ(shot.pixelColor(325, 215 - 50), QColor(255, 255, 0));
  EXPECT_EQ(shot.pixelColor(325, 215 - 120), QColor(192, 192, 192));
  SaveShot("analyzer_total_level.png");
}

}  // namespace
}  // namespace kavrix

namespace kavrix {
namespace {

// LNB band 1 (three carriers at 80 dBuV) over 10 m of RG-59 into an optical transmitter at
// (400, 400), 30 km of fibre type 1 to a receiver at (800, 800), then a line to a socket.
TEST_F(LevelProbeWindowTest, OpticalLinkShowsTheDriveTotalAndThePowerAtBothEndsOfTheFibre) {
  CableCoef[1] = CableCoef[2] = 0.27;
  test::AddObject(91, 200, 100, 0, 1, 1);  // band 1 output at (170, 140)
  const double f[3] = {1000, 1400, 1800};
  for (int k = 0; k < 3; ++k) {
    SatCell(0, 0, k + 1) = static_cast<int>(f[k]);
    SatCell(0, 1, k + 1) = 80;
  }
  LnbParams[0][0][0] = 3;
  SatUsed[0] = true;
  test::AddObject(141, 400, 400, 0, 1, 0);  // path 1 input (430, 460), output (350, 460)
  test::AddObject(142, 800, 800, 0, 1, 0);  // input (750, 750), path 1 output (790, 850)
  test::AddObject(203, 170, 140, 10, 1, 2);
  test::AddContinuation(320, 260, 0, 0, 11);
  test::AddObject(205, 350, 460, 30000, 1, 1);
  test::AddContinuation(290, 400, 0, 0, 11);
  test::AddObject(203, 790, 850, 10, 1, 2);
  test::AddContinuation(150, 0, 0, 0, 11);
  test::AddObject(210, 815, 1000, 5, 1, 1);
  Form5->resize(1000, 1000);
  Form1->ToolButton5->trigger();
  ASSERT_EQ(Form1Tag, 1);
  const AnalyzerModel& m = Form4->Model();

  // The transmitter's input: its carriers on the chart and their summed power beside it.
  ClickCanvasAt(430, 460);
  double sum = 0;
  for (double fk : f) sum += std::pow(10.0, (80 - std::sqrt(fk / 1000) * 0.27 * 10) / 10);
  EXPECT_EQ(m.Surface.Texts(), (std::vector<std::string>{"Total level:", "(dBuV)", FormatFixed(10 * std::log10(sum), 2)}));
  EXPECT_TRUE(Form4->Chart1->isVisible());
  EXPECT_GE(Form4->Chart1->pointCount(1), 3);

  // Its output: the power bar alone, 6 dBm on the 1310 nm path.
  ClickCanvasAt(350, 460);
  EXPECT_EQ(m.Surface.Texts(), (std::vector<std::string>{"6.00 dBm", "1310nm"}));
  EXPECT_FALSE(Form4->Chart1->isVisible());
  EXPECT_FALSE(Form4->Chart2->isVisible());
  EXPECT_EQ(Form4->height(), 284 - AnalyzerModel::kFrameHeight);

  // The fibre's end at the receiver: the same light less 30 km at 1310 nm and the connection.
  ClickCanvasAt(750, 750);
  EXPECT_EQ(m.Surface.Texts(), (std::vector<std::string>{FormatFixed(6 - FiberAtt[1][1] * 30 - 0.2, 2) + " dBm", "1310nm"}));
  SaveShot("analyzer_optical_power.png");
}

}  // namespace
}  // namespace kavrix

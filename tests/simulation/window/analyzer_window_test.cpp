#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QChart>
#include <QDir>
#include <QLegendMarker>
#include <QLineSeries>
#include <QMenu>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QValueAxis>
#include <cmath>

#include "model/network_model.hpp"
#include "model/source_tables.hpp"
#include "simulation/window/analyzer_window.hpp"
#include "support/model_guard.hpp"

namespace kavrix {
namespace {

using namespace analyzer_colours;

void Press(QWidget* w, Qt::MouseButton b, QPoint at) {
  QMouseEvent e(QEvent::MouseButtonPress, at, w->mapToGlobal(at), b, b, Qt::NoModifier);
  QApplication::sendEvent(w, &e);
}

void Key(QWidget* w, int key) {
  QKeyEvent e(QEvent::KeyPress, key, Qt::NoModifier);
  QApplication::sendEvent(w, &e);
}

struct SatUsedGuard {
  std::array<bool, kSatSlots> saved = SatUsed;
  ~SatUsedGuard() { SatUsed = saved; }
};

TEST(AnalyzerWindow, ChartsSeriesAndAxesAsTheLevelDisplayExpects) {
  TForm4 form;
  EXPECT_TRUE(form.windowFlags() & Qt::WindowStaysOnTopHint);
  EXPECT_TRUE(form.windowState() & Qt::WindowMinimized);
  ASSERT_EQ(form.Chart1->seriesCount(), 19);
  ASSERT_EQ(form.Chart2->seriesCount(), 5);
  EXPECT_FALSE(form.Chart2->isVisibleTo(&form));

  // Satellite s owns series 4s-3..4s in band order; the band colour is the same for B..D.
  for (int s = 2; s <= 4; ++s) {
    const QString sat(QChar('A' + s - 1));
    EXPECT_EQ(form.Chart1->series(4 * s - 3)->name(), "HLo-" + sat);
    EXPECT_EQ(form.Chart1->series(4 * s)->name(), "VHi-" + sat);
    EXPECT_EQ(form.Chart1->seriesColour(4 * s - 1), kBlack);
  }
  // Stored colour values are $00BBGGRR.
  EXPECT_EQ(form.Chart2->seriesColour(0), QColor(255, 0, 128));
  for (auto* m : form.Chart1->chart()->legend()->markers()) EXPECT_FALSE(m->isVisible());
  EXPECT_EQ(form.Chart2->leftMinimum(), 0.0);
  EXPECT_EQ(form.Chart2->leftMaximum(), 200.0);
}

TEST(AnalyzerWindow, AxisSettersRefuseCrossedBoundsSoCallersOrderTheirAssignments) {
  TForm4 form;
  AnalyzerChart& c = *form.Chart2;
  EXPECT_FALSE(c.setLeftMinimum(250.0));
  EXPECT_EQ(c.leftMinimum(), 0.0);
  EXPECT_TRUE(c.setLeftMaximum(80.0));
  EXPECT_FALSE(c.setLeftMaximum(-1.0));
  // Fitting to levels 85..95 (3 dB margins) works only maximum first, as the level display does it.
  EXPECT_FALSE(c.setLeftMinimum(82.0));
  EXPECT_TRUE(c.setLeftMaximum(98.0));
  EXPECT_TRUE(c.setLeftMinimum(82.0));
  EXPECT_EQ(c.leftMinimum(), 82.0);
  EXPECT_EQ(c.leftMaximum(), 98.0);
  EXPECT_TRUE(c.setLeftMinimum(98.0)) << "an empty range is allowed";
  c.refresh();
  EXPECT_LT(c.leftAxis()->min(), c.leftAxis()->max());

  // An automatic axis follows the points of the active series only.
  AnalyzerChart& s = *form.Chart1;
  s.addPoint(1, 0.95, 60.0, "HLo", kGreen);
  s.addPoint(1, 1.95, 70.0, "HLo", kGreen);
  s.addPoint(16, 2.15, 90.0, "VHi", kRed);
  EXPECT_EQ(s.bottomMaximum(), 2.15);
  EXPECT_EQ(s.leftMaximum(), 90.0);
  s.setSeriesActive(16, false);
  EXPECT_EQ(s.bottomMaximum(), 1.95);
  EXPECT_EQ(s.leftMinimum(), 60.0);
  s.refresh();
  EXPECT_GT(s.leftAxis()->max(), 70.0) << "room above the highest point";
  const double lowWithoutStart = s.leftAxis()->min();
  EXPECT_LT(lowWithoutStart, 60.0);
  s.setLeftStartPosition(2.0);
  s.refresh();
  EXPECT_LT(s.leftAxis()->min(), lowWithoutStart);

  const AxisTicks deep = TicksForRange(79, 81, -9000, 80), back = TicksForRange(-9000, 80, 79, 81);
  EXPECT_EQ((std::array{deep.interim, back.interim, back.step}), (std::array{2000.0, 2000.0, 0.5})) << "a 0.5 dB step over -9,000..80 froze the program";
}

TEST(AnalyzerWindow, PointsKeepLabelAndColourUntilTheirSeriesIsCleared) {
  TForm4 form;
  AnalyzerChart& c = *form.Chart1;
  c.addPoint(0, 0.95, 45.0, "min", kBlue);
  c.addPoint(6, 1.2, 72.5, "HHi");
  c.addPoint(17, 0.95, 80.0, "max", kSilver);
  c.addPoint(18, 0.95, 79.0, "max", kRed);
  ASSERT_EQ(c.pointCount(6), 1);
  EXPECT_EQ(c.point(6, 0), QPointF(1.2, 72.5));
  EXPECT_EQ(c.pointLabel(6, 0), "HHi");
  EXPECT_FALSE(c.pointColour(6, 0).isValid()) << "the series' own colour";
  EXPECT_EQ(c.pointColour(17, 0), kSilver);
  form.Chart2->addPoint(2, 470.0, 90.0, "max", kRed);

  // Creation clears Chart1 0..16 and Chart2 0, 1; the maximum and widening series stay.
  form.FormCreate();
  EXPECT_EQ(c.pointCount(0), 0);
  EXPECT_EQ(c.pointCount(6), 0);
  EXPECT_EQ(c.pointCount(17), 1);
  EXPECT_EQ(c.pointCount(18), 1);
  EXPECT_EQ(form.Chart2->pointCount(2), 1);
  c.addPoint(6, 1.3, 70.0, "HHi", kRed);
  EXPECT_EQ(c.pointLabel(6, 0), "HHi");
  EXPECT_EQ(c.pointColour(6, 0), kRed);
}

TEST(AnalyzerWindow, RightClickMenuOffersTheSatellitesInUse) {
  test::FreshModel fresh;
  SatUsedGuard guard;
  SatUsed = {true, false, true, false};
  TForm4 form;
  form.setWindowState(Qt::WindowNoState);
  form.show();
  Press(form.Chart1->viewport(), Qt::LeftButton, QPoint(50, 50));
  EXPECT_FALSE(form.PopupMenu1->isVisible()) << "a left click does nothing";

  Press(form.Chart1->viewport(), Qt::RightButton, QPoint(50, 60));
  ASSERT_TRUE(form.PopupMenu1->isVisible());
  EXPECT_TRUE(form.All1->isVisible());
  EXPECT_TRUE(form.A1->isVisible());
  EXPECT_FALSE(form.B1->isVisible());
  EXPECT_TRUE(form.C1->isVisible());
  EXPECT_FALSE(form.D1->isVisible());
  form.PopupMenu1->hide();

  SatUsed = {false, true, false, true};
  form.Chart1MouseDown(Qt::RightButton, 10, 10);
  EXPECT_FALSE(form.A1->isVisible());
  EXPECT_TRUE(form.D1->isVisible());
  form.PopupMenu1->hide();
}

TEST(AnalyzerWindow, FilterSetsTagsAndTitleRefillsThroughTheCanvasThenPicksSeries) {
  TForm4 form;
  std::vector<QObject*> senders;
  QString titleDuringRefill;
  bool seriesOneActiveDuringRefill = false;
  form.Form5OnClick = [&](QObject* sender) {
    senders.push_back(sender);
    titleDuringRefill = form.Chart1->titleText();
    seriesOneActiveDuringRefill = form.Chart1->seriesActive(1);
  };
  form.Chart1->setSeriesActive(18, false);

  form.B1->trigger();
  EXPECT_EQ(form.Chart1->Tag, 2);
  EXPECT_EQ(form.Tag, 1);
  EXPECT_EQ(form.Chart1->titleText(), "Signal level - Satellite B list");
  ASSERT_EQ(senders.size(), 1u);
  EXPECT_EQ(senders[0], &form);
  EXPECT_EQ(titleDuringRefill, "Signal level - Satellite B list");
  EXPECT_TRUE(seriesOneActiveDuringRefill) << "series are picked after the refill";
  for (int i = 1; i <= 16; ++i) EXPECT_EQ(form.Chart1->seriesActive(i), i >= 5 && i <= 8) << i;
  EXPECT_TRUE(form.Chart1->seriesActive(0));
  EXPECT_TRUE(form.Chart1->seriesActive(17));
  EXPECT_FALSE(form.Chart1->seriesActive(18)) << "series 18 keeps its state";

  form.D1Click();
  EXPECT_TRUE(form.Chart1->seriesActive(13));
  EXPECT_FALSE(form.Chart1->seriesActive(8));
  EXPECT_EQ(form.Chart1->titleText(), "Signal level - Satellite D list");

  form.All1->trigger();
  EXPECT_EQ(form.Chart1->Tag, 0);
  EXPECT_EQ(form.Chart1->titleText(), "Signal level - Summary list");
  for (int i = 1; i <= 16; ++i) EXPECT_TRUE(form.Chart1->seriesActive(i)) << i;
  EXPECT_EQ(senders.size(), 3u);
}

TEST(AnalyzerWindow, ShiftTogglesNavigationAndF1HandsTheFocusToTheCanvas) {
  TForm4 form;
  int navigation = 0, activations = 0;
  form.NavigationClick = [&] { ++navigation; };
  form.ActivateCanvas = [&] { ++activations; };
  Key(&form, Qt::Key_Shift);
  Key(&form, Qt::Key_F1);
  Key(&form, Qt::Key_A);
  EXPECT_EQ(navigation, 1);
  EXPECT_EQ(activations, 1);

  TForm4 unlinked;  // without links the keys do nothing
  Key(&unlinked, Qt::Key_Shift);
  Key(&unlinked, Qt::Key_F1);
}

// Renders the window after a hand-filled probe of a two-satellite, one-antenna project and
// stores a PNG for review (analyzer_window.png beside the test binary, in the build directory).
TEST(AnalyzerWindow, ScreenshotAfterAProbe) {
  test::FreshModel fresh;
  SatUsedGuard guard;
  SatUsed = {true, true, false, false};
  EnsureNodeRows(4);
  // Satellite A band 1..4 plans: 20 transponders each over the band's IF range.
  const int lo[4] = {970, 1100, 980, 1120};
  for (int b = 0; b < 4; ++b) {
    LnbParams[0][b][0] = 20;
    for (int k = 0; k < 20; ++k) SatCell(0, 2 * b, k + 1) = lo[b] + 44 * k;
  }
  // Node 1: an outlet fed by satellite A; its levels fall with frequency along the cable.
  for (int k = 0; k < 20; ++k)
    for (int b = 0; b < 4; ++b)
      NodeSpectra(1, 1, k + 20 * b) = 74.0 - 6.0 * std::sqrt(SatCell(0, 2 * b, k + 1) / 1000.0) + 0.4 * b;
  // Node 2: a UHF antenna's channels.
  for (int k = 0; k < 30; ++k) {
    FreqList[k] = 474.0 + 8.0 * k;
    NodeSpectra(2, 1, k) = 68.0 - 4.0 * std::sqrt(FreqList[k] / 1000.0) + (k % 3);
  }

  TForm4 form;
  form.setWindowState(Qt::WindowNoState);
  form.resize(352, 460);
  AnalyzerChart& sat = *form.Chart1;
  static const char* const kBand[4] = {"HLo", "HHi", "VLo", "VHi"};
  double lowest = 1e9;
  for (int b = 0; b < 4; ++b)
    for (int k = 0; k < 20; ++k) {
      const double y = NodeSpectra(1, 1, k + 20 * b);
      lowest = std::min(lowest, y);
      sat.addPoint(1 + b, SatCell(0, 2 * b, k + 1) / 1000.0, y, kBand[b]);
    }
  sat.addPoint(0, 0.97, SatMinLevel, "min", kBlue);
  sat.addPoint(0, 1.956, SatMinLevel, "min", kBlue);
  sat.setTitleText("Signal level - Summary list");
  AnalyzerChart& terr = *form.Chart2;
  for (int k = 0; k < 30; ++k) terr.addPoint(1, FreqList[k], NodeSpectra(2, 1, k), "Terr.TV", kWhite);
  terr.addPoint(0, FreqList[0], TerrMinLevel, "min", kBlue);
  terr.addPoint(0, FreqList[29], TerrMinLevel, "min", kBlue);
  ASSERT_TRUE(terr.setLeftMaximum(75.0));
  ASSERT_TRUE(terr.setLeftMinimum(std::min(TerrMinLevel, 60.0) - 3));
  form.Model().Chart2.Visible = true;
  form.show();
  sat.refresh();
  terr.refresh();
  QApplication::processEvents();

  EXPECT_LE(sat.leftMinimum(), lowest);
  EXPECT_NEAR(sat.bottomMaximum(), (1120 + 44 * 19) / 1000.0, 1e-9);
  const QImage shot = form.grab().toImage();
  ASSERT_EQ(shot.size(), QSize(352, 460));
  // The level lines are drawn: some pixel of the H-Lo green appears inside the satellite chart.
  bool green = false;
  for (int y = 8; y < 248 && !green; ++y)
    for (int x = 8; x < 301 && !green; ++x) green = shot.pixelColor(x, y) == kGreen;
  EXPECT_TRUE(green);
  const QString path = QDir(QCoreApplication::applicationDirPath()).filePath("analyzer_window.png");
  EXPECT_TRUE(shot.save(path, "PNG")) << path.toStdString();
}

}  // namespace
}  // namespace kavrix

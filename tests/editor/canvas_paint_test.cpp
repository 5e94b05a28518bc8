// Painting of the drawing: pixels at places worked out by hand from the object rows (cable legs
// and colours, symbol centres, labels), the back buffer of the canvas window, the hit test and
// the marks a run leaves.
#include <QAction>
#include <QScrollBar>
#include <algorithm>
#include <optional>

#include "catalogue/geometry.hpp"
#include "catalogue/port_templates.hpp"
#include "catalogue/type_catalogue.hpp"
#include "editor/canvas_fixture.hpp"
#include "model/run_records.hpp"
#include "model/undo_ring.hpp"
#include "simulation/window/analyzer_window.hpp"
#include "symbols/object_glyphs.hpp"
#include "symbols/type_glyphs.hpp"

namespace kavrix {
namespace {

using test::AddContinuation;
using test::AddObject;
using test::CanvasTest;

constexpr TColor kLightBlue = 0xF0CAA6;  // crossover mark A6CAF0

// A device with its composed symbol.
int Place(int kind, int x, int y, int orient = 1, int inst = 0) {
  const int row = AddObject(kind, x, y, inst, orient, 0);
  RebuildObjectGlyph(row);
  return row;
}

// A line with its bends row; route style or colour code in field 5.
int AddLine(int kind, int x, int y, int orient, int l1, int l2, int l3, int l4, int code, int inst = 7, int style = 1) {
  const int row = AddObject(kind, x, y, inst, orient, style);
  AddContinuation(l1, l2, l3, l4, code);
  return row;
}

// A pixel of the symbol of `row` that is drawn (not its transparent background), as an offset
// from the symbol's centre, or nothing.
std::optional<QPoint> OpaqueOffset(int row, TColor wanted) {
  const Bitmap& g = ObjGlyphAt(row);
  for (int y = g.height() / 4; y < g.height() * 3 / 4; ++y)
    for (int x = g.width() / 2; x < g.width() * 3 / 4; ++x)
      if (g.pixel(x, y) == wanted && g.pixel(x, y) != g.transparentColor()) return QPoint(x - g.width() / 2, y - g.height() / 2);
  return std::nullopt;
}

// ---- cables

TEST_F(CanvasTest, TrunkLineCrossingOverSplitsItsCablesAtHalfTheFirstLeg) {
  // 5-cable trunk at (300, 200), route style 12, one vertical leg of 100 and no bend: cable k
  // runs at x = 300 + offset k (-40, -20, 0, 20, 40), arrangement 1 above y 250, 2 below.
  AddLine(201, 300, 200, 1, 100, 0, 0, 0, 12);
  const Bitmap b = WholeDrawing();
  const int upper = 238, lower = 280;
  EXPECT_EQ(b.pixel(259, upper), colors::kGreen);
  EXPECT_EQ(b.pixel(259, lower), colors::kGrey);
  EXPECT_EQ(b.pixel(279, upper), colors::kYellow);
  EXPECT_EQ(b.pixel(279, lower), colors::kGreen);
  EXPECT_EQ(b.pixel(299, upper), colors::kGrey);
  EXPECT_EQ(b.pixel(299, lower), colors::kRed);
  EXPECT_EQ(b.pixel(319, upper), colors::kRed);
  EXPECT_EQ(b.pixel(319, lower), colors::kYellow);
  // Cable 5 is black with a white core over its whole length, never split.
  EXPECT_EQ(b.pixel(338, upper), colors::kBlack);
  EXPECT_EQ(b.pixel(339, upper), colors::kWhite);
  EXPECT_EQ(b.pixel(339, lower), colors::kWhite);
  EXPECT_EQ(b.pixel(341, lower), colors::kBlack);
  // The thick light-blue mark where the cables cross over.
  EXPECT_EQ(b.pixel(262, 250), kLightBlue);
  EXPECT_EQ(b.pixel(322, 250), kLightBlue);
  EXPECT_EQ(b.pixel(340, 250), colors::kWhite) << "cable 5 has no crossover mark";
  EXPECT_EQ(b.pixel(331, 250), Background());
}

TEST_F(CanvasTest, FourCableTrunkDrawsASecondLegOnlyAboveItsWidth) {
  // Cable 3 of a 4-cable trunk at (300, 200): offset 10, vertical leg 60; a second leg turns at
  // y = 260 - 10 and runs to x = 300 + L2.
  auto secondLegPixel = [&](int l2) {
    NewNetworkModel();
    AddLine(202, 300, 200, 1, 60, l2, 0, 0, 11);
    return WholeDrawing().pixel(322, 250);
  };
  EXPECT_EQ(secondLegPixel(29), Background());
  EXPECT_EQ(secondLegPixel(30), colors::kGrey);
}

TEST_F(CanvasTest, SingleCableWithAnEmptyFirstLegIsStoredWithTheOtherOrientation) {
  const int row = AddLine(203, 300, 200, 1, 0, 80, 0, 0, 3);
  Bitmap b = WholeDrawing();
  EXPECT_EQ(NetObjects[row][kOrient], 2);
  EXPECT_EQ(b.pixel(340, 199), colors::kGrey) << "this paint still draws the horizontal run";
  b = WholeDrawing();
  EXPECT_EQ(NetObjects[row][kOrient], 2) << "stable once it matches";
  EXPECT_EQ(b.pixel(340, 199), colors::kGrey);
}

// Route styles and colour codes come from project files; codes outside the colour table used to
// be looked up past its end.
TEST_F(CanvasTest, ColourCodesOutsideTheTableDrawBlack) {
  AddLine(203, 100, 100, 1, 80, 0, 0, 0, 25);  // cable 5, then "cable 15" as its core
  AddLine(201, 300, 100, 1, 80, 0, 0, 0, 33);  // arrangement 3 does not exist
  const Bitmap b = WholeDrawing();
  EXPECT_EQ(b.pixel(100, 140), colors::kBlack);
  EXPECT_EQ(b.pixel(259, 140), colors::kBlack);
  EXPECT_EQ(b.pixel(299, 140), colors::kBlack);
}

TEST_F(CanvasTest, LinesSocketsFixtureShowsLengthLabelsAndSymbolsOnTheirCentres) {
  Open("lines_sockets.stn");
  TextRecorder texts;
  const Bitmap b = WholeDrawing();
  auto at = [&](const std::string& text) -> std::optional<QPoint> {
    for (const DrawnText& t : texts.texts)
      if (t.text == text) return QPoint(t.x, t.y);
    return std::nullopt;
  };
  // Rows: 201 (200, 160) Orient 1 "25m-1"; 202 (240, 160) Orient 2 "26m-2"; 203 (280, 160)
  // Orient 3 "27m" over "-3"; 205 (320, 160) Orient 4 "28m-2"; bends 40, -60, 20, 35 each.
  EXPECT_EQ(at("25m-1"), QPoint(200 - 14, 160 - 5 + 15));
  EXPECT_EQ(at("26m-2"), QPoint(240 - 13 - 23, 160 - 6));
  EXPECT_EQ(at("27m"), QPoint(280 - 7, 160 - 12 + 15));
  EXPECT_EQ(at("-3"), QPoint(280 - 5, 160 + 15));
  EXPECT_EQ(at("28m-2"), QPoint(320 - 13 - 23, 160 - 6));
  for (const DrawnText& t : texts.texts) {
    EXPECT_TRUE(t.opaque) << t.text;
    EXPECT_EQ(t.background, colors::kWhite) << t.text;
  }
  const auto label = std::find_if(texts.texts.begin(), texts.texts.end(), [](const DrawnText& t) { return t.text == "28m-2"; });
  ASSERT_NE(label, texts.texts.end());
  EXPECT_EQ(b.pixel(label->bounds.left(), label->bounds.top()), colors::kWhite) << "the label box";

  // Every socket's symbol sits on its row's point: its pixels show there.
  int sockets = 0;
  for (std::size_t r = 0; r < NetObjects.size() && NetObjects[r][kKind] != 0; ++r) {
    if (NetObjects[r][kKind] != 210) continue;
    const auto dark = OpaqueOffset(static_cast<int>(r), colors::kBlack);
    ASSERT_TRUE(dark) << r;
    EXPECT_EQ(b.pixel(NetObjects[r][kX] + dark->x(), NetObjects[r][kY] + dark->y()), colors::kBlack) << r;
    ++sockets;
  }
  EXPECT_EQ(sockets, 6);
}

// Every fixture renders, and the terminals of its devices show where the port templates put
// the pins (a terminal may be hollow, so its ring within 3 pixels counts).
TEST_F(CanvasTest, EveryFixtureDrawsItsDevicesTerminalsAtTheirPins) {
  int pins = 0;
  for (const char* f : {"amplifiers.stn", "comments_options.stn", "lines_sockets.stn", "multiswitches.stn",
                        "obsolete.stn", "optical.stn", "single_cable_links.stn", "sources.stn", "splitters_taps.stn",
                        "tap_riser.stn"}) {
    Open(f);
    const Bitmap b = WholeDrawing();
    EXPECT_TRUE(b.image().save(ArtifactPath(QString("canvas_%1.png").arg(QString(f).chopped(4)))));
    auto drawnNear = [&](int x, int y) {
      for (int dy = -3; dy <= 3; ++dy)
        for (int dx = -3; dx <= 3; ++dx)
          if (b.pixel(x + dx, y + dy) != Background()) return true;
      return false;
    };
    for (std::size_t r = 0; r < NetObjects.size() && NetObjects[r][kKind] != 0; ++r) {
      const ObjRow& o = NetObjects[r];
      const int kind = o[kKind];
      if (kind < 1 || kind > 199 || ObjGlyphAt(static_cast<int>(r)).empty()) continue;
      const TypeRecord& t = TypeOf(kind);
      const std::vector<QPoint> terminals = KindTerminalOffsets(kind);
      for (int i = t[kFirstTemplateRow]; i > 0 && i < kTemplateRowCount && PortTemplates[i][kTplCode] / 1000 == kind; ++i) {
        const int dx = PortTemplates[i][kTplInDx], dy = PortTemplates[i][kTplInDy] - t[kTerminalShift];
        bool terminal = false;
        for (const QPoint& c : terminals) terminal = terminal || (std::abs(c.x() - dx) <= 2 && std::abs(c.y() - dy) <= 2);
        if (!terminal) continue;
        const Point p = Rotated(o[kOrient], dx, dy);
        EXPECT_TRUE(drawnNear(o[kX] + p.x, o[kY] + p.y)) << f << " row " << r << " kind " << kind << " template " << i;
        ++pins;
      }
    }
  }
  EXPECT_GT(pins, 1000);
}

// ---- symbols

TEST_F(CanvasTest, SymbolPaintFollowsEveryChangeOfItsBitmap) {
  const int row = Place(131, 300, 200);
  Form5->FormPaint();
  const QSize g = ObjGlyphs[row].image().size();
  const int left = 300 - g.width() / 2, top = 200 - g.height() / 2;
  EXPECT_EQ(BackBuffer.pixel(left, top + g.height() - 1), Background()) << "the keyed background is not painted";
  // Labels are drawn into a stored symbol in place; the next paint shows them.
  ObjGlyphs[row].setPixel(0, g.height() - 2, colors::kRed);
  Form5->FormPaint();
  EXPECT_EQ(BackBuffer.pixel(left, top + g.height() - 2), colors::kRed);
  RebuildObjectGlyph(row);
  Form5->FormPaint();
  EXPECT_EQ(BackBuffer.pixel(left, top + g.height() - 2), Background());
}

TEST_F(CanvasTest, SelectedDevicesShowAsSilhouettesWithoutChangingTheirSymbols) {
  const int row = Place(131, 300, 200);
  const auto white = OpaqueOffset(row, colors::kWhite);
  ASSERT_TRUE(white);
  const QImage before = ObjGlyphs[row].image();
  const QPoint p(300 + white->x(), 200 + white->y());

  Form5->Tag = kCanvasSelected;
  SelRect = {200, 400, 100, 300};
  Form5->FormPaint();
  EXPECT_EQ(BackBuffer.pixel(p.x(), p.y()), colors::kBlack);
  EXPECT_EQ(ObjGlyphs[row].image(), before) << "printing a selection prints the symbols";

  SelRect = {295, 305, 100, 300};  // 10 pixels wide: nothing counts as selected
  Form5->FormPaint();
  EXPECT_EQ(BackBuffer.pixel(p.x(), p.y()), colors::kWhite);

  // Copying: the original stays as it is, the copy follows the pointer as a silhouette.
  SelRect = {200, 400, 100, 300};
  Form5->Tag = kCanvasMoving;
  CopyNotMove = 1;
  MoveDelta = {400, 0};
  Form5->FormPaint();
  EXPECT_EQ(BackBuffer.pixel(p.x(), p.y()), colors::kWhite);
  EXPECT_EQ(BackBuffer.pixel(p.x() + 400, p.y()), colors::kBlack);

  Form5->Tag = kCanvasIdle;
  Form5->FormPaint();
  EXPECT_EQ(BackBuffer.pixel(p.x(), p.y()), colors::kWhite);
  EXPECT_EQ(InSelectionDraw, 0) << "later drawing for printing is not shifted";
}

// The paint window used to start at canvas 0 exclusive, so objects on the left or top edge
// never showed.
TEST_F(CanvasTest, ObjectsOnTheDrawingsEdgeAreDrawn) {
  const int row = Place(131, 0, 100);
  const auto white = OpaqueOffset(row, colors::kWhite);
  ASSERT_TRUE(white && white->x() >= 0);
  Form5->FormPaint();
  EXPECT_EQ(BackBuffer.pixel(white->x(), 100 + white->y()), colors::kWhite);
}

// Rows of a damaged project file may hold any Integer. Points and legs near the Integer limits
// overflowed while painting and hit testing; such rows now paint nothing and the rest of the
// drawing is painted and found as before.
TEST_F(CanvasTest, RowsAtTheIntegerLimitsPaintNothingAndBreakNothing) {
  const int big = 2147483600;
  AddLine(201, big, big, 1, big, big, big, big, 12);
  AddLine(203, 100, 100, 2, -big, big, -big, big, 25);
  AddLine(205, -big, 100, 3, big, -big, big, -big, 8);
  const int far = Place(131, big, -big);
  const int near = Place(131, 300, 300);
  PendingKind = 131;  // the armed kind's guides are drawn for every row of that kind
  Form5->FormPaint();
  const auto white = OpaqueOffset(near, colors::kWhite);
  ASSERT_TRUE(white);
  EXPECT_EQ(BackBuffer.pixel(300 + white->x(), 300 + white->y()), colors::kWhite);
  EXPECT_EQ(HitTestComponent(300, 300), near);
  EXPECT_EQ(HitTestComponent(big, -big), far);

  // A selection moved by any amount.
  Form5->Tag = kCanvasMoving;
  SelRect = {0, 5000, 0, 5000};
  MoveDelta = {big, big};
  Form5->FormPaint();
  EXPECT_EQ(BackBuffer.pixel(300 + white->x(), 300 + white->y()), Background()) << "moved out of sight";
}

TEST_F(CanvasTest, ArmedDeviceShowsGuidesOutwardFromItsPins) {
  const int row = Place(116, 400, 400);
  PendingKind = 116;
  const TypeRecord& t = TypeOf(116);
  const TemplateRow& first = PortTemplates[t[kFirstTemplateRow]];
  ASSERT_LT(first[kTplInDy], -t[kHalfHeight]) << "the tap's input is on top";
  Form5->FormPaint();
  EXPECT_EQ(BackBuffer.pixel(400 + first[kTplInDx], 400 + first[kTplInDy] - 50), colors::kLightGrey);
  PendingKind = 0;
  Form5->FormPaint();
  EXPECT_EQ(BackBuffer.pixel(400 + first[kTplInDx], 400 + first[kTplInDy] - 50), Background());
  (void)row;
}

// ---- window painting

TEST_F(CanvasTest, PageGridFollowsTheScrollAndIsSkippedWithoutAPage) {
  OptionControls.CheckBox1 = true;
  PageWidthPx = 300;
  PageHeightPx = 400;
  Form5->HorzScrollRange = 5000;
  Form5->VertScrollRange = 5000;
  Form5->SyncScrollBars();
  Form5->HorzScrollBar->setValue(102);  // rounds to 100
  EXPECT_EQ(ScrollX, 100);
  EXPECT_EQ(BackBuffer.pixel(200, 10), colors::kBlue);
  EXPECT_EQ(BackBuffer.pixel(500, 10), colors::kBlue);
  EXPECT_EQ(BackBuffer.pixel(10, 400), colors::kBlue);
  EXPECT_EQ(BackBuffer.pixel(201, 10), Background());
  PageWidthPx = 0;
  PageHeightPx = -5;
  Form5->FormPaint();  // would never end with a page of no size
  EXPECT_EQ(BackBuffer.pixel(200, 10), Background());
  EXPECT_EQ(BackBuffer.pixel(10, 400), Background());
}

TEST_F(CanvasTest, RunResultsShowPortsAndOutletsThatCarryLevels) {
  Form1Tag = kMainLevelsShown;
  EnsureNodeRows(3);
  Nodes[0][kNodeCode] = 131001;
  Nodes[0][kNodeOutX] = 250;  // output pin (port 1)
  Nodes[0][kNodeOutY] = 300;
  NodeSpectra(0, 1, 101) = 75.0;
  Nodes[0][kNodePort2X] = 350;  // port 2 without a level
  Nodes[0][kNodePort2Y] = 300;
  Links[0] = {19, 0, 0, 400, 300, 450, 300, 5};
  Form5->Timer2->stop();
  Form5->FormPaint();
  EXPECT_EQ(BackBuffer.pixel(250, 300), colors::kGreen);
  EXPECT_EQ(BackBuffer.pixel(350, 300), Background());
  EXPECT_EQ(BackBuffer.pixel(400, 300), colors::kGreen) << "satellite outlet within the limits";
  EXPECT_EQ(BackBuffer.pixel(450, 300), colors::kGreen) << "terrestrial digit 1 keeps the brush";
  Form1Tag = kMainEditing;
  Form5->FormPaint();
  EXPECT_EQ(BackBuffer.pixel(250, 300), Background());
}

TEST_F(CanvasTest, BlinkColoursComeFromTheBackBufferUnderEachMark) {
  // A mark above the maximum and one below it on the same point: in the phase where the high mark
  // is red the low one keeps that red; in the other phase the low one is blue.
  LevelMarks[0] = {2, 300, 300};
  LevelMarks[1] = {1, 300, 300};
  Links[0] = {41, 0, 0, 500, 300, 550, 300, 5};  // SAT digit 1, terrestrial digit 4
  ASSERT_TRUE(Form5->Timer2->isActive());
  Form5->BlinkPhase = 0;
  Form5->Timer2Timer();
  ASSERT_EQ(Form5->BlinkPhase, 1);
  EXPECT_EQ(BackBuffer.pixel(300, 300), colors::kRed);
  EXPECT_EQ(BackBuffer.pixel(500, 300), colors::kRed);
  EXPECT_EQ(BackBuffer.pixel(550, 300), colors::kBlue);
  Form5->Timer2Timer();
  EXPECT_EQ(BackBuffer.pixel(300, 300), colors::kBlue);
  EXPECT_EQ(BackBuffer.pixel(500, 300), colors::kWhite);
  EXPECT_EQ(BackBuffer.pixel(550, 300), colors::kRed);
  EXPECT_EQ(Form5->Timer2->interval(), 300);

  Form5->Timer2->stop();  // the navigation view and the start of a run stop the blinker
  Form5->FormPaint();
  EXPECT_EQ(BackBuffer.pixel(300, 300), Background());
}

TEST(CanvasBlink, MarkAndStatusColoursFollowThePhase) {
  using namespace colors;
  EXPECT_EQ(TForm5::MarkColour(1, 0, kWhite, kGreen), kBlue);
  EXPECT_EQ(TForm5::MarkColour(1, 1, kWhite, kGreen), kWhite);
  EXPECT_EQ(TForm5::MarkColour(1, 1, kRed, kGreen), kRed) << "a red pixel under a low mark stays red";
  EXPECT_EQ(TForm5::MarkColour(2, 1, kWhite, kGreen), kRed);
  EXPECT_EQ(TForm5::MarkColour(2, 0, kBlue, kGreen), kBlue);
  EXPECT_EQ(TForm5::MarkColour(2, 0, kRed, kGreen), kWhite);
  EXPECT_EQ(TForm5::MarkColour(7, 0, kRed, kGreen), kGreen) << "an unknown kind keeps the brush";
  EXPECT_EQ(TForm5::StatusColour(3, 1), kRed);
  EXPECT_EQ(TForm5::StatusColour(3, 0), kWhite);
  EXPECT_EQ(TForm5::StatusColour(4, 0), kRed);
  EXPECT_EQ(TForm5::StatusColour(4, 1), kBlue);
  EXPECT_EQ(TForm5::StatusColour(7, 1), kBlue);
  EXPECT_FALSE(TForm5::StatusColour(9, 1));
  EXPECT_FALSE(TForm5::StatusColour(0, 1));
}

TEST_F(CanvasTest, UndoButtonFollowsTheNewestRingEntry) {
  Form5->FormPaint();
  EXPECT_FALSE(Form1->ToolButton91->isEnabled()) << "empty ring";
  Place(131, 200, 200);
  PushUndo(kUndoAdded, 0);
  ++EditSerial;
  Form5->FormPaint();
  EXPECT_TRUE(Form1->ToolButton91->isEnabled());
  // Wrapped ring: position 0 with the last entry in use.
  UndoPos = 0;
  UndoRing[0][kUndoSerial] = 5;
  UndoRing[kUndoLast][kUndoKindField] = 0;
  Form5->FormPaint();
  EXPECT_FALSE(Form1->ToolButton91->isEnabled());
  UndoRing[kUndoLast][kUndoKindField] = kUndoMove;
  Form5->FormPaint();
  EXPECT_TRUE(Form1->ToolButton91->isEnabled());
}

// ---- hit test

TEST_F(CanvasTest, HitTestIsStrictOnTheHalfSizesAndTurnsWithTheObject) {
  const int hw = TypeOf(131)[kHalfWidth], hh = TypeOf(131)[kHalfHeight];
  const int row = Place(131, 300, 300);
  EXPECT_EQ(HitTestComponent(300 + hw - 1, 300 + hh - 1), row);
  EXPECT_EQ(HitTestComponent(300 + hw, 300), -1);
  EXPECT_EQ(HitTestComponent(300, 300 - hh), -1);
  NetObjects[row][kOrient] = 2;  // turned: the half sizes swap axes
  EXPECT_EQ(HitTestComponent(300 + hh - 1, 300 + hw - 1), row);

  // A line is found around the middle of its first leg's start, 18 pixels along it.
  const int line = AddLine(203, 600, 300, 1, 100, 0, 0, 0, 3);
  const int lh = TypeOf(203)[kHalfHeight];
  EXPECT_EQ(HitTestComponent(600, 318 + lh - 1), line);
  EXPECT_EQ(HitTestComponent(600, 318 - lh), -1);

  // An object whose symbol is empty is never found.
  StoreObjGlyph(row, Bitmap());
  EXPECT_EQ(HitTestComponent(300, 300), -1);
}

TEST_F(CanvasTest, HitTestIgnoresObjectsUnderTheAnalyzer) {
  const int row = Place(131, 300, 300);
  Form1->show();
  Form4->showNormal();
  const QPoint origin = Form5->mapToGlobal(QPoint(0, 0));
  Form4->move(origin + QPoint(250, 250));
  Form4->resize(200, 200);
  EXPECT_EQ(HitTestComponent(300, 300), -1);
  Form4->hide();
  EXPECT_EQ(HitTestComponent(300, 300), row);
}

// ---- whole drawing

TEST_F(CanvasTest, NavigationOverviewHoldsTheDrawingAtItsExtent) {
  const int row = Place(131, 100, 50);
  const QSize g = ObjGlyphs[row].image().size();
  AddLine(203, 10, 10, 1, 200, 300, -50, 40, 3);
  Form1->ToolButton90Click();
  // Right: the line's end at 10 + 300 + 40; bottom: its corner at 10 + 200; plus 15 each.
  EXPECT_EQ(PrintBitmap.width(), std::max(350, 100 + g.width() / 2) + 15);
  EXPECT_EQ(PrintBitmap.height(), std::max(210, 50 + g.height() / 2) + 15);
  const auto white = OpaqueOffset(row, colors::kWhite);
  ASSERT_TRUE(white);
  EXPECT_EQ(PrintBitmap.pixel(100 + white->x(), 50 + white->y()), colors::kWhite);
  EXPECT_EQ(PrintBitmap.pixel(10, 100), colors::kGrey) << "the line's first leg";
  Form1->ToolButton90Click();
  EXPECT_TRUE(PrintBitmap.empty());
}

}  // namespace
}  // namespace kavrix

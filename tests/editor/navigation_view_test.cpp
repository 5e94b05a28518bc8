// The navigation view driven from the canvas: Shift in, the view box dragged with the pointer,
// Shift out, and the canvas scrolled to where the box was left.
#include <QMouseEvent>
#include <QScrollBar>
#include <QTest>
#include <QToolBar>
#include <QToolButton>

#include "catalogue/geometry.hpp"
#include "editor/canvas_fixture.hpp"
#include "model/number_text.hpp"
#include "simulation/window/analyzer_window.hpp"
#include "symbols/object_glyphs.hpp"

namespace kavrix {
namespace {

class NavigationViewTest : public test::CanvasTest {
 protected:
  void SetUp() override {
    Form1->resize(1000, 700);
    Form1->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(Form1));
  }

  QPoint Global(QPoint p) const { return Form5->mapToGlobal(p); }
  void Mouse(QEvent::Type type, QPoint p, Qt::MouseButton button, Qt::MouseButtons held) {
    QMouseEvent e(type, p, Global(p), button, held, Qt::NoModifier);
    QCoreApplication::sendEvent(Form5, &e);
  }
  void Drag(QPoint from, QPoint to) {
    Mouse(QEvent::MouseButtonPress, from, Qt::LeftButton, Qt::LeftButton);
    const QPoint mid = (from + to) / 2;
    Mouse(QEvent::MouseMove, mid, Qt::NoButton, Qt::LeftButton);
    Mouse(QEvent::MouseMove, to, Qt::NoButton, Qt::LeftButton);
    Mouse(QEvent::MouseButtonRelease, to, Qt::LeftButton, Qt::NoButton);
  }
  void Shift() {
    QTest::keyPress(Form5, Qt::Key_Shift);
    QTest::keyRelease(Form5, Qt::Key_Shift);
  }
  static QImage Screen() { return Form5->grab().toImage().convertToFormat(QImage::Format_RGB32); }
  static QRgb Background() { return ToRgb(static_cast<TColor>(CanvasColor)); }

  // Any pixel other than the background within `r` pixels of (x, y).
  static bool DrawnNear(const QImage& img, int x, int y, int r) {
    for (int dy = -r; dy <= r; ++dy)
      for (int dx = -r; dx <= r; ++dx)
        if (img.valid(x + dx, y + dy) && img.pixel(x + dx, y + dy) != Background()) return true;
    return false;
  }

  static std::vector<int> SymbolRows() {
    std::vector<int> rows;
    for (int r = 0; r < ObjectCount; ++r) {
      const int kind = NetObjects[static_cast<std::size_t>(r)][kKind];
      if ((kind >= 1 && kind <= 199) || kind == 210) rows.push_back(r);
    }
    return rows;
  }
};

TEST_F(NavigationViewTest, OverviewShowsTheDrawingAndTheCanvasScrollsToWhereTheBoxIsLeft) {
  Open("tap_riser.stn");
  if (Form4) Form4->show();
  Form5->Repaint();
  ASSERT_TRUE(Form5->Timer2->isActive());

  Shift();
  ASSERT_EQ(Form5->Tag, kCanvasNavigation);
  EXPECT_FALSE(Form5->Timer2->isActive());
  EXPECT_FALSE(Form4 && Form4->isVisible());
  EXPECT_FALSE(Form5->HorzScrollBar->isVisible() || Form5->VertScrollBar->isVisible());
  EXPECT_EQ(Form1->ToolButton90ImageIndex, 72);
  EXPECT_TRUE(Form1->ToolButton90->isChecked()) << "the button shows the mode";
  EXPECT_EQ(PrintBitmap.width(), DrawExtentX);
  EXPECT_EQ(PrintBitmap.height(), DrawExtentY);
  // The whole drawing fits the window in both directions, at the smaller of the two scales.
  const int w = Form5->ClientWidth(), h = Form5->ClientHeight();
  EXPECT_DOUBLE_EQ(ZoomFactor, std::min(double(w) / DrawExtentX, double(h) / DrawExtentY));
  EXPECT_LE(RoundHalfEven(DrawExtentX * ZoomFactor), w);
  EXPECT_LE(RoundHalfEven(DrawExtentY * ZoomFactor), h);
  EXPECT_EQ(BoxPos, (IntPoint{ScaleToZoom(ScrollX), ScaleToZoom(ScrollY)}));
  EXPECT_EQ(BoxSize, (IntPoint{ScaleToZoom(w - 20), ScaleToZoom(h - 20)}));

  const QImage overview = Screen();
  overview.save(ArtifactPath("navigation_overview.png"));
  const std::vector<int> rows = SymbolRows();
  ASSERT_GE(rows.size(), 5u);
  for (int r : rows) {
    const ObjRow& o = NetObjects[static_cast<std::size_t>(r)];
    EXPECT_TRUE(DrawnNear(overview, ScaleToZoom(o[kX]), ScaleToZoom(o[kY]), 2)) << "row " << r;
  }
  const int beyond = static_cast<int>(RoundHalfEven(DrawExtentX * ZoomFactor)) + 3;
  if (beyond < w) {
    EXPECT_EQ(overview.pixel(beyond, h / 2), Background()) << "nothing right of the drawing";
  }
  int blue = 0;
  for (int x = BoxPos.X; x < BoxPos.X + BoxSize.X; ++x) blue += overview.pixel(x, BoxPos.Y) == qRgb(0, 0, 255);
  EXPECT_GT(blue, BoxSize.X / 4) << "the box's dashed top edge";
  EXPECT_LT(blue, BoxSize.X) << "dashed, not solid";

  // Only a press inside the box grabs it.
  const IntPoint start = BoxPos;
  Drag({BoxPos.X + BoxSize.X + 20, BoxPos.Y + 5}, {BoxPos.X + BoxSize.X + 60, BoxPos.Y + 45});
  EXPECT_EQ(BoxPos, start);
  const QPoint grab(start.X + 10, start.Y + 10);
  const QPoint delta(5, h / 3);  // down to the middle of the riser
  Drag(grab, grab + delta);
  EXPECT_EQ(BoxPos, (IntPoint{start.X + delta.x(), start.Y + delta.y()}));
  EXPECT_EQ(BoxGrab, IntPoint{}) << "released";

  Shift();
  ASSERT_EQ(Form5->Tag, kCanvasIdle);
  EXPECT_TRUE(PrintBitmap.empty());
  EXPECT_TRUE(Form5->HorzScrollBar->isVisible() && Form5->VertScrollBar->isVisible());
  EXPECT_FALSE(Form5->Timer1->isActive());
  EXPECT_FALSE(Form5->Timer2->isActive()) << "no levels on show";
  EXPECT_FALSE(Form4 && Form4->isVisible()) << "the Analyzer stays hidden";
  EXPECT_EQ(Form1->ToolButton90ImageIndex, 71);
  EXPECT_FALSE(Form1->ToolButton90->isChecked());
  const int wantX = static_cast<int>(RoundHalfEven(BoxPos.X / ZoomFactor));
  const int wantY = static_cast<int>(RoundHalfEven(BoxPos.Y / ZoomFactor));
  ASSERT_LE(wantX, Form5->HorzScrollBar->maximum());
  ASSERT_LE(wantY, Form5->VertScrollBar->maximum());
  EXPECT_EQ(Form5->HorzScrollBar->value(), wantX);
  EXPECT_EQ(Form5->VertScrollBar->value(), wantY);
  EXPECT_EQ(ScrollX, SnapToGrid(wantX, GridStep));
  EXPECT_EQ(ScrollY, SnapToGrid(wantY, GridStep));

  // The canvas now draws the objects of that part at their client points.
  const QImage canvas = Screen();
  canvas.save(ArtifactPath("navigation_after.png"));
  int shown = 0;
  for (int r : rows) {
    const ObjRow& o = NetObjects[static_cast<std::size_t>(r)];
    const int cx = o[kX] - ScrollX, cy = o[kY] - ScrollY;
    if (cx < 10 || cy < 10 || cx >= Form5->ClientWidth() - 10 || cy >= Form5->ClientHeight() - 10) continue;
    ++shown;
    EXPECT_TRUE(DrawnNear(canvas, cx, cy, 2)) << "row " << r;
  }
  EXPECT_GT(shown, 0);
}

// A drawing the size of a large building was drawn whole at full size before being scaled into
// the window: ten thousand outlets took seven gigabytes and seconds to show the overview.
TEST_F(NavigationViewTest, AVeryLargeDrawingIsShownWithoutItsFullSizePicture) {
  const IntPoint at[] = {{200, 200}, {10000, 8000}, {20000, 15000}};
  for (const IntPoint& p : at) RebuildObjectGlyph(test::AddObject(131, p.X, p.Y, 1, 1, 0));
  Form5->Repaint();
  Shift();
  ASSERT_EQ(Form5->Tag, kCanvasNavigation);
  ASSERT_GT(int64_t{DrawExtentX} * DrawExtentY, int64_t{1} << 28);
  EXPECT_TRUE(PrintBitmap.empty()) << "no full-size picture of the drawing";
  EXPECT_EQ(Form5->Overview.size(), QSize(static_cast<int>(RoundHalfEven(DrawExtentX * ZoomFactor)),
                                          static_cast<int>(RoundHalfEven(DrawExtentY * ZoomFactor))));
  const QImage overview = Screen();
  overview.save(ArtifactPath("navigation_large.png"));
  for (const IntPoint& p : at) EXPECT_TRUE(DrawnNear(overview, ScaleToZoom(p.X), ScaleToZoom(p.Y), 2)) << p.X;
  EXPECT_FALSE(DrawnNear(overview, ScaleToZoom(5000), ScaleToZoom(12000), 5)) << "nothing drawn between them";

  Shift();
  EXPECT_EQ(Form5->Tag, kCanvasIdle);
  EXPECT_TRUE(Form5->Overview.isNull());
}

TEST_F(NavigationViewTest, TheToolButtonTogglesTheOverviewAndShowsItDown) {
  Open("sources.stn");
  QToolButton* button = nullptr;
  for (QToolButton* b : Form1->ToolBar1->findChildren<QToolButton*>())
    if (b->defaultAction() == Form1->ToolButton90) button = b;
  ASSERT_TRUE(button && button->isVisible());
  QTest::mouseClick(button, Qt::LeftButton);
  EXPECT_EQ(Form5->Tag, kCanvasNavigation);
  EXPECT_TRUE(button->isChecked());
  Form1->grab().save(ArtifactPath("navigation_window.png"));
  QTest::mouseClick(button, Qt::LeftButton);
  EXPECT_EQ(Form5->Tag, kCanvasIdle);
  EXPECT_FALSE(button->isChecked());
  // Shift and the button are one switch: the button follows the mode whichever turned it.
  Shift();
  EXPECT_TRUE(button->isChecked());
  QTest::mouseClick(button, Qt::LeftButton);
  EXPECT_EQ(Form5->Tag, kCanvasIdle);
  EXPECT_FALSE(button->isChecked());
}

TEST_F(NavigationViewTest, LevelsOnShowBlinkAgainAfterTheView) {
  Open("sources.stn");
  Shift();
  Form1Tag = kMainLevelsShown;
  Shift();
  EXPECT_TRUE(Form5->Timer2->isActive());
  Form1Tag = kMainEditing;
}

// Open used to drop the mode by setting the canvas to idle: the new project came up with its
// scroll bars still hidden, the blinker off and the overview's bitmap kept.
TEST_F(NavigationViewTest, OpeningAProjectFromTheOverviewBringsTheCanvasBack) {
  Open("sources.stn");
  Shift();
  ASSERT_EQ(Form5->Tag, kCanvasNavigation);
  Open("tap_riser.stn");
  EXPECT_EQ(Form5->Tag, kCanvasIdle);
  EXPECT_TRUE(Form5->HorzScrollBar->isVisible() && Form5->VertScrollBar->isVisible());
  EXPECT_TRUE(PrintBitmap.empty());
  EXPECT_TRUE(Form5->Overview.isNull());
  EXPECT_EQ(Form1->ToolButton90ImageIndex, 71);
  Shift();
  EXPECT_EQ(Form5->Tag, kCanvasNavigation) << "Shift enters the overview again";
  Shift();
}

TEST_F(NavigationViewTest, AFaultyPlaceIsCircledWithAGapOnTheLeft) {
  Open("sources.stn");
  MarkX = 300;
  MarkY = 250;
  Form1->ToolButton90Click();
  const auto red = [](int x, int y) { return PrintBitmap.pixel(x, y) == colors::kRed; };
  EXPECT_TRUE(red(MarkX + 80, MarkY));
  EXPECT_TRUE(red(MarkX, MarkY + 80));
  EXPECT_TRUE(red(MarkX, MarkY - 80));
  EXPECT_TRUE(red(MarkX - 80, MarkY + 5));
  EXPECT_FALSE(red(MarkX - 80, MarkY - 5)) << "the gap";
  Form1->ToolButton90Click();

  // Near the edge the circle runs off the picture; without a mark there is none.
  MarkX = 30;
  Form1->ToolButton90Click();
  EXPECT_TRUE(red(MarkX + 80, MarkY));
  Form1->ToolButton90Click();
  MarkX = 0;
  Form1->ToolButton90Click();
  EXPECT_FALSE(red(80, MarkY));
  Form1->ToolButton90Click();
  MarkY = 0;
}

}  // namespace
}  // namespace kavrix

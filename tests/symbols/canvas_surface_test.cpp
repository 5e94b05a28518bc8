// The drawing surface: edge rules, pen bands, keyed transparency, fills, texts and saving.
#include "symbols/canvas_surface.hpp"

#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace kavrix {
namespace {

// Columns [x0, x1) of row y that hold colour c.
std::vector<int> ColumnsOf(const Bitmap& b, int y, TColor c) {
  std::vector<int> xs;
  for (int x = 0; x < b.width(); ++x)
    if (b.pixel(x, y) == c) xs.push_back(x);
  return xs;
}

TEST(CanvasSurface, RectangleExcludesRightAndBottomEdges) {
  Bitmap b(20, 20);
  Canvas c(b);
  c.brush.color = colors::kSilver;
  c.rectangle(2, 3, 8, 9);  // width-1 outline on x 2 and 7, y 3 and 8
  EXPECT_EQ(b.pixel(2, 3), colors::kBlack);
  EXPECT_EQ(b.pixel(7, 8), colors::kBlack);
  EXPECT_EQ(b.pixel(8, 8), colors::kWhite);
  EXPECT_EQ(b.pixel(7, 9), colors::kWhite);
  EXPECT_EQ(b.pixel(4, 5), colors::kSilver);
}

TEST(CanvasSurface, WidePensCoverTheirBandAroundTheEdge) {
  // Width 2 on left edge 5 covers 4..5, on right edge 14 (right 15) covers 13..14.
  Bitmap b(30, 30);
  Canvas c(b);
  c.pen.width = 2;
  c.rectangle(5, 5, 15, 15);
  EXPECT_EQ(ColumnsOf(b, 10, colors::kBlack), (std::vector<int>{4, 5, 13, 14}));
  // Width 4 vertical line at x 20 covers 18..21; width 1 leaves out the end point.
  c.pen.width = 4;
  c.line(20, 2, 20, 28);
  EXPECT_EQ(ColumnsOf(b, 20, colors::kBlack), (std::vector<int>{18, 19, 20, 21}));
  Bitmap t(10, 3);
  Canvas ct(t);
  ct.line(1, 1, 6, 1);
  EXPECT_EQ(ColumnsOf(t, 1, colors::kBlack), (std::vector<int>{1, 2, 3, 4, 5}));
}

TEST(CanvasSurface, ZeroLengthLineDrawsNothingAtAnyWidth) {
  for (int w : {1, 2, 4, 6}) {
    Bitmap b(12, 12);
    Canvas c(b);
    c.pen.width = w;
    c.line(6, 6, 6, 6);
    EXPECT_TRUE(ColumnsOf(b, 6, colors::kBlack).empty()) << "width " << w;
  }
}

TEST(CanvasSurface, EllipseStaysInsideItsBoxAndIsSymmetric) {
  // Terminal circles were drawn on a half-pixel rectangle and came out lopsided.
  Bitmap b(20, 20);
  Canvas c(b);
  c.brush.color = colors::kSilver;
  c.ellipse(3, 4, 9, 10);  // a 6-px terminal
  const char* expected[] = {".####.", "#....#", "#....#", "#....#", "#....#", ".####."};
  for (int y = 0; y < 20; ++y)
    for (int x = 0; x < 20; ++x) {
      const bool in = x >= 3 && x < 9 && y >= 4 && y < 10;
      const char want = in ? expected[y - 4][x - 3] : ' ';
      const TColor got = b.pixel(x, y);
      if (want == '#') {
        EXPECT_EQ(got, colors::kBlack) << x << "," << y;
      } else if (want == '.') {
        EXPECT_TRUE(got == colors::kSilver || (got == colors::kWhite && (x == 3 || x == 8))) << x << "," << y;
      } else {
        EXPECT_EQ(got, colors::kWhite) << x << "," << y;
      }
    }
  EXPECT_EQ(b.pixel(5, 6), colors::kSilver);

  // Every size and pen: a mirror image of itself across both axes of the band its pen covers
  // (a pen of width w on an edge e covers e - w/2 .. e - w/2 + w - 1, as on rectangles).
  for (int size : {5, 6, 8, 10, 13, 16})
    for (int pen : {1, 2, 4}) {
      Bitmap m(40, 40);
      Canvas cm(m);
      cm.pen.width = pen;
      cm.brush.color = colors::kBlue;
      const int l = 10, t = 12, r = l + size, b = t + size + 3, a = pen / 2;
      cm.ellipse(l, t, r, b);
      for (int y = 0; y < 40; ++y)
        for (int x = 0; x < 40; ++x) {
          const int mx = (l - a) + (r - 1 - a + pen) - 1 - x, my = (t - a) + (b - 1 - a + pen) - 1 - y;
          if (mx < 0 || my < 0 || mx >= 40 || my >= 40) continue;
          ASSERT_EQ(m.pixel(x, y), m.pixel(mx, my)) << size << " pen " << pen << " at " << x << "," << y;
          ASSERT_EQ(m.pixel(x, y), m.pixel(mx, y)) << size << " pen " << pen << " at " << x << "," << y;
        }
    }
}

TEST(CanvasSurface, FloodFillBorderStopsOnlyAtTheBorderColour) {
  Bitmap b(16, 16);
  Canvas c(b);
  c.rectangle(4, 4, 10, 10);
  c.brush.color = colors::kSilver;
  c.floodFill(1, 1, colors::kSilver, FillStyle::Border);
  // Every pixel becomes silver, the black frame included: the border colour is silver itself.
  EXPECT_EQ(b.pixel(4, 4), colors::kSilver);
  EXPECT_EQ(b.pixel(15, 15), colors::kSilver);
  c.brush.color = colors::kWhite;
  c.pen.color = colors::kBlack;
  c.rectangle(4, 4, 10, 10);
  c.brush.color = colors::kRed;
  c.floodFill(6, 6, colors::kWhite, FillStyle::Surface);
  EXPECT_EQ(b.pixel(6, 6), colors::kRed);
  EXPECT_EQ(b.pixel(1, 1), colors::kSilver);
}

TEST(CanvasSurface, TransparentDrawSkipsTheLowerLeftColour) {
  Bitmap src(4, 4);
  Canvas cs(src);
  cs.brush.color = colors::kSilver;
  cs.floodFill(0, 0, colors::kSilver, FillStyle::Border);
  src.setPixel(1, 1, colors::kRed);
  src.setTransparent(true);
  EXPECT_EQ(src.transparentColor(), colors::kSilver);

  Bitmap dst(6, 6);
  Canvas cd(dst);
  cd.draw(1, 1, src);
  EXPECT_EQ(dst.pixel(2, 2), colors::kRed);
  EXPECT_EQ(dst.pixel(1, 1), colors::kWhite);
  src.setTransparent(false);
  cd.draw(1, 1, src);
  EXPECT_EQ(dst.pixel(1, 1), colors::kSilver);
  // Clipped at every edge, and empty sources or targets are ignored.
  cd.draw(-3, -3, src);
  cd.draw(5, 5, Bitmap());
  Bitmap none;
  Canvas cn(none);
  cn.draw(0, 0, src);
  cn.textOut(0, 0, "x");
  cn.lineTo(5, 5);
  cn.floodFill(0, 0, 0, FillStyle::Border);
  EXPECT_TRUE(none.empty());
  EXPECT_EQ(none.pixel(0, 0), colors::kBlack);
}

TEST(CanvasSurface, StretchAndCopyRect) {
  Bitmap src(2, 2);
  src.setPixel(0, 0, colors::kRed);
  Bitmap dst(8, 8);
  Canvas cd(dst);
  cd.stretchDraw(0, 0, 4, 4, src);
  EXPECT_EQ(dst.pixel(1, 1), colors::kRed);
  EXPECT_EQ(dst.pixel(2, 2), colors::kWhite);
  cd.copyRect(4, 4, 5, 5, src, 0, 0, 1, 1);
  EXPECT_EQ(dst.pixel(4, 4), colors::kRed);
}

TEST(CanvasSurface, TextIsRecordedWithItsFontAndOpaqueCell) {
  Bitmap b(80, 80);
  Canvas c(b);
  c.brush.color = colors::kSilver;
  TextRecorder rec;
  c.font.color = colors::kBlue;
  c.textOut(10, 10, "Gain");
  c.font.orientation = 900;
  c.textOut(10, 70, "UHF");
  ASSERT_EQ(rec.texts.size(), 2u);
  EXPECT_EQ(rec.texts[0].text, "Gain");
  EXPECT_EQ(rec.texts[0].font.color, colors::kBlue);
  const QRect h = rec.texts[0].bounds;
  EXPECT_EQ(h.topLeft(), QPoint(10, 10));
  EXPECT_GT(h.width(), h.height());
  EXPECT_EQ(b.pixel(h.left(), h.top()), colors::kSilver);  // the background cell is painted
  const QRect v = rec.texts[1].bounds;
  EXPECT_GT(v.height(), v.width());
  EXPECT_EQ(v.bottom(), 69);  // reads upwards from its anchor
  // Some pixel of the upward text carries the font colour.
  bool blue = false;
  for (int y = v.top(); y <= v.bottom(); ++y)
    for (int x = v.left(); x <= v.right(); ++x) blue = blue || b.pixel(x, y) == colors::kBlue;
  EXPECT_TRUE(blue);
}

TEST(CanvasSurface, FontSizesAreFixedPixelSizes) {
  EXPECT_EQ(FontSizeToHeight(8), -11);
  EXPECT_EQ(FontSizeToHeight(7), -9);
  EXPECT_EQ(FontSizeToHeight(6), -8);
  Bitmap b(10, 10);
  Canvas c(b);
  c.font.height = 14;
  EXPECT_LE(c.textHeight("Xg"), 14);
  EXPECT_GE(c.textHeight("Xg"), 12);
  c.font.name = kNarrowFontName;
  c.font.height = -20;
  const int narrow = c.textWidth("VHFIII");
  c.font.name = kDefaultFontName;
  EXPECT_LT(narrow, c.textWidth("VHFIII"));
}

TEST(CanvasSurface, SavesEightBitBitmaps) {
  Bitmap b(33, 17);
  Canvas c(b);
  c.brush.color = colors::kGreen;
  c.rectangle(2, 2, 20, 10);
  QTemporaryDir dir;
  const std::string path = dir.filePath("pic.bmp").toStdString();
  ASSERT_TRUE(SaveBitmap8(b, path));
  QFile f(QString::fromStdString(path));
  ASSERT_TRUE(f.open(QIODevice::ReadOnly));
  const QByteArray head = f.read(30);
  ASSERT_EQ(head.size(), 30);
  EXPECT_EQ(head.left(2), QByteArray("BM"));
  EXPECT_EQ(static_cast<uint8_t>(head[28]), 8);  // bits per pixel
  QImage back(QString::fromStdString(path));
  EXPECT_EQ(FromRgb(back.pixel(5, 5)), colors::kGreen);
  EXPECT_FALSE(SaveBitmap8(Bitmap(), path));
}

}  // namespace
}  // namespace kavrix

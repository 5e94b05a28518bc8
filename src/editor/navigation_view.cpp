// The navigation view: the whole drawing scaled into the canvas window, with a view box the user
// drags to the part the canvas shows afterwards, and a circle round the place a drawing check
// found a fault at.
#include <QAction>
#include <QScrollBar>
#include <algorithm>
#include <cstdint>
#include <vector>

#include "app/forms.hpp"
#include "app/main_window.hpp"
#include "editor/canvas_paint.hpp"
#include "editor/canvas_window.hpp"
#include "model/drawing_extent.hpp"
#include "model/network_model.hpp"
#include "model/number_text.hpp"
#include "model/project_options.hpp"
#include "simulation/window/analyzer_window.hpp"

namespace kavrix {

namespace {

// A drawing up to this many pixels is drawn whole at full size (1 GB at four bytes a pixel).
// Beyond it the overview is drawn band by band: a building of thousands of outlets would
// otherwise ask for many gigabytes just to be shown scaled down to the window.
constexpr int64_t kFullSizeOverviewPixels = int64_t{1} << 28;
constexpr int64_t kOverviewBandPixels = int64_t{1} << 26;

void DrawMarker(Canvas& c, int originY) {
  // A circle round the place a drawing check complained about, open on its left.
  c.pen = Pen{colors::kRed, 5, PenStyle::Solid};
  const int y = MarkY - originY;
  c.arc(MarkX - 80, y - 80, MarkX + 80, y + 80, MarkX - 80, y, MarkX - 80, y - 10);
}

// The whole drawing at full size, drawn by the same routine as the screen.
void DrawWholeOverview(int extentX, int extentY) {
  PrintBitmap = Bitmap(extentX, extentY);
  Canvas c(PrintBitmap);
  c.brush.color = static_cast<TColor>(CanvasColor);
  c.fillRect(0, 0, PrintBitmap.width(), PrintBitmap.height());
  for (std::size_t row = 0; row < NetObjects.size(); ++row) DrawComponent(static_cast<int>(row), PrintBitmap);
  if (MarkX > 0) DrawMarker(c, 0);
}

// The overview at the zoom, sampled as the whole picture would be scaled (nearest pixel), from
// full-size bands of the drawing drawn one after another.
QImage DrawOverviewInBands(int extentX, int extentY, double zoom) {
  const int ow = std::max(1, static_cast<int>(RoundHalfEven(extentX * zoom)));
  const int oh = std::max(1, static_cast<int>(RoundHalfEven(extentY * zoom)));
  QImage overview(ow, oh, QImage::Format_RGB32);
  std::vector<int> sourceX(static_cast<std::size_t>(ow));
  for (int ox = 0; ox < ow; ++ox)
    sourceX[static_cast<std::size_t>(ox)] = std::min(extentX - 1, static_cast<int>((ox + 0.5) * extentX / ow));
  const int bandHeight = static_cast<int>(std::clamp<int64_t>(kOverviewBandPixels / extentX, 1, extentY));
  Bitmap band(extentX, bandHeight);
  int oy = 0;
  for (int top = 0; top < extentY && oy < oh; top += bandHeight) {
    Canvas c(band);
    c.brush.color = static_cast<TColor>(CanvasColor);
    c.fillRect(0, 0, band.width(), band.height());
    for (std::size_t row = 0; row < NetObjects.size(); ++row) DrawComponent(static_cast<int>(row), band, 0, top);
    if (MarkX > 0) DrawMarker(c, top);
    for (; oy < oh; ++oy) {
      const int sy = std::min(extentY - 1, static_cast<int>((oy + 0.5) * extentY / oh));
      if (sy >= top + bandHeight) break;
      const auto* in = reinterpret_cast<const QRgb*>(band.image().constScanLine(sy - top));
      auto* out = reinterpret_cast<QRgb*>(overview.scanLine(oy));
      for (int ox = 0; ox < ow; ++ox) out[ox] = in[sourceX[static_cast<std::size_t>(ox)]];
    }
  }
  return overview;
}

void EnterNavigation(TForm1& main, TForm5& canvas) {
  canvas.Tag = kCanvasNavigation;
  canvas.Timer2->stop();
  if (Form4) Form4->hide();
  main.ToolButton90ImageIndex = 72;
  if (main.ToolButton90) main.ToolButton90->setChecked(true);
  canvas.ShowScrollBars(false);
  CalcDrawingExtent();
  const int ex = std::max(DrawExtentX, 1), ey = std::max(DrawExtentY, 1);
  const int w = canvas.ClientWidth(), h = canvas.ClientHeight();
  ZoomFactor = std::min(static_cast<double>(h) / ey, static_cast<double>(w) / ex);
  if (static_cast<int64_t>(ex) * ey <= kFullSizeOverviewPixels) {
    DrawWholeOverview(ex, ey);
    canvas.Overview = PrintBitmap.image();
  } else {
    PrintBitmap.release();
    canvas.Overview = DrawOverviewInBands(ex, ey, ZoomFactor);
  }
  BoxPos = {ScaleToZoom(ScrollX), ScaleToZoom(ScrollY)};
  BoxGrab = {};
  BoxSize = {ScaleToZoom(w - 20), ScaleToZoom(h - 20)};
  canvas.Repaint();
}

void LeaveNavigation(TForm1& main, TForm5& canvas) {
  canvas.Tag = kCanvasIdle;
  if (Form1Tag == kMainLevelsShown) canvas.Timer2->start();
  canvas.Overview = QImage();
  PrintBitmap.release();
  canvas.ShowScrollBars(true);
  // The canvas shows what the view box was left over. A window too small to hold any of the
  // overview had no zoom and keeps its place.
  if (ZoomFactor > 0.0) {
    canvas.VertScrollBar->setValue(static_cast<int>(RoundHalfEven(BoxPos.Y / ZoomFactor)));
    canvas.HorzScrollBar->setValue(static_cast<int>(RoundHalfEven(BoxPos.X / ZoomFactor)));
  }
  canvas.Timer1->stop();
  canvas.Repaint();
  main.ToolButton90ImageIndex = 71;
  if (main.ToolButton90) main.ToolButton90->setChecked(false);
}

}  // namespace

void TForm1::ToolButton90Click() {
  if (!Form5) return;
  if (IsNavigation(Form5->Tag)) LeaveNavigation(*this, *Form5);
  else EnterNavigation(*this, *Form5);
}

}  // namespace kavrix

// The navigation view: the whole drawing scaled into the canvas window, with a view box the user
// drags to the part the canvas shows afterwards, and a circle round the place a drawing check
// found a fault at.
#include <QAction>
#include <QScrollBar>
#include <algorithm>

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

void EnterNavigation(TForm1& main, TForm5& canvas) {
  canvas.Tag = kCanvasNavigation;
  canvas.Timer2->stop();
  if (Form4) Form4->hide();
  main.ToolButton90ImageIndex = 72;
  if (main.ToolButton90) main.ToolButton90->setChecked(true);
  canvas.ShowScrollBars(false);
  // The whole drawing at full size, drawn by the same routine as the screen.
  CalcDrawingExtent();
  PrintBitmap = Bitmap(std::max(DrawExtentX, 1), std::max(DrawExtentY, 1));
  Canvas c(PrintBitmap);
  c.brush.color = static_cast<TColor>(CanvasColor);
  c.fillRect(0, 0, PrintBitmap.width(), PrintBitmap.height());
  for (std::size_t row = 0; row < NetObjects.size(); ++row) DrawComponent(static_cast<int>(row), PrintBitmap);
  if (MarkX > 0) {
    // A circle round the place a drawing check complained about, open on its left.
    c.pen = Pen{colors::kRed, 5, PenStyle::Solid};
    c.arc(MarkX - 80, MarkY - 80, MarkX + 80, MarkY + 80, MarkX - 80, MarkY, MarkX - 80, MarkY - 10);
  }
  const int w = canvas.ClientWidth(), h = canvas.ClientHeight();
  ZoomFactor = std::min(static_cast<double>(h) / std::max(DrawExtentY, 1), static_cast<double>(w) / std::max(DrawExtentX, 1));
  BoxPos = {ScaleToZoom(ScrollX), ScaleToZoom(ScrollY)};
  BoxGrab = {};
  BoxSize = {ScaleToZoom(w - 20), ScaleToZoom(h - 20)};
  canvas.Overview = PrintBitmap.image();
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

// The level-mark blinker of the canvas and the navigation view that shows where a drawing
// check found a fault.
#include <QPainter>

#include "app/forms.hpp"
#include "app/main_window.hpp"
#include "editor/canvas_window.hpp"
#include "model/network_model.hpp"
#include "model/project_options.hpp"
#include "simulation/window/analyzer_window.hpp"

namespace kavrix {

namespace {
QColor FromBgr(int32_t c) { return QColor(c & 0xFF, (c >> 8) & 0xFF, (c >> 16) & 0xFF); }
const QColor kRed(255, 0, 0), kBlue(0, 0, 255), kWhite(255, 255, 255);
}  // namespace

QColor TForm5::MarkColour(int kind, bool phase, QColor under) {
  // Below minimum blinks blue, above maximum red; the off phase is white unless the pixel under
  // the mark already has the other colour, so neighbouring marks stay visible.
  if (kind == 1) return phase ? kBlue : (under == kRed ? kRed : kWhite);
  if (kind == 2) return phase ? kRed : (under == kBlue ? kBlue : kWhite);
  return QColor();
}

QColor TForm5::StatusColour(int digit, bool phase) {
  if (digit >= 1 && digit <= 3) return phase ? kRed : kWhite;
  if (digit == 4) return phase ? kBlue : kRed;
  if (digit >= 5 && digit <= 8) return phase ? kBlue : kWhite;
  return QColor();
}

void TForm5::Timer2Timer() {
  BlinkPhase = !BlinkPhase;
  update();
}

void TForm5::paintEvent(QPaintEvent*) {
  QPainter p(this);
  if (Tag >= 10 && !Overview.isNull()) {
    p.drawImage(0, 0, Overview);
    return;
  }
  // Marks are painted into an image first: the off-phase colour of a mark depends on the pixel
  // already under it, including marks painted just before.
  QImage frame(size(), QImage::Format_RGB32);
  frame.fill(FromBgr(CanvasColor));
  if (Timer2->isActive()) {
    QPainter fp(&frame);
    auto dot = [&](int x, int y, const QColor& c) {
      if (!c.isValid()) return;
      fp.setPen(c);
      fp.setBrush(c);
      fp.drawEllipse(QPoint(x, y), 3, 3);
    };
    for (int i = 0; i < kLevelMarkCount - 1; ++i) {
      const LevelMark& m = LevelMarks[i];
      if (m.X == 0 && m.Y == 0) break;
      const QColor under = frame.valid(m.X, m.Y) ? frame.pixelColor(m.X, m.Y) : QColor();
      dot(m.X, m.Y, MarkColour(m.Kind, BlinkPhase, under));
    }
    for (const LinkRow& l : Links) {
      dot(l[3], l[4], StatusColour(l[0] % 10, BlinkPhase));
      dot(l[5], l[6], StatusColour(l[0] / 10 % 10, BlinkPhase));
    }
  }
  p.drawImage(0, 0, frame);
}

void TForm1::ToolButton90Click() {
  TForm5* canvas = Form5;
  if (!canvas) return;
  if (canvas->Tag >= 10) {
    canvas->Tag = 0;
    if (Form1Tag == 1) canvas->Timer2->start();
    canvas->Overview = QImage();
    ToolButton90ImageIndex = 71;
    canvas->update();
    return;
  }
  canvas->Tag = 10;
  canvas->Timer2->stop();
  if (Form4) Form4->hide();
  ToolButton90ImageIndex = 72;
  // The overview shows the whole drawing area scaled into the window, with a red frame of pen
  // width 5 around the position a drawing check reported.
  const QSize size = canvas->size().isEmpty() ? QSize(400, 300) : canvas->size();
  canvas->Overview = QImage(size, QImage::Format_RGB32);
  canvas->Overview.fill(FromBgr(CanvasColor));
  if (MarkX > 0) {
    const double w = std::max(DrawExtentX, MarkX + 80), h = std::max(DrawExtentY, MarkY + 80);
    const double scale = std::min(size.width() / std::max(w, 1.0), size.height() / std::max(h, 1.0));
    QPainter p(&canvas->Overview);
    p.setPen(QPen(kRed, 5));
    p.setBrush(Qt::NoBrush);
    p.drawRect(QRectF((MarkX - 80) * scale, (MarkY - 80) * scale, 160 * scale, 160 * scale));
  }
  canvas->update();
}

}  // namespace kavrix

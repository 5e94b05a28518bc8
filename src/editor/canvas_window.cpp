// The canvas window itself: its creation, scroll bars, the pointer and key handling that is not a
// click (selection rectangle, the armed object following the pointer, the bends of a line being
// drawn, auto-scroll, the wheel), the popup menu and the F1 help pictures.
#include "editor/canvas_window.hpp"

#include <QAction>
#include <QApplication>
#include <QChildEvent>
#include <QEvent>
#include <QKeyEvent>
#include <QLabel>
#include <QMenu>
#include <QMouseEvent>
#include <QPainter>
#include <QPainterPath>
#include <QPixmap>
#include <QScrollBar>
#include <QSignalBlocker>
#include <QStyle>
#include <QWheelEvent>
#include <QWindow>
#include <algorithm>
#include <cstdlib>

#include "app/forms.hpp"
#include "app/main_window.hpp"
#include "catalogue/geometry.hpp"
#include "catalogue/type_catalogue.hpp"
#include "editor/canvas_paint.hpp"
#include "editor/canvas_rules.hpp"
#include "editor/line_drawing.hpp"
#include "model/network_model.hpp"
#include "model/project_options.hpp"
#include "model/source_tables.hpp"

namespace kavrix {

namespace {

constexpr int kHorzScrollStep = 5;
constexpr int kVertScrollStep = 20;
constexpr int kWheelNotch = 120;

bool Shown(const QWidget* w) { return w && !w->isHidden(); }
void Hide(QWidget* w) {
  if (w) w->hide();
}
bool IsLineKind(int kind) { return kind >= 201 && kind <= 209; }

// A quarter-turn arrow for the rotation items: clockwise for a turn back, counter-clockwise on.
QIcon RotationIcon(bool clockwise) {
  QPixmap pm(32, 32);
  pm.fill(Qt::transparent);
  QPainter p(&pm);
  p.setRenderHint(QPainter::Antialiasing);
  p.setPen(QPen(QColor(0, 0, 0), 3, Qt::SolidLine, Qt::RoundCap));
  const QRectF arc(6, 6, 20, 20);
  p.drawArc(arc, 90 * 16, clockwise ? -270 * 16 : 270 * 16);
  // Arrow head at the arc's end: the arc runs from the top through three quarters.
  const QPointF tip = clockwise ? QPointF(6, 16) : QPointF(26, 16);
  const double dir = clockwise ? -1.0 : 1.0;
  QPainterPath head;
  head.moveTo(tip + QPointF(-5, -2 * dir));
  head.lineTo(tip + QPointF(0, 5 * dir));
  head.lineTo(tip + QPointF(5, -2 * dir));
  head.closeSubpath();
  p.setBrush(QColor(0, 0, 0));
  p.setPen(Qt::NoPen);
  p.drawPath(head);
  return QIcon(pm);
}

QLabel* HintLabel(QWidget* parent, const char* text) {
  auto* l = new QLabel(QString::fromUtf8(text), parent);
  QFont f = l->font();
  f.setBold(true);
  f.setItalic(true);
  l->setFont(f);
  QPalette pal = l->palette();
  pal.setColor(QPalette::WindowText, QColor(0, 128, 0));
  l->setPalette(pal);
  l->adjustSize();
  l->setAttribute(Qt::WA_TransparentForMouseEvents);
  l->hide();
  return l;
}

}  // namespace

TForm5::TForm5(QWidget* parent) : QWidget(parent) {
  setWindowTitle("New Network");
  setAttribute(Qt::WA_OpaquePaintEvent);
  setMouseTracking(true);
  setFocusPolicy(Qt::StrongFocus);
  ResetCanvasState();

  if (QWidget* frame = parentWidget()) resize(frame->width(), std::max(0, frame->height() - 50));
  HorzScrollBar = new QScrollBar(Qt::Horizontal, this);
  VertScrollBar = new QScrollBar(Qt::Vertical, this);
  HorzScrollBar->setSingleStep(kHorzScrollStep);
  VertScrollBar->setSingleStep(kVertScrollStep);
  for (QScrollBar* bar : {HorzScrollBar, VertScrollBar}) {
    bar->setFocusPolicy(Qt::NoFocus);
    connect(bar, &QScrollBar::valueChanged, this, [this] { Repaint(); });
  }
  LayoutScrollBars();
  VertScrollRange = ClientHeight() + 100;
  HorzScrollRange = ClientWidth() + 100;
  SelRect = {};
  CopyNotMove = 0;

  // Headers of the source panel's grids.
  for (int k = 0; k <= 4; ++k) {
    StringGrid1.setCell(2 * k, 0, "Freq.(MHz)");
    StringGrid1.setCell(2 * k + 1, 0, "   level");
  }
  StringGrid2.setCell(0, 0, "Number of Transponders");
  StringGrid2.setCell(0, 1, "Average level");
  StringGrid2.setCell(0, 2, "Lowest Freq.(MHz)");
  StringGrid2.setCell(0, 3, "Highest Freq.(MHz)");
  for (auto& slot : SatTables)
    for (auto& column : slot) column.fill(0);
  for (auto& slot : TerrTables)
    for (auto& half : slot) half.fill(0);
  for (auto& slot : LnbParams)
    for (auto& band : slot) band.fill(0);
  for (auto& p : TerrParams) p.fill(0);
  Hide(Panel1);
  CanvasColor = kDefaultCanvasColor;

  Label14 = HintLabel(this, "To change arrangement of lines press \"Shift\"");
  Label15 = HintLabel(this, "To make additional angle press \"Space\"");
  Label14->move(10, 5);
  Label15->move(10, 25);
  HelpImage = new QLabel(this);
  HelpImage->setAttribute(Qt::WA_TransparentForMouseEvents);
  HelpImage->hide();
  HelpRow = 0;
  BuildPopupMenu();
  WatchFrame();

  Timer1 = new QTimer(this);
  Timer1->setInterval(50);
  connect(Timer1, &QTimer::timeout, this, [this] { Timer1Timer(); });
  Timer2 = new QTimer(this);
  Timer2->setInterval(300);
  connect(Timer2, &QTimer::timeout, this, [this] { Timer2Timer(); });
  CreatePanels();
  Timer2->start();
}

void TForm5::BuildPopupMenu() {
  PopupMenu1 = new QMenu(this);
  Delete1 = PopupMenu1->addAction("Delete", this, [this] { Delete1Click(); });
  QMenu* rotate = PopupMenu1->addMenu("Rotate");
  Rotate1 = rotate->menuAction();
  N1 = rotate->addAction(RotationIcon(true), QString(), this, [this] { N1Click(); });
  N2 = rotate->addAction(RotationIcon(false), QString(), this, [this] { N2Click(); });
  Copy1 = PopupMenu1->addAction("Copy", this, [this] { Copy1Click(); });
  Move1 = PopupMenu1->addAction("Move", this, [this] { Move1Click(); });
  Copy1->setVisible(false);
  Move1->setVisible(false);
}

void TForm5::Copy1Click() { CopyNotMove = 1; }
void TForm5::Move1Click() { CopyNotMove = 0; }

// ---- client area and scroll bars

int TForm5::ScrollBarExtent() const { return style()->pixelMetric(QStyle::PM_ScrollBarExtent, nullptr, this); }

int TForm5::ClientWidth() const { return std::max(0, width() - (Shown(VertScrollBar) ? ScrollBarExtent() : 0)); }

int TForm5::ClientHeight() const { return std::max(0, height() - (Shown(HorzScrollBar) ? ScrollBarExtent() : 0)); }

void TForm5::SyncScrollBars() {
  if (!HorzScrollBar || !VertScrollBar) return;
  // Ranges change while painting; the position they clamp is read right after, so no repaint
  // is asked for here.
  const QSignalBlocker h(HorzScrollBar), v(VertScrollBar);
  HorzScrollBar->setRange(0, std::max(0, HorzScrollRange - ClientWidth()));
  HorzScrollBar->setPageStep(std::max(1, ClientWidth()));
  VertScrollBar->setRange(0, std::max(0, VertScrollRange - ClientHeight()));
  VertScrollBar->setPageStep(std::max(1, ClientHeight()));
}

void TForm5::ShowScrollBars(bool visible) {
  HorzScrollBar->setVisible(visible);
  VertScrollBar->setVisible(visible);
  SyncScrollBars();
}

void TForm5::LayoutScrollBars() {
  const int e = ScrollBarExtent();
  VertScrollBar->setGeometry(width() - e, 0, e, std::max(0, height() - e));
  HorzScrollBar->setGeometry(0, height() - e, std::max(0, width() - e), e);
  SyncScrollBars();
}

void TForm5::resizeEvent(QResizeEvent*) { LayoutScrollBars(); }

// ---- the caption where the user sees it

void TForm5::changeEvent(QEvent* event) {
  if (event->type() == QEvent::WindowTitleChange) ShowCaptionInFrame();
  if (event->type() == QEvent::ParentChange) WatchFrame();
  QWidget::changeEvent(event);
}

void TForm5::WatchFrame() {
  if (m_frame) m_frame->removeEventFilter(this);
  m_frame = window() == this ? nullptr : window();
  if (m_frame) m_frame->installEventFilter(this);
  ShowCaptionInFrame();
}

bool TForm5::eventFilter(QObject* watched, QEvent* event) {
  if (watched == m_frame) {
    const QEvent::Type t = event->type();
    if (t == QEvent::Show || t == QEvent::WindowTitleChange || t == QEvent::WinIdChange) ShowCaptionInFrame();
  }
  return QWidget::eventFilter(watched, event);
}

void TForm5::ShowCaptionInFrame() {
  // The canvas is embedded and maximised, so its caption shows in the frame's title bar next to
  // the frame's own title, which itself stays as it is.
  if (!m_frame) return;
  if (QWindow* handle = m_frame->windowHandle())
    handle->setTitle(m_frame->windowTitle() + " - [" + windowTitle() + "]");
}

// ---- pointer

void TForm5::childEvent(QChildEvent* event) {
  // The canvas's own controls (panels, editors) keep the pointer events they do not use: a press
  // on a panel's caption is no click on the drawing below it.
  if (event->polished() && event->child()->isWidgetType())
    static_cast<QWidget*>(event->child())->setAttribute(Qt::WA_NoMousePropagation);
  QWidget::childEvent(event);
}

void TForm5::mouseMoveEvent(QMouseEvent* e) {
  const QPoint p = e->position().toPoint();
  FormMouseMove(e->buttons() & Qt::LeftButton, p.x(), p.y());
}

void TForm5::mousePressEvent(QMouseEvent* e) {
  const QPoint p = e->position().toPoint();
  setFocus(Qt::MouseFocusReason);
  if (e->button() == Qt::LeftButton) m_clickPending = true;
  FormMouseDown(e->button(), p.x(), p.y());
}

void TForm5::mouseReleaseEvent(QMouseEvent* e) {
  const QPoint p = e->position().toPoint();
  // A left press and release on the drawing area is a click; the click runs before the release
  // handling, which may end a selection drag.
  if (e->button() == Qt::LeftButton && m_clickPending) {
    m_clickPending = false;
    if (p.x() >= 0 && p.y() >= 0 && p.x() < ClientWidth() && p.y() < ClientHeight()) FormClick(this);
  }
  FormMouseUp(e->button(), p.x(), p.y());
}

void TForm5::mouseDoubleClickEvent(QMouseEvent* e) {
  const QPoint p = e->position().toPoint();
  m_clickPending = false;
  if (e->button() == Qt::LeftButton) FormDblClick(this);
  FormMouseDown(e->button(), p.x(), p.y());
}

void TForm5::wheelEvent(QWheelEvent* e) {
  m_wheelDelta += e->angleDelta().y();
  while (m_wheelDelta <= -kWheelNotch) {
    m_wheelDelta += kWheelNotch;
    FormMouseWheelDown();
  }
  while (m_wheelDelta >= kWheelNotch) {
    m_wheelDelta -= kWheelNotch;
    FormMouseWheelUp();
  }
  e->accept();
}

void TForm5::FormMouseWheelDown() { VertScrollBar->setValue(VertScrollBar->value() + 4 * GridStep); }
void TForm5::FormMouseWheelUp() { VertScrollBar->setValue(VertScrollBar->value() - 4 * GridStep); }

void TForm5::Timer1Timer() {
  if (AutoScrollDY != 0) VertScrollBar->setValue(VertScrollBar->value() + GridStep * AutoScrollDY);
  if (AutoScrollDX != 0) HorzScrollBar->setValue(HorzScrollBar->value() + GridStep * AutoScrollDX);
}

void TForm5::FormMouseMove(bool leftHeld, int X, int Y) {
  AutoScrollDX = 0;
  AutoScrollDY = 0;
  const bool placing = Form1Tag == kMainEditing && PendingKind != 0;
  if (placing || (Tag >= kCanvasSelecting && Tag != kCanvasSelected)) {
    // Near an edge the canvas scrolls by itself; the top edge has no fast step.
    const int H = ClientHeight(), W = ClientWidth();
    if (H - Y < 30) AutoScrollDY = 2;
    if (H - Y < 5) AutoScrollDY = 4;
    if (W - X < 30) AutoScrollDX = 2;
    if (W - X < 5) AutoScrollDX = 4;
    if (H - Y > 29 && Y > 3 && W - X > 29 && X > 30) Timer1->stop();
    if (Y <= 3) AutoScrollDY = -2;
    if (X < 30) AutoScrollDX = -2;
    if (X < 5) AutoScrollDX = -4;
    if ((AutoScrollDX != 0 || AutoScrollDY != 0) && !Timer1->isActive()) Timer1->start();

    if (PendingKind != 0) {
      const int kind = PendingKind;
      const int px = ScrollX + SnapToGrid(X, GridStep) - PickOffset.X;
      const int py = ScrollY + SnapToGrid(Y, GridStep) - PickOffset.Y;
      if (ValidObjRow(CurObject)) {
        ObjRow& row = NetObjects[static_cast<std::size_t>(CurObject)];
        if (kind < 200 || kind == 210 || (IsLineKind(kind) && ExtraAngles == 0)) {
          row[kX] = px;
          row[kY] = py;
          Hide(Label15);
        }
        if (IsLineKind(kind) && ExtraAngles >= 1 && ValidObjRow(CurObject + 1)) {
          ObjRow& c = NetObjects[static_cast<std::size_t>(CurObject) + 1];
          const DraggedBends bends =
              DragBends(kind, row[kOrient], ExtraAngles, LineLegs::Of(c), px - row[kX], py - row[kY]);
          bends.legs.storeIn(c);
          if (bends.spaceHint) {
            Label15->move(Label14->x(), Label14->y() + 20);
            Label15->show();
          } else {
            Label15->hide();
          }
        }
      }
      Repaint();
    }
  }

  if (leftHeld) {
    if (Tag < kCanvasSelected && PendingKind == 0) {
      SelRect.Right = ScrollX + X;
      SelRect.Bottom = ScrollY + Y;
      if (SelectionDragStarts(SelRect)) Tag = kCanvasSelecting;
      SelFrame = {std::min(SelRect.Left, SelRect.Right) - ScrollX, std::min(SelRect.Top, SelRect.Bottom) - ScrollY,
                  std::max(SelRect.Left, SelRect.Right) - ScrollX, std::max(SelRect.Top, SelRect.Bottom) - ScrollY};
      Repaint();
    }
    if (Tag == kCanvasNavigation && BoxGrab.X > 0) {
      BoxPos = {X - BoxGrab.X, Y - BoxGrab.Y};
      Repaint();
    }
  }

  if (Tag == kCanvasMoving) {
    MoveDelta = {SnapToGrid(X - MoveAnchor.X, GridStep) + ScrollX, SnapToGrid(Y - MoveAnchor.Y, GridStep) + ScrollY};
    Repaint();
  }

  int cx = 0, cy = 0;
  platform::Current().cursorPos(cx, cy);
  const QPoint origin = mapToGlobal(QPoint(0, 0));
  MouseX = SnapToGrid(cx - origin.x(), GridStep) + ScrollX;
  MouseY = SnapToGrid(cy - origin.y(), GridStep) + ScrollY;
}

void TForm5::PopupAt(int X, int Y) { PopupMenu1->popup(mapToGlobal(QPoint(X + 40, Y - 80))); }

void TForm5::FormMouseDown(Qt::MouseButton button, int X, int Y) {
  const int cx = ScrollX + X, cy = ScrollY + Y;
  if (button == Qt::RightButton && Form1Tag < kMainInlineEditor && PanelOpen == 0) {
    Rotate1->setVisible(true);
    Copy1->setVisible(false);
    Move1->setVisible(false);
    if (Tag == kCanvasSelected && cx > SelRect.Left && cx < SelRect.Right && cy > SelRect.Top && cy < SelRect.Bottom) {
      // Inside a made selection the menu offers what can be done with all of it.
      Rotate1->setVisible(false);
      Copy1->setVisible(true);
      Move1->setVisible(true);
      PopupAt(X, Y);
    }
    if (Tag < kCanvasSelected) {
      SelObject = PendingKind != 0 ? CurObject : HitTestComponent(cx, cy);
      if (SelObject > -1) {
        Rotate1->setEnabled(true);
        DrawComponent(SelObject, BackBuffer);
        PopupAt(X, Y);
      }
    }
  }
  if (button == Qt::LeftButton && Form1Tag < kMainInlineEditor && PendingKind == 0) {
    // With no selection made a press starts a new rectangle (the one left by a drag too flat to
    // select is not shown and must not hold the start). A made selection stays as it is until
    // the click: pressed inside, Copy or Move can follow; pressed outside, the click ends it.
    if (Tag < kCanvasSelected) {
      SelRect.Left = cx;
      SelRect.Top = cy;
    }
    m_pressOutsideSelection = Tag == kCanvasSelected && !(cx >= SelRect.Left && cx <= SelRect.Right &&
                                                          cy >= SelRect.Top && cy <= SelRect.Bottom);
  }
  if (button == Qt::LeftButton && Tag == kCanvasNavigation && X > BoxPos.X && X < BoxPos.X + BoxSize.X &&
      Y > BoxPos.Y && Y < BoxPos.Y + BoxSize.Y) {
    BoxGrab = {X - BoxPos.X, Y - BoxPos.Y};
    Repaint();
  }
}

void TForm5::FormMouseUp(Qt::MouseButton, int X, int Y) {
  Timer1->stop();
  if (PendingKind == 0 && Tag == kCanvasSelecting) {
    Tag = ReleaseSelection(SelRect, ScrollX + X, ScrollY + Y) ? kCanvasSelected : kCanvasIdle;
    Repaint();
  }
  if (Tag == kCanvasNavigation) BoxGrab = {};
}

// ---- keys

void TForm5::keyPressEvent(QKeyEvent* e) {
  // A key typed into one of the canvas's own controls (a panel field, the comment editor) comes
  // on here when the control has no use for it. Only Enter, which commits those editors, is a
  // canvas command then: a Shift for a capital letter must not switch the navigation view.
  const QWidget* focus = QApplication::focusWidget();
  const bool enter = e->key() == Qt::Key_Return || e->key() == Qt::Key_Enter;
  if (focus && focus != this && isAncestorOf(focus) && !enter) return;
  FormKeyDown(e->key());
}
void TForm5::keyReleaseEvent(QKeyEvent* e) {
  if (!e->isAutoRepeat()) FormKeyUp(e->key());
}

void TForm5::FormKeyDown(int key) {
  const bool enter = key == Qt::Key_Return || key == Qt::Key_Enter;
  if (key == Qt::Key_F1) {
    const int r = HitTestComponent(MouseX, MouseY);
    const int kind = r > -1 ? NetObjects[static_cast<std::size_t>(r)][kKind] : 0;
    const int number = (kind >= 1 && kind <= 199) ? TypeOf(kind)[kHelpPicture] : 0;
    const QImage& picture = HelpImages.at(number);
    if (number > 0 && !picture.isNull()) {
      HelpRow = r;
      const ObjRow& o = NetObjects[static_cast<std::size_t>(r)];
      HelpImage->setPixmap(QPixmap::fromImage(picture));
      HelpImage->resize(picture.size());
      HelpImage->move(o[kX] - 100 - ScrollX, o[kY] - 100 - ScrollY);
      HelpImage->show();
      HelpImage->raise();
    } else {
      HelpImage->hide();
    }
  }
  if (enter && Shown(UpDown1)) {
    UpDown1->hide();
    Hide(Label2);
    EndLevelDisplay();
    UpDown1Exit();
    UpDown1Tag = 0;
    Repaint();
  }
  if (key == Qt::Key_Space) {
    if (IsLineKind(PendingKind) && ExtraAngles < 4) ++ExtraAngles;
    if (ExtraAngles == 3) Label15->hide();
    if (ExtraAngles > 3) {
      // The fourth bend finishes the line as a click at the pointer would.
      FormClick(this);
      ExtraAngles = 0;
    }
  }
  if (key == Qt::Key_Shift) {
    if (!IsTrunkLineKind(PendingKind)) {
      if (Form1 && Form1->ToolButton90) Form1->ToolButton90->trigger();
    } else if (ValidObjRow(CurObject + 1)) {
      int32_t& style = NetObjects[static_cast<std::size_t>(CurObject) + 1][kLineRoute];
      style = NextRouteStyle(style, ExtraAngles);
      Repaint();
    }
  }
  CtrlDown = (key == Qt::Key_Control && Tag == kCanvasMoving) ? 1 : 0;
  if (enter) {
    if (Shown(Panel2)) Button5Click();
    InlineEdit = 0;
    Label14->hide();
    Label15->hide();
  }
}

void TForm5::FormKeyUp(int key) {
  if (key == Qt::Key_Control) CtrlDown = 0;
  if (key == Qt::Key_F1) HelpImage->hide();
}

}  // namespace kavrix

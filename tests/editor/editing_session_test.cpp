// Seeded random editing sessions on the shown canvas, made with the mouse and keys only: placing
// from the palette and the Draw menu, lines with bends between terminals, selections moved, copied
// (Ctrl too) and deleted from the popup or the Edit menu, single objects deleted, turned, picked up
// and put down, Escape and Undo mid-way, the overview, scrolling by bar, wheel and auto-scroll.
// After every operation the table must be whole and undoing its commands must give the drawing
// back exactly (every third one is undone and made again); at the end every operation is undone
// back to the start, and a drawing saved half-way opens again row for row and still runs.
#include <QCheckBox>
#include <QMenu>
#include <QScrollBar>
#include <QWheelEvent>
#include <algorithm>
#include <cstdint>
#include <optional>
#include <random>
#include <sstream>

#include "catalogue/placement_defaults.hpp"
#include "editor/click_fixture.hpp"
#include "editor/model_snapshot.hpp"
#include "model/window/options_window.hpp"
#include "symbols/glyph_store.hpp"
#include "symbols/object_glyphs.hpp"
#include "simulation/window/analyzer_window.hpp"
#include "support/widget_click.hpp"

namespace kavrix {
namespace {

using test::DrawingState;
using test::ExpectSameModel;
using test::ModelSnapshot;

enum class Op { kPlace, kLine, kSelection, kDeleteOne, kRotate, kPickUp, kEscapeWhileArmed, kPopupEscape, kScroll, kUndo, kHeldPopup, kNavigate };
enum class SelectionUse { kMove, kCopy, kCopyCtrl, kDelete, kMoveCtrl, kDeleteWhileMoving, kEditMenuCopy, kEditMenuDelete };

// One user operation, drawn in full before it is made so that it can be made again the same way.
struct Action {
  Op op = Op::kPlace;
  int kind = 0;      // kind placed or line drawn; scroll bar; wheel notches while held
  int via = 0;       // palette (0) or Draw menu (1); wheel or bar; edge a held object is taken to
  int flag = 0;      // variant of the operation (line keys, turn, selection use, what is in hand)
  Point p[4]{};      // canvas points in the order the operation uses them
  Point settle{};    // where whatever is left held is clicked down
  std::string Describe() const {
    std::ostringstream s;
    s << "op " << static_cast<int>(op) << " kind " << kind << " via " << via << " flag " << flag;
    for (const Point& q : p) s << " (" << q.x << "," << q.y << ")";
    return s.str();
  }
};

// The free rows behind the table grow with every commit and stay when it is undone; a source slot
// no longer in use may keep its old plan, which the next source to take it overwrites.
ModelSnapshot Trimmed(ModelSnapshot s) {
  while (!s.rows.empty() && s.rows.back() == ObjRow{}) s.rows.pop_back();
  for (int k = 0; k < kSatSlots; ++k)
    if (!s.satUsed[k]) {
      s.sat[k] = {};
      s.lnb[k] = {};
    }
  for (int k = 0; k < kTerrSlots; ++k)
    if (!s.terrUsed[k]) {
      s.terr[k] = {};
      s.terrParams[k] = {};
    }
  return s;
}
void ExpectSame(const ModelSnapshot& now, const ModelSnapshot& was) { ExpectSameModel(Trimmed(now), Trimmed(was)); }

class EditingSession : public test::ClickTest {
 protected:
  std::mt19937 rng;
  bool canUndo = false;  // an operation of this session is there to undo
  int Rand(int n) { return static_cast<int>(rng() % static_cast<uint32_t>(n)); }

  // The canvas area the user sees, in canvas coordinates, kept clear of the window's edges.
  // Outside the margins where a held object scrolls the canvas by itself: that scroll runs on a
  // timer, so the pick-up operation drives it tick by tick instead.
  int Left() const { return ScrollX + 40; }
  int Top() const { return ScrollY + 10; }
  int Right() const { return ScrollX + std::min(Form5->ClientWidth(), 1100) - 40; }
  int Bottom() const { return ScrollY + std::min(Form5->ClientHeight(), 800) - 40; }
  Point RandomPoint() {
    const int x = Left() + Rand((Right() - Left()) / 10) * 10;
    const int y = Top() + Rand((Bottom() - Top()) / 10) * 10;
    return {x - x % 5, y - y % 5};
  }
  bool Visible(Point q) const { return q.x >= Left() && q.x <= Right() && q.y >= Top() && q.y <= Bottom(); }

  static std::vector<int> ObjectRows() {
    std::vector<int> rows;
    for (int r = 0; r < ObjectCount; ++r)
      if (NetObjects[static_cast<std::size_t>(r)][kKind] > 0) rows.push_back(r);
    return rows;
  }
  // A visible point the hit test gives `row` for, if any.
  std::optional<Point> HitPoint(int row) const {
    const ObjRow& o = NetObjects[static_cast<std::size_t>(row)];
    for (int d = 0; d <= 40; d += 5)
      for (int dx = -d; dx <= d; dx += 5)
        for (int dy : {-d, d}) {
          const Point q{o[kX] + dx, o[kY] + dy};
          if (Visible(q) && HitTestComponent(q.x, q.y) == row) return q;
        }
    return std::nullopt;
  }
  std::optional<Point> RandomObjectPoint() {
    std::vector<int> rows = ObjectRows();
    for (int tries = 0; tries < 6 && !rows.empty(); ++tries) {
      const int row = rows[static_cast<std::size_t>(Rand(static_cast<int>(rows.size())))];
      if (auto q = HitPoint(row)) return q;
    }
    return std::nullopt;
  }
  // A terminal of a device on show, or a free point.
  Point TerminalOrPoint(bool output) {
    std::vector<int> rows;
    for (int r : ObjectRows()) {
      const int kind = NetObjects[static_cast<std::size_t>(r)][kKind];
      if (kind < 200 && TypeOf(kind)[kPaths] > 0) rows.push_back(r);
    }
    if (!rows.empty() && Rand(5) < 3) {
      const int row = rows[static_cast<std::size_t>(Rand(static_cast<int>(rows.size())))];
      const Point q = Pin(row, Rand(TypeOf(NetObjects[static_cast<std::size_t>(row)][kKind])[kPaths]), output);
      if (Visible(q)) return q;
    }
    return RandomPoint();
  }

  static QAction* DrawMenuAction(QMenu* menu, int kind) {
    for (QAction* a : menu->actions()) {
      if (a->menu()) {
        if (QAction* found = DrawMenuAction(a->menu(), kind)) return found;
      } else if (a->data().toInt() == kind) {
        return a;
      }
    }
    return nullptr;
  }
  // Arms `kind` from its palette button (the categories opened as needed) or its Draw menu entry.
  void Arm(int kind, int via) {
    if (via == 1) {
      if (QAction* a = DrawMenuAction(Form1->Draw1, kind)) {
        a->trigger();
        return;
      }
    }
    switch (kind) {
      case 91: Palette({8}); break;
      case 92: Palette({25}); break;
      case 93: Palette({160}); break;
      case 98: Palette({132}); break;
      case 201: Palette({28}); break;
      case 202: Palette({9}); break;
      case 203: Palette({22}); break;
      case 205: Palette({189}); break;
      case 210: Palette({15}); break;
      case 152: Palette({71, 26, 66}); break;
      case 101: Palette({71, 99, 107}); break;
      case 107: Palette({105, 173}); break;
      case 80: Palette({105, 166}); break;
      default: Form1->PlacementClick(kind); break;
    }
  }

  // One notch of the mouse wheel over the canvas, towards the user when `notches` is negative.
  void Wheel(int notches) {
    const QPoint at(100, 100);
    QWheelEvent e(at, Form5->mapToGlobal(at), QPoint(), QPoint(0, 120 * notches), Qt::NoButton, Qt::NoModifier,
                  Qt::NoScrollPhase, false);
    QApplication::sendEvent(Form5, &e);
    Form5->Repaint();
  }

  void RightClick(Point q) {
    MoveTo(q.x, q.y);
    Press(q.x, q.y, Qt::RightButton);
    Release(q.x, q.y, Qt::RightButton);
  }
  // A left click on the item where the menu shows it.
  static void ClickItem(QMenu* menu, QAction* item) {
    // Menus run the event loop; an auto-scroll left running would move the view by however
    // many ticks fit in, and the session would not repeat.
    Form5->Timer1->stop();
    test::ClickMenuItem(menu, item);
  }

  // "Rotate" on the shown popup, then the turn on its submenu once that opens.
  static void Turn(QAction* turn) {
    ClickItem(Form5->PopupMenu1, Form5->Rotate1);
    QMenu* sub = Form5->Rotate1->menu();
    ASSERT_TRUE(QTest::qWaitFor([sub] { return sub->isVisible(); }, 10000));
    ClickItem(sub, turn);
  }

  // Whatever an operation left half done is finished as a user would: a held or armed object is
  // clicked down, a selection is left by a click outside it.
  void Settle(Point at) {
    Form5->Timer1->stop();
    if (Form5->PopupMenu1->isVisible()) QTest::keyClick(Form5->PopupMenu1, Qt::Key_Escape);
    for (int i = 0; i < 4 && (PendingKind != 0 || Form5->Tag == kCanvasMoving); ++i) {
      // Kept on show: the operation may have scrolled the view since the point was chosen.
      const Point q{std::clamp(at.x + 40 * i, Left(), Right()), std::clamp(at.y + 30 * i, Top(), Bottom())};
      MoveTo(q.x, q.y);
      ClickAt(q.x, q.y);
    }
    if (Form5->Tag == kCanvasSelected) ClickAt(Right() + 15, Bottom() + 15);
  }

  void Make(const Action& a) {
    ui().answers.clear();
    switch (a.op) {
      case Op::kPlace:
        Arm(a.kind, a.via);
        MoveTo(a.p[0].x, a.p[0].y);
        ClickAt(a.p[0].x, a.p[0].y);
        break;
      case Op::kLine:
        // Flags: 1 a bend with Space; 2 Shift twice before the start (the trunk's arrangement
        // swapped and back, or the overview shown and left); 4 finished with Space at the pointer.
        Arm(a.kind, a.via);
        MoveTo(a.p[0].x, a.p[0].y);
        if (a.flag & 2) {
          Key(Qt::Key_Shift);
          Key(Qt::Key_Shift);
        }
        ClickAt(a.p[0].x, a.p[0].y);
        if (a.flag & 1) {
          MoveTo(a.p[1].x, a.p[1].y);
          Key(Qt::Key_Space);
        }
        MoveTo(a.p[2].x, a.p[2].y);
        if (a.flag & 4) {
          for (int k = 0; k < 3 && PendingKind != 0; ++k) Key(Qt::Key_Space);
        } else {
          ClickAt(a.p[2].x, a.p[2].y);
        }
        break;
      case Op::kSelection: {
        DragTo(a.p[0].x, a.p[0].y, a.p[1].x, a.p[1].y);
        if (Form5->Tag != kCanvasSelected) break;
        const auto use = static_cast<SelectionUse>(a.flag);
        // The Edit menu's commands, enabled as the menu opens.
        if (use == SelectionUse::kEditMenuDelete || use == SelectionUse::kEditMenuCopy) Form1->Edit1Click();
        if (use == SelectionUse::kEditMenuDelete) {
          Form1->Delete1->trigger();
          break;
        }
        if (use == SelectionUse::kEditMenuCopy) {
          Form1->Copy1->trigger();
          ClickAt(a.p[2].x, a.p[2].y);
          MoveTo(a.p[3].x, a.p[3].y);
          ClickAt(a.p[3].x, a.p[3].y);
          break;
        }
        RightClick(a.p[2]);
        if (!Form5->PopupMenu1->isVisible()) break;
        if (use == SelectionUse::kDelete) {
          ClickItem(Form5->PopupMenu1, Form5->Delete1);
          break;
        }
        const bool ctrl = use == SelectionUse::kCopyCtrl || use == SelectionUse::kMoveCtrl;
        const bool copy = use == SelectionUse::kCopy || use == SelectionUse::kCopyCtrl;
        ClickItem(Form5->PopupMenu1, copy ? Form5->Copy1 : Form5->Move1);
        ClickAt(a.p[2].x, a.p[2].y);
        if (Form5->Tag != kCanvasMoving) break;
        MoveTo(a.p[3].x, a.p[3].y);
        if (use == SelectionUse::kDeleteWhileMoving) {
          RightClick(a.p[3]);
          if (Form5->PopupMenu1->isVisible() && Form5->Delete1->isVisible()) ClickItem(Form5->PopupMenu1, Form5->Delete1);
          break;
        }
        if (ctrl) QTest::keyPress(Form5, Qt::Key_Control);
        ClickAt(a.p[3].x, a.p[3].y);
        if (ctrl) {
          // A second copy further on, then Ctrl let go and the mode left by one more click.
          MoveTo(a.p[3].x + 100, a.p[3].y);
          ClickAt(a.p[3].x + 100, a.p[3].y);
          QTest::keyRelease(Form5, Qt::Key_Control);
        }
        break;
      }
      case Op::kDeleteOne:
        RightClick(a.p[0]);
        if (Form5->PopupMenu1->isVisible() && Form5->Delete1->isVisible()) ClickItem(Form5->PopupMenu1, Form5->Delete1);
        break;
      case Op::kRotate:
        RightClick(a.p[0]);
        if (Form5->PopupMenu1->isVisible() && Form5->Rotate1->isVisible()) {
          Turn(a.flag ? Form5->N2 : Form5->N1);
        }
        break;
      case Op::kPickUp:
        ClickAt(a.p[0].x, a.p[0].y);
        if (a.kind) Wheel(a.kind);
        if (a.via) {
          // Held against the right or bottom edge for a few ticks of the auto-scroll.
          const bool right = a.via == 1;
          MoveTo(right ? ScrollX + Form5->ClientWidth() - 3 : a.p[1].x, right ? a.p[1].y : ScrollY + Form5->ClientHeight() - 3);
          Form5->Timer1->stop();
          for (int k = 0; k < 3; ++k) Form5->Timer1Timer();
        }
        MoveTo(a.p[1].x, a.p[1].y);
        if (a.flag) Key(Qt::Key_Escape);
        ClickAt(a.p[1].x, a.p[1].y);
        break;
      case Op::kEscapeWhileArmed:
        Arm(a.kind, a.via);
        MoveTo(a.p[0].x, a.p[0].y);
        Key(Qt::Key_Escape);
        MoveTo(a.p[1].x, a.p[1].y);
        ClickAt(a.p[1].x, a.p[1].y);
        break;
      case Op::kPopupEscape:
        RightClick(a.p[0]);
        if (Form5->PopupMenu1->isVisible()) QTest::keyClick(Form5->PopupMenu1, Qt::Key_Escape);
        break;
      case Op::kUndo:
        // Undo given plainly, or while an object is armed, held or a line half drawn: the one
        // in hand goes, and the last command is undone.
        if (a.flag == 1 || a.flag == 3) {
          Arm(a.kind, a.via);
          MoveTo(a.p[0].x, a.p[0].y);
          if (a.flag == 3) ClickAt(a.p[0].x, a.p[0].y);
        } else if (a.flag == 2) {
          ClickAt(a.p[0].x, a.p[0].y);
        }
        MoveTo(a.p[1].x, a.p[1].y);
        Undo();
        break;
      case Op::kHeldPopup:
        // The popup opened on an object picked up or armed that follows the pointer.
        if (a.flag < 2) {
          ClickAt(a.p[0].x, a.p[0].y);
        } else {
          Arm(a.kind, a.via);
          MoveTo(a.p[0].x, a.p[0].y);
        }
        MoveTo(a.p[1].x, a.p[1].y);
        RightClick(a.p[1]);
        if (!Form5->PopupMenu1->isVisible()) break;
        if (a.flag % 2 == 0) {
          if (Form5->Delete1->isVisible()) ClickItem(Form5->PopupMenu1, Form5->Delete1);
        } else if (Form5->Rotate1->isVisible()) {
          Turn(Form5->N2);
        }
        break;
      case Op::kNavigate: {
        // Shift shows the whole drawing with nothing, a held, an armed object or a selection in
        // hand; the view box is dragged, Shift again goes back.
        if (a.flag == 1) ClickAt(a.p[0].x, a.p[0].y);
        if (a.flag == 2) Arm(a.kind, a.via);
        if (a.flag == 3) DragTo(a.p[0].x, a.p[0].y, a.p[1].x, a.p[1].y);
        Key(Qt::Key_Shift);
        if (!IsNavigation(Form5->Tag)) break;
        const Point box{ScrollX + BoxPos.X + 3, ScrollY + BoxPos.Y + 3};
        DragTo(box.x, box.y, box.x + a.p[2].x % 60, box.y + a.p[2].y % 40);
        ClickAt(box.x, box.y);
        Key(Qt::Key_Shift);
        EXPECT_FALSE(IsNavigation(Form5->Tag));
        MoveTo(a.p[1].x, a.p[1].y);
        break;
      }
      case Op::kScroll: {
        if (a.via) {
          Wheel(a.flag ? -1 : 1);
          break;
        }
        QScrollBar* bar = a.kind ? Form5->VertScrollBar : Form5->HorzScrollBar;
        bar->triggerAction(a.flag ? QAbstractSlider::SliderPageStepAdd : QAbstractSlider::SliderPageStepSub);
        Form5->Repaint();
        break;
      }
    }
    Settle(a.settle);
  }

  Action Draw() {
    static constexpr int kDevices[] = {91, 92, 93, 98, 210, 210, 152, 101, 107, 80, 100};
    static constexpr int kLines[] = {201, 202, 203, 205};
    Action a;
    const int roll = Rand(100);
    a.op = roll < 22 ? Op::kPlace
           : roll < 40 ? Op::kLine
           : roll < 58 ? Op::kSelection
           : roll < 66 ? Op::kDeleteOne
           : roll < 74 ? Op::kRotate
           : roll < 86 ? Op::kPickUp
           : roll < 88 ? Op::kEscapeWhileArmed
           : roll < 91 ? Op::kHeldPopup
           : roll < 94 ? Op::kPopupEscape
           : roll < 95 ? Op::kScroll
           : roll < 97 || !canUndo ? Op::kNavigate
                                   : Op::kUndo;
    a.via = Rand(3) == 0 ? 1 : 0;
    a.settle = RandomPoint();
    switch (a.op) {
      case Op::kPlace:
      case Op::kEscapeWhileArmed:
        a.kind = kDevices[Rand(std::size(kDevices))];
        if (Rand(4) == 0) {
          if (auto q = RandomObjectPoint()) a.p[0] = *q;  // on top of what is there
          else a.p[0] = RandomPoint();
        } else {
          a.p[0] = RandomPoint();
        }
        a.p[1] = Rand(2) ? a.p[0] : RandomPoint();
        break;
      case Op::kLine:
        a.kind = kLines[Rand(std::size(kLines))];
        a.p[0] = TerminalOrPoint(true);
        a.p[2] = TerminalOrPoint(false);
        a.p[1] = {a.p[0].x, a.p[2].y};
        a.flag = Rand(8);
        break;
      case Op::kSelection: {
        const Point c = RandomPoint();
        const int w = 100 + Rand(30) * 10, h = Rand(6) == 0 ? 5 : 80 + Rand(25) * 10;  // some too flat to select
        a.p[0] = {std::max(Left(), c.x - w / 2), std::max(Top(), c.y - h / 2)};
        a.p[1] = {c.x + w / 2, c.y + h / 2};
        a.p[2] = {c.x + 5, c.y + 5};
        const int edge = Rand(6);
        a.p[3] = edge == 0 ? Point{Right() - 20, Bottom() - 20} : edge == 1 ? Point{Left(), Top()} : RandomPoint();
        a.flag = Rand(8);
        break;
      }
      case Op::kDeleteOne:
      case Op::kRotate:
      case Op::kPopupEscape:
        a.p[0] = RandomObjectPoint().value_or(RandomPoint());
        a.flag = Rand(2);
        break;
      case Op::kPickUp:
        a.p[0] = RandomObjectPoint().value_or(RandomPoint());
        a.p[1] = Rand(5) == 0 ? a.p[0] : RandomPoint();
        a.flag = Rand(4) == 0;
        a.kind = Rand(4) == 0 ? (Rand(2) ? 1 : -1) : 0;  // the wheel turned while it is held
        a.via = Rand(5) == 0 ? 1 + Rand(2) : 0;
        break;
      case Op::kHeldPopup:
        a.flag = Rand(4);
        a.kind = kDevices[Rand(std::size(kDevices))];
        a.p[0] = a.flag < 2 ? RandomObjectPoint().value_or(RandomPoint()) : RandomPoint();
        a.p[1] = RandomPoint();
        break;
      case Op::kUndo:
        a.flag = Rand(4);
        a.kind = a.flag == 3 ? kLines[Rand(std::size(kLines))] : kDevices[Rand(std::size(kDevices))];
        a.p[0] = a.flag == 2 ? RandomObjectPoint().value_or(RandomPoint()) : TerminalOrPoint(true);
        a.p[1] = RandomPoint();
        break;
      case Op::kNavigate:
        a.flag = Rand(4);
        a.kind = kDevices[Rand(std::size(kDevices))];
        a.p[0] = a.flag == 1 ? RandomObjectPoint().value_or(RandomPoint()) : RandomPoint();
        a.p[1] = {a.p[0].x + 150, a.p[0].y + 120};
        a.p[2] = RandomPoint();
        break;
      case Op::kScroll:
        a.kind = Rand(2);
        a.flag = Rand(2);
        break;
    }
    return a;
  }

  // Undo steps recorded since ring position `from`: distinct serials of the entries written.
  static int StepsSince(int from) {
    int steps = 0, last = INT32_MIN;
    for (int i = from; i != UndoPos; i = (i + 1) % kUndoEntries) {
      const int serial = UndoRing[static_cast<std::size_t>(i)][kUndoSerial];
      if (serial != last) ++steps;
      last = serial;
    }
    return steps;
  }
  static int EntriesSince(int from) { return (UndoPos - from + kUndoEntries) % kUndoEntries; }

  // What must hold between operations, whatever was done.
  static void ExpectWholeTable() {
    EXPECT_EQ(PendingKind, 0);
    EXPECT_EQ(PanelOpen, 0);
    EXPECT_EQ(Form5->Tag, kCanvasIdle);
    ASSERT_EQ(CurObject, ObjectCount);
    ASSERT_GE(ObjectCount, 0);
    ASSERT_GE(NetObjects.size(), static_cast<std::size_t>(ObjectCount) + 20) << "free rows behind the table";
    EXPECT_EQ(ObjGlyphs.size(), NetObjects.size());
    for (std::size_t r = static_cast<std::size_t>(ObjectCount); r < NetObjects.size(); ++r)
      ASSERT_EQ(NetObjects[r], ObjRow{}) << "row " << r << " behind the table";
    std::array<int, kSatSlots> lnbs{};
    std::array<int, kTerrSlots> antennas{};
    for (int r = 0; r < ObjectCount;) {
      const ObjRow& o = NetObjects[static_cast<std::size_t>(r)];
      ASSERT_GT(o[kKind], 0) << "row " << r << " starts no object";
      ASSERT_TRUE(o[kKind] > 200 || KindExists(o[kKind])) << "row " << r << " kind " << o[kKind];
      int n = 0;
      while (r + 1 + n < ObjectCount && NetObjects[static_cast<std::size_t>(r + 1 + n)][kKind] < 0) ++n;
      EXPECT_EQ(n, DefaultContinuationRows(o[kKind])) << "row " << r << " kind " << o[kKind];
      if (o[kKind] == 91) {
        ASSERT_TRUE(o[kInst] >= 0 && o[kInst] < kSatSlots) << "row " << r;
        ++lnbs[static_cast<std::size_t>(o[kInst])];
      }
      if (o[kKind] >= 92 && o[kKind] <= 95) {
        ASSERT_TRUE(o[kInst] >= 0 && o[kInst] < kTerrSlots) << "row " << r;
        ++antennas[static_cast<std::size_t>(o[kInst])];
      }
      r += 1 + n;
    }
    // Each symbol shows its own row as it stands: built afresh it comes out the same.
    for (int r = 0; r < ObjectCount; ++r) {
      const int kind = NetObjects[static_cast<std::size_t>(r)][kKind];
      if (!((kind >= 1 && kind <= 199) || kind == 210)) continue;
      const QImage shown = ObjGlyphAt(r).image();
      RebuildObjectGlyph(r);
      EXPECT_TRUE(ObjGlyphAt(r).image() == shown) << "symbol of row " << r << " kind " << kind;
    }
    for (int s = 0; s < kSatSlots; ++s) EXPECT_EQ(lnbs[s], SatUsed[s] ? 1 : 0) << "LNB slot " << s;
    for (int s = 0; s < kTerrSlots; ++s) EXPECT_EQ(antennas[s], TerrUsed[s] ? 1 : 0) << "antenna slot " << s;
    EXPECT_TRUE(UndoPos >= 0 && UndoPos <= kUndoLast);
  }

  // The small drawing every session starts from: an LNB, a multiswitch, two sockets and a trunk.
  void DrawStart() {
    Arm(91, 0);
    ClickAt(300, 100);
    Arm(152, 0);
    ClickAt(310, 300);
    Arm(210, 0);
    ClickAt(395, 280);
    Arm(210, 0);
    ClickAt(395, 320);
    Arm(201, 0);
    ClickAt(313, 143);
    MoveTo(308, 236);
    ClickAt(308, 236);
    ASSERT_EQ(CurObject, 6);
  }

  void Session(uint32_t seed, int operations) {
    rng.seed(seed);
    DrawStart();
    ExpectWholeTable();
    const std::string saved = (app.dir.path() / "half.stn").string();
    struct Done {
      ModelSnapshot before;
      int steps = 0;
      int entries = 0;
    };
    std::vector<Done> done;
    std::optional<DrawingState> atSave;
    for (int i = 0; i < operations; ++i) {
      if (i == operations / 2) {
        ui().files.push_back(platform::FileDialogResult{saved, 1});
        Form1->SaveAs1->trigger();
        EXPECT_FALSE(ProjectModified);
        atSave = DrawingState::Take();
      }
      canUndo = !done.empty() && done.back().steps == 1;
      const Action a = Draw();
      SCOPED_TRACE("seed " + std::to_string(seed) + ", operation " + std::to_string(i) + ": " + a.Describe());
      Done d;  // the model before the operation
      const int from = UndoPos;
      const int textCount = ItemTextCount, socketOrient = LastSocketOrient, scrollX = ScrollX, scrollY = ScrollY;
      ProjectModified = false;
      Make(a);
      ExpectWholeTable();
      if (HasFatalFailure()) return;
      if (a.op == Op::kUndo) {
        ExpectSame(ModelSnapshot(), done.back().before);
        done.pop_back();
        if (HasFailure()) return;
        continue;
      }
      d.steps = StepsSince(from);
      d.entries = EntriesSince(from);
      const ModelSnapshot after;
      if (Trimmed(after).rows != Trimmed(d.before).rows) {
        EXPECT_TRUE(ProjectModified) << "the drawing changed";
        EXPECT_GT(d.steps, 0) << "a change with nothing to undo";
      }
      // Every third command is undone, compared and made again the same way.
      if (d.steps > 0 && i % 3 == 0) {
        for (int k = 0; k < d.steps; ++k) Undo();
        ExpectSame(ModelSnapshot(), d.before);
        // What the session remembers beyond the drawing, and undo leaves, is set back as well:
        // the next comment's text index, the turn the next socket takes, and the view.
        ItemTextCount = textCount;
        LastSocketOrient = socketOrient;
        Form5->HorzScrollBar->setValue(scrollX);
        Form5->VertScrollBar->setValue(scrollY);
        Make(a);
        ExpectSame(ModelSnapshot(), after);
        d.steps = StepsSince(from);
        d.entries = EntriesSince(from);
        if (HasFailure()) return;
      }
      if (d.steps > 0) done.push_back(std::move(d));
      if (HasFailure()) return;
    }

    // Back through every operation the ring still holds.
    int entries = 0;
    for (auto it = done.rbegin(); it != done.rend(); ++it) {
      entries += it->entries;
      if (entries > kUndoCapacityLimit) break;
      for (int k = 0; k < it->steps; ++k) Undo();
      SCOPED_TRACE("undoing back to operation " + std::to_string(done.rend() - it - 1));
      ExpectSame(ModelSnapshot(), it->before);
      if (HasFailure()) return;
    }

    // What is left still runs (a run keeps scratch marks in the drawing, so it comes after the
    // undo checks), and so does the drawing opened again.
    Form4->move(2000, 2000);
    ClickWidget(CommandButton(Form1->ToolButton5));
    ASSERT_TRUE(atSave);
    ui().answers.push_back(platform::Answer::No);
    ui().files.push_back(platform::FileDialogResult{saved, 1});
    ClickWidget(CommandButton(Form1->Open1));
    const DrawingState opened = DrawingState::Take();
    Undo();
    EXPECT_EQ(DrawingState::Take(), opened) << "an opened drawing has nothing to undo";
    ClickWidget(CommandButton(Form1->ToolButton5));
    EXPECT_EQ(opened.rows, atSave->rows);
    EXPECT_EQ(opened.satUsed, atSave->satUsed);
    EXPECT_EQ(opened.terrUsed, atSave->terrUsed);
  }
};

TEST_F(EditingSession, RandomSessionsKeepTheDrawingWholeAndUndoable) {
  for (uint32_t seed : {1u, 2u, 3u, 4u}) {
    // Designators name rows, which placing, deleting and undoing move: two sessions show them.
    Form3->CheckBox2->setChecked(seed > 2);
    Session(seed, 60);
    if (HasFailure()) return;
    ui().answers.push_back(platform::Answer::No);
    ASSERT_TRUE(Form1->Close1Click());
  }
}

}  // namespace
}  // namespace kavrix

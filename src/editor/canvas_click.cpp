// The canvas click: the single point where an edit of the drawing becomes final. It places the
// armed object, puts down or picks up an object, starts and finishes cable lines, commits a move
// or copy of the selection, commits the in-place editors, and after a run hands the click to the
// level display. The pointer is read through the platform, so a click fired by other code (the
// Space key, the Analyzer's refill) acts at the current pointer position.
#include "editor/canvas_click.hpp"

#include <QComboBox>
#include <QFrame>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPoint>
#include <algorithm>
#include <cstdlib>
#include <utility>

#include "app/forms.hpp"
#include "catalogue/geometry.hpp"
#include "editor/canvas_paint.hpp"
#include "editor/canvas_rules.hpp"
#include "editor/canvas_window.hpp"
#include "editor/level_display.hpp"
#include "editor/line_drawing.hpp"
#include "editor/line_snapping.hpp"
#include "model/network_model.hpp"
#include "model/object_rows.hpp"
#include "model/run_records.hpp"
#include "model/source_tables.hpp"
#include "model/undo_ring.hpp"
#include "platform/platform.hpp"
#include "simulation/window/analyzer_window.hpp"
#include "symbols/object_glyphs.hpp"

namespace kavrix {
namespace {

constexpr int kLnbKind = 91;
constexpr int kSocketKind = 210;
constexpr int kCommentKind = 100;
constexpr int kModulatorZirn = 97;

bool IsLineKind(int kind) { return kind >= 201 && kind <= 209; }
bool IsTerrSource(int kind) { return kind >= 92 && kind <= 95; }
// Devices, comments and sockets carry a symbol; lines are drawn from their rows.
bool HasSymbol(int kind) { return (kind >= 1 && kind <= 199) || kind == kSocketKind; }
bool Shown(const QWidget* w) { return w && !w->isHidden(); }
void Hide(QWidget* w) {
  if (w) w->hide();
}

ObjRow& Row(int r) { return NetObjects[static_cast<std::size_t>(r)]; }

// Rows added at the end of the table, and ObjGlyphs and ObjValues with them.
void GrowTable(int rows) {
  NetObjects.resize(NetObjects.size() + static_cast<std::size_t>(rows), ObjRow{});
  SyncRowCompanions();
}

// The line hints belong to a line being drawn or re-routed.
void HideLineHints(TForm5& f) {
  Hide(f.Label14);
  Hide(f.Label15);
}

// Whether the picked-up object is no longer as it was when it was picked up.
bool GeometryChanged(int row) {
  const ObjRow& r = Row(row);
  if (r[kX] != LineEditSave.X || r[kY] != LineEditSave.Y) return true;
  if (!IsLineKind(r[kKind]) || !ValidObjRow(row + 1)) return false;
  // A line re-routed from the same start still changed when its bends or direction did.
  if (r[kOrient] != LineEditSave.Orient) return true;
  for (int f = kLegV1; f <= kLineRoute; ++f)
    if (Row(row + 1)[f] != LineEditSave.Bend[static_cast<std::size_t>(f - kLegV1)]) return true;
  return false;
}

// Copies source slot `from` of a copied LNB or antenna into a free slot; -1 when none is free.
int CopySourceSlot(int kind, int from) {
  if (kind == kLnbKind) {
    for (int s = 0; s < kSatSlots; ++s) {
      if (SatUsed[s]) continue;
      SatUsed[s] = true;
      if (ValidSatSlot(from)) {
        LnbParams[s] = LnbParams[from];
        SatTables[s] = SatTables[from];
      }
      return s;
    }
    return -1;
  }
  for (int s = 0; s < kTerrSlots; ++s) {
    if (TerrUsed[s]) continue;
    TerrUsed[s] = true;
    if (ValidTerrSlot(from)) {
      TerrParams[s] = TerrParams[from];
      for (int half = 0; half < 2; ++half)
        std::copy_n(TerrTables[from][half].begin(), 100, TerrTables[s][half].begin());
    }
    return s;
  }
  return -1;
}

// A socket's outlet points lie on its symbol; after a run a click on one shows the socket's levels
// rather than picking the socket up. Reach as the level display matches them.
bool OnSocketOutlet(int x, int y) {
  auto near = [x, y](int px, int py) { return std::abs(px - x) < 6 && std::abs(py - y) < 6; };
  for (std::size_t r = 0; r + 1 < Links.size() && Links[r][kLinkSatX] != 0; ++r) {
    const LinkRow& l = Links[r];
    if (near(l[kLinkSatX], l[kLinkSatY]) || near(l[kLinkTerrX], l[kLinkTerrY])) return true;
  }
  return false;
}

bool StrictlyInside(const SelectionRect& r, int x, int y) {
  return x > r.Left && x < r.Right && y > r.Top && y < r.Bottom;
}

void ShowText(const std::string& text) {
  if (!text.empty()) platform::ShowMessage(text);
}

// The in-place editors opened by a double click: the click commits whichever is open.
void CommitInlineEditors(TForm5& f, bool editorsOpen) {
  // The cable and comment editors commit as their Enter key does.
  if (Shown(f.Edit1)) f.CommitCableEditor();
  if (Shown(f.UpDown1)) {
    f.UpDown1->hide();
    Hide(f.Label2);
    EndLevelDisplay();
    f.UpDown1Exit();
    f.UpDown1Tag = 0;
    f.Repaint();
    InlineEdit = 0;
  }
  if (Shown(f.ComboBox1)) {
    f.ComboBox1->hide();
    f.ComboBox1Exit();
    EndLevelDisplay();
    f.Repaint();
    InlineEdit = 0;
  }
  if (Shown(f.Memo1)) f.CommitCommentEditor();
  // A panel the double click opened beside the in-place editor (the converter's stepper comes
  // with its channel panel) is still open: no other object's editor may open over it.
  if (editorsOpen)
    for (const QWidget* panel : {f.Panel1, f.Panel2, static_cast<QWidget*>(f.Panel8), static_cast<QWidget*>(f.Panel9),
                                 static_cast<QWidget*>(f.Panel10), static_cast<QWidget*>(f.Panel11),
                                 static_cast<QWidget*>(f.Panel12)})
      if (Shown(panel)) InlineEdit = 1;
  // Level marks blink only while a run's levels are on show.
  if (Form1Tag != kMainLevelsShown && f.Timer2) f.Timer2->stop();
  if (Form4) Form4->Chart2->Tag = 0;
}

}  // namespace

SelectionClick ClickOnSelection(const SelectionRect& sel, int x, int y, bool pressedOutside) {
  if (pressedOutside) return SelectionClick::kEnd;
  if (StrictlyInside(sel, x, y)) return SelectionClick::kStartMove;
  if (x < sel.Left || x > sel.Right || y < sel.Top || y > sel.Bottom) return SelectionClick::kEnd;
  return SelectionClick::kKeep;
}

ClickCommit CommitArmedObject(int x, int y) {
  ClickCommit out;
  if (!ValidObjRow(CurObject)) return out;
  const int kind = Row(CurObject)[kKind];
  const int n = 1 + ContinuationRows(CurObject);
  // The free rows behind the table stay as many as before the commit.
  GrowTable(n);
  GrowForObject(kind);
  if (IsLineKind(kind)) {
    const LineEnd end = FinishLineAt(x, y);
    out.message = end.message;
    if (end.rejected) {
      out.rejected = true;
      return out;
    }
  }
  EditStep step;
  PushUndo(kUndoAdded, CurObject);
  Row(CurObject + n) = ObjRow{};
  CurObject += n;
  ObjectCount = CurObject;
  return out;
}

ClickCommit PutDownPickedUp(int x, int y) {
  ClickCommit out;
  if (!ValidObjRow(CurObject)) return out;
  const int kind = Row(CurObject)[kKind];
  {
    EditStep step;
    if (GeometryChanged(CurObject)) PushUndo(kUndoLineDrag, CurObject);
  }
  const bool line = IsLineKind(kind);
  if (line && ExtraAngles == 0) return out;  // the click set the re-routed line's new start
  if (line) {
    const LineEnd end = FinishLineAt(x, y);
    out.message = end.message;
    out.rejected = end.rejected;
  }
  if (!out.rejected) {
    PanelOpen = 0;
    CurObject = ObjectCount;
    PickOffset = {};
    LinePicked = false;
  }
  return out;
}

void PickUpObject(int row, int x, int y) {
  if (!ValidObjRow(row)) return;
  const ObjRow& r = Row(row);
  if (IsLineKind(r[kKind])) {
    // Saved whatever the main window's state, so that undoing the re-route restores the bends.
    for (int f = kLegV1; f <= kLineRoute; ++f)
      LineEditSave.Bend[static_cast<std::size_t>(f - kLegV1)] = ValidObjRow(row + 1) ? Row(row + 1)[f] : 0;
    LinePicked = true;
  }
  LineEditSave.X = r[kX];
  LineEditSave.Y = r[kY];
  LineEditSave.Orient = r[kOrient];
  PickOffset = {x - r[kX], y - r[kY]};
  CurObject = row;
  PanelOpen = 1;
  ExtraAngles = 0;
  EndLevelDisplay();
  PendingKind = static_cast<uint8_t>(r[kKind]);
  ProjectModified = true;
}

SelectionCommit CommitSelectionMoveCopy() {
  SelectionCommit out;
  EditStep step;
  ObjectCount = CurObject;
  const int count = ObjectCount;
  for (int i = 0; i < count && ValidObjRow(i) && Row(i)[kKind] != 0; ++i) {
    const ObjRow src = Row(i);
    // Settings rows hold no position; only objects count for the scroll ranges, each where it
    // lies after the commit, so that a moved object stays within reach.
    auto reach = [&out](const ObjRow& r) {
      out.maxX = std::max(out.maxX, r[kX]);
      out.maxY = std::max(out.maxY, r[kY]);
    };
    if (src[kKind] <= 0) continue;
    if (!StrictlyInside(SelRect, src[kX], src[kY])) {
      reach(src);
      continue;
    }
    const int rows = 1 + ContinuationRows(i);

    if (CopyNotMove == 0) {
      for (int k = 0; k < rows; ++k) PushUndo(kUndoMove, i + k);
      Row(i)[kX] += MoveDelta.X;
      Row(i)[kY] += MoveDelta.Y;
      reach(Row(i));
      continue;
    }
    reach(src);

    const int kind = src[kKind];
    int inst = src[kInst];
    if (kind == kLnbKind || IsTerrSource(kind)) {
      inst = CopySourceSlot(kind, src[kInst]);
      if (inst < 0) {
        out.sourceDropped = true;
        continue;
      }
    }
    // A copied comment gets a text of its own: a shared one would change with the other's edit.
    if (kind == kCommentKind && ItemTextCount >= 0 && ItemTextCount < kItemTextSlots &&
        src[kInst] >= 0 && src[kInst] < kItemTextSlots) {
      ItemTexts[static_cast<std::size_t>(ItemTextCount)] = ItemTexts[static_cast<std::size_t>(src[kInst])];
      inst = ItemTextCount++;
    }
    EnsureFreeObjectRows(static_cast<std::size_t>(rows) + 1);
    const int c = CurObject;
    Row(c) = ObjRow{kind, src[kX] + MoveDelta.X, src[kY] + MoveDelta.Y, inst, src[kOrient], src[kStyle]};
    GrowTable(1);
    GrowForObject(kind);
    Row(c + 1) = ObjRow{};
    out.maxX = std::max(out.maxX, Row(c)[kX]);
    out.maxY = std::max(out.maxY, Row(c)[kY]);
    ++CurObject;
    for (int k = 1; k < rows; ++k) {
      Row(CurObject) = Row(i + k);
      GrowTable(1);
      ++CurObject;
      Row(CurObject) = ObjRow{};
    }
    PushUndo(kUndoAdded, c);
    // The channel lists that a modulator's labels read follow the copy's settings, as at arming.
    if (kind == kModulatorZirn && ValidObjRow(c + 1) && Hooks().selectTvStandard) Hooks().selectTvStandard(Row(c + 1)[kHdmiStandard]);
    if (HasSymbol(kind)) RebuildObjectGlyph(c);
  }
  ObjectCount = CurObject;
  return out;
}

// ---- the click, step by step

namespace {

// Where a click landed: the snapped canvas point that places and picks up (less the pick-up
// offset), and the pointer's client point, whose canvas point the level display and the socket
// outlets match at the scroll position of the moment.
struct ClickPoint {
  int x = 0;
  int y = 0;
  QPoint client;
  int rawX() const { return client.x() + ScrollX; }
  int rawY() const { return client.y() + ScrollY; }
};

ClickPoint ReadClickPoint(const TForm5& f) {
  int gx = 0, gy = 0;
  platform::Current().cursorPos(gx, gy);
  const QPoint c = f.mapFromGlobal(QPoint(gx, gy));
  return {SnapToGrid(c.x(), GridStep) - PickOffset.X + ScrollX, SnapToGrid(c.y(), GridStep) - PickOffset.Y + ScrollY, c};
}

// A device, comment or socket stands where the click is; a line whose start is not yet set
// starts there.
void PositionPending(TForm5& f, const ClickPoint& p, bool line, bool startSet) {
  if (!line && ValidObjRow(CurObject)) {
    ObjRow& r = Row(CurObject);
    r[kX] = p.x;
    r[kY] = p.y;
    r[kKind] = PendingKind;
  } else if (!startSet) {
    const SnapResult s = StartLineAt(p.x, p.y);
    if (f.Label14) f.Label14->move(f.width() - 350, f.Label14->y());
    ShowText(s.message);
  }
}

// Commits the armed object or puts down the picked-up one. True when a line's end lay on its
// start, so the line stays in drawing.
bool CommitOrPutDown(TForm5& f, const ClickPoint& p, bool line, bool startSet) {
  if (PanelOpen == 0 && (!line || startSet)) {
    HideLineHints(f);
    const ClickCommit r = CommitArmedObject(p.x, p.y);
    ShowText(r.message);
    return r.rejected;
  }
  if (PanelOpen != 0) {
    if (!line || startSet) HideLineHints(f);
    const ClickCommit r = PutDownPickedUp(p.x, p.y);
    ShowText(r.message);
    return r.rejected;
  }
  return false;
}

void AfterPlacing(TForm5& f, const ClickPoint& p, bool line, bool startSet, bool rejected) {
  if (line && !startSet) ExtraAngles = 1;
  else if (!rejected) ExtraAngles = 0;
  f.VertScrollRange = ScrollRangeAfterPlacing(f.VertScrollRange, p.y);
  f.HorzScrollRange = ScrollRangeAfterPlacing(f.HorzScrollRange, p.x);
  f.SyncScrollBars();
  EndLevelDisplay();
  ProjectModified = true;
}

void PlacePending(TForm5& f, const ClickPoint& p) {
  const bool line = IsLineKind(PendingKind);
  const bool startSet = line && ExtraAngles >= 1;
  PositionPending(f, p, line, startSet);
  const bool rejected = CommitOrPutDown(f, p, line, startSet);
  AfterPlacing(f, p, line, startSet, rejected);
}

// Only an idle canvas picks up: the release that ends a selection drag makes the selection, and
// after a run a socket's outlet shows the socket's levels.
void PickUpAt(TForm5& f, const ClickPoint& p) {
  const bool outlet = Form1Tag == kMainLevelsShown && OnSocketOutlet(p.rawX(), p.rawY());
  if (f.Tag != kCanvasIdle || outlet) return;
  const int r = HitTestComponent(p.x, p.y);
  if (r <= -1) return;
  const int kind = Row(r)[kKind];
  const bool hints = Form1Tag < kMainInlineEditor;
  PickUpObject(r, p.x, p.y);
  if (hints && IsLineKind(kind) && f.Label14) {
    f.Label14->move(f.width() - 350, f.Label14->y());
    f.Label14->setVisible(IsTrunkLineKind(kind));
  }
}

void CommitSelection(TForm5& f) {
  if (f.Tag != kCanvasMoving) return;
  const SelectionCommit s = CommitSelectionMoveCopy();
  ProjectModified = true;
  if (s.sourceDropped) platform::Current().messageBox("Note", kSourceCopyDroppedMessage, platform::Buttons::Ok);
  f.HorzScrollRange = ScrollRangeAfterSelectionCommit(f.HorzScrollRange, s.maxX);
  f.VertScrollRange = ScrollRangeAfterSelectionCommit(f.VertScrollRange, s.maxY);
  f.SyncScrollBars();
  // With Ctrl held the same rectangle serves further moves or copies.
  if (!CtrlDown) {
    f.Tag = kCanvasIdle;
    SelRect = {};
    CopyNotMove = 0;
  }
}

void EnterOrLeaveMove(TForm5& f, const ClickPoint& p, bool pressedOutside) {
  const SelectionClick onSelection =
      f.Tag == kCanvasSelected ? ClickOnSelection(SelRect, p.x, p.y, pressedOutside) : SelectionClick::kKeep;
  if (onSelection == SelectionClick::kStartMove) {
    MoveAnchor = {p.x, p.y};
    // The move starts where the pointer is; an offset left from an earlier move would shift it.
    MoveDelta = {};
    f.Tag = kCanvasMoving;
    EndLevelDisplay();
    ProjectModified = true;
  } else if (onSelection == SelectionClick::kEnd) {
    f.Tag = kCanvasIdle;
    SelRect = {};
    CopyNotMove = 0;
    EndLevelDisplay();
    f.Repaint();
  }
}

void CloseClick(TForm5& f, const ClickPoint& p, bool refill, QObject* sender) {
  if (!refill) {
    if (PendingKind < 200 || PendingKind == kSocketKind) ExtraAngles = 0;
    // One placement per arming; a line being drawn or a picked-up object stays.
    if (PanelOpen == 0 && ExtraAngles == 0) PendingKind = 0;
  }
  ObjValues.resize(NetObjects.size(), {0.0, 0.0});
  if (Form1Tag == kMainLevelsShown) LevelProbe(p.rawX(), p.rawY(), sender);
  f.Repaint();
}

}  // namespace

void TForm5::FormClick(QObject* sender) {
  ClickMode = Form1Tag;
  const bool editorsOpen = InlineEdit != 0;
  const bool pressedOutside = std::exchange(m_pressOutsideSelection, false);
  if (!InlineEdit && !IsNavigation(Tag)) {
    const ClickPoint p = ReadClickPoint(*this);
    // The Analyzer's filter items fire the click only to show the last probe point again; the
    // pointer then lies over the Analyzer's menu, not over the drawing.
    const bool refill = Form4 && sender == static_cast<QObject*>(Form4);
    if (!refill && PendingKind != 0) {
      PlacePending(*this, p);
    } else if (!refill) {
      PickUpAt(*this, p);
      CommitSelection(*this);
      EnterOrLeaveMove(*this, p, pressedOutside);
    }
    CloseClick(*this, p, refill, sender);
  }
  CommitInlineEditors(*this, editorsOpen);
}

}  // namespace kavrix

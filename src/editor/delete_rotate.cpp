// "Delete" and "Rotate" of the canvas popup menu (the Edit menu's "Delete" runs the same
// handler), and the row operations behind them.
#include "editor/delete_rotate.hpp"

#include <QLabel>
#include <algorithm>
#include <filesystem>

#include "editor/canvas_window.hpp"
#include "editor/placement_commands.hpp"
#include "model/network_model.hpp"
#include "model/project_options.hpp"
#include "model/source_tables.hpp"
#include "model/undo_ring.hpp"
#include "symbols/glyph_store.hpp"
#include "symbols/object_glyphs.hpp"

namespace kavrix {

namespace {

constexpr int kLnbKind = 91;
constexpr int kSocketKind = 210;
constexpr int kTerrPlanEntries = 100;  // entries 0..99 carry channels; a delete leaves entry 100
constexpr int32_t kTableMode = 0;      // LnbUseAverage: plan entered by hand

bool IsAntenna(int kind) { return kind >= 92 && kind <= 95; }
bool HasSymbol(int kind) { return (kind >= 1 && kind <= 199) || kind == kSocketKind; }

std::string CurrentDir() {
  std::error_code ec;
  return std::filesystem::current_path(ec).string();
}

// The save seam leaves the default extension to the caller: a name without one gets it.
std::string WithDefaultExt(const std::string& name, const std::string& ext) {
  return FileNameExtension(name).empty() ? name + ext : name;
}

// Offers the plan of the source in `row` under the first free "Source" + n name. A cancelled
// dialog writes nothing and lets the delete go on; a failed write is shown and stops it, so the
// plan the user wanted kept is not dropped.
bool SaveSourcePlan(int row, SourceFileKind kind, platform::FileDialogRequest& dialog) {
  const std::string ext = std::string(".") + SourceFileExtension(kind);
  dialog.initialDir = CurrentDir();
  dialog.fileName = FirstFreeFileName("Source", ext);
  dialog.defaultExt = ext;
  dialog.filterIndex = kind == SourceFileKind::Lnb ? 1 : 2;
  const auto chosen = platform::Current().saveFile(dialog);
  if (!chosen) return true;
  SourceFileName = WithDefaultExt(chosen->fileName, ext);
  std::string error;
  if (WriteSourceFile(SourceFileName, SourcePlanOfSlot(row), kind, &error)) return true;
  platform::ShowMessage(error);
  return false;
}

bool AskYes(const std::string& question) {
  return platform::Ask("Confirm", question, platform::Buttons::YesNo) == platform::Answer::Yes;
}

}  // namespace

std::string SaveLnbPlanQuestion(int slot) {
  return "Do you want to save LNB " + std::string(1, static_cast<char>('A' + slot)) + " parameters?";
}

bool IsCommittedObject(int row) { return row >= 0 && row < ObjectCount && ValidObjRow(row) && NetObjects[row][kKind] > 0; }

SourceGrid SourcePlanOfSlot(int row) {
  SourceGrid grid;
  grid.clear();
  if (!ValidObjRow(row)) return grid;
  const int kind = NetObjects[row][kKind];
  const int s = NetObjects[row][kInst];
  if (kind == kLnbKind && ValidSatSlot(s)) {
    grid.setColCount(kSatColumns);
    grid.setRowCount(kSatRows + 1);
    for (int c = 0; c < kSatColumns; ++c)
      for (int j = 1; j <= kSatRows; ++j) grid.setCell(c, j, std::to_string(SatCell(s, c, j)));
  } else if (IsAntenna(kind) && ValidTerrSlot(s)) {
    grid.setColCount(2);
    grid.setRowCount(kTerrPlanEntries + 1);
    for (int i = 0; i < kTerrPlanEntries; ++i) {
      grid.setCell(0, i + 1, std::to_string(TerrTables[s][kTerrFreqs][i]));
      grid.setCell(1, i + 1, std::to_string(TerrTables[s][kTerrLevels][i]));
    }
  }
  return grid;
}

void ReleaseSourceSlot(int row) {
  if (!ValidObjRow(row)) return;
  const int kind = NetObjects[row][kKind];
  const int s = NetObjects[row][kInst];
  // Header first, then the plan. The plan is recorded in average mode too: a generated plan need
  // not match what undo would regenerate from the header (the antennas' defaults do not), and
  // undo never regenerates over rows it has restored.
  if (kind == kLnbKind && ValidSatSlot(s)) {
    PushUndo(kUndoLnbHeader, row);
    PushUndo(kUndoLnbCarriers, row);
    SatUsed[s] = false;
    for (auto& column : SatTables[s]) column.fill(0);
  } else if (IsAntenna(kind) && ValidTerrSlot(s)) {
    PushUndo(kUndoTerrHeader, s);
    PushUndo(kUndoTerrChannels + s, s);
    TerrUsed[s] = false;
    for (auto& half : TerrTables[s]) std::fill(half.begin(), half.begin() + kTerrPlanEntries, 0);
    TerrParams[s].fill(0);
  }
}

void RemoveObjectRows(int row, const RowFollowers& followers) {
  if (!IsCommittedObject(row)) return;
  const int n = ObjectRowCount(row);
  for (int* f : followers) {
    if (!f || *f < row) continue;
    *f = *f < row + n ? -1 : *f - n;
  }
  for (int k = n - 1; k >= 0; --k) PushUndo(kUndoDelete, row + k);

  int end = row + n;  // the zero row that ends the table
  while (ValidObjRow(end) && NetObjects[end][kKind] != 0) ++end;
  if (ObjGlyphs.size() < NetObjects.size()) ObjGlyphs.resize(NetObjects.size());
  for (int i = row; i + n < end; ++i) {
    NetObjects[i] = NetObjects[i + n];
    ObjGlyphs[i] = std::move(ObjGlyphs[i + n]);
  }
  for (int i = end - n; i < end; ++i) {
    NetObjects[i] = ObjRow{};
    ObjGlyphs[i].release();
  }
  ObjectCount = std::max(0, ObjectCount - n);
  // An armed or picked-up row behind the object moved up with the rest.
  if (CurObject >= row + n) CurObject -= n;
  else if (CurObject >= row) CurObject = ObjectCount;
}

bool DeleteComponent(platform::FileDialogRequest& saveDialog, const RowFollowers& followers) {
  const int r = SelObject;
  if (!IsCommittedObject(r)) return false;
  const int kind = NetObjects[r][kKind];
  const int s = NetObjects[r][kInst];
  if (kind == kLnbKind && ValidSatSlot(s)) {
    if (LnbUseAverage(s) == kTableMode && AskYes(SaveLnbPlanQuestion(s)) &&
        !SaveSourcePlan(r, SourceFileKind::Lnb, saveDialog))
      return false;
  } else if (IsAntenna(kind) && ValidTerrSlot(s)) {
    if (AskYes(kSaveTerrPlanQuestion) && !SaveSourcePlan(r, SourceFileKind::Terr, saveDialog)) return false;
  }
  ReleaseSourceSlot(r);
  RemoveObjectRows(r, followers);
  return true;
}

int DeleteObjectsInside(const SelectionRect& rect, platform::FileDialogRequest& saveDialog,
                        const RowFollowers& followers) {
  int deleted = 0;
  // The rows behind a deleted object move up, so the same index is looked at again.
  for (int i = 0; i < ObjectCount && ValidObjRow(i) && NetObjects[i][kKind] != 0;) {
    const ObjRow& o = NetObjects[i];
    const bool inside = o[kKind] > 0 && o[kX] > rect.Left && o[kX] < rect.Right && o[kY] > rect.Top && o[kY] < rect.Bottom;
    if (inside) {
      SelObject = i;
      if (DeleteComponent(saveDialog, followers)) {
        ++deleted;
        continue;
      }
    }
    ++i;
  }
  return deleted;
}

void TurnObject(int row, int quarterTurns) {
  if (!ValidObjRow(row) || NetObjects[row][kKind] <= 0) return;
  ObjRow& o = NetObjects[row];
  int32_t& orient = o[kOrient];
  if (quarterTurns < 0) orient = orient <= 1 || orient > 4 ? 4 : orient - 1;
  else orient = orient >= 4 || orient < 1 ? 1 : orient + 1;
  if (o[kKind] == kSocketKind) LastSocketOrient = orient;
  // A line is drawn from its rows; its Orient picks the route drawer.
  if (HasSymbol(o[kKind])) RebuildObjectGlyph(row);
}

// ---- handlers

void TForm5::Delete1Click() {
  // The overview is no place to edit: leaving it is what restores the canvas.
  if (IsNavigation(Tag)) return;
  // Whatever follows the pointer is the component the command means: an armed object, which is
  // simply not placed, or a committed one picked up, which is put back and then deleted.
  const bool following = PendingKind != 0;
  const bool held = following && PanelOpen != 0;
  if (Tag < kCanvasSelected && !following && !IsCommittedObject(SelObject)) {
    Repaint();
    return;
  }
  if (platform::Ask(kConfirmDeleteCaption, kConfirmDeleteText, platform::Buttons::OkCancel) != platform::Answer::Ok) {
    Repaint();
    return;
  }
  {
    EditStep step;
    const int heldRow = CurObject;
    const int countBefore = ObjectCount;
    CancelPlacement();
    // An editor or panel left open keeps to its own object, wherever the rows move.
    const RowFollowers followers{&m_editRow, &StringGrid1Tag};
    // A selection being moved is still the selection: it is deleted where it stands.
    if (Tag == kCanvasSelected || Tag == kCanvasMoving) {
      DeleteObjectsInside(SelRect, SaveDialog1, followers);
      SelRect = {};
    } else if (Tag < kCanvasSelected && (!following || held)) {
      if (held) SelObject = heldRow;
      DeleteComponent(SaveDialog1, followers);
    }
    // The objects behind a deleted one moved up a row: their designators name their new rows.
    if (OptionControls.CheckBox2 && ObjectCount != countBefore) RebuildAllObjectGlyphs();
    ProjectModified = true;
    PendingKind = 0;
    EndLevelDisplay();
    Tag = kCanvasIdle;
  }
  // The line hints belonged to the line that followed the pointer; it is gone now.
  if (following) {
    if (Label14) Label14->hide();
    if (Label15) Label15->hide();
  }
  Repaint();
}

namespace {

void TurnSelObject(TForm5& canvas, int quarterTurns) {
  const int r = SelObject;
  // An armed object is not part of the drawing yet: its placement is what undo takes back.
  const bool armed = PendingKind != 0 && PanelOpen == 0 && r == CurObject && ValidObjRow(r) && NetObjects[r][kKind] > 0;
  if (!armed && !IsCommittedObject(r)) {
    canvas.Repaint();
    return;
  }
  {
    EditStep step;
    if (!armed) PushUndo(kUndoRotate, r);
    TurnObject(r, quarterTurns);
    ProjectModified = true;
    EndLevelDisplay();
  }
  canvas.Repaint();
}

}  // namespace

void TForm5::N1Click() { TurnSelObject(*this, -1); }
void TForm5::N2Click() { TurnSelObject(*this, +1); }

}  // namespace kavrix

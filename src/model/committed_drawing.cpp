#include "model/committed_drawing.hpp"

#include "model/object_rows.hpp"
#include "model/source_tables.hpp"
#include "model/undo_ring.hpp"

namespace kavrix {
namespace {

constexpr int kLnbKind = 91;
constexpr int kCommentKind = 100;
bool IsAntenna(int kind) { return kind >= 92 && kind <= 95; }
bool IsLine(int kind) { return kind >= 201 && kind <= 209; }

// Source slot that the armed component at `row` took and no committed object uses, else null.
bool* UnplacedSourceSlot(int row) {
  const int kind = NetObjects[row][kKind];
  const int slot = NetObjects[row][kInst];
  bool* used = nullptr;
  if (kind == kLnbKind && ValidSatSlot(slot)) used = &SatUsed[static_cast<std::size_t>(slot)];
  else if (IsAntenna(kind) && ValidTerrSlot(slot)) used = &TerrUsed[static_cast<std::size_t>(slot)];
  if (!used || !*used) return nullptr;
  for (int r = 0; r < ObjectCount && r < row; ++r) {
    const int k = NetObjects[r][kKind];
    if ((k == kind || (IsAntenna(k) && IsAntenna(kind))) && NetObjects[r][kInst] == slot) return nullptr;
  }
  return used;
}

// The text slot an armed comment took and what the slot held before.
struct CommentLoan {
  int slot = -1;
  std::string before;
};
CommentLoan g_loan;

// Text slot that the armed comment at `row` took and no committed comment uses, else null.
std::string* UnplacedCommentText(int row) {
  const int slot = NetObjects[row][kInst];
  if (NetObjects[row][kKind] != kCommentKind || slot != g_loan.slot || slot < 0 || slot >= kItemTextSlots)
    return nullptr;
  for (int r = 0; r < ObjectCount && r < row; ++r)
    if (NetObjects[r][kKind] == kCommentKind && NetObjects[r][kInst] == slot) return nullptr;
  return &ItemTexts[static_cast<std::size_t>(slot)];
}

}  // namespace

void LendCommentSlot(int slot, const std::string& placeholder) {
  if (slot < 0 || slot >= kItemTextSlots) return;
  std::string& text = ItemTexts[static_cast<std::size_t>(slot)];
  g_loan = {slot, std::move(text)};
  text = placeholder;
}

void GiveBackCommentSlot(int slot) {
  if (slot < 0 || slot >= kItemTextSlots) return;
  std::string& text = ItemTexts[static_cast<std::size_t>(slot)];
  if (slot == g_loan.slot) text = std::move(g_loan.before);
  else text.clear();
  g_loan = {};
}

int HeldObjectRow() {
  const bool held = PanelOpen != 0 && ValidObjRow(CurObject) && CurObject < ObjectCount && NetObjects[CurObject][kKind] > 0;
  return held ? CurObject : -1;
}

void PutAtPickUpPlace(int row) {
  NetObjects[row][kX] = LineEditSave.X;
  NetObjects[row][kY] = LineEditSave.Y;
  if (IsLine(NetObjects[row][kKind]) && ValidObjRow(row + 1) && NetObjects[row + 1][kKind] < 0) {
    NetObjects[row][kOrient] = LineEditSave.Orient;
    for (int f = kLegV1; f <= kLineRoute; ++f) NetObjects[row + 1][f] = LineEditSave.Bend[static_cast<std::size_t>(f - kLegV1)];
  }
}

void CommittedDrawing::set(int row, int field, int32_t value) {
  int32_t& cell = NetObjects[static_cast<std::size_t>(row)][static_cast<std::size_t>(field)];
  if (cell == value || m_changeCount == static_cast<int>(m_changes.size())) return;
  m_changes[static_cast<std::size_t>(m_changeCount++)] = {row, field, cell, value};
  cell = value;
}

CommittedDrawing::CommittedDrawing() {
  m_curObject = CurObject;
  m_pendingKind = PendingKind;
  PendingKind = 0;  // nothing is being placed, so no placement guides are drawn either
  if (const int held = HeldObjectRow(); held >= 0) {
    const bool settings = ValidObjRow(held + 1);
    const ObjRow shownHead = NetObjects[held];
    const ObjRow shownNext = settings ? NetObjects[held + 1] : ObjRow{};
    PutAtPickUpPlace(held);
    const ObjRow placedHead = NetObjects[held];
    const ObjRow placedNext = settings ? NetObjects[held + 1] : ObjRow{};
    NetObjects[held] = shownHead;
    if (settings) NetObjects[held + 1] = shownNext;
    for (int f = 0; f < kObjFields; ++f) {
      set(held, f, placedHead[f]);
      if (settings) set(held + 1, f, placedNext[f]);
    }
    CurObject = ObjectCount;
    m_movedEnd = true;
  } else if (ValidObjRow(CurObject) && CurObject >= ObjectCount && NetObjects[CurObject][kKind] != 0) {
    m_slot = UnplacedSourceSlot(CurObject);
    if (m_slot) *m_slot = false;
    m_text = UnplacedCommentText(CurObject);
    if (m_text) {
      m_shownText = *m_text;
      *m_text = g_loan.before;
    }
    set(CurObject, kKind, 0);
  }
}

CommittedDrawing::~CommittedDrawing() {
  for (int i = m_changeCount - 1; i >= 0; --i) {
    const Change& c = m_changes[static_cast<std::size_t>(i)];
    if (!ValidObjRow(c.row)) continue;
    int32_t& cell = NetObjects[static_cast<std::size_t>(c.row)][static_cast<std::size_t>(c.field)];
    if (cell == c.committed) cell = c.shown;
  }
  if (m_slot) *m_slot = true;
  if (m_text && *m_text == g_loan.before) *m_text = std::move(m_shownText);
  if (PendingKind == 0) PendingKind = m_pendingKind;
  if (m_movedEnd && CurObject == ObjectCount) CurObject = m_curObject;
}

}  // namespace kavrix

#include "model/undo_ring.hpp"

#include <algorithm>
#include <cmath>

#include "model/object_rows.hpp"
#include "model/source_tables.hpp"

namespace kavrix {

LineEditSaved LineEditSave;
// A re-route saves every field of the line's continuation row, kLegV1 .. kLineRoute.
static_assert(std::tuple_size_v<decltype(LineEditSaved::Bend)> == kLineRoute - kLegV1 + 1);

namespace {

constexpr int kTerrCarrierRows = 100;  // entries 0..99 carry channels
constexpr int kLastTriplet = kTerrEntries - 3;  // the last three entries, 98..100

int NextEntry(int i) { return i >= kUndoLast ? 0 : i + 1; }
int PrevEntry(int i) { return i <= 0 ? kUndoLast : i - 1; }

// Starts an entry at UndoPos; the caller fills the values it records, then calls Advance().
// Values a kind does not record keep whatever the slot held.
UndoEntry& BeginEntry(int kind, int index) {
  if (UndoPos < 0 || UndoPos > kUndoLast) UndoPos = 0;
  UndoEntry& e = UndoRing[UndoPos];
  e[kUndoSerial] = EditSerial;
  e[kUndoKindField] = kind;
  e[kUndoIndex] = index;
  return e;
}

void Advance() { UndoPos = UndoPos >= kUndoLast ? 0 : UndoPos + 1; }

void PushRowFields(int kind, int row) {
  UndoEntry& e = BeginEntry(kind, row);
  for (int f = 0; f < kObjFields; ++f) e[kUndoRowFields + f] = NetObjects[row][f];
  Advance();
}

bool IsLineKind(int kind) { return kind >= 201 && kind <= 209; }
bool HasSymbol(int kind) { return (kind >= 1 && kind <= 199) || kind == 210; }
bool IsTerrSourceKind(int kind) { return kind >= 92 && kind <= 95; }

// Every carrier row of one polarisation (the four columns starting at col0): a plan may have
// empty rows between its carriers, and the rows after a gap must come back too.
void PushCarrierRows(int row, int s, int polarisation) {
  const int col0 = 4 * polarisation;
  for (int j = 1; j <= kSatRows; ++j) {
    UndoEntry& e = BeginEntry(kUndoLnbCarriers, row);
    e[kUndoCarrierRow] = j;
    e[kUndoPolarisation] = polarisation;
    for (int c = 0; c < kUndoCarrierCellCount; ++c) e[kUndoCarrierCells + c] = SatCell(s, col0 + c, j);
    Advance();
  }
}

// Every channel entry 0..100 in threes, gaps included; the last three start at 98 so that entry
// 100 is covered.
void PushChannelRows(int kind, int s) {
  const auto& freq = TerrTables[s][kTerrFreqs];
  const auto& level = TerrTables[s][kTerrLevels];
  for (int j = 0;; j += 3) {
    const int jj = std::min(j, kLastTriplet);
    UndoEntry& e = BeginEntry(kind, jj);
    for (int k = 0; k < kUndoChannelRows; ++k) {
      e[UndoChannelFreq(k)] = freq[jj + k];
      e[UndoChannelLevel(k)] = level[jj + k];
    }
    Advance();
    if (jj == kLastTriplet) break;
  }
}

void NotifyGlyph(int row) {
  if (Hooks().rowGlyphChanged) Hooks().rowGlyphChanged(row);
}

void SetSourceSlotUsed(const ObjRow& r, bool used) {
  if (r[kKind] == 91 && ValidSatSlot(r[kInst])) SatUsed[r[kInst]] = used;
  if (IsTerrSourceKind(r[kKind]) && ValidTerrSlot(r[kInst])) TerrUsed[r[kInst]] = used;
}

struct ReplayState {
  bool shifted = false;
  int firstInserted = -1;  // smallest row a delete entry reinserted
  // Tables whose rows this action recorded: their headers must not regenerate over them.
  std::array<std::array<bool, 4>, kSatSlots> satBandRestored{};
  std::array<bool, kTerrSlots> terrRestored{};
};

void ReplayAdded() {
  if (CurObject <= 0) return;
  CurObject -= 1;
  ObjectCount = CurObject;
  if (!ValidObjRow(CurObject)) return;
  ObjRow& r = NetObjects[CurObject];
  SetSourceSlotUsed(r, false);
  r.fill(0);
}

void ReplayDeleted(int row, const UndoEntry& e, ReplayState& st) {
  if (row < 0 || row > ObjectCount || ObjectCount < 0) return;
  const std::size_t need = static_cast<std::size_t>(ObjectCount) + 2;
  if (NetObjects.size() < need) {
    NetObjects.resize(need, ObjRow{});
    SyncRowCompanions();
  }
  for (int r = ObjectCount; r >= row; --r) NetObjects[r + 1] = NetObjects[r];
  CurObject += 1;
  ObjectCount = CurObject;
  ObjRow& dst = NetObjects[row];
  for (int f = 0; f < kObjFields; ++f) dst[f] = e[kUndoRowFields + f];
  // The delete freed the source slot; the reinserted source owns it again.
  SetSourceSlotUsed(dst, true);
  st.shifted = true;
  st.firstInserted = st.firstInserted < 0 ? row : std::min(st.firstInserted, row);
}

// A generated band is rebuilt from its header only when the action did not record its rows:
// recorded rows are what the table held, generated or edited.
void ReplayLnbHeader(int row, const UndoEntry& e, const ReplayState& st) {
  if (!ValidObjRow(row)) return;
  const int s = NetObjects[row][kInst];
  const int b = e[kUndoLnbBand];
  if (!ValidSatSlot(s) || b < 0 || b > 3) return;
  for (int k = 0; k < 5; ++k) LnbParams[s][b][k] = e[kUndoLnbValues + k];
  if (LnbUseAverage(s) == 1 && !st.satBandRestored[s][b]) RegenerateLnbBand(s, b);
}

void ReplayLnbCarriers(int row, const UndoEntry& e, ReplayState& st) {
  if (!ValidObjRow(row)) return;
  const int s = NetObjects[row][kInst];
  const int j = e[kUndoCarrierRow];
  const int pol = e[kUndoPolarisation];
  if (!ValidSatSlot(s) || j < 1 || j > kSatRows || (pol != 0 && pol != 1)) return;
  const int col0 = 4 * pol;
  for (int c = 0; c < kUndoCarrierCellCount; ++c) SatCell(s, col0 + c, j) = e[kUndoCarrierCells + c];
  // Columns 4p .. 4p + 3 are the bands 2p and 2p + 1.
  st.satBandRestored[s][2 * pol] = st.satBandRestored[s][2 * pol + 1] = true;
}

void ReplayTerrHeader(int s, const UndoEntry& e, const ReplayState& st) {
  if (!ValidTerrSlot(s)) return;
  for (int k = 0; k < 5; ++k) TerrParams[s][k] = e[kUndoTerrHeaderValues + k];
  if (TerrParams[s][kTerrRegenerate] == 1 && !st.terrRestored[s]) RegenerateTerrTable(s);
}

void ReplayChannelRows(int s, int j, const UndoEntry& e, ReplayState& st) {
  if (!ValidTerrSlot(s) || j < 0 || j > kLastTriplet) return;
  for (int k = 0; k < kUndoChannelRows; ++k) {
    TerrTables[s][kTerrFreqs][j + k] = e[UndoChannelFreq(k)];
    TerrTables[s][kTerrLevels][j + k] = e[UndoChannelLevel(k)];
  }
  st.terrRestored[s] = true;
}

void ReplaySettings(int row, const UndoEntry& e) {
  ObjRow& r = NetObjects[row];
  for (int f = 0; f < kObjFields; ++f) r[f] = e[kUndoRowFields + f];
  // Settings rows belong to the object above them, whose symbol shows the values. It is rebuilt
  // whole: a label drawn over a wider old value would leave digits of that value standing.
  if (r[kKind] > 0) {
    NotifyGlyph(row);
  } else if (row >= 1 && NetObjects[row - 1][kKind] > 0) {
    NotifyGlyph(row - 1);
  } else if (row >= 2 && NetObjects[row - 2][kKind] > 0) {
    NotifyGlyph(row - 2);
  }
}

void ReplayEntry(const UndoEntry& e, ReplayState& st) {
  const int kind = e[kUndoKindField];
  const int index = e[kUndoIndex];
  if (kind >= kUndoTerrChannels && kind < kUndoTerrChannels + kTerrSlots) {
    ReplayChannelRows(kind - kUndoTerrChannels, index, e, st);
    return;
  }
  switch (kind) {
    case kUndoAdded:
      ReplayAdded();
      return;
    case kUndoDelete:
      ReplayDeleted(index, e, st);
      return;
    case kUndoLnbHeader:
      ReplayLnbHeader(index, e, st);
      return;
    case kUndoLnbCarriers:
      ReplayLnbCarriers(index, e, st);
      return;
    case kUndoTerrHeader:
      ReplayTerrHeader(index, e, st);
      return;
    default:
      break;
  }
  if (!ValidObjRow(index)) return;
  ObjRow& r = NetObjects[index];
  switch (kind) {
    case kUndoMove:
      for (int f = kX; f <= kOrient; ++f) r[f] = e[kUndoRowFields + f];
      break;
    case kUndoRotate:
      for (int f = 0; f < kObjFields; ++f) r[f] = e[kUndoRowFields + f];
      if (HasSymbol(r[kKind])) NotifyGlyph(index);
      break;
    case kUndoInlineEdit:
      for (int f = kX; f <= kStyle; ++f) r[f] = e[kUndoRowFields + f];
      if (r[kKind] == 210) NotifyGlyph(index);
      break;
    case kUndoSettings:
      ReplaySettings(index, e);
      break;
    case kUndoLineDrag:
      for (int f = kX; f <= kStyle; ++f) r[f] = e[kUndoRowFields + f];
      break;
    default:
      break;
  }
}

}  // namespace

void PushUndo(int kind, int index) {
  if (kind >= kUndoTerrChannels && kind < kUndoTerrChannels + kTerrSlots) {
    PushChannelRows(kind, kind - kUndoTerrChannels);
    return;
  }
  if (kind == kUndoTerrHeader) {
    if (!ValidTerrSlot(index)) return;
    UndoEntry& e = BeginEntry(kind, index);
    for (int k = 0; k < 5; ++k) e[kUndoTerrHeaderValues + k] = TerrParams[index][k];
    Advance();
    return;
  }
  if (!ValidObjRow(index)) return;
  const ObjRow& row = NetObjects[index];
  switch (kind) {
    case kUndoAdded: {
      // The head and every continuation row, so that the replay removes the whole object.
      int r = index;
      do {
        BeginEntry(kind, r);
        Advance();
        ++r;
      } while (ValidObjRow(r) && NetObjects[r][kKind] < 0);
      return;
    }
    case kUndoMove:
    case kUndoDelete:
    case kUndoRotate:
    case kUndoInlineEdit:
    case kUndoSettings:
      PushRowFields(kind, index);
      return;
    case kUndoLnbHeader: {
      const int s = row[kInst];
      if (!ValidSatSlot(s)) return;
      for (int b = 0; b < 4; ++b) {
        UndoEntry& e = BeginEntry(kind, index);
        e[kUndoLnbBand] = b;
        for (int k = 0; k < 5; ++k) e[kUndoLnbValues + k] = LnbParams[s][b][k];
        Advance();
      }
      return;
    }
    case kUndoLnbCarriers: {
      const int s = row[kInst];
      if (!ValidSatSlot(s)) return;
      PushCarrierRows(index, s, 0);
      PushCarrierRows(index, s, 1);
      return;
    }
    case kUndoLineDrag: {
      UndoEntry& e = BeginEntry(kind, index);
      e[kUndoRowFields + kX] = LineEditSave.X;
      e[kUndoRowFields + kY] = LineEditSave.Y;
      e[kUndoRowFields + kInst] = row[kInst];
      e[kUndoRowFields + kOrient] = LineEditSave.Orient;
      e[kUndoRowFields + kStyle] = row[kStyle];
      Advance();
      // Every line kind keeps its bends in the row after it.
      if (IsLineKind(row[kKind]) && ValidObjRow(index + 1)) {
        UndoEntry& b = BeginEntry(kind, index + 1);
        for (int f = kLegV1; f <= kLineRoute; ++f) b[kUndoRowFields + f] = LineEditSave.Bend[f - kLegV1];
        Advance();
      }
      return;
    }
    default:
      return;
  }
}

int NewestUndoEntry() { return UndoPos <= 0 || UndoPos > kUndoLast ? kUndoLast : UndoPos - 1; }

bool UndoEnabled() {
  if (UndoPos == 0) return UndoRing[0][kUndoSerial] != 0 && UndoRing[kUndoLast][kUndoKindField] != 0;
  return UndoRing[NewestUndoEntry()][kUndoKindField] != 0;
}

UndoOutcome UndoLastStep() {
  UndoOutcome out;
  if (UndoPos < 0 || UndoPos > kUndoLast) UndoPos = 0;
  const int newest = NewestUndoEntry();
  if (UndoRing[newest][kUndoKindField] == 0) return out;
  const int32_t serial = UndoRing[newest][kUndoSerial];

  int count = 0;
  for (int i = newest; count < kUndoCapacityLimit; i = PrevEntry(i)) {
    if (UndoRing[i][kUndoSerial] != serial || UndoRing[i][kUndoKindField] == 0) break;
    ++count;
  }
  if (count >= kUndoCapacityLimit) {
    out.message = kUndoCapacityMessage;
    return out;
  }

  ReplayState st;
  // At most one pass per ring entry, whatever the serials hold.
  for (int pass = 0; pass < kUndoEntries && UndoRing[NewestUndoEntry()][kUndoSerial] == serial; ++pass) {
    UndoRing[UndoPos][kUndoKindField] = 0;
    UndoPos = PrevEntry(UndoPos);
    // Once the ring has wrapped, what is left of the oldest action behind this one can no longer
    // be undone as a whole: empty it. The walk never comes round to the entry being replayed.
    const int32_t behind = UndoRing[NextEntry(UndoPos)][kUndoSerial];
    int k = NextEntry(NextEntry(UndoPos));
    for (int n = 0; n < kUndoEntries - 2 && UndoRing[k][kUndoSerial] == behind; ++n, k = NextEntry(k))
      UndoRing[k][kUndoKindField] = 0;
    ReplayEntry(UndoRing[UndoPos], st);
  }

  if (st.shifted) {
    // Reinserted rows moved every later row down by one; their symbols were built for other rows.
    const int start = st.firstInserted > 1 ? st.firstInserted - 2 : 0;
    for (int r = start; r <= ObjectCount && ValidObjRow(r); ++r)
      if (HasSymbol(NetObjects[r][kKind])) NotifyGlyph(r);
  }
  out.undone = true;
  return out;
}

void RegenerateLnbBand(int s, int b) {
  if (!ValidSatSlot(s) || b < 0 || b > 3) return;
  const int fc = SatFreqColumn(b);
  const int lc = SatLevelColumn(b);
  for (int j = 1; j <= kSatRows; ++j) {
    SatCell(s, fc, j) = 0;
    SatCell(s, lc, j) = 0;
  }
  const auto& p = LnbParams[s][b];
  const int count = p[kLnbCarriers], level = p[kLnbLevel], first = p[kLnbLowest], last = p[kLnbHighest];
  if (count < 2 || count > kSatRows) return;
  const int step = static_cast<int>(std::trunc(static_cast<double>(last - first) / (count - 1)));
  for (int i = 1; i <= count - 1; ++i) {
    SatCell(s, fc, i) = first + (i - 1) * step;
    SatCell(s, lc, i) = level;
  }
  SatCell(s, fc, count) = last;
  SatCell(s, lc, count) = level;
}

void RegenerateTerrTable(int s) {
  if (!ValidTerrSlot(s)) return;
  auto& freq = TerrTables[s][kTerrFreqs];
  auto& lev = TerrTables[s][kTerrLevels];
  for (int k = 0; k < kTerrCarrierRows; ++k) {
    freq[k] = 0;
    lev[k] = 0;
  }
  const auto& p = TerrParams[s];
  const int count = p[kTerrCarriers], level = p[kTerrLevel], first = p[kTerrFirst], last = p[kTerrLast];
  if (count < 1 || count > kTerrCarrierRows) return;
  const int step = static_cast<int>(std::trunc(static_cast<double>(last - first) / count));
  for (int k = 0; k < count; ++k) {
    freq[k] = first + k * step;
    lev[k] = level;
  }
  freq[count] = last;
  lev[count] = level;
}

}  // namespace kavrix

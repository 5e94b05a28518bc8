#include "editor/placement_commands.hpp"

#include <array>

#include "catalogue/placement_defaults.hpp"
#include "editor/canvas_state.hpp"
#include "model/committed_drawing.hpp"
#include "model/network_model.hpp"
#include "model/object_rows.hpp"
#include "model/project_options.hpp"
#include "model/source_tables.hpp"
#include "model/undo_ring.hpp"
#include "model/window_modes.hpp"
#include "symbols/glyph_store.hpp"
#include "symbols/object_glyphs.hpp"
#include "symbols/value_labels.hpp"

namespace kavrix {
namespace {

constexpr int kLnbKind = 91;
constexpr int kFirstAntennaKind = 92;
constexpr int kLastAntennaKind = 95;
constexpr int kCommentKind = 100;
constexpr int kSocketKind = 210;
constexpr int kModulatorZirn = 97;

bool IsAntenna(int kind) { return kind >= kFirstAntennaKind && kind <= kLastAntennaKind; }
bool IsLine(int kind) { return kind >= 201 && kind <= 209; }
// Lines are drawn from their rows; they have no symbol of their own.
bool HasSymbol(int kind) { return kind < 201 || kind > 205; }

// LNB band headers (count, level, first MHz, last MHz); carriers every 40 MHz at the level.
struct LnbBand {
  int32_t count, level, first, last;
};
// Bands H,Lo / H,Hi / V,Lo / V,Hi.
constexpr std::array<LnbBand, 4> kLnbBands{
    {{25, 80, 970, 1930}, {26, 80, 1100, 2100}, {25, 80, 990, 1950}, {26, 80, 1120, 2120}}};
constexpr int32_t kLnbCarrierStep = 40;
constexpr int32_t kUseAverageValues = 1;
constexpr int32_t kLnbSupplyMa = 220;

// Antenna plans: the header, then `stepped` carriers from `first` every `step` MHz and one
// closing carrier at `closing` MHz, all at level 75. The closing carrier and the header's counts
// disagree for three bands; the values are kept as the plans have always been written.
struct AntennaPlan {
  int kind;
  std::array<int32_t, 5> params;  // count, level, first, last, regenerate
  int32_t first, step, stepped, closing;
};
constexpr int32_t kAntennaLevel = 75;
constexpr std::array<AntennaPlan, 4> kAntennaPlans{{
    {92, {53, kAntennaLevel, 50, 862, 1}, 50, (862 - 50) / 50, 51, 862},
    {93, {30, kAntennaLevel, 470, 790, 1}, 470, 11, 29, 790},
    {94, {12, kAntennaLevel, 174, 230, 1}, 174, 8, 11, 260},
    {95, {20, kAntennaLevel, 88, 108, 1}, 88, 1, 20, 108},
}};

// What an armed object took that is not yet placed: its source slot or comment text index.
struct Reservation {
  int kind = 0;
  int row = -1;
  int index = -1;
};
Reservation g_reserved;

bool SameFamily(int a, int b) { return a == b || (IsAntenna(a) && IsAntenna(b)); }

// The reservation still belongs to the armed row: nothing committed it, and no placed object uses
// its slot or index (a placed object keeps what it took).
bool ReservationLive() {
  const Reservation& r = g_reserved;
  if (r.kind == 0 || PendingKind != r.kind || PanelOpen != 0 || CurObject != r.row || !ValidObjRow(r.row)) return false;
  if (NetObjects[r.row][kKind] != r.kind || NetObjects[r.row][kInst] != r.index) return false;
  if (r.kind == kCommentKind && r.index != ItemTextCount - 1) return false;
  for (int i = 0; i < r.row && NetObjects[i][kKind] != 0; ++i)
    if (SameFamily(NetObjects[i][kKind], r.kind) && NetObjects[i][kInst] == r.index) return false;
  return true;
}

void GiveBack(const Reservation& r) {
  if (r.kind == kLnbKind && ValidSatSlot(r.index)) SatUsed[r.index] = false;
  else if (IsAntenna(r.kind) && ValidTerrSlot(r.index)) TerrUsed[r.index] = false;
  else if (r.kind == kCommentKind && r.index >= 0 && r.index < kItemTextSlots) {
    GiveBackCommentSlot(r.index);
    ItemTextCount = r.index;
  }
}

// Lowest free slot, counting `reserved` (a slot about to be given back) as free; -1 when none.
template <std::size_t N>
int FreeSlot(const std::array<bool, N>& used, int reserved) {
  for (int s = 0; s < static_cast<int>(N); ++s)
    if (!used[s] || s == reserved) return s;
  return -1;
}

void PutBackPickedUp() {
  if (PanelOpen == 0) return;
  if (const int held = HeldObjectRow(); held >= 0) PutAtPickUpPlace(held);
  PanelOpen = 0;
  PickOffset = {};
  LinePicked = false;
  PendingKind = 0;
  ExtraAngles = 0;
  CurObject = ObjectCount;
}

// Zeroes the rows behind `row` up to the table's end, so no earlier arm's rows linger.
void ClearRowsBehind(int row) {
  for (int i = row + 1; ValidObjRow(i) && NetObjects[i][kKind] != 0; ++i) NetObjects[i] = ObjRow{};
}

int32_t Resolve(int32_t value) {
  if (value == kFromCableKind) return CurCableKind;
  if (value == kFromLastSocket) return LastSocketOrient;
  return value;
}

void WriteLnbPlan(int s) {
  for (auto& band : LnbParams[s]) band.fill(0);
  for (auto& column : SatTables[s]) column.fill(0);
  for (int b = 0; b < 4; ++b) {
    const LnbBand& band = kLnbBands[b];
    LnbParams[s][b][kLnbCarriers] = band.count;
    LnbParams[s][b][kLnbLevel] = band.level;
    LnbParams[s][b][kLnbLowest] = band.first;
    LnbParams[s][b][kLnbHighest] = band.last;
    for (int i = 0; i < band.count; ++i) {
      SatTables[s][SatFreqColumn(b)][i] = band.first + kLnbCarrierStep * i;
      SatTables[s][SatLevelColumn(b)][i] = band.level;
    }
  }
  LnbUseAverage(s) = kUseAverageValues;
  LnbCurrentMa(s) = kLnbSupplyMa;
}

void WriteAntennaPlan(int kind, int s) {
  for (const AntennaPlan& p : kAntennaPlans) {
    if (p.kind != kind) continue;
    TerrParams[s] = p.params;
    for (auto& column : TerrTables[s]) column.fill(0);
    for (int i = 0; i < p.stepped; ++i) {
      TerrTables[s][kTerrFreqs][i] = p.first + p.step * i;
      TerrTables[s][kTerrLevels][i] = kAntennaLevel;
    }
    TerrTables[s][kTerrFreqs][p.stepped] = p.closing;
    TerrTables[s][kTerrLevels][p.stepped] = kAntennaLevel;
  }
}

ArmResult Refused(ArmStatus status, std::string caption, std::string message) {
  ArmResult r;
  r.status = status;
  r.caption = std::move(caption);
  r.message = std::move(message);
  return r;
}

}  // namespace

ArmResult ArmPlacement(int kind, int32_t canvasTag) {
  if (IsNavigation(canvasTag)) return Refused(ArmStatus::kNavigation, "", "");
  const PlacementDefaults* d = FindPlacementDefaults(kind);
  if (!d) return Refused(ArmStatus::kNoCommand, "", "");

  // Refusals come before any change. A slot or index held by an earlier unplaced arm counts as free.
  const Reservation held = ReservationLive() ? g_reserved : Reservation{};
  int slot = -1;
  if (kind == kLnbKind) {
    slot = FreeSlot(SatUsed, held.kind == kLnbKind ? held.index : -1);
    if (slot < 0) return Refused(ArmStatus::kNoLnbSlot, "Note", kLnbLimitMessage);
  } else if (IsAntenna(kind)) {
    slot = FreeSlot(TerrUsed, IsAntenna(held.kind) ? held.index : -1);
    if (slot < 0) return Refused(ArmStatus::kNoAntennaSlot, "", kAntennaLimitMessage);
  } else if (kind == kCommentKind) {
    const int next = held.kind == kCommentKind ? held.index : ItemTextCount;
    if (next < 0 || next >= kItemTextSlots) return Refused(ArmStatus::kNoCommentSlot, "", kCommentLimitMessage);
  }

  PutBackPickedUp();
  if (held.kind != 0) GiveBack(held);
  g_reserved = {};

  EndLevelDisplay();
  PanelOpen = 0;
  // The armed object follows the pointer itself, not at an offset left by an earlier pick-up.
  PickOffset = {};
  if (IsLine(kind)) ExtraAngles = 0;
  PendingKind = static_cast<uint8_t>(kind);

  // Room for the object, its continuation rows and the zero row that ends the table.
  const int continuation = static_cast<int>(d->continuation.size());
  EnsureFreeObjectRows(static_cast<std::size_t>(continuation) + 1);
  SyncRowCompanions();
  const int row = CurObject;
  // An earlier arm's continuation rows must not become this object's, and the zero row right
  // behind the new rows ends the table even where stale rows lie further on.
  ClearRowsBehind(row);
  for (int i = row + 1; i <= row + continuation + 1; ++i) NetObjects[i] = ObjRow{};
  ObjRow& head = NetObjects[row];
  head[kKind] = kind;
  head[kInst] = d->inst == kNotWritten ? 0 : Resolve(d->inst);
  head[kOrient] = d->orient == kNotWritten ? 0 : Resolve(d->orient);
  head[kStyle] = d->style == kNotWritten ? 0 : Resolve(d->style);
  for (int c = 0; c < continuation; ++c) {
    ObjRow& out = NetObjects[row + 1 + c];
    for (int f = 0; f < kObjFields; ++f) {
      const int32_t v = d->continuation[c][f];
      out[f] = v == kNotWritten ? 0 : v;
    }
  }

  if (kind == kLnbKind) {
    SatUsed[slot] = true;
    head[kInst] = slot;
    WriteLnbPlan(slot);
    g_reserved = {kind, row, slot};
  } else if (IsAntenna(kind)) {
    TerrUsed[slot] = true;
    head[kInst] = slot;
    WriteAntennaPlan(kind, slot);
    g_reserved = {kind, row, slot};
  } else if (kind == kCommentKind) {
    head[kInst] = ItemTextCount;
    LendCommentSlot(ItemTextCount, kNewCommentText);
    g_reserved = {kind, row, ItemTextCount};
    ++ItemTextCount;
  }

  if (kind == kModulatorZirn && Hooks().selectTvStandard) Hooks().selectTvStandard(NetObjects[row + 1][kHdmiStandard]);
  if (HasSymbol(kind)) {
    StoreObjGlyph(row, MakeObjectGlyph(row));
    // A kind without value labels still shows its designator while designators are on.
    if (d->labels || OptionControls.CheckBox2) DrawObjectLabels(row);
  }
  if (kind != kSocketKind) AutoScrollDY = 0;

  ArmResult result;
  result.showLineHint = kind == 201 || kind == 202;
  return result;
}

void CancelPlacement() {
  if (PanelOpen != 0) {
    PutBackPickedUp();
    return;
  }
  if (ReservationLive()) GiveBack(g_reserved);
  g_reserved = {};
  if (PendingKind == 0) return;
  if (ValidObjRow(CurObject)) {
    ClearRowsBehind(CurObject);
    NetObjects[CurObject] = ObjRow{};
    StoreObjGlyph(CurObject, Bitmap());
  }
  PendingKind = 0;
  ExtraAngles = 0;
}

}  // namespace kavrix

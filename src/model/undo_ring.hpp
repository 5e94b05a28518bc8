#pragma once
// The undo ring: a fixed ring of 1001 entries in which every edit records the state it is about
// to change, grouped by EditSerial. Recording and replay work on the model arrays only; the
// symbols of rows that change are rebuilt through Hooks() and the window shows the message.
#include <array>
#include <cstdint>
#include <string>

#include "model/network_model.hpp"

namespace kavrix {

// What an entry restores (entry field 1). Kinds 100..103 restore channel rows of terrestrial slot
// kind - 100.
enum UndoKind : int32_t {
  kUndoNone = 0,
  kUndoAdded = 1,
  kUndoMove = 2,
  kUndoDelete = 3,
  kUndoLnbHeader = 4,
  kUndoLnbCarriers = 5,
  kUndoRotate = 6,
  kUndoInlineEdit = 7,
  kUndoSettings = 8,
  kUndoTerrHeader = 9,
  kUndoLineDrag = 12,
  kUndoTerrChannels = 100,
};

// Fields of an entry: serial, kind, index, then six saved values.
enum UndoField { kUndoSerial = 0, kUndoKindField = 1, kUndoIndex = 2, kUndoValue1 = 3 };

// The saved values by entry kind.
// Row kinds (move, delete, rotate, inline edit, settings, line drag): row field f at
// kUndoRowFields + f; a line drag leaves the Kind's place unwritten.
constexpr int kUndoRowFields = kUndoValue1;
// LNB header: the band, then the band's five header values.
constexpr int kUndoLnbBand = kUndoValue1;
constexpr int kUndoLnbValues = kUndoValue1 + 1;
// LNB carriers: carrier row j (1..31), polarisation (0 horizontal, 1 vertical), then the low
// band's frequency and level and the high band's frequency and level of that row.
constexpr int kUndoCarrierRow = kUndoValue1;
constexpr int kUndoPolarisation = kUndoValue1 + 1;
constexpr int kUndoCarrierCells = kUndoValue1 + 2;
constexpr int kUndoCarrierCellCount = 4;
// Terrestrial header: its five values.
constexpr int kUndoTerrHeaderValues = kUndoValue1;
// Terrestrial channels: frequency and level of channel rows index, index + 1, index + 2.
constexpr int kUndoChannelRows = 3;
constexpr int UndoChannelFreq(int k) { return kUndoValue1 + 2 * k; }
constexpr int UndoChannelLevel(int k) { return UndoChannelFreq(k) + 1; }
static_assert(UndoChannelLevel(kUndoChannelRows - 1) + 1 == std::tuple_size_v<UndoEntry>);

constexpr int kUndoLast = kUndoEntries - 1;  // 1000
// An action filling this many consecutive entries is too large to undo.
constexpr int kUndoCapacityLimit = 998;
inline constexpr const char* kUndoCapacityMessage = "Cannot undo last step because buffer capacity was overspent";

// Geometry of a line at pick-up, written by the canvas and read by PushUndo(kUndoLineDrag, row).
struct LineEditSaved {
  int32_t X = 0;
  int32_t Y = 0;
  int32_t Orient = 0;
  std::array<int32_t, 5> Bend{};  // fields 1..5 of the row after the line
};
extern LineEditSaved LineEditSave;

// Records, at UndoPos and under the current EditSerial, what `kind` restores for `index` (an object
// row, or a terrestrial slot for kinds 9 and 100 + s). Unknown kinds, rows outside the table and
// slots outside 0..3 write nothing.
void PushUndo(int kind, int index);

// Index of the newest entry (UndoPos - 1, or 1000 when UndoPos is 0).
int NewestUndoEntry();

// The Edit menu's Undo is enabled exactly when this holds.
bool UndoEnabled();

struct UndoOutcome {
  bool undone = false;   // the model was changed
  std::string message;   // text to show, empty when none
};

// Reverts the newest action (every entry with the newest serial), newest entry first. Nothing to
// undo, or an action too large for the ring, leaves the model unchanged.
UndoOutcome UndoLastStep();

// Regenerates band b of SatTables[s] from LnbParams[s][b]; a count outside 2..31 leaves the band
// cleared.
void RegenerateLnbBand(int s, int b);
// Regenerates TerrTables[s] from TerrParams[s] as the source panel builds it (entries 0..count);
// a count outside 1..100 leaves the table cleared.
void RegenerateTerrTable(int s);

// One user action: every PushUndo made while it lives shares one serial, and leaving it by any
// path (early returns and cancels included) advances EditSerial once. A command that clicks
// another command (Tune clicks the control reset) opens its step first; the inner steps then
// belong to it and do not advance the serial themselves.
class EditStep {
 public:
  EditStep() { ++s_depth; }
  ~EditStep() {
    if (--s_depth == 0) ++EditSerial;
  }
  EditStep(const EditStep&) = delete;
  EditStep& operator=(const EditStep&) = delete;

 private:
  static inline int s_depth = 0;
};

}  // namespace kavrix

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

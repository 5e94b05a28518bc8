#include "simulation/control_reset.hpp"

#include <array>

#include "model/committed_drawing.hpp"
#include "catalogue/knob_table.hpp"
#include "catalogue/type_catalogue.hpp"
#include "model/network_model.hpp"
#include "model/undo_ring.hpp"
#include "simulation/level_tuning.hpp"

namespace kavrix {

int ResetControlSettings() {
  int records = 0;
  const int rows = static_cast<int>(NetObjects.size());
  for (int r = 0; r < rows; ++r) {
    const int kind = NetObjects[r][kKind];
    if (kind < 1 || kind > 199) continue;
    const int first = TypeOf(kind)[kFirstKnob];
    if (first <= 0 || first >= kKnobRecordCount) continue;
    const int span = tuning::ObjectSpan(r);
    std::array<bool, tuning::kMaxRowOffset + 1> saved{};
    const int count = KnobTable[first][kKnobCount];
    for (int i = 0; i < count && first + i < kKnobRecordCount; ++i) {
      const KnobRecord& knob = KnobTable[first + i];
      const int offset = knob[kKnobRowOffset];
      const int column = knob[kKnobColumn];
      // Only the object's own row and its continuation rows; the Kind field of the object row
      // itself is never a setting.
      if (offset < 0 || offset >= span || offset > tuning::kMaxRowOffset) continue;
      if (column < 0 || column >= kObjFields || (column == 0 && offset == 0)) continue;
      int32_t& cell = NetObjects[r + offset][column];
      const bool moved = column > 0 ? cell != 0 : cell < -1;
      if (moved && !saved[offset]) {
        PushUndo(kUndoSettings, r + offset);
        saved[offset] = true;
        ++records;
      }
      cell = column > 0 ? 0 : -1;
    }
    if (Hooks().rowLabelsChanged) Hooks().rowLabelsChanged(r);
  }
  return records;
}

void ControlReset(const CommandClicks& clicks) {
  const CommittedDrawing committed;
  EditStep step;
  ResetControlSettings();
  if (clicks.analyze) clicks.analyze();
}

}  // namespace kavrix

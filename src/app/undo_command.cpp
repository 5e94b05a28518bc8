#include "app/undo_command.hpp"

#include <QWidget>

#include "editor/placement_commands.hpp"
#include "model/network_model.hpp"
#include "model/undo_ring.hpp"
#include "model/window_modes.hpp"
#include "platform/platform.hpp"

namespace kavrix {

namespace {

class BusyCursor {
 public:
  BusyCursor() { platform::Current().setBusyCursor(true); }
  ~BusyCursor() { platform::Current().setBusyCursor(false); }
  BusyCursor(const BusyCursor&) = delete;
  BusyCursor& operator=(const BusyCursor&) = delete;
};

}  // namespace

bool Undo1Click(QWidget* canvas) {
  UndoOutcome outcome;
  {
    BusyCursor busy;
    // An armed or picked-up object sits outside the recorded rows; undo shifts rows below it,
    // so it is dropped (or put back) first, as the palette commands do.
    if (PendingKind != 0 || PanelOpen != 0) CancelPlacement();
    outcome = UndoLastStep();
    if (outcome.undone) {
      // Results of a former run no longer belong to the drawing, and the drawing no longer is
      // what was saved: Save must be offered and closing must ask.
      EndLevelDisplay();
      ProjectModified = true;
      if (canvas) canvas->update();
    }
  }
  if (!outcome.message.empty()) platform::ShowMessage(outcome.message);
  return outcome.undone;
}

bool Undo1Enabled() { return UndoEnabled(); }

}  // namespace kavrix

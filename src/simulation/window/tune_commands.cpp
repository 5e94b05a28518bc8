#include "simulation/window/tune_commands.hpp"

#include <utility>

#include "platform/platform.hpp"
#include "simulation/control_reset.hpp"
#include "simulation/level_tuning.hpp"
#include "simulation/structure_optimisation.hpp"

namespace kavrix {

CommandClicks WithPlatformCursor(CommandClicks clicks) {
  if (!clicks.busy) clicks.busy = [](bool on) { platform::Current().setBusyCursor(on); };
  return clicks;
}

void ToolButton93Click(const CommandClicks& clicks) { ControlReset(clicks); }

void ToolButton86Click(const CommandClicks& clicks) { Tune(WithPlatformCursor(clicks)); }

void Optimizationofnetwork1Click(const CommandClicks& clicks) {
  const OptimisationOutcome out = OptimizeStructure(WithPlatformCursor(clicks));
  if (!out.message.empty()) platform::ShowMessage(out.message);
}

}  // namespace kavrix

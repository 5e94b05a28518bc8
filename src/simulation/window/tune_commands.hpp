#pragma once
// Handlers of the toolbar buttons and menu items of the control reset, Tune and the structure
// optimisation. The main window passes its own button clicks; the handlers show the hourglass
// and any message through the platform.
#include "simulation/command_clicks.hpp"

namespace kavrix {

// Fills the busy click with the platform's hourglass when the window left it empty.
CommandClicks WithPlatformCursor(CommandClicks clicks);

void ToolButton93Click(const CommandClicks& clicks);           // "Returns controls to initial position"
void ToolButton86Click(const CommandClicks& clicks);           // "Tune"
void Optimizationofnetwork1Click(const CommandClicks& clicks); // "Adjustment with optimizing structure"

}  // namespace kavrix

#pragma once
// "Returns controls to initial position": every adjustable setting of every placed component
// goes back to its initial value (with undo records under one edit serial), then the network
// is analysed again.
#include "simulation/command_clicks.hpp"

namespace kavrix {

// Resets the settings named by each kind's knob records; returns the number of undo records made.
int ResetControlSettings();

// The whole command: reset, the analysis click, one edit serial advanced.
void ControlReset(const CommandClicks& clicks);

}  // namespace kavrix

#pragma once
// Filling of the Analyzer's charts for one node pin that a level probe matched: the pin's levels
// (less the socket cable and socket loss when a socket end was probed), the project's limit lines
// where the levels come near them, markers for a device's own maximum, the input windows of the
// two IP streamers and the 7-point display of 5-cable trunk lines, plus the axis ranges.
#include "editor/level_display.hpp"
#include "simulation/window/analyzer_model.hpp"

namespace kavrix {

void FillPinCharts(AnalyzerModel& analyzer, ProbeState& st, int node, int port);

}  // namespace kavrix

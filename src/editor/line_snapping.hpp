#pragma once
// Cable line ends and device terminals. A line being drawn is always the row CurObject with its
// geometry row behind it; its ends snap onto the terminals that the port templates give, turned
// by the device's orientation with the same rotation the node builder and the painting use. The
// functions work on the model only and return the message the window is to show.
#include <string>

#include "catalogue/geometry.hpp"

namespace kavrix {

inline constexpr const char* kUnsuitableCableMessage = "This cable line is not suitable for this input";
inline constexpr const char* kFiveCableUnsuitableMessage = "5 cable trunk line is not suitable in this case";

// A terminal within reach of a point: the device row, the index of the terminal's template row
// among the device's terminal rows, and the path number of that row.
struct TerminalFind {
  int row = -1;
  int index = -1;
  int path = 0;
  bool found() const { return row >= 0; }
};

// First device terminal (outputs or inputs) within 10 pixels of (x, y) on both axes, in row order
// and then template order; no nearest-terminal comparison.
TerminalFind FindTerminal(int x, int y, bool outputs);

// Point of pin offset (dx, dy) of a device row on the drawing.
Point TerminalPoint(int row, int dx, int dy);

struct SnapResult {
  bool found = false;
  std::string message;  // empty when there is nothing to tell
};

// Terminal search at the start of the line (outputs) and at its end (inputs). A find sets SnapX,
// SnapY, the line's orientation and its route style or cable number; (0, 0) means none.
SnapResult SnapLineStart(int x, int y);
SnapResult SnapLineEnd(int x, int y);

// Start click of the line at CurObject: the start snaps to an output, else to an input, else stays
// at (x, y). With "Cancel input,output capture" checked nothing snaps.
SnapResult StartLineAt(int x, int y);

struct LineEnd {
  bool rejected = false;  // the end lies on the start: the line is not committed
  std::string message;
};
// End click of the line at CurObject: its last drawn leg is corrected onto a terminal in reach.
LineEnd FinishLineAt(int x, int y);

}  // namespace kavrix

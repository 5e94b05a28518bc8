#pragma once
// Named values of the two window modes that every layer reads: the canvas window's editing mode
// (its Tag) and the main window's state (its Tag, kept in Form1Tag so the run can set it).
#include <cstdint>

namespace kavrix {

// Canvas window `Tag`.
enum CanvasMode : int32_t {
  kCanvasIdle = 0,         // nothing selected
  kCanvasSelecting = 1,    // selection rectangle being dragged
  kCanvasSelected = 2,     // selection made
  kCanvasMoving = 3,       // selection being moved or copied
  kCanvasNavigation = 10,  // navigation overview (10 and above)
};
constexpr bool IsNavigation(int32_t canvasTag) { return canvasTag >= kCanvasNavigation; }

// Main window `Tag` (Form1Tag).
enum MainMode : int32_t {
  kMainEditing = 0,
  kMainLevelsShown = 1,    // a run's levels are on show
  kMainInlineEditor = 2,   // an editor opened by a double click is active
};

}  // namespace kavrix

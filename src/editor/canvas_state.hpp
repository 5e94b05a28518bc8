#pragma once
// The canvas editor's shared state. One canvas window exists; its mouse and key handling,
// painting, the click that commits edits, the property panels, the palette commands and the
// level display all read and write these variables. Units are canvas pixels unless a name says
// client (canvas minus scroll).
#include <cstdint>

#include "model/window_modes.hpp"

namespace kavrix {

struct IntPoint {
  int32_t X = 0;
  int32_t Y = 0;
  friend bool operator==(const IntPoint&, const IntPoint&) = default;
};

// `SelRect`: canvas coordinates, fields in the order the editor keeps them.
struct SelectionRect {
  int32_t Left = 0;
  int32_t Right = 0;
  int32_t Top = 0;
  int32_t Bottom = 0;
  friend bool operator==(const SelectionRect&, const SelectionRect&) = default;
};

// `SelFrame`: the selection normalised, in client coordinates.
struct FrameRect {
  int32_t Left = 0;
  int32_t Top = 0;
  int32_t Right = 0;
  int32_t Bottom = 0;
  friend bool operator==(const FrameRect&, const FrameRect&) = default;
};

extern int32_t ScrollX;         // scroll position, a multiple of GridStep
extern int32_t ScrollY;
extern IntPoint PickOffset;     // pointer offset from a picked-up object's X, Y
extern SelectionRect SelRect;
extern FrameRect SelFrame;
extern IntPoint MoveAnchor;     // canvas point where a selection move started
extern IntPoint MoveDelta;      // snapped offset of the moved selection
extern uint8_t CopyNotMove;     // 1: the selection drag copies
extern uint8_t CtrlDown;        // Ctrl held while moving
extern int32_t ExtraAngles;     // bends of the line being drawn (0..4); 0 = no line started
extern int32_t AutoScrollDX;    // auto-scroll steps per tick (AutoScrollDY lives in the model)
extern int32_t MouseX;          // snapped canvas point under the cursor
extern int32_t MouseY;
extern uint8_t InlineEdit;      // an editor opened by a double click is open
extern int32_t ClickMode;       // main window state taken at the start of every click
extern int32_t SnapX;           // terminal found by the line snapping
extern int32_t SnapY;
extern bool LinePicked;         // a line object is picked for editing
extern uint8_t InSelectionDraw; // the row being drawn lies in the selection
extern IntPoint BoxPos;         // navigation overview's view box, client coordinates
extern IntPoint BoxGrab;
extern IntPoint BoxSize;

// The state as the canvas window's creation leaves it.
void ResetCanvasState();

}  // namespace kavrix

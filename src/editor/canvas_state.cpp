#include "editor/canvas_state.hpp"

namespace kavrix {

int32_t ScrollX = 0;
int32_t ScrollY = 0;
IntPoint PickOffset;
SelectionRect SelRect;
FrameRect SelFrame;
IntPoint MoveAnchor;
IntPoint MoveDelta;
uint8_t CopyNotMove = 0;
uint8_t CtrlDown = 0;
int32_t ExtraAngles = 0;
int32_t AutoScrollDX = 0;
int32_t MouseX = 0;
int32_t MouseY = 0;
uint8_t InlineEdit = 0;
int32_t ClickMode = 0;
int32_t SnapX = 0;
int32_t SnapY = 0;
bool LinePicked = false;
uint8_t InSelectionDraw = 0;
IntPoint BoxPos;
IntPoint BoxGrab;
IntPoint BoxSize;

void ResetCanvasState() {
  ScrollX = ScrollY = 0;
  PickOffset = {};
  SelRect = {};
  SelFrame = {};
  MoveAnchor = {};
  MoveDelta = {};
  CopyNotMove = 0;
  CtrlDown = 0;
  ExtraAngles = 0;
  AutoScrollDX = 0;
  MouseX = MouseY = 0;
  InlineEdit = 0;
  ClickMode = 0;
  SnapX = SnapY = 0;
  LinePicked = false;
  InSelectionDraw = 0;
  BoxPos = {};
  BoxGrab = {};
  BoxSize = {};
}

}  // namespace kavrix

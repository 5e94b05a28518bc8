#pragma once
// The edits that a canvas click makes final, as functions over the model: committing an armed
// object, putting down or picking up an object, and committing a move or copy of the selection.
// Each commit is one undo step and keeps the table's growth rules: the rows it appends are added
// to NetObjects (so that the free rows behind CurObject stay as many as before), ObjGlyphs
// follows, and the calculation arrays grow by what the object needs in a run. The canvas window's
// click handler (TForm5::FormClick) calls them and shows what they return.
#include <string>

#include "editor/canvas_state.hpp"

namespace kavrix {

inline constexpr const char* kSourceCopyDroppedMessage =
    "This application supports networks with up to 4 LNB and up to 4 terrestrial source components!";

struct ClickCommit {
  bool rejected = false;  // a line whose end lies on its start stays in drawing
  std::string message;    // from the line's end snapping; empty when none
};

// Commits the armed object at CurObject, already placed at the click: a device, comment or
// socket, or a line whose start is set (its end is snapped at (x, y) first).
ClickCommit CommitArmedObject(int x, int y);

// Puts down the picked-up object at CurObject; a line whose start is set gets its end snapped at
// (x, y). Records the geometry from before the pick-up when it changed.
ClickCommit PutDownPickedUp(int x, int y);

// Picks up row `row`, clicked at (x, y): it follows the pointer until the next click.
void PickUpObject(int row, int x, int y);

struct SelectionCommit {
  bool sourceDropped = false;  // a copied source found no free slot
  int maxX = 0;                // largest X and Y of the objects visited
  int maxY = 0;
};
// Moves the objects strictly inside SelRect by MoveDelta, or copies them there (CopyNotMove).
SelectionCommit CommitSelectionMoveCopy();

// What a click does to a made selection: one strictly inside starts its move or copy, one
// outside ends it, one on its edge leaves it be. A click whose press went down outside the
// selection ends it wherever the snapped point falls: what the user pressed on decides.
enum class SelectionClick { kKeep, kStartMove, kEnd };
SelectionClick ClickOnSelection(const SelectionRect& sel, int x, int y, bool pressedOutside);

}  // namespace kavrix

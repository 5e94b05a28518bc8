#pragma once
// Rules of the canvas that its pointer handlers and click apply: when a dragged rectangle becomes
// a selection, and how far the scroll ranges grow when an edit reaches their end. Plain values in
// and out; the window reads the pointer and stores the results.
#include "editor/canvas_state.hpp"

namespace kavrix {

// A drag starts selecting once it is at least 11 pixels high and began below the canvas's top
// row; its width does not count until the release.
bool SelectionDragStarts(const SelectionRect& r);

// Normalises the dragged rectangle with the release point (x, y); true when it is at least 11
// pixels wide, which makes it a selection.
bool ReleaseSelection(SelectionRect& r, int x, int y);

// Scroll range after an object was placed at `at` on its axis: 200 more once `at` comes within
// 100 pixels of the end.
int ScrollRangeAfterPlacing(int range, int at);

// Scroll range after a move or copy whose objects reach `largest` on its axis: the objects stay
// within reach with a margin of 200.
int ScrollRangeAfterSelectionCommit(int range, int largest);

}  // namespace kavrix

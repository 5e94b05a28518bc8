#pragma once
// Drawing of the network's objects into any bitmap, and the hit test that finds the object under
// a canvas point. One routine serves the screen's back buffer, the whole-drawing bitmap of
// printing and picture export, and the navigation overview.
#include <array>

#include "symbols/canvas_surface.hpp"

namespace kavrix {

// The whole-drawing bitmap: DrawComponent draws into it in canvas coordinates (no scroll offset).
extern Bitmap PrintBitmap;

// Cable colours 1..14 as $00BBGGRR (entry 0 unused): cable k (1..7) under arrangement digit a
// (1 or 2) is entry 7 * (a - 1) + k.
extern const std::array<TColor, 15> LevelColors;
// LevelColors of cable `cable` under arrangement `digit`; black for a pair outside the table
// (route styles and colour codes come from project files).
TColor CableColour(int digit, int cable);

// Draws row `row` of NetObjects into `target`: client coordinates (canvas minus scroll), or
// canvas coordinates when `target` is PrintBitmap. Nothing for a row whose Kind is below 1.
void DrawComponent(int row, Bitmap& target);
// The same with the drawing point at canvas point minus (originX, originY): pass (0, 0) to draw
// a whole-drawing bitmap other than PrintBitmap (printing while the overview holds it).
void DrawComponent(int row, Bitmap& target, int originX, int originY);

// One cable of a line, drawn from the line's drawing point (X, Y) with leg lengths L1 (vertical),
// L2 (horizontal), L3 (vertical), L4 (horizontal). Orientation 1 and 3 start with the vertical
// leg, 2 and 4 with the horizontal one; 3 and 4 turn every offset correction the other way.
// The canvas keeps its brush between cables, as the end dot of one cable shows.
void DrawCableOrient1(int X, int Y, int L1, int L2, int L3, int L4, int offset, int cable, int startDigit,
                      int endDigit, int threshold, int penWidth, bool always, Canvas& target);
void DrawCableOrient2(int X, int Y, int L1, int L2, int L3, int L4, int offset, int cable, int startDigit,
                      int endDigit, int threshold, int penWidth, bool always, Canvas& target);
void DrawCableOrient3(int X, int Y, int L1, int L2, int L3, int L4, int offset, int cable, int startDigit,
                      int endDigit, int threshold, int penWidth, bool always, Canvas& target);
void DrawCableOrient4(int X, int Y, int L1, int L2, int L3, int L4, int offset, int cable, int startDigit,
                      int endDigit, int threshold, int penWidth, bool always, Canvas& target);

// Page borders every PageWidthPx / PageHeightPx drawing units over a window of the given client
// size at the current scroll position. A page size of 0 or less draws nothing in that direction.
void DrawGrid(Bitmap& target, int clientWidth, int clientHeight);

// The row under canvas point (x, y), or -1. Objects without a symbol are never found.
int HitTestComponent(int x, int y);

}  // namespace kavrix

#pragma once
// Drawing of the network's objects into any bitmap, and the hit test that finds the object under
// a canvas point. One routine serves the screen's back buffer, the whole-drawing bitmap of
// printing and picture export, and the navigation overview.
#include "symbols/canvas_surface.hpp"

namespace kavrix {

// The whole-drawing bitmap: DrawComponent draws into it in canvas coordinates (no scroll offset).
extern Bitmap PrintBitmap;

// Draws row `row` of NetObjects into `target`: client coordinates (canvas minus scroll), or
// canvas coordinates when `target` is PrintBitmap. Nothing for a row whose Kind is below 1.
void DrawComponent(int row, Bitmap& target);

// The row under canvas point (x, y), or -1.
int HitTestComponent(int x, int y);

}  // namespace kavrix

#pragma once
// The drawing's extent (right-most and lowest point any object or line reaches, plus a margin)
// and the navigation zoom. Symbol sizes come from the caller, so the computation needs no bitmaps.
#include <cstdint>
#include <functional>

namespace kavrix {

// Scale of the navigation mode, set by the navigation command.
extern double ZoomFactor;

constexpr int kDrawExtentMargin = 15;

// Width and height of the composed symbol of `row`; false when the row has no symbol.
using SymbolSizeFn = std::function<bool(int row, int& width, int& height)>;

struct DrawingExtent {
  int32_t x = 0;
  int32_t y = 0;
};

// Extent over the rows of NetObjects up to the first row of kind 0. An object without a symbol
// counts with its point (a 0 x 0 symbol); a trunk line with its outer cables (LineReach); a line
// whose bend row lies past the table's end counts with its start point only.
DrawingExtent ComputeDrawingExtent(const SymbolSizeFn& symbolSize);

// Sets DrawExtentX and DrawExtentY from ComputeDrawingExtent. Without an argument the symbol
// sizes come from Hooks().symbolSize (none: every object counts with its point).
void CalcDrawingExtent(const SymbolSizeFn& symbolSize);
void CalcDrawingExtent();

// value x ZoomFactor, rounded half to even.
int32_t ScaleToZoom(int32_t value);

}  // namespace kavrix

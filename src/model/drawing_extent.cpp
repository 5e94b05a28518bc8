#include "model/drawing_extent.hpp"

#include <algorithm>

#include "model/network_model.hpp"
#include "model/object_rows.hpp"
#include "model/number_text.hpp"

namespace kavrix {

double ZoomFactor = 1.0;

DrawingExtent ComputeDrawingExtent(const SymbolSizeFn& symbolSize) {
  DrawingExtent e;
  for (int r = 0; ValidObjRow(r) && NetObjects[r][kKind] != 0; ++r) {
    const ObjRow& o = NetObjects[r];
    const int kind = o[kKind];
    if (kind >= 201 && kind <= 209) {
      e.x = std::max(e.x, o[kX]);
      e.y = std::max(e.y, o[kY]);
      if (!ValidObjRow(r + 1)) continue;
      const LineLegs legs = LineLegs::Of(NetObjects[r + 1]);
      e.x = std::max({e.x, o[kX] + legs.h1, legs.endX(o[kX])});
      e.y = std::max({e.y, o[kY] + legs.v1, legs.endY(o[kY])});
    } else if ((kind >= 1 && kind <= 199) || kind == 210) {
      // A kind drawn as an empty symbol still stands at its point: it counts as 0 x 0.
      int w = 0, h = 0;
      if (!symbolSize || !symbolSize(r, w, h)) w = h = 0;
      e.x = std::max(e.x, o[kX] + w / 2);
      e.y = std::max(e.y, o[kY] + h / 2);
    }
  }
  e.x += kDrawExtentMargin;
  e.y += kDrawExtentMargin;
  return e;
}

void CalcDrawingExtent(const SymbolSizeFn& symbolSize) {
  const DrawingExtent e = ComputeDrawingExtent(symbolSize);
  DrawExtentX = e.x;
  DrawExtentY = e.y;
}

void CalcDrawingExtent() { CalcDrawingExtent(Hooks().symbolSize); }

int32_t ScaleToZoom(int32_t value) { return static_cast<int32_t>(RoundHalfEven(value * ZoomFactor)); }

}  // namespace kavrix

#include "model/drawing_extent.hpp"

#include <algorithm>
#include <cstdint>

#include "model/network_model.hpp"
#include "model/object_rows.hpp"
#include "model/number_text.hpp"

namespace kavrix {

double ZoomFactor = 1.0;

DrawingExtent ComputeDrawingExtent(const SymbolSizeFn& symbolSize) {
  // Sums in 64 bits, kept to an Integer at the end: rows from a damaged file may hold any value.
  int64_t ex = 0, ey = 0;
  for (int r = 0; ValidObjRow(r) && NetObjects[r][kKind] != 0; ++r) {
    const ObjRow& o = NetObjects[r];
    const int kind = o[kKind];
    if (kind >= 201 && kind <= 209) {
      int64_t x = o[kX], y = o[kY];
      if (ValidObjRow(r + 1)) {
        const LineLegs legs = LineLegs::Of(NetObjects[r + 1]);
        x = std::max({x, x + legs.h1, x + legs.h1 + legs.h2});
        y = std::max({y, y + legs.v1, y + legs.v1 + legs.v2});
      }
      // Trunk lines draw their outer cables beside the route, on either side by orientation.
      ex = std::max(ex, x + LineReach(kind));
      ey = std::max(ey, y + LineReach(kind));
    } else if ((kind >= 1 && kind <= 199) || kind == 210) {
      // A kind drawn as an empty symbol still stands at its point: it counts as 0 x 0.
      int w = 0, h = 0;
      if (!symbolSize || !symbolSize(r, w, h)) w = h = 0;
      ex = std::max(ex, int64_t{o[kX]} + w / 2);
      ey = std::max(ey, int64_t{o[kY]} + h / 2);
    }
  }
  const auto fit = [](int64_t v) { return static_cast<int32_t>(std::min<int64_t>(v + kDrawExtentMargin, INT32_MAX)); };
  return {fit(ex), fit(ey)};
}

void CalcDrawingExtent(const SymbolSizeFn& symbolSize) {
  const DrawingExtent e = ComputeDrawingExtent(symbolSize);
  DrawExtentX = e.x;
  DrawExtentY = e.y;
}

void CalcDrawingExtent() { CalcDrawingExtent(Hooks().symbolSize); }

int32_t ScaleToZoom(int32_t value) { return static_cast<int32_t>(RoundHalfEven(value * ZoomFactor)); }

}  // namespace kavrix

#include "editor/line_drawing.hpp"

#include <cstdlib>

namespace kavrix {
namespace {

constexpr int kHintLeg = 30;  // a first horizontal leg longer than this earns the Space hint

}  // namespace

int MinimumLeg(int kind) {
  if (kind == kFiveCableLine) return 40;
  if (kind == kFourCableLine) return 30;
  return 0;
}

DraggedBends DragBends(int kind, int orient, int extraAngles, LineLegs legs, int dx, int dy) {
  DraggedBends out;
  const bool verticalFirst = orient % 2 != 0;
  if (extraAngles == 1) legs = {dy, dx, 0, 0};
  out.spaceHint = (legs.h1 < -kHintLeg || legs.h1 > kHintLeg) && extraAngles < 3;
  // A second corner moves the leg after the first; a third moves the last two.
  if (extraAngles == 2 && verticalFirst) {
    legs.h1 = dx;
    legs.v2 = dy - legs.v1;
  } else if (extraAngles == 2) {
    legs.h2 = dx - legs.h1;
    legs.v1 = dy;
  }
  if (extraAngles == 3) {
    legs.v2 = dy - legs.v1;
    legs.h2 = dx - legs.h1;
  }
  const int minLeg = MinimumLeg(kind);
  auto straighten = [minLeg](int32_t& leg) {
    if (std::abs(leg) < minLeg) leg = 0;
  };
  // The first leg stays whatever its length.
  if (!verticalFirst) straighten(legs.v1);
  if (verticalFirst) straighten(legs.h1);
  straighten(legs.v2);
  straighten(legs.h2);
  out.legs = legs;
  return out;
}

int NextRouteStyle(int style, int extraAngles) {
  // Styles below 13 start in arrangement 1, the others in arrangement 2.
  if (style < 13) {
    if (extraAngles == 0) return 22;
    if (style < 12) return 12;
    return style == 12 ? 11 : style;
  }
  if (extraAngles == 0) return 11;
  if (style == 22) return 21;
  return style < 22 ? 22 : style;
}

}  // namespace kavrix

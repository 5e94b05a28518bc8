#pragma once
// The rules of a cable line being drawn, over its legs alone: how the bends follow the pointer,
// how short a trunk line's leg may be before it straightens, and how Shift changes a trunk line's
// cable arrangement. The canvas window reads the pointer and the keys, calls these, and stores
// the result in the line's continuation row.
#include "model/object_rows.hpp"

namespace kavrix {

constexpr int kFiveCableLine = 201;
constexpr int kFourCableLine = 202;
constexpr bool IsTrunkLineKind(int kind) { return kind == kFiveCableLine || kind == kFourCableLine; }

// Shortest leg a line of `kind` keeps after its first: a trunk line cannot turn in less than its
// own width; other lines keep every leg.
int MinimumLeg(int kind);

// The legs of a line of `kind` and `orient` whose start is set and that has `extraAngles` corners
// (1..3), with the pointer at (dx, dy) from its start. `spaceHint`: the hint that Space adds a
// corner is shown, judged on the first horizontal leg as the first corner leaves it.
struct DraggedBends {
  LineLegs legs;
  bool spaceHint = false;
};
DraggedBends DragBends(int kind, int orient, int extraAngles, LineLegs legs, int dx, int dy);

// Route style after Shift on a trunk line with `extraAngles` corners. Before its start is set
// Shift swaps the whole arrangement (11 and 22); after it, only the end's (11 and 12, 21 and 22).
int NextRouteStyle(int style, int extraAngles);

}  // namespace kavrix

// The rules of a line being drawn and of the canvas's selection and scroll ranges, on plain values.
#include "editor/line_drawing.hpp"

#include <gtest/gtest.h>

#include <ostream>
#include <vector>

#include "editor/canvas_rules.hpp"

namespace kavrix {
inline void PrintTo(const LineLegs& l, std::ostream* os) {
  *os << '{' << l.v1 << ", " << l.h1 << ", " << l.v2 << ", " << l.h2 << '}';
}

namespace {

struct BendCase {
  int kind, orient, extraAngles;
  LineLegs before;
  int dx, dy;
  LineLegs after;
  bool hint;
};

class DragBendsTest : public ::testing::TestWithParam<BendCase> {};

TEST_P(DragBendsTest, LegsFollowThePointerAndShortTrunkLegsStraighten) {
  const BendCase& c = GetParam();
  const DraggedBends out = DragBends(c.kind, c.orient, c.extraAngles, c.before, c.dx, c.dy);
  EXPECT_EQ(out.legs, c.after);
  EXPECT_EQ(out.spaceHint, c.hint);
}

// A trunk leg just under the cable width collapses, one at the width stays; the first leg stays
// whatever its length. The Space hint needs a first horizontal leg beyond 30, as drawn before it
// straightens, and fewer than three corners.
INSTANTIATE_TEST_SUITE_P(Corners, DragBendsTest, ::testing::Values(
    BendCase{203, 1, 1, {5, 5, 7, 7}, 31, 12, {12, 31, 0, 0}, true},
    BendCase{203, 1, 1, {}, 30, 12, {12, 30, 0, 0}, false},
    BendCase{201, 1, 1, {}, 39, 8, {8, 0, 0, 0}, true},
    BendCase{201, 1, 1, {}, -40, 8, {8, -40, 0, 0}, true},
    BendCase{202, 2, 1, {}, 29, 29, {0, 29, 0, 0}, false},
    BendCase{202, 2, 1, {}, 29, -30, {-30, 29, 0, 0}, false},
    BendCase{203, 1, 2, {60, 50, 0, 0}, 80, 100, {60, 80, 40, 0}, true},
    BendCase{203, 2, 2, {60, 50, 0, 0}, 80, 100, {100, 50, 0, 30}, true},
    BendCase{201, 1, 3, {60, 50, 70, 0}, 89, 99, {60, 50, 0, 0}, false},
    BendCase{201, 1, 3, {60, 50, 70, 0}, 90, 100, {60, 50, 40, 40}, false}));

TEST(RouteStyleTest, ShiftSwapsTheWholeArrangementBeforeTheStartAndTheEndDigitAfter) {
  std::vector<int> seen;
  for (int style = 22, i = 0; i < 4; ++i) seen.push_back(style = NextRouteStyle(style, 0));
  EXPECT_EQ(seen, (std::vector<int>{11, 22, 11, 22}));
  EXPECT_EQ(NextRouteStyle(11, 1), 12);
  EXPECT_EQ(NextRouteStyle(12, 2), 11);
  EXPECT_EQ(NextRouteStyle(21, 1), 22);
  EXPECT_EQ(NextRouteStyle(22, 3), 21);
}

// A drag 11 pixels high starts selecting, 10 does not, nor one that began on the top row; the
// release keeps it only when it is 11 wide.
TEST(SelectionSizeTest, ElevenPixelsHighStartsAndElevenWideStays) {
  EXPECT_TRUE(SelectionDragStarts({100, 200, 50, 61}));
  EXPECT_TRUE(SelectionDragStarts({100, 200, 61, 50}));
  EXPECT_FALSE(SelectionDragStarts({100, 200, 50, 60}));
  EXPECT_FALSE(SelectionDragStarts({100, 200, 0, 60}));
  EXPECT_TRUE(SelectionDragStarts({100, 200, 1, 60}));

  SelectionRect r{110, 0, 80, 0};
  EXPECT_TRUE(ReleaseSelection(r, 99, 20));
  EXPECT_EQ(r, (SelectionRect{99, 110, 20, 80}));
  r = {100, 0, 20, 0};
  EXPECT_FALSE(ReleaseSelection(r, 110, 80));
}

// Placing grows a range by 200 only once the point is less than 100 from its end; a move or copy
// sets it 200 beyond the farthest object once that passes 200 from the end.
TEST(ScrollRangeTest, GrowsOnlyPastItsMargins) {
  EXPECT_EQ(ScrollRangeAfterPlacing(1000, 900), 1000);
  EXPECT_EQ(ScrollRangeAfterPlacing(1000, 901), 1200);
  EXPECT_EQ(ScrollRangeAfterSelectionCommit(1000, 800), 1000);
  EXPECT_EQ(ScrollRangeAfterSelectionCommit(1000, 801), 1001);
}

}  // namespace
}  // namespace kavrix

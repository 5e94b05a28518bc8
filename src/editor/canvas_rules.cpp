#include "editor/canvas_rules.hpp"

#include <algorithm>
#include <cstdlib>

namespace kavrix {
namespace {

constexpr int kSelectionMinimum = 11;  // pixels of height to start, of width to stay
constexpr int kScrollNearEnd = 100;
constexpr int kScrollMargin = 200;

}  // namespace

bool SelectionDragStarts(const SelectionRect& r) {
  return std::abs(r.Bottom - r.Top) >= kSelectionMinimum && r.Top >= 1;
}

bool ReleaseSelection(SelectionRect& r, int x, int y) {
  r.Right = std::max(r.Left, x);
  r.Left = std::min(r.Left, x);
  r.Bottom = std::max(r.Top, y);
  r.Top = std::min(r.Top, y);
  return r.Right - r.Left >= kSelectionMinimum;
}

int ScrollRangeAfterPlacing(int range, int at) { return range - at < kScrollNearEnd ? range + kScrollMargin : range; }

int ScrollRangeAfterSelectionCommit(int range, int largest) {
  return range - kScrollMargin < largest ? largest + kScrollMargin : range;
}

}  // namespace kavrix

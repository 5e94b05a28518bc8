#pragma once
// Quarter-turn geometry of object pins and line ends, shared by graph building, painting, hit
// testing and snapping so that a pin is computed the same way everywhere.
namespace kavrix {

struct Point {
  int x = 0;
  int y = 0;
  friend constexpr bool operator==(Point, Point) = default;
  friend constexpr Point operator+(Point a, Point b) { return {a.x + b.x, a.y + b.y}; }
};

// Turns the offset (dx, dy) by the object's orientation (1..4 quarter turns). Any other
// orientation leaves p untouched, as callers that pre-fill p rely on.
constexpr void RotatePortOffset(int orient, int dx, int dy, Point& p) {
  switch (orient) {
    case 1: p = {dx, dy}; break;
    case 2: p = {dy, -dx}; break;
    case 3: p = {-dx, -dy}; break;
    case 4: p = {-dy, dx}; break;
    default: break;
  }
}

// Convenience form: (0, 0) for an unknown orientation.
constexpr Point Rotated(int orient, int dx, int dy) {
  Point p;
  RotatePortOffset(orient, dx, dy, p);
  return p;
}

// The editor's name for the same turn: (dx, dy) by orientation 1..4, anything else unchanged.
constexpr void RotatePoint(int dx, int dy, int orient, Point& p) { RotatePortOffset(orient, dx, dy, p); }

// Nearest multiple of `step` to v, halves to even (the pointer and scroll positions snap so).
constexpr int SnapToGrid(int v, int step) {
  if (step <= 0) return v;
  int q = v / step;
  int r = v % step;
  if (r < 0) { r += step; --q; }           // floor division
  const int twice = 2 * r;
  if (twice > step || (twice == step && (q % 2 != 0))) ++q;
  return q * step;
}

// Offset of length len in direction dir (1 left, 2 down, 3 right, 4 up); (0, 0) otherwise.
constexpr Point DirectionOffset(int len, int dir) {
  switch (dir) {
    case 1: return {-len, 0};
    case 2: return {0, len};
    case 3: return {len, 0};
    case 4: return {0, -len};
    default: return {0, 0};
  }
}

static_assert(Rotated(2, 40, 30) == Point{30, -40});
static_assert(Rotated(4, 40, 30) == Point{-30, 40});
static_assert(DirectionOffset(20, 0) == Point{0, 0});
static_assert(SnapToGrid(12, 5) == 10 && SnapToGrid(13, 5) == 15 && SnapToGrid(-12, 5) == -10);
static_assert(SnapToGrid(5, 10) == 0 && SnapToGrid(15, 10) == 20 && SnapToGrid(-5, 10) == 0);

}  // namespace kavrix

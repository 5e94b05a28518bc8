#pragma once
// Device characteristic tables generated from a few physical parameters at compile time.
// A device model is described by its responses at the band edges (insertion loss, tap loss,
// isolation, gain), a slope shape and a small ripple; the generator lays the values out in the
// row-major shape a block reads, rounded to hundredths of a dB as a data sheet gives them.
// Values that must be exact (reference rows) are pinned on top of the generated table.
#include <array>
#include <cstddef>
#include <cstdint>

#include "catalogue/frequency_grids.hpp"

namespace kavrix::engine::gen {

// An output that does not carry the path: far below the level that means no signal.
inline constexpr double kDead = -1e9;

// Rounds half away from zero to hundredths (std::round is not a constant expression here).
constexpr double Round2(double x) {
  const double scaled = x * 100.0;
  const long long n = static_cast<long long>(scaled < 0.0 ? scaled - 0.5 : scaled + 0.5);
  return static_cast<double>(n) / 100.0;
}

constexpr double Sqrt(double x) {
  if (x <= 0.0) return 0.0;
  double r = x < 1.0 ? 1.0 : x;
  for (int i = 0; i < 64; ++i) {
    const double next = 0.5 * (r + x / r);
    if (next == r) break;
    r = next;
  }
  return r;
}

// Points of a grid as a constant view.
struct GridPoints {
  const int32_t* pts;
  int last;
  constexpr int count() const { return last + 1; }
};
constexpr GridPoints Row(int row) { return GridPoints{FreqGrids[row].data(), FreqGridLast[row]}; }
constexpr GridPoints Sat22() { return GridPoints{SatGrid22.data(), 21}; }
constexpr GridPoints Terr22() { return GridPoints{TerrGrid22.data(), 21}; }
constexpr GridPoints Cable7() { return GridPoints{CableGrid7.data(), 6}; }

// A fixed pseudo-random value in [-1, 1] per (seed, point): the wobble of a real response.
constexpr double Wobble(int seed, int point) {
  uint32_t h = static_cast<uint32_t>(seed) * 2654435761u ^ static_cast<uint32_t>(point + 1) * 40503u;
  h ^= h >> 13;
  h *= 0x5bd1e995u;
  h ^= h >> 15;
  return static_cast<double>(h % 2001u) / 1000.0 - 1.0;
}

// A response over a band: `low` dB at the first grid point, `high` dB at the last. Between them
// it follows the frequency linearly, or sqrt(f) for cable-like losses; the ripple vanishes at
// both edges so the edge values stay exact.
struct Response {
  double low = 0.0;
  double high = 0.0;
  double ripple = 0.0;
  int seed = 0;
  bool sqrtShape = false;
};

constexpr double At(const Response& r, GridPoints g, int point) {
  const double f0 = g.pts[0];
  const double f1 = g.pts[g.last];
  const double f = g.pts[point];
  double x = (f - f0) / (f1 - f0);
  if (r.sqrtShape) x = (Sqrt(f) - Sqrt(f0)) / (Sqrt(f1) - Sqrt(f0));
  const double window = 4.0 * x * (1.0 - x);
  return Round2(r.low + (r.high - r.low) * x + r.ripple * window * Wobble(r.seed, point));
}

// Index of (outer, point, col) in a table of `points` point rows of `width` values per outer block.
constexpr std::size_t Index(int points, int width, int outer, int point, int col) {
  return (static_cast<std::size_t>(outer) * points + point) * width + col;
}

// Builds a table of Outer blocks of Points rows of Width values: f(outer, point, col) gives a value.
template <int Outer, int Points, int Width, class F>
constexpr std::array<double, static_cast<std::size_t>(Outer) * Points * Width> Table(F f) {
  std::array<double, static_cast<std::size_t>(Outer) * Points * Width> t{};
  for (int o = 0; o < Outer; ++o)
    for (int p = 0; p < Points; ++p)
      for (int c = 0; c < Width; ++c) t[Index(Points, Width, o, p, c)] = f(o, p, c);
  return t;
}

// A value fixed by the device's reference data, placed over the generated one.
struct Pin {
  int outer;
  int point;
  int col;
  double value;
};

template <int Points, int Width, std::size_t N, std::size_t M>
constexpr std::array<double, N> Pinned(std::array<double, N> t, const std::array<Pin, M>& pins) {
  for (const Pin& p : pins) t[Index(Points, Width, p.outer, p.point, p.col)] = p.value;
  return t;
}

// Step pairs (A0, A1) of an attenuator or gain control: dB per ten steps on the first and second
// range, growing from the band's low to its high edge.
struct StepPair {
  Response a0;
  Response a1;
};
constexpr double PairAt(const StepPair& s, GridPoints g, int point, int which) {
  return which == 0 ? At(s.a0, g, point) : At(s.a1, g, point);
}

}  // namespace kavrix::engine::gen

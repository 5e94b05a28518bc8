#pragma once
// Compile-time helpers that turn a device's response parameters into characteristic tables:
// a response is a short list of (MHz, dB) anchor points joined by straight lines, sampled at
// the grid points of the block. An anchor that sits on a grid point comes out exactly, so the
// characteristic values the data sheet fixes are held by the anchors themselves.
#include <array>
#include <cstddef>
#include <cstdint>

namespace kavrix::engine::gen {

struct Anchor {
  double f;   // MHz
  double db;  // dB
};

// Response at f: the anchor value on an anchor, linear between anchors, flat beyond the ends.
template <std::size_t N>
constexpr double ResponseAt(const std::array<Anchor, N>& a, double f) {
  if (f <= a[0].f) return a[0].db;
  for (std::size_t j = 1; j < N; ++j) {
    if (f == a[j].f) return a[j].db;
    if (f < a[j].f) return a[j - 1].db + (a[j].db - a[j - 1].db) * (f - a[j - 1].f) / (a[j].f - a[j - 1].f);
  }
  return a[N - 1].db;
}

// Position of grid point j between the first (0.0) and the last (1.0) point: the shape of a
// slope equaliser or of a step that grows with frequency.
template <std::size_t P>
constexpr double Frac(const std::array<int32_t, P>& grid, int j) {
  return static_cast<double>(grid[j] - grid[0]) / static_cast<double>(grid[P - 1] - grid[0]);
}

// a at x = 0 and b at x = 1, both exactly.
constexpr double Lerp(double a, double b, double x) { return a * (1.0 - x) + b * x; }

// constexpr copies of the grid rows the tables are sampled on (the frame's grids live in a
// .cpp and cannot be read at compile time); a consistency test compares them with the frame.
inline constexpr std::array<int32_t, 16> kRow0 = {950,  1000, 1100, 1200, 1300, 1400, 1500, 1600,
                                                  1700, 1800, 1900, 2000, 2100, 2200, 2300, 2400};
inline constexpr std::array<int32_t, 16> kRow1 = {5,   30,  50,  75,  100, 160, 230, 300,
                                                  350, 400, 470, 540, 600, 700, 790, 862};
inline constexpr std::array<int32_t, 16> kRow2 = {5,   25,  50,  75,  100, 160, 230, 300,
                                                  350, 400, 500, 600, 700, 790, 830, 862};
inline constexpr std::array<int32_t, 16> kRow5 = {300,  450,  600,  750,  900,  1050, 1200, 1350,
                                                  1500, 1650, 1800, 1950, 2100, 2200, 2300, 2400};
inline constexpr std::array<int32_t, 31> kRow8 = {30,   50,   75,   100,  160,  230,  300,  350,  400,  470,  540,
                                                  600,  700,  790,  862,  950,  1000, 1100, 1200, 1300, 1400, 1500,
                                                  1600, 1700, 1800, 1900, 2000, 2100, 2200, 2300, 2400};
inline constexpr std::array<int32_t, 22> kSat22 = {950,  970,  1000, 1150, 1200, 1250, 1300, 1350,
                                                   1400, 1450, 1500, 1550, 1600, 1700, 1800, 1900,
                                                   2000, 2100, 2200, 2300, 2350, 2400};
inline constexpr std::array<int32_t, 22> kTerr22 = {5,   25,  50,  88,  108, 160, 230, 300, 350, 400, 470,
                                                    550, 650, 700, 730, 750, 770, 780, 790, 800, 830, 860};

// Samples a response on a grid.
template <std::size_t P, std::size_t N>
constexpr std::array<double, P> Sample(const std::array<int32_t, P>& grid, const std::array<Anchor, N>& a) {
  std::array<double, P> out{};
  for (std::size_t j = 0; j < P; ++j) out[j] = ResponseAt(a, grid[j]);
  return out;
}

}  // namespace kavrix::engine::gen

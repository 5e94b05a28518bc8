#pragma once
// Device characteristic tables: flat row-major arrays of dB values with up to four extents,
// outermost first, plus the curve shapes the tables are generated from. A table is built once
// from a handful of physical parameters per device model; blocks only read it.
#include <array>
#include <cmath>
#include <cstddef>
#include <initializer_list>
#include <utility>
#include <vector>

namespace kavrix::engine {

// A value that marks an output which does not carry the path.
constexpr double kNoPath = -1e9;

class DeviceTable {
 public:
  DeviceTable() = default;
  explicit DeviceTable(std::initializer_list<int> extents) {
    int d = 0;
    for (int e : extents) m_ext[d++] = e;
    std::size_t n = 1;
    for (int e : m_ext) n *= static_cast<std::size_t>(e);
    m_v.assign(n, 0.0);
  }
  int extent(int dim) const { return m_ext[dim]; }
  // Distance between neighbouring entries of dimension dim.
  int stride(int dim) const {
    int s = 1;
    for (int d = dim + 1; d < 4; ++d) s *= m_ext[d];
    return s;
  }
  std::size_t offset(int a, int b = 0, int c = 0, int d = 0) const {
    return ((static_cast<std::size_t>(a) * m_ext[1] + b) * m_ext[2] + c) * m_ext[3] + d;
  }
  const double* ptr(int a, int b = 0, int c = 0, int d = 0) const { return &m_v[offset(a, b, c, d)]; }
  double at(int a, int b = 0, int c = 0, int d = 0) const { return m_v[offset(a, b, c, d)]; }
  double& at(int a, int b = 0, int c = 0, int d = 0) { return m_v[offset(a, b, c, d)]; }
  std::size_t size() const { return m_v.size(); }

  // Sets every entry to fn(a, b, c, d).
  template <class Fn>
  DeviceTable& fill(Fn fn) {
    for (int a = 0; a < m_ext[0]; ++a)
      for (int b = 0; b < m_ext[1]; ++b)
        for (int c = 0; c < m_ext[2]; ++c)
          for (int d = 0; d < m_ext[3]; ++d) at(a, b, c, d) = fn(a, b, c, d);
    return *this;
  }

 private:
  std::array<int, 4> m_ext{1, 1, 1, 1};
  std::vector<double> m_v;
};

namespace curve {

inline double Round2(double v) { return std::round(v * 100.0) / 100.0; }

// Moves from lo at f0 to hi at f1 along sqrt(f): the way skin-effect losses and the tilt
// that compensates them grow with frequency.
inline double Tilt(double lo, double hi, double f, double f0, double f1) {
  const double x = (std::sqrt(f) - std::sqrt(f0)) / (std::sqrt(f1) - std::sqrt(f0));
  return Round2(lo + (hi - lo) * x);
}

// Straight line from lo at f0 to hi at f1 (also beyond them).
inline double Line(double lo, double hi, double f, double f0, double f1) {
  return Round2(lo + (hi - lo) * (f - f0) / (f1 - f0));
}

// Filter mask: piecewise linear through corner points (MHz, dB), flat beyond the outer corners.
inline double Mask(std::initializer_list<std::pair<double, double>> corners, double f) {
  const std::pair<double, double>* prev = nullptr;
  for (const auto& c : corners) {
    if (f <= c.first) {
      if (!prev) return c.second;
      return Round2(prev->second + (c.second - prev->second) * (f - prev->first) / (c.first - prev->first));
    }
    prev = &c;
  }
  return prev ? prev->second : 0.0;
}

// Falls from 1 at f0 to 0 at f1: the share of a low-frequency tilt control at f.
inline double LowShare(double f, double f0, double f1) {
  if (f <= f0) return 1.0;
  if (f >= f1) return 0.0;
  return (f1 - f) / (f1 - f0);
}

}  // namespace curve
}  // namespace kavrix::engine

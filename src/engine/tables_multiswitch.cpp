#include "engine/tables_multiswitch.hpp"

#include <cmath>

#include "engine/node_frame.hpp"

namespace kavrix::engine {
namespace {

using curve::Line;
using curve::Mask;
using curve::Round2;
using curve::Tilt;

constexpr double kSatLo = 950.0, kSatHi = 2400.0, kTerrLo = 5.0, kTerrHi = 862.0;

double SatF(int j) { return FreqGrids[0][j]; }
double TerrF(int j) { return FreqGrids[1][j]; }
// Table path index 4 is the terrestrial line (path 5); every other path is a satellite line.
bool IsTerr(int pathIndex) { return pathIndex == 4; }
int SatLine(int pathIndex) { return pathIndex < 4 ? pathIndex : pathIndex - 1; }

// Response of one multiswitch model. Satellite values are given at 950 MHz for path 1 and
// move by the rise up to 2400 MHz; terrestrial values likewise over 5..862 MHz. Further input
// lines and output groups lose a little more (longer internal paths, more split stages).
struct SwitchModel {
  double through, throughRise;
  double out[4];
  double outRise;
  double terrThrough, terrThroughRise;
  double terrOut, terrOutRise;
  double pathStep = 0.06;
  double groupStep = 0.2;
};

// out 0 is the through output, 1..4 the subscriber outputs.
double SwitchValue(const SwitchModel& m, int pi, int j, int group, int out) {
  if (IsTerr(pi)) {
    const double f = TerrF(j);
    if (out == 0) return Tilt(m.terrThrough, m.terrThrough + m.terrThroughRise, f, kTerrLo, kTerrHi);
    const double lo = m.terrOut - 0.05 * (out - 1) - m.groupStep * group;
    return Tilt(lo, lo + m.terrOutRise, f, kTerrLo, kTerrHi);
  }
  const double f = SatF(j);
  const double line = m.pathStep * SatLine(pi);
  if (out == 0) {
    const double lo = m.through - line;
    return Tilt(lo, lo + m.throughRise, f, kSatLo, kSatHi);
  }
  const double lo = m.out[out - 1] - line - m.groupStep * group;
  return Tilt(lo, lo + m.outRise, f, kSatLo, kSatHi);
}

SwitchModel Shifted(SwitchModel m, double gain, double outRise) {
  for (double& v : m.out) v += gain;
  m.outRise = outRise;
  m.terrOut += gain * 0.5;
  return m;
}

// Step pair (A0, A1) of an output attenuator at point j of the path's band.
double PairValue(int pi, int j, int which, double a0, double a1) {
  if (IsTerr(pi)) {
    const double f = TerrF(j);
    return which == 0 ? Tilt(a0 - 0.4, a0 - 0.1, f, kTerrLo, kTerrHi) : Tilt(a1 - 0.4, a1, f, kTerrLo, kTerrHi);
  }
  const double f = SatF(j);
  const double line = 0.05 * SatLine(pi);
  return which == 0 ? Tilt(a0 + line, a0 + line + 0.5, f, kSatLo, kSatHi)
                    : Tilt(a1 + line, a1 + line + 0.7, f, kSatLo, kSatHi);
}

DeviceTable Cascade(int paths, int groups, const SwitchModel& m) {
  return DeviceTable{paths, 16, groups, 4}.fill(
      [&](int pi, int j, int g, int o) { return SwitchValue(m, pi, j, g, o + 1); });
}
DeviceTable PathPairs(int paths, double a0, double a1) {
  return DeviceTable{16, paths, 2}.fill([&](int j, int pi, int w, int) { return PairValue(pi, j, w, a0, a1); });
}
DeviceTable TerrPairs(double a0, double a1) {
  return DeviceTable{16, 2}.fill([&](int j, int w, int, int) { return PairValue(4, j, w, a0, a1); });
}
DeviceTable Small(int paths, const SwitchModel& m) {
  return DeviceTable{paths, 16, 5}.fill([&](int pi, int j, int o, int) { return SwitchValue(m, pi, j, 0, o); });
}

MultiswitchTables Build() {
  MultiswitchTables t;

  // Kinds 1..4: one passive and three active variants; each step up adds gain on the
  // subscriber outputs and keeps the through line.
  const SwitchModel kelv1{-0.86, -2.0, {-7.93, -7.80, -7.68, -7.81}, -3.2, 0, 0, 0, 0};
  const double gain4[4] = {0.0, 9.0, 15.0, 21.0};
  for (int v = 0; v < 4; ++v) {
    const SwitchModel m = v == 0 ? kelv1 : Shifted(kelv1, gain4[v], 1.0);
    t.small4[v] = Small(4, m);
  }
  // Kinds 5..8: two groups of four outputs; only group 1 has the through output.
  const SwitchModel kelv5{-1.12, -2.2, {-11.62, -11.48, -11.40, -11.55}, -3.4, 0, 0, 0, 0};
  const double gain8[4] = {0.0, 10.0, 16.0, 22.0};
  for (int v = 0; v < 4; ++v) {
    const SwitchModel m = v == 0 ? kelv5 : Shifted(kelv5, gain8[v], 1.0);
    t.small8[v] = DeviceTable{4, 16, 2, 5}.fill([&](int pi, int j, int g, int o) {
      if (g == 0 && o == 0) return kNoPath;
      return SwitchValue(m, pi, j, g, o);
    });
  }

  t.kelv9 = Small(5, {-1.0, -2.0, {-8.30, -8.20, -8.10, -8.25}, -3.3, -0.45, -0.9, -14.2, -2.4});
  t.kelv10 = Small(5, {0, 0, {3.0, 3.1, 3.2, 3.05}, 1.0, 0, 0, -3.4, -1.8});
  t.kelv15 = Small(9, {-1.4, -2.1, {-9.60, -9.50, -9.40, -9.55}, -3.5, -0.6, -0.9, -15.5, -2.5});
  t.kelv16 = Small(9, {0, 0, {2.0, 2.1, 2.2, 2.05}, 1.0, 0, 0, -4.0, -2.0});
  // Terminal multiswitches have no through output on any path.
  for (DeviceTable* d : {&t.kelv10, &t.kelv16})
    for (int pi = 0; pi < d->extent(0); ++pi)
      for (int j = 0; j < 16; ++j) d->at(pi, j, 0) = kNoPath;

  // Taps 21..24 by nominal branch loss; a weaker tap passes more on its through line.
  const double tapThrough[4] = {-1.10, -0.59, -0.35, -0.31};
  const double tapBranch[4] = {-7.86, -11.84, -17.84, -21.88};
  for (int v = 0; v < 4; ++v) {
    t.tap[v] = DeviceTable{5, 16, 2}.fill([&](int pi, int j, int g, int) {
      if (IsTerr(pi)) {
        const double f = TerrF(j);
        return g == 0 ? Tilt(tapThrough[v] * 0.5, tapThrough[v] * 0.5 - 0.6, f, kTerrLo, kTerrHi)
                      : Tilt(tapBranch[v] + 0.8, tapBranch[v] + 0.3, f, kTerrLo, kTerrHi);
      }
      const double lo = (g == 0 ? tapThrough[v] : tapBranch[v]) - 0.03 * pi;
      return Tilt(lo, lo + (g == 0 ? -1.6 : -1.4), SatF(j), kSatLo, kSatHi);
    });
  }

  const double split4[4] = {-7.45, -7.60, -7.60, -7.45};
  t.split25 = DeviceTable{5, 16, 4}.fill([&](int pi, int j, int g, int) {
    if (IsTerr(pi)) return Tilt(split4[g] + 0.25, split4[g] - 0.55, TerrF(j), kTerrLo, kTerrHi);
    const double lo = split4[g] - 0.02 * pi;
    return Tilt(lo, lo - 2.0, SatF(j), kSatLo, kSatHi);
  });
  // Inline splitters: the two-way outputs first, then the further ways of the larger ones.
  const double inlineLoss[6] = {-3.9, -4.0, -7.4, -7.5, -9.4, -9.5};
  t.inline26 = DeviceTable{16, 6}.fill(
      [&](int j, int g, int, int) { return Tilt(inlineLoss[g], inlineLoss[g] - 1.8, SatF(j), kSatLo, kSatHi); });
  t.inserter29 = DeviceTable{16, 2}.fill([&](int j, int c, int, int) {
    return c == 0 ? Tilt(-0.6, -1.2, TerrF(j), kTerrLo, kTerrHi) : Tilt(-0.8, -1.7, SatF(j), kSatLo, kSatHi);
  });

  // Cascadable multiswitches: active ones compensate the cable tilt, passive ones tap off.
  SwitchModel dovr{0, 0, {7.3, 7.6, 7.9, 7.9}, 1.4, 0, 0, 1.8, -1.0, 0.1, 0.25};
  SwitchModel fesk{0, 0, {-16.2, -16.0, -15.9, -16.1}, -3.0, 0, 0, -14.5, -2.0, 0.1, 0.3};
  t.casc37 = Cascade(5, 4, dovr);
  t.casc38 = Cascade(5, 4, fesk);
  t.casc41 = Cascade(5, 8, Shifted(dovr, -0.5, 1.4));
  t.casc42 = Cascade(5, 8, Shifted(fesk, -3.3, -3.3));
  t.casc71 = Cascade(9, 4, Shifted(dovr, -0.8, 1.5));
  t.casc75 = Cascade(9, 8, Shifted(dovr, -1.3, 1.5));
  t.casc72 = Cascade(9, 4, Shifted(fesk, -0.8, -3.1));
  t.casc76 = Cascade(9, 8, Shifted(fesk, -3.8, -3.4));
  t.pairs37 = PathPairs(5, 4.4, 9.4);
  t.pairs41 = PathPairs(5, 4.3, 9.3);
  t.pairs71 = PathPairs(9, 4.2, 9.2);
  t.pairs75 = PathPairs(9, 4.1, 9.1);
  t.pairs72 = PathPairs(5, 4.0, 9.0);
  t.pairs76 = PathPairs(5, 4.0, 8.9);
  t.pairs38 = TerrPairs(4.2, 9.2);
  t.pairs42 = TerrPairs(4.1, 9.1);

  // 17-input multiswitches. Kelv17: columns 2g + p are output p of group g, column 8 the
  // through line; column 9 is never read.
  const SwitchModel kelv17{-1.5, -2.3, {3.0, 3.1, 3.2, 3.1}, 1.2, -0.8, -0.8, -3.0, -1.8, 0.03, 0.2};
  t.ms77 = DeviceTable{17, 16, 10}.fill([&](int pi, int j, int c, int) {
    if (c == 9) return kNoPath;
    if (c == 8) return SwitchValue(kelv17, pi, j, 0, 0);
    return SwitchValue(kelv17, pi, j, c / 2, 1 + c % 2);
  });
  const SwitchModel fesk13{0, 0, {2.0, 2.1, 2.2, 2.1}, 1.2, 0, 0, -4.0, -1.8, 0.03, 0.2};
  t.ms79 = DeviceTable{17, 16, 8, 2}.fill(
      [&](int pi, int j, int g, int p) { return SwitchValue(fesk13, pi, j, g, 1 + p); });
  // Attenuator pairs: satellite groups on the satellite band, the last row for the terrestrial line.
  t.steps77 = DeviceTable{16, 5, 2, 2}.fill([&](int j, int g, int p, int w) {
    return PairValue(g == 4 ? 4 : p, j, w, g == 4 ? 4.2 : 4.2, g == 4 ? 8.9 : 9.0);
  });
  t.steps79 = DeviceTable{16, 9, 2, 2}.fill([&](int j, int g, int p, int w) {
    return PairValue(g == 8 ? 4 : p, j, w, 4.1, g == 8 ? 8.8 : 9.1);
  });
  return t;
}

// ---- 151..179

// Terrestrial response of the five- and nine-input series: flat through the band with the
// high-pass roll-off of the return-path filter below about 30 MHz.
double TerrSwitch(double plateau, double f) {
  constexpr double kLowDrop = 5.83;
  return Round2(plateau - kLowDrop * std::exp(-(f - kTerrLo) / 15.0) - 0.3 * (f - kTerrLo) / (kTerrHi - kTerrLo));
}

DeviceTable SeriesTable(int paths, int groups, double satLo, double satRise, double terrPlateau) {
  return DeviceTable{paths, 16, groups, 4}.fill([&](int pi, int j, int g, int o) {
    const double shift = -0.08 * o - 0.3 * g;
    if (IsTerr(pi)) return TerrSwitch(terrPlateau + shift, TerrF(j));
    const double lo = satLo + shift - 0.12 * SatLine(pi);
    return Tilt(lo, lo + satRise, SatF(j), kSatLo, kSatHi);
  });
}

// Terrestrial amplifier of the large-network series: return path blocked, gain rising
// through the band, mobile-band filter above 790 MHz.
double LargeTerr(double f) {
  return Mask({{5, -50.74}, {25, -17.6}, {50, 1.92}, {750, 7.48}, {770, 7.45}, {780, 7.2}, {790, 6.1},
               {800, 0.5}, {830, -13.8}, {860, -24.2}},
              f);
}

MultiswitchFamilyTables BuildFamilies() {
  MultiswitchFamilyTables t;
  t.jarn1 = DeviceTable{5, 16, 4}.fill([&](int pi, int j, int o, int) {
    if (IsTerr(pi)) return TerrSwitch(-8.55 - 0.08 * o, TerrF(j));
    const double lo = -4.06 - 0.08 * o - 0.12 * pi;
    return Tilt(lo, lo + 5.87, SatF(j), kSatLo, kSatHi);
  });
  t.jarn2 = SeriesTable(5, 2, -4.6, 5.9, -9.1);
  const double jarnLo[4] = {-4.5, -5.0, -5.6, -6.1};
  for (int v = 0; v < 4; ++v) t.jarn[v] = SeriesTable(9, v + 1, jarnLo[v], 5.8, jarnLo[v] - 4.8);

  const double model[5] = {0.0, -0.6, -1.2, -2.0, -2.8};
  const auto& sat22 = SatGrid22;
  const auto& terr22 = TerrGrid22;
  for (int p = 0; p < 5; ++p) {
    const int groups = kLargeSwitchGroups[p];
    auto shift = [&](int g, int o) { return model[p] - 0.25 * g - 0.1 * o; };
    t.hulmTerr[p] = DeviceTable{22, groups, 4}.fill(
        [&](int j, int g, int o, int) { return Round2(LargeTerr(terr22[j]) + shift(g, o)); });
    t.gavn[p] = DeviceTable{9, 22, groups, 4}.fill([&](int pi, int j, int g, int o) {
      if (IsTerr(pi)) return Round2(LargeTerr(terr22[j]) + shift(g, o));
      return Round2(Line(7.82, 15.44, sat22[j], 950, 2300) + shift(g, o) - 0.1 * SatLine(pi));
    });
    const double coarseSat[3] = {4.33, 8.45, 12.02};
    const double coarseTerr[3] = {4.5, 9.0, 13.5};
    t.coarse[p] = DeviceTable{22, 9, 3}.fill([&](int j, int pi, int a, int) {
      if (IsTerr(pi)) return Round2(coarseTerr[a] + 0.1 * (a + 1) * (terr22[j] - kTerrLo) / 855.0 + 0.05 * p);
      return Round2(coarseSat[a] + 0.25 * (a + 1) * (sat22[j] - 950.0) / 1450.0 + 0.03 * SatLine(pi) + 0.05 * p);
    });
    // Fine steps stay below one coarse step, so on the terrestrial line every setting 0..15
    // attenuates more than the one before.
    const double fineBase[3] = {1.1, 2.72, 4.06};
    t.fine[p] = DeviceTable{22, 3}.fill([&](int j, int b, int, int) {
      return Round2(fineBase[b] + 0.05 * (b + 1) * (terr22[j] - 25.0) / 835.0 + 0.02 * p);
    });
  }
  return t;
}

}  // namespace

const MultiswitchTables& MultiswitchData() {
  static const MultiswitchTables t = Build();
  return t;
}

const MultiswitchFamilyTables& MultiswitchFamilyData() {
  static const MultiswitchFamilyTables t = BuildFamilies();
  return t;
}

}  // namespace kavrix::engine

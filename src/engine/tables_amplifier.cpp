#include "engine/tables_amplifier.hpp"

#include "engine/node_frame.hpp"

namespace kavrix::engine {
namespace {

using curve::LowShare;
using curve::Mask;
using curve::Round2;
using curve::Tilt;

double Pt(int row, int j) { return FreqGrids[row][j]; }
double RowLo(int row) { return FreqGrids[row][0]; }
double RowHi(int row) { return FreqGrids[row][row == 6 ? 23 : 15]; }

// A tilt control takes most off at the low end of its band and nothing at the top.
double TiltShare(int row, int j) { return LowShare(Pt(row, j), RowLo(row), RowHi(row)); }

// One launch amplifier: satellite gain rising with frequency to offset the cable tilt, a lower
// terrestrial gain with the return-path roll-off, steps of about 0.5 dB then 1.5 dB per step.
struct LaunchModel {
  int paths;
  double satLo, satHi;
  double terrLow, terrBand, terrHi;  // at 5 MHz, from 50 MHz, at 862 MHz
  double a0, a1;                     // satellite step pair of path 1 at 950 MHz
};

void BuildLaunch(const LaunchModel& m, DeviceTable& gain, DeviceTable& step, DeviceTable& slope) {
  auto line = [](int pi) { return pi < 4 ? pi : pi - 1; };
  gain = DeviceTable{m.paths, 16}.fill([&](int pi, int j, int, int) {
    if (pi == 4)
      return Mask({{5, m.terrLow}, {30, m.terrBand - 0.5}, {50, m.terrBand}, {862, m.terrHi}}, Pt(1, j));
    return Tilt(m.satLo - 0.1 * line(pi), m.satHi - 0.1 * line(pi), Pt(0, j), 950, 2400);
  });
  step = DeviceTable{16, m.paths, 2}.fill([&](int j, int pi, int w, int) {
    if (pi == 4) return w == 0 ? Tilt(5.0, 5.2, Pt(1, j), 5, 862) : Tilt(10.0, 10.4, Pt(1, j), 5, 862);
    const double o = 0.05 * line(pi);
    return w == 0 ? Tilt(m.a0 + o, m.a0 + o + 0.3, Pt(0, j), 950, 2400)
                  : Tilt(m.a1 + o, m.a1 + o + 0.5, Pt(0, j), 950, 2400);
  });
  slope = DeviceTable{16, 2}.fill(
      [&](int j, int w, int, int) { return Round2((w == 0 ? 6.0 : 4.0) * TiltShare(1, j)); });
}

HouseAmpTables BuildHouse() {
  HouseAmpTables t;
  // Vorb1: VHF group on row 7, UHF group on row 4.
  t.vorbGain = DeviceTable{16, 2}.fill([](int j, int g, int, int) {
    return g == 0 ? Tilt(29.5, 30.5, Pt(7, j), 75, 237) : Tilt(34.0, 35.2, Pt(4, j), 470, 862);
  });
  t.vorbStep = DeviceTable{16, 2, 3}.fill([](int j, int g, int c, int) {
    const int row = g == 0 ? 7 : 4;
    const double share = 1.0 - TiltShare(row, j);
    const double base[2][3] = {{10.0, 5.0, 5.0}, {7.0, 4.0, 3.0}};
    return Round2(base[g][c] + 0.2 * share);
  });
  t.vorbSlope = DeviceTable{16, 2, 3}.fill([](int j, int g, int c, int) {
    const double range[2][3] = {{7.0, 4.0, 3.0}, {5.0, 3.0, 2.0}};
    return Round2(range[g][c] * TiltShare(g == 0 ? 7 : 4, j));
  });

  // Wexl1: two UHF inputs, band III and FM; band-select filters on the VHF groups.
  t.wexlGain = DeviceTable{16, 4}.fill([](int j, int g, int, int) {
    switch (g) {
      case 0: return Tilt(32.0, 33.0, Pt(4, j), 470, 862);
      case 1: return Tilt(31.6, 32.6, Pt(4, j), 470, 862);
      case 2: return Mask({{75, -20.0}, {108, -15.0}, {168, 25.0}, {174, 30.0}, {237, 30.4}}, Pt(7, j));
      default: return Mask({{75, 10.0}, {88, 24.0}, {108, 24.3}, {113, 18.0}, {168, -10.0}, {237, -20.0}}, Pt(7, j));
    }
  });
  t.wexlStep = DeviceTable{16, 4, 3}.fill([](int j, int g, int c, int) {
    const double share = 1.0 - TiltShare(g < 2 ? 4 : 7, j);
    return Round2((c == 0 ? 10.0 : 5.0) + 0.2 * share);
  });

  // Slev1: below 25 MHz the input filter rolls off and the controls lose most of their effect.
  t.slevGain = DeviceTable{16}.fill(
      [](int j, int, int, int) { return Mask({{5, 3.61}, {25, 18.08}, {50, 20.5}, {862, 21.3}}, Pt(2, j)); });
  t.slevStep = DeviceTable{16, 2}.fill([](int j, int w, int, int) {
    return w == 0 ? Mask({{5, 1.1}, {25, 9.4}, {50, 10.0}, {862, 10.0}}, Pt(2, j))
                  : Mask({{5, 1.07}, {25, 9.3}, {50, 10.0}, {862, 10.2}}, Pt(2, j));
  });
  t.slevSlope = DeviceTable{16, 2}.fill([](int j, int w, int, int) {
    if (j == 0) return w == 0 ? 0.96 : 1.0;
    return Round2(10.0 * LowShare(Pt(2, j), 25, 862));
  });

  const LaunchModel launch[4] = {
      {5, 26.7, 28.5, 7.3, 12.0, 12.8, 5.6, 14.4},   // 50
      {5, 30.2, 32.0, 10.5, 14.5, 15.0, 5.8, 14.2},  // 51
      {9, 32.5, 34.3, 9.0, 13.5, 14.0, 5.7, 14.3},   // 53
      {5, 22.0, 23.5, 6.0, 9.5, 10.0, 5.5, 14.5},    // 57
  };
  for (int v = 0; v < 4; ++v) BuildLaunch(launch[v], t.nerbGain[v], t.nerbStep[v], t.nerbSlope[v]);
  t.nerb6 = DeviceTable{16}.fill([](int j, int, int, int) { return Tilt(18.0, 20.0, Pt(0, j), 950, 2400); });
  t.nerb7 = DeviceTable{4, 16}.fill(
      [](int pi, int j, int, int) { return Tilt(16.0 - 0.1 * pi, 18.5 - 0.1 * pi, Pt(0, j), 950, 2400); });
  return t;
}

// Band grids of the three-band devices: UHF group on row 4, VHF groups on row 3.
double BandPt(int g, int j) { return Pt(g == 0 ? 4 : 3, j); }

TerrAmpTables BuildTerr() {
  TerrAmpTables t;
  t.rimbGain = DeviceTable{16, 3}.fill([](int j, int g, int, int) {
    const double f = BandPt(g, j);
    if (g == 0) return Mask({{470, -1.31}, {700, -2.6}, {790, -3.4}, {820, -33.4}, {862, -40.0}}, f);
    if (g == 1) return Mask({{88, -16.0}, {108, -12.0}, {174, -1.07}, {240, -1.2}, {260, -2.5}}, f);
    return Mask({{88, -1.1}, {108, -1.3}, {174, -17.5}, {260, -25.0}}, f);
  });
  t.qent1Gain = DeviceTable{16, 3}.fill([](int j, int g, int, int) {
    const double f = BandPt(g, j);
    if (g == 0) return Mask({{470, 28.9}, {700, 26.6}, {790, 25.8}, {820, -10.5}, {862, -20.0}}, f);
    if (g == 1) return Mask({{88, 0.0}, {108, 5.0}, {174, 26.0}, {240, 25.5}, {260, 22.0}}, f);
    return Mask({{88, 20.0}, {108, 20.3}, {174, -5.0}, {260, -10.0}}, f);
  });
  t.qent1Step = DeviceTable{16, 3, 2}.fill([](int j, int g, int w, int) {
    const double rise = 0.3 * (1.0 - TiltShare(g == 0 ? 4 : 3, j));
    if (g == 0) return Round2((w == 0 ? 5.9 : 8.3) + rise);
    return Round2(6.0 + rise);
  });
  t.qent2Gain = DeviceTable{16, 3}.fill([](int j, int g, int, int) {
    const double f = BandPt(g, j);
    if (g == 0) return Mask({{470, 35.0}, {790, 33.8}, {820, 0.0}, {862, -8.0}}, f);
    if (g == 1) return Mask({{88, 2.0}, {108, 8.0}, {174, 30.0}, {240, 29.6}, {260, 26.0}}, f);
    return Mask({{88, 22.0}, {108, 22.2}, {174, -3.0}, {260, -8.0}}, f);
  });
  t.qent2Step = DeviceTable{16, 3, 3}.fill([](int j, int g, int c, int) {
    const double base[3] = {10.0, 7.0, 8.0};
    return Round2(base[c] + 0.2 * (1.0 - TiltShare(g == 0 ? 4 : 3, j)));
  });

  auto broadband = [](int row, DeviceTable& step, DeviceTable& slope) {
    const int n = row == 6 ? 24 : 16;
    step = DeviceTable{n, 3}.fill([&](int j, int c, int, int) {
      return Round2((c == 0 ? 10.0 : 5.0) + 0.2 * (1.0 - TiltShare(row, j)));
    });
    slope = DeviceTable{n, 3}.fill([&](int j, int c, int, int) {
      return Round2((c == 0 ? 10.0 : 5.0) * TiltShare(row, j));
    });
  };
  t.slev2Gain = DeviceTable{16}.fill(
      [](int j, int, int, int) { return Mask({{5, 30.5}, {25, 36.6}, {50, 37.13}, {862, 37.02}}, Pt(2, j)); });
  broadband(2, t.slev2Step, t.slev2Slope);
  // Slev3 passes nothing of its own above the mobile band edge: 0 dB from 800 MHz.
  t.slev3Gain = DeviceTable{24}.fill(
      [](int j, int, int, int) { return Mask({{5, 28.0}, {25, 33.5}, {50, 34.0}, {790, 35.0}, {795, 0.0}}, Pt(6, j)); });
  broadband(6, t.slev3Step, t.slev3Slope);
  return t;
}

}  // namespace

const HouseAmpTables& HouseAmpData() {
  static const HouseAmpTables t = BuildHouse();
  return t;
}

const TerrAmpTables& TerrAmpData() {
  static const TerrAmpTables t = BuildTerr();
  return t;
}

}  // namespace kavrix::engine

#include "engine/tables_line_amp.hpp"

#include "engine/table_gen.hpp"

namespace kavrix::engine::tables {
namespace {
using gen::Anchor;
using gen::Frac;

// Step sizes at the first grid point and their growth towards the last point (relative):
// attenuator pads lose a little more at the top of the band.
struct StepLaw {
  Steps3 nominal;
  double growth;
};
// A slope control removes its full amount at the first grid point and nothing at the last.
struct SlopeLaw {
  Steps3 amount;
};

template <std::size_t P>
constexpr Steps3 StepAt(const StepLaw& law, const std::array<int32_t, P>& grid, int j) {
  const double x = 1.0 + law.growth * Frac(grid, j);
  return {law.nominal[0] * x, law.nominal[1] * x, law.nominal[2] * x};
}
template <std::size_t P>
constexpr Steps3 SlopeAt(const SlopeLaw& law, const std::array<int32_t, P>& grid, int j) {
  const double x = 1.0 - Frac(grid, j);
  return {law.amount[0] * x, law.amount[1] * x, law.amount[2] * x};
}

constexpr StepLaw kCoarse = {{4.8, 8.8, 13.2}, 0.03};
constexpr StepLaw kFine = {{1.0, 2.0, 3.0}, 0.02};
constexpr SlopeLaw kSlope = {{2.0, 4.0, 6.0}};

// ---- block 101: four satellite lines with a rising gain, a terrestrial line behind a
// return-band filter.
constexpr double kSat101At950 = 22.7, kSat101At2400 = 24.1;
constexpr std::array<double, 4> kSat101PathOffset = {0.0, 0.4, -0.3, 0.2};
constexpr std::array<Anchor, 5> kTerr101 = {{{5, -36.5}, {30, -31.4}, {50, 21.9}, {470, 22.6}, {862, 23.4}}};

constexpr LineAmp101 Make101() {
  LineAmp101 t{};
  for (int j = 0; j < 16; ++j) {
    for (int p = 0; p < 4; ++p)
      t.gain[p][j] = gen::Lerp(kSat101At950, kSat101At2400, Frac(gen::kRow0, j)) + kSat101PathOffset[p];
    t.gain[4][j] = gen::ResponseAt(kTerr101, gen::kRow1[j]);
    for (int p = 0; p < 5; ++p) {
      t.cs[j][p] = p < 4 ? StepAt(kCoarse, gen::kRow0, j) : StepAt(kCoarse, gen::kRow1, j);
      t.fs[j][p] = p < 4 ? StepAt(kFine, gen::kRow0, j) : StepAt(kFine, gen::kRow1, j);
      t.sl[j][p] = p < 4 ? SlopeAt(kSlope, gen::kRow0, j) : SlopeAt(kSlope, gen::kRow1, j);
    }
  }
  return t;
}

// ---- block 103: band-limited terrestrial amplifier on row 2.
constexpr std::array<Anchor, 10> kTerr103 = {{{5, -48.0},
                                              {25, -45.0},
                                              {50, -12.0},
                                              {75, 18.5},
                                              {100, 24.4},
                                              {300, 24.9},
                                              {600, 21.0},
                                              {700, 14.0},
                                              {790, 3.5},
                                              {862, -5.8}}};
constexpr LineAmp103 Make103() {
  LineAmp103 t{};
  for (int j = 0; j < 16; ++j) {
    t.gain[j] = gen::ResponseAt(kTerr103, gen::kRow2[j]);
    t.cs[j] = StepAt(kCoarse, gen::kRow2, j);
    t.fs[j] = StepAt(kFine, gen::kRow2, j);
    t.sl[j] = SlopeAt(kSlope, gen::kRow2, j);
  }
  return t;
}

// ---- block 105: eight satellite lines (paths 1..4, 6..9) and the terrestrial line 5.
constexpr double kSat105At950 = 20.5, kSat105Rise = 2.5;
constexpr std::array<double, 9> kSat105PathOffset = {0.0, 0.3, -0.2, 0.4, 0.0, -0.1, 0.2, -0.3, 0.1};
constexpr std::array<Anchor, 4> kTerr105 = {{{5, -35.0}, {25, -33.0}, {50, 19.5}, {860, 21.0}}};
constexpr LineAmp105 Make105() {
  LineAmp105 t{};
  for (int j = 0; j < 22; ++j)
    for (int p = 0; p < 9; ++p) {
      const bool terr = p == 4;
      t.gain[p][j] = terr ? gen::ResponseAt(kTerr105, gen::kTerr22[j])
                          : kSat105At950 + kSat105Rise * Frac(gen::kSat22, j) + kSat105PathOffset[p];
      t.cs[j][p] = terr ? StepAt(kCoarse, gen::kTerr22, j) : StepAt(kCoarse, gen::kSat22, j);
      t.fs[j][p] = terr ? StepAt(kFine, gen::kTerr22, j) : StepAt(kFine, gen::kSat22, j);
      t.sl[j][p] = terr ? SlopeAt(kSlope, gen::kTerr22, j) : SlopeAt(kSlope, gen::kSat22, j);
    }
  return t;
}

// ---- block 107: terrestrial amplifier behind a return-band filter.
constexpr std::array<Anchor, 6> kTerr107 = {{{5, -34.83}, {30, -29.5}, {50, 14.2}, {100, 15.1}, {470, 16.4}, {862, 17.31}}};

// ---- block 108: wideband amplifier with two main outputs; the same table serves both rows,
// so its gain follows the point index.
constexpr std::array<double, 2> kGain108First = {16.5, 15.8}, kGain108Rise = {2.0, 2.1};
constexpr StepLaw kCoarse108 = {{4.0, 8.0, 12.0}, 0.03};
constexpr SlopeLaw kCoarseSlope108 = {{3.0, 6.0, 9.0}};
constexpr SlopeLaw kFineSlope108 = {{0.75, 1.5, 2.25}};
constexpr LineAmp108 Make108() {
  LineAmp108 t{};
  for (int j = 0; j < 16; ++j)
    for (int g = 0; g < 2; ++g) {
      t.gain[j][g] = kGain108First[g] + kGain108Rise[g] * j / 15.0;
      t.cs[j][g] = StepAt(kCoarse108, gen::kRow0, j);
      t.fs[j][g] = StepAt(kFine, gen::kRow0, j);
      t.cl[j][g] = SlopeAt(kCoarseSlope108, gen::kRow0, j);
      t.fl[j][g] = SlopeAt(kFineSlope108, gen::kRow0, j);
    }
  return t;
}

// ---- block 109: satellite amplifier with a passive terrestrial bypass cut off above 790 MHz.
constexpr double kSat109At950 = 16.05, kSat109At2400 = 23.36;
constexpr std::array<Anchor, 4> kTerr109 = {{{5, -0.8}, {470, -0.9}, {790, -1.0}, {862, -30.0}}};
constexpr LineAmp109 Make109() {
  LineAmp109 t{};
  for (int j = 0; j < 16; ++j) {
    t.sat[j] = gen::Lerp(kSat109At950, kSat109At2400, Frac(gen::kRow0, j));
    t.terr[j] = gen::ResponseAt(kTerr109, gen::kRow1[j]);
  }
  return t;
}

// ---- J-splitters: split loss, its rise over the IF band, per-output imbalance.
struct SplitterLaw {
  int outputs;
  double satAt950, satAt2400, terr;
  std::array<double, 4> imbalance;
};
constexpr JSplitter MakeSplitter(const SplitterLaw& law) {
  JSplitter t{};
  t.outputs = law.outputs;
  for (int j = 0; j < 16; ++j)
    for (int g = 0; g < law.outputs; ++g) {
      t.sat[j][g] = gen::Lerp(law.satAt950, law.satAt2400, Frac(gen::kRow0, j)) + law.imbalance[g];
      t.terr[j][g] = law.terr + law.imbalance[g];
    }
  return t;
}
constexpr SplitterLaw kJeko1 = {2, -4.4, -6.0, -3.7, {0.0, 0.0, 0.0, 0.0}};
constexpr SplitterLaw kJeko2 = {3, -6.3, -8.1, -5.9, {0.0, -0.2, 0.0, 0.0}};
constexpr SplitterLaw kJeko3 = {4, -7.4, -9.5, -7.3, {0.0, -0.1, -0.1, 0.0}};
constexpr SplitterLaw kKlav1 = {2, -4.1, -5.5, -3.9, {0.0, -0.1, 0.0, 0.0}};

// ---- five-input multiswitches: reference gains of path 1 at 950 MHz per group and output,
// a path offset, and the fall of the satellite gain over the IF band; the terrestrial path
// has a gain per group and output of its own on row 1.
struct SwitchLaw {
  std::array<std::array<double, 4>, 8> satRef;  // [group][output]
  std::array<double, 4> pathOffset;            // paths 1..4
  double satFall;                              // dB lost from 950 to 2400 MHz
  double terrFirst, terrPerGroup, terrFall;    // terrestrial gain of group 0, drop per group
  std::array<double, 4> terrImbalance;
};

template <int G, class Switch>
constexpr void FillSwitchGain(Switch& t, const SwitchLaw& law) {
  for (int j = 0; j < 16; ++j)
    for (int g = 0; g < G; ++g)
      for (int o = 0; o < 4; ++o) {
        for (int p = 0; p < 4; ++p)
          t.gain[p][j][g][o] = law.satRef[g][o] + law.pathOffset[p] - law.satFall * Frac(gen::kRow0, j);
        t.gain[4][j][g][o] =
            law.terrFirst - law.terrPerGroup * g + law.terrImbalance[o] - law.terrFall * Frac(gen::kRow1, j);
      }
}

constexpr StepLaw kOutAttSat = {{5.0, 10.0, 15.0}, 0.02};
constexpr StepLaw kOutAttTerr = {{4.0, 8.0, 12.0}, 0.02};

template <int G>
constexpr ActiveSwitch<G> MakeActive(const SwitchLaw& law) {
  ActiveSwitch<G> t{};
  FillSwitchGain<G>(t, law);
  for (int j = 0; j < 16; ++j) {
    for (int p = 0; p < 4; ++p) t.oa[j][p] = StepAt(kOutAttSat, gen::kRow0, j);
    t.oa[j][4] = StepAt(kOutAttTerr, gen::kRow1, j);
    t.ob[j] = StepAt(kFine, gen::kRow1, j);
  }
  return t;
}
template <int G>
constexpr PassiveSwitch<G> MakePassive(const SwitchLaw& law) {
  PassiveSwitch<G> t{};
  FillSwitchGain<G>(t, law);
  for (int j = 0; j < 16; ++j) {
    t.oa[j] = StepAt(kOutAttTerr, gen::kRow1, j);
    t.ob[j] = StepAt(kFine, gen::kRow1, j);
  }
  return t;
}

// Reference gains falling by `perGroup` for each further group.
constexpr std::array<std::array<double, 4>, 8> Graded(std::array<double, 4> first, double perGroup) {
  std::array<std::array<double, 4>, 8> r{};
  for (int g = 0; g < 8; ++g)
    for (int o = 0; o < 4; ++o) r[g][o] = first[o] - perGroup * g;
  return r;
}

constexpr SwitchLaw kLaw133 = {{{{6.2, 6.1, 6.3, 6.8}, {5.5, 5.3, 5.8, 6.1}, {4.1, 4.3, 4.6, 4.9}, {2.4, 2.2, 2.7, 3.3}}},
                               {0.0, 0.3, -0.2, 0.4},
                               1.6,
                               2.0,
                               0.9,
                               1.2,
                               {0.0, -0.2, 0.1, -0.1}};
constexpr SwitchLaw kLaw139 = {Graded({6.6, 6.5, 6.7, 7.1}, 0.6), {0.0, 0.3, -0.2, 0.4}, 1.7, 3.0, 0.7, 1.3,
                               {0.0, -0.2, 0.1, -0.1}};
constexpr SwitchLaw kLaw136 = {Graded({-10.5, -10.7, -10.4, -10.6}, 1.1), {0.0, -0.2, 0.1, -0.1}, 1.8, -12.0, 1.0,
                               1.5, {0.0, -0.1, 0.1, -0.2}};
constexpr SwitchLaw kLaw140 = {Graded({-13.5, -13.6, -13.4, -13.7}, 0.9), {0.0, -0.2, 0.1, -0.1}, 2.0, -15.0, 0.8,
                               1.6, {0.0, -0.1, 0.1, -0.2}};

}  // namespace

constexpr LineAmp101 k101 = Make101();
constexpr LineAmp103 k103 = Make103();
constexpr LineAmp105 k105 = Make105();
constexpr std::array<double, 16> k107 = gen::Sample(gen::kRow1, kTerr107);
constexpr LineAmp108 k108 = Make108();
constexpr LineAmp109 k109 = Make109();
constexpr JSplitter kJ126 = MakeSplitter(kJeko1);
constexpr JSplitter kJ127 = MakeSplitter(kJeko2);
constexpr JSplitter kJ128 = MakeSplitter(kJeko3);
constexpr JSplitter kJ129 = MakeSplitter(kKlav1);
constexpr ActiveSwitch<4> k133 = MakeActive<4>(kLaw133);
constexpr PassiveSwitch<4> k136 = MakePassive<4>(kLaw136);
constexpr ActiveSwitch<8> k139 = MakeActive<8>(kLaw139);
constexpr PassiveSwitch<8> k140 = MakePassive<8>(kLaw140);

// The values the device descriptions fix.
static_assert(k101.gain[0][0] == 22.7 && k101.gain[0][15] == 24.1 && k101.gain[4][1] == -31.4 &&
              k101.gain[4][2] == 21.9);
static_assert(k101.cs[0][0][0] == 4.8 && k101.cs[0][0][1] == 8.8 && k101.cs[0][0][2] == 13.2);
static_assert(k103.gain[1] == -45.0 && k103.gain[4] == 24.4 && k103.gain[15] == -5.8);
static_assert(k107[0] == -34.83 && k107[15] == 17.31);
static_assert(k109.sat[0] == 16.05 && k109.sat[15] == 23.36 && k109.terr[15] == -30.0);
static_assert(kJ126.sat[0][0] == -4.4 && kJ126.sat[15][0] == -6.0 && kJ126.terr[7][0] == -3.7);
static_assert(k133.gain[0][0][0][0] == 6.2 && k133.gain[0][0][0][1] == 6.1 && k133.gain[0][0][0][2] == 6.3 &&
              k133.gain[0][0][0][3] == 6.8 && k133.gain[0][0][3][2] == 2.7 && k133.gain[0][0][3][3] == 3.3);

const LineAmp101 kLineAmp101 = k101;
const LineAmp103 kLineAmp103 = k103;
const LineAmp105 kLineAmp105 = k105;
const std::array<double, 16> kLineAmp107 = k107;
const LineAmp108 kLineAmp108 = k108;
const LineAmp109 kLineAmp109 = k109;
const ActiveSwitch<4> kSwitch133 = k133;
const PassiveSwitch<4> kSwitch136 = k136;
const ActiveSwitch<8> kSwitch139 = k139;
const PassiveSwitch<8> kSwitch140 = k140;

const JSplitter* JSplitterTable(int category) {
  switch (category) {
    case 126: return &kJ126;
    case 127: return &kJ127;
    case 128: return &kJ128;
    case 129: return &kJ129;
    default: return nullptr;
  }
}

}  // namespace kavrix::engine::tables

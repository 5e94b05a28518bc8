// Line amplifiers, J-splitters and five-input multiswitches. Gain settings are split into
// coarse and fine attenuator steps; step values are read at the grid point of the frequency,
// not interpolated. Nodes on a chain marked 50 carry the 28-point band grid (entry 7m + j =
// band m at CableGrid7[j]) instead of the source's frequency list.
#include "engine/node_frame.hpp"
#include "engine/tables_line_amp.hpp"

namespace kavrix::engine {
namespace {

using tables::Steps3;

constexpr int kBands = 4;
constexpr int kBandPoints = 7;
constexpr double kLowerOutputsDrop = 20.0;  // block 108 groups 2 and 3
constexpr double kSplitterBandEdge = 900.0;

bool OnBandGrid(const NodeFrame& fr) { return (*fr.row)[kNodeChainMark] == kChainBandGrid; }

// Dual-band row choice: terrestrial when the path is 5 or the source is not a satellite band.
bool TerrestrialCase(const NodeFrame& fr) { return fr.path == kTerrestrialPath || fr.sourceId() > kSatIdLimit; }

// Entry idx (1..3) of a step table; an index outside the table adds nothing.
double StepEntry(const Steps3& st, int idx) { return idx >= 1 && idx <= 3 ? st[static_cast<std::size_t>(idx - 1)] : 0.0; }

// Coarse steps a and fine steps b of a gain setting s (1000000 is the neutral setting).
struct GainSteps {
  int a = 0, b = 0;
};
GainSteps SplitGain(int s) {
  if (s == kNoLimit) return {};
  return {-(s / 4), (-s) % 4};
}

// Smallest grid index with a point at or above f, at most the last index.
int IndexAtMost(const Grid& g, double f) {
  int i = 0;
  while (i < g.last && g.pts[i] < f) ++i;
  return i;
}

// ---- blocks 101, 103, 105: gain, coarse and fine steps, slope 1..4.

void LineAmpOver(const NodeFrame& fr, const Grid& g, const double* gain, const Steps3* cs, const Steps3* fs,
                 const Steps3* sl, int stride) {
  const GainSteps st = SplitGain((*fr.row)[kNodeStep]);
  const int t = (*fr.row)[kNodeSetting];
  const int slopeIdx = (t > 1 && t != kNoLimit) ? t - 1 : 0;
  const double* in = fr.input();
  double* out = fr.spectrum(1);
  for (int k = fr.kFirst; k <= fr.kLast; ++k) {
    const double f = FreqList[k];
    const int i = Segment(g, k);
    if (i < 0) continue;
    double v = in[k] + InterpColumn(g, i, f, gain, 1);
    const std::size_t at = static_cast<std::size_t>(i * stride);
    if (st.a > 0) v -= StepEntry(cs[at], st.a);
    if (st.b > 0) v -= StepEntry(fs[at], st.b);
    if (slopeIdx > 0) v -= StepEntry(sl[at], slopeIdx);
    out[k] = v;
  }
}

void LineAmp101Block(const NodeFrame& fr) {
  if (fr.path < 1 || fr.path > 5) return;
  const auto& t = tables::kLineAmp101;
  const int p = fr.path - 1;
  LineAmpOver(fr, FreqGridRow(TerrestrialCase(fr) ? 1 : 0), t.gain[p].data(), &t.cs[0][p], &t.fs[0][p],
                    &t.sl[0][p], 5);
}

void LineAmp103Block(const NodeFrame& fr) {
  const auto& t = tables::kLineAmp103;
  LineAmpOver(fr, FreqGridRow(2), t.gain.data(), t.cs.data(), t.fs.data(), t.sl.data(), 1);
}

void LineAmp105Block(const NodeFrame& fr) {
  if (fr.path < 1 || fr.path > 9) return;
  const auto& t = tables::kLineAmp105;
  const int p = fr.path - 1;
  LineAmpOver(fr, TerrestrialCase(fr) ? TerrGrid() : SatGrid(), t.gain[p].data(), &t.cs[0][p], &t.fs[0][p],
                    &t.sl[0][p], 9);
}

void LineAmp107Block(const NodeFrame& fr) {
  const Grid g = FreqGridRow(1);
  const double* in = fr.input();
  double* out = fr.spectrum(1);
  for (int k = fr.kFirst; k <= fr.kLast; ++k) {
    const double f = FreqList[k];
    const int i = Segment(g, k);
    if (i >= 0) out[k] = in[k] + InterpColumn(g, i, f, tables::kLineAmp107.data(), 1);
  }
}

// ---- block 108: two outputs and their copies 20 dB lower, gain and slope in coarse and fine
// steps.

struct Amp108Terms {
  GainSteps gain;
  int c = 0, d = 0;
  bool slope = false;
};
Amp108Terms SettingsOf108(const NodeRow& r) {
  Amp108Terms s;
  s.gain = SplitGain(r[kNodeStep]);
  const int t = r[kNodeSetting];
  if (t > 1 && t != kNoLimit) {
    s.slope = true;
    s.c = (t - 1) / 4;
    s.d = (t - 1) % 4;
  }
  return s;
}
double Terms108(const Amp108Terms& s, int i, int g, double drop) {
  const auto& t = tables::kLineAmp108;
  double v = -drop;
  if (s.gain.a > 0) v -= StepEntry(t.cs[i][g], s.gain.a);
  if (s.gain.b > 0) v -= StepEntry(t.fs[i][g], s.gain.b);
  if (s.slope) {
    if (s.c > 0) v -= StepEntry(t.cl[i][g], s.c);
    if (s.d > 0) v -= StepEntry(t.fl[i][g], s.d);
  }
  return v;
}

void LineAmp108Block(const NodeFrame& fr) {
  if (fr.group < 0 || fr.group > 3) return;
  const int g = fr.group < 2 ? fr.group : fr.group - 2;
  const double drop = fr.group >= 2 ? kLowerOutputsDrop : 0.0;
  const Amp108Terms s = SettingsOf108(*fr.row);
  const Grid grid = FreqGridRow(TerrestrialCase(fr) ? 1 : 0);
  const double* gain = tables::kLineAmp108.gain[0].data() + g;
  const double* in = fr.input();
  double* out = fr.spectrum(1);
  if (OnBandGrid(fr)) {
    // The CableGrid7 points lie above the terrestrial row: a terrestrial node writes nothing.
    for (int j = 0; j < kBandPoints; ++j) {
      const double f = CableGrid7[static_cast<std::size_t>(j)];
      const int i = SegmentOf(grid, f);
      if (i < 0) continue;
      const double v = InterpColumn(grid, i, f, gain, 2) + Terms108(s, i, g, drop);
      for (int m = 0; m < kBands; ++m) out[7 * m + j] = in[7 * m + j] + v;
    }
    return;
  }
  for (int k = fr.kFirst; k <= fr.kLast; ++k) {
    const double f = FreqList[k];
    const int i = Segment(grid, k);
    if (i < 0) continue;
    out[k] = in[k] + InterpColumn(grid, i, f, gain, 2) + Terms108(s, i, g, drop);
  }
}

// ---- band-grid pass of a satellite column (blocks 109 and the J-splitters).

void BandGridThrough(const NodeFrame& fr, const double* satCol, int stride) {
  const Grid g0 = FreqGridRow(0);
  const double* in = fr.input();
  double* out = fr.spectrum(1);
  for (int j = 0; j < kBandPoints; ++j) {
    const double f = CableGrid7[static_cast<std::size_t>(j)];
    const double v = InterpColumn(g0, IndexAtMost(g0, f), f, satCol, stride);
    for (int m = 0; m < kBands; ++m) out[7 * m + j] = in[7 * m + j] + v;
  }
}

// ---- block 109: satellite amplifier with a terrestrial bypass that ends below 800 MHz.
void LineAmp109Block(const NodeFrame& fr) {
  const auto& t = tables::kLineAmp109;
  if (OnBandGrid(fr)) {
    BandGridThrough(fr, t.sat.data(), 1);
    return;
  }
  const Grid row = FreqGridRow(TerrestrialCase(fr) ? 1 : 0);
  const Grid g0 = FreqGridRow(0);
  const Grid g1 = FreqGridRow(1);
  const double top = row.pts[row.last];
  const double* in = fr.input();
  double* out = fr.spectrum(1);
  for (int k = fr.kFirst; k <= fr.kLast; ++k) {
    const double f = FreqList[k];
    if (f > 940 && f <= top) out[k] = in[k] + InterpColumn(g0, IndexAtMost(g0, f), f, t.sat.data(), 1);
    if (f > 4 && f < 800) out[k] = in[k] + InterpColumn(g1, IndexAtMost(g1, f), f, t.terr.data(), 1);
  }
}

// ---- J-splitters: the same values in both directions, the band chosen once per call.
void JSplitterBlock(const NodeFrame& fr) {
  const tables::JSplitter* t = tables::JSplitterTable(fr.category);
  if (!t || fr.group < 0) return;
  const int g = fr.group < t->outputs ? fr.group : fr.group - t->outputs;
  if (g >= t->outputs) return;
  if (OnBandGrid(fr)) {
    BandGridThrough(fr, t->sat[0].data() + g, 4);
    return;
  }
  if (fr.kLast < fr.kFirst) return;
  const double f0 = FreqList[fr.kFirst];
  if (f0 == kSplitterBandEdge) return;
  const double* col = (f0 > kSplitterBandEdge ? t->sat[0].data() : t->terr[0].data()) + g;
  const Grid grid = FreqGridRow(TerrestrialCase(fr) ? 1 : 0);
  const double* in = fr.input();
  double* out = fr.spectrum(1);
  for (int k = fr.kFirst; k <= fr.kLast; ++k) {
    const double f = FreqList[k];
    const int i = Segment(grid, k);
    if (i >= 0) out[k] = in[k] + InterpColumn(grid, i, f, col, 4);
  }
}

// ---- five-input multiswitches: four subscriber outputs per group, written to spectra 2..5.

// Output attenuation of an active switch at grid index i.
template <int G>
double ActiveAttenuation(const tables::ActiveSwitch<G>& t, int i, int path, int setting) {
  if (setting == kNoLimit) return 0.0;
  double v = 0.0;
  if (path < 5) {
    const int a = -setting;
    if (a > 0) v += StepEntry(t.oa[i][path - 1], a);
    return v;
  }
  const GainSteps st = SplitGain(setting);
  if (st.a > 0) v += StepEntry(t.oa[i][4], st.a);
  if (st.b > 0) v += StepEntry(t.ob[i], st.b);
  return v;
}
template <int G>
double PassiveAttenuation(const tables::PassiveSwitch<G>& t, int i, int path, int setting) {
  if (path != 5 || setting == kNoLimit) return 0.0;
  const GainSteps st = SplitGain(setting);
  double v = 0.0;
  if (st.a > 0) v += StepEntry(t.oa[i], st.a);
  if (st.b > 0) v += StepEntry(t.ob[i], st.b);
  return v;
}
template <int G>
double Attenuation(const tables::ActiveSwitch<G>& t, int i, int path, int s) {
  return ActiveAttenuation(t, i, path, s);
}
template <int G>
double Attenuation(const tables::PassiveSwitch<G>& t, int i, int path, int s) {
  return PassiveAttenuation(t, i, path, s);
}

template <int G, class Switch>
void FiveInputSwitch(const NodeFrame& fr, const Switch& t) {
  if (fr.lastPort < 4) return;  // subscriber outputs only: nothing in single-frequency mode
  if (fr.path < 1 || fr.path > 5 || fr.group < 0 || fr.group >= G) return;
  const int setting = (*fr.row)[kNodeSetting];
  const Grid grid = FreqGridRow(TerrestrialCase(fr) ? 1 : 0);
  const double* in = fr.input();
  constexpr int stride = G * 4;
  const double* cols[4];
  double* outs[4];
  for (int p = 1; p <= 4; ++p) {
    cols[p - 1] = &t.gain[static_cast<std::size_t>(fr.path - 1)][0][static_cast<std::size_t>(fr.group)]
                         [static_cast<std::size_t>(p - 1)];
    outs[p - 1] = fr.spectrum(p + 1);
  }
  if (OnBandGrid(fr)) {
    for (int p = 0; p < 4; ++p)
      for (int j = 0; j < kBandPoints; ++j) {
        const double f = CableGrid7[static_cast<std::size_t>(j)];
        const int i = SegmentOf(grid, f);
        if (i < 0) continue;
        const double v = InterpColumn(grid, i, f, cols[p], stride) - Attenuation(t, i, fr.path, setting);
        for (int m = 0; m < kBands; ++m) outs[p][7 * m + j] = in[7 * m + j] + v;
      }
    return;
  }
  // The grid segment and the attenuation of a list position serve all four outputs.
  for (int k = fr.kFirst; k <= fr.kLast; ++k) {
    const int i = Segment(grid, k);
    if (i < 0) continue;
    const double f = FreqList[k];
    const double att = Attenuation(t, i, fr.path, setting);
    for (int p = 0; p < 4; ++p) outs[p][k] = in[k] + InterpColumn(grid, i, f, cols[p], stride) - att;
  }
}

void Switch133Block(const NodeFrame& fr) { FiveInputSwitch<4>(fr, tables::kSwitch133); }
void Switch136Block(const NodeFrame& fr) { FiveInputSwitch<4>(fr, tables::kSwitch136); }
void Switch139Block(const NodeFrame& fr) { FiveInputSwitch<8>(fr, tables::kSwitch139); }
void Switch140Block(const NodeFrame& fr) { FiveInputSwitch<8>(fr, tables::kSwitch140); }

}  // namespace

void RegisterLineAmpBlocks(BlockTable& t) {
  t.set(101, LineAmp101Block);
  t.set(103, LineAmp103Block);
  t.set(105, LineAmp105Block);
  t.set(107, LineAmp107Block);
  t.set(108, LineAmp108Block);
  t.set(109, LineAmp109Block);
  for (int c = 126; c <= 129; ++c) t.set(c, JSplitterBlock);
  t.set(133, Switch133Block);
  t.set(136, Switch136Block);
  t.set(139, Switch139Block);
  t.set(140, Switch140Block);
}

}  // namespace kavrix::engine

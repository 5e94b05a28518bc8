// House amplifiers (with their test outputs) and launch amplifiers: interpolated gain plus the
// effect of the gain-step (field 16) and slope (field 17) settings.
#include "engine/distribution_block_helpers.hpp"
#include "engine/tables_amplifier.hpp"

namespace kavrix::engine {
namespace {

using blk::ApplyColumn;
using blk::Setting;
using blk::SiblingNode;

constexpr double kTestTapIn = 20.0;   // input test output below the input
constexpr double kTestTapOut = 30.0;  // output test output below the output

// Launch amplifiers 50, 51, 53, 57: step on every path, slope on the terrestrial line.
void Launch(const NodeFrame& fr) {
  const HouseAmpTables& d = HouseAmpData();
  const int v = fr.category == 50 ? 0 : fr.category == 51 ? 1 : fr.category == 53 ? 2 : 3;
  const DeviceTable& gain = d.nerbGain[v];
  const DeviceTable& step = d.nerbStep[v];
  const DeviceTable& slope = d.nerbSlope[v];
  if (fr.path < 1 || fr.path > gain.extent(0)) return;
  const Grid g = blk::DualRow(fr);
  const int s = (*fr.row)[kNodeStep];
  const int t = (*fr.row)[kNodeSetting];
  const bool terr = fr.path == kTerrestrialPath;
  const double* pair = step.ptr(0, fr.path - 1);
  const int pairStride = step.stride(0);
  ApplyColumn(fr, g, gain.ptr(fr.path - 1), gain.stride(1), fr.spectrum(1), [&](int i, double f) {
    double v = StepTerm(s, pair[i * pairStride], pair[i * pairStride + 1]);
    if (terr) v += SlopeTerm(t, InterpColumn(g, i, f, slope.ptr(0, 0), 2), InterpColumn(g, i, f, slope.ptr(0, 1), 2));
    return v;
  });
}

void Nerb6(const NodeFrame& fr) {
  const DeviceTable& gain = HouseAmpData().nerb6;
  ApplyColumn(fr, FreqGridRow(0), gain.ptr(0), 1, fr.spectrum(1));
}
void Nerb7(const NodeFrame& fr) {
  const DeviceTable& gain = HouseAmpData().nerb7;
  if (fr.path < 1 || fr.path > 4) return;
  ApplyColumn(fr, FreqGridRow(0), gain.ptr(fr.path - 1), 1, fr.spectrum(1));
}

// Slev1: both groups read one table; group 1 is the test output.
void Slev1(const NodeFrame& fr) {
  if (fr.group < 0 || fr.group > 1) return;
  const HouseAmpTables& d = HouseAmpData();
  const Grid g = FreqGridRow(2);
  const int s = (*fr.row)[kNodeStep];
  const int t = Setting(fr, kNodeSetting, 1);
  const double tap = fr.group == 1 ? -kTestTapOut : 0.0;
  ApplyColumn(fr, g, d.slevGain.ptr(0), 1, fr.spectrum(1), [&](int i, double f) {
    double v = StepTerm(s, d.slevStep.at(i, 0), d.slevStep.at(i, 1)) + tap;
    if (t > 1) {
      const int tp = t - 1;
      const double s1 = InterpColumn(g, i, f, d.slevSlope.ptr(0, 0), 2);
      const double s2 = InterpColumn(g, i, f, d.slevSlope.ptr(0, 1), 2);
      v -= tp < 11 ? tp * s1 / 10.0 : s1 + (tp - 10) * s2 / 10.0;
    }
    return v;
  });
}

// The setting ladders of the two Vorb1 bands.
struct VorbBand {
  int row;
  int padBelow;     // pad when s is below this
  int stepKnee;     // first step branch while s' > -(knee + 1)
  double d1, d2;    // divisors of the two step branches
  int slopeBreak;   // t' = t - 1 below this + 1, else t - this
  int slopeKnee;    // first slope branch while t' < knee + 1
  double e1, e2;    // divisors of the two slope branches
  double neighbour; // put on the out-of-band neighbours of a computed entry
};
constexpr VorbBand kVorb[2] = {
    {7, -10, 5, 5.0, 5.0, 8, 4, 4.0, 3.0, -1000.0},
    {4, -7, 4, 4.0, 3.0, 6, 3, 3.0, 2.0, -1e8},
};

bool InVorbBand(int group, double f) {
  const Grid g = FreqGridRow(kVorb[group].row);
  return f >= g.pts[0] && f <= g.pts[g.last];
}

// Levels of band `group` over the call's frequency range, from `in` with the settings of `node`.
// Frequencies outside the band are not written; the out-of-band neighbours of a computed entry
// get the band's marker.
void VorbBandLevels(const NodeFrame& fr, int group, const NodeRow& node, const double* in, double* out) {
  const HouseAmpTables& d = HouseAmpData();
  const VorbBand& b = kVorb[group];
  const Grid g = FreqGridRow(b.row);
  const int s = node[kNodeStep] == kNoLimit ? 0 : node[kNodeStep];
  const int t = node[kNodeSetting] == kNoLimit ? 1 : node[kNodeSetting];
  const int sp = s > b.padBelow - 1 ? s : s - b.padBelow;
  const int tp = t < b.slopeBreak + 1 ? t - 1 : t - b.slopeBreak;
  const double lo = g.pts[0], hi = g.pts[g.last];
  for (int k = fr.kFirst; k <= fr.kLast; ++k) {
    const double f = FreqList[k];
    if (f < lo || f > hi) continue;
    int i = 0;
    while (i < g.last && g.pts[i] < f) ++i;
    double v = in[k] + InterpColumn(g, i, f, d.vorbGain.ptr(0, group), 2);
    const double step1 = d.vorbStep.at(i, group, 1);
    const double step2 = d.vorbStep.at(i, group, 2);
    if (sp > -(b.stepKnee + 1)) v += sp * step1 / b.d1;
    else v += -step1 + (sp + b.stepKnee) * step2 / b.d2;
    if (s < b.padBelow) v -= d.vorbStep.at(i, group, 0);
    if (t > 1) {
      const double pad = InterpColumn(g, i, f, d.vorbSlope.ptr(0, group, 0), 6);
      const double s1 = InterpColumn(g, i, f, d.vorbSlope.ptr(0, group, 1), 6);
      const double s2 = InterpColumn(g, i, f, d.vorbSlope.ptr(0, group, 2), 6);
      if (tp < b.slopeKnee + 1) v -= tp * s1 / b.e1;
      else v -= s1 + (tp - b.slopeKnee) * s2 / b.e2;
      if (t > b.slopeBreak) v -= pad;
    }
    out[k] = v;
    if (k >= 1) {
      if (FreqList[k - 1] < lo) out[k - 1] = b.neighbour;
      if (k + 1 < 100 && FreqList[k + 1] > hi) out[k + 1] = b.neighbour;
    }
  }
}

// The two band nodes share one output pin, and the chain below that pin hangs on the VHF node
// (the first linked). Its output therefore carries the UHF carriers too, each at the level the
// UHF node computes from its own input and settings.
void AddUhfBand(const NodeFrame& fr) {
  const int uhf = SiblingNode(fr.node, 1, 1);
  if (uhf < 0 || !PinsMeet(Nodes[static_cast<std::size_t>(uhf)], 1, *fr.row, 1)) return;
  double levels[kFreqListLen];
  VorbBandLevels(fr, 1, Nodes[static_cast<std::size_t>(uhf)], NodeSpectra.at(static_cast<std::size_t>(uhf), 0), levels);
  double* out = fr.spectrum(1);
  for (int k = fr.kFirst; k <= fr.kLast; ++k)
    if (InVorbBand(1, FreqList[k])) out[k] = levels[k];
}

void Vorb1(const NodeFrame& fr) {
  if (fr.group < 0 || fr.group > 1) return;
  const double* in = fr.input();
  double* out = fr.spectrum(1);
  VorbBandLevels(fr, fr.group, *fr.row, in, out);
  // Test outputs: the input tap carries this band's input, the output tap the VHF output
  // everywhere and the UHF output where that is above -10 dBuV.
  const int inTap = SiblingNode(fr.node, 2 - fr.group, 2);
  const int outTap = SiblingNode(fr.node, 3 - fr.group, 3);
  double* inTapOut = inTap >= 0 ? NodeSpectra.at(static_cast<std::size_t>(inTap), 1) : nullptr;
  double* outTapOut = outTap >= 0 ? NodeSpectra.at(static_cast<std::size_t>(outTap), 1) : nullptr;
  for (int k = fr.kFirst; k <= fr.kLast; ++k) {
    if (inTapOut) inTapOut[k] = in[k] - kTestTapIn;
    if (outTapOut && (fr.group == 0 || out[k] > -10.0)) outTapOut[k] = out[k] - kTestTapOut;
  }
  if (fr.group == 0) AddUhfBand(fr);
}

// Wexl1: groups 0..3 are the band inputs; groups 4..7 the test outputs of groups 0..3.
void Wexl1(const NodeFrame& fr) {
  double* out = fr.spectrum(1);
  if (fr.group >= 4 && fr.group <= 7) {
    const int src = SiblingNode(fr.node, -4, fr.group - 4);
    if (src < 0) return;
    const double* srcOut = NodeSpectra.at(static_cast<std::size_t>(src), 1);
    for (int k = fr.kFirst; k <= fr.kLast; ++k) out[k] = srcOut[k] - kTestTapOut;
    return;
  }
  if (fr.group < 0 || fr.group > 3) return;
  const HouseAmpTables& d = HouseAmpData();
  const Grid g = FreqGridRow(fr.group < 2 ? 4 : 7);
  const int s = Setting(fr, kNodeStep, 0);
  const int sp = s > -11 ? s : s + 10;
  const double* in = fr.input();
  for (int k = fr.kFirst; k <= fr.kLast; ++k) {
    const double f = FreqList[k];
    bool inBand;
    if (fr.group < 2) inBand = f > 469 && f <= 862;
    else if (fr.group == 2) inBand = f > 173 && f < 261;
    else inBand = f > 87 && f < 109;
    if (!inBand) {
      out[k] = kNoPath;
      continue;
    }
    int i = 0;
    while (i < g.last && g.pts[i] < f) ++i;
    // Band III reaches past the last grid point (237 MHz): hold the last point's value there
    // rather than extrapolating a short segment.
    const double gain = f > g.pts[g.last] ? d.wexlGain.at(g.last, fr.group)
                                          : InterpColumn(g, i, f, d.wexlGain.ptr(0, fr.group), 4);
    const double step1 = d.wexlStep.at(i, fr.group, 1);
    const double step2 = d.wexlStep.at(i, fr.group, 2);
    double v = in[k] + gain;
    if (sp > -6) v += sp * step1 / 5.0;
    else v += -step1 + (sp + 5) * step2 / 5.0;
    if (s < -10) v -= d.wexlStep.at(i, fr.group, 0);
    out[k] = v;
  }
}

}  // namespace

void RegisterHouseAmpBlocks(BlockTable& t) {
  // Both write or read the test outputs' nodes.
  t.set(43, Vorb1, Reach::OtherNodes);
  t.set(44, Wexl1, Reach::OtherNodes);
  t.set(45, Slev1);
  for (int c : {50, 51, 53, 57}) t.set(c, Launch);
  t.set(55, Nerb6);
  t.set(56, Nerb7);
}

}  // namespace kavrix::engine

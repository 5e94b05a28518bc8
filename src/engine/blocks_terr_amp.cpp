// Terrestrial-band devices: the stepped attenuator, the channel amplifiers with their shared
// channel output, the three-band combiner and amplifiers, and the broadband amplifiers with
// test outputs.
#include <cmath>

#include "catalogue/channel_freq_table.hpp"
#include "engine/distribution_block_helpers.hpp"
#include "engine/tables_amplifier.hpp"
#include "model/object_rows.hpp"

namespace kavrix::engine {
namespace {

using blk::Setting;
using blk::SiblingNode;

constexpr double kBlocked = -1.0e7;  // a band input outside its band

// The shared step ladder: A0 over the first n steps (divisor d1), A1 beyond (divisor d2).
inline double StepN(int sp, int n, double d1, double d2, double a0, double a1) {
  if (sp > -(n + 1)) return sp * a0 / d1;
  return -a0 + (sp + n) * a1 / d2;
}

// The smallest index with G[i] >= f, not beyond the last point.
inline int SegmentUp(const Grid& g, double f) {
  int i = 0;
  while (i < g.last && g.pts[i] < f) ++i;
  return i;
}

void Frox1(const NodeFrame& fr) {
  const long double s = Setting(fr, kNodeStep, 0);
  const double* in = fr.input();
  double* out = fr.spectrum(1);
  for (int k = fr.kFirst; k <= fr.kLast; ++k) {
    const double f = FreqList[k];
    if (f < 5.0 || f > 862.0) continue;
    if (f <= 46.0) {
      out[k] = -1.0e7;
      continue;
    }
    long double v = in[k] + 0.8L * s - 3.5L;
    if (f > 469.0) v -= (static_cast<long double>(f) - 470.0L) / 392.0L;
    out[k] = static_cast<double>(v);
  }
}

// Channel stage of one kind and mode.
struct ChannelMode {
  int offset;
  double width;
  double threshold;
  double level;
};

bool ChannelModeOf(int kind, int mode, ChannelMode& m) {
  switch (kind) {
    case 81:
      if (mode == 0) m = {0, 8, 60, 90};
      else if (mode == 1) m = {0, 8, 50, 85};
      else return false;
      return true;
    case 82:
      if (mode == 0) m = {80, 7, 60, 90};
      else if (mode == 1) m = {80, 7, 50, 85};
      else return false;
      return true;
    case 83:
      if (mode < 0 || mode > 3) return false;
      m = {mode < 2 ? 65 : 85, 7, mode % 2 == 0 ? 60.0 : 50.0, mode % 2 == 0 ? 90.0 : 85.0};
      return true;
    case 84:
      m = {0, 8, 50, 82};
      return true;
    default:
      return false;
  }
}

struct ChannelWindow {
  double lo = 0, hi = -1;  // empty unless lo <= hi
  double reduction = 0;
};

void Channel(const NodeFrame& fr) {
  const double* in = fr.input();
  double* out = fr.spectrum(1);
  if (fr.group == 0 || fr.group == 2) {
    const double gain = fr.group == 0 ? 0.5 : -2.0;
    for (int k = fr.kFirst; k <= fr.kLast; ++k) {
      const double f = FreqList[k];
      if (f >= 5.0 && f <= 862.0) out[k] = in[k] + gain;
    }
    return;
  }
  if (fr.group != 1) return;

  // The second input of the channel output: the group-2 node built for the same source.
  const int m = SiblingNode(fr.node, 1, 2);
  const double* inM = m >= 0 ? NodeSpectra.at(static_cast<std::size_t>(m), 0) : nullptr;
  double* outM = m >= 0 ? NodeSpectra.at(static_cast<std::size_t>(m), 1) : nullptr;

  const int o = (*fr.row)[kNodeObject];
  ChannelMode mode{};
  const bool applies = ValidObjRow(o) && ChannelModeOf(fr.category, NetObjects[o][kInst], mode);
  ChannelWindow win[4];
  const int channels = fr.category == 84 ? 4 : 2;
  if (applies) {
    for (int c = 0; c < channels; ++c) {
      const int row = o + 1 + c / 2;
      if (!ValidObjRow(row)) continue;
      const ObjRow& settings = NetObjects[row];
      const int second = c % 2;  // the row's second channel: the fields after the first's
      const long long index = static_cast<long long>(settings[kChannelAmpChannel1 + second]) + mode.offset;
      if (index < 0 || index >= kChannelFreqEntries) continue;
      const auto edge = ChannelLowerEdge(static_cast<int>(index));
      if (!edge) continue;
      win[c] = {*edge, *edge + mode.width, static_cast<double>(settings[kChannelAmpReduction1 + second])};
    }
  }
  for (int k = fr.kFirst; k <= fr.kLast; ++k) {
    const double f = FreqList[k];
    if (f < 5.0 || f > 862.0) continue;
    if (outM) outM[k] = inM[k] - 2.0;
    if (applies) {
      out[k] = -1000.0;
      for (int c = 0; c < channels; ++c)
        if (win[c].lo <= f && f <= win[c].hi && in[k] > mode.threshold) out[k] = mode.level - win[c].reduction;
    }
    if (outM) {
      // The two inputs of the channel output add as voltages.
      if (outM[k] > 0.0) out[k] = 20.0 * std::log10(std::pow(10.0, outM[k] / 20.0) + std::pow(10.0, out[k] / 20.0));
      outM[k] = out[k];
    }
  }
}

// Three-band combiner (86) and amplifiers (87, 88): UHF on row 4, band III and FM on row 3.
void ThreeBand(const NodeFrame& fr) {
  if (fr.group < 0 || fr.group > 2) return;
  const TerrAmpTables& d = TerrAmpData();
  const DeviceTable& gain = fr.category == 86 ? d.rimbGain : fr.category == 87 ? d.qent1Gain : d.qent2Gain;
  const Grid g = FreqGridRow(fr.group == 0 ? 4 : 3);
  const int s = Setting(fr, kNodeStep, 0);
  const double* in = fr.input();
  double* out = fr.spectrum(1);
  for (int k = fr.kFirst; k <= fr.kLast; ++k) {
    const double f = FreqList[k];
    bool inBand;
    if (fr.group == 0) inBand = f > 469 && f <= 862;
    else if (fr.group == 1) inBand = f > 173 && f < 261;
    else inBand = f > 87 && f < 109;
    if (!inBand) {
      out[k] = kBlocked;
      continue;
    }
    const int i = SegmentUp(g, f);
    double v = in[k] + InterpColumn(g, i, f, gain.ptr(0, fr.group), 3);
    if (fr.category == 87) {
      const double a0 = d.qent1Step.at(i, fr.group, 0), a1 = d.qent1Step.at(i, fr.group, 1);
      v += fr.group == 0 ? StepN(s, 7, 7, 8, a0, a1) : StepN(s, 6, 6, 6, a0, a1);
    } else if (fr.category == 88) {
      const int sp = s < -10 ? s + 10 : s;
      v += StepN(sp, 7, 7, 8, d.qent2Step.at(i, fr.group, 1), d.qent2Step.at(i, fr.group, 2));
      if (s < -10) v -= d.qent2Step.at(i, fr.group, 0);
    }
    out[k] = v;
  }
}

// Broadband amplifiers 89 (row 2) and 90 (row 6): group 0 the output, group 1 the input test
// output, group 2 the output test output.
void Broadband(const NodeFrame& fr) {
  if (fr.group < 0 || fr.group > 2) return;
  const TerrAmpTables& d = TerrAmpData();
  const bool slev2 = fr.category == 89;
  const DeviceTable& gain = slev2 ? d.slev2Gain : d.slev3Gain;
  const DeviceTable& step = slev2 ? d.slev2Step : d.slev3Step;
  const DeviceTable& slope = slev2 ? d.slev2Slope : d.slev3Slope;
  const Grid g = FreqGridRow(slev2 ? 2 : 6);
  const int s = Setting(fr, kNodeStep, 0);
  const int t = Setting(fr, kNodeSetting, 1);
  const int sp = s <= -10 ? s + 10 : s;
  const int tp = t < 12 ? t - 1 : t - 11;
  const double* in = fr.input();
  double* out = fr.spectrum(1);
  for (int k = fr.kFirst; k <= fr.kLast; ++k) {
    const double f = FreqList[k];
    if (f < 5.0 || f >= 863.0) continue;
    if (fr.group == 1) {
      out[k] = in[k] - 20.0;
      continue;
    }
    const int i = SegmentUp(g, f);
    double v = in[k] + InterpColumn(g, i, f, gain.ptr(0), 1);
    v += StepN(sp, 5, 5, 5, step.at(i, 1), step.at(i, 2));
    if (s <= -10) v -= step.at(i, 0);
    if (t > 1) {
      const double v0 = InterpColumn(g, i, f, slope.ptr(0, 0), 3);
      const double v1 = InterpColumn(g, i, f, slope.ptr(0, 1), 3);
      const double v2 = InterpColumn(g, i, f, slope.ptr(0, 2), 3);
      v -= tp < 6 ? tp * v1 / 5.0 : v1 + (tp - 5) * v2 / 5.0;
      if (t > 11) v -= v0;
    }
    out[k] = fr.group == 2 ? v - 30.0 : v;
  }
}

}  // namespace

void RegisterTerrAmpBlocks(BlockTable& t) {
  t.set(80, Frox1);
  for (int c = 81; c <= 84; ++c) t.set(c, Channel, Reach::OtherNodes);  // the second input's node
  for (int c = 86; c <= 88; ++c) t.set(c, ThreeBand);
  t.set(89, Broadband);
  t.set(90, Broadband);
}

}  // namespace kavrix::engine

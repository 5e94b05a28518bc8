// Multiswitches, taps, splitters and the power inserter: output = input + the characteristic
// value interpolated at the frequency, plus the output attenuator on the cascadable switches.
#include "engine/distribution_block_helpers.hpp"
#include "engine/tables_multiswitch.hpp"

namespace kavrix::engine {
namespace {

using blk::ApplyColumn;
using blk::DualRow;

bool InRange(int v, int lo, int hi) { return v >= lo && v <= hi; }

// Through output and four subscriber outputs from port 0 (spectra 1..5); [path][point][output]
// or, with groups, [path][point][group][output].
void SmallSwitch(const NodeFrame& fr, const DeviceTable& t, const Grid& g, bool grouped) {
  if (!InRange(fr.path, 1, t.extent(0))) return;
  if (grouped && !InRange(fr.group, 0, t.extent(2) - 1)) return;
  const int stride = t.stride(1);
  for (int p = 0; p <= fr.lastPort; ++p) {
    const double* col = grouped ? t.ptr(fr.path - 1, 0, fr.group, p) : t.ptr(fr.path - 1, 0, p);
    ApplyColumn(fr, g, col, stride, fr.spectrum(p + 1));
  }
}

void Small4(const NodeFrame& fr) { SmallSwitch(fr, MultiswitchData().small4[fr.category - 991], FreqGridRow(0), false); }
void Small8(const NodeFrame& fr) { SmallSwitch(fr, MultiswitchData().small8[fr.category - 995], FreqGridRow(0), true); }
void Kelv9(const NodeFrame& fr) { SmallSwitch(fr, MultiswitchData().kelv9, DualRow(fr), false); }
void Kelv10(const NodeFrame& fr) { SmallSwitch(fr, MultiswitchData().kelv10, DualRow(fr), false); }
void Kelv15(const NodeFrame& fr) { SmallSwitch(fr, MultiswitchData().kelv15, DualRow(fr), false); }
void Kelv16(const NodeFrame& fr) { SmallSwitch(fr, MultiswitchData().kelv16, DualRow(fr), false); }

// Taps and splitters: one value per group, spectrum 1. The row is chosen on the path as built,
// then the second set of lines (paths 6..9) reads the tables of paths 1..4.
void TapLike(const NodeFrame& fr, const DeviceTable& t) {
  const Grid g = DualRow(fr);
  const int path = fr.path > 5 ? fr.path - 5 : fr.path;
  if (!InRange(path, 1, t.extent(0)) || !InRange(fr.group, 0, t.extent(2) - 1)) return;
  ApplyColumn(fr, g, t.ptr(path - 1, 0, fr.group), t.stride(1), fr.spectrum(1));
}
void Tap(const NodeFrame& fr) { TapLike(fr, MultiswitchData().tap[fr.category - 21]); }
void Splitter25(const NodeFrame& fr) { TapLike(fr, MultiswitchData().split25); }

void Inline26(const NodeFrame& fr) {
  const DeviceTable& t = MultiswitchData().inline26;
  if (!InRange(fr.group, 0, t.extent(1) - 1)) return;
  ApplyColumn(fr, FreqGridRow(0), t.ptr(0, fr.group), t.stride(0), fr.spectrum(1));
}

void Inserter29(const NodeFrame& fr) {
  const DeviceTable& t = MultiswitchData().inserter29;
  int column;
  if (fr.path == kTerrestrialPath) column = 0;
  else if (fr.path == 99) column = 1;
  else return;
  ApplyColumn(fr, DualRow(fr), t.ptr(0, column), t.stride(0), fr.spectrum(1));
}

// Where the output attenuator of a cascadable switch acts and which pair it reads.
enum class AttenRule { EveryPath, PathsUpTo5, Path5Only };

// Subscriber outputs 1..4 (spectra 2..5) from port 1, so nothing in single-frequency mode.
void Cascade(const NodeFrame& fr, const DeviceTable& t, const DeviceTable& pairs, AttenRule rule) {
  if (!InRange(fr.path, 1, t.extent(0)) || !InRange(fr.group, 0, t.extent(2) - 1)) return;
  const Grid g = DualRow(fr);
  const int s = (*fr.row)[kNodeSetting];
  const double* pairBase = nullptr;  // pair at grid point 0; the point stride follows
  int pairStride = 0;
  if (rule == AttenRule::Path5Only) {
    if (fr.path == kTerrestrialPath) pairBase = pairs.ptr(0), pairStride = pairs.stride(0);
  } else if (fr.path <= pairs.extent(1) && (rule == AttenRule::EveryPath || fr.path <= 5)) {
    pairBase = pairs.ptr(0, fr.path - 1), pairStride = pairs.stride(0);
  }
  for (int p = 1; p <= fr.lastPort; ++p) {
    const double* col = t.ptr(fr.path - 1, 0, fr.group, p - 1);
    if (pairBase) {
      ApplyColumn(fr, g, col, t.stride(1), fr.spectrum(p + 1), [&](int i, double) {
        const double* pr = pairBase + i * pairStride;
        return StepTerm(s, pr[0], pr[1]);
      });
    } else {
      ApplyColumn(fr, g, col, t.stride(1), fr.spectrum(p + 1));
    }
  }
}

void Casc37(const NodeFrame& fr) { Cascade(fr, MultiswitchData().casc37, MultiswitchData().pairs37, AttenRule::EveryPath); }
void Casc41(const NodeFrame& fr) { Cascade(fr, MultiswitchData().casc41, MultiswitchData().pairs41, AttenRule::EveryPath); }
void Casc71(const NodeFrame& fr) { Cascade(fr, MultiswitchData().casc71, MultiswitchData().pairs71, AttenRule::EveryPath); }
void Casc75(const NodeFrame& fr) { Cascade(fr, MultiswitchData().casc75, MultiswitchData().pairs75, AttenRule::EveryPath); }
void Casc72(const NodeFrame& fr) { Cascade(fr, MultiswitchData().casc72, MultiswitchData().pairs72, AttenRule::PathsUpTo5); }
void Casc76(const NodeFrame& fr) { Cascade(fr, MultiswitchData().casc76, MultiswitchData().pairs76, AttenRule::PathsUpTo5); }
void Casc38(const NodeFrame& fr) { Cascade(fr, MultiswitchData().casc38, MultiswitchData().pairs38, AttenRule::Path5Only); }
void Casc42(const NodeFrame& fr) { Cascade(fr, MultiswitchData().casc42, MultiswitchData().pairs42, AttenRule::Path5Only); }

// 17-input multiswitches: ports 0..1 write spectra 2 and 3; the through group of Kelv17
// (group 4) writes spectrum 1 with its own step on the terrestrial line.
void Switch17(const NodeFrame& fr) {
  const MultiswitchTables& d = MultiswitchData();
  const bool kelv17 = fr.category == 77;
  const DeviceTable& t = kelv17 ? d.ms77 : d.ms79;
  const DeviceTable& steps = kelv17 ? d.steps77 : d.steps79;
  const int lastGroup = kelv17 ? 4 : 7;
  if (!InRange(fr.path, 1, t.extent(0)) || !InRange(fr.group, 0, lastGroup)) return;
  const Grid g = DualRow(fr);
  const int stride = t.stride(1);
  const int pointStride = steps.stride(0);
  if (kelv17 && fr.group == 4) {
    const int s = (*fr.row)[kNodeStep];
    const double* pair = steps.ptr(0, 4, 0);
    ApplyColumn(fr, g, t.ptr(fr.path - 1, 0, 8), stride, fr.spectrum(1), [&](int i, double) {
      return fr.path == kTerrestrialPath ? StepTerm(s, pair[i * pointStride], pair[i * pointStride + 1]) : 0.0;
    });
    return;
  }
  const int s = (*fr.row)[kNodeSetting];
  const int gp = fr.path == kTerrestrialPath ? (kelv17 ? 4 : 8) : fr.group;  // the terrestrial row of S
  const int lastP = fr.lastPort > 0 ? 1 : 0;
  for (int p = 0; p <= lastP; ++p) {
    const double* col = kelv17 ? t.ptr(fr.path - 1, 0, 2 * fr.group + p) : t.ptr(fr.path - 1, 0, fr.group, p);
    const double* pair = steps.ptr(0, gp, p);
    ApplyColumn(fr, g, col, stride, fr.spectrum(p + 2), [&](int i, double) {
      return StepTerm(s, pair[i * pointStride], pair[i * pointStride + 1]);
    });
  }
}

}  // namespace

void RegisterMultiswitchBlocks(BlockTable& t) {
  for (int c = 991; c <= 994; ++c) t.set(c, Small4);
  for (int c = 995; c <= 998; ++c) t.set(c, Small8);
  t.set(11, Kelv9);
  t.set(12, Kelv10);
  t.set(65, Kelv15);
  t.set(66, Kelv16);
  for (int c = 21; c <= 24; ++c) t.set(c, Tap);
  t.set(25, Splitter25);
  t.set(26, Inline26);
  t.set(29, Inserter29);
  t.set(37, Casc37);
  t.set(41, Casc41);
  t.set(38, Casc38);
  t.set(42, Casc42);
  t.set(71, Casc71);
  t.set(75, Casc75);
  t.set(72, Casc72);
  t.set(76, Casc76);
  t.set(77, Switch17);
  t.set(79, Switch17);
}

}  // namespace kavrix::engine

// Five- and nine-input multiswitch series: subscriber outputs 1..4 (spectra 2..5) from port 1,
// and on the large-network series an output attenuator of coarse and fine steps.
#include <algorithm>

#include "engine/distribution_block_helpers.hpp"
#include "engine/tables_multiswitch.hpp"

namespace kavrix::engine {
namespace {

using blk::ApplyColumn;

// [path][point][group][output 1..4]; the one-group tables are stored with a group extent of 1.
void Series(const NodeFrame& fr, const DeviceTable& t) {
  const bool grouped = t.extent(3) > 1;
  if (fr.path < 1 || fr.path > t.extent(0)) return;
  if (grouped ? fr.group >= t.extent(2) || fr.group < 0 : fr.group != 0) return;
  const Grid g = blk::DualRow(fr);
  for (int p = 1; p <= fr.lastPort; ++p) {
    const double* col = grouped ? t.ptr(fr.path - 1, 0, fr.group, p - 1) : t.ptr(fr.path - 1, 0, p - 1);
    ApplyColumn(fr, g, col, t.stride(1), fr.spectrum(p + 1));
  }
}
void Jarn1(const NodeFrame& fr) { Series(fr, MultiswitchFamilyData().jarn1); }
void Jarn2(const NodeFrame& fr) { Series(fr, MultiswitchFamilyData().jarn2); }
void Jarn(const NodeFrame& fr) { Series(fr, MultiswitchFamilyData().jarn[fr.category - 161]); }

// Highest settings the tables cover: four coarse-and-fine steps of up to 3 each, or three
// direct coarse steps. Larger settings act as the largest.
constexpr int kMaxSplitSetting = 15;
constexpr int kMaxDirectSetting = 3;

// 170..178 (terrestrial line of the mains-powered models, no path index) and 171..179
// (every line of the remotely powered partner).
void LargeSeries(const NodeFrame& fr) {
  const MultiswitchFamilyTables& d = MultiswitchFamilyData();
  const int pair = (fr.category - 170) / 2;
  const bool terrOnly = fr.category % 2 == 0;
  if (fr.path < 1 || fr.path > 9 || fr.group < 0 || fr.group >= kLargeSwitchGroups[pair]) return;
  const DeviceTable& t = terrOnly ? d.hulmTerr[pair] : d.gavn[pair];
  const DeviceTable& coarse = d.coarse[pair];
  const DeviceTable& fine = d.fine[pair];
  const Grid g = terrOnly ? TerrGrid() : blk::DualGrid22(fr);

  // s >= 0 attenuates; the split into coarse and fine applies to the terrestrial line.
  const int field = (*fr.row)[kNodeSetting];
  const int s = field == kNoLimit ? 0 : -field;
  int a = 0, b = 0;
  if (terrOnly || fr.path == kTerrestrialPath) {
    const int sc = std::clamp(s, 0, kMaxSplitSetting);
    a = sc / 4;
    b = sc % 4;
  } else {
    a = std::clamp(s, 0, kMaxDirectSetting);
  }
  const int pathIndex = fr.path - 1;
  auto atten = [&](int i, double) {
    double v = 0.0;
    if (a > 0) v -= coarse.at(i, pathIndex, a - 1);
    if (b > 0) v -= fine.at(i, b - 1);
    return v;
  };
  for (int p = 1; p <= fr.lastPort; ++p) {
    const double* col = terrOnly ? t.ptr(0, fr.group, p - 1) : t.ptr(pathIndex, 0, fr.group, p - 1);
    const int stride = terrOnly ? t.stride(0) : t.stride(1);
    ApplyColumn(fr, g, col, stride, fr.spectrum(p + 1), atten);
  }
}

}  // namespace

void RegisterMultiswitchFamilyBlocks(BlockTable& t) {
  t.set(151, Jarn1);
  t.set(152, Jarn2);
  for (int c = 161; c <= 164; ++c) t.set(c, Jarn);
  for (int c = 170; c <= 179; ++c) t.set(c, LargeSeries);
}

}  // namespace kavrix::engine

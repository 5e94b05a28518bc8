// Entries 101 (smallest) and 102 (largest carrier level) of every node's spectra, which the
// outlet evaluation, the level marks and the level display read.
#include <algorithm>
#include <cmath>

#include "engine/propagation.hpp"
#include "model/run_records.hpp"
#include "model/source_tables.hpp"
#include "simulation/run_steps.hpp"

namespace kavrix {

namespace {


// Entry 101 := the smallest value above loFloor and entry 102 := the largest value above hiFloor,
// over entries 0..count - 1 and, with `optical`, entry 100. Four lanes run side by side; minima
// and maxima do not depend on the order, except which of an equal +0.0 and -0.0 is kept, so a
// result of zero is taken again in order.
void SetMinMax(double* sp, int count, bool optical, double loFloor, double hiFloor) {
  double lo[4] = {1000000.0, 1000000.0, 1000000.0, 1000000.0};
  double hi[4] = {kNoSignal, kNoSignal, kNoSignal, kNoSignal};
  auto take = [&](int j, double v) {
    lo[j] = (v > loFloor && v < lo[j]) ? v : lo[j];
    hi[j] = (v > hiFloor && hi[j] < v) ? v : hi[j];
  };
  int k = 0;
  for (; k + 4 <= count; k += 4)
    for (int j = 0; j < 4; ++j) take(j, sp[k + j]);
  for (; k < count; ++k) take(0, sp[k]);
  if (optical) take(0, sp[100]);
  double mn = lo[0], mx = hi[0];
  for (int j = 1; j < 4; ++j) {
    mn = lo[j] < mn ? lo[j] : mn;
    mx = mx < hi[j] ? hi[j] : mx;
  }
  if (mn == 0.0 || mx == 0.0) {
    mn = 1000000.0;
    mx = kNoSignal;
    auto inOrder = [&](double v) {
      if (v > loFloor) mn = std::min(mn, v);
      if (v > hiFloor) mx = std::max(mx, v);
    };
    for (int e = 0; e < count; ++e) inOrder(sp[e]);
    if (optical) inOrder(sp[100]);
  }
  sp[101] = mn;
  sp[102] = mx;
}

// Optical transmitters: both trackers hold the total power of the carriers above -10 dBm,
// spread over `carriers` channels when the walk counted them (0 = as summed).
void SetPowerSum(double* sp, int last, int carriers) {
  sp[101] = sp[102] = 0.0;
  double sum = 0.0;
  int cnt = 0;
  for (int k = 0; k <= last; ++k)
    if (sp[k] > -10) {
      sum += std::pow(10.0, sp[k] / 10.0);
      ++cnt;
    }
  if (cnt == 0) return;
  sp[102] = 10.0 * std::log10(carriers > 0 ? carriers * sum / cnt : sum);
  sp[101] = sp[102];
}

}  // namespace

void UpdateMinMaxTrackers() {
  constexpr double kAll = -1e300;
  // A spectrum still in the reset state gives the reset trackers (nothing above either floor),
  // so only the spectra a step of the run reached are scanned.
  // Past the entries the run may have written a spectrum holds kNoSignal, which lies below every
  // floor and no higher than the maximum's start, so the scan stops there (entry 100 aside).
  auto minMax = [](int i, int s, int last, double loFloor, double hiFloor) {
    const std::size_t n = static_cast<std::size_t>(i);
    if (!NodeSpectra.touched(n, s)) return;
    const int count = std::min(std::min(last, 99) + 1, NodeSpectra.written(n));
    SetMinMax(NodeSpectra.atLeading(n, s, 0), count, last >= 100, loFloor, hiFloor);
  };
  for (int i = 0; i < static_cast<int>(Nodes.size()) && Nodes[i][kNodeCode] != 0; ++i) {
    NodeSpectra.prefetch(static_cast<std::size_t>(i) + 16);
    const NodeRow& r = Nodes[i];
    const int id = r[kNodeSourceId];
    if (id == 0)
      for (int s = 0; s < kSpectraPerNode; ++s) NodeSpectra(i, s, 101) = NodeSpectra(i, s, 102) = kNoSignal;
    const bool lnb = id > 0 && id < kLnbIdLimit;
    const bool terrestrial = id > kSatIdLimit && r[kNodeChainMark] != kChainBandGrid;
    if ((lnb || terrestrial) && NodeClass(i) != 92) {
      const int slot = SatSlotOf(id), b = BandOf(id);
      if (lnb) {
        int last = 100;
        if (ValidSatSlot(slot) && b >= 1 && b <= 4 && LnbParams[slot][b - 1][0] >= 2)
          last = std::min(LnbParams[slot][b - 1][0] - 1, 100);
        for (int s = 0; s < kSpectraPerNode; ++s) minMax(i, s, last, -1000, kAll);
      } else if (slot > 9) {
        for (int s = 0; s < kSpectraPerNode; ++s) minMax(i, s, 99, -900, -900);
      }
    } else if (lnb || terrestrial) {
      const int slot = SatSlotOf(id), b = BandOf(id);
      if (lnb) {
        int last = 100;
        if (ValidSatSlot(slot) && b >= 1 && b <= 4 && LnbParams[slot][b - 1][0] >= 2)
          last = std::min(LnbParams[slot][b - 1][0] - 1, 100);
        for (int s = 0; s <= 1; ++s) SetPowerSum(NodeSpectra.at(i, s), last, 0);
      } else if (slot > 9) {
        for (int s = 0; s <= 1; ++s) SetPowerSum(NodeSpectra.at(i, s), 99, r[kNodeCarriers]);
      }
    }
    if (r[kNodeChainMark] == kChainBandGrid) {
      for (int s = 0; s <= 1; ++s) minMax(i, s, 27, 0, 0);
      if (NodeClass(i) == 81 && NodeSpectra.touched(static_cast<std::size_t>(i), 0)) {
        double* sp = NodeSpectra.at(i, 0);
        double hi = kNoSignal;
        for (int k = 0; k <= 30; ++k) hi = std::max(hi, sp[k]);
        sp[102] = hi;
      }
    }
  }
}

}  // namespace kavrix

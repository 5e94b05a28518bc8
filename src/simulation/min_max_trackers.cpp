// Entries 101 (smallest) and 102 (largest carrier level) of every node's spectra, which the
// outlet evaluation, the level marks and the level display read.
#include <algorithm>
#include <array>
#include <cmath>
#include <cstring>
#include <vector>

#include "engine/propagation.hpp"
#include "model/run_records.hpp"
#include "model/source_tables.hpp"
#include "simulation/run_steps.hpp"

namespace kavrix {

namespace {


struct MinMax {
  double mn, mx;
};

// The smallest value above loFloor and the largest value above hiFloor over entries
// 0..count - 1 and, with `optical`, entry 100. Four lanes run side by side; minima and maxima do
// not depend on the order, except which of an equal +0.0 and -0.0 is kept, so a result of zero is
// taken again in order.
MinMax ScanMinMax(const double* sp, int count, bool optical, double loFloor, double hiFloor) {
  // Lanes 0, 1 and 2, 3 as pairs: a value at or below a floor stands in as the start value,
  // which never wins, so no lane takes a branch.
  using Pair = double __attribute__((vector_size(16)));
  const Pair loStart = {1000000.0, 1000000.0}, hiStart = {kNoSignal, kNoSignal};
  const Pair loF = {loFloor, loFloor}, hiF = {hiFloor, hiFloor};
  Pair lo01 = loStart, lo23 = loStart, hi01 = hiStart, hi23 = hiStart;
  auto take = [&](Pair& lo, Pair& hi, Pair v) {
    const Pair l = v > loF ? v : loStart;
    const Pair h = v > hiF ? v : hiStart;
    lo = l < lo ? l : lo;
    hi = hi < h ? h : hi;
  };
  int k = 0;
  for (; k + 4 <= count; k += 4) {
    Pair a, b;
    std::memcpy(&a, sp + k, sizeof a);
    std::memcpy(&b, sp + k + 2, sizeof b);
    take(lo01, hi01, a);
    take(lo23, hi23, b);
  }
  double lo[4] = {lo01[0], lo01[1], lo23[0], lo23[1]};
  double hi[4] = {hi01[0], hi01[1], hi23[0], hi23[1]};
  auto take0 = [&](double v) {
    const double l = v > loFloor ? v : 1000000.0;
    const double h = v > hiFloor ? v : kNoSignal;
    lo[0] = l < lo[0] ? l : lo[0];
    hi[0] = hi[0] < h ? h : hi[0];
  };
  for (; k < count; ++k) take0(sp[k]);
  if (optical) take0(sp[kSpectrumOptical]);
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
    if (optical) inOrder(sp[kSpectrumOptical]);
  }
  return {mn, mx};
}

// Entry 101 := the smallest value above loFloor and entry 102 := the largest above hiFloor.
void SetMinMax(double* sp, int count, bool optical, double loFloor, double hiFloor) {
  const MinMax m = ScanMinMax(sp, count, optical, loFloor, hiFloor);
  sp[kSpectrumMin] = m.mn;
  sp[kSpectrumMax] = m.mx;
}

// The common case of a node's trackers: every spectrum the run reached scanned over entries
// 0..last (100 = with the optical entry) with the same floors, and nothing else.
struct PlainScan {
  int last = 0;
  double loFloor = 0, hiFloor = 0;
  bool operator==(const PlainScan&) const = default;
};

constexpr double kAll = -1e300;

// LNB bands: the band's carriers (100 when the plan names none).
int LnbLast(int id) {
  const int slot = SatSlotOf(id), b = BandOf(id);
  if (ValidSatSlot(slot) && b >= 1 && b <= 4 && LnbParams[slot][b - 1][kLnbCarriers] >= 2)
    return std::min(LnbParams[slot][b - 1][kLnbCarriers] - 1, 100);
  return 100;
}

bool PlainScanOf(int i, PlainScan& p) {
  const NodeRow& r = Nodes[static_cast<std::size_t>(i)];
  const int id = r[kNodeSourceId];
  if (id <= 0 || r[kNodeChainMark] == kChainBandGrid) return false;
  if (id < kLnbIdLimit) {
    if (NodeClass(i) == 92) return false;
    p = {LnbLast(id), -1000, kAll};
    return true;
  }
  if (id > kSatIdLimit && SatSlotOf(id) > 9) {
    if (NodeClass(i) == 92) return false;
    p = {99, -900, -900};
    return true;
  }
  return false;
}

int ScanCount(std::size_t n, int last) { return std::min(std::min(last, 99) + 1, NodeSpectra.written(n)); }

// What the walk found for a node's trackers while its spectra were at hand, valid while the
// node stays noted in NodeSpectra. Kept in the order the walk took them, so that taking writes
// memory in sequence, with the latest entry of each node.
struct TakenTrackers {
  PlainScan scan;
  std::array<MinMax, kSpectraPerNode> value;
};
std::vector<TakenTrackers> Taken;
std::vector<int32_t> TakenAt;

// Optical transmitters: both trackers hold the total power of the carriers above -10 dBm,
// spread over `carriers` channels when the walk counted them (0 = as summed).
void SetPowerSum(double* sp, int last, int carriers) {
  sp[kSpectrumMin] = sp[kSpectrumMax] = 0.0;
  double sum = 0.0;
  int cnt = 0;
  for (int k = 0; k <= last; ++k)
    if (sp[k] > -10) {
      sum += std::pow(10.0, sp[k] / 10.0);
      ++cnt;
    }
  if (cnt == 0) return;
  sp[kSpectrumMax] = 10.0 * std::log10(carriers > 0 ? carriers * sum / cnt : sum);
  sp[kSpectrumMin] = sp[kSpectrumMax];
}

}  // namespace

void TakeNodeTrackers(int node) {
  PlainScan p;
  if (!PlainScanOf(node, p)) return;
  const std::size_t n = static_cast<std::size_t>(node);
  if (TakenAt.size() <= n) TakenAt.resize(std::max(Nodes.size(), n + 1));
  TakenAt[n] = static_cast<int32_t>(Taken.size());
  TakenTrackers& t = Taken.emplace_back();
  t.scan = p;
  const int count = ScanCount(n, p.last);
  for (int s = 0; s < kSpectraPerNode; ++s)
    if (NodeSpectra.touched(n, s)) t.value[static_cast<std::size_t>(s)] = ScanMinMax(NodeSpectra.read(n, s), count, p.last >= 100, p.loFloor, p.hiFloor);
  NodeSpectra.note(n);
}

void UpdateMinMaxTrackers() {
  // A spectrum still in the reset state gives the reset trackers (nothing above either floor),
  // so only the spectra a step of the run reached are scanned.
  // Past the entries the run may have written a spectrum holds kNoSignal, which lies below every
  // floor and no higher than the maximum's start, so the scan stops there (entry 100 aside).
  auto minMax = [](int i, int s, int last, double loFloor, double hiFloor) {
    const std::size_t n = static_cast<std::size_t>(i);
    if (!NodeSpectra.touched(n, s)) return;
    SetMinMax(NodeSpectra.atLeading(n, s, 0), ScanCount(n, last), last >= 100, loFloor, hiFloor);
  };
  for (int i = 0; i < static_cast<int>(Nodes.size()) && Nodes[i][kNodeCode] != 0; ++i) {
    const std::size_t ahead = static_cast<std::size_t>(i) + 16;
    NodeSpectra.prefetch(ahead, NodeSpectra.size() > ahead && NodeSpectra.noted(ahead));
    PlainScan plain;
    if (PlainScanOf(i, plain)) {
      const std::size_t n = static_cast<std::size_t>(i);
      // A note outlives the list only when the sweep never reached the node; such an index is
      // not trusted.
      const bool listed = NodeSpectra.noted(n) && n < TakenAt.size() && static_cast<std::size_t>(TakenAt[n]) < Taken.size();
      const TakenTrackers* taken = listed ? &Taken[static_cast<std::size_t>(TakenAt[n])] : nullptr;
      if (taken && taken->scan == plain) {
        for (int s = 0; s < kSpectraPerNode; ++s) {
          if (!NodeSpectra.touched(n, s)) continue;
          double* sp = NodeSpectra.atLeading(n, s, 0);
          sp[kSpectrumMin] = taken->value[static_cast<std::size_t>(s)].mn;
          sp[kSpectrumMax] = taken->value[static_cast<std::size_t>(s)].mx;
        }
      } else {
        for (int s = 0; s < kSpectraPerNode; ++s) minMax(i, s, plain.last, plain.loFloor, plain.hiFloor);
      }
      continue;
    }
    const NodeRow& r = Nodes[i];
    const int id = r[kNodeSourceId];
    if (id == 0)
      for (int s = 0; s < kSpectraPerNode; ++s) NodeSpectra(i, s, kSpectrumMin) = NodeSpectra(i, s, kSpectrumMax) = kNoSignal;
    const bool lnb = id > 0 && id < kLnbIdLimit;
    const bool terrestrial = id > kSatIdLimit && r[kNodeChainMark] != kChainBandGrid;
    if ((lnb || terrestrial) && NodeClass(i) != 92) {
      const int slot = SatSlotOf(id);
      if (lnb) {
        const int last = LnbLast(id);
        for (int s = 0; s < kSpectraPerNode; ++s) minMax(i, s, last, -1000, kAll);
      } else if (slot > 9) {
        for (int s = 0; s < kSpectraPerNode; ++s) minMax(i, s, 99, -900, -900);
      }
    } else if (lnb || terrestrial) {
      const int slot = SatSlotOf(id);
      if (lnb) {
        const int last = LnbLast(id);
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
        sp[kSpectrumMax] = hi;
      }
    }
  }
  Taken.clear();
}

}  // namespace kavrix

#include "engine/propagation.hpp"

#include <algorithm>
#include <cmath>
#include <cstring>

#include "catalogue/type_catalogue.hpp"
#include "engine/distribution_block_helpers.hpp"
#include "engine/node_frame.hpp"
#include "model/network_model.hpp"
#include "model/source_tables.hpp"

namespace kavrix {

namespace engine {

void WalkMarks::begin() {
  if (m_marks.size() < Nodes.size()) m_marks.resize(Nodes.size(), 0);
  if (++m_epoch == 0) {  // wrapped: old marks could look current
    std::fill(m_marks.begin(), m_marks.end(), 0);
    m_epoch = 1;
  }
}

int WalkSuccessor(int next) {
  if (next == 0 || next == INT32_MIN) return -1;
  const int n = next < 0 ? -next : next;
  const long long high = static_cast<long long>(Nodes.size()) - 1;
  return n < high ? n : -1;
}

}  // namespace engine

int NodeKind(int n) {
  if (!ValidNode(n)) return 0;
  const int row = Nodes[static_cast<std::size_t>(n)][kNodeObject];
  return ValidObjRow(row) ? NetObjects[static_cast<std::size_t>(row)][kKind] : 0;
}

int NodeClass(int n) { return TypeOf(NodeKind(n))[kClass]; }

namespace {

using engine::WalkSuccessor;

constexpr int kBandGridEntries = 30;  // a node on the band grid always receives at least these

bool IsOptical(int cls) { return cls >= 91 && cls <= 99; }

int LeadingCount() {
  int count = 0;
  while (count < 100 && FreqList[count] > 0) ++count;
  return count;
}


// Output of `from` to the input of `to`: the leading run of the list, and at least the first 30
// entries when `markNode` lies on the 28-point band grid.
void CopySpectrum(int from, int to, int markNode, int count) {
  int n = count;
  if (NodeAt(markNode)[kNodeChainMark] == kChainBandGrid && n < kBandGridEntries) n = kBandGridEntries;
  std::memcpy(NodeSpectra.atLeading(static_cast<std::size_t>(to), 0, n), SpectrumRead(from, 1),
              sizeof(double) * static_cast<std::size_t>(n));
}

void CarryOptical(int from, int to) {
  NodeAt(to)[kNodeWavelength] = NodeAt(from)[kNodeWavelength];
  SpectrumAt(to, 0)[kSpectrumOptical] = SpectrumAt(from, 1)[kSpectrumOptical];
  SpectrumAt(to, 2)[kSpectrumOptical] = SpectrumAt(from, 2)[kSpectrumOptical];
}

bool SamePoint(const NodeRow& in, const NodeRow& out) {
  return in[kNodeInX] == out[kNodeOutX] && in[kNodeInY] == out[kNodeOutY];
}

// Outlet cable and socket losses of node n's linked ports.
void SubtractOutletLosses(int n, bool satellite, int count) {
  const NodeRow& row = NodeAt(n);
  if (row[kNodePort2Link] == kNoPort) return;
  const double socket = satellite ? SatSocketLoss : TerrSocketLoss;
  for (int p = 2; p <= 5; ++p) {
    const int link = row[PortLink(p)];
    if (link < 0 || static_cast<std::size_t>(link) >= Links.size()) continue;
    const int obj = Links[static_cast<std::size_t>(link)][kLinkObject];
    if (!ValidObjRow(obj)) continue;
    const ObjRow& o = NetObjects[static_cast<std::size_t>(obj)];
    const double coef = ValidCableKind(o[kStyle]) ? CableCoef[o[kStyle]] : 0.0;
    const double len = o[kInst];
    double* sp = NodeSpectra.atLeading(static_cast<std::size_t>(n), p, count);
    for (int k = 0; k < count; ++k) sp[k] -= engine::RootFreqGHz(k) * coef * len + socket;
  }
}

// Builds the frequency list of source node s (and the output levels of terrestrial and generated
// sources); false when the source has nothing to send.
bool BuildSourceList(int s) {
  const int id = NodeAt(s)[kNodeSourceId];
  const int g = SatSlotOf(id);
  const int b = BandOf(id);
  for (int j = 0; j < 100; ++j) FreqList[j] = 0.0;
  engine::FreqListChanged();
  if (id < kLnbIdLimit) {
    if (ValidSatSlot(g) && b >= 1 && b <= 4)
      for (int j = 0; j < kSatRows; ++j) FreqList[j] = SatTables[g][SatFreqColumn(b - 1)][j];
  } else if (id >= kTerrIdBase && id < 200) {
    const int t = TerrPairOf(id);
    if (t >= 0) {
      double* out = SpectrumAt(s, 1);
      for (int j = 0; j < 100; ++j) {
        FreqList[j] = TerrSpectra[2 * t][j];
        out[j] = TerrSpectra[2 * t + 1][j];
      }
    }
  } else if (id >= kGeneratedIdBase && (NodeAt(s)[kNodeCode] == kCodeGorvSource || NodeAt(s)[kNodeCode] == kCodeFemoSource)) {
    const int t = TerrPairOf(id);
    if (t >= 0) {
      double* out = SpectrumAt(s, 1);
      for (int j = 0; j < 100 && TerrSpectra[2 * t][j] > 0; ++j) {
        FreqList[j] = TerrSpectra[2 * t][j];
        out[j] = TerrSpectra[2 * t + 1][j];
      }
    }
  }
  for (int j = 0; j < 100; ++j)
    if (FreqList[j] > 0) return true;
  return false;
}

// One walk of TryNodeStep from `start` to `target` at list position k. The trial walk tests the
// class and source id of a sibling; the restoring walk tests its input point only.
void StepWalk(int target, int start, int k, bool trial) {
  static engine::WalkMarks marks;
  marks.begin();
  int n = start;
  while (n != target && ValidNode(n) && marks.first(n)) {
    CalcNode(n, k);
    const int field15 = NodeAt(n)[kNodeNext];
    const int next = WalkSuccessor(field15);
    if (next < 0) return;
    if (field15 > 0) {
      const bool optical = IsOptical(NodeClass(n));
      SpectrumAt(next, 0)[k] = SpectrumAt(n, 1)[k];
      // Wavelength and optical level only: the drive shortfall of a transmitter computed at one
      // list position is that carrier's alone, not the drive the full pass found.
      if (optical) {
        NodeAt(next)[kNodeWavelength] = NodeAt(n)[kNodeWavelength];
        SpectrumAt(next, 0)[kSpectrumOptical] = SpectrumAt(n, 1)[kSpectrumOptical];
      }
      const NodeRow& nextRow = NodeAt(next);
      const int nextObj = nextRow[kNodeObject];
      if (ValidObjRow(nextObj)) {
        const TypeRecord& type = TypeOf(NetObjects[static_cast<std::size_t>(nextObj)][kKind]);
        if (type[kGroupsMinus1] > 0) {
          const bool classTest = trial && NodeClass(next) == 91;
          for (int m = next + 1; m <= next + type[kPaths] && ValidNode(m); ++m) {
            if (!SamePoint(NodeAt(m), NodeAt(n))) continue;
            if (classTest && NodeAt(m)[kNodeSourceId] != NodeAt(n)[kNodeSourceId]) continue;
            SpectrumAt(m, 0)[k] = SpectrumAt(n, 1)[k];
            if (optical) {
              NodeAt(m)[kNodeWavelength] = NodeAt(n)[kNodeWavelength];
              SpectrumAt(m, 0)[kSpectrumOptical] = SpectrumAt(n, 1)[kSpectrumOptical];
            }
          }
        }
      }
    }
    n = next;
  }
}

// PassSpectrumDownstream over a list whose leading run holds `count` entries.
void PassOn(int n, int count) {
  if (!ValidNode(n)) return;
  const int next = NodeAt(n)[kNodeNext];
  const int nodeClass = NodeClass(n);

  // Channel amplifier branch: the per-channel nodes after the branch node.
  if (next < 10000 && next != INT32_MIN) {
    const int a = next < 0 ? -next : next;
    if (nodeClass == 61 && NodeClass(a) == 61 && IsGroup1Terrestrial(NodeAt(n)[kNodeCode])) {
      // The second-input (group 2) nodes built for the same source; skipped when the node
      // arithmetic does not land on such a node of the same object.
      const int from = engine::blk::SiblingNode(n, 1, 2);
      const int to = engine::blk::SiblingNode(a, 1, 2);
      if (from >= 0 && to >= 0)
        std::memcpy(NodeSpectra.atLeading(static_cast<std::size_t>(to), 0, count), SpectrumRead(from, 1),
                    sizeof(double) * static_cast<std::size_t>(count));
    }
  }

  if (next <= 0 || next >= static_cast<long long>(Nodes.size()) - 1) return;
  if (SpectrumRead(n, 1)[kSpectrumMin] <= kNoSignal) return;
  CopySpectrum(n, next, next, count);
  const bool optical = IsOptical(nodeClass);
  if (optical) CarryOptical(n, next);

  const int nextObj = NodeAt(next)[kNodeObject];
  if (!ValidObjRow(nextObj) || TypeOf(NetObjects[static_cast<std::size_t>(nextObj)][kKind])[kGroupsMinus1] <= 0)
    return;
  const NodeRow& from = NodeAt(n);
  const long long high = static_cast<long long>(Nodes.size()) - 1;
  for (int m = next + 1; m < high && NodeAt(m)[kNodeObject] == nextObj; ++m) {
    const NodeRow& sib = NodeAt(m);
    if (!SamePoint(sib, from)) continue;
    if ((sib[kNodeChainMark] == from[kNodeChainMark] && nodeClass != 91) || sib[kNodeSourceId] == from[kNodeSourceId]) {
      CopySpectrum(n, m, next, count);
      if (optical) CarryOptical(n, m);
    }
  }
}

}  // namespace

void PassSpectrumDownstream(int n) { PassOn(n, LeadingCount()); }

void RunSourcePasses(bool mode, void (*computed)(int node)) {
  static engine::WalkMarks marks;
  for (int s = 0; s <= SourceCount && ValidNode(s); ++s) {
    if (!BuildSourceList(s)) continue;
    const bool satellite = NodeAt(s)[kNodeSourceId] < kLnbIdLimit;
    const int count = LeadingCount();
    const long long high = static_cast<long long>(Nodes.size()) - 1;
    marks.begin();
    int n = s;
    while (n >= 0 && n < high && marks.first(n)) {
      // The node after the next one, while this one is computed.
      const int next = WalkSuccessor(NodeAt(n)[kNodeNext]);
      if (next >= 0) {
        const int after = WalkSuccessor(NodeAt(next)[kNodeNext]);
        if (after >= 0) NodeSpectra.prefetchForWrite(static_cast<std::size_t>(after));
      }
      CalcNode(n, -1);
      if (mode) SubtractOutletLosses(n, satellite, count);
      PassOn(n, count);
      if (computed) computed(n);
      n = WalkSuccessor(NodeAt(n)[kNodeNext]);
    }
  }
}

bool TryNodeStep(int target, int start, int freqIndex) {
  if (!ValidNode(target) || !ValidNode(start) || freqIndex < 0 || freqIndex > 99) return false;
  const double before = SpectrumAt(target, 0)[freqIndex];
  NodeAt(start)[kNodeStep] -= 1;
  StepWalk(target, start, freqIndex, true);
  const bool changed = SpectrumAt(target, 0)[freqIndex] != before;
  NodeAt(start)[kNodeStep] += 1;
  StepWalk(target, start, freqIndex, false);
  return changed;
}

void SortFrequencyList() {
  bool sorted;
  do {
    sorted = true;
    for (int j = 0; j < 100; ++j) {
      if (FreqList[j] > FreqList[j + 1] && FreqList[j + 1] != 0 && FreqList[j] != 0) {
        const double t = FreqList[j];
        FreqList[j] = FreqList[j + 1];
        FreqList[j + 1] = t;
        sorted = false;
      }
    }
  } while (!sorted);
}

}  // namespace kavrix

#include "simulation/level_tuning.hpp"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdlib>
#include <vector>

#include "model/committed_drawing.hpp"
#include "catalogue/port_templates.hpp"
#include "catalogue/type_catalogue.hpp"
#include "engine/node_frame.hpp"
#include "engine/propagation.hpp"
#include "model/run_records.hpp"
#include "model/source_tables.hpp"
#include "model/undo_ring.hpp"
#include "simulation/control_reset.hpp"
#include "simulation/controller_search.hpp"

namespace kavrix {
namespace tuning {

int ObjectSpan(int row) { return ValidObjRow(row) ? ObjectRowCount(row) : 0; }

int32_t DecodeA(int mode, int32_t cell) { return mode > 1 ? -cell : cell; }
int32_t EncodeA(int mode, int32_t value) { return mode > 1 ? -value : value; }
int32_t DecodeB(int column, int32_t cell) { return (column == 0 ? -cell : cell) + 1; }
int32_t EncodeB(int column, int32_t value) { return column == 0 ? 1 - value : value - 1; }

int SlopeForTilt(int kind, double meanTilt, int current, int high) {
  int slope = current;
  if (kind > 100) {
    if (meanTilt > 3.0) slope = 2;
    if (meanTilt > 9.0) slope = 3;
    if (meanTilt > 15.0) slope = 4;
  } else if (meanTilt > 0.0) {
    slope = static_cast<int>(std::trunc(meanTilt - 17.0));
  }
  // Below 1 means "no slope": never an output attenuation.
  return std::clamp(slope, 1, std::max(1, high));
}

}  // namespace tuning

namespace {

using engine::WalkSuccessor;
using tuning::ObjectSpan;

constexpr double kCleared = -1e9;
constexpr int kNoController = -1;

int KindOfRow(int row) { return ValidObjRow(row) ? NetObjects[static_cast<std::size_t>(row)][kKind] : 0; }

const TemplateRow* ControlRow(const NodeRow& n) {
  const int c = n[kNodeControlRow];
  if (c <= 0 || c >= kTemplateRowCount) return nullptr;
  return &PortTemplates[static_cast<std::size_t>(c)];
}

// Step and slope bounds of a node's controls: the step goes down to low, the slope rises while
// below high.
struct Bounds {
  int low = -20;
  int high = 20;
};
Bounds BoundsOf(const NodeRow& n) {
  const TemplateRow* c = ControlRow(n);
  if (!c) return {};
  return {-std::abs((*c)[kCtlModeA]), (*c)[kCtlModeB] + 1};
}

bool SameObject(int a, int b) { return ValidNode(a) && ValidNode(b) && NodeAt(a)[kNodeObject] == NodeAt(b)[kNodeObject]; }

bool HasGroups(int row) { return ValidObjRow(row) && TypeOf(KindOfRow(row))[kGroupsMinus1] > 0; }

// State of one Tune command.
class Tuner {
 public:
  Tuner() : m_controller(Nodes.size(), kNoController), m_adjustable(Nodes.size(), 0) { m_walk.reserve(Nodes.size()); }

  void run() {
    chainLeaders();
    tiltStage();
    for (int i = 0; i <= SourceCount && ValidNode(i); ++i) perSource(i);
  }

 private:
  int high() const { return static_cast<int>(Nodes.size()) - 1; }

 public:
  static void clearSpectra() {
    for (int n = SourceCount + 1; n < static_cast<int>(Nodes.size()); ++n)
      for (int s = 0; s < kSpectraPerNode; ++s) std::fill(SpectrumAt(n, s), SpectrumAt(n, s) + 101, kCleared);
  }

 private:

  // Terrestrial chains: each node notes the nearest slope-adjustable node upstream (field 24).
  void chainLeaders() {
    for (int i = 0; i <= SourceCount && ValidNode(i); ++i) {
      if (NodeAt(i)[kNodeSourceId] <= kSatIdLimit) continue;
      int leader = 0;
      m_marks.begin();
      for (int n = i; n >= 0 && m_marks.first(n); n = WalkSuccessor(NodeAt(n)[kNodeNext])) {
        const int f15 = NodeAt(n)[kNodeNext];
        if (f15 <= 0 || f15 >= kChainEnd || WalkSuccessor(f15) < 0) continue;
        const int d = f15;
        if (NodeAt(n)[kNodeSetting] >= 1 && NodeAt(n)[kNodeSetting] <= 99) {
          leader = n;
          NodeAt(d)[kNodeLeader] = n;
        } else {
          NodeAt(d)[kNodeLeader] = NodeAt(n)[kNodeLeader];
        }
        const int obj = NodeAt(d)[kNodeObject];
        if (!HasGroups(obj)) continue;
        for (int m = d + 1; m < high() && NodeAt(m)[kNodeObject] == obj; ++m)
          if (NodeAt(m)[kNodeLeader] == 0 && NodeAt(m)[kNodeSourceId] == NodeAt(n)[kNodeSourceId]) NodeAt(m)[kNodeLeader] = leader;
      }
    }
  }

  // FreqList of a terrestrial source for the tilt stage; returns the carrier count.
  int terrList(int id) {
    std::fill(FreqList.begin(), FreqList.begin() + 100, 0.0);
    if (TerrSourceIndex > -1) {
      const int pair = TerrPairOf(id);
      if (pair >= 0)
        for (int j = 0; j < 100; ++j) FreqList[j] = TerrSpectra[2 * pair][j];
    }
    engine::FreqListChanged();
    return countCarriers();
  }

  static int countCarriers() {
    int count = 0;
    for (int j = 0; j < 100; ++j) count += FreqList[j] > 0.0 ? 1 : 0;
    return count;
  }

  // Tilt of terrestrial amplifiers: each pass gives one leader per source a slope from the mean
  // tilt that its chain shows at the first and last carriers.
  void tiltStage() {
    bool further = true;
    double lowF = 0.0, highF = 0.0;
    while (further) {
      std::array<double, 6> firstSum{}, lastSum{};
      std::array<int, 6> firstCount{}, lastCount{};
      further = false;
      int leader = -1;
      for (int i = 0; i <= SourceCount && ValidNode(i); ++i) {
        const int id = NodeAt(i)[kNodeSourceId];
        if (id <= kSatIdLimit) continue;
        further = false;
        leader = -1;
        const int count = terrList(id);
        m_marks.begin();
        for (int n = i; n >= 0 && m_marks.first(n); n = WalkSuccessor(NodeAt(n)[kNodeNext])) {
          CalcNode(n, -1);
          NodeRow& row = NodeAt(n);
          const Bounds b = BoundsOf(row);
          if (row[kNodeSetting] > 0 && row[kNodeSetting] < b.high && count > 3 && row[kNodeLeader] > -1) {
            if (leader < 0) leader = n;
            further = true;
            NodeAt(leader)[kNodeLeader] = -1;
            if (lowF == 0.0 || lowF > FreqList[0] + 0.001) {
              lowF = FreqList[0];
              firstSum.fill(0.0);
              firstCount.fill(0);
            }
            if (highF == 0.0 || highF < FreqList[count - 1] - 0.001) {
              highF = FreqList[count - 1];
              lastSum.fill(0.0);
              lastCount.fill(0);
            }
          }
          if (leader >= 0 && row[kNodeLeader] == leader && count > 0) {
            for (int p = 1; p <= 5; ++p) {
              if (p == 1 && row[kNodeMaxLevel] >= 1000) continue;
              const double* sp = SpectrumAt(n, p);
              if (lowF == FreqList[0])
                for (int k = 0, taken = 0; k < count && taken < 3; ++k)
                  if (sp[k] > 0.0) {
                    firstSum[p] += sp[k];
                    ++firstCount[p];
                    ++taken;
                  }
              if (highF == FreqList[count - 1])
                for (int k = count - 1, taken = 0; k >= 1 && taken < 3; --k)
                  if (sp[k] > 0.0) {
                    lastSum[p] += sp[k];
                    ++lastCount[p];
                    ++taken;
                  }
            }
          }
          PassSpectrumDownstream(n);
          const int next = WalkSuccessor(row[kNodeNext]);
          if (next >= 0 && SameObject(n, next)) NodeAt(next)[kNodeSetting] = row[kNodeSetting];
        }
      }
      double sum = 0.0;
      int slopes = 0;
      for (int p = 1; p <= 5; ++p) {
        if (firstCount[p] == 0 || lastCount[p] == 0) continue;
        const double slope = firstSum[p] / firstCount[p] - lastSum[p] / lastCount[p];
        if (slope != 0.0) {
          sum += slope;
          ++slopes;
        }
      }
      if (slopes > 0 && leader >= 0) {
        NodeRow& lead = NodeAt(leader);
        lead[kNodeSetting] = tuning::SlopeForTilt(KindOfRow(lead[kNodeObject]), sum / slopes, lead[kNodeSetting], BoundsOf(lead).high);
        for (int m = std::max(leader - 4, 0); m <= leader + 4 && ValidNode(m); ++m)
          if (NodeAt(m)[kNodeObject] == lead[kNodeObject] && NodeAt(m)[kNodeCode] == lead[kNodeCode]) NodeAt(m)[kNodeSetting] = lead[kNodeSetting];
      }
    }
    for (int n = SourceCount + 1; n < static_cast<int>(Nodes.size()); ++n) NodeAt(n)[kNodeLeader] = 0;
  }

  // FreqList of source i for the stepping stages; sets m_band and m_count.
  void sourceList(int i) {
    const int id = NodeAt(i)[kNodeSourceId];
    const int number = SatSlotOf(id);
    m_band = id > kSatIdLimit ? kTerrestrialPath : BandOf(id);
    std::fill(FreqList.begin(), FreqList.begin() + 100, 0.0);
    if (m_band >= 1 && m_band < 5 && ValidSatSlot(number)) {
      for (int j = 0; j < kSatRows; ++j) FreqList[j] = SatTables[number][2 * (m_band - 1)][j];
    } else if (number > 9) {
      const int pair = TerrPairOf(id);
      if (pair >= 0)
        for (int j = 0; j < 100; ++j) FreqList[j] = TerrSpectra[2 * pair][j];
    }
    engine::FreqListChanged();
    m_count = countCarriers();
    for (int k = 0; k < 100; ++k) m_rootF[k] = FreqList[k] > 0.0 ? std::sqrt(FreqList[k] / 1000.0) : 0.0;
  }

  // The source's spectrum to its first node and that node's siblings on the same input pin.
  void handOver(int i) {
    const NodeRow& src = NodeAt(i);
    const int id = src[kNodeSourceId];
    const int d = src[kNodeNext];
    if (d <= 0 || d >= kChainEnd || WalkSuccessor(d) < 0) return;
    if (SpectrumAt(i, 1)[kSpectrumMin] <= -1e7) return;
    const bool optical = [&] {
      const int cls = TypeOf(KindOfRow(src[kNodeObject]))[kClass];
      return cls >= 91 && cls <= 99;
    }();
    auto copyTo = [&](int m) {
      std::copy(SpectrumAt(i, 1), SpectrumAt(i, 1) + 100, SpectrumAt(m, 0));
      if (id < kTerrIdBase || TerrSourceIndex == 0) SpectrumAt(m, 0)[kSpectrumOptical] = SpectrumAt(i, 1)[kSpectrumOptical];
      if (optical) {
        NodeAt(m)[kNodeWavelength] = src[kNodeWavelength];
        SpectrumAt(m, 0)[kSpectrumOptical] = SpectrumAt(i, 1)[kSpectrumOptical];
        SpectrumAt(m, 2)[kSpectrumOptical] = SpectrumAt(i, 2)[kSpectrumOptical];
      }
    };
    copyTo(d);
    const int obj = NodeAt(d)[kNodeObject];
    if (!HasGroups(obj)) return;
    for (int m = d + 1; m < high() && NodeAt(m)[kNodeObject] == obj; ++m) {
      const NodeRow& r = NodeAt(m);
      if (r[kNodeInX] == src[kNodeOutX] && r[kNodeInY] == src[kNodeOutY] && (r[kNodeChainMark] == src[kNodeChainMark] || r[kNodeSourceId] == src[kNodeSourceId])) copyTo(m);
    }
  }

  bool satellite() const { return m_band < 5; }

  // Any port level of node n above its maximum, above the outlet limit of a linked socket, or
  // above a port's own limit (negated link value).
  bool portViolation(int n) const {
    const NodeRow& row = NodeAt(n);
    const double maxLevel = satellite() ? SatMaxLevel + SatSocketLoss : TerrMaxLevel + TerrSocketLoss;
    const double limit13 = row[kNodeMaxLevel];
    for (int p = 2; p <= 5; ++p) {
      const int link = row[PortLink(p)];
      const double* sp = SpectrumAt(n, p);
      double perRoot = 0.0;
      const bool linked = link >= 0 && static_cast<std::size_t>(link) < Links.size() &&
                          ValidObjRow(Links[static_cast<std::size_t>(link)][kLinkObject]);
      if (linked) {
        const ObjRow& o = NetObjects[static_cast<std::size_t>(Links[static_cast<std::size_t>(link)][kLinkObject])];
        perRoot = o[kInst] * (ValidCableKind(o[kStyle]) ? CableCoef[o[kStyle]] : 0.0);
      }
      const double own = link < -2 ? -static_cast<double>(link) : 0.0;
      for (int k = 0; k < 100; ++k) {
        const double v = sp[k];
        if (v > limit13) return true;
        if (linked && v > perRoot * m_rootF[k] + maxLevel) return true;
        if (link < -2 && v > own) return true;
      }
    }
    return false;
  }

  // Outlet loss (cable and socket) of port p of node n at list position k; 0 when unlinked.
  double outletLoss(int n, int p, int k) const {
    const int link = NodeAt(n)[PortLink(p)];
    if (link < 0 || static_cast<std::size_t>(link) >= Links.size()) return 0.0;
    const int obj = Links[static_cast<std::size_t>(link)][kLinkObject];
    if (!ValidObjRow(obj)) return 0.0;
    const ObjRow& o = NetObjects[static_cast<std::size_t>(obj)];
    const double coef = ValidCableKind(o[kStyle]) ? CableCoef[o[kStyle]] : 0.0;
    return o[kInst] * m_rootF[k] * coef + SatSocketLoss;
  }

  // Carries node n's output on; a successor of the same object takes its second setting.
  int passOn(int n) {
    PassSpectrumDownstream(n);
    const int next = WalkSuccessor(NodeAt(n)[kNodeNext]);
    if (next >= 0 && SameObject(n, next)) NodeAt(next)[kNodeSetting] = NodeAt(n)[kNodeSetting];
    return next;
  }

  double outputTilt(int n) const {
    const NodeRow& row = NodeAt(n);
    const double* out = SpectrumAt(n, 1);
    const int c = m_count;
    if (row[kNodeChainMark] < kChainBandGrid) return (out[0] + out[1] + out[2]) - (out[c - 3] + out[c - 2] + out[c - 1]);
    if (row[kNodeChainMark] == kChainBandGrid) return (out[0] + out[7] + out[14] + out[21]) - (out[6] + out[13] + out[20] + out[27]);
    return 0.0;  // no defined tilt above the band-grid mark
  }

  // Slope and gain stepping, and output attenuation against outlet limits.
  void stepSettings(int i) {
    m_marks.begin();
    m_marks.first(i);
    int n = i;
    while (n >= 0) {
      CalcNode(n, -1);
      NodeRow& row = NodeAt(n);
      const Bounds b = BoundsOf(row);
      int flag = 0;
      bool lowered = false;
      if (row[kNodeSetting] > 0 && row[kNodeSetting] < b.high && m_count > 3 && row[kNodeSourceId] < kSatIdLimit && outputTilt(n) > 0.0) {
        row[kNodeSetting] += 1;
        flag = 2;
        if (row[kNodeStep] < 1 && row[kNodeStep] > b.low && b.high > 4) {
          const double* out = SpectrumAt(n, 1);
          for (int k = m_count - 3; k < m_count; ++k)
            if (out[k] > row[kNodeMaxLevel]) {
              row[kNodeStep] -= 1;
              lowered = true;
              break;
            }
        }
      }
      if (row[kNodeStep] < 1 && row[kNodeStep] > b.low && flag == 0 && row[kNodeMaxLevel] > 10) {
        const double* out = SpectrumAt(n, 1);
        for (int k = 0; k < 100; ++k)
          if (out[k] > row[kNodeMaxLevel]) {
            row[kNodeStep] -= 1;
            lowered = true;
            break;
          }
      }
      if (TuneOutletLimits && row[kNodeSetting] < 1 && row[kNodeSetting] > b.low && portViolation(n)) {
        row[kNodeSetting] -= 1;
        lowered = true;
      }
      if (flag != 0 || lowered) continue;  // computed again with the new settings
      n = passOn(n);
      if (n >= 0 && !m_marks.first(n)) break;
    }
  }

  // For every node of the chain, the latest adjustable node upstream whose one-step trial
  // changes the node's input level.
  void controllerSearch(int i) {
    m_walk.clear();
    m_marks.begin();
    for (int n = i; n >= 0 && m_marks.first(n); n = WalkSuccessor(NodeAt(n)[kNodeNext])) {
      m_walk.push_back(n);
      const NodeRow& row = NodeAt(n);
      const Bounds b = BoundsOf(row);
      m_adjustable[static_cast<std::size_t>(n)] = row[kNodeStep] < 1 && row[kNodeStep] > b.low;
    }
    const int band = m_band;
    m_search.find(m_walk, m_adjustable,
                  [band](int n) { return NodeAt(n)[kNodeChainMark] == kChainBandGrid ? (band - 1) * 7 : 1; },
                  m_controller);
  }

  bool slopeNeed(int n) const {
    const NodeRow& row = NodeAt(n);
    const int c = m_count;
    for (int p = 2; p <= 5; ++p) {
      const double* sp = SpectrumAt(n, p);
      const double first = sp[0] + sp[1] + sp[2];
      const double last = sp[c - 3] + sp[c - 2] + sp[c - 1];
      if (last < first && (sp[0] > row[kNodeMaxLevel] || sp[1] > row[kNodeMaxLevel])) return true;
      if (row[PortLink(p)] >= 0) {
        double firstNet = 0.0, lastNet = 0.0;
        for (int k = 0; k < 3; ++k) firstNet += sp[k] - outletLoss(n, p, k);
        for (int k = c - 3; k < c; ++k) lastNet += sp[k] - outletLoss(n, p, k);
        if (lastNet < firstNet &&
            (sp[0] - outletLoss(n, p, 0) > SatMaxLevel || sp[1] - outletLoss(n, p, 1) > SatMaxLevel))
          return true;
      }
    }
    return false;
  }

  bool outputNeed(int n) const {
    const NodeRow& row = NodeAt(n);
    if (row[kNodeCode] != kCodeGorvSource) {
      const double* out = SpectrumAt(n, 1);
      for (int k = 0; k < 100; ++k)
        if (out[k] > row[kNodeMaxLevel]) return true;
    }
    return row[kNodeCode] == kCodeOpticalTxTerr && SpectrumAt(n, 3)[3] > row[kNodeMaxLevel];
  }

  // Each node makes its controller lower the gain (or raise the slope) until its levels fit.
  void controllerPass(int i) {
    m_marks.begin();
    m_marks.first(i);
    int n = i;
    while (n >= 0) {
      CalcNode(n, -1);
      const int c = m_controller[static_cast<std::size_t>(n)];
      if (c >= 0) {
        NodeRow& ctl = NodeAt(c);
        const Bounds b = BoundsOf(ctl);
        bool need = false;
        if (ctl[kNodeSetting] > 0 && ctl[kNodeSetting] < b.high && m_count > 3 && NodeAt(n)[kNodeSourceId] < kSatIdLimit && slopeNeed(n)) {
          ctl[kNodeSetting] += 1;
          need = true;
        } else if (ctl[kNodeStep] < 1 && ctl[kNodeStep] > b.low && outputNeed(n)) {
          ctl[kNodeStep] -= 1;
          need = true;
        } else if (ctl[kNodeStep] < 1 && ctl[kNodeStep] > b.low && NodeAt(n)[kNodePort2Link] != kNoPort && portViolation(n)) {
          ctl[kNodeStep] -= 1;
          need = true;
        }
        if (need) {
          n = c;
          m_marks.begin();
          m_marks.first(n);
          continue;
        }
      }
      n = passOn(n);
      if (n >= 0 && !m_marks.first(n)) break;
    }
  }

  // Output attenuations lowered until every port fits its outlet limits.
  void finalOutletPass(int i) {
    if (NodeAt(i)[kNodeSetting] >= -20 && NodeAt(i)[kNodeSetting] <= 0) NodeAt(i)[kNodeSetting] = 0;
    m_marks.begin();
    m_marks.first(i);
    int n = i;
    while (n >= 0) {
      CalcNode(n, -1);
      NodeRow& row = NodeAt(n);
      const TemplateRow* ctl = ControlRow(row);
      const int low = (!ctl || (*ctl)[kCtlModeA] < 2) ? -20 : -(*ctl)[kCtlModeA];
      if (row[kNodeSetting] < 1 && row[kNodeSetting] > low && portViolation(n)) {
        row[kNodeSetting] -= 1;
        continue;
      }
      PassSpectrumDownstream(n);
      const int next = WalkSuccessor(row[kNodeNext]);
      if (next >= 0) {
        if (NodeAt(next)[kNodeSetting] >= -20 && NodeAt(next)[kNodeSetting] <= 0) NodeAt(next)[kNodeSetting] = 0;
        if (SameObject(n, next)) NodeAt(next)[kNodeSetting] = row[kNodeSetting];
      }
      n = next;
      if (n >= 0 && !m_marks.first(n)) break;
    }
  }

  void perSource(int i) {
    sourceList(i);
    handOver(i);
    stepSettings(i);
    if (!TuneOutletLimits) return;
    controllerSearch(i);
    controllerPass(i);
    finalOutletPass(i);
  }

  std::vector<int> m_controller;
  std::vector<uint8_t> m_adjustable;
  std::vector<int> m_walk;
  tuning::ControllerSearch m_search;
  engine::WalkMarks m_marks;
  int m_band = 0;
  int m_count = 0;
  std::array<double, 100> m_rootF{};
};

// Undo records of one object's rows are made once per row offset.
class SavedOffsets {
 public:
  void object(int row) {
    if (row != m_row) m_saved.fill(false);
    m_row = row;
  }
  // Records the row once; returns 1 when a record was made.
  int save(int row, int offset) {
    if (offset < 0 || offset > tuning::kMaxRowOffset || m_saved[offset]) return 0;
    m_saved[offset] = true;
    PushUndo(kUndoSettings, row + offset);
    return 1;
  }

 private:
  int m_row = -1;
  std::array<bool, tuning::kMaxRowOffset + 1> m_saved{};
};

bool CellInside(int row, int span, int offset, int column) {
  return offset >= 0 && offset < span && column >= 0 && column < kObjFields && !(offset == 0 && column == 0);
}

// Draws an object's labels during the write-back, skipping a redraw while none of the rows the
// labels read (the object row and the kMaxRowOffset rows after it) changed since the last one:
// the same values paint the same opaque boxes, and a floor multiswitch has dozens of nodes that
// would each draw them again.
class LabelRedraws {
 public:
  LabelRedraws() : m_current(NetObjects.size(), 0) {}
  void draw(int row) {
    if (row < 0 || static_cast<std::size_t>(row) >= m_current.size()) return;
    if (m_current[static_cast<std::size_t>(row)]) return;
    m_current[static_cast<std::size_t>(row)] = 1;
    if (Hooks().rowLabelsChanged) Hooks().rowLabelsChanged(row);
  }
  // Writes a cell of row `row`; the labels of every object that reads the row are stale when
  // the value differs.
  void set(int row, int32_t& cell, int32_t value) {
    if (cell == value) return;
    cell = value;
    for (int r = std::max(row - tuning::kMaxRowOffset, 0); r <= row && static_cast<std::size_t>(r) < m_current.size(); ++r)
      m_current[static_cast<std::size_t>(r)] = 0;
  }

 private:
  std::vector<uint8_t> m_current;
};

// Writes the nodes' settings back into their objects' rows.
int WriteBack() {
  int records = 0;
  SavedOffsets saved;
  LabelRedraws labels;
  for (int n = 0; n < static_cast<int>(Nodes.size()); ++n) {
    const NodeRow& node = NodeAt(n);
    const int row = node[kNodeObject];
    saved.object(row);
    const TemplateRow* ctl = ControlRow(node);
    if (!ctl || node[kNodeCode] <= 0 || !ValidObjRow(row) || KindOfRow(row) <= 0) continue;
    const ControlSetting a = ControlSettingA(*ctl), b = ControlSettingB(*ctl);
    const int span = ObjectSpan(row);
    // Step: only ever moved further down.
    if (node[kNodeStep] < 1 && a.field == kNodeStep && a.present && CellInside(row, span, a.offset, a.column)) {
      int32_t& cell = NetObjects[static_cast<std::size_t>(row + a.offset)][a.column];
      if (std::abs(cell) != -node[kNodeStep]) records += saved.save(row, a.offset);
      if (tuning::DecodeA(a.mode, cell) > node[kNodeStep])
        labels.set(row + a.offset, cell, tuning::EncodeA(a.mode, node[kNodeStep]));
      labels.draw(row);
    }
    // Slope: always overwritten. A slope kept in the Kind field is shared by the terrestrial
    // replicas; the first one writes it.
    if (node[kNodeSetting] >= 2 && node[kNodeSetting] <= 99 && b.present && b.field == kNodeSetting &&
        CellInside(row, span, b.offset, b.column)) {
      int32_t& cell = NetObjects[static_cast<std::size_t>(row + b.offset)][b.column];
      const int32_t stored = tuning::EncodeB(b.column, node[kNodeSetting]);
      if (cell != stored) records += saved.save(row, b.offset);
      if (b.column != 0 || node[kNodeSourceId] == kTerrIdBase) labels.set(row + b.offset, cell, stored);
      labels.draw(row);
    }
    // Output attenuation: only ever moved further down.
    if (node[kNodeSetting] < 1) {
      const TypeRecord& type = TypeOf(KindOfRow(row));
      const int first = type[kFirstTemplateRow];
      for (int t = first; t >= 0 && t < first + type[kPaths] && t < kTemplateRowCount; ++t) {
        const TemplateRow& path = PortTemplates[static_cast<std::size_t>(t)];
        if (path[kTplCode] != node[kNodeCode]) continue;
        const int cr = first + path[kTplControlRow];
        if (path[kTplControlRow] > 0 && cr < kTemplateRowCount) {
          const ControlSetting out = ControlSettingA(PortTemplates[static_cast<std::size_t>(cr)]);
          if (out.field == kNodeSetting && out.present && CellInside(row, span, out.offset, out.column)) {
            int32_t& cell = NetObjects[static_cast<std::size_t>(row + out.offset)][out.column];
            if (tuning::DecodeA(out.mode, cell) > node[kNodeSetting]) {
              PushUndo(kUndoSettings, row + out.offset);
              ++records;
              labels.set(row + out.offset, cell, tuning::EncodeA(out.mode, node[kNodeSetting]));
            }
            labels.draw(row);
          }
        }
        break;
      }
    }
  }
  if (!Nodes.empty()) ProjectModified = true;
  return records;
}

bool AnyAdjustable() {
  for (const NodeRow& n : Nodes)
    if (n[kNodeCode] > 0 && (n[kNodeStep] < kNoLimit || n[kNodeSetting] < kNoLimit)) return true;
  return false;
}

}  // namespace

TuneOutcome Tune(const CommandClicks& clicks) {
  const CommittedDrawing committed;
  TuneOutcome out;
  EditStep step;  // the control reset's records and the write-back form one undo step
  if (clicks.controlReset) clicks.controlReset();
  if (clicks.analyze) clicks.analyze();
  // With nothing to adjust the command stops here and the run's levels stay on show.
  if (!LastRunBuiltGraph || Nodes.empty() || Nodes[0][kNodeCode] <= 0 || !AnyAdjustable()) return out;
  Tuner::clearSpectra();
  if (clicks.busy) clicks.busy(true);
  Tuner tuner;
  tuner.run();
  out.undoRecords = WriteBack();
  out.adjusted = true;
  if (clicks.analyze) clicks.analyze();
  if (clicks.busy) clicks.busy(false);
  return out;
}

}  // namespace kavrix

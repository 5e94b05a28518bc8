#include "simulation/level_tuning.hpp"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdlib>
#include <vector>

#include "catalogue/port_templates.hpp"
#include "catalogue/type_catalogue.hpp"
#include "engine/node_frame.hpp"
#include "engine/propagation.hpp"
#include "model/source_tables.hpp"
#include "model/undo_ring.hpp"
#include "simulation/control_reset.hpp"

namespace kavrix {
namespace tuning {

int ObjectSpan(int row) {
  if (!ValidObjRow(row)) return 0;
  int n = 1;
  while (row + n < static_cast<int>(NetObjects.size()) && NetObjects[row + n][kKind] < 0) ++n;
  return n;
}

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

constexpr int kChainEnd = 1000000;
constexpr double kCleared = -1e9;
constexpr int kBandGridMark = 50;
constexpr int kNoController = -1;

NodeRow& Row(int n) { return Nodes[static_cast<std::size_t>(n)]; }
double* Spec(int n, int s) { return NodeSpectra.at(static_cast<std::size_t>(n), s); }
int KindOfRow(int row) { return ValidObjRow(row) ? NetObjects[static_cast<std::size_t>(row)][kKind] : 0; }

const TemplateRow* ControlRow(const NodeRow& n) {
  const int c = n[26];
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
  return {-std::abs((*c)[0]), (*c)[4] + 1};
}

bool SameObject(int a, int b) { return ValidNode(a) && ValidNode(b) && Row(a)[18] == Row(b)[18]; }

bool HasGroups(int row) { return ValidObjRow(row) && TypeOf(KindOfRow(row))[kGroupsMinus1] > 0; }

// State of one Tune command.
class Tuner {
 public:
  Tuner() : m_controller(Nodes.size(), kNoController) { m_candidates.reserve(64); }

  void run() {
    chainLeaders();
    tiltStage();
    for (int i = 0; i <= static_cast<int>(SourceCount) && ValidNode(i); ++i) perSource(i);
  }

 private:
  int high() const { return static_cast<int>(Nodes.size()) - 1; }

 public:
  static void clearSpectra() {
    for (int n = static_cast<int>(SourceCount) + 1; n < static_cast<int>(Nodes.size()); ++n)
      for (int s = 0; s < kSpectraPerNode; ++s) std::fill(Spec(n, s), Spec(n, s) + 101, kCleared);
  }

 private:

  // Terrestrial chains: each node notes the nearest slope-adjustable node upstream (field 24).
  void chainLeaders() {
    for (int i = 0; i <= static_cast<int>(SourceCount) && ValidNode(i); ++i) {
      if (Row(i)[14] <= 100) continue;
      int leader = 0;
      m_marks.begin();
      for (int n = i; n >= 0 && m_marks.first(n); n = WalkSuccessor(Row(n)[15])) {
        const int f15 = Row(n)[15];
        if (f15 <= 0 || f15 >= kChainEnd || WalkSuccessor(f15) < 0) continue;
        const int d = f15;
        if (Row(n)[17] >= 1 && Row(n)[17] <= 99) {
          leader = n;
          Row(d)[24] = n;
        } else {
          Row(d)[24] = Row(n)[24];
        }
        const int obj = Row(d)[18];
        if (!HasGroups(obj)) continue;
        for (int m = d + 1; m < high() && Row(m)[18] == obj; ++m)
          if (Row(m)[24] == 0 && Row(m)[14] == Row(n)[14]) Row(m)[24] = leader;
      }
    }
  }

  // FreqList of a terrestrial source for the tilt stage; returns the carrier count.
  int terrList(int id) {
    std::fill(FreqList.begin(), FreqList.begin() + 100, 0.0);
    if (TerrSourceIndex > -1) {
      const int pair = id < 205 ? id - 105 : id - 205;
      if (pair >= 0 && 2 * pair < static_cast<int>(TerrSpectra.size()))
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
      for (int i = 0; i <= static_cast<int>(SourceCount) && ValidNode(i); ++i) {
        const int id = Row(i)[14];
        if (id <= 100) continue;
        further = false;
        leader = -1;
        const int count = terrList(id);
        m_marks.begin();
        for (int n = i; n >= 0 && m_marks.first(n); n = WalkSuccessor(Row(n)[15])) {
          CalcNode(n, -1);
          NodeRow& row = Row(n);
          const Bounds b = BoundsOf(row);
          if (row[17] > 0 && row[17] < b.high && count > 3 && row[24] > -1) {
            if (leader < 0) leader = n;
            further = true;
            Row(leader)[24] = -1;
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
          if (leader >= 0 && row[24] == leader && count > 0) {
            for (int p = 1; p <= 5; ++p) {
              if (p == 1 && row[13] >= 1000) continue;
              const double* sp = Spec(n, p);
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
          const int next = WalkSuccessor(row[15]);
          if (next >= 0 && SameObject(n, next)) Row(next)[17] = row[17];
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
        NodeRow& lead = Row(leader);
        lead[17] = tuning::SlopeForTilt(KindOfRow(lead[18]), sum / slopes, lead[17], BoundsOf(lead).high);
        for (int m = std::max(leader - 4, 0); m <= leader + 4 && ValidNode(m); ++m)
          if (Row(m)[18] == lead[18] && Row(m)[0] == lead[0]) Row(m)[17] = lead[17];
      }
    }
    for (int n = static_cast<int>(SourceCount) + 1; n < static_cast<int>(Nodes.size()); ++n) Row(n)[24] = 0;
  }

  // FreqList of source i for the stepping stages; sets m_band and m_count.
  void sourceList(int i) {
    const int id = Row(i)[14];
    const int number = id / 10;
    m_band = id > 100 ? 5 : id % 10;
    std::fill(FreqList.begin(), FreqList.begin() + 100, 0.0);
    if (m_band >= 1 && m_band < 5 && ValidSatSlot(number)) {
      for (int j = 0; j < kSatRows; ++j) FreqList[j] = SatTables[number][2 * (m_band - 1)][j];
    } else if (number > 9) {
      const int pair = id < 205 ? id - 105 : id - 205;
      if (pair >= 0 && 2 * pair < static_cast<int>(TerrSpectra.size()))
        for (int j = 0; j < 100; ++j) FreqList[j] = TerrSpectra[2 * pair][j];
    }
    engine::FreqListChanged();
    m_count = countCarriers();
    for (int k = 0; k < 100; ++k) m_rootF[k] = FreqList[k] > 0.0 ? std::sqrt(FreqList[k] / 1000.0) : 0.0;
  }

  // The source's spectrum to its first node and that node's siblings on the same input pin.
  void handOver(int i) {
    const NodeRow& src = Row(i);
    const int id = src[14];
    const int d = src[15];
    if (d <= 0 || d >= kChainEnd || WalkSuccessor(d) < 0) return;
    if (Spec(i, 1)[101] <= -1e7) return;
    const bool optical = [&] {
      const int cls = TypeOf(KindOfRow(src[18]))[kClass];
      return cls >= 91 && cls <= 99;
    }();
    auto copyTo = [&](int m) {
      std::copy(Spec(i, 1), Spec(i, 1) + 100, Spec(m, 0));
      if (id < 105 || TerrSourceIndex == 0) Spec(m, 0)[100] = Spec(i, 1)[100];
      if (optical) {
        Row(m)[28] = src[28];
        Spec(m, 0)[100] = Spec(i, 1)[100];
        Spec(m, 2)[100] = Spec(i, 2)[100];
      }
    };
    copyTo(d);
    const int obj = Row(d)[18];
    if (!HasGroups(obj)) return;
    for (int m = d + 1; m < high() && Row(m)[18] == obj; ++m) {
      const NodeRow& r = Row(m);
      if (r[1] == src[3] && r[2] == src[4] && (r[25] == src[25] || r[14] == src[14])) copyTo(m);
    }
  }

  bool satellite() const { return m_band < 5; }

  // Any port level of node n above its maximum, above the outlet limit of a linked socket, or
  // above a port's own limit (negated link value).
  bool portViolation(int n) const {
    const NodeRow& row = Row(n);
    const double maxLevel = satellite() ? SatMaxLevel + SatSocketLoss : TerrMaxLevel + TerrSocketLoss;
    const double limit13 = row[13];
    for (int p = 2; p <= 5; ++p) {
      const int link = row[17 + p];
      const double* sp = Spec(n, p);
      double perRoot = 0.0;
      const bool linked = link >= 0 && static_cast<std::size_t>(link) < Links.size() &&
                          ValidObjRow(Links[static_cast<std::size_t>(link)][7]);
      if (linked) {
        const ObjRow& o = NetObjects[static_cast<std::size_t>(Links[static_cast<std::size_t>(link)][7])];
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
    const int link = Row(n)[17 + p];
    if (link < 0 || static_cast<std::size_t>(link) >= Links.size()) return 0.0;
    const int obj = Links[static_cast<std::size_t>(link)][7];
    if (!ValidObjRow(obj)) return 0.0;
    const ObjRow& o = NetObjects[static_cast<std::size_t>(obj)];
    const double coef = ValidCableKind(o[kStyle]) ? CableCoef[o[kStyle]] : 0.0;
    return o[kInst] * m_rootF[k] * coef + SatSocketLoss;
  }

  // Carries node n's output on; a successor of the same object takes its second setting.
  int passOn(int n) {
    PassSpectrumDownstream(n);
    const int next = WalkSuccessor(Row(n)[15]);
    if (next >= 0 && SameObject(n, next)) Row(next)[17] = Row(n)[17];
    return next;
  }

  double outputTilt(int n) const {
    const NodeRow& row = Row(n);
    const double* out = Spec(n, 1);
    const int c = m_count;
    if (row[25] < kBandGridMark) return (out[0] + out[1] + out[2]) - (out[c - 3] + out[c - 2] + out[c - 1]);
    if (row[25] == kBandGridMark) return (out[0] + out[7] + out[14] + out[21]) - (out[6] + out[13] + out[20] + out[27]);
    return 0.0;  // no defined tilt above the band-grid mark
  }

  // Slope and gain stepping, and output attenuation against outlet limits.
  void stepSettings(int i) {
    m_marks.begin();
    m_marks.first(i);
    int n = i;
    while (n >= 0) {
      CalcNode(n, -1);
      NodeRow& row = Row(n);
      const Bounds b = BoundsOf(row);
      int flag = 0;
      bool lowered = false;
      if (row[17] > 0 && row[17] < b.high && m_count > 3 && row[14] < 100 && outputTilt(n) > 0.0) {
        row[17] += 1;
        flag = 2;
        if (row[16] < 1 && row[16] > b.low && b.high > 4) {
          const double* out = Spec(n, 1);
          for (int k = m_count - 3; k < m_count; ++k)
            if (out[k] > row[13]) {
              row[16] -= 1;
              lowered = true;
              break;
            }
        }
      }
      if (row[16] < 1 && row[16] > b.low && flag == 0 && row[13] > 10) {
        const double* out = Spec(n, 1);
        for (int k = 0; k < 100; ++k)
          if (out[k] > row[13]) {
            row[16] -= 1;
            lowered = true;
            break;
          }
      }
      if (TuneOutletLimits && row[17] < 1 && row[17] > b.low && portViolation(n)) {
        row[17] -= 1;
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
    m_candidates.clear();
    m_marks.begin();
    for (int n = i; n >= 0 && m_marks.first(n); n = WalkSuccessor(Row(n)[15])) {
      const NodeRow& row = Row(n);
      const Bounds b = BoundsOf(row);
      if (row[16] < 1 && row[16] > b.low) m_candidates.push_back(n);
      const int f = row[25] == kBandGridMark ? (m_band - 1) * 7 : 1;
      m_controller[static_cast<std::size_t>(n)] = kNoController;
      for (auto it = m_candidates.rbegin(); it != m_candidates.rend(); ++it) {
        if (TryNodeStep(n, *it, f)) {
          m_controller[static_cast<std::size_t>(n)] = *it;
          break;
        }
      }
    }
  }

  bool slopeNeed(int n) const {
    const NodeRow& row = Row(n);
    const int c = m_count;
    for (int p = 2; p <= 5; ++p) {
      const double* sp = Spec(n, p);
      const double first = sp[0] + sp[1] + sp[2];
      const double last = sp[c - 3] + sp[c - 2] + sp[c - 1];
      if (last < first && (sp[0] > row[13] || sp[1] > row[13])) return true;
      if (row[17 + p] >= 0) {
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
    const NodeRow& row = Row(n);
    if (row[0] != 605) {
      const double* out = Spec(n, 1);
      for (int k = 0; k < 100; ++k)
        if (out[k] > row[13]) return true;
    }
    return row[0] == 141005 && Spec(n, 3)[3] > row[13];
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
        NodeRow& ctl = Row(c);
        const Bounds b = BoundsOf(ctl);
        bool need = false;
        if (ctl[17] > 0 && ctl[17] < b.high && m_count > 3 && Row(n)[14] < 100 && slopeNeed(n)) {
          ctl[17] += 1;
          need = true;
        } else if (ctl[16] < 1 && ctl[16] > b.low && outputNeed(n)) {
          ctl[16] -= 1;
          need = true;
        } else if (ctl[16] < 1 && ctl[16] > b.low && Row(n)[19] != -1 && portViolation(n)) {
          ctl[16] -= 1;
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
    if (Row(i)[17] >= -20 && Row(i)[17] <= 0) Row(i)[17] = 0;
    m_marks.begin();
    m_marks.first(i);
    int n = i;
    while (n >= 0) {
      CalcNode(n, -1);
      NodeRow& row = Row(n);
      const TemplateRow* ctl = ControlRow(row);
      const int low = (!ctl || (*ctl)[0] < 2) ? -20 : -(*ctl)[0];
      if (row[17] < 1 && row[17] > low && portViolation(n)) {
        row[17] -= 1;
        continue;
      }
      PassSpectrumDownstream(n);
      const int next = WalkSuccessor(row[15]);
      if (next >= 0) {
        if (Row(next)[17] >= -20 && Row(next)[17] <= 0) Row(next)[17] = 0;
        if (SameObject(n, next)) Row(next)[17] = row[17];
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
  std::vector<int> m_candidates;
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

void Labels(int row) {
  if (Hooks().rowLabelsChanged) Hooks().rowLabelsChanged(row);
}

// Writes the nodes' settings back into their objects' rows.
int WriteBack() {
  int records = 0;
  SavedOffsets saved;
  for (int n = 0; n < static_cast<int>(Nodes.size()); ++n) {
    const NodeRow& node = Row(n);
    const int row = node[18];
    saved.object(row);
    const TemplateRow* ctl = ControlRow(node);
    if (!ctl || node[0] <= 0 || !ValidObjRow(row) || KindOfRow(row) <= 0) continue;
    const TemplateRow& c = *ctl;
    const int span = ObjectSpan(row);
    // Step: only ever moved further down.
    if (node[16] < 1 && c[1] == 16 && (c[0] < 0 || c[0] > 1) && CellInside(row, span, c[2], c[3])) {
      int32_t& cell = NetObjects[static_cast<std::size_t>(row + c[2])][c[3]];
      if (std::abs(cell) != -node[16]) records += saved.save(row, c[2]);
      if (tuning::DecodeA(c[0], cell) > node[16]) cell = tuning::EncodeA(c[0], node[16]);
      Labels(row);
    }
    // Slope: always overwritten. A slope kept in the Kind field is shared by the terrestrial
    // replicas; the first one writes it.
    if (node[17] >= 2 && node[17] <= 99 && c[4] > 0 && c[5] == 17 && CellInside(row, span, c[6], c[7])) {
      int32_t& cell = NetObjects[static_cast<std::size_t>(row + c[6])][c[7]];
      const int32_t stored = tuning::EncodeB(c[7], node[17]);
      if (cell != stored) records += saved.save(row, c[6]);
      if (c[7] != 0 || node[14] == 105) cell = stored;
      Labels(row);
    }
    // Output attenuation: only ever moved further down.
    if (node[17] < 1) {
      const TypeRecord& type = TypeOf(KindOfRow(row));
      const int first = type[kFirstTemplateRow];
      for (int t = first; t >= 0 && t < first + type[kPaths] && t < kTemplateRowCount; ++t) {
        const TemplateRow& path = PortTemplates[static_cast<std::size_t>(t)];
        if (path[kTplCode] != node[0]) continue;
        const int cr = first + path[kTplControlRow];
        if (path[kTplControlRow] > 0 && cr < kTemplateRowCount) {
          const TemplateRow& oc = PortTemplates[static_cast<std::size_t>(cr)];
          if (oc[1] == 17 && (oc[0] < 0 || oc[0] > 1) && CellInside(row, span, oc[2], oc[3])) {
            int32_t& cell = NetObjects[static_cast<std::size_t>(row + oc[2])][oc[3]];
            if (tuning::DecodeA(oc[0], cell) > node[17]) {
              PushUndo(kUndoSettings, row + oc[2]);
              ++records;
              cell = tuning::EncodeA(oc[0], node[17]);
            }
            Labels(row);
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
    if (n[0] > 0 && (n[16] < kNoLimit || n[17] < kNoLimit)) return true;
  return false;
}

}  // namespace

TuneOutcome Tune(const CommandClicks& clicks) {
  TuneOutcome out;
  if (clicks.controlReset) clicks.controlReset();
  --EditSerial;  // the reset's records and ours form one undo step
  {
    EditStep step;
    if (clicks.analyze) clicks.analyze();
    if (!LastRunBuiltGraph || Nodes.empty()) return out;
    Tuner::clearSpectra();
    if (Nodes[0][0] <= 0 || !AnyAdjustable()) return out;
    if (clicks.busy) clicks.busy(true);
    Tuner tuner;
    tuner.run();
    out.undoRecords = WriteBack();
    out.adjusted = true;
  }
  if (clicks.analyze) clicks.analyze();
  if (clicks.busy) clicks.busy(false);
  return out;
}

}  // namespace kavrix

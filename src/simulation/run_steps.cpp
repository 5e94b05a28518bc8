#include "simulation/run_steps.hpp"

#include <algorithm>
#include <cmath>

#include "catalogue/channel_freq_table.hpp"
#include "catalogue/port_templates.hpp"
#include "catalogue/type_catalogue.hpp"
#include "engine/distribution_block_helpers.hpp"
#include "engine/node_frame.hpp"
#include "engine/tables_link_converter.hpp"
#include "engine/propagation.hpp"
#include "model/network_model.hpp"
#include "model/number_text.hpp"
#include "model/source_tables.hpp"
#include "simulation/pin_index.hpp"

namespace kavrix {

namespace {

PinIndex g_pins;

bool SamePin(const NodeRow& a, int fa, const NodeRow& b, int fb) { return a[fa] == b[fb] && a[fa + 1] == b[fb + 1]; }
// cur's output pin equals j's input pin.
bool Feeds(const NodeRow& cur, const NodeRow& j) { return SamePin(cur, 3, j, 1); }

void SwapPins(int j) {
  NodeRow& r = Nodes[j];
  std::swap(r[1], r[3]);
  std::swap(r[2], r[4]);
  g_pins.update(j);
}

int ContentCell(int node, int*& cell) {
  const int row = Nodes[node][18] + 1;
  cell = ValidObjRow(row) ? &NetObjects[row][5] : nullptr;
  return cell ? *cell : 0;
}

void EnsureQueue(std::size_t entries) {
  if (ChainQueue.size() < entries + 1) ChainQueue.resize(entries + 1, 0);
}

bool IsLinkUnit(int code) { return code == 58000 || code == 59005; }

// Gain of a link unit's table at the first grid point above f (at most the last point).
double LinkUnitTableValue(int code, double f) {
  const std::array<double, 31>* t = engine::tables::LinkUnitTable(code / 1000);
  if (!t) return 0.0;
  const engine::Grid g = engine::FreqGridRow(8);
  int i = 0;
  while (i < g.last && g.pts[i] <= f) ++i;
  return (*t)[static_cast<std::size_t>(i)];
}

int SourceFlagIndex(int sid) { return sid - 105; }
void SetPassage(int sid) {
  const int i = SourceFlagIndex(sid);
  if (i >= 0 && i < kTerrSourceMax) SourcePassed[i] = true;
}
bool Passed(int sid) {
  const int i = SourceFlagIndex(sid);
  return i >= 0 && i < kTerrSourceMax && SourcePassed[i];
}

// Terrestrial pair of a source id: id - 105, or id - 205 for converter channels; -1 if none.
int PairOf(int sid) {
  const int p = sid >= 205 ? sid - 205 : sid - 105;
  return (sid > 104 && p >= 0 && p < kTerrSourceMax) ? p : -1;
}

bool ChannelEdge(int index, double& f) {
  const auto e = ChannelLowerEdge(index);
  if (!e) return false;
  f = *e;
  return true;
}

}  // namespace

int NodeKind(int node) {
  if (!ValidNode(node)) return 0;
  const int row = Nodes[node][18];
  return ValidObjRow(row) ? NetObjects[row][kKind] : 0;
}

int NodeClass(int node) { return TypeOf(NodeKind(node))[kClass]; }

void MarkConnectedChain(int start, int mark) {
  std::vector<uint8_t> seen(Nodes.size(), 0);
  std::vector<int> cand;
  EnsureQueue(1);
  ChainQueue[0] = start;
  std::size_t head = 0, tail = 0;
  if (ValidNode(start)) seen[start] = 1;
  while (head < ChainQueue.size() && ChainQueue[head] > 0) {
    int q = ChainQueue[head];
    while (q < 1000000) {
      const int cur = q;
      bool found = false;
      const NodeRow& c = Nodes[cur];
      g_pins.candidates(c[3], c[4], cand);
      for (int j : cand) {
        NodeRow& r = Nodes[j];
        if (SamePin(r, 3, c, 3) && r[0] == 20300 && j != cur) SwapPins(j);
        if (SamePin(r, 1, c, 3) && NodeKind(j) != 186 && r[18] != c[18] && r[0] % 10 != 5 && !seen[j]) {
          seen[j] = 1;
          r[25] = mark;
          ++ChainMarkCount;
          if (!found) {
            q = j;
          } else {
            ++tail;
            EnsureQueue(tail + 1);
            ChainQueue[tail] = j;
          }
          found = true;
        }
      }
      if (!found) q = 1000000;
    }
    ++head;
  }
  std::fill(ChainQueue.begin(), ChainQueue.end(), 0);
}

int MarkAndDoubleChains(int n) {
  g_pins.build(static_cast<int>(Nodes.size()));
  for (std::size_t i = 0; i < Nodes.size(); ++i) {
    const NodeRow& r = Nodes[i];
    const int code = r[0];
    if (NodeClass(static_cast<int>(i)) == 81 && code % 100 == 4) {
      const int t = (code % 1000) / 100;
      const int row = r[18];
      const std::string s = ValidObjRow(row) ? std::to_string(NetObjects[row][kInst]) : std::string();
      if (t > 0 && static_cast<std::size_t>(t) < s.size() && s[static_cast<std::size_t>(t)] == '0')
        MarkConnectedChain(static_cast<int>(i), 50);
    }
    if (code == 108099 && Nodes[i][25] != 50) MarkConnectedChain(static_cast<int>(i), 48);
  }
  auto doubled = [](int node) {
    const int m = Nodes[node][25];
    return m == 48 || (m == 50 && NodeClass(node) != 81);
  };
  int d = 0;
  for (std::size_t i = 0; i < Nodes.size(); ++i) d += doubled(static_cast<int>(i)) ? 1 : 0;
  if (d > 0) {
    EnsureNodeRows(Nodes.size() + static_cast<std::size_t>(d));
    int w = n + d, r = n;
    while (r >= 0 && w >= 0) {
      const int f28 = Nodes[w][28];
      Nodes[w] = Nodes[r];
      Nodes[w][28] = f28;
      if (doubled(w)) {
        Nodes[r][25] = 0;
        const int code = Nodes[r][0];
        if (code == 108099 || code == 108299 || code == 109099) Nodes[r][14] = 100;
      } else {
        --r;
      }
      --w;
    }
  }
  return n + d;
}

void LinkSources(int nb) {
  g_pins.build(static_cast<int>(Nodes.size()));
  const int first = static_cast<int>(SourceCount) + 1;
  // The candidate scans stop at the first node without a code.
  int scanEnd = first;
  while (scanEnd < static_cast<int>(Nodes.size()) && Nodes[scanEnd][0] != 0) ++scanEnd;
  int nextFree = nb;
  std::vector<int> optical;  // optical-class nodes, which test D looks at without a pin match
  for (int j = first; j < scanEnd; ++j)
    if (NodeClass(j) > 90) optical.push_back(j);
  std::vector<uint8_t> seen;
  std::vector<int> cand, merged;

  for (int s = 0; s <= static_cast<int>(SourceCount) && s < static_cast<int>(Nodes.size()); ++s) {
    const int sid = Nodes[s][14];
    const int slot = sid / 10, band = sid % 10;
    const int sourceCode = Nodes[s][0];
    const int sourceMark = Nodes[s][25];
    std::fill(FreqList.begin(), FreqList.end(), 0.0);
    if (sid < 100) {
      if (ValidSatSlot(slot) && band >= 1 && band <= 4)
        for (int k = 0; k < kSatRows; ++k) FreqList[k] = SatTables[slot][2 * (band - 1)][k];
    } else if (sid > 104 && sid < 200 && sourceCode != 615 && sourceCode != 965 && sourceCode != 975) {
      const int p = PairOf(sid);
      if (p >= 0)
        for (int k = 0; k < 100; ++k) FreqList[k] = TerrSpectra[2 * p][k];
    } else if (sid > 204) {
      const int p = PairOf(sid);
      if (p >= 0)
        for (int k = 0; k < 100; ++k) FreqList[k] = TerrSpectra[2 * p][k];
    }
    double fmax = 0.0;
    for (int k = 0; k < 100; ++k) fmax = std::max(fmax, FreqList[k]);
    int e = 0;
    int tx = 0;
    std::fill(ChainQueue.begin(), ChainQueue.end(), 0);
    EnsureQueue(1);
    seen.assign(Nodes.size(), 0);
    seen[s] = 1;
    int cur = s;
    std::size_t head = 0, tail = 0;

    while (ChainQueue[head] != 0 || head == 0) {
      int next = 0;
      if (tail > 0) cur = ChainQueue[head];
      int count;
      do {
        count = 0;
        if (next > 0) cur = next;
        const NodeRow curRow = Nodes[cur];
        const int curClass = NodeClass(cur);
        g_pins.candidates(curRow[3], curRow[4], cand);
        // Merge the optical nodes into the candidates, keeping index order.
        merged.clear();
        std::set_union(cand.begin(), cand.end(), optical.begin(), optical.end(), std::back_inserter(merged));
        for (std::size_t ci = 0; ci < merged.size(); ++ci) {
          const int j = merged[ci];
          if (j < first || j >= scanEnd) continue;
          NodeRow& r = Nodes[j];
          const int code = r[0];
          const int cls = NodeClass(j);
          const int kind = NodeKind(j);
          // A: line conductors drawn the wrong way round are turned.
          if (code > 20099 && code < 20599 && SamePin(curRow, 3, r, 3) && r[18] != curRow[18] && j != cur &&
              (r[25] == curRow[25] || r[25] == 0))
            SwapPins(j);
          // B, C: terrestrial sources on lines and J-splitters.
          const bool lineB = code == 20300 || code == 20500;
          if (sid > 100 && (lineB || cls == 13) && j < nb && Feeds(curRow, r)) {
            if (r[25] == 0) {
              if (code == 20300) {
                int* cell;
                int c = ContentCell(j, cell);
                if (c >= 1 && c <= 4) c += 10;
                else if (c != 7) c = 5;
                if (curRow[25] == 50) c = 7;
                if (cell) *cell = c;
              }
              r[14] = sid;
              r[25] = sid;
            } else if (r[25] > 100 && r[25] != sid) {
              EnsureNodeRows(static_cast<std::size_t>(nextFree) + 2);
              NodeRow& added = Nodes[nextFree];
              added = Nodes[j];
              added[28] = 0;
              added[14] = sid;
              added[25] = sid;
              ClearNodeSpectra(nextFree);
              g_pins.add(nextFree);
              seen.resize(Nodes.size(), 0);
              if (nextFree == scanEnd) {
                ++scanEnd;
                while (scanEnd < static_cast<int>(Nodes.size()) && Nodes[scanEnd][0] != 0) ++scanEnd;
              }
              merged.push_back(nextFree);
              ++nextFree;
            }
          }
          // D: optical nodes take the band's source id.
          if (cls > 90 && band == code % 10 && r[14] == 0) r[14] = sid;
          // E: one node per terrestrial source on the channel-selecting amplifiers.
          if (Feeds(curRow, r) && kind >= 86 && kind <= 88) {
            if (r[25] == 0 && (j == 0 || Nodes[j - 1][0] != code || Nodes[j - 1][25] != sourceMark)) r[25] = sourceMark;
            if (sid > 104 && sid < 200) SetPassage(sid);
          }
          // F: the link.
          if (!Feeds(curRow, r) || r[18] == curRow[18] || seen[j]) continue;
          const bool markOk = curRow[25] == r[25] || curRow[25] == r[25] + 100 ||
                              (cls == 81 && (r[25] == 49 || r[25] == 50) && sid % 10 == r[14] % 10) ||
                              (curRow[0] == 108099 && r[25] == 48);
          if (!markOk) continue;
          if (cls >= 91 && curRow[14] % 10 != r[14] % 10) continue;
          const int group = (code % 1000) / 100;
          const int path = code % 100;
          const int row = r[18];
          if (kind >= 81 && kind <= 84 && group == 1 && sid > 104 && sid < 200) {
            NodeRow& src = Nodes[s];
            if (src[9] != kind && src[10] != kind && src[11] != kind) {
              for (int f = 9; f <= 11; ++f)
                if (src[f] == 0) {
                  src[f] = kind;
                  break;
                }
            }
            SetPassage(sid);
            const int p = PairOf(sid);
            const double firstF = p >= 0 ? TerrSpectra[2 * p][0] : 0.0;
            struct Ch {
              int cell_row, cell_col, offset;
              double w;
            };
            std::vector<Ch> chans;
            const int inst = ValidObjRow(row) ? NetObjects[row][kInst] : 0;
            if (kind == 81) chans = {{1, 1, 0, 8}, {1, 2, 0, 8}};
            else if (kind == 82) chans = {{1, 1, 80, 7}, {1, 2, 80, 7}};
            else if (kind == 83) chans = {{1, 1, inst < 2 ? 65 : 85, 7}, {1, 2, inst < 2 ? 65 : 85, 7}};
            else chans = {{1, 1, 0, 8}, {1, 2, 0, 8}, {2, 1, 0, 8}, {2, 2, 0, 8}};
            for (std::size_t ch = 0; ch < chans.size(); ++ch) {
              const int cr = row + chans[ch].cell_row;
              if (!ValidObjRow(cr) || NetObjects[cr][kKind] >= 0) continue;
              const int number = NetObjects[cr][chans[ch].cell_col];
              double f;
              if (!ChannelEdge(number + chans[ch].offset, f)) continue;
              const double w = chans[ch].w;
              if (firstF - 1.0 < f && f < fmax + w && e < 99 && e + 3 < 100) {
                double before = f - 1.0;
                if (kind == 83 && inst < 2 && ch == 1) {
                  double prev;
                  if (ChannelEdge(number + 64, prev)) before = prev;
                }
                FreqList[e] = before;
                FreqList[e + 1] = f;
                FreqList[e + 2] = f + w;
                FreqList[e + 3] = f + w + 1.0;
                e += 4;
              }
            }
          }
          if (cls == 92 && path == 5) {
            tx = j;
            r[16] = ValidObjRow(row) ? NetObjects[row][kInst] : 0;
            const int antSlot = Nodes[s][6];
            if (ValidTerrSlot(antSlot)) r[27] += TerrParams[antSlot][0];
          }
          if (cls == 91 && path == 5) r[23] = tx;
          if (code == 20300) {
            int* cell;
            int c = ContentCell(j, cell);
            if (sid < 100 && curRow[25] != 50) c = (c == 5) ? band + 10 : band;
            if (curRow[25] == 50) c = 7;
            if (cell) *cell = c;
          }
          if (r[25] != 50 && cls != 92 && cls != 37 && cls != 42) r[13] -= Nodes[s][13];
          if (r[14] == 0 || cls == 92) r[14] = sid;
          if (cls == 61 && code % 1000 == 105) {
            // The second input of the channel amplifier: the same object's group-2 node of this
            // source, found the way the engine finds it.
            const int m = engine::blk::SiblingNode(j, 1, 2);
            if (m >= 0) {
              Nodes[m][14] = sid;
              if (curClass == 61) {
                Nodes[m][1] -= 10000;
                g_pins.update(m);
              }
            }
          }
          if (cls == 81 || cls == 42) r[14] = sid;
          if (sourceCode == 615) {
            r[14] = sid;
            r[25] = sid;
          }
          seen[j] = 1;
          if (count == 0) {
            next = j;
          } else {
            ++tail;
            EnsureQueue(tail + 1);
            ChainQueue[tail] = j;
          }
          ++count;
        }
        Nodes[cur][15] = count > 0 ? next : 1000000;
      } while (count > 0);
      ++head;
      EnsureQueue(head);
      if (ChainQueue[head] > 0) Nodes[cur][15] = -ChainQueue[head];
    }
    if (e > 0 && e <= 99)
      for (int k = e; k < 100; ++k) FreqList[k] = 0.0;
    // Channel amplifiers on the way: their channel points replace the source's plan.
    if (sid > 104 && sid < 200 && Passed(sid) && sourceCode != 975) {
      SortFrequencyList();
      const int p = PairOf(sid);
      if (p >= 0 && FreqList[1] + 1.0 >= TerrSpectra[2 * p][0]) {
        const auto oldF = TerrSpectra[2 * p];
        const auto oldL = TerrSpectra[2 * p + 1];
        auto& lv = TerrSpectra[2 * p + 1];
        for (int k = 0; k < 100; ++k) {
          int x = 0;
          while (x < 100 && oldF[x] + 0.001 <= FreqList[k]) ++x;
          if (FreqList[k] > 0 && x > 0) lv[k] = oldL[x - 1];
        }
        for (int k = 0; k < 100; ++k) TerrSpectra[2 * p][k] = FreqList[k];
        if (p < static_cast<int>(TerrMergedFlags.size())) TerrMergedFlags[static_cast<std::size_t>(p)] = true;
        for (int k = 0; k < 100; ++k)
          if (FreqList[k] == 0.0) lv[k] = -1000.0;
      }
    }
    std::fill(ChainQueue.begin(), ChainQueue.end(), 0);
  }
  LastLinkedNodeCount() = nextFree;
}

int& LastLinkedNodeCount() {
  static int n = 0;
  return n;
}

namespace {
// Pin of port p (1 = output, 2..5 = extra ports) of a node.
bool PortPin(const NodeRow& r, int p, int& x, int& y) {
  if (p == 1) {
    x = r[3];
    y = r[4];
  } else {
    x = r[5 + 2 * (p - 2)];
    y = r[6 + 2 * (p - 2)];
  }
  return true;
}
}  // namespace

void LinkUnitLosses() {
  const int first = static_cast<int>(SourceCount) + 1;
  for (int i = 0; i < static_cast<int>(Nodes.size()) && Nodes[i][0] != 0; ++i) {
    const int code = Nodes[i][0];
    if (!IsLinkUnit(code)) continue;
    const int row = Nodes[i][18];
    if (!ValidObjRow(row)) continue;
    double f = NetObjects[row][kInst];
    if (code == 58000 && ValidObjRow(row + 1)) f -= f < 11700 ? NetObjects[row + 1][3] : NetObjects[row + 1][4];
    double sum = 0.0;
    int P = 0;
    bool partner = false;
    int cur = i;
    std::vector<uint8_t> seen(Nodes.size(), 0);
    seen[i] = 1;
    int j = first;
    while (j < static_cast<int>(Nodes.size()) && Nodes[j][0] != 0 && (NodeKind(cur) > 200 || IsLinkUnit(Nodes[cur][0]))) {
      const NodeRow& c = Nodes[cur];
      const NodeRow& r = Nodes[j];
      bool step = false;
      int stepPort = 0;
      if (!seen[j] && j != cur && r[18] != c[18] &&
          (r[14] == Nodes[i][14] || r[0] == 20300 || IsLinkUnit(r[0]))) {
        for (int p = 1; p <= 5 && !step; ++p) {
          int px, py;
          PortPin(r, p, px, py);
          if ((c[1] == px && c[2] == py) || (SamePin(c, 1, r, 1) && r[0] == 20300) ||
              (c[3] == px && c[4] == py && c[0] == 20300)) {
            step = true;
            stepPort = p;
          }
        }
      }
      if (!step) {
        ++j;
        continue;
      }
      cur = j;
      seen[j] = 1;
      P = stepPort;
      const NodeRow& n = Nodes[j];
      if (IsLinkUnit(n[0]) && j != i) {
        if (n[14] == Nodes[i][14]) partner = true;
        sum -= LinkUnitTableValue(n[0], f);
      }
      if (f > 0 && n[0] == 20300) sum += n[5] * std::sqrt(f / 1000.0) * (ValidCableKind(n[7]) ? CableCoef[n[7]] : 0.0);
      j = first;
    }
    if (cur != i) {
      ObjValues[row] = {sum, static_cast<double>(P)};
      if (!partner && P > 1) Nodes[cur][17 + P] = -(static_cast<int>(RoundHalfEven(sum)) + Nodes[i][13]);
    }
    if (P > 1) {
      const int sid = Nodes[i][14];
      int x = -1;
      double tableF[101];
      int len = 0;
      if (code == 58000) {
        const int slot = sid / 10, band = sid % 10;
        if (ValidSatSlot(slot) && band >= 1 && band <= 4) {
          len = kSatRows;
          for (int e = 0; e < len; ++e) tableF[e] = SatTables[slot][2 * (band - 1)][e];
        }
      } else {
        const int p = PairOf(sid);
        if (p >= 0) {
          len = 101;
          for (int e = 0; e < len; ++e) tableF[e] = TerrSpectra[2 * p][e];
        }
      }
      for (int e = 0; e < len; ++e)
        if (tableF[e] > f) {
          x = e;
          break;
        }
      if (x >= 0 && x < 100) {
        x = std::max(x, 1);
        for (int e = x - 1; e <= x; ++e) {
          double* in = NodeSpectra.at(i, 0);
          double* out = NodeSpectra.at(i, 1);
          in[e] = NodeSpectra.at(cur, P)[e] - sum;
          out[e] = in[e] + LinkUnitTableValue(code, tableF[e]);
        }
      }
    }
  }
}

namespace {

// Entry 101 := the smallest value above loFloor and entry 102 := the largest value above hiFloor,
// over entries 0..last of one spectrum.
void SetMinMax(double* sp, int last, double loFloor, double hiFloor) {
  double lo = 1000000.0, hi = kNoSignal;
  for (int k = 0; k <= last; ++k) {
    if (sp[k] > loFloor) lo = std::min(lo, sp[k]);
    if (sp[k] > hiFloor) hi = std::max(hi, sp[k]);
  }
  sp[101] = lo;
  sp[102] = hi;
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
  for (int i = 0; i < static_cast<int>(Nodes.size()) && Nodes[i][0] != 0; ++i) {
    const NodeRow& r = Nodes[i];
    const int id = r[14];
    const int cls = NodeClass(i);
    if (id == 0)
      for (int s = 0; s < kSpectraPerNode; ++s) NodeSpectra(i, s, 101) = NodeSpectra(i, s, 102) = kNoSignal;
    if ((id > 0 && id < 50) || (id > 100 && r[25] != 50)) {
      const int slot = id / 10, b = id % 10;
      if (id < 50) {
        int last = 100;
        if (ValidSatSlot(slot) && b >= 1 && b <= 4 && LnbParams[slot][b - 1][0] >= 2)
          last = std::min(LnbParams[slot][b - 1][0] - 1, 100);
        if (cls != 92)
          for (int s = 0; s < kSpectraPerNode; ++s) SetMinMax(NodeSpectra.at(i, s), last, -1000, kAll);
        else
          for (int s = 0; s <= 1; ++s) SetPowerSum(NodeSpectra.at(i, s), last, 0);
      } else if (slot > 9) {
        if (cls != 92)
          for (int s = 0; s < kSpectraPerNode; ++s) SetMinMax(NodeSpectra.at(i, s), 99, -900, -900);
        else
          for (int s = 0; s <= 1; ++s) SetPowerSum(NodeSpectra.at(i, s), 99, r[27]);
      }
    }
    if (r[25] == 50) {
      for (int s = 0; s <= 1; ++s) SetMinMax(NodeSpectra.at(i, s), 27, 0, 0);
      if (cls == 81) {
        double* sp = NodeSpectra.at(i, 0);
        double hi = kNoSignal;
        for (int k = 0; k <= 30; ++k) hi = std::max(hi, sp[k]);
        sp[102] = hi;
      }
    }
  }
}

namespace {

// Status digit of one classification; `status` keeps the earlier value when no test holds.
int Classify(double mn, double mx, double lo, double hi, int status) {
  bool minGave5 = false;
  if (mn < lo - 10) status = 7;
  if (lo - 10 < mn && mn < lo - 5) status = 6;
  if (lo - 5 < mn && mn < lo) {
    status = 5;
    minGave5 = true;
  }
  if (hi < mx && mx < hi + 5 && minGave5) status = 4;
  if (hi < mx && mx < hi + 5 && status != 4) status = 3;
  if (hi + 5 < mx && mx < hi + 10) status = 2;
  if (mx > hi + 10) status = 1;
  if (mx < hi && mn > lo) status = 9;
  return status;
}

constexpr double kCableGridRoots[7] = {0.975, 1.0, 1.049, 1.14, 1.225, 1.342, 1.466};

}  // namespace

void EvaluateOutlets() {
  // Nodes up to the first without a code, by each pin a socket can be fed from: sorted
  // (pin, port, node), so a socket visits its feeding nodes port by port in node order.
  int end = 0;
  while (end + 1 < static_cast<int>(Nodes.size()) && Nodes[end][0] != 0) ++end;
  struct PinEntry {
    uint64_t key;
    int q, node;
    bool operator<(const PinEntry& o) const {
      return key != o.key ? key < o.key : q != o.q ? q < o.q : node < o.node;
    }
  };
  // Ports a node does not have (link field -1) keep their pins at (0, 0); they are left out and
  // only a socket whose connection point is (0, 0) looks for them.
  static std::vector<PinEntry> byPin;  // reused from run to run
  byPin.clear();
  for (int j = 0; j < end; ++j)
    for (int q = 0; q < 5; ++q)
      if (q == 0 || Nodes[j][18 + q] != -1) byPin.push_back({PinKey(Nodes[j][3 + 2 * q], Nodes[j][4 + 2 * q]), q, j});
  std::sort(byPin.begin(), byPin.end());

  int k = 0;
  for (std::size_t row = 0; row < NetObjects.size() && NetObjects[row][kKind] != 0; ++row) {
    const ObjRow& o = NetObjects[row];
    if (o[kKind] != 210) continue;
    if (static_cast<std::size_t>(k) >= Links.size()) Links.resize(static_cast<std::size_t>(k) + 1, LinkRow{});
    LinkRow& l = Links[k];
    const int x = o[kX], y = o[kY];
    switch (o[kOrient]) {
      case 2: l = {0, x, y + 25, x, y - 23, x, y - 15, 0}; break;
      case 3: l = {0, x + 25, y, x - 23, y, x - 15, y, 0}; break;
      case 4: l = {0, x, y - 25, x, y + 23, x, y + 15, 0}; break;
      default: l = {0, x - 25, y, x + 23, y, x + 15, y, 0}; break;
    }
    l[7] = static_cast<int>(row);
    const double L = o[kInst];
    const int c = o[kStyle];
    const double coef = ValidCableKind(c) ? CableCoef[c] : 0.0;
    int s = 0, t = 0;
    double satMax = kNoSignal, terrMax = kNoSignal;
    bool noSignal = false;
    const uint64_t key = PinKey(l[1], l[2]);
    std::vector<PinEntry> feeding;
    for (auto it = std::lower_bound(byPin.begin(), byPin.end(), PinEntry{key, 0, -1});
         it != byPin.end() && it->key == key; ++it)
      feeding.push_back(*it);
    if (key == PinKey(0, 0)) {
      for (int j = 0; j < end; ++j)
        for (int q = 1; q < 5; ++q)
          if (Nodes[j][18 + q] == -1 && Nodes[j][3 + 2 * q] == 0 && Nodes[j][4 + 2 * q] == 0) feeding.push_back({key, q, j});
      std::sort(feeding.begin(), feeding.end());
    }
    for (const PinEntry& e : feeding) {
      const int q = e.q, j = e.node;
      {
        NodeRow& r = Nodes[j];
        if ((r[25] == 49 || r[25] == 50) && q > 0) continue;
        double satMin = 1000000.0, terrMin = 1000000.0;
        if (q > 0) r[18 + q] = k;
        const int id = r[14];
        if (q == 0) {
          if (id > 100) r[13] = static_cast<int>(TruncToZero(TerrMaxLevel + TerrSocketLoss + L * coef * 0.2));
          else if (id < 100) r[13] = static_cast<int>(TruncToZero(SatMaxLevel + SatSocketLoss + L * coef * 1.24));
        }
        if (id > 0) {
          const int slot = id / 10, band = id % 10;
          const double* sp = NodeSpectra.at(j, q + 1);
          if (id < 100 && r[25] != 50) {
            if (ValidSatSlot(slot) && band >= 1 && band <= 4) {
              for (int i = 0; i < kSatRows; ++i) {
                const double f = SatTables[slot][2 * (band - 1)][i];
                const double loss = f > 0 ? L * std::sqrt(f / 1000.0) * coef + SatSocketLoss : 0.0;
                const double v = (r[25] == 49 ? NodeSpectra.at(j, 1)[i] : sp[i]) - loss;
                if (r[25] == 49 ? v > 0 : v > -1000000) {
                  satMin = std::min(satMin, v);
                  satMax = std::max(satMax, v);
                }
              }
            }
          } else if (id < 100 && r[25] == 50) {
            const double* out = NodeSpectra.at(j, 1);
            for (int b = 1; b <= 4; ++b) {
              if (LnbParams[0][b - 1][0] <= 0) continue;
              for (int m = 0; m < 7; ++m) {
                const double v = out[7 * (b - 1) + m] - (L * kCableGridRoots[m] * coef + SatSocketLoss);
                satMin = std::min(satMin, v);
                satMax = std::max(satMax, v);
              }
            }
            if (satMin < -1000000) satMin = SatMinLevel - 20;
          } else if (id > 100) {
            const int p = PairOf(id);
            if (p >= 0) {
              for (int i = 0; i < 100; ++i) {
                const double f = TerrSpectra[2 * p][i];
                const double loss = L * std::sqrt(std::max(f, 0.0) / 1000.0) * coef + TerrSocketLoss;
                const double v = sp[i] - loss;
                if (v > -1000) {
                  terrMin = std::min(terrMin, v);
                  terrMax = std::max(terrMax, v);
                }
              }
            }
          }
        }
        if (id == 0 && r[0] > 0 && r[0] % 100 != 5) noSignal = true;
        if (-1000 < satMin && satMin < 1000000 && id > 0 && id < 100) {
          s = Classify(satMin, satMax, SatMinLevel, SatMaxLevel, s);
          if (noSignal) s = 7;
        }
        if (-100 < terrMin && terrMin < 1000000) t = Classify(terrMin, terrMax, TerrMinLevel, TerrMaxLevel, t);
        if (l[0] == 9 || l[0] == 0) l[0] = s;
      }
    }
    l[0] += 10 * t;
    ++k;
  }
}

void CollectLevelMarks(int nb) {
  int w = 0;
  auto mark = [&](int kind, int x, int y, int bound) {
    LevelMarks[w] = {kind, x, y};
    if (w < bound) ++w;
  };
  auto pin = [](const NodeRow& r, int q, int& x, int& y) {
    const int f = q == 0 ? 1 : q == 1 ? 3 : 5 + 2 * (q - 2);
    x = r[f];
    y = r[f + 1];
  };
  const int first = static_cast<int>(SourceCount);
  const int last = std::min(nb, static_cast<int>(Nodes.size()));
  for (int q = 0; q <= 5; ++q) {
    int portSkip = -1;
    for (int u = first; u < last; ++u) {
      const NodeRow& r = Nodes[u];
      const int cls = NodeClass(u);
      const int code = r[0];
      const int hiQ = r[19] == -1 ? 1 : 5;
      const int loQ = (cls == 81 || cls == 37 || cls == 42 || cls > 90) ? 0 : 1;
      if (u > 0 && code / 100 != Nodes[u - 1][0] / 100) {
        portSkip = -1;
        for (int m = u; m < last && Nodes[m][0] / 100 == code / 100; ++m)
          if (q > 1 && Nodes[m][17 + q] < -2) portSkip = q;
      }
      if (q < loQ || q > hiQ) continue;
      const int id = r[14];
      const int slot = id / 10, band = id % 10;
      int count = 20;
      if (id < 100) count = (ValidSatSlot(slot) && band >= 1 && band <= 4) ? LnbParams[slot][band - 1][0] : 0;
      bool marked = false;
      int px, py;
      pin(r, q, px, py);
      if (!(px < 1000000) || id <= 0) continue;
      const int kind = NodeKind(u);
      const int row = r[18];
      const auto& firstRow = PortTemplates[static_cast<std::size_t>(TypeOf(kind)[kFirstTemplateRow])];
      const double* spq = NodeSpectra.at(u, q);
      const double* in = NodeSpectra.at(u, 0);
      double level, limit;
      if (cls == 91 && q < 2) {
        level = spq[100];
        limit = firstRow[7] - 10000;
      } else {
        level = spq[102];
        limit = cls == 42 ? firstRow[7] : r[13];
      }
      const double hang = ValidObjRow(row) ? ObjValues[row][1] : 0.0;
      if (code > 1000 && level > limit && (q == loQ || q > 1) && level < 100000 && cls != 13 && cls != 37 &&
          (cls != 42 || hang > 1.1))
        mark(2, px, py, 5000);
      if (cls == 42 && hang > 1.1) {
        const double thr = code == 58000 ? 45.0 : 30.0;
        if (in[101] < thr) {
          mark(1, r[1], r[2], 5000);
          marked = true;
        }
      }
      if (code == 61005 && in[101] < 40.0) {
        mark(1, r[1], r[2], 5000);
        marked = true;
      }
      if (cls == 42 && hang < 1.1 && ValidObjRow(row)) {
        const double thr = code == 58000 ? 45.0 : 30.0;
        const int inst = NetObjects[row][kInst];
        double f = inst;
        const bool cont = ValidObjRow(row + 1);
        if (code == 58000 && cont) f -= inst < 11700 ? NetObjects[row + 1][3] : NetObjects[row + 1][4];
        int x = -1;
        if (code == 58000) {
          if (ValidSatSlot(slot) && band >= 1 && band <= 4)
            for (int e = 0; e < kSatRows; ++e)
              if (SatTables[slot][2 * (band - 1)][e] >= f) {
                x = e;
                break;
              }
        } else {
          const int p = PairOf(id);
          if (p >= 0)
            for (int e = 0; e < 101; ++e)
              if (TerrSpectra[2 * p][e] >= f) {
                x = e;
                break;
              }
        }
        int expected = 0;
        if (code == 58000 && cont) {
          const int f1 = NetObjects[row + 1][1], f2 = NetObjects[row + 1][2];
          const int d = f1 % 10;
          if (d < 5) expected = f1;
          else if (d > 7) {
            expected = 2 * f2 + 1 + (inst >= 11700 ? 1 : 0);
            if (f1 / 10 < 5) expected += 10 * (f1 / 10);
          }
        }
        const double inX = (x >= 0 && x < 100) ? in[x] : kNoSignal;
        if (inX < thr || (code == 58000 && id != expected) || (code == 59005 && id < 100)) {
          mark(1, r[1], r[2], 5000);
          marked = true;
        }
        if (inX > limit) {
          mark(2, r[1], r[2], 5000);
          marked = true;
        }
      }
      if (code > 60000 && code < 60005 && q == 0) {
        if (in[102] > 85.0) mark(2, r[1], r[2], 5000);
        if (in[101] < 45.0) mark(1, r[1], r[2], 5000);
      }
      if (count > 0 && q > 1 && !marked && -1001 < spq[101] &&
          ((id < 100 && spq[101] < SatMinLevel) || (id > 100 && spq[101] < TerrMinLevel)) && portSkip != q)
        mark(1, px, py, 5000);
      if ((cls == 91 || cls == 92) && q == 0 && count > 0) {
        double lv, lim;
        if (cls == 91) {
          const auto& second = PortTemplates[static_cast<std::size_t>(TypeOf(kind)[kFirstTemplateRow]) + 1];
          lv = in[100];
          lim = second[7] - 10000;
        } else {
          lv = in[101];
          lim = r[13] - 20;
        }
        if (-100 < lv && lv < lim) mark(1, r[1], r[2], 5000);
      }
    }
  }
  // Outputs of single-cable and mode-'0' chains whose signals are missing.
  const int lastOut = std::min(nb, static_cast<int>(Nodes.size()) - 1);
  for (int u = first; u <= lastOut; ++u) {
    const NodeRow& r = Nodes[u];
    const int row = r[18];
    int lo = u, hi = u;
    while (lo > 0 && Nodes[lo - 1][18] == row) --lo;
    while (hi + 1 < static_cast<int>(Nodes.size()) && Nodes[hi + 1][18] == row) ++hi;
    bool inUse = false;
    for (int m = lo; m <= hi && !inUse; ++m) inUse = Nodes[m][15] != 0;
    if (!inUse) continue;
    const int id = r[14];
    const int slot = id / 10, band = id % 10;
    const double* out = NodeSpectra.at(u, 1);
    const bool bandCarriers = ValidSatSlot(slot) && band >= 1 && band <= 4 && LnbParams[slot][band - 1][0] > 0;
    if (r[25] == 49 && bandCarriers && (out[101] > 100000 || out[101] < 0)) mark(1, r[3], r[4], 2000);
    if (r[25] == 50) {
      bool missing = false;
      for (int m = lo; m <= hi; ++m)
        if (Nodes[m][14] == 0 && Nodes[m][25] < 100) missing = true;
      if (missing) mark(1, r[3], r[4], 2000);
      if (NodeClass(u) != 81 || band == 4) {
        bool low = out[101] > 100000;
        for (int b = 1; b <= 4 && !low; ++b) {
          if (LnbParams[0][b - 1][0] <= 0) continue;
          for (int e = 7 * (b - 1); e < 7 * b; ++e)
            if (out[e] < 0) low = true;
        }
        if (low) mark(1, r[3], r[4], 2000);
      }
    }
  }
}

}  // namespace kavrix

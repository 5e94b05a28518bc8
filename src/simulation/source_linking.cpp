#include "simulation/source_linking.hpp"

#include <algorithm>
#include <iterator>

#include "catalogue/channel_freq_table.hpp"
#include "catalogue/type_catalogue.hpp"
#include "engine/distribution_block_helpers.hpp"
#include "engine/propagation.hpp"
#include "model/object_rows.hpp"
#include "model/run_records.hpp"
#include "model/source_tables.hpp"

namespace kavrix {
namespace linking {

namespace {


void EnsureQueue(std::size_t entries) {
  if (ChainQueue.size() < entries + 1) ChainQueue.resize(entries + 1, 0);
}

bool IsTerrestrialSource(int sid) { return sid > 104 && sid < 200; }

void SetPassage(int sid) {
  const int i = PassageIndex(sid);
  if (i >= 0) SourcePassed[i] = true;
}
bool Passed(int sid) {
  const int i = PassageIndex(sid);
  return i >= 0 && SourcePassed[i];
}

// The content code cell of a single line (field 5 of its geometry row), null when it has none.
int* ContentCell(int node) {
  const int row = Nodes[node][kNodeObject] + 1;
  return ValidObjRow(row) ? &NetObjects[row][kStyle] : nullptr;
}
constexpr int kContentTerrestrial = 5;   // terrestrial only
constexpr int kContentBandGrid = 7;      // on a mode-'0' chain
constexpr int kContentWithTerr = 10;     // added to a band 1..4 that also carries terrestrial

bool ChannelEdge(int index, double& f) {
  const auto e = ChannelLowerEdge(index);
  if (!e) return false;
  f = *e;
  return true;
}

}  // namespace

SourceWalk StartWalk(int s) {
  SourceWalk w;
  w.source = s;
  w.sid = Nodes[s][kNodeSourceId];
  w.band = BandOf(w.sid);
  w.code = Nodes[s][kNodeCode];
  w.mark = Nodes[s][kNodeChainMark];
  const int slot = SatSlotOf(w.sid);
  std::fill(FreqList.begin(), FreqList.end(), 0.0);
  if (w.sid < kSatIdLimit) {
    if (ValidSatSlot(slot) && w.band >= 1 && w.band <= 4)
      for (int k = 0; k < kSatRows; ++k) FreqList[k] = SatTables[slot][SatFreqColumn(w.band - 1)][k];
  } else if ((IsTerrestrialSource(w.sid) && w.code != kCodeFemoSource && w.code != kCodeBavkSource &&
              w.code != kCodeZirnSource) ||
             w.sid > 204) {
    const int p = TerrPairOf(w.sid);
    if (p >= 0)
      for (int k = 0; k < 100; ++k) FreqList[k] = TerrSpectra[2 * p][k];
  }
  for (int k = 0; k < 100; ++k) w.fmax = std::max(w.fmax, FreqList[k]);
  return w;
}

Linker::Linker(RunGraph& graph, int nb) : m_graph(graph), m_nb(nb), m_nextFree(nb) {
  if (!m_graph.pinsCurrent) m_graph.pins.build(static_cast<int>(Nodes.size()));
  m_first = SourceCount + 1;
  m_scanEnd = m_first;
  while (m_scanEnd < static_cast<int>(Nodes.size()) && Nodes[m_scanEnd][kNodeCode] != 0) ++m_scanEnd;
  for (int j = m_first; j < m_scanEnd; ++j)
    if (NodeClass(j) > 90) m_optical.push_back(j);
  m_seen.assign(Nodes.size(), 0);
  m_parent.assign(Nodes.size(), -1);
  m_origin.resize(Nodes.size());
  for (std::size_t n = 0; n < m_origin.size(); ++n) m_origin[n] = static_cast<int>(n);
}

void Linker::turnLineConductor(int cur, const NodeRow& curRow, int j) {
  NodeRow& r = Nodes[j];
  if (IsLineCode(r[kNodeCode]) && PinsMeet(curRow, 1, r, 1) && r[kNodeObject] != curRow[kNodeObject] && j != cur &&
      (r[kNodeChainMark] == curRow[kNodeChainMark] || r[kNodeChainMark] == 0)) {
    std::swap(r[kNodeInX], r[kNodeOutX]);
    std::swap(r[kNodeInY], r[kNodeOutY]);
    m_graph.pins.update(j);
  }
}

// A copy of j for this source would hang below a node that already stands for j: the drawing
// loops back on itself, and copying again would never end.
bool Linker::loopsBack(int cur, int j) const {
  const int origin = m_origin[static_cast<std::size_t>(j)];
  for (int n = cur; n >= 0; n = m_parent[static_cast<std::size_t>(n)])
    if (m_origin[static_cast<std::size_t>(n)] == origin) return true;
  return false;
}

void Linker::addCandidate(int n) {
  m_graph.pins.add(n);
  m_seen.resize(Nodes.size(), 0);
  m_parent.resize(Nodes.size(), -1);
  for (std::size_t i = m_origin.size(); i < Nodes.size(); ++i) m_origin.push_back(static_cast<int>(i));
  if (n == m_scanEnd) {
    ++m_scanEnd;
    while (m_scanEnd < static_cast<int>(Nodes.size()) && Nodes[m_scanEnd][kNodeCode] != 0) ++m_scanEnd;
  }
  m_merged.push_back(n);
}

void Linker::claimForTerrestrialSource(const SourceWalk& w, int cur, const NodeRow& curRow, int j) {
  const int code = Nodes[j][kNodeCode];
  const bool line = code == kCodeSingleLine || code == kCodeFibre;
  if (w.sid <= kSatIdLimit || !(line || NodeClass(j) == 13) || j >= m_nb || !Feeds(curRow, Nodes[j])) return;
  const int mark = Nodes[j][kNodeChainMark];
  if (mark == 0) {
    if (code == kCodeSingleLine) {
      int* cell = ContentCell(j);
      int c = cell ? *cell : 0;
      if (c >= 1 && c <= 4) c += kContentWithTerr;
      else if (c != kContentBandGrid) c = kContentTerrestrial;
      if (curRow[kNodeChainMark] == kChainBandGrid) c = kContentBandGrid;
      if (cell) *cell = c;
    }
    Nodes[j][kNodeSourceId] = w.sid;
    Nodes[j][kNodeChainMark] = w.sid;
  } else if (mark > kSatIdLimit && mark != w.sid && !loopsBack(cur, j)) {
    const int n = m_nextFree++;
    EnsureNodeRows(static_cast<std::size_t>(n) + 2);
    NodeRow& added = Nodes[n];
    added = Nodes[j];
    added[kNodeWavelength] = 0;
    added[kNodeSourceId] = w.sid;
    added[kNodeChainMark] = w.sid;
    ClearNodeSpectra(n);
    addCandidate(n);
    m_origin[static_cast<std::size_t>(n)] = m_origin[static_cast<std::size_t>(j)];
  }
}

void Linker::takeOpticalId(const SourceWalk& w, int j) {
  NodeRow& r = Nodes[j];
  if (NodeClass(j) > 90 && w.band == CodeDigit(r[kNodeCode]) && r[kNodeSourceId] == 0) r[kNodeSourceId] = w.sid;
}

void Linker::claimCombinerNode(const SourceWalk& w, const NodeRow& curRow, int j) {
  NodeRow& r = Nodes[j];
  const int kind = NodeKind(j);
  if (!Feeds(curRow, r) || kind < 86 || kind > 88) return;
  const int code = r[kNodeCode];
  if (r[kNodeChainMark] == 0 &&
      (j == 0 || Nodes[j - 1][kNodeCode] != code || Nodes[j - 1][kNodeChainMark] != w.mark))
    r[kNodeChainMark] = w.mark;
  if (IsTerrestrialSource(w.sid)) SetPassage(w.sid);
}

bool Linker::linkable(const SourceWalk& w, const NodeRow& curRow, int j) const {
  const NodeRow& r = Nodes[j];
  if (!Feeds(curRow, r) || r[kNodeObject] == curRow[kNodeObject] || m_seen[static_cast<std::size_t>(j)]) return false;
  const int cls = NodeClass(j);
  const int curMark = curRow[kNodeChainMark], mark = r[kNodeChainMark];
  // Below a pass-through node every satellite node is doubled: the unmarked copy belongs to the
  // terrestrial path, so a satellite walk takes only the marked one, whichever source was drawn
  // first. The single-cable unit the marking passes by stays single and links as anywhere else.
  const bool passThrough = StartsPassThroughChain(curRow[kNodeCode]);
  const bool satelliteOnDoubled =
      passThrough && curMark != kChainBandGrid && w.sid < kSatIdLimit && NodeKind(j) != kChainMarkSkipsKind;
  const bool marksFit = satelliteOnDoubled
                            ? mark == kChainPassThrough
                            : (curMark == mark || curMark == mark + 100 ||
                                   (cls == 81 && (mark == kChainSingleCable || mark == kChainBandGrid) &&
                                    BandOf(w.sid) == BandOf(r[kNodeSourceId])) ||
                                   (passThrough && mark == kChainPassThrough));
  if (!marksFit) return false;
  return cls < 91 || BandOf(curRow[kNodeSourceId]) == BandOf(r[kNodeSourceId]);
}

void AddChannelPoints(SourceWalk& w, int j) {
  const int kind = NodeKind(j);
  if (kind < 81 || kind > 84 || CodeGroup(Nodes[j][kNodeCode]) != 1 || !IsTerrestrialSource(w.sid)) return;
  NodeRow& src = Nodes[w.source];
  const int* noted = &src[kSourceChannelAmps];
  if (noted[0] != kind && noted[1] != kind && noted[2] != kind) {
    for (int f = kSourceChannelAmps; f < kSourceChannelAmps + 3; ++f)
      if (src[f] == 0) {
        src[f] = kind;
        break;
      }
  }
  SetPassage(w.sid);
  const int p = TerrPairOf(w.sid);
  const double firstF = p >= 0 ? TerrSpectra[2 * p][0] : 0.0;
  // Channel settings: (row offset, column) of the channel number, its table offset and width.
  struct Channel {
    int rowOffset, column, offset;
    double width;
  };
  const int row = Nodes[j][kNodeObject];
  const int inst = ValidObjRow(row) ? NetObjects[row][kInst] : 0;
  Channel chans[4];
  int count = 2;
  if (kind == 81) {
    chans[0] = {1, kAmpChannelA, 0, 8};
    chans[1] = {1, kAmpChannelB, 0, 8};
  } else if (kind == 82) {
    chans[0] = {1, kAmpChannelA, 80, 7};
    chans[1] = {1, kAmpChannelB, 80, 7};
  } else if (kind == 83) {
    chans[0] = {1, kAmpChannelA, inst < 2 ? 65 : 85, 7};
    chans[1] = {1, kAmpChannelB, inst < 2 ? 65 : 85, 7};
  } else {
    chans[0] = {1, kAmpChannelA, 0, 8};
    chans[1] = {1, kAmpChannelB, 0, 8};
    chans[2] = {2, kAmpChannelA, 0, 8};
    chans[3] = {2, kAmpChannelB, 0, 8};
    count = 4;
  }
  for (int ch = 0; ch < count; ++ch) {
    const int cr = row + chans[ch].rowOffset;
    if (!ValidObjRow(cr) || NetObjects[cr][kKind] >= 0) continue;
    const int number = NetObjects[cr][chans[ch].column];
    double f;
    if (!ChannelEdge(number + chans[ch].offset, f)) continue;
    const double width = chans[ch].width;
    if (firstF - 1.0 < f && f < w.fmax + width && w.points < 99 && w.points + 3 < 100) {
      double before = f - 1.0;
      // The second channel of this model starts at the edge of the channel before it.
      if (kind == 83 && inst < 2 && ch == 1) {
        double prev;
        if (ChannelEdge(number + 64, prev)) before = prev;
      }
      FreqList[w.points] = before;
      FreqList[w.points + 1] = f;
      FreqList[w.points + 2] = f + width;
      FreqList[w.points + 3] = f + width + 1.0;
      w.points += 4;
    }
  }
}

void PairOpticalNodes(SourceWalk& w, int j) {
  NodeRow& r = Nodes[j];
  if (CodePath(r[kNodeCode]) != kTerrestrialPath) return;
  const int cls = NodeClass(j);
  if (cls == 92) {
    w.transmitter = j;
    const int row = r[kNodeObject];
    r[kNodeStep] = ValidObjRow(row) ? NetObjects[row][kInst] : 0;
    const int antSlot = Nodes[w.source][kAntennaSlot];
    if (ValidTerrSlot(antSlot)) r[kNodeCarriers] += TerrParams[antSlot][kTerrCarriers];
  }
  if (cls == 91) r[kNodeTransmitter] = w.transmitter;
}

void RecodeSatLine(const SourceWalk& w, const NodeRow& curRow, int j) {
  if (Nodes[j][kNodeCode] != kCodeSingleLine) return;
  int* cell = ContentCell(j);
  int c = cell ? *cell : 0;
  if (w.sid < kSatIdLimit && curRow[kNodeChainMark] != kChainBandGrid)
    c = (c == kContentTerrestrial) ? w.band + kContentWithTerr : w.band;
  if (curRow[kNodeChainMark] == kChainBandGrid) c = kContentBandGrid;
  if (cell) *cell = c;
}

void HandSourceOn(const SourceWalk& w, int curClass, int j, PinIndex& pins) {
  NodeRow& r = Nodes[j];
  const int cls = NodeClass(j);
  if (r[kNodeChainMark] != kChainBandGrid && cls != 92 && cls != 37 && cls != 42)
    r[kNodeMaxLevel] -= Nodes[w.source][kSourceDerating];
  if (r[kNodeSourceId] == 0 || cls == 92) r[kNodeSourceId] = w.sid;
  if (cls == 61 && IsGroup1Terrestrial(r[kNodeCode])) {
    // The second input of the channel amplifier: the same object's group-2 node of this
    // source, found the way the engine finds it.
    const int m = engine::blk::SiblingNode(j, 1, 2);
    if (m >= 0) {
      Nodes[m][kNodeSourceId] = w.sid;
      if (curClass == 61) {
        Nodes[m][kNodeInX] -= 10000;  // away from every pin, so no walk enters it
        pins.update(m);
      }
    }
  }
  if (cls == 81 || cls == 42) r[kNodeSourceId] = w.sid;
  if (w.code == kCodeFemoSource) {
    r[kNodeSourceId] = w.sid;
    r[kNodeChainMark] = w.sid;
  }
}

void Linker::link(SourceWalk& w, int curClass, const NodeRow& curRow, int j) {
  AddChannelPoints(w, j);
  PairOpticalNodes(w, j);
  RecodeSatLine(w, curRow, j);
  HandSourceOn(w, curClass, j, m_graph.pins);
}

// The candidates of cur (nodes with a pin at cur's output, and the optical nodes) through the
// tests A to F; the first linked node continues the chain, further ones are queued as branches.
void Linker::scan(SourceWalk& w, int cur, int& next, int& count, std::size_t& tail) {
  const NodeRow curRow = Nodes[cur];
  const int curClass = NodeClass(cur);
  m_graph.pins.candidates(curRow[kNodeOutX], curRow[kNodeOutY], m_cand);
  m_merged.clear();
  std::set_union(m_cand.begin(), m_cand.end(), m_optical.begin(), m_optical.end(), std::back_inserter(m_merged));
  for (std::size_t ci = 0; ci < m_merged.size(); ++ci) {
    const int j = m_merged[ci];
    if (j < m_first || j >= m_scanEnd) continue;
    turnLineConductor(cur, curRow, j);
    claimForTerrestrialSource(w, cur, curRow, j);
    takeOpticalId(w, j);
    claimCombinerNode(w, curRow, j);
    if (!linkable(w, curRow, j)) continue;
    link(w, curClass, curRow, j);
    m_seen[static_cast<std::size_t>(j)] = 1;
    m_parent[static_cast<std::size_t>(j)] = cur;
    if (count == 0) {
      next = j;
    } else {
      ++tail;
      EnsureQueue(tail + 1);
      ChainQueue[tail] = j;
    }
    ++count;
  }
}

void Linker::walkSource(int s) {
  SourceWalk w = StartWalk(s);
  std::fill(ChainQueue.begin(), ChainQueue.end(), 0);
  EnsureQueue(1);
  m_seen.assign(Nodes.size(), 0);
  m_seen[static_cast<std::size_t>(s)] = 1;
  m_parent.assign(Nodes.size(), -1);
  int cur = s;
  std::size_t head = 0, tail = 0;
  // Entry 0 of the queue stays 0; entries 1.. are the branch starts met on the way.
  while (ChainQueue[head] != 0 || head == 0) {
    int next = 0;
    if (tail > 0) cur = ChainQueue[head];
    int count;
    do {
      count = 0;
      if (next > 0) cur = next;
      scan(w, cur, next, count, tail);
      Nodes[cur][kNodeNext] = count > 0 ? next : kChainEnd;
    } while (count > 0);
    ++head;
    EnsureQueue(head);
    if (ChainQueue[head] > 0) Nodes[cur][kNodeNext] = -ChainQueue[head];
  }
  DropUnusedChannelPoints(w);
  MergeChannelPoints(w);
  std::fill(ChainQueue.begin(), ChainQueue.end(), 0);
}

void DropUnusedChannelPoints(const SourceWalk& w) {
  if (w.points > 0 && w.points <= 99)
    for (int k = w.points; k < 100; ++k) FreqList[k] = 0.0;
}

void MergeChannelPoints(const SourceWalk& w) {
  if (!IsTerrestrialSource(w.sid) || !Passed(w.sid) || w.code == kCodeZirnSource) return;
  SortFrequencyList();
  const int p = TerrPairOf(w.sid);
  if (p < 0 || FreqList[1] + 1.0 < TerrSpectra[2 * p][0]) return;
  const auto oldF = TerrSpectra[2 * p];
  const auto oldL = TerrSpectra[2 * p + 1];
  auto& lv = TerrSpectra[2 * p + 1];
  // Each point takes the level of the plan's last frequency at or below it (a point on a plan
  // frequency takes that frequency's own level).
  for (int k = 0; k < 100; ++k) {
    int x = 0;
    while (x < 100 && oldF[x] > 0.0 && oldF[x] <= FreqList[k] + 0.001) ++x;
    if (FreqList[k] > 0 && x > 0) lv[k] = oldL[x - 1];
  }
  for (int k = 0; k < 100; ++k) TerrSpectra[2 * p][k] = FreqList[k];
  if (p < static_cast<int>(TerrMergedFlags.size())) TerrMergedFlags[static_cast<std::size_t>(p)] = true;
  for (int k = 0; k < 100; ++k)
    if (FreqList[k] == 0.0) lv[k] = -1000.0;
}

}  // namespace linking

void LinkSources(RunGraph& graph, int nb) {
  linking::Linker linker(graph, nb);
  for (int s = 0; s <= SourceCount && s < static_cast<int>(Nodes.size()); ++s) linker.walkSource(s);
  graph.linked = linker.nextFree();
}

}  // namespace kavrix

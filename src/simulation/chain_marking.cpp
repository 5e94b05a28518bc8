// Chain marks below single-cable outputs whose mode digit is '0' and below pass-through nodes,
// and the doubling of the marked nodes: each gets an unmarked copy in front of it.
#include <string>

#include "engine/propagation.hpp"
#include "model/run_records.hpp"
#include "simulation/run_steps.hpp"

namespace kavrix {

namespace {


void EnsureQueue(std::size_t entries) {
  if (ChainQueue.size() < entries + 1) ChainQueue.resize(entries + 1, 0);
}

// A node doubled by the chain marking: below a pass-through node, or on a mode-'0' chain below
// a single-cable unit (the unit's own nodes keep one row).
bool Doubled(int node) {
  const int m = Nodes[node][kNodeChainMark];
  return m == kChainPassThrough || (m == kChainBandGrid && NodeClass(node) != 81);
}

// Marks the chains below the mode-'0' outputs of single-cable units and below the line amplifier's
// satellite paths to either output.
void MarkSpecialChains(RunGraph& graph) {
  for (std::size_t i = 0; i < Nodes.size(); ++i) {
    const NodeRow& r = Nodes[i];
    const int code = r[kNodeCode];
    if (NodeClass(static_cast<int>(i)) == 81 && CodePath(code) == 4) {
      const int t = CodeGroup(code);
      const int row = r[kNodeObject];
      const std::string s = ValidObjRow(row) ? std::to_string(NetObjects[row][kInst]) : std::string();
      if (t > 0 && static_cast<std::size_t>(t) < s.size() && s[static_cast<std::size_t>(t)] == '0')
        MarkConnectedChain(graph, static_cast<int>(i), kChainBandGrid);
    }
    if (StartsPassThroughChain(code) && Nodes[i][kNodeChainMark] != kChainBandGrid)
      MarkConnectedChain(graph, static_cast<int>(i), kChainPassThrough);
  }
}

// Doubles the marked nodes in place, from the top down: an unmarked copy (source id 100 below a
// pass-through node and for the pass-through codes) followed by the marked node. Returns the number doubled.
int DoubleMarkedNodes(int n) {
  int d = 0;
  for (std::size_t i = 0; i < Nodes.size(); ++i) d += Doubled(static_cast<int>(i)) ? 1 : 0;
  if (d == 0) return 0;
  EnsureNodeRows(Nodes.size() + static_cast<std::size_t>(d));
  int w = n + d, r = n;
  while (r >= 0 && w >= 0) {
    const int wavelength = Nodes[w][kNodeWavelength];
    Nodes[w] = Nodes[r];
    Nodes[w][kNodeWavelength] = wavelength;
    if (Doubled(w)) {
      Nodes[r][kNodeChainMark] = 0;
      const int code = Nodes[r][kNodeCode];
      // Below a pass-through node the unmarked copy is the terrestrial path's: it carries no
      // satellite source (and is no unfed satellite path) until a terrestrial walk claims it.
      if (Nodes[w][kNodeChainMark] == kChainPassThrough || code == kCodePassThrough || code == kCodePassThrough2 ||
          code == kCodePassThrough3)
        Nodes[r][kNodeSourceId] = kPassThroughId;
    } else {
      --r;
    }
    --w;
  }
  return d;
}

}  // namespace

void MarkConnectedChain(RunGraph& graph, int start, int mark) {
  std::vector<uint8_t> seen(Nodes.size(), 0);
  std::vector<int> cand;
  EnsureQueue(1);
  ChainQueue[0] = start;
  std::size_t head = 0, tail = 0;
  if (ValidNode(start)) seen[start] = 1;
  while (head < ChainQueue.size() && ChainQueue[head] > 0) {
    int q = ChainQueue[head];
    while (q < kChainEnd) {
      const int cur = q;
      bool found = false;
      const NodeRow& c = Nodes[cur];
      graph.pins.candidates(c[kNodeOutX], c[kNodeOutY], cand);
      for (int j : cand) {
        NodeRow& r = Nodes[j];
        // A single line drawn towards the output it hangs on is turned first.
        if (PinsMeet(r, 1, c, 1) && r[kNodeCode] == kCodeSingleLine && j != cur) {
          std::swap(r[kNodeInX], r[kNodeOutX]);
          std::swap(r[kNodeInY], r[kNodeOutY]);
          graph.pins.update(j);
        }
        if (Feeds(c, r) && NodeKind(j) != kChainMarkSkipsKind && r[kNodeObject] != c[kNodeObject] &&
            CodeDigit(r[kNodeCode]) != kTerrestrialPath && !seen[j]) {
          seen[j] = 1;
          r[kNodeChainMark] = mark;
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
      if (!found) q = kChainEnd;
    }
    ++head;
  }
  std::fill(ChainQueue.begin(), ChainQueue.end(), 0);
}

int MarkAndDoubleChains(RunGraph& graph, int n) {
  graph.pins.build(static_cast<int>(Nodes.size()));
  MarkSpecialChains(graph);
  const int doubled = DoubleMarkedNodes(n);
  graph.pinsCurrent = doubled == 0;
  graph.built = n + doubled;
  return graph.built;
}

}  // namespace kavrix

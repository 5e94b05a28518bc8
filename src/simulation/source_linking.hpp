#pragma once
// Source linking: from every source node a walk over meeting pins sets each node's downstream
// pointer and hands the source id and chain mark on. On the way it turns line conductors drawn
// the wrong way round, claims lines for terrestrial sources (with a copy of a line another
// source claimed), recodes the drawn lines' content and collects the channels of channel
// amplifiers, which then replace the source's terrestrial plan. Each step below is a function of
// its own, in the order the walk applies it, so that tests can drive it on a hand-built graph.
#include <vector>

#include "model/network_model.hpp"
#include "simulation/run_steps.hpp"

namespace kavrix::linking {

// One source's walk.
struct SourceWalk {
  int source = 0;       // node index of the source
  int sid = 0;          // its source id
  int band = 0;         // the id's last digit
  int code = 0;         // the source node's code
  int mark = 0;         // the source node's chain mark
  double fmax = 0.0;    // highest frequency of its plan
  int points = 0;       // channel points collected in FreqList
  int transmitter = 0;  // the last optical transmitter the walk linked
};

// FreqList := source s's plan (LNB band column, terrestrial or generated frequency row);
// returns the walk's starting state.
SourceWalk StartWalk(int s);

// The walk over the graph: candidates come from the pin index; nodes added for shared lines go
// after NB.
class Linker {
 public:
  Linker(RunGraph& graph, int nb);

  // Walks source s and links every node it reaches.
  void walkSource(int s);
  // First free node index after the walks (NB plus the added copies).
  int nextFree() const { return m_nextFree; }

  // The tests on one candidate j of node cur; curRow is cur as it was when its scan began.
  // A: a line conductor whose output meets cur's output is turned round.
  void turnLineConductor(int cur, const NodeRow& curRow, int j);
  // B, C: a terrestrial source claims the lines and J-splitters it feeds; one that another
  // terrestrial source claimed gets a copy for this source (added after NB).
  void claimForTerrestrialSource(const SourceWalk& w, int cur, const NodeRow& curRow, int j);
  // D: an optical node takes the id of the source whose band its code carries.
  static void takeOpticalId(const SourceWalk& w, int j);
  // E: each terrestrial source claims the next free of a band combiner's nodes.
  static void claimCombinerNode(const SourceWalk& w, const NodeRow& curRow, int j);
  // F: cur links to j (pins meet, another object, marks that belong together).
  bool linkable(const SourceWalk& w, const NodeRow& curRow, int j) const;
  // F's effects on j, the link itself (downstream pointer, branch queue) left to the walk.
  void link(SourceWalk& w, int curClass, const NodeRow& curRow, int j);

 private:
  void scan(SourceWalk& w, int cur, int& next, int& count, std::size_t& tail);
  void addCandidate(int n);
  bool loopsBack(int cur, int j) const;

  RunGraph& m_graph;
  int m_nb;
  int m_first;      // first node after the sources
  int m_scanEnd;    // the scans stop at the first node without a code
  int m_nextFree;
  std::vector<int> m_optical;  // optical-class nodes, which D tests without a pin match
  std::vector<uint8_t> m_seen;
  std::vector<int> m_parent;   // the node each node was linked from in this walk
  std::vector<int> m_origin;   // the built node an added copy stands for
  std::vector<int> m_cand, m_merged;
};

// F's effects, one function each:
// A channel amplifier's channels inside the source's band become four points each in FreqList.
void AddChannelPoints(SourceWalk& w, int j);
// An optical transmitter counts the source's carriers; a receiver notes its transmitter.
void PairOpticalNodes(SourceWalk& w, int j);
// A single line shows the satellite band it carries (plus 10 when it also carries terrestrial).
void RecodeSatLine(const SourceWalk& w, const NodeRow& curRow, int j);
// j takes on the source: its maximum level lowered by the source's derating, the source id.
void HandSourceOn(const SourceWalk& w, int curClass, int j, PinIndex& pins);

// After the walk:
// Entries past the channel points are cleared.
void DropUnusedChannelPoints(const SourceWalk& w);
// The collected channel points replace the plan of a terrestrial source that passed a channel
// amplifier, each with the level of the plan's last frequency at or below it.
void MergeChannelPoints(const SourceWalk& w);

}  // namespace kavrix::linking

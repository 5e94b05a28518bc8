#pragma once
// Middle and closing stretches of the run, in the order the run calls them: chain marking and
// doubling, source linking, link-unit losses, min/max trackers, outlet evaluation and level
// marks. What they share lives in a RunGraph that belongs to one run.
#include <cstdint>
#include <string>
#include <vector>

#include "simulation/pin_index.hpp"

namespace kavrix {

// The pin index over the nodes of one run, its node counts and the scratch its steps reuse.
// RfAnalyze holds one per run, so nothing carries over from one run to the next.
struct RunGraph {
  PinIndex pins;
  bool pinsCurrent = false;  // pins index every row of Nodes as it stands (no doubling moved them)
  int built = 0;   // NB: nodes after building and chain doubling
  int linked = 0;  // NB plus the copies linking added for terrestrial sources sharing a line
};

// Stamps `mark` into the chain mark of every node downstream of `start` (pins must be indexed).
void MarkConnectedChain(RunGraph& graph, int start, int mark);
// The single-cable unit whose nodes the chain marks pass by: they stay single, unmarked.
constexpr int kChainMarkSkipsKind = 186;

// Chain marking below single-cable outputs and pass-through nodes, then doubling of the marked
// nodes. n = built node count; returns NB = n + doubled nodes.
int MarkAndDoubleChains(RunGraph& graph, int n);
// Links every source's chain; nb = built node count after doubling.
void LinkSources(RunGraph& graph, int nb);
void LinkUnitLosses();
// Takes node n's trackers while the propagation has its spectra at hand; UpdateMinMaxTrackers
// writes them without scanning again while nothing wrote to the node since.
void TakeNodeTrackers(int n);
void UpdateMinMaxTrackers();
void EvaluateOutlets();
void CollectLevelMarks(int nb);

}  // namespace kavrix

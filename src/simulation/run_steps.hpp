#pragma once
// Middle and closing stretches of the run: chain marking and doubling, source linking,
// link-unit losses, min/max trackers, outlet evaluation and level marks.
#include <cstdint>
#include <string>
#include <vector>

namespace kavrix {

// Stamps `mark` into field 25 of every node downstream of `start`.
void MarkConnectedChain(int start, int mark);

// Chain marking below single-cable outputs and pass-through nodes, then doubling of the marked
// nodes. n = built node count; returns NB = n + doubled nodes.
int MarkAndDoubleChains(int n);
// Links every source's chain; NB = built node count after doubling.
void LinkSources(int nb);
void LinkUnitLosses();
void UpdateMinMaxTrackers();
void EvaluateOutlets();
void CollectLevelMarks(int nb);

// Node count after linking (built nodes plus the copies added for shared lines).
int& LastLinkedNodeCount();

// Class (type catalogue family) of a node's owning object; 0 when the row is not valid.
int NodeClass(int node);
int NodeKind(int node);

}  // namespace kavrix

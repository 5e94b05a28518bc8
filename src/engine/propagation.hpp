#pragma once
// The propagation pass: builds each source's frequency list, walks the source's node chain
// computing every node and handing its output to the next, plus the single-position trial walk
// of the level adjustment and the frequency-list sort. Plain procedures over the model.
#include <cstdint>
#include <vector>

namespace kavrix {

// Computes every source's chain; with mode true also subtracts outlet cable and socket losses
// from every linked port. `computed`, when given, is told of each node right after the walk has
// computed it and handed its output on, while the node's spectra are still in the cache.
void RunSourcePasses(bool mode, void (*computed)(int node) = nullptr);
// Hands node n's output to its successor and the successor's sibling nodes.
void PassSpectrumDownstream(int nodeIndex);
// Lowers the step of `start` by one, recomputes the walk to `target` at list position freqIndex,
// restores the step and recomputes again; true when the target's input level changed.
bool TryNodeStep(int target, int start, int freqIndex);
// Sorts each run of non-zero entries of FreqList ascending; a 0 entry never moves.
void SortFrequencyList();

namespace engine {

// Marks the nodes a walk has visited, so a drawing that links into a loop cannot hang a walk.
// Storage grows with Nodes before a walk starts; marking itself never allocates.
class WalkMarks {
 public:
  // Starts a new walk over the current Nodes.
  void begin();
  // True the first time node n is seen in this walk.
  bool first(int n) {
    uint32_t& m = m_marks[static_cast<std::size_t>(n)];
    if (m == m_epoch) return false;
    m = m_epoch;
    return true;
  }

 private:
  std::vector<uint32_t> m_marks;
  uint32_t m_epoch = 0;
};

// The next node of a walk from field 15 of node n: the node index (the negated index continues
// without feeding), or -1 at a chain end or at anything that is not a node a walk may enter
// (node 0 is a source and never a successor; 0 is the value of a node never linked).
int WalkSuccessor(int next);

}  // namespace engine

// Kind of a node's owning object and that kind's family class; 0 when it has none.
int NodeKind(int n);
int NodeClass(int n);

}  // namespace kavrix

#pragma once
// The controller search of Tune: for every node of a source's chain, the latest adjustable node
// upstream whose one-step trial (TryNodeStep) changes the node's input level.
//
// Trying every earlier candidate walks the chain from the candidate to the node each time, which
// grows with the cube of the chain on long ones. Where the chain is a tree, that is, every node's
// input is handed to it by exactly one earlier node of the walk, the blocks keep to their own node
// and the spectra already hold what a trial walk would write back, a trial changes a node's input
// only through its chain of feeding nodes and leaves nothing behind. The search then tries only
// the candidates on that chain, computing just the nodes between candidate and node, and gets the
// answer every trial would give. Chains that are not such trees are searched by trials.
#include <cstdint>
#include <vector>

namespace kavrix::tuning {

class ControllerSearch {
 public:
  // controller[n] for every node n of `walk` (one source's chain in walk order, starting at the
  // source): the controller or -1. adjustable[n] marks the candidates; listPosition(n) is the
  // list position a node is judged at. `controller` and `adjustable` are indexed by node.
  template <class ListPosition>
  void find(const std::vector<int>& walk, const std::vector<uint8_t>& adjustable, ListPosition listPosition,
            std::vector<int>& controller) {
    int k = -1;
    bool uniform = true;
    for (int n : walk) {
      const int kn = listPosition(n);
      if (k >= 0 && kn != k) uniform = false;
      k = kn;
    }
    if (uniform && !trialsOnly() && prepareTree(walk, adjustable, k)) {
      searchTree(walk, adjustable, k, controller);
    } else {
      m_candidates.clear();
      for (int n : walk) {
        if (adjustable[static_cast<std::size_t>(n)]) m_candidates.push_back(n);
        controller[static_cast<std::size_t>(n)] = trialSearch(n, listPosition(n));
      }
    }
    release(walk);
  }

  // Forces the trials on every chain (tests compare both ways).
  static bool& trialsOnly();
  // How the last find searched: true when it could use the tree.
  bool usedTree() const { return m_usedTree; }

 private:
  int trialSearch(int n, int k);
  bool prepareTree(const std::vector<int>& walk, const std::vector<uint8_t>& adjustable, int k);
  void searchTree(const std::vector<int>& walk, const std::vector<uint8_t>& adjustable, int k,
                  std::vector<int>& controller);
  bool trialChanges(int k);
  void release(const std::vector<int>& walk);

  std::vector<int> m_candidates;
  std::vector<int> m_pos;     // position in the walk, -1 for nodes outside it
  std::vector<int> m_feeder;  // the node of the walk that hands a node its input, -1 for none
  std::vector<int> m_path;    // a trial's nodes from the node up to the candidate
  std::vector<double> m_saved;
  std::vector<double> m_snapshot;
  bool m_usedTree = false;
};

}  // namespace kavrix::tuning

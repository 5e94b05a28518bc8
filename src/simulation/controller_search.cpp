#include "simulation/controller_search.hpp"

#include <cmath>
#include <cstring>

#include "catalogue/type_catalogue.hpp"
#include "engine/node_frame.hpp"
#include "engine/propagation.hpp"
#include "model/run_records.hpp"

namespace kavrix::tuning {

namespace {

constexpr std::size_t kNodeSpectraValues = static_cast<std::size_t>(kSpectraPerNode) * kSpectrumLen;

bool SameBits(double a, double b) { return std::memcmp(&a, &b, sizeof a) == 0; }

// Optical nodes hand their optical level and wavelength on as well.
bool IsOpticalClass(int cls) { return cls >= 91 && cls <= 99; }

// The nodes a trial walk hands node m's output to at one list position: its successor and the
// successor's siblings on the same input point (the trial walk's own rule, without the class test
// that only optical successors need).
template <class F>
void ForEachHandOver(int m, F&& f) {
  const int f15 = NodeAt(m)[kNodeNext];
  const int next = engine::WalkSuccessor(f15);
  if (f15 <= 0 || next < 0) return;
  f(next);
  const int obj = NodeAt(next)[kNodeObject];
  if (!ValidObjRow(obj)) return;
  const TypeRecord& type = TypeOf(NetObjects[static_cast<std::size_t>(obj)][kKind]);
  if (type[kGroupsMinus1] <= 0) return;
  const NodeRow& from = NodeAt(m);
  for (int s = next + 1; s <= next + type[kPaths] && ValidNode(s); ++s) {
    const NodeRow& r = NodeAt(s);
    if (r[kNodeInX] == from[kNodeOutX] && r[kNodeInY] == from[kNodeOutY]) f(s);
  }
}

}  // namespace

bool& ControllerSearch::trialsOnly() {
  static bool only = false;
  return only;
}

int ControllerSearch::trialSearch(int n, int k) {
  for (auto it = m_candidates.rbegin(); it != m_candidates.rend(); ++it)
    if (TryNodeStep(n, *it, k)) return *it;
  return -1;
}

// The walk must be a tree of hand-overs that the spectra already agree with at position k:
// every node after the source fed by exactly one earlier node of the walk and by none after it,
// every computed node keeping to itself and giving back exactly its present spectra, and every
// input equal to the output that feeds it.
bool ControllerSearch::prepareTree(const std::vector<int>& walk, const std::vector<uint8_t>& adjustable, int k) {
  m_usedTree = false;
  if (walk.empty() || k < 0 || k > 99) return false;
  if (m_pos.size() < Nodes.size()) {
    m_pos.resize(Nodes.size(), -1);
    m_feeder.resize(Nodes.size(), -1);
  }
  for (std::size_t t = 0; t < walk.size(); ++t) {
    m_pos[static_cast<std::size_t>(walk[t])] = static_cast<int>(t);
    // A trial on a node whose input is not a number reports a change whatever it steps.
    if (std::isnan(SpectrumAt(walk[t], 0)[k])) return false;
  }
  // The source is computed by a trial only when it is itself a candidate.
  const std::size_t first = adjustable[static_cast<std::size_t>(walk[0])] ? 0 : 1;
  bool tree = true;
  for (std::size_t t = first; t < walk.size() && tree; ++t) {
    const int m = walk[t];
    if (!engine::KeepsToOwnNode(m) || IsOpticalClass(NodeClass(m))) return false;
    const double out = SpectrumAt(m, 1)[k];
    ForEachHandOver(m, [&](int y) {
      const int at = m_pos[static_cast<std::size_t>(y)];
      if (!SameBits(SpectrumAt(y, 0)[k], out)) tree = false;
      if (at < 0) return;  // not on this walk: never computed by a trial
      if (at <= static_cast<int>(t) || m_feeder[static_cast<std::size_t>(y)] >= 0) tree = false;
      m_feeder[static_cast<std::size_t>(y)] = m;
    });
  }
  if (!tree) return false;
  // Computing a node at position k must give back what it holds.
  m_snapshot.resize(kNodeSpectraValues);
  for (std::size_t t = first; t < walk.size(); ++t) {
    double* sp = SpectrumAt(walk[t], 0);
    std::memcpy(m_snapshot.data(), sp, sizeof(double) * kNodeSpectraValues);
    CalcNode(walk[t], k);
    const bool same = std::memcmp(m_snapshot.data(), sp, sizeof(double) * kNodeSpectraValues) == 0;
    if (!same) {
      std::memcpy(sp, m_snapshot.data(), sizeof(double) * kNodeSpectraValues);
      return false;
    }
  }
  m_usedTree = true;
  return true;
}

void ControllerSearch::searchTree(const std::vector<int>& walk, const std::vector<uint8_t>& adjustable, int k,
                                  std::vector<int>& controller) {
  for (int n : walk) {
    int found = -1;
    m_path.clear();
    m_path.push_back(n);
    for (int a = m_feeder[static_cast<std::size_t>(n)]; a >= 0; a = m_feeder[static_cast<std::size_t>(a)]) {
      m_path.push_back(a);
      if (adjustable[static_cast<std::size_t>(a)] && trialChanges(k)) {
        found = a;
        break;
      }
    }
    controller[static_cast<std::size_t>(n)] = found;
  }
}

// The trial of the candidate at the end of m_path for the node at its start, computed along the
// path only: the candidate's step lowered by one, each node computed at position k and handed to
// the next, the node's input compared, and every value put back as it was.
bool ControllerSearch::trialChanges(int k) {
  const std::size_t len = m_path.size();
  const int candidate = m_path[len - 1];
  const int target = m_path[0];
  m_saved.resize(2 * len);
  for (std::size_t i = 0; i < len; ++i) {
    m_saved[2 * i] = SpectrumAt(m_path[i], 0)[k];
    m_saved[2 * i + 1] = SpectrumAt(m_path[i], 1)[k];
  }
  NodeAt(candidate)[kNodeStep] -= 1;
  CalcNode(candidate, k);
  for (std::size_t i = len - 1; i-- > 0;) {
    const int y = m_path[i];
    SpectrumAt(y, 0)[k] = SpectrumAt(m_path[i + 1], 1)[k];
    if (y != target) CalcNode(y, k);
  }
  const bool changed = SpectrumAt(target, 0)[k] != m_saved[0];
  NodeAt(candidate)[kNodeStep] += 1;
  for (std::size_t i = 0; i < len; ++i) {
    SpectrumAt(m_path[i], 0)[k] = m_saved[2 * i];
    SpectrumAt(m_path[i], 1)[k] = m_saved[2 * i + 1];
  }
  return changed;
}

void ControllerSearch::release(const std::vector<int>& walk) {
  if (m_pos.size() < Nodes.size()) return;
  for (int n : walk) {
    m_pos[static_cast<std::size_t>(n)] = -1;
    m_feeder[static_cast<std::size_t>(n)] = -1;
  }
}

}  // namespace kavrix::tuning

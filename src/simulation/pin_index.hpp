#pragma once
// Index from pin coordinates to node indices, so that the run's walks find the nodes whose
// pins meet without scanning every node. Candidate lists come in ascending node order, which
// keeps the results identical to a scan in index order.
//
// The index may hold stale entries after a node's pins moved; callers test the pins of every
// candidate themselves, so a candidate list only has to contain every node that does match.
#include <cstdint>
#include <unordered_map>
#include <utility>
#include <vector>

#include "model/network_model.hpp"
#include "model/run_records.hpp"
#include "simulation/point_map.hpp"

namespace kavrix {

inline uint64_t PinKey(int32_t x, int32_t y) {
  return (static_cast<uint64_t>(static_cast<uint32_t>(x)) << 32) | static_cast<uint32_t>(y);
}

class PinIndex {
 public:
  // Indexes input pins (fields 1, 2) and output pins (fields 3, 4) of nodes [0, count).
  void build(int count);
  // Adds node n under its current pins (a new node, or one whose pins changed).
  void add(int n);
  void update(int n) { add(n); }
  // Ascending, duplicate-free nodes with an input or output pin at (x, y), possibly with nodes
  // whose pins have since moved away.
  void candidates(int32_t x, int32_t y, std::vector<int>& out) const;

 private:
  // Nodes by pin as built: point -> group, group g's nodes m_nodes[m_start[g] .. m_start[g + 1]).
  PointMap m_groups;
  std::vector<int> m_start;
  std::vector<int> m_nodes;
  std::vector<int> m_fill;
  std::unordered_map<uint64_t, std::vector<int>> m_added;    // entries added after build
};

}  // namespace kavrix

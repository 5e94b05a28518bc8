#pragma once
// Index from pin coordinates to node indices, so that the run's walks find the nodes whose
// pins meet without scanning every node. Candidate lists are kept in ascending node order,
// which keeps the results identical to a scan in index order.
#include <cstdint>
#include <unordered_map>
#include <vector>

#include "model/network_model.hpp"

namespace kavrix {

inline uint64_t PinKey(int32_t x, int32_t y) {
  return (static_cast<uint64_t>(static_cast<uint32_t>(x)) << 32) | static_cast<uint32_t>(y);
}

class PinIndex {
 public:
  // Indexes input pins (fields 1, 2) and output pins (fields 3, 4) of nodes [0, count).
  void build(int count);
  // Re-indexes node n after its pins changed (swap, moved input).
  void update(int n);
  void add(int n);
  const std::vector<int>& inputsAt(int32_t x, int32_t y) const { return find(m_in, PinKey(x, y)); }
  const std::vector<int>& outputsAt(int32_t x, int32_t y) const { return find(m_out, PinKey(x, y)); }
  // Ascending, duplicate-free union of the nodes with an input or output pin at (x, y).
  void candidates(int32_t x, int32_t y, std::vector<int>& out) const;

 private:
  using Map = std::unordered_map<uint64_t, std::vector<int>>;
  static const std::vector<int>& find(const Map& m, uint64_t key);
  static void insert(Map& m, uint64_t key, int n);
  static void erase(Map& m, uint64_t key, int n);
  Map m_in, m_out;
  std::vector<uint64_t> m_inKey, m_outKey;
};

}  // namespace kavrix

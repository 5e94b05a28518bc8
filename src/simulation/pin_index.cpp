#include "simulation/pin_index.hpp"

#include <algorithm>

namespace kavrix {

void PinIndex::build(int count) {
  m_added.clear();
  m_sorted.clear();
  m_sorted.reserve(static_cast<std::size_t>(count) * 2);
  for (int n = 0; n < count; ++n) {
    const NodeRow& r = Nodes[n];
    m_sorted.emplace_back(PinKey(r[kNodeInX], r[kNodeInY]), n);
    m_sorted.emplace_back(PinKey(r[kNodeOutX], r[kNodeOutY]), n);
  }
  std::sort(m_sorted.begin(), m_sorted.end());
}

void PinIndex::add(int n) {
  if (!ValidNode(n)) return;
  const NodeRow& r = Nodes[n];
  for (uint64_t key : {PinKey(r[kNodeInX], r[kNodeInY]), PinKey(r[kNodeOutX], r[kNodeOutY])}) {
    auto& v = m_added[key];
    auto p = std::lower_bound(v.begin(), v.end(), n);
    if (p == v.end() || *p != n) v.insert(p, n);
  }
}

void PinIndex::candidates(int32_t x, int32_t y, std::vector<int>& out) const {
  out.clear();
  const uint64_t key = PinKey(x, y);
  auto lo = std::lower_bound(m_sorted.begin(), m_sorted.end(), std::make_pair(key, -1));
  for (auto it = lo; it != m_sorted.end() && it->first == key; ++it)
    if (out.empty() || out.back() != it->second) out.push_back(it->second);
  if (m_added.empty()) return;
  auto a = m_added.find(key);
  if (a == m_added.end()) return;
  std::vector<int> merged;
  merged.reserve(out.size() + a->second.size());
  std::set_union(out.begin(), out.end(), a->second.begin(), a->second.end(), std::back_inserter(merged));
  out.swap(merged);
}

}  // namespace kavrix

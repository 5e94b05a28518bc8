#include "simulation/pin_index.hpp"

#include <algorithm>

namespace kavrix {

void PinIndex::build(int count) {
  m_added.clear();
  m_groups.reset(static_cast<std::size_t>(count) * 2);
  m_start.clear();
  // Pass one numbers the points and counts their nodes, pass two places the nodes, ascending.
  auto forPins = [count](auto&& f) {
    for (int n = 0; n < count; ++n) {
      const NodeRow& r = Nodes[n];
      const uint64_t in = PinKey(r[kNodeInX], r[kNodeInY]);
      const uint64_t out = PinKey(r[kNodeOutX], r[kNodeOutY]);
      f(in, n);
      if (out != in) f(out, n);
    }
  };
  forPins([this](uint64_t key, int) {
    bool added = false;
    int& g = m_groups.insert(key, static_cast<int>(m_start.size()), &added);
    if (added) m_start.push_back(0);
    ++m_start[static_cast<std::size_t>(g)];
  });
  int total = 0;
  for (int& c : m_start) {
    const int n = c;
    c = total;
    total += n;
  }
  m_start.push_back(total);
  m_nodes.resize(static_cast<std::size_t>(total));
  std::vector<int>& fill = m_fill;
  fill.assign(m_start.begin(), m_start.end() - 1);
  forPins([this, &fill](uint64_t key, int n) {
    const int g = *m_groups.find(key);
    m_nodes[static_cast<std::size_t>(fill[static_cast<std::size_t>(g)]++)] = n;
  });
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
  if (const int* g = m_groups.find(key))
    out.assign(m_nodes.begin() + m_start[static_cast<std::size_t>(*g)],
               m_nodes.begin() + m_start[static_cast<std::size_t>(*g) + 1]);
  if (m_added.empty()) return;
  auto a = m_added.find(key);
  if (a == m_added.end()) return;
  std::vector<int> merged;
  merged.reserve(out.size() + a->second.size());
  std::set_union(out.begin(), out.end(), a->second.begin(), a->second.end(), std::back_inserter(merged));
  out.swap(merged);
}

}  // namespace kavrix

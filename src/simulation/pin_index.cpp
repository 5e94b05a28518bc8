#include "simulation/pin_index.hpp"

#include <algorithm>

namespace kavrix {

const std::vector<int>& PinIndex::find(const Map& m, uint64_t key) {
  static const std::vector<int> kEmpty;
  auto it = m.find(key);
  return it == m.end() ? kEmpty : it->second;
}

void PinIndex::insert(Map& m, uint64_t key, int n) {
  auto& v = m[key];
  v.insert(std::lower_bound(v.begin(), v.end(), n), n);
}

void PinIndex::erase(Map& m, uint64_t key, int n) {
  auto it = m.find(key);
  if (it == m.end()) return;
  auto& v = it->second;
  auto p = std::lower_bound(v.begin(), v.end(), n);
  if (p != v.end() && *p == n) v.erase(p);
}

void PinIndex::build(int count) {
  m_in.clear();
  m_out.clear();
  m_inKey.assign(static_cast<std::size_t>(count), 0);
  m_outKey.assign(static_cast<std::size_t>(count), 0);
  m_in.reserve(static_cast<std::size_t>(count));
  m_out.reserve(static_cast<std::size_t>(count));
  for (int n = 0; n < count; ++n) {
    const NodeRow& r = Nodes[n];
    m_inKey[n] = PinKey(r[1], r[2]);
    m_outKey[n] = PinKey(r[3], r[4]);
    m_in[m_inKey[n]].push_back(n);
    m_out[m_outKey[n]].push_back(n);
  }
}

void PinIndex::add(int n) {
  if (static_cast<std::size_t>(n) >= m_inKey.size()) {
    m_inKey.resize(static_cast<std::size_t>(n) + 1, 0);
    m_outKey.resize(static_cast<std::size_t>(n) + 1, 0);
  }
  const NodeRow& r = Nodes[n];
  m_inKey[n] = PinKey(r[1], r[2]);
  m_outKey[n] = PinKey(r[3], r[4]);
  insert(m_in, m_inKey[n], n);
  insert(m_out, m_outKey[n], n);
}

void PinIndex::update(int n) {
  if (n < 0 || static_cast<std::size_t>(n) >= m_inKey.size()) return;
  erase(m_in, m_inKey[n], n);
  erase(m_out, m_outKey[n], n);
  add(n);
}

void PinIndex::candidates(int32_t x, int32_t y, std::vector<int>& out) const {
  out.clear();
  const auto& a = inputsAt(x, y);
  const auto& b = outputsAt(x, y);
  std::set_union(a.begin(), a.end(), b.begin(), b.end(), std::back_inserter(out));
}

}  // namespace kavrix

#pragma once
// A map from 64-bit point keys (PinKey) to small integers, with open addressing in flat arrays:
// the run looks up tens of thousands of pins by position, and a sorted list or a node-based map
// costs a search or an allocation per entry. Entries are only ever added; `reset` empties it and
// keeps the storage for the next run.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <vector>

namespace kavrix {

class PointMap {
 public:
  // Empties the map, sized for about `expected` keys.
  void reset(std::size_t expected) {
    std::size_t cap = 16;
    int bits = 4;
    while (cap < 2 * expected) {
      cap *= 2;
      ++bits;
    }
    m_shift = 64 - bits;
    if (m_used.size() != cap) {
      m_keys.assign(cap, 0);
      m_values.assign(cap, 0);
      m_used.assign(cap, 0);
    } else {
      std::fill(m_used.begin(), m_used.end(), 0);
    }
    m_mask = cap - 1;
    m_size = 0;
  }
  // The value of `key`, or nullptr.
  const int* find(uint64_t key) const {
    if (m_used.empty()) return nullptr;
    for (std::size_t i = slot(key);; i = (i + 1) & m_mask) {
      if (!m_used[i]) return nullptr;
      if (m_keys[i] == key) return &m_values[i];
    }
  }
  // The value of `key`, inserted as `value` when absent; `added` tells which.
  int& insert(uint64_t key, int value, bool* added = nullptr) {
    if (2 * (m_size + 1) > m_used.size()) grow();
    for (std::size_t i = slot(key);; i = (i + 1) & m_mask) {
      if (!m_used[i]) {
        m_used[i] = 1;
        m_keys[i] = key;
        m_values[i] = value;
        ++m_size;
        if (added) *added = true;
        return m_values[i];
      }
      if (m_keys[i] == key) {
        if (added) *added = false;
        return m_values[i];
      }
    }
  }
  std::size_t size() const { return m_size; }

 private:
  std::size_t slot(uint64_t key) const {
    return static_cast<std::size_t>((key * 0x9E3779B97F4A7C15ULL) >> m_shift);
  }
  void grow() {
    std::vector<uint64_t> keys;
    std::vector<int> values;
    std::vector<uint8_t> used;
    keys.swap(m_keys);
    values.swap(m_values);
    used.swap(m_used);
    reset(used.empty() ? 8 : used.size());
    for (std::size_t i = 0; i < used.size(); ++i)
      if (used[i]) insert(keys[i], values[i]);
  }

  std::vector<uint64_t> m_keys;
  std::vector<int> m_values;
  std::vector<uint8_t> m_used;
  std::size_t m_mask = 0;
  int m_shift = 60;
  std::size_t m_size = 0;
};

}  // namespace kavrix

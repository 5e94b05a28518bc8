#pragma once
// Hand-built calculation nodes for engine tests: a fresh model, node rows filled field by field.
#include <initializer_list>
#include <utility>

#include "model/network_model.hpp"
#include "model/run_records.hpp"
#include "model/source_tables.hpp"
#include "support/model_guard.hpp"

namespace kavrix::test {

// Sets node n's code and the given (field, value) pairs; other fields keep their reset values.
inline NodeRow& SetNode(int n, int code, std::initializer_list<std::pair<int, int>> fields = {}) {
  NodeRow& r = Nodes[static_cast<std::size_t>(n)];
  r[kNodeCode] = code;
  for (const auto& [f, v] : fields) r[f] = v;
  return r;
}

inline void SetFreqs(std::initializer_list<double> f) {
  for (int k = 0; k < kFreqListLen; ++k) FreqList[k] = 0.0;
  int k = 0;
  for (double v : f) FreqList[k++] = v;
}

inline void SetObject(int row, int kind, int inst = 0, int style = 0) {
  NetObjects[static_cast<std::size_t>(row)] = ObjRow{kind, 0, 0, inst, 1, style};
}

}  // namespace kavrix::test

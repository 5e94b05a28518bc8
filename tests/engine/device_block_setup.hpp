#pragma once
// Hand-built calculation nodes for device-block tests: nodes are set up directly in `Nodes`
// after a new network, the frequency list is filled by hand, and CalcNode is called as the
// propagation pass would call it.
#include <gtest/gtest.h>

#include <initializer_list>

#include "engine/node_frame.hpp"
#include "model/network_model.hpp"
#include "support/model_guard.hpp"

namespace kavrix::test {

constexpr double kTol = 1e-9;

// Clears the list and fills its leading run.
inline void SetFreqList(std::initializer_list<double> f) {
  FreqList.fill(0.0);
  int k = 0;
  for (double v : f) FreqList[static_cast<std::size_t>(k++)] = v;
}

// Resets node n and gives it a code, owner and source id; settings stay neutral unless given.
inline void MakeNode(int n, int code, int objRow, int sid = 0, int mark = 0, int step = kNoLimit,
                     int second = kNoLimit) {
  EnsureNodeRows(static_cast<std::size_t>(n) + 2);
  ResetNode(n);
  NodeRow& r = Nodes[static_cast<std::size_t>(n)];
  r[kNodeCode] = code;
  r[kNodeSourceId] = sid;
  r[kNodeStep] = step;
  r[kNodeSetting] = second;
  r[kNodeObject] = objRow;
  r[kNodeChainMark] = mark;
}

// Input level at list positions 0..count-1.
inline void SetInput(int n, double level, int count = 100) {
  for (int k = 0; k < count; ++k) NodeSpectra(n, 0, k) = level;
}

inline double Out(int n, int spectrum, int k) { return NodeSpectra(n, spectrum, k); }

}  // namespace kavrix::test

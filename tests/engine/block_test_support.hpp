#pragma once
// Tiny hand-built networks for the device block tests: object rows, node rows with the fields
// CalcNode reads, a frequency list and flat input spectra.
#include <gtest/gtest.h>

#include <initializer_list>

#include "engine/node_frame.hpp"
#include "support/model_guard.hpp"

namespace kavrix::test {

constexpr double kTol = 1e-9;

class BlockNet {
 public:
  BlockNet() {
    FreqList.fill(0.0);
    TerrSourceIndex = 0;
  }
  ~BlockNet() {
    FreqList.fill(0.0);
    TerrSourceIndex = -1;
  }
  BlockNet(const BlockNet&) = delete;
  BlockNet& operator=(const BlockNet&) = delete;

  int object(int kind, int inst = 0) { return AddObject(kind, 100, 100, inst); }

  // Appends a node; settings default to "none".
  int node(int code, int objRow, int sourceId = 0) {
    const int n = static_cast<int>(Nodes.size());
    EnsureNodeRows(static_cast<std::size_t>(n) + 1);
    Nodes[n][kNodeCode] = code;
    Nodes[n][kNodeSourceId] = sourceId;
    Nodes[n][kNodeObject] = objRow;
    return n;
  }
  static void settings(int n, int s16, int s17 = kNoLimit) {
    Nodes[n][kNodeStep] = s16;
    Nodes[n][kNodeSetting] = s17;
  }
  static void freqs(std::initializer_list<double> fs) {
    FreqList.fill(0.0);
    int k = 0;
    for (double f : fs) FreqList[k++] = f;
  }
  static void input(int n, double level) {
    for (int k = 0; k < 100; ++k) NodeSpectra(n, 0, k) = level;
  }
  static double out(int n, int spectrum, int k) { return NodeSpectra(n, spectrum, k); }
  // Hands node a's output on to node b and computes b, as the propagation pass does.
  static void feed(int a, int b, int spectrum = 1) {
    for (int k = 0; k < 100; ++k) NodeSpectra(b, 0, k) = NodeSpectra(a, spectrum, k);
    CalcNode(b, -1);
  }

 private:
  FreshModel m_model;
};

}  // namespace kavrix::test

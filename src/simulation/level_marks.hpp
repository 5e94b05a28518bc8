#pragma once
// Level marks: the points of devices whose levels leave their limits (LevelMarks, kind 1 below
// the minimum, 2 above the maximum). A device pass looks at every pin of every node; an output
// pass adds marks on single-cable and mode-'0' outputs whose signals are missing. Each test is a
// function of its own so that tests can drive it on a hand-built node.
#include <vector>

#include "model/network_model.hpp"

namespace kavrix::marks {

// Writes LevelMarks from index 0; the index stops at the bound, so at the bound further marks
// overwrite the last record.
class MarkWriter {
 public:
  MarkWriter() = default;
  // A writer that collects the marks in `sink` instead, for a pass that writes them out later.
  explicit MarkWriter(std::vector<LevelMark>* sink) : m_sink(sink) {}
  void mark(int kind, int x, int y);
  void setBound(int bound) { m_bound = bound; }
  int next() const { return m_w; }

 private:
  int m_w = 0;
  int m_bound = 5000;
  std::vector<LevelMark>* m_sink = nullptr;
};

// Warning threshold of a link unit's input level: the satellite unit needs more.
double LinkUnitThreshold(int code);

// Pins of node u the device pass looks at, lowest and highest q (0 input, 1 output, 2..5 ports).
int LowestPin(int u);
int HighestPin(int u);
// The port q whose limit a link unit hanging on it set (below kPortFree), within the run of
// nodes of one object output starting at u; -1 when none.
int PortWithOwnLimit(int u, int last, int q);

// What the tests of one pin need.
struct PinProbe {
  int node = 0, q = 0;
  int code = 0, cls = 0, kind = 0, row = -1;
  int carriers = 0;      // LNB carriers of the node's band, 20 for other sources
  int x = 0, y = 0;      // pin q
  double level = 0.0;    // highest carrier (optical level on an optical input)
  double limit = 0.0;
  double hang = 0.0;     // ObjValues field 1: a link unit's port (above 1.1) or main output
  bool marked = false;   // a test below already marked the node's input
};
// Fills the probe; false when pin q has no position or the node carries no source.
bool ProbePin(int u, int q, PinProbe& p);
// The same for a node whose class is known.
bool ProbePin(int u, int q, int cls, PinProbe& p);

// The device tests, in the order the pass applies them.
void MarkAboveMaximum(const PinProbe& p, MarkWriter& w);
void MarkLinkUnitOnPort(PinProbe& p, MarkWriter& w);
void MarkStreamerInput(PinProbe& p, MarkWriter& w);
void MarkLinkUnitOnOutput(PinProbe& p, MarkWriter& w);
void MarkConverterInput(const PinProbe& p, MarkWriter& w);
void MarkPortBelowMinimum(const PinProbe& p, int portSkip, MarkWriter& w);
void MarkOpticalInput(const PinProbe& p, MarkWriter& w);

// The output tests of node u, whose object's nodes are lo..hi.
void MarkSingleCableOutput(int u, MarkWriter& w);
void MarkBandGridOutput(int u, int lo, int hi, MarkWriter& w);

void DeviceMarks(int nb, MarkWriter& w);
void OutputMarks(int nb, MarkWriter& w);

}  // namespace kavrix::marks

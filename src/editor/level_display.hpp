#pragma once
// The level display after a run: a canvas click that hits no object body probes the clicked
// point. Socket outlet points stand for the device port that feeds the socket (less the socket
// cable); every node pin at the point fills the Analyzer's charts (analyzer_fill.hpp), and the
// Analyzer's own surface gets the optical power bar and the total-level bar. The probe works on
// the Analyzer's plain model; LevelProbe is the window side that puts the result on screen.
#include <array>
#include <optional>
#include <string>

#include "editor/canvas_state.hpp"
#include "simulation/window/analyzer_model.hpp"

class QObject;

namespace kavrix {

// Working values of one probe. They start afresh with every probe and accumulate over the pins it
// matches, so the limit lines of a later pin take the levels of earlier pins into account.
struct ProbeState {
  int ProbeX = 0;
  int ProbeY = 0;
  bool SatView = true;     // the satellite chart takes part
  bool TerrView = true;    // the terrestrial chart takes part
  double CableFactor = 0.0;  // socket cable length x its coefficient; 0 when a pin was probed directly
  double LevelMax = 0.0;
  double LevelMin = 1000.0;
  double TerrLevelMax = 0.0;
  double TerrLevelMin = 1000.0;
  double TerrBandLow = 2000.0;  // MHz extent of the terrestrial sources
  double TerrBandHigh = 1.0;
  double TrunkLevelMin = 1000000.0;
  double TrunkLevelMax = -1000000.0;
  bool FirstTerrFit = true;
  int LinkFreq = 0;  // frequency a link unit is tuned to

  struct SourceRecord {
    int row = 0;  // TerrSpectra frequency row of the source
    int node = 0;
    int port = 0;
  };
  static constexpr int kMaxSourceRecords = 11;
  std::array<SourceRecord, kMaxSourceRecords> SourceRecords{};
  int SourceRecordCount = 0;
  // Records a terrestrial source met at the probe point, once per source row, up to the limit.
  void RecordSource(int row, int node, int port);
};

// The point the last probe showed; the Analyzer's filter items show it again. Empty until the
// first probe (a selection move does not touch it).
extern std::optional<IntPoint> LastProbePoint;

struct ProbeOutcome {
  bool probed = false;        // false: a refill with no earlier probe; nothing was changed
  int matchedPins = 0;
  bool bandsOverlap = false;  // the overlap warning is due
};

constexpr const char* kOverlapWarning = "Likely there are some sources with overlapping frequency bands";

// One probe at canvas point `at` (unsnapped, scroll included) over the Analyzer model. When the
// model's Tag is 1 (a filter refill) the last probe point is used instead and the Tag cleared.
ProbeOutcome ProbeLevels(AnalyzerModel& analyzer, IntPoint at);

// Pin of port p of a node: 0 input, 1 output, 2..5 the extra ports.
void NodePin(int node, int port, int& x, int& y);

// Pieces the chart filling runs for an input or output pin.
void SecondLayoutStep(AnalyzerModel& analyzer, ProbeState& st, int node);
void DrawPinBars(AnalyzerModel& analyzer, int node, int port);
void DrawOpticalPowerBar(AnalyzerModel& analyzer, int node);
void DrawTotalLevelBar(SurfaceModel& surface, int maxLevel, int minLevel, int base, double level, int bandCode);

// Whether the signalled frequency runs of two terrestrial sources at a pin overlap: rows are
// TerrSpectra frequency rows, levels come from NodeSpectra[node][port].
bool SourceBandsOverlap(int rowA, int rowB, int nodeA, int portA, int nodeB, int portB);

// The probe stage of the canvas click: probes canvas point (x, y), puts the Analyzer model on
// screen and shows the overlap warning. `sender` is the Analyzer for its filter refill, which
// shows the last probe point again.
void LevelProbe(int canvasX, int canvasY, QObject* sender);

}  // namespace kavrix

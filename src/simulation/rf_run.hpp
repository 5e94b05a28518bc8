#pragma once
// The "RF Analyze" run as a function over the model: source registration, count and drawing
// checks, node building, linking, propagation, outlet evaluation, level marks and the current
// total. Window effects (Analyzer, blinker, navigation view, status bar, cursor) are callbacks,
// so tests run it without windows.
#include <functional>
#include <string>

namespace kavrix {

struct RunCallbacks {
  std::function<void(const std::string& caption, const std::string& text)> message;
  std::function<void()> showAnalyzer;         // Analyzer shown with its summary title
  std::function<void()> toggleNavigation;     // the navigation button's click
  std::function<bool()> navigationActive;     // canvas in navigation mode (Tag 10)
  std::function<void(bool)> setBlinker;       // level-mark blinker on/off
  std::function<void(bool)> busy;             // hourglass on/off
  std::function<void()> repaint;              // canvas repaint at the end
};

struct RunInput {
  std::string satMinText;   // the options window's SAT minimum edit
  std::string terrMinText;  // the options window's terrestrial minimum edit
};

struct RunOutcome {
  bool started = false;       // false: the limit texts were rejected, nothing changed
  bool graphBuilt = false;    // sources present and the drawing checks passed
  int builtNodes = 0;         // NB: nodes after building and chain doubling
  int totalCurrent = 0;       // mA
};

RunOutcome RfAnalyze(const RunInput& in, const RunCallbacks& cb);

// Whether the last run built a graph; the level adjustment and the optimisation read it.
extern bool LastRunBuiltGraph;
// True once an antenna was registered by the last run.
extern bool TerrPresent;
extern int LastRunNodeCount;

// Pieces of the run, exposed for tests.
// Registers every source node; returns the node counter k.
int RegisterSources();
// Drawing checks; returns the message of the first finding (empty when none) and sets MarkX/MarkY.
std::string CheckDrawing();
// Total supply current of the drawing in mA.
int TotalSupplyCurrent();
// The status bar text for a current total.
std::string CurrentStatusText(int mA);

}  // namespace kavrix

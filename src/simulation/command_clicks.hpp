#pragma once
// The toolbar clicks through which the control reset, Tune and the structure optimisation drive
// one another and the run. The window fills them with its own buttons' handlers; tests and
// headless callers use CommandChain, which wires them to the core functions directly.
#include <functional>
#include <memory>

#include "simulation/rf_run.hpp"

namespace kavrix {

struct CommandClicks {
  std::function<void()> analyze;        // "RF Analyze" button
  std::function<void()> controlReset;   // "Returns controls to initial position" button
  std::function<void()> tune;           // "Tune" button
  std::function<void(bool)> busy;       // hourglass on / previous cursor back
  std::function<void(int)> optimizeImage;  // image index of the optimisation button
};

// Clicks wired to RfAnalyze, ControlReset and Tune, sharing one set of run inputs and callbacks.
// Not copyable: the clicks refer back to the chain that owns them.
class CommandChain {
 public:
  CommandChain(RunInput input, RunCallbacks run);
  CommandChain(const CommandChain&) = delete;
  CommandChain& operator=(const CommandChain&) = delete;
  const CommandClicks& clicks() const { return m_clicks; }
  CommandClicks& clicks() { return m_clicks; }
  int runs() const { return m_runs; }

 private:
  RunInput m_input;
  RunCallbacks m_run;
  CommandClicks m_clicks;
  int m_runs = 0;
};

}  // namespace kavrix

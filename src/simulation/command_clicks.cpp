#include "simulation/command_clicks.hpp"

#include <utility>

#include "simulation/control_reset.hpp"
#include "simulation/level_tuning.hpp"

namespace kavrix {

CommandChain::CommandChain(RunInput input, RunCallbacks run) : m_input(std::move(input)), m_run(std::move(run)) {
  m_clicks.analyze = [this] {
    ++m_runs;
    RfAnalyze(m_input, m_run);
  };
  m_clicks.controlReset = [this] { ControlReset(m_clicks); };
  m_clicks.tune = [this] { Tune(m_clicks); };
  m_clicks.busy = m_run.busy;
}

}  // namespace kavrix

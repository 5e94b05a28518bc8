// The "RF Analyze" command: reads the limit edits, runs the analysis and shows its effects on
// the Analyzer, the canvas blinker, the navigation view and the status bar.
#include "app/forms.hpp"
#include "app/main_window.hpp"
#include "editor/canvas_window.hpp"
#include "model/project_options.hpp"
#include "model/window/options_window.hpp"
#include "platform/platform.hpp"
#include "simulation/rf_run.hpp"
#include "simulation/window/tune_commands.hpp"
#include "simulation/window/analyzer_window.hpp"

namespace kavrix {

void TForm1::Simulate1Click() {
  if (Form3) Form3->CommitEdits();  // a cable value still in its cell editor
  RunInput in;
  in.satMinText = OptionControls.Edit6;
  in.terrMinText = OptionControls.Edit11;
  RunCallbacks cb;
  cb.message = [](const std::string& caption, const std::string& text) { platform::ShowError(caption, text); };
  cb.busy = [](bool on) { platform::Current().setBusyCursor(on); };
  cb.setBlinker = [](bool on) {
    if (!Form5) return;
    if (on) Form5->Timer2->start();
    else Form5->Timer2->stop();
  };
  cb.showAnalyzer = [] {
    if (!Form4) return;
    Form4->show();
    Form4->showNormal();
    Form4->Chart1->Tag = 0;
    Form4->Tag = 0;
    Form4->Chart1->setTitleText("Signal level - Summary list");
    for (int i = 1; i <= 16 && i < Form4->Chart1->seriesCount(); ++i) Form4->Chart1->setSeriesActive(i, true);
    Form4->Chart1->refresh();
  };
  cb.toggleNavigation = [this] { ToolButton90Click(); };
  cb.navigationActive = [] { return Form5 && Form5->Tag == kCanvasNavigation; };
  cb.repaint = [] {
    if (Form5) Form5->update();
  };
  RfAnalyze(in, cb);
}

}  // namespace kavrix

namespace kavrix {

namespace {
// The level commands drive one another through the main window's own buttons.
CommandClicks MainWindowClicks(TForm1& form) {
  CommandClicks c;
  c.analyze = [&form] { form.ToolButton5->trigger(); };
  c.controlReset = [&form] { form.ToolButton93->trigger(); };
  c.tune = [&form] { form.ToolButton86->trigger(); };
  return c;
}
}  // namespace

void TForm1::ToolButton93Click() { kavrix::ToolButton93Click(MainWindowClicks(*this)); }
void TForm1::ToolButton86Click() { kavrix::ToolButton86Click(MainWindowClicks(*this)); }
void TForm1::Optimizationofnetwork1Click() {
  kavrix::Optimizationofnetwork1Click(MainWindowClicks(*this));
  // Whether it ran or stopped early, the button shows the criteria the next run will use.
  ShowOptimizeMode();
}

}  // namespace kavrix

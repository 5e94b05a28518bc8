// Fuzz entry: any bytes as a project file, then "RF Analyze" over what was read, with the limits
// the options window shows.
#include "fuzz_input.hpp"
#include "model/project_options.hpp"
#include "simulation/rf_run.hpp"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
  using namespace kavrix;
  if (fuzz::LoadProjectBytes(data, size).status != ProjectReadResult::Status::Ok) return 0;
  RfAnalyze(RunInput{OptionControls.Edit6, OptionControls.Edit11}, RunCallbacks{});
  return 0;
}

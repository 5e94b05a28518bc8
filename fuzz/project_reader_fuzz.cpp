// Fuzz entry: any bytes as a project file, read and written back. The reader must neither crash
// nor reach undefined behaviour, whatever a hand-made or damaged file holds.
#include "fuzz_input.hpp"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
  const auto r = kavrix::fuzz::LoadProjectBytes(data, size);
  if (r.status == kavrix::ProjectReadResult::Status::Ok) (void)kavrix::ProjectFileLines();
  return 0;
}

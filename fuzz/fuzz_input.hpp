#pragma once
// What both fuzz entries share: a project file's bytes read into a new network the way the Open
// command reads a file (through the same line splitting and record reader).
#include <cstddef>
#include <cstdint>
#include <string>

#include "model/project_file.hpp"
#include "model/text_file.hpp"

namespace kavrix::fuzz {

// The page size the scripted platform reports in the window tests.
constexpr int kPrinterWidthPx = 4800;
constexpr int kPrinterHeightPx = 6800;

inline ProjectReadResult LoadProjectBytes(const uint8_t* data, std::size_t size) {
  NewProjectState();
  const std::string bytes(reinterpret_cast<const char*>(data), size);
  return ReadProjectLines(SplitTextLines(bytes), kPrinterWidthPx, kPrinterHeightPx);
}

}  // namespace kavrix::fuzz

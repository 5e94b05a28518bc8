#pragma once
// Port templates: per device kind its path rows (node code, input and output pin offsets,
// extra-port row, control row, maximum output level), extra-port rows and control rows. The
// block layout contract is written at the head of port_template_build.hpp.
#include <array>
#include <cstdint>

namespace kavrix {

constexpr int kTemplateRowCount = 2393;
using TemplateRow = std::array<int32_t, 8>;

// A pin offset of this value (in both coordinates) marks a pin or port that does not exist.
constexpr int32_t kNoPinOffset = 2000000;

// Columns of a path row.
enum TemplatePathColumn {
  kTplCode = 0,
  kTplInDx = 1,
  kTplInDy = 2,
  kTplOutDx = 3,
  kTplOutDy = 4,
  kTplExtraRow = 5,
  kTplControlRow = 6,
  kTplMaxLevel = 7,
};

extern const std::array<TemplateRow, kTemplateRowCount> PortTemplates;

// Terminal shift per kind as the template offsets assume it (the catalogue's field 5).
int TemplateTerminalShift(int kind);

}  // namespace kavrix

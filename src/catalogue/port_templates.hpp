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

// Columns of a control row: up to two settings of a path, each copied from a cell of the object
// (row offset from the object row, 0 = the object row itself, and column) into a node field.
// Setting A: mode below 0 copies the cell, above 1 negates it, 0 or 1 means none. Setting B is
// present when its mode is above 0 and is read as the cell plus 1 (negated first when the cell
// is the Kind field, column 0). Tune reads the modes as its step bounds: the step goes down to
// -|mode A|, the slope rises while below mode B + 1.
enum TemplateControlColumn {
  kCtlModeA = 0,
  kCtlFieldA = 1,
  kCtlRowA = 2,
  kCtlColumnA = 3,
  kCtlModeB = 4,
  kCtlFieldB = 5,
  kCtlRowB = 6,
  kCtlColumnB = 7,
};

// One setting of a control row, as node building and Tune's write-back read it.
struct ControlSetting {
  int32_t mode = 0;
  int32_t field = 0;   // node field it goes to
  int32_t offset = 0;  // row offset of its cell from the object row
  int32_t column = 0;  // column of its cell
  bool present = false;
};
constexpr ControlSetting ControlSettingA(const TemplateRow& c) {
  return {c[kCtlModeA], c[kCtlFieldA], c[kCtlRowA], c[kCtlColumnA], c[kCtlModeA] < 0 || c[kCtlModeA] > 1};
}
constexpr ControlSetting ControlSettingB(const TemplateRow& c) {
  return {c[kCtlModeB], c[kCtlFieldB], c[kCtlRowB], c[kCtlColumnB], c[kCtlModeB] > 0};
}

extern const std::array<TemplateRow, kTemplateRowCount> PortTemplates;

// Terminal shift per kind as the template offsets assume it (the catalogue's field 5).
int TemplateTerminalShift(int kind);

}  // namespace kavrix

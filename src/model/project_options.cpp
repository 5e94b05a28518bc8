#include "model/project_options.hpp"

#include <array>
#include <cmath>

#include "model/number_text.hpp"
#include "model/source_tables.hpp"

namespace kavrix {

ProjectOptions DefaultProjectOptions() {
  ProjectOptions o;
  o.RfGrid = {{{}, {"RG-59", "0.27", "1"}, {"RG-6", "0.21", "1"}, {"Triset-113", "0.18", "1"},
               {"RG-11", "0.14", "1"}, {"Custom", "0.1", "1"}}};
  o.FiberGrid = {{{}, {"Type 1", "0.2", "0.35"}, {"Type 2", "0.3", "0.45"}, {"Type 3", "0.4", "0.55"},
                  {"Type 4", "0.5", "0.65"}, {"Type 5", "0.6", "0.75"}}};
  return o;
}

ProjectOptions OptionControls = DefaultProjectOptions();
double PrintScale = 5.0;
int32_t PageWidthPx = 0;
int32_t PageHeightPx = 0;
int32_t CanvasColor = kDefaultCanvasColor;
bool IncludeObsolete = false;

std::optional<double> OptionReal(const std::string& text) {
  std::string t = text;
  if (auto p = t.find(','); p != std::string::npos) t[p] = '.';
  double v = 0.0;
  if (ParseReal(t, v) != 0) return std::nullopt;
  return v;
}

std::optional<int32_t> OptionInt(const std::string& text) {
  int32_t v = 0;
  if (ParseInt(text, v) != 0) return std::nullopt;
  return v;
}

std::string RangeMessage(const OptionRange& r) {
  return "The value must lie between " + FormatGeneral(r.lo) + " and " + FormatGeneral(r.hi) + "!";
}

std::optional<double> OptionPrintScale(const std::string& text) {
  auto v = OptionReal(text);
  if (!v || !InRange(*v, kPrintScaleRange)) return std::nullopt;
  return v;
}

namespace {
std::optional<double> RealWithin(const std::string& text, const OptionRange& r) {
  auto v = OptionReal(text);
  if (!v || !InRange(*v, r)) return std::nullopt;
  return v;
}
}  // namespace

void ApplyRfGrid(ProjectOptions& o) {
  for (int k = 1; k <= kCableGridRows; ++k) {
    CableGridRow& r = o.RfGrid[k];
    auto att = RealWithin(r.first, kCableAttenuationRange);
    if (!att) {
      r.first.assign(1, '0');
      att = 0.0;
    }
    auto ghz = RealWithin(r.second, kCableFrequencyRange);
    if (!ghz || *ghz <= 0.0) {
      r.second.assign(1, '1');
      ghz = 1.0;
    }
    CableCoef[k] = *att / std::sqrt(*ghz);
  }
}

void ApplyFiberGrid(ProjectOptions& o) {
  for (int k = 1; k <= kCableGridRows; ++k) {
    CableGridRow& r = o.FiberGrid[k];
    auto a1550 = OptionReal(r.first);
    if (!a1550 || *a1550 < 0.0) {
      r.first.assign(1, '0');
      a1550 = 0.0;
    }
    auto a1310 = OptionReal(r.second);
    if (!a1310 || *a1310 < 0.0) {
      r.second.assign(1, '0');
      a1310 = 0.0;
    }
    FiberAtt[k] = {*a1550, *a1310};
  }
}

void SetPageTileFromPrinter(int printerWidthPx, int printerHeightPx) {
  PageWidthPx = static_cast<int32_t>(RoundHalfEven(printerWidthPx / PrintScale));
  PageHeightPx = static_cast<int32_t>(RoundHalfEven(printerHeightPx * 0.98 / PrintScale));
}

void ApplyOptionsAtStartup(ProjectOptions& o) {
  ApplyRfGrid(o);
  ApplyFiberGrid(o);
  if (auto v = OptionInt(o.Edit11)) TerrMinLevel = *v;
  if (auto v = OptionInt(o.Edit2)) TerrMaxLevel = *v;
  if (auto v = OptionPrintScale(o.Edit3)) PrintScale = *v;
  SetPageTileFromPrinter(PageWidthPx, PageHeightPx);
  SatSocketLoss = 2.0;
  TerrSocketLoss = 3.0;
  o.Edit4 = FormatGeneral(SatSocketLoss);
  o.Edit5 = FormatGeneral(TerrSocketLoss);
  o.Edit6 = FormatGeneral(SatMinLevel);
  if (auto v = OptionInt(o.Edit1)) SatMaxLevel = *v;
}

bool ApplyPrintScaleText(const std::string& text) {
  const auto scale = OptionPrintScale(text);
  if (text.empty() || !scale) return false;
  // Back to printer pixels at the old scale, then to drawing units at the new one; the 0.98
  // height share applied at start-up stays in the height.
  const double w = static_cast<double>(RoundHalfEven(PageWidthPx * PrintScale));
  const double h = static_cast<double>(RoundHalfEven(PageHeightPx * PrintScale));
  PrintScale = *scale;
  PageWidthPx = static_cast<int32_t>(RoundHalfEven(w / PrintScale));
  PageHeightPx = static_cast<int32_t>(RoundHalfEven(h / PrintScale));
  return true;
}

namespace {
// A limit or loss edit, the global it sets and what it may hold (no range: an integer).
struct LimitEdit {
  std::string ProjectOptions::*text;
  double* value;
  const OptionRange* range;
};
const std::array<LimitEdit, 6> kLimitEdits{{{&ProjectOptions::Edit6, &SatMinLevel, nullptr},
                                            {&ProjectOptions::Edit1, &SatMaxLevel, nullptr},
                                            {&ProjectOptions::Edit11, &TerrMinLevel, nullptr},
                                            {&ProjectOptions::Edit2, &TerrMaxLevel, nullptr},
                                            {&ProjectOptions::Edit4, &SatSocketLoss, &kSocketLossRange},
                                            {&ProjectOptions::Edit5, &TerrSocketLoss, &kSocketLossRange}}};

std::optional<double> UsableValue(const LimitEdit& e, const std::string& text) {
  if (e.range) return RealWithin(text, *e.range);
  if (auto v = OptionInt(text)) return *v;
  return std::nullopt;
}
}  // namespace

void ApplyLimitsAndLosses(const ProjectOptions& o) {
  for (const LimitEdit& e : kLimitEdits)
    if (auto v = UsableValue(e, o.*e.text)) *e.value = *v;
}

void ShowLimitsInUse(ProjectOptions& o) {
  for (const LimitEdit& e : kLimitEdits)
    if (!UsableValue(e, o.*e.text)) o.*e.text = FormatGeneral(*e.value);
}

}  // namespace kavrix

#pragma once
// Project-wide settings as the Project Options window holds them: the texts of its edits and
// cable grids and the states of its check boxes, plus the globals those controls set (print
// scale, page tile size, canvas colour, the obsolete symbol set flag). The window edits this
// model; the project file and the run read it, so both work without a window.
#include <array>
#include <cstdint>
#include <optional>
#include <string>

namespace kavrix {

constexpr int kCableGridRows = 5;  // grid rows 1..5, one per cable or fiber type

// One grid row as typed: type name and two number texts (RF: dB/m, GHz; fiber: 1550, 1310 nm).
struct CableGridRow {
  std::string type;
  std::string first;
  std::string second;
  bool operator==(const CableGridRow&) const = default;
};

struct ProjectOptions {
  std::string Edit6 = "50";   // SAT minimum outlet level (integer)
  std::string Edit1 = "80";   // SAT maximum
  std::string Edit11 = "45";  // terrestrial minimum
  std::string Edit2 = "90";   // terrestrial maximum
  std::string Edit4 = "2";    // SAT socket loss (real)
  std::string Edit5 = "3";    // terrestrial socket loss
  std::string Edit3 = "5";    // print scale
  std::array<CableGridRow, kCableGridRows + 1> RfGrid;     // index = grid row, 0 unused
  std::array<CableGridRow, kCableGridRows + 1> FiberGrid;  // index = grid row, 0 unused
  bool CheckBox1 = false;  // show page layout
  bool CheckBox2 = false;  // show designators
  bool CheckBox3 = false;  // include obsolete components
  bool CheckBox4 = false;  // cancel input, output capture
};

// The options of a freshly started program (grid defaults included).
ProjectOptions DefaultProjectOptions();

extern ProjectOptions OptionControls;
extern double PrintScale;       // printer pixels per drawing unit
extern int32_t PageWidthPx;     // page tile size: printer pixels at start-up, drawing units after
extern int32_t PageHeightPx;
extern int32_t CanvasColor;     // $00BBGGRR
extern bool IncludeObsolete;    // true while the obsolete families' symbol set is built

constexpr int32_t kDefaultCanvasColor = 0x00E9FEFE;  // RGB FE FE E9

// Text conversions of the option controls: a real text may carry "," as decimal mark.
std::optional<double> OptionReal(const std::string& text);
std::optional<int32_t> OptionInt(const std::string& text);

// What a real setting may hold. Losses and the print scale are stored x1000 in 32-bit integers,
// a negative loss or attenuation would amplify, and a scale must leave the page tile a size.
// While a value is being typed only 0 .. hi is checked, so "0.5" can pass through "0".
struct OptionRange {
  double lo;
  double hi;
};
constexpr OptionRange kSocketLossRange{0.0, 100.0};        // dB
constexpr OptionRange kPrintScaleRange{0.001, 1000.0};     // printer pixels per drawing unit
constexpr OptionRange kCableAttenuationRange{0.0, 100.0};  // dB/m
constexpr OptionRange kCableFrequencyRange{0.0, 100.0};    // GHz; 0 is repaired to 1 on leaving the grid

inline bool InRange(double v, const OptionRange& r) { return v >= r.lo && v <= r.hi; }
inline bool InTypingRange(double v, const OptionRange& r) { return v >= 0.0 && v <= r.hi; }
// The message for a value outside the range: "The value must lie between 0 and 100!".
std::string RangeMessage(const OptionRange& r);

// A usable print scale: a number within kPrintScaleRange.
std::optional<double> OptionPrintScale(const std::string& text);

// Leaving the RF grid: empty dB/m cells become "0", empty or non-positive GHz cells "1",
// then CableCoef[k] = dB/m / sqrt(GHz). Cells that are not numbers, or lie outside their
// range (a negative attenuation would make the cable amplify), count as empty.
void ApplyRfGrid(ProjectOptions& o);
// Leaving the fiber grid: empty or negative cells become "0", then FiberAtt[k].
void ApplyFiberGrid(ProjectOptions& o);

// Window creation: derived values of the default controls; pageWidthPx / pageHeightPx hold
// the printer page in pixels and become the page tile in drawing units.
void ApplyOptionsAtStartup(ProjectOptions& o);
// Leaving the print scale edit: a valid scale replaces PrintScale and rescales the page tile.
// Returns false (and changes nothing) when the text is empty or no usable scale.
bool ApplyPrintScaleText(const std::string& text);
// Limits and losses from the edits: a text that holds a usable value (an integer limit, a loss
// within kSocketLossRange) sets its global, any other text keeps the value in use. The window
// applies them at every change, so what it shows is what the run uses and Save writes.
void ApplyLimitsAndLosses(const ProjectOptions& o);
// Closing the window: an edit left without a usable value shows the value in use again.
void ShowLimitsInUse(ProjectOptions& o);

// Page tile of a printer page at the current PrintScale (width, height x 0.98).
void SetPageTileFromPrinter(int printerWidthPx, int printerHeightPx);

}  // namespace kavrix

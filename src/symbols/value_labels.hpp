#pragma once
// Value labels: the settings of an object written onto its composed symbol as small opaque boxes
// (gains, attenuations, slopes, switch positions, channel names, modulator frequencies, output
// states) and, while designators are shown, the object's row number. `ObjectLabels` plans what a
// row shows; `DrawObjectLabels` draws that plan into ObjGlyphs[row]. Labels accumulate: a new
// label covers the one drawn at the same place before.
#include <QRect>
#include <string>
#include <vector>

namespace kavrix {

// Colour modes of a label.
namespace label_mode {
constexpr int kBlack = 0;
constexpr int kBlue = 1;
constexpr int kGreen = 2;
constexpr int kUpBlack = 10;   // text running upward
constexpr int kDownBlue = 11;  // text running downward
}  // namespace label_mode

// Codes above 9999 stand for keywords and switch pictures rather than numbers.
namespace label_code {
constexpr int kAdOn = 10000;
constexpr int kVhfFirst = 10010;
constexpr int kVhfSecond = 10011;
constexpr int kLoopOn = 10020;
constexpr int kLoopOff = 10021;
constexpr int kPassive = 10022;
constexpr int kActive = 10023;
constexpr int kChannel = 10024;
constexpr int kStandard = 10025;
constexpr int kNone = 10026;
constexpr int kSatA = 10027;
constexpr int kAuto = 10031;
constexpr int kBandVLo = 10032;
constexpr int kBandHLo = 10033;
constexpr int kBandVHi = 10034;
constexpr int kBandHHi = 10035;
constexpr int kModulatorOutput = 10036;
constexpr int kModulatorHeading = 10037;
constexpr int kSwitchDown = 20000;  // lower half blue
constexpr int kSwitchUp = 20001;    // upper half blue
}  // namespace label_code

// One label as `MakeValueLabel` takes it: the point in the unturned symbol, the value and the
// colour mode. `blank` keeps the box but shows no text (a list index outside its list); `number`
// writes the value as a number however large (a designator: row 10000 is no keyword).
struct ValueLabel {
  int x = 0;
  int y = 0;
  double value = 0;
  int mode = label_mode::kBlack;
  bool blank = false;
  bool number = false;
};

// Every label of row `row` in drawing order; the designator, when `showDesignators`, comes first,
// moved left where its digits would run past the symbol's outline.
std::vector<ValueLabel> ObjectLabels(int row, bool showDesignators);

// The label code of the LNB band of a satellite source id (bands 1..4: H,Lo, H,Hi, V,Lo, V,Hi);
// 0 for an id that names no satellite band.
int SatBandLabelCode(int sourceId);

// The text a label of row `row` shows (empty for switch pictures, unknown codes and values that
// the mode does not write).
std::string ValueLabelText(int row, const ValueLabel& label);
std::string ValueLabelText(int row, double value, int mode);

// Where the label lands in the row's turned symbol of size glyphWidth x glyphHeight, and its
// size as drawn (after the turn).
QRect ValueLabelRect(int row, const ValueLabel& label, int glyphWidth, int glyphHeight);
QRect ValueLabelRect(int row, double value, int mode, int x, int y, int glyphWidth, int glyphHeight);

// Draws one label into ObjGlyphs[row] at the place (x, y) of the unturned symbol takes after the turn.
void MakeValueLabel(int row, int x, int y, double value, int mode);
// Draws every label of the row (designator while "Show designators" is on) into ObjGlyphs[row],
// the designator's digits last, over the value labels.
void DrawObjectLabels(int row);

}  // namespace kavrix

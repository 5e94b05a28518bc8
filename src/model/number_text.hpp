#pragma once
// Number conversions with the program's fixed conventions: "." as decimal separator,
// banker's rounding, truncation toward zero, the shortest "general" number format, and parsers
// that report the 1-based position of the first bad character (0 = the whole text is good).
#include <cstdint>
#include <string>
#include <string_view>

namespace kavrix {

// Round half to even, as the stored values and the zoom expect (2.5 -> 2, 3.5 -> 4, -2.5 -> -2).
int64_t RoundHalfEven(double v);
// Truncation toward zero.
int64_t TruncToZero(double v);

// General format with up to 15 significant digits: "50", "2.5", "0.135", "1E-5", "-1.5E20".
std::string FormatGeneral(double v);
// Fixed format with `decimals` digits after the point ("12.30" for 12.3, 2).
std::string FormatFixed(double v, int decimals);

// Integer text: optional blanks before, optional sign, digits. Returns 0 when good, else the
// position of the first bad character (the length + 1 when the text ends too early).
int ParseInt(std::string_view text, int32_t& out);
// Real text with "." as the decimal mark and an optional exponent.
int ParseReal(std::string_view text, double& out);

inline bool IsIntegerText(std::string_view t) {
  int32_t v;
  return ParseInt(t, v) == 0;
}
inline bool IsRealText(std::string_view t) {
  double v;
  return ParseReal(t, v) == 0;
}

}  // namespace kavrix

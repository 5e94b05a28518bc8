#include "model/number_text.hpp"

#include <cfenv>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <limits>

namespace kavrix {

int64_t RoundHalfEven(double v) {
  // nearbyint follows the current rounding mode, which is round-to-nearest-even unless changed.
  const int old = std::fegetround();
  if (old != FE_TONEAREST) std::fesetround(FE_TONEAREST);
  double r = std::nearbyint(v);
  if (old != FE_TONEAREST) std::fesetround(old);
  return static_cast<int64_t>(r);
}

int64_t TruncToZero(double v) { return static_cast<int64_t>(std::trunc(v)); }

std::string FormatGeneral(double v) {
  if (std::isnan(v)) return "NAN";
  if (std::isinf(v)) return v > 0 ? "INF" : "-INF";
  if (v == 0.0) return "0";
  char buf[64];
  std::snprintf(buf, sizeof buf, "%.14E", v);  // 15 significant digits
  // Split mantissa and exponent to decide between fixed and scientific form.
  std::string s(buf);
  const std::size_t e = s.find('E');
  const int exp = std::atoi(s.c_str() + e + 1);
  std::string mant = s.substr(0, e);
  const bool neg = mant[0] == '-';
  if (neg) mant.erase(0, 1);
  std::string digits;
  for (char c : mant)
    if (c != '.') digits += c;
  while (digits.size() > 1 && digits.back() == '0') digits.pop_back();
  std::string out;
  if (exp >= 15 || exp < -4) {
    // Appended piece by piece: "text" + a temporary string trips GCC 12's -Wrestrict.
    out.assign(1, digits[0]);
    if (digits.size() > 1) {
      out += '.';
      out.append(digits, 1);
    }
    out += 'E';
    out += std::to_string(exp);
  } else if (exp >= 0) {
    std::string intPart = digits.substr(0, std::min<std::size_t>(digits.size(), exp + 1));
    while (static_cast<int>(intPart.size()) < exp + 1) intPart += '0';
    out = intPart;
    if (static_cast<int>(digits.size()) > exp + 1) {
      out += '.';
      out.append(digits, static_cast<std::size_t>(exp) + 1);
    }
  } else {
    out = "0.";
    out.append(static_cast<std::size_t>(-exp - 1), '0');
    out += digits;
  }
  return neg ? "-" + out : out;
}

std::string FormatFixed(double v, int decimals) {
  char buf[64];
  std::snprintf(buf, sizeof buf, "%.*f", decimals < 0 ? 0 : decimals, v);
  return buf;
}

int ParseInt(std::string_view text, int32_t& out) {
  std::size_t i = 0;
  while (i < text.size() && (text[i] == ' ' || text[i] == '\t')) ++i;
  bool neg = false;
  if (i < text.size() && (text[i] == '+' || text[i] == '-')) neg = text[i++] == '-';
  if (i >= text.size()) return static_cast<int>(i) + 1;
  int64_t v = 0;
  for (; i < text.size(); ++i) {
    const char c = text[i];
    if (c < '0' || c > '9') return static_cast<int>(i) + 1;
    v = v * 10 + (c - '0');
    if (v > static_cast<int64_t>(std::numeric_limits<int32_t>::max()) + (neg ? 1 : 0))
      return static_cast<int>(i) + 1;
  }
  out = static_cast<int32_t>(neg ? -v : v);
  return 0;
}

int ParseReal(std::string_view text, double& out) {
  std::size_t i = 0;
  while (i < text.size() && (text[i] == ' ' || text[i] == '\t')) ++i;
  const std::size_t start = i;
  if (i < text.size() && (text[i] == '+' || text[i] == '-')) ++i;
  std::size_t digits = 0;
  while (i < text.size() && text[i] >= '0' && text[i] <= '9') ++i, ++digits;
  if (i < text.size() && text[i] == '.') {
    ++i;
    while (i < text.size() && text[i] >= '0' && text[i] <= '9') ++i, ++digits;
  }
  if (digits == 0) return static_cast<int>(i) + 1;
  if (i < text.size() && (text[i] == 'e' || text[i] == 'E')) {
    ++i;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) ++i;
    std::size_t ed = 0;
    while (i < text.size() && text[i] >= '0' && text[i] <= '9') ++i, ++ed;
    if (ed == 0) return static_cast<int>(i) + 1;
  }
  if (i < text.size()) return static_cast<int>(i) + 1;
  const std::string s(text.substr(start));
  const double v = std::strtod(s.c_str(), nullptr);
  if (!std::isfinite(v)) return static_cast<int>(text.size());
  out = v;
  return 0;
}

}  // namespace kavrix

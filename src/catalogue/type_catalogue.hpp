#pragma once
// Static description of every object kind 0..220: symbol half sizes, path and group counts,
// where its port-template and knob rows begin, terminal shift, supply current, terrestrial
// reserve, family class and help picture. A record of all zeros means the kind does not exist.
#include <array>
#include <cstdint>

namespace kavrix {

constexpr int kKindCount = 221;
constexpr int kTypeFields = 13;
using TypeRecord = std::array<int32_t, kTypeFields>;

// Field indices of a type record.
enum TypeField {
  kHalfWidth = 0,
  kHalfHeight = 1,
  kPaths = 2,
  kGroupsMinus1 = 3,
  kFirstTemplateRow = 4,
  kTerminalShift = 5,
  kFirstKnob = 6,
  kSupplyCurrent = 7,
  kTerrReserve = 8,
  kSpare9 = 9,
  kSpare10 = 10,
  kClass = 11,
  kHelpPicture = 12,
};

extern const std::array<TypeRecord, kKindCount> TypeCatalogue;

// Record of kind k; the all-zero record for any kind outside 0..220 (kinds read from files).
const TypeRecord& TypeOf(int kind);
inline bool KindExists(int kind) {
  const TypeRecord& r = TypeOf(kind);
  for (int v : r)
    if (v != 0) return true;
  return false;
}
inline bool IsObsoleteKind(int kind) { return TypeOf(kind)[kClass] < 0; }

}  // namespace kavrix

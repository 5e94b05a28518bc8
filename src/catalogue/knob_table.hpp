#pragma once
// Setting knobs of the adjustable kinds: a kind's knobs are the records from its catalogue
// field 6 on, the first record's count saying how many. Fields: count-down, dx, dy (from the
// symbol centre at orientation 1), row offset, column, minimum, maximum.
#include <array>
#include <cstdint>

namespace kavrix {

constexpr int kKnobRecordCount = 263;
using KnobRecord = std::array<int32_t, 7>;

enum KnobField {
  kKnobCount = 0,
  kKnobDx = 1,
  kKnobDy = 2,
  kKnobRowOffset = 3,
  kKnobColumn = 4,
  kKnobMin = 5,
  kKnobMax = 6,
};

extern const std::array<KnobRecord, kKnobRecordCount> KnobTable;

}  // namespace kavrix

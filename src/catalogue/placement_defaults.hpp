#pragma once
// What a freshly placed object of each kind holds: the head row's Inst, Orient and Style and the
// continuation rows written behind it. One table serves the placement commands and every check
// that a setting cell (knob, control row) really exists for a kind.
#include <array>
#include <climits>
#include <cstdint>
#include <span>

namespace kavrix {

// A field the placement command does not write.
constexpr int32_t kNotWritten = INT32_MIN;
// Orient taken from the last TV socket, Style from the current cable kind.
constexpr int32_t kFromLastSocket = INT32_MIN + 1;
constexpr int32_t kFromCableKind = INT32_MIN + 2;

using DefaultRow = std::array<int32_t, 6>;

struct PlacementDefaults {
  int kind = 0;
  int32_t inst = kNotWritten;
  int32_t orient = 1;
  int32_t style = kNotWritten;
  bool labels = false;
  std::span<const DefaultRow> continuation;  // rows CurObject + 1, ...; kNotWritten where not written
};

// Defaults of kind k, or nullptr when the kind has no placement command.
const PlacementDefaults* FindPlacementDefaults(int kind);

// Number of continuation rows a fresh object of this kind gets (0 without placement command).
int DefaultContinuationRows(int kind);

// Cell `column` of continuation row `rowOffset` (1, 2, ...) as a freshly placed object of this
// kind holds it: the value the placement writes, 0 where it writes nothing. A settings row that
// an object lacks reads as this.
int32_t DefaultContinuationCell(int kind, int rowOffset, int column);

// True when cell (rowOffset, column) of a freshly placed object exists and is written by the
// placement: row offset 0 is the object row itself (every column exists); a continuation row
// counts only when the placement writes it, and then only its written columns.
bool DefaultCellExists(int kind, int rowOffset, int column);

}  // namespace kavrix

#include "catalogue/placement_defaults.hpp"

#include <initializer_list>

namespace kavrix {
namespace {

constexpr int32_t X = kNotWritten;

constexpr DefaultRow kShort[] = {{-1, 0, 0, X, X, X}};
constexpr DefaultRow kFour[] = {{-1, 0, 0, 0, 0, X}};
constexpr DefaultRow kFourTwice[] = {{-1, 0, 0, 0, 0, X}, {-1, 0, 0, 0, 0, X}};
constexpr DefaultRow kFiveTwice[] = {{-1, 0, 0, 0, 0, 0}, {-1, 0, 0, 0, 0, 0}};
constexpr DefaultRow kFiveFour[] = {
    {-1, 0, 0, 0, 0, 0}, {-1, 0, 0, 0, 0, 0}, {-1, 0, 0, 0, 0, 0}, {-1, 0, 0, 0, 0, 0}};
constexpr DefaultRow kLinkUnit[] = {{-1, 8, 0, 9750, 10600, X}};
constexpr DefaultRow kConverter4[] = {{-8, 4740, 4900, 5060, 5220, 6100}};
constexpr DefaultRow kChannel81[] = {{-1, 21, 22, 0, 0, 0}};
constexpr DefaultRow kChannel82[] = {{-1, 20, 21, 0, 0, 0}};
constexpr DefaultRow kChannel83[] = {{-1, 6, 9, 0, 0, 0}};
constexpr DefaultRow kChannel84[] = {{-1, 21, 22, 0, 0, 0}, {-1, 23, 24, 0, 0, 0}};
constexpr DefaultRow kModulator96[] = {{-1, -1, 4740, 1, X, X}};
constexpr DefaultRow kTrunk[] = {{-1, 0, X, X, X, 22}};
constexpr DefaultRow kSingleTrunk[] = {{-1, 0, X, X, X, 5}};
constexpr DefaultRow kFibre[] = {{-1, 0, X, X, X, 8}};

// Kind 60: sixteen channel rows (enabled, trim item "0", input item, input MHz, output in
// 0.1 MHz) and the LNB oscillator row.
constexpr DefaultRow kConverter16[] = {
    {-1, 6, 1, 10744, 4820, 0}, {-1, 6, 1, 10773, 4900, 0}, {-1, 6, 1, 10803, 4980, 0},
    {-1, 6, 1, 10832, 5060, 0}, {-1, 6, 1, 10862, 5140, 0}, {-1, 6, 1, 10891, 5220, 0},
    {-1, 6, 1, 10921, 5300, 0}, {-1, 6, 1, 10964, 5380, 0}, {-1, 6, 2, 11836, 5460, 0},
    {-1, 6, 1, 11023, 5540, 0}, {-1, 6, 1, 11053, 5620, 0}, {-1, 6, 1, 11082, 5700, 0},
    {-1, 6, 1, 11362, 5780, 0}, {-1, 6, 1, 11244, 5860, 0}, {-1, 6, 1, 11273, 5940, 0},
    {-1, 6, 1, 11303, 7000, 0}, {-1, 9750, 10600, 9750, 0, 0}};

template <std::size_t N>
constexpr std::span<const DefaultRow> rows(const DefaultRow (&r)[N]) {
  return {r, N};
}

const std::array<PlacementDefaults, 221> kTable = [] {
  std::array<PlacementDefaults, 221> t{};
  auto put = [&t](std::initializer_list<int> kinds, PlacementDefaults d) {
    for (int k : kinds) {
      d.kind = k;
      t[k] = d;
    }
  };
  const std::span<const DefaultRow> none{};
  put({1, 2, 3, 4, 5, 6, 7, 8, 17, 18, 19, 20, 21, 22, 23, 24, 25, 29, 30, 55, 56, 65, 66, 86, 98, 116, 117, 118,
       119, 120, 121, 122, 123, 124, 125, 126, 127, 128, 129, 151, 152, 153, 154, 155, 156, 157, 158, 159, 161, 162,
       163, 164, 165, 166, 167, 168},
      {0, X, 1, X, true, none});
  put({11, 12, 14, 107}, {0, X, 1, X, false, none});
  put({32, 34, 36, 38, 40, 42, 80, 132, 134, 136, 138, 140, 141, 144}, {0, 0, 1, X, true, none});
  put({142, 143, 145, 146}, {0, 0, 1, X, false, none});
  put({26, 109}, {0, 1, 1, X, true, none});
  put({27}, {0, 2, 1, X, true, none});
  put({28}, {0, 3, 1, X, true, none});
  put({181, 182, 185}, {0, 100, 1, X, true, none});
  put({184, 186}, {0, 10000, 1, X, true, none});
  put({183}, {0, 100000000, 1, X, true, none});
  put({59}, {0, 474, 1, X, true, none});
  put({45, 89, 90, 97}, {0, 0, 1, X, true, rows(kShort)});
  put({31, 33, 35, 37, 39, 41}, {0, 0, 2, X, true, rows(kShort)});
  put({43, 44, 50, 51, 52, 57, 68, 70, 72, 74, 76, 77, 108}, {0, 0, 1, X, true, rows(kFour)});
  put({87, 88}, {0, X, 1, X, true, rows(kFour)});
  put({67, 69, 71, 73, 75, 131, 133, 135, 137, 139}, {0, 0, 2, X, true, rows(kFour)});
  put({53, 54, 78, 79, 170, 172, 174, 176, 178}, {0, 0, 1, X, true, rows(kFourTwice)});
  put({171, 173, 175, 177, 179}, {0, 0, 2, X, true, rows(kFourTwice)});
  put({101}, {0, 0, 1, 0, true, rows(kFiveTwice)});
  put({102, 103, 104}, {0, 0, 1, X, true, rows(kFiveTwice)});
  put({105, 106}, {0, 0, 1, X, true, rows(kFiveFour)});
  put({58}, {0, 11000, 1, X, true, rows(kLinkUnit)});
  put({61}, {0, 0, 1, 80, true, rows(kConverter4)});
  put({81}, {0, 0, 1, X, true, rows(kChannel81)});
  put({82}, {0, 0, 1, X, true, rows(kChannel82)});
  put({83}, {0, 0, 1, X, true, rows(kChannel83)});
  put({84}, {0, 0, 1, X, true, rows(kChannel84)});
  put({96}, {0, 0, 1, X, true, rows(kModulator96)});
  put({60}, {0, 10, 2, X, true, rows(kConverter16)});
  put({201, 202}, {0, 3, 1, kFromCableKind, false, rows(kTrunk)});
  put({203}, {0, 3, 1, kFromCableKind, false, rows(kSingleTrunk)});
  put({205}, {0, 3, 1, kFromCableKind, false, rows(kFibre)});
  put({210}, {0, 10, kFromLastSocket, kFromCableKind, false, none});
  // Sources and the comment take a slot or text index chosen at placement time.
  put({91}, {0, X, 1, 2, false, none});
  put({92, 93, 94, 95, 100}, {0, X, 1, X, false, none});
  return t;
}();

}  // namespace

const PlacementDefaults* FindPlacementDefaults(int kind) {
  if (kind < 1 || kind >= static_cast<int>(kTable.size()) || kTable[kind].kind == 0) return nullptr;
  return &kTable[kind];
}

int DefaultContinuationRows(int kind) {
  const PlacementDefaults* d = FindPlacementDefaults(kind);
  return d ? static_cast<int>(d->continuation.size()) : 0;
}

int32_t DefaultContinuationCell(int kind, int rowOffset, int column) {
  return DefaultCellExists(kind, rowOffset, column) && rowOffset > 0
             ? FindPlacementDefaults(kind)->continuation[static_cast<std::size_t>(rowOffset - 1)][column]
             : 0;
}

bool DefaultCellExists(int kind, int rowOffset, int column) {
  if (column < 0 || column > 5) return false;
  if (rowOffset == 0) return true;
  const PlacementDefaults* d = FindPlacementDefaults(kind);
  if (!d || rowOffset < 1 || rowOffset > static_cast<int>(d->continuation.size())) return false;
  return d->continuation[rowOffset - 1][column] != kNotWritten;
}

}  // namespace kavrix

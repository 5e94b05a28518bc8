#pragma once
// Product model names of every object kind in the two brands, plus the name fragments that the
// two-line names are built from and the brand names themselves. Read-only data; BrandIndex picks
// the column the whole program shows.
#include <array>
#include <cstdint>
#include <string_view>

namespace kavrix {

constexpr int kModelNameRows = 213;  // rows 0..212
using ModelNameRow = std::array<std::string_view, 2>;

extern const std::array<ModelNameRow, kModelNameRows> ModelNames;

// Rows that are not kinds.
constexpr int kNameSuffixRow = 206;       // "001" (206), "002" (207), "003" (208): second line of kinds 26..28, 55
constexpr int kNameNerbPrefixRow = 209;   // first line of kind 55
constexpr int kNamePoldPrefixRow = 211;   // first line of kinds 26..28
constexpr int kBrandNamesRow = 212;

inline constexpr const ModelNameRow& BrandNames = ModelNames[kBrandNamesRow];
constexpr uint8_t BrandIndex = 0;

// Name in row `row` of column `brand`; empty for a row or column outside the table.
std::string_view ModelName(int row, int brand = BrandIndex);

}  // namespace kavrix

#pragma once
// TV standards and the channel numbers each one offers, as the channel panel lists them. The
// index of a standard is what a modulator stores in its first settings row.
#include <array>
#include <string>
#include <string_view>
#include <vector>

namespace kavrix {

enum TvStandard { kTvEurope = 0, kTvNewZealand = 1, kTvUk = 2, kTvAustralia = 3, kTvRussia = 4 };
constexpr int kTvStandardCount = 5;

// Captions in index order ("New Zeland" is the program's own spelling).
extern const std::array<std::string_view, kTvStandardCount> TvStandardNames;

// Channel items offered for `standard`: Europe, New Zealand and UK (and no selection, -1) share
// one list; an index above the known standards offers none.
const std::vector<std::string>& TvChannelItems(int standard);

}  // namespace kavrix

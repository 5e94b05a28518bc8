#pragma once
// Lower channel edges in MHz by channel index, as the channel amplifiers and the run's
// channel-point merge index them (stored channel number plus a per-kind offset):
//   21..69   UHF, 8 MHz raster from 470 MHz
//   70..77   band III, 7 MHz raster from 174 MHz
//   78..84   band III, 8 MHz raster from 174 MHz
//   85..94   band III channel plan with the intermediate channels
//   100..155 the 7 MHz raster from 470 MHz that the 20..75 channel list of one amplifier spans
// Every other index names no channel and holds 0.
#include <array>
#include <optional>

namespace kavrix {

constexpr int kChannelFreqEntries = 156;
extern const std::array<double, kChannelFreqEntries> ChannelFreqTable;

// The lower edge of channel index `index`, or nothing when the index names no channel.
std::optional<double> ChannelLowerEdge(int index);

}  // namespace kavrix

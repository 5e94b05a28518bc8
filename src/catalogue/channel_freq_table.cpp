#include "catalogue/channel_freq_table.hpp"

namespace kavrix {
namespace {

constexpr std::array<double, kChannelFreqEntries> Build() {
  std::array<double, kChannelFreqEntries> t{};
  for (int i = 21; i <= 69; ++i) t[i] = 470.0 + 8.0 * (i - 21);
  for (int i = 70; i <= 77; ++i) t[i] = 174.0 + 7.0 * (i - 70);
  for (int i = 78; i <= 84; ++i) t[i] = 174.0 + 8.0 * (i - 78);
  constexpr double kBand3Plan[10] = {174, 181, 188, 195, 202, 208, 209, 215, 216, 223};
  for (int i = 0; i < 10; ++i) t[85 + i] = kBand3Plan[i];
  for (int i = 100; i <= 155; ++i) t[i] = 470.0 + 7.0 * (i - 100);
  return t;
}

}  // namespace

const std::array<double, kChannelFreqEntries> ChannelFreqTable = Build();

std::optional<double> ChannelLowerEdge(int index) {
  if (index < 0 || index >= kChannelFreqEntries || ChannelFreqTable[index] <= 0.0) return std::nullopt;
  return ChannelFreqTable[index];
}

}  // namespace kavrix

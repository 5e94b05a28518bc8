#pragma once
// Small display lists that the value labels and the setting stepper show by index: slope steps,
// transponder counts, VHF channel names and the digital modulator's step and UHF channel items.
// Every reader goes through the range-checked accessors, which give nothing outside a list.
#include <array>
#include <optional>
#include <string>

namespace kavrix {

// Slope in dB by setting 0..3.
inline constexpr std::array<int, 4> SlopeSteps = {0, 3, 5, 7};
// Transponders by the transmitter's Inst -4..0, stored at Inst + 4.
inline constexpr std::array<int, 5> TransponderCounts = {1, 2, 4, 6, 8};
// VHF channel labels by index.
inline constexpr std::array<const char*, 10> VhfChannelNames = {"6", "7", "8", "9", "9R", "90", "10", "91", "11", "12"};
// Channel step (bandwidth) items of the digital modulator, in MHz as text.
inline constexpr std::array<const char*, 4> ModulatorStepItems = {"8.3", "8", "7", "6"};
// UHF channels C21..C69 and the closing " -" item of the digital modulator's channel list.
constexpr int kUhfChannelItems = 50;
constexpr int kFirstUhfChannel = 21;
constexpr int kLastUhfChannel = 69;

inline std::optional<int> SlopeStepAt(int index) {
  if (index < 0 || index >= static_cast<int>(SlopeSteps.size())) return std::nullopt;
  return SlopeSteps[index];
}
inline std::optional<int> TransponderCountFor(int inst) {
  const int i = inst + 4;
  if (i < 0 || i >= static_cast<int>(TransponderCounts.size())) return std::nullopt;
  return TransponderCounts[i];
}
// Empty text outside the list.
inline std::string VhfChannelName(int index) {
  if (index < 0 || index >= static_cast<int>(VhfChannelNames.size())) return {};
  return VhfChannelNames[index];
}
inline std::optional<double> ModulatorStepMHz(int index) {
  static constexpr std::array<double, 4> kSteps = {8.3, 8.0, 7.0, 6.0};
  if (index < 0 || index >= static_cast<int>(kSteps.size())) return std::nullopt;
  return kSteps[index];
}
inline std::string UhfChannelItem(int index) {
  if (index < 0 || index >= kUhfChannelItems) return {};
  if (index == kUhfChannelItems - 1) return " -";
  std::string item = "C";  // appended, not "C" + temporary, which trips GCC 12's -Wrestrict
  item += std::to_string(kFirstUhfChannel + index);
  return item;
}
// Lower edge in MHz of UHF channel c (21..69).
constexpr int UhfLowerEdge(int channel) { return 470 + 8 * (channel - kFirstUhfChannel); }

}  // namespace kavrix

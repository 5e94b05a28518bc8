#include "catalogue/tv_channels.hpp"

namespace kavrix {

const std::array<std::string_view, kTvStandardCount> TvStandardNames = {"Europe", "New Zeland", "UK", "Australia",
                                                                        "Russia"};

namespace {

void AddRange(std::vector<std::string>& items, int from, int to) {
  for (int c = from; c <= to; ++c) items.push_back(std::to_string(c));
}

std::vector<std::string> BuildList(int firstVhf, bool australia) {
  std::vector<std::string> items;
  if (australia) {
    AddRange(items, 6, 9);
    items.push_back("9A");
    AddRange(items, 10, 12);
    AddRange(items, 20, 75);
  } else {
    AddRange(items, firstVhf, 12);
    AddRange(items, 21, 69);
  }
  return items;
}

}  // namespace

const std::vector<std::string>& TvChannelItems(int standard) {
  static const std::vector<std::string> western = BuildList(5, false);
  static const std::vector<std::string> australia = BuildList(6, true);
  static const std::vector<std::string> russia = BuildList(6, false);
  static const std::vector<std::string> none;
  if (standard < kTvAustralia) return western;
  if (standard == kTvAustralia) return australia;
  if (standard == kTvRussia) return russia;
  return none;
}

}  // namespace kavrix

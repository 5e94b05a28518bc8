#include "catalogue/tv_channels.hpp"

#include <gtest/gtest.h>

namespace kavrix {
namespace {

TEST(TvChannels, ListsPerStandard) {
  const auto& europe = TvChannelItems(kTvEurope);
  ASSERT_EQ(europe.size(), 57u);
  EXPECT_EQ(europe.front(), "5");
  EXPECT_EQ(europe[7], "12");
  EXPECT_EQ(europe[8], "21");
  EXPECT_EQ(europe.back(), "69");
  EXPECT_EQ(&TvChannelItems(kTvNewZealand), &europe);
  EXPECT_EQ(&TvChannelItems(kTvUk), &europe);
  EXPECT_EQ(&TvChannelItems(-1), &europe);

  const auto& australia = TvChannelItems(kTvAustralia);
  ASSERT_EQ(australia.size(), 64u);
  EXPECT_EQ(australia[0], "6");
  EXPECT_EQ(australia[3], "9");
  EXPECT_EQ(australia[4], "9A");
  EXPECT_EQ(australia[5], "10");
  EXPECT_EQ(australia[8], "20");
  EXPECT_EQ(australia.back(), "75");

  const auto& russia = TvChannelItems(kTvRussia);
  ASSERT_EQ(russia.size(), 56u);
  EXPECT_EQ(russia.front(), "6");
  EXPECT_EQ(russia[7], "21");
  EXPECT_EQ(russia.back(), "69");

  EXPECT_TRUE(TvChannelItems(5).empty());
  EXPECT_EQ(TvStandardNames[1], "New Zeland");
}

}  // namespace
}  // namespace kavrix

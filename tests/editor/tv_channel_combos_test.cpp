#include "editor/tv_channel_combos.hpp"

#include <gtest/gtest.h>

#include <QComboBox>

namespace kavrix {
namespace {

TEST(TvChannelCombos, RefillSelectsTheFirstChannelOfTheChosenStandard) {
  QComboBox standards, channels;
  standards.addItem("stale");
  FillTvStandardCombo(&standards);
  ASSERT_EQ(standards.count(), 5);
  EXPECT_EQ(standards.itemText(0), "Europe");
  EXPECT_EQ(standards.itemText(4), "Russia");

  const struct {
    int standard;
    int count;
    const char* first;
  } cases[] = {{-1, 57, "5"}, {0, 57, "5"}, {2, 57, "5"}, {3, 64, "6"}, {4, 56, "6"}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.standard);
    standards.setCurrentIndex(c.standard);
    FillChannelCombo(&standards, &channels);
    EXPECT_EQ(channels.count(), c.count);
    EXPECT_EQ(channels.currentIndex(), 0);
    EXPECT_EQ(channels.currentText(), c.first);
  }

  // An index the standard list never produces leaves the channel list empty and unselected.
  standards.addItem("sixth");
  standards.setCurrentIndex(5);
  FillChannelCombo(&standards, &channels);
  EXPECT_EQ(channels.count(), 0);
  EXPECT_EQ(channels.currentIndex(), -1);
}

}  // namespace
}  // namespace kavrix

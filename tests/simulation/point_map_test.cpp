// The point map behind the pin index and the outlet evaluation: every key inserted must be found
// again with its value after the table has grown, and keys never inserted must not be found.
#include <gtest/gtest.h>

#include "model/run_records.hpp"
#include "simulation/pin_index.hpp"
#include "simulation/point_map.hpp"

namespace kavrix {
namespace {

TEST(PointMap, KeysSurviveGrowthAndResetForgetsThem) {
  PointMap map;
  map.reset(4);  // far too small: the map grows as keys arrive
  for (int i = 0; i < 5000; ++i) {
    bool added = false;
    map.insert(PinKey(i % 71 - 35, i / 71 * 20), i, &added);
    EXPECT_TRUE(added);
  }
  bool added = true;
  EXPECT_EQ(map.insert(PinKey(-35, 0), 99, &added), 0) << "an existing key keeps its value";
  EXPECT_FALSE(added);
  EXPECT_EQ(map.size(), 5000u);
  for (int i = 0; i < 5000; ++i) {
    const int* v = map.find(PinKey(i % 71 - 35, i / 71 * 20));
    ASSERT_NE(v, nullptr);
    EXPECT_EQ(*v, i);
  }
  EXPECT_EQ(map.find(PinKey(36, 0)), nullptr);
  map.reset(10);
  EXPECT_EQ(map.find(PinKey(-35, 0)), nullptr);
  EXPECT_EQ(map.size(), 0u);
}

}  // namespace
}  // namespace kavrix

// The source panel's Apply rules over plain grids: the counts an average-mode plan may have.
#include "editor/source_plans.hpp"

#include <gtest/gtest.h>

#include <string>

namespace kavrix::source_plan {
namespace {

// The largest count each table holds is taken and regenerated; one more, or a negative count,
// is refused before anything changes.
TEST(SourcePlans, AverageModeCountsAtTheTablesBounds) {
  const struct {
    int32_t count;
    const char* message;
    int32_t first, last;  // entries 0 and 30 of the band's frequencies
  } lnbCases[] = {
      {31, nullptr, 1100, 2150}, {32, kLnbCountMessage, 5, 6}, {0, nullptr, 0, 0}, {-1, kLnbCountMessage, 5, 6}};
  for (const auto& c : lnbCases) {
    SCOPED_TRACE(c.count);
    SourceGrid grid(8, 32);
    SourceGrid summary(5, 4);
    summary.setCell(4, kLnbCarriers, std::to_string(c.count));  // band V,Hi
    summary.setCell(4, kLnbLevel, "77");
    summary.setCell(4, kLnbLowest, "1100");
    summary.setCell(4, kLnbHighest, "2150");
    LnbPlan plan{};
    plan.sat[SatFreqColumn(3)][0] = 5;
    plan.sat[SatFreqColumn(3)][30] = 6;
    EXPECT_STREQ(ApplyLnbPlan(grid, summary, true, 300, plan), c.message);
    EXPECT_EQ(plan.sat[SatFreqColumn(3)][0], c.first);
    EXPECT_EQ(plan.sat[SatFreqColumn(3)][30], c.last);
  }

  const struct {
    int32_t count;
    bool accepted;
    int32_t entry100;  // the closing channel of a full plan
  } terrCases[] = {{100, true, 850}, {101, false, 0}, {0, true, 0}, {-1, false, 0}};
  for (const auto& c : terrCases) {
    SCOPED_TRACE(c.count);
    SourceGrid grid(2, 100);
    SourceGrid summary(2, 4);
    summary.setCell(1, kTerrCarriers, std::to_string(c.count));
    summary.setCell(1, kTerrLevel, "70");
    summary.setCell(1, kTerrFirst, "50");
    summary.setCell(1, kTerrLast, "850");
    TerrPlan plan{};
    const TerrApply result = ApplyTerrPlan(grid, summary, 92, true, plan);
    EXPECT_EQ(result.store, c.accepted);
    EXPECT_EQ(result.message == nullptr, c.accepted);
    EXPECT_EQ(plan.header[kTerrRegenerate], c.accepted ? 1 : 0);
    EXPECT_EQ(plan.table[kTerrFreqs][100], c.entry100);
  }
}

}  // namespace
}  // namespace kavrix::source_plan

// Consistency of the generated device tables with the grids the blocks read them on.
#include <gtest/gtest.h>

#include "engine/node_frame.hpp"
#include "engine/table_gen.hpp"
#include "engine/tables_line_amp.hpp"
#include "engine/tables_single_cable.hpp"

namespace kavrix::test {
namespace {

namespace gen = engine::gen;
namespace tables = engine::tables;

template <std::size_t P>
void ExpectSameGrid(const std::array<int32_t, P>& copy, const int32_t* frame) {
  for (std::size_t j = 0; j < P; ++j) EXPECT_EQ(copy[j], frame[j]) << j;
}

// The tables are sampled on compile-time copies of the grids; a drift between the copies and
// the frame's grids would shift every table against its frequencies.
TEST(GeneratedTables, SampledOnTheFrameGrids) {
  ExpectSameGrid(gen::kRow0, engine::FreqGrids[0].data());
  ExpectSameGrid(gen::kRow1, engine::FreqGrids[1].data());
  ExpectSameGrid(gen::kRow2, engine::FreqGrids[2].data());
  ExpectSameGrid(gen::kRow5, engine::FreqGrids[5].data());
  ExpectSameGrid(gen::kRow8, engine::FreqGrids[8].data());
  ExpectSameGrid(gen::kSat22, engine::SatGrid22.data());
  ExpectSameGrid(gen::kTerr22, engine::TerrGrid22.data());
}

// A larger setting index must never attenuate less, and slope controls act below the top.
TEST(GeneratedTables, StepsGrowWithTheirIndex) {
  auto rising = [](const tables::Steps3& s) { return s[0] > 0 && s[0] < s[1] && s[1] < s[2]; };
  for (int j = 0; j < 16; ++j) {
    for (int p = 0; p < 5; ++p) {
      EXPECT_TRUE(rising(tables::kLineAmp101.cs[j][p]));
      EXPECT_TRUE(rising(tables::kLineAmp101.fs[j][p]));
      EXPECT_TRUE(rising(tables::kSwitch133.oa[j][p]));
    }
    EXPECT_TRUE(rising(tables::kLineAmp108.cl[0][0]));
    EXPECT_TRUE(rising(tables::kSwitch140.oa[j]));
  }
  EXPECT_EQ(tables::kLineAmp101.sl[15][0][2], 0.0);
}

TEST(GeneratedTables, SingleCableMembersFillTheirGroups) {
  for (int c = 181; c <= 185; ++c) {
    const auto* t = tables::SingleCableTable(c);
    ASSERT_NE(t, nullptr);
    for (int g = 0; g < t->groups; ++g) EXPECT_LT(t->terr[0][g], 0.0) << c << " " << g;
  }
  EXPECT_EQ(tables::SingleCableTable(182)->satRow, 5);
  EXPECT_EQ(tables::SingleCableTable(186), nullptr);
}

}  // namespace
}  // namespace kavrix::test

#include "catalogue/model_names.hpp"

#include <gtest/gtest.h>

#include <set>

#include "catalogue/type_catalogue.hpp"

namespace kavrix {
namespace {

TEST(ModelNames, TableShapeAndEmptyRows) {
  int first = 0, second = 0;
  for (const auto& r : ModelNames) {
    first += !r[0].empty();
    second += !r[1].empty();
  }
  EXPECT_EQ(first, 173);
  EXPECT_EQ(second, 60);
  for (int row : {0, 9, 10, 13, 15, 46, 47, 48, 49, 85, 99, 110, 115, 130, 147, 150, 160, 169, 180, 187, 200, 204}) {
    EXPECT_TRUE(ModelNames[row][0].empty()) << row;
    EXPECT_TRUE(ModelNames[row][1].empty()) << row;
  }
  EXPECT_EQ(BrandIndex, 0);
  EXPECT_EQ(BrandNames[0], "ZANTO");
  EXPECT_EQ(BrandNames[1], "BRAMEL");
  EXPECT_EQ(ModelName(-1), "");
  EXPECT_EQ(ModelName(213), "");
  EXPECT_EQ(ModelName(1, 2), "");
}

TEST(ModelNames, NamesAreSpelledAsTheProgramShowsThem) {
  EXPECT_EQ(ModelName(1), "Kelv1");
  EXPECT_EQ(ModelName(92), "CATV sorce");
  EXPECT_EQ(ModelName(210), "TV socket");
  EXPECT_EQ(ModelName(98), "Load with DC block");
  EXPECT_EQ(ModelName(201), "5x Trunk lines");
  EXPECT_EQ(ModelName(202), "4x trunk lines");
  EXPECT_EQ(ModelName(154), "Fiber:2");
  EXPECT_EQ(ModelName(159), "Att.10");
  EXPECT_EQ(ModelName(186), "Hulq1");
  EXPECT_EQ(ModelName(18, 1), "     ");
  EXPECT_EQ(ModelName(23, 1), "      ");
  EXPECT_EQ(ModelName(26, 1), "Ulvq-100");
  EXPECT_EQ(ModelName(55, 1), "Ulvp-100");
  // Two-line names: prefix row above the suffix row.
  EXPECT_EQ(ModelName(kNamePoldPrefixRow), "Pold");
  EXPECT_EQ(ModelName(kNameSuffixRow), "001");
  EXPECT_EQ(ModelName(kNameSuffixRow + 2), "003");
  EXPECT_EQ(ModelName(kNamePoldPrefixRow, 1), "Ulvq-");
  EXPECT_EQ(ModelName(kNameSuffixRow, 1), "100");
  EXPECT_EQ(ModelName(kNameNerbPrefixRow), "Nerb");
}

TEST(ModelNames, FirstBrandNamesAreUnique) {
  // The price estimation matches names against the price list, so a repeated name would mix kinds.
  std::set<std::string_view> seen;
  for (int row = 1; row < kModelNameRows; ++row) {
    const auto n = ModelNames[row][0];
    if (n.empty()) continue;
    EXPECT_TRUE(seen.insert(n).second) << row << " " << n;
  }
}

}  // namespace
}  // namespace kavrix

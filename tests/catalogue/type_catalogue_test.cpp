#include <gtest/gtest.h>

#include <set>

#include "catalogue/type_catalogue.hpp"

namespace kavrix {
namespace {

TEST(TypeCatalogue, TellingRecordsAreExact) {
  const std::vector<std::pair<int, TypeRecord>> telling = {
      {1, {45, 30, 4, 0, 0, 0, 0, 0, 0, 0, 0, -1, 42}},
      {16, {100, 100, 18, 1, 72, 0, 0, 0, 2, 0, -110, 0, 0}},
      {37, {50, 90, 20, 3, 246, 60, 10, 90, 4, 40, -100, -1, 0}},
      {60, {50, 70, 8, 1, 2370, 0, 261, 0, 0, -60, 60, 37, 107}},
      {91, {35, 30, 4, 0, 2352, 0, 0, 220, 0, 0, 0, 31, 0}},
      {183, {70, 40, 45, 8, 2139, 0, 0, 1300, 8, 40, -50, 81, 92}},
      {201, {30, 15, 5, 0, 0, 0, 0, 0, 1, 40, 0, 51, 0}},
      {205, {10, 15, 0, 0, 0, 0, 0, 0, 0, 0, 0, 99, 0}},
  };
  for (const auto& [kind, rec] : telling) EXPECT_EQ(TypeOf(kind), rec) << "kind " << kind;
}

TEST(TypeCatalogue, MissingKindsAndOutOfRangeKindsAreAllZero) {
  std::set<int> missing = {0, 10, 13, 15, 30, 85, 99, 130, 160, 169, 180, 204};
  for (int k = 46; k <= 49; ++k) missing.insert(k);
  for (int k = 110; k <= 115; ++k) missing.insert(k);
  for (int k = 147; k <= 150; ++k) missing.insert(k);
  for (int k = 187; k <= 200; ++k) missing.insert(k);
  for (int k = 206; k <= 209; ++k) missing.insert(k);
  for (int k = 211; k <= 220; ++k) missing.insert(k);
  for (int k = 0; k < kKindCount; ++k) EXPECT_EQ(KindExists(k), missing.count(k) == 0) << "kind " << k;
  EXPECT_EQ(TypeOf(-5), TypeRecord{});
  EXPECT_EQ(TypeOf(221), TypeRecord{});
  EXPECT_EQ(TypeOf(100000), TypeRecord{});
}

// Supply currents as the device list gives them; every other kind draws nothing.
TEST(TypeCatalogue, SupplyCurrents) {
  const std::vector<std::pair<int, std::vector<int>>> currents = {
      {55, {109}},
      {60, {55, 87, 107, 131, 133, 135, 137, 139}},
      {65, {56}},
      {80, {67, 69, 71, 77}},
      {90, {31, 33, 35, 37, 39, 41}},
      {120, {73, 75}},
      {160, {171, 173, 175, 177, 179}},
      {200, {102, 104}},
      {220, {91}},
      {250, {106}},
      {300, {52, 185}},
      {450, {181, 182}},
      {500, {54}},
      {550, {184}},
      {1300, {183}},
  };
  std::set<int> drawing;
  for (const auto& [mA, kinds] : currents)
    for (int k : kinds) {
      EXPECT_EQ(TypeOf(k)[kSupplyCurrent], mA) << "kind " << k;
      drawing.insert(k);
    }
  for (int k = 0; k < kKindCount; ++k)
    if (!drawing.count(k)) { EXPECT_EQ(TypeOf(k)[kSupplyCurrent], 0) << "kind " << k; }
}

TEST(TypeCatalogue, PathsGroupsAndClassesOfFamilies) {
  struct Case {
    int kind, paths, groups, cls, reserve;
  };
  const Case cases[] = {
      {2, 4, 1, -1, 0},     {8, 8, 2, -1, 0},     {9, 0, 1, 1, 0},       {21, 10, 2, -11, 2},
      {25, 20, 4, -12, 4},  {29, 2, 1, 11, 0},    {45, 2, 2, 63, 2},     {57, 5, 1, -21, 1},
      {59, 1, 1, 42, 0},    {62, 17, 1, -1, 1},   {64, 13, 1, -1, 1},    {77, 85, 5, 4, 5},
      {79, 136, 8, 4, 8},   {84, 3, 2, 61, 3},    {86, 3, 1, 62, 3},     {89, 3, 3, 63, 3},
      {98, 0, 1, 0, 0},     {100, 0, 1, 0, 0},    {108, 4, 2, 22, 2},    {120, 36, 4, 12, 4},
      {128, 8, 5, 13, 0},   {144, 3, 1, 92, 0},   {146, 3, 1, 91, 0},    {157, 40, 8, 93, 0},
      {168, 36, 4, 3, 4},   {184, 25, 5, 81, 4},  {186, 20, 4, 81, 3},   {202, 4, 1, 51, 0},
      {203, 1, 1, 51, 0},   {210, 0, 1, 41, 0},   {96, 1, 1, 36, 1},     {61, 2, 1, 37, 2},
  };
  for (const Case& c : cases) {
    const TypeRecord& r = TypeOf(c.kind);
    EXPECT_EQ(r[kPaths], c.paths) << "kind " << c.kind;
    EXPECT_EQ(r[kGroupsMinus1] + 1, c.groups) << "kind " << c.kind;
    EXPECT_EQ(r[kClass], c.cls) << "kind " << c.kind;
    EXPECT_EQ(r[kTerrReserve], c.reserve) << "kind " << c.kind;
  }
  EXPECT_TRUE(IsObsoleteKind(70));
  EXPECT_FALSE(IsObsoleteKind(170));
}

}  // namespace
}  // namespace kavrix

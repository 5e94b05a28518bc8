#include "model/drawing_extent.hpp"

#include <gtest/gtest.h>

#include <map>
#include <utility>

#include "model/network_model.hpp"
#include "support/model_guard.hpp"

namespace kavrix {
namespace {

// Symbol sizes by row; rows not listed have no symbol.
SymbolSizeFn Sizes(std::map<int, std::pair<int, int>> sizes) {
  return [sizes = std::move(sizes)](int row, int& w, int& h) {
    auto it = sizes.find(row);
    if (it == sizes.end()) return false;
    w = it->second.first;
    h = it->second.second;
    return true;
  };
}

TEST(DrawingExtent, ObjectsAndLinesRaiseTheExtent) {
  test::FreshModel fresh;
  CalcDrawingExtent(Sizes({}));
  EXPECT_EQ(DrawExtentX, 15);
  EXPECT_EQ(DrawExtentY, 15);

  const int obj = test::AddObject(60, 100, 50);
  CalcDrawingExtent(Sizes({{obj, {126, 86}}}));
  EXPECT_EQ(DrawExtentX, 178);
  EXPECT_EQ(DrawExtentY, 108);
  CalcDrawingExtent(Sizes({{obj, {86, 126}}}));  // turned a quarter
  EXPECT_EQ(DrawExtentX, 158);
  EXPECT_EQ(DrawExtentY, 128);

  test::FreshModel again;
  test::AddObject(203, 10, 10, 20, 1, 1);
  test::AddContinuation(200, 300, -50, 40, 11);
  CalcDrawingExtent(Sizes({}));
  EXPECT_EQ(DrawExtentX, 365);
  EXPECT_EQ(DrawExtentY, 225);
  NetObjects[0][kKind] = 201;  // a trunk line's outer cables and their pen lie 44 beside its route
  CalcDrawingExtent(Sizes({}));
  EXPECT_EQ(DrawExtentX, 350 + 44 + 15);
  EXPECT_EQ(DrawExtentY, 210 + 44 + 15);
}

TEST(DrawingExtent, UnfinishedLastLineIsSafe) {
  test::FreshModel fresh;
  const int sock = test::AddObject(210, 100, 100);
  // A line in the very last row of the table has no bend row to read.
  NetObjects.resize(static_cast<std::size_t>(CurObject) + 1);
  NetObjects[CurObject] = {205, 400, 30, 10, 1, 1};
  CalcDrawingExtent(Sizes({{sock, {21, 41}}}));
  EXPECT_EQ(DrawExtentX, 415);
  EXPECT_EQ(DrawExtentY, 100 + 20 + 15);
}

TEST(DrawingExtent, ScaleToZoomRoundsHalfToEven) {
  const double saved = ZoomFactor;
  ZoomFactor = 0.5;
  EXPECT_EQ(ScaleToZoom(5), 2);
  EXPECT_EQ(ScaleToZoom(7), 4);
  EXPECT_EQ(ScaleToZoom(-5), -2);
  EXPECT_EQ(ScaleToZoom(8), 4);
  ZoomFactor = 0.3;
  EXPECT_EQ(ScaleToZoom(1000), 300);
  ZoomFactor = saved;
}

}  // namespace
}  // namespace kavrix

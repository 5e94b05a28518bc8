#pragma once
// The part of the model an editing command may change, taken whole so that a test can compare
// the state after an undo with the state before the command.
#include <gtest/gtest.h>

#include <QImage>
#include <algorithm>
#include <vector>

#include "model/network_model.hpp"
#include "model/source_tables.hpp"
#include "symbols/glyph_store.hpp"

namespace kavrix::test {

// Everything a delete or a turn may touch, compared whole after undo.
struct ModelSnapshot {
  std::vector<ObjRow> rows = NetObjects;
  decltype(SatTables) sat = SatTables;
  decltype(LnbParams) lnb = LnbParams;
  decltype(SatUsed) satUsed = SatUsed;
  decltype(TerrTables) terr = TerrTables;
  decltype(TerrParams) terrParams = TerrParams;
  decltype(TerrUsed) terrUsed = TerrUsed;
  int32_t curObject = CurObject;
  int32_t objectCount = ObjectCount;
  // Symbols of the rows that are drawn from one (settings rows may keep any bitmap).
  std::vector<QImage> glyphs = [] {
    std::vector<QImage> g;
    for (int r = 0; r < ObjectCount; ++r) {
      const int kind = NetObjects[static_cast<std::size_t>(r)][kKind];
      g.push_back((kind >= 1 && kind <= 199) || kind == 210 ? ObjGlyphAt(r).image() : QImage());
    }
    return g;
  }();
};

// Field by field, so a failure names what differs.
inline void ExpectSameModel(const ModelSnapshot& now, const ModelSnapshot& was) {
  ASSERT_EQ(now.rows.size(), was.rows.size());
  for (std::size_t r = 0; r < now.rows.size(); ++r) EXPECT_EQ(now.rows[r], was.rows[r]) << "row " << r;
  EXPECT_EQ(now.curObject, was.curObject);
  EXPECT_EQ(now.objectCount, was.objectCount);
  for (int s = 0; s < kSatSlots; ++s) {
    EXPECT_EQ(now.sat[s], was.sat[s]) << "SatTables " << s;
    EXPECT_EQ(now.lnb[s], was.lnb[s]) << "LnbParams " << s;
    EXPECT_EQ(now.satUsed[s], was.satUsed[s]) << "SatUsed " << s;
  }
  for (int s = 0; s < kTerrSlots; ++s) {
    for (int h = 0; h < 2; ++h) {
      const auto& a = now.terr[s][h];
      const auto& b = was.terr[s][h];
      const auto d = std::mismatch(a.begin(), a.end(), b.begin());
      if (d.first != a.end())
        ADD_FAILURE() << "TerrTables " << s << "/" << h << " entry " << (d.first - a.begin()) << ": " << *d.first
                      << " instead of " << *d.second;
    }
    EXPECT_EQ(now.terrParams[s], was.terrParams[s]) << "TerrParams " << s;
    EXPECT_EQ(now.terrUsed[s], was.terrUsed[s]) << "TerrUsed " << s;
  }
  ASSERT_EQ(now.glyphs.size(), was.glyphs.size());
  for (std::size_t r = 0; r < now.glyphs.size(); ++r) EXPECT_TRUE(now.glyphs[r] == was.glyphs[r]) << "symbol " << r;
}

}  // namespace kavrix::test

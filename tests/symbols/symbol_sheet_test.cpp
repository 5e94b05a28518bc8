// Writes every type slot, labelled with its number, to symbol_sheet.png beside the test binary,
// in the build directory, for review (a build artefact, not compared).
#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <algorithm>
#include <cstdlib>
#include <string>

#include <gtest/gtest.h>

#include "symbols/glyph_store.hpp"
#include "symbols/switch_amp_glyphs.hpp"
#include "symbols/type_glyphs.hpp"

namespace kavrix {
namespace {

TEST(SymbolSheet, WritesEverySlotLabelled) {
  CreateDeviceGlyphs();
  CreateSwitchAmpGlyphs();
  // Shelf packing: slots left to right, a new shelf when the row is full.
  const int sheetW = 1400, pad = 14;
  int x = pad, y = pad, shelf = 0;
  std::vector<QPoint> at(kTypeGlyphSlots);
  for (int s = 0; s < kTypeGlyphSlots; ++s) {
    const Bitmap& g = TypeGlyphAt(s);
    const int w = std::max(g.width(), 40), h = std::max(g.height(), 10) + 14;
    if (x + w > sheetW) {
      x = pad;
      y += shelf + pad;
      shelf = 0;
    }
    at[s] = QPoint(x, y);
    x += w + pad;
    shelf = std::max(shelf, h);
  }
  Bitmap sheet(sheetW, y + shelf + pad);
  Canvas c(sheet);
  c.brush.color = 0xE8D8C8;  // a canvas colour that shows the keyed-out silver
  c.fillRect(0, 0, sheet.width(), sheet.height());
  for (int s = 0; s < kTypeGlyphSlots; ++s) {
    c.brush.color = colors::kWhite;
    c.font.height = -10;
    c.textOut(at[s].x(), at[s].y(), std::to_string(s));
    c.draw(at[s].x(), at[s].y() + 14, TypeGlyphAt(s));
  }
  const QString path = QDir(QCoreApplication::applicationDirPath()).filePath("symbol_sheet.png");
  EXPECT_TRUE(sheet.image().save(path, "PNG"));
  // KAVRIX_SHEET_SLOTS="8,44": those slots also alone, four times enlarged.
  if (const char* list = std::getenv("KAVRIX_SHEET_SLOTS")) {
    for (const QString& part : QString::fromUtf8(list).split(',', Qt::SkipEmptyParts)) {
      const Bitmap& g = TypeGlyphAt(part.toInt());
      if (g.empty()) continue;
      g.image().scaled(g.width() * 4, g.height() * 4).save(QFileInfo(path).dir().filePath("slot_" + part + ".png"));
    }
  }
  ReleaseSwitchAmpGlyphs();
}

}  // namespace
}  // namespace kavrix

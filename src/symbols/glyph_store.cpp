#include "symbols/glyph_store.hpp"

#include "model/network_model.hpp"

namespace kavrix {

std::array<Bitmap, kTypeGlyphSlots> TypeGlyphs;
std::vector<Bitmap> ObjGlyphs;
std::array<std::vector<QRect>, kTypeGlyphSlots> TypeGlyphTerminals;

namespace {
const Bitmap& EmptyBitmap() {
  static const Bitmap empty;
  return empty;
}
}  // namespace

const Bitmap& TypeGlyphAt(int slot) {
  if (slot < 0 || slot >= kTypeGlyphSlots) return EmptyBitmap();
  return TypeGlyphs[slot];
}

const Bitmap& ObjGlyphAt(int row) {
  if (row < 0 || static_cast<std::size_t>(row) >= ObjGlyphs.size()) return EmptyBitmap();
  return ObjGlyphs[row];
}

void StoreObjGlyph(int row, Bitmap glyph) {
  if (row < 0 || static_cast<std::size_t>(row) >= ObjGlyphs.size()) return;
  ObjGlyphs[row] = std::move(glyph);
}

void InstallGlyphHooks() {
  Hooks().resizeGlyphs = [](std::size_t n) { ObjGlyphs.resize(n); };
  Hooks().releaseGlyphs = [] {
    ObjGlyphs.clear();
    ObjGlyphs.shrink_to_fit();
  };
}

void RemoveGlyphHooks() {
  Hooks().resizeGlyphs = nullptr;
  Hooks().releaseGlyphs = nullptr;
}

}  // namespace kavrix

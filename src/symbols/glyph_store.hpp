#pragma once
// The symbol bitmaps the rest of the system reads: `TypeGlyphs`, one slot per device family or
// building piece, and `ObjGlyphs`, the composed symbol of each `NetObjects` row. Both own their
// bitmaps; an empty Bitmap marks an empty slot or row. The safe accessors return an empty bitmap
// for any index outside the arrays, so a reader never needs its own range check.
#include <array>
#include <cstddef>
#include <vector>

#include <QRect>

#include "symbols/canvas_surface.hpp"

namespace kavrix {

constexpr int kTypeGlyphSlots = 128;

extern std::array<Bitmap, kTypeGlyphSlots> TypeGlyphs;
extern std::vector<Bitmap> ObjGlyphs;

// Terminal circles (bounding boxes, right and bottom excluded) drawn into each type slot, in the
// symbol's own coordinates. Filled by whoever draws the slot; emptied when the slot is released.
extern std::array<std::vector<QRect>, kTypeGlyphSlots> TypeGlyphTerminals;

const Bitmap& TypeGlyphAt(int slot);
const Bitmap& ObjGlyphAt(int row);
// Stores `glyph` in row `row` (releasing the former bitmap); ignored for a row outside ObjGlyphs.
void StoreObjGlyph(int row, Bitmap glyph);

// Lets the model resize and release ObjGlyphs (NewNetworkModel, SyncRowCompanions).
void InstallGlyphHooks();
void RemoveGlyphHooks();

}  // namespace kavrix

#pragma once
// Per-object symbols: `MakeObjectGlyph` composes the symbol of one NetObjects row from its kind's
// type symbol, the model name, the kind's fixed texts and the row's orientation; `RotateBitmap`
// turns a bitmap by quarter turns. `RebuildObjectGlyph` is the one entry every caller that places,
// loads, turns, optimises or undoes an object uses: it stores the new symbol in ObjGlyphs and draws
// the value labels onto it.
#include "symbols/canvas_surface.hpp"

namespace kavrix {

// Quarter turns of `src` (0 copy on silver, 1 counter-clockwise, 2 half turn, 3 clockwise), pixel
// by pixel; the result is marked transparent. Any other mode gives an empty transparent bitmap.
Bitmap RotateBitmap(const Bitmap& src, int mode);

// The composed symbol of the object in row `row`, turned by its Orient and transparent exactly
// when its type symbol is (comments always are). Rows outside NetObjects, kinds without a symbol
// and kinds whose type symbol is not built give an empty bitmap.
Bitmap MakeObjectGlyph(int row);

// ObjGlyphs[row] := MakeObjectGlyph(row) (the former bitmap is released), then DrawObjectLabels.
void RebuildObjectGlyph(int row);
// Every object row (Kind above 0) composed anew and labelled, as after opening a project.
void RebuildAllObjectGlyphs();
// The "Show designators" switch (the option the labels read): turning it off composes every
// symbol anew (the designators painted so far must go); either way every object's labels are
// drawn again.
void ApplyShowDesignators(bool show);

// Lets model-level code (undo replay, project loading) rebuild symbols and labels through Hooks().
void InstallObjectGlyphHooks();
void RemoveObjectGlyphHooks();

}  // namespace kavrix

#pragma once
// The type symbols of the device families: `CreateDeviceGlyphs` draws the 91 slots of TypeGlyphs
// that exist for the whole run (supply bars, outline pieces and every current family), the LNB
// picture of the main window, and the kind-to-slot lookup with the terminals of a kind's symbol.
// Composition of per-object symbols (model names, rotation) lives elsewhere and only copies these.
#include <QImage>
#include <QPoint>
#include <QRect>
#include <vector>

namespace kavrix {

// Slots of the building pieces.
constexpr int kSupplyBarH103 = 0;
constexpr int kSupplyBarV81 = 1;
constexpr int kSupplyBarH181 = 2;
constexpr int kSupplyBarV101 = 3;
constexpr int kSupplyBarH141 = 4;
constexpr int kOutlineRowPiece = 66;
constexpr int kOutlineHeadPiece = 67;
constexpr int kLnbSlot = 68;

// Draws the 91 slots in their fixed order (the pieces before the symbols that contain them).
// Drawing again replaces them.
void CreateDeviceGlyphs();

// The slots CreateDeviceGlyphs fills, in drawing order.
const std::vector<int>& DeviceGlyphSlots();

// The main window's LNB picture (`Image1`): 120 x 120, 8 bits per pixel, silver background, the
// four outputs at (60 +- 10, 100) and (60 +- 30, 100).
QImage LnbPicture();

// Slot of the type symbol a kind is drawn from, or -1 for a kind without one. Kinds of the obsolete
// families map to their slot even while it is released.
int TypeSlotOfKind(int kind);

// Terminal circles of the kind's type symbol (bounding boxes in symbol pixels, right and bottom
// excluded); empty while the slot is empty.
std::vector<QRect> KindTerminalRects(int kind);
// The same terminals as offsets of their centres from the symbol's centre point
// (width div 2, height div 2), the point an object's X, Y stands for; unrotated.
std::vector<QPoint> KindTerminalOffsets(int kind);

}  // namespace kavrix

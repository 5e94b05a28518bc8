#pragma once
// The drawing on paper and as a picture: the whole drawing rendered into one bitmap by the
// canvas's own DrawComponent, the printed pages as drawing operations (an overview page with the
// whole drawing fitted, a title and a cable legend, then the drawing at the print scale cut into
// page tiles) and the picture file. The window commands that ask for printer and file name live
// in drawing_print_commands.cpp.
#include <QImage>
#include <cstdint>
#include <string>
#include <utility>
#include <vector>

#include "platform/printer.hpp"
#include "symbols/canvas_surface.hpp"

namespace kavrix {

// Tile columns and rows of the last print.
extern int PrintPagesX;
extern int PrintPagesY;

// The largest drawing that is rendered whole, in pixels (1 GB of picture); a larger extent comes
// from coordinates no drawing has, and is refused instead of exhausting memory.
constexpr int64_t kMaxDrawingPixels = int64_t{1} << 28;

// The whole drawing at one pixel per drawing unit, on white: CalcDrawingExtent, then every row
// up to the end of the table drawn with DrawComponent in canvas coordinates. PrintBitmap, which
// the navigation view may hold, is left alone. Empty when the extent exceeds kMaxDrawingPixels.
Bitmap RenderWholeDrawing();

// The RF cable types 1..5 that the drawing's coax lines (kinds 201..203) and TV sockets (units
// digit of the Style) use, ascending. Fibre lines carry fibre types and add none.
std::vector<int> UsedRfCableTypes();

// Page tiles in drawing units: Round(page width / scale) by Round(page height x 0.98 / scale),
// at least 1; the columns and rows cover the extent with whole tiles.
struct PageTiling {
  int tileWidth = 1;
  int tileHeight = 1;
  int pagesX = 1;
  int pagesY = 1;
  bool tiled() const { return pagesX > 1 || pagesY > 1; }
};
PageTiling TileDrawing(platform::PageSize page, double printScale, int extentX, int extentY);

struct DrawingPrintInput {
  QImage drawing;            // one pixel per drawing unit; its size is the drawing's extent
  double printScale = 5.0;   // printer pixels per drawing unit
  std::string title;         // the canvas window's caption
  std::vector<std::pair<int, std::string>> legend;  // RF cable type and its name, in order
};

// Every page of the printout on pages of `page` device pixels: the overview, then one page per
// tile, row by row, when the drawing needs more than one tile.
std::vector<platform::PrintOp> DrawingPrintLayout(const DrawingPrintInput& in, platform::PageSize page);

// Renders the drawing and prints it on the job (begin to end of the document). Sets PrintPagesX
// and PrintPagesY. False with the reason in `error` when nothing or not all could be printed.
bool PrintDrawingOn(platform::PrintJob& job, const std::string& title, std::string* error);

// Writes the whole drawing as an 8-bit Windows bitmap. An existing file is replaced only by a
// complete picture. False with the reason in `error`.
bool ExportDrawingPicture(const std::string& path, std::string* error);

}  // namespace kavrix

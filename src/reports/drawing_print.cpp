#include "reports/drawing_print.hpp"

#include <QPainter>
#include <algorithm>
#include <array>

#include "model/committed_drawing.hpp"
#include "editor/canvas_paint.hpp"
#include "model/drawing_extent.hpp"
#include "model/network_model.hpp"
#include "model/number_text.hpp"
#include "model/price_rows.hpp"
#include "model/project_options.hpp"
#include "model/text_file.hpp"
#include "reports/print_ops.hpp"

namespace kavrix {

int PrintPagesX = 0;
int PrintPagesY = 0;

namespace {

using platform::PrintOp;
using Kind = PrintOp::Kind;
using print_ops::Font;
using print_ops::Op;
using print_ops::Pen;
using print_ops::Round;
using print_ops::Text;

// "Cables:" and one entry per cable type in use along the bottom of the overview. Entries keep
// their slot (half the page plus k tenths) unless the text before them reaches it; a legend too
// long for the page moves left as a whole, so every entry stays on the paper.
void AddLegend(std::vector<PrintOp>& ops, const DrawingPrintInput& in, platform::PageSize page, int font) {
  const int col = Round(page.widthPx / 10.0);
  const int y = Round(page.heightPx * 0.98);
  const int gap = std::max(1, col / 4);
  std::vector<std::pair<int, std::string>> items;
  items.emplace_back(Round((page.widthPx - col) / 2.0), "Cables:");
  int end = items.back().first + platform::PrintTextWidth(items.back().second, font, false);
  for (const auto& [k, name] : in.legend) {
    std::string text = std::to_string(k) + " - " + name;
    const int x = std::max(Round(page.widthPx / 2.0) + col * k, end + gap);
    end = x + platform::PrintTextWidth(text, font, false);
    items.emplace_back(x, std::move(text));
  }
  const int shift = std::clamp(end - page.widthPx, 0, items.front().first);
  for (const auto& [x, text] : items) ops.push_back(Text(x - shift, y, text));
}

void AddOverview(std::vector<PrintOp>& ops, const DrawingPrintInput& in, const PageTiling& t,
                 platform::PageSize page) {
  const int pw = page.widthPx, ph = page.heightPx;
  const int W = std::max(in.drawing.width(), 1), H = std::max(in.drawing.height(), 1);
  const int top = Round(ph * 0.02);
  const int font = Round(ph / 80.0);
  ops.push_back(Font(font));
  AddLegend(ops, in, page, font);

  // The picture fills the page's width or the band between the header and the legend, at one
  // scale in both directions, so the tile grid drawn over it at that scale meets its content.
  const int band = std::max(Round(ph * 0.98) - top, 1);
  double fit;
  int w, h;
  if (static_cast<double>(W) * band > static_cast<double>(pw) * H) {
    fit = static_cast<double>(pw) / W;
    w = pw;
    h = Round(H * fit);
  } else {
    fit = static_cast<double>(band) / H;
    w = Round(W * fit);
    h = band;
  }
  PrintOp picture = Op(Kind::Image, 0, top, w, top + h);
  picture.image = in.drawing;
  ops.push_back(picture);
  ops.push_back(Text(Round(pw / 2.4), Round(ph / 500.0), in.title));

  if (!t.tiled()) return;
  ops.push_back(Pen(1));
  const int stepX = Round(t.tileWidth * fit), stepY = Round(t.tileHeight * fit);
  // Column borders run from the header to the page's foot. A row border below the picture's
  // band (the bottom of the last row, past the drawing) is left out: it would strike through the
  // legend's text along its whole line.
  for (int i = 1; i <= t.pagesX; ++i) ops.push_back(Op(Kind::Line, stepX * i, top, stepX * i, ph));
  for (int j = 1; j <= t.pagesY && stepY * j <= band; ++j)
    ops.push_back(Op(Kind::Line, 0, stepY * j + top, pw, stepY * j + top));
  ops.push_back(Font(Round(t.tileHeight / 50.0 * fit)));
  for (int row = 0; row < t.pagesY; ++row) {
    for (int column = 1; column <= t.pagesX; ++column) {
      ops.push_back(Text(Round(((column - 1) * static_cast<double>(t.tileWidth) + 10) * fit),
                         Round((static_cast<double>(t.tileHeight) * row + 10) * fit) + top,
                         std::to_string(t.pagesX * row + column)));
    }
  }
}

// The part of the drawing under one tile, scaled onto the page below its header band. A tile
// that reaches past the drawing's edge shows only what the drawing holds; the rest stays paper.
void AddTileImage(std::vector<PrintOp>& ops, const DrawingPrintInput& in, const PageTiling& t, int row, int column,
                  platform::PageSize page) {
  const QRect tile(column * t.tileWidth, row * t.tileHeight, t.tileWidth, t.tileHeight);
  const QRect part = tile.intersected(in.drawing.rect());
  if (part.isEmpty()) return;
  const int top = Round(page.heightPx * 0.02) + 1;
  const double sx = static_cast<double>(page.widthPx) / t.tileWidth;
  const double sy = static_cast<double>(page.heightPx - top) / t.tileHeight;
  PrintOp op = Op(Kind::Image, Round((part.left() - tile.left()) * sx), top + Round((part.top() - tile.top()) * sy),
                  Round((part.right() + 1 - tile.left()) * sx), top + Round((part.bottom() + 1 - tile.top()) * sy));
  op.image = in.drawing;
  op.source = part;
  ops.push_back(op);
}

void AddTilePage(std::vector<PrintOp>& ops, const DrawingPrintInput& in, const PageTiling& t, int row, int column,
                 platform::PageSize page) {
  const int pw = page.widthPx, ph = page.heightPx;
  ops.push_back(Op(Kind::NewPage));
  ops.push_back(Pen(1));
  ops.push_back(Op(Kind::Rect, 0, 0, pw, ph));
  AddTileImage(ops, in, t, row, column, page);
  ops.push_back(Op(Kind::Rect, 0, 0, pw, Round(ph * 0.02)));
  ops.push_back(Font(Round(t.tileHeight / 60.0 * in.printScale)));
  ops.push_back(Text(Round(pw * 0.98), Round(ph / 500.0), in.title, true));
  ops.push_back(Text(Round(10 * in.printScale), 10, std::to_string(t.pagesX * row + column + 1)));
}

}  // namespace

Bitmap RenderWholeDrawing() {
  CalcDrawingExtent();
  const int w = std::max(DrawExtentX, 1), h = std::max(DrawExtentY, 1);
  if (static_cast<int64_t>(w) * h > kMaxDrawingPixels) return Bitmap();
  Bitmap drawing(w, h);
  for (std::size_t row = 0; row < NetObjects.size() && NetObjects[row][kKind] != 0; ++row)
    DrawComponent(static_cast<int>(row), drawing, 0, 0);
  return drawing;
}

std::vector<int> UsedRfCableTypes() {
  std::array<bool, kCableTypes + 1> used{};
  for (std::size_t r = 0; r < NetObjects.size() && NetObjects[r][kKind] != 0; ++r) {
    const ObjRow& o = NetObjects[r];
    int type = 0;
    if (o[kKind] >= 201 && o[kKind] <= 203) type = o[kStyle];
    else if (o[kKind] == 210) type = ((o[kStyle] % 10) + 10) % 10;
    if (type >= 1 && type <= kCableTypes) used[static_cast<std::size_t>(type)] = true;
  }
  std::vector<int> types;
  for (int k = 1; k <= kCableTypes; ++k)
    if (used[static_cast<std::size_t>(k)]) types.push_back(k);
  return types;
}

PageTiling TileDrawing(platform::PageSize page, double printScale, int extentX, int extentY) {
  PageTiling t;
  if (printScale > 0) {
    t.tileWidth = std::max(Round(page.widthPx / printScale), 1);
    t.tileHeight = std::max(Round(page.heightPx * 0.98 / printScale), 1);
  }
  // Rows are counted with the tile's own height, so no strip of the drawing falls between pages.
  t.pagesX = std::max(extentX, 0) / t.tileWidth + 1;
  t.pagesY = std::max(extentY, 0) / t.tileHeight + 1;
  return t;
}

std::vector<PrintOp> DrawingPrintLayout(const DrawingPrintInput& in, platform::PageSize page) {
  std::vector<PrintOp> ops;
  if (page.widthPx <= 0 || page.heightPx <= 0) return ops;
  const PageTiling t = TileDrawing(page, in.printScale, in.drawing.width(), in.drawing.height());
  AddOverview(ops, in, t, page);
  if (t.tiled()) {
    for (int row = 0; row < t.pagesY; ++row)
      for (int column = 0; column < t.pagesX; ++column) AddTilePage(ops, in, t, row, column, page);
  }
  return ops;
}

bool PrintDrawingOn(platform::PrintJob& job, const std::string& title, std::string* error) {
  const CommittedDrawing committed;  // only what is placed is printed
  auto fail = [&](const std::string& why) {
    if (error) *error = why;
    return false;
  };
  const platform::PageSize page = job.pageSize();
  if (page.widthPx <= 0 || page.heightPx <= 0) return fail("The drawing could not be printed: the printer reports no page.");
  const Bitmap drawing = RenderWholeDrawing();
  if (drawing.empty()) return fail("The drawing is too large to be printed.");
  DrawingPrintInput in;
  in.drawing = drawing.image();
  in.printScale = PrintScale;
  in.title = title;
  for (int k : UsedRfCableTypes()) in.legend.emplace_back(k, OptionControls.RfGrid[static_cast<std::size_t>(k)].type);
  const PageTiling t = TileDrawing(page, in.printScale, in.drawing.width(), in.drawing.height());
  PrintPagesX = t.pagesX;
  PrintPagesY = t.pagesY;
  const std::vector<PrintOp> ops = DrawingPrintLayout(in, page);
  if (!job.beginDoc(title)) return fail("The drawing could not be printed: the printer did not start.");
  platform::PlayPrintOps(job, ops);
  if (!job.endDoc()) return fail("The drawing could not be printed completely.");
  return true;
}

bool ExportDrawingPicture(const std::string& path, std::string* error) {
  const CommittedDrawing committed;
  const Bitmap drawing = RenderWholeDrawing();
  if (drawing.empty()) {
    if (error) *error = "The drawing is too large to be saved as a picture.";
    return false;
  }
  const QByteArray bytes = EncodeBitmap8(drawing);
  return WriteFileSafely(path, std::string(bytes.constData(), static_cast<std::size_t>(bytes.size())), error);
}

}  // namespace kavrix

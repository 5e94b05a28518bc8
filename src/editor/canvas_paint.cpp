// Painting of the canvas: the back buffer rebuilt from the object rows, the cables of a line with
// their colours and length labels, page borders, the marks a run leaves and their blinking, and
// the hit test. Symbols are drawn from a per-row opaque-span mask that is computed once per
// symbol bitmap, so a repaint only copies pixels.
#include "editor/canvas_paint.hpp"

#include <QAction>
#include <QPaintEvent>
#include <QPainter>
#include <QPlainTextEdit>
#include <QScrollBar>
#include <algorithm>
#include <cstdlib>
#include <string>
#include <vector>

#include "app/forms.hpp"
#include "app/main_window.hpp"
#include "catalogue/geometry.hpp"
#include "catalogue/port_templates.hpp"
#include "catalogue/type_catalogue.hpp"
#include "editor/canvas_state.hpp"
#include "editor/canvas_window.hpp"
#include "model/drawing_extent.hpp"
#include "model/network_model.hpp"
#include "model/number_text.hpp"
#include "model/object_rows.hpp"
#include "model/project_options.hpp"
#include "model/run_records.hpp"
#include "model/undo_ring.hpp"
#include "simulation/window/analyzer_window.hpp"
#include "symbols/glyph_store.hpp"

namespace kavrix {

Bitmap PrintBitmap;

const std::array<TColor, 15> LevelColors = {
    colors::kBlack,                                                                    // unused
    colors::kGreen, colors::kYellow, colors::kGrey, colors::kRed, colors::kBlack, colors::kWhite, colors::kBlack,
    colors::kGrey, colors::kGreen, colors::kRed, colors::kYellow, colors::kBlack, colors::kWhite, colors::kBlack,
};

TColor CableColour(int digit, int cable) {
  const int i = 7 * (digit - 1) + cable;
  return (i >= 1 && i <= 14) ? LevelColors[static_cast<std::size_t>(i)] : colors::kBlack;
}

namespace {

constexpr TColor kCrossoverMark = 0xF0CAA6;  // light blue A6CAF0
constexpr int kCrossoverPen = 2 * kTrunkPenReach;  // the widest pen along a cable
constexpr int kDotRadius = 3;

int Sgn(int v) { return (v > 0) - (v < 0); }
bool IsLineKind(int kind) { return kind >= 201 && kind <= 209; }
bool HasSymbol(int kind) { return (kind >= 1 && kind <= 199) || kind == 210; }
int CanvasTag() { return Form5 ? Form5->Tag : kCanvasIdle; }
const ObjRow& RowOrZero(int row) {
  static const ObjRow zero{};
  return ValidObjRow(row) ? NetObjects[static_cast<std::size_t>(row)] : zero;
}

void Dot(Canvas& c, int x, int y) { c.ellipse(x - kDotRadius, y - kDotRadius, x + kDotRadius, y + kDotRadius); }

// ---- symbol masks

// A run of opaque pixels on one line of a symbol.
struct Span {
  int32_t y;
  int32_t x;
  int32_t len;
};

struct GlyphMask {
  qint64 key = 0;  // cacheKey of the symbol image the spans were taken from
  std::vector<Span> spans;
};

std::vector<GlyphMask>& MaskCache() {
  static std::vector<GlyphMask> cache;
  return cache;
}

// The opaque spans of row `row`'s symbol. Any write to the symbol's pixels (labels drawn into it,
// a new symbol stored) gives its image a new cache key, so a stale mask is never used.
const std::vector<Span>& OpaqueSpans(int row, const Bitmap& glyph) {
  auto& cache = MaskCache();
  if (cache.size() <= static_cast<std::size_t>(row)) cache.resize(static_cast<std::size_t>(row) + 1);
  GlyphMask& m = cache[static_cast<std::size_t>(row)];
  const QImage& img = glyph.image();
  if (m.key == img.cacheKey()) return m.spans;
  m.key = img.cacheKey();
  m.spans.clear();
  const bool keyed = glyph.transparent();
  const QRgb key = ToRgb(glyph.transparentColor()) | 0xFF000000u;
  const int w = img.width();
  for (int y = 0; y < img.height(); ++y) {
    const auto* line = reinterpret_cast<const QRgb*>(img.constScanLine(y));
    int x = 0;
    while (x < w) {
      if (keyed)
        while (x < w && (line[x] | 0xFF000000u) == key) ++x;
      const int start = x;
      while (x < w && !(keyed && (line[x] | 0xFF000000u) == key)) ++x;
      if (x > start) m.spans.push_back({y, start, x - start});
    }
  }
  return m.spans;
}

// Draws the symbol of `row` with its top-left corner at (x, y); a silhouette paints its opaque
// pixels black.
void DrawGlyph(Bitmap& target, int row, int x, int y, bool silhouette) {
  const Bitmap& glyph = ObjGlyphAt(row);
  if (glyph.empty() || target.empty()) return;
  QImage& dst = target.image();
  const int dw = dst.width(), dh = dst.height();
  if (x >= dw || y >= dh || x + glyph.width() <= 0 || y + glyph.height() <= 0) return;
  const std::vector<Span>& spans = OpaqueSpans(row, glyph);
  const QImage& src = glyph.image();
  uchar* bits = dst.bits();
  const qsizetype bpl = dst.bytesPerLine();
  for (const Span& s : spans) {
    const int dy = y + s.y;
    if (dy < 0 || dy >= dh) continue;
    const int x0 = std::max(x + s.x, 0), x1 = std::min(x + s.x + s.len, dw);
    if (x0 >= x1) continue;
    auto* out = reinterpret_cast<QRgb*>(bits + dy * bpl);
    if (silhouette) {
      std::fill(out + x0, out + x1, 0xFF000000u);
    } else {
      const auto* in = reinterpret_cast<const QRgb*>(src.constScanLine(s.y)) + (x0 - x);
      for (int i = x0; i < x1; ++i) out[i] = *in++ | 0xFF000000u;
    }
  }
}

// ---- cables

TColor PenColourOf(int digit, int cable) { return InSelectionDraw == 1 ? colors::kBlack : CableColour(digit, cable); }

// `flip` is +1 for orientations 1 and 2 and -1 for 3 and 4, which turn every offset correction.
void CableVerticalFirst(int X, int Y, int L1, int L2, int L3, int L4, int off, int cable, int sd, int ed, int thr,
                        int pw, bool always, int flip, Canvas& c) {
  const TColor startColour = PenColourOf(sd, cable);
  c.pen = Pen{startColour, pw, PenStyle::Solid};
  c.moveTo(X + off, Y);
  const bool cross = cable < 5 && sd != ed;
  const bool leg2 = std::abs(L2) > thr;
  const int corner1 = Y + L1 - flip * Sgn(L2) * off;
  int m = 0;
  if (cross) {
    m = leg2 ? corner1 : Y + static_cast<int>(RoundHalfEven(L1 / 2.0));
    c.lineTo(X + off, m);
  }
  c.pen.color = PenColourOf(ed, cable);
  c.lineTo(X + off, leg2 ? corner1 : Y + L1);
  const int x2 = X + L2 + flip * Sgn(L3) * off;
  if (leg2 || always) c.lineTo(x2, corner1);
  const int y3 = Y + L1 + L3 - flip * Sgn(L4) * off;
  if (std::abs(L3) > thr || always) c.lineTo(x2, y3);
  if (std::abs(L4) > thr || always) c.lineTo(X + L2 + L4, y3);
  c.pen = Pen{};
  Dot(c, c.penPos().x(), c.penPos().y());
  c.brush.color = L1 == 0 ? startColour : colors::kWhite;
  Dot(c, X + off, Y);
  if (cross) {
    c.pen = Pen{kCrossoverMark, kCrossoverPen, PenStyle::Solid};
    c.line(X + off, m, X, leg2 ? Y + L1 : m);
  }
}

void CableHorizontalFirst(int X, int Y, int L1, int L2, int L3, int L4, int off, int cable, int sd, int ed, int thr,
                          int pw, bool always, int flip, Canvas& c) {
  const TColor startColour = PenColourOf(sd, cable);
  c.pen = Pen{startColour, pw, PenStyle::Solid};
  c.moveTo(X, Y - off);
  const bool cross = cable < 5 && sd != ed;
  const bool leg1 = std::abs(L1) > thr;
  const int corner1 = X + L2 + flip * Sgn(L1) * off;
  int m = 0;
  if (cross) {
    m = leg1 ? corner1 : X + static_cast<int>(RoundHalfEven(L2 / 2.0));
    c.lineTo(m, Y - off);
  }
  c.pen.color = PenColourOf(ed, cable);
  c.lineTo(leg1 ? corner1 : X + L2, Y - off);
  const int y2 = Y + L1 - flip * Sgn(L4) * off;
  if (leg1 || always) c.lineTo(corner1, y2);
  const int x3 = X + L2 + L4 + flip * Sgn(L3) * off;
  if (std::abs(L4) > thr || always) c.lineTo(x3, y2);
  if (std::abs(L3) > thr || always) c.lineTo(x3, Y + L1 + L3);
  c.pen = Pen{};
  Dot(c, c.penPos().x(), c.penPos().y());
  c.brush.color = L2 == 0 ? startColour : colors::kWhite;
  Dot(c, X, Y - off);
  if (cross) {
    c.pen = Pen{kCrossoverMark, kCrossoverPen, PenStyle::Solid};
    c.line(m, Y - off, leg1 ? X + L2 : m, Y);
  }
}

// ---- placement guides of the armed kind

void DrawPlacementGuides(Canvas& c, int kind, int orient, int x, int y) {
  const TypeRecord& t = TypeOf(kind);
  const int first = t[kFirstTemplateRow];
  if (first <= 0 || first >= kTemplateRowCount) return;
  const int hw = t[kHalfWidth], hh = t[kHalfHeight];
  c.pen = Pen{colors::kLightGrey, 1, PenStyle::Solid};
  auto guide = [&](int dx, int dy) {
    if (std::abs(dx) >= 1000000 || std::abs(dy) >= 1000000) return;  // no such pin
    int side = 0;
    if (dy < -hh) side = 1;
    if (dx < -hw) side = 2;
    if (dy > hh) side = 3;
    if (dx > hw) side = 4;
    if (side == 0) return;  // a pin inside the body gets no guide
    Point p{dx, dy};
    RotatePoint(dx, dy, orient, p);
    if (orient >= 1 && orient <= 4) side += orient - 1;
    if (side > 4) side -= 4;
    const Point from{x + p.x, y + p.y};
    static constexpr Point kOut[5] = {{0, 0}, {0, -1000}, {-1000, 0}, {0, 1000}, {1000, 0}};
    c.line(from.x, from.y, from.x + kOut[side].x, from.y + kOut[side].y);
  };
  int ref = first;
  for (int i = first; i < kTemplateRowCount; ++i) {
    const TemplateRow& r = PortTemplates[static_cast<std::size_t>(i)];
    const int diff = r[kTplCode] - PortTemplates[static_cast<std::size_t>(ref)][kTplCode];
    if (std::abs(diff) >= 110 && diff != -996) break;
    if (std::abs(diff) >= 100 && std::abs(diff) <= 109) ref = i;
    guide(r[kTplInDx], r[kTplInDy]);
    if (r[kTplOutDx] >= 1000000) continue;
    const int code = r[kTplCode];
    if ((kind == 26 && code >= 26200) || (kind == 27 && code >= 26400) || (kind == 78 && code >= 77400)) continue;
    guide(r[kTplOutDx], r[kTplOutDy]);
  }
}

// ---- lines

// Points this far out reach no bitmap. Rows from a damaged file may hold any Integer; keeping
// drawn points inside this range leaves the sums of cable offsets and labels within an int.
constexpr long long kFarOut = 1LL << 30;
bool WithinReach(long long v) { return v > -kFarOut && v < kFarOut; }

// Whether anything of a line drawn from (x, y) can reach the target: its corners, cable offsets,
// dots and length labels all lie within `margin` of the corner box.
bool LineMayShow(const Bitmap& target, int x, int y, const LineLegs& legs, int labelChars) {
  const long long xs[3] = {x, static_cast<long long>(x) + legs.h1, static_cast<long long>(x) + legs.h1 + legs.h2};
  const long long ys[3] = {y, static_cast<long long>(y) + legs.v1, static_cast<long long>(y) + legs.v1 + legs.v2};
  for (int i = 0; i < 3; ++i)
    if (!WithinReach(xs[i]) || !WithinReach(ys[i])) return false;
  const long long margin = 60 + 12 * labelChars;
  const long long l = *std::min_element(xs, xs + 3) - margin, r = *std::max_element(xs, xs + 3) + margin;
  const long long t = *std::min_element(ys, ys + 3) - margin, b = *std::max_element(ys, ys + 3) + margin;
  return r >= 0 && b >= 0 && l < target.width() && t < target.height();
}

// Single cables and fibre keep the orientation that matches their first non-empty leg. With
// neither leg drawn yet (a line armed or just started) there is nothing to match: flipping then
// would turn the line at every paint, and its route would depend on how often the pointer moved.
void NormaliseCableOrient(int row) {
  const int kind = NetObjects[static_cast<std::size_t>(row)][kKind];
  if (kind != 203 && kind != 205) return;
  const LineLegs legs = LineLegs::Of(RowOrZero(row + 1));
  if (legs.v1 == 0 && legs.h1 == 0) return;
  int& stored = NetObjects[static_cast<std::size_t>(row)][kOrient];
  if ((stored == 1 || stored == 3) && legs.v1 == 0) stored += 1;
  else if ((stored == 2 || stored == 4) && legs.h1 == 0) stored -= 1;
}

// Characters of v written in decimal.
int Digits(int v) {
  int n = v < 0 ? 2 : 1;
  for (long long a = v < 0 ? -static_cast<long long>(v) : v; a >= 10; a /= 10) ++n;
  return n;
}

using CableDrawer = void (*)(int, int, int, int, int, int, int, int, int, int, int, int, bool, Canvas&);

void DrawLine(int row, const ObjRow& r, int x, int y, Bitmap& target, Canvas& c) {
  const int kind = r[kKind];
  const ObjRow& cont = RowOrZero(row + 1);
  const LineLegs legs = LineLegs::Of(cont);
  const int orient = r[kOrient];
  if (target.empty() || !LineMayShow(target, x, y, legs, Digits(r[kInst]) + Digits(r[kStyle]) + 2)) return;
  const std::string inst = std::to_string(r[kInst]), style = std::to_string(r[kStyle]);

  const int L1 = legs.v1, L2 = legs.h1, L3 = legs.v2, L4 = legs.h2, c5 = cont[kLineRoute];
  static constexpr CableDrawer kDrawers[5] = {nullptr, DrawCableOrient1, DrawCableOrient2, DrawCableOrient3,
                                              DrawCableOrient4};
  if (kind == 201 || kind == 202) {
    const CableDrawer draw = (orient >= 1 && orient <= 4) ? kDrawers[orient] : nullptr;
    const int side = orient <= 2 ? 1 : -1;
    const int sd = RouteAtStart(c5), ed = RouteAtEnd(c5);
    if (draw && kind == 201) {
      for (int k = 1; k <= 6; ++k)
        draw(x, y, L1, L2, L3, L4, side * kTrunk5CableOffsets[k - 1], k, sd, ed, 39, k == 6 ? 2 : 4, false, c);
    } else if (draw) {
      for (int k = 1; k <= 4; ++k)
        draw(x, y, L1, L2, L3, L4, side * kTrunk4CableOffsets[k - 1], k, sd, ed, 29, 4, false, c);
    }
  } else if (kind == 203 || kind == 205) {
    const CableDrawer draw = (orient == 1 || orient == 3) ? DrawCableOrient1
                             : (orient == 2 || orient == 4) ? DrawCableOrient2
                                                            : nullptr;
    auto cable = [&](int number, int width) {
      if (draw) draw(x, y, L1, L2, L3, L4, 0, number, 1, 1, 0, width, true, c);
    };
    if (kind == 203) {
      if (c5 < 10) {
        cable(c5, 4);
        if (c5 == 5) cable(6, 2);
      } else if (c5 > 10) {
        cable(5, 4);
        cable(c5 - 10, 2);
      }
    } else if (c5 < 10) {
      cable(2, 6);
      if (c5 == 8) cable(7, 2);
    }
  }
  c.pen.width = 1;

  c.brush = Brush{};
  if ((orient == 1 || orient == 3) && L1 != 0) {
    const int s = Sgn(L1);
    if (kind >= 203) {
      c.textOut(x - 7, y - 12 + 15 * s, inst + "m");
      c.textOut(x - 5, y + 15 * s, "-" + style);
    } else {
      c.textOut(x - 14, y - 5 + 15 * s, inst + "m-" + style);
    }
  }
  if ((orient == 2 || orient == 4) && L2 != 0) c.textOut(x - 13 + 23 * Sgn(L2), y - 6, inst + "m-" + style);
}

}  // namespace

void DrawCableOrient1(int X, int Y, int L1, int L2, int L3, int L4, int offset, int cable, int startDigit,
                      int endDigit, int threshold, int penWidth, bool always, Canvas& target) {
  CableVerticalFirst(X, Y, L1, L2, L3, L4, offset, cable, startDigit, endDigit, threshold, penWidth, always, 1,
                     target);
}

void DrawCableOrient3(int X, int Y, int L1, int L2, int L3, int L4, int offset, int cable, int startDigit,
                      int endDigit, int threshold, int penWidth, bool always, Canvas& target) {
  CableVerticalFirst(X, Y, L1, L2, L3, L4, offset, cable, startDigit, endDigit, threshold, penWidth, always, -1,
                     target);
}

void DrawCableOrient2(int X, int Y, int L1, int L2, int L3, int L4, int offset, int cable, int startDigit,
                      int endDigit, int threshold, int penWidth, bool always, Canvas& target) {
  CableHorizontalFirst(X, Y, L1, L2, L3, L4, offset, cable, startDigit, endDigit, threshold, penWidth, always, 1,
                       target);
}

void DrawCableOrient4(int X, int Y, int L1, int L2, int L3, int L4, int offset, int cable, int startDigit,
                      int endDigit, int threshold, int penWidth, bool always, Canvas& target) {
  CableHorizontalFirst(X, Y, L1, L2, L3, L4, offset, cable, startDigit, endDigit, threshold, penWidth, always, -1,
                       target);
}

void DrawComponent(int row, Bitmap& target) {
  if (&target == &PrintBitmap) DrawComponent(row, target, 0, 0);
  else DrawComponent(row, target, ScrollX, ScrollY);
}

void DrawComponent(int row, Bitmap& target, int originX, int originY) {
  if (!ValidObjRow(row)) return;
  const ObjRow r = NetObjects[static_cast<std::size_t>(row)];
  const int kind = r[kKind];
  if (kind < 1) return;
  // This paint still draws with the orientation the row had.
  NormaliseCableOrient(row);
  long long x64 = static_cast<long long>(r[kX]) - originX, y64 = static_cast<long long>(r[kY]) - originY;
  if (CanvasTag() == kCanvasMoving && InSelectionDraw == 1) {
    x64 += MoveDelta.X;
    y64 += MoveDelta.Y;
  }
  if (!WithinReach(x64) || !WithinReach(y64)) return;
  const int x = static_cast<int>(x64), y = static_cast<int>(y64);
  Canvas c(target);
  c.brush = Brush{};
  if (kind == PendingKind && kind < 200 && kind != 98 && kind != 100) DrawPlacementGuides(c, kind, r[kOrient], x, y);
  if (HasSymbol(kind)) {
    const Bitmap& g = ObjGlyphAt(row);
    // Selected devices show as black silhouettes of their symbol.
    DrawGlyph(target, row, x - g.width() / 2, y - g.height() / 2, InSelectionDraw == 1);
    return;
  }
  if (IsLineKind(kind)) DrawLine(row, r, x, y, target, c);
}

void DrawGrid(Bitmap& target, int clientWidth, int clientHeight) {
  Canvas c(target);
  c.pen = Pen{colors::kBlue, 1, PenStyle::Solid};
  // Lines left of or above the window draw nothing, so the walk starts at the first visible one.
  if (PageWidthPx > 0) {
    for (int k = std::max(1, ScrollX / PageWidthPx); k * PageWidthPx - ScrollX < clientWidth; ++k) {
      const int x = k * PageWidthPx - ScrollX;
      if (x >= 0) c.line(x, std::max(-ScrollY, -1), x, clientHeight);
    }
  }
  if (PageHeightPx > 0) {
    for (int k = std::max(1, ScrollY / PageHeightPx); k * PageHeightPx - ScrollY < clientHeight; ++k) {
      const int y = k * PageHeightPx - ScrollY;
      if (y >= 0) c.line(std::max(-ScrollX, -1), y, clientWidth, y);
    }
  }
}

int HitTestComponent(int x, int y) {
  // Objects hidden under the Analyzer window cannot be picked.
  if (Form4 && Form5 && Form4->isVisible() && !Form4->isMinimized() && !Form4->isMaximized()) {
    const QRect g = Form4->frameGeometry();
    const QPoint origin = Form5->mapToGlobal(QPoint(0, 0));
    const int left = g.left() - origin.x() + ScrollX, top = g.top() - origin.y() + ScrollY;
    if (x > left && x < left + g.width() && y > top && y < top + g.height()) return -1;
  }
  for (std::size_t i = 0; i < NetObjects.size() && NetObjects[i][kKind] != 0; ++i) {
    const ObjRow& r = NetObjects[i];
    const int kind = r[kKind];
    if (kind <= 0) continue;
    const bool line = IsLineKind(kind);
    if (!line && ObjGlyphAt(static_cast<int>(i)).empty()) continue;
    // Wide enough for rows of a damaged file far from the point.
    long long dx = static_cast<long long>(x) - r[kX], dy = static_cast<long long>(y) - r[kY];
    if (r[kOrient] == 2 || r[kOrient] == 4) {
      dx = static_cast<long long>(r[kY]) - y;
      dy = static_cast<long long>(x) - r[kX];
    }
    if (line) {
      // A line is picked near its start, 18 pixels along its first leg.
      dy -= 18 * Sgn(LineLegs::Of(RowOrZero(static_cast<int>(i) + 1)).first(r[kOrient]));
    }
    const TypeRecord& t = TypeOf(kind);
    if (std::llabs(dx) < t[kHalfWidth] && std::llabs(dy) < t[kHalfHeight]) return static_cast<int>(i);
  }
  return -1;
}

// ---- the canvas window's painting

TColor TForm5::MarkColour(int kind, int phase, TColor under, TColor current) {
  if (kind == 1) return phase == 0 ? colors::kBlue : (under == colors::kRed ? colors::kRed : colors::kWhite);
  if (kind == 2) return phase == 1 ? colors::kRed : (under == colors::kBlue ? colors::kBlue : colors::kWhite);
  return current;
}

std::optional<TColor> TForm5::StatusColour(int digit, int phase) {
  if (digit >= 5 && digit <= 8) return phase == 1 ? colors::kBlue : colors::kWhite;
  if (digit == 4) return phase == 1 ? colors::kBlue : colors::kRed;
  if (digit >= 1 && digit <= 3) return phase == 1 ? colors::kRed : colors::kWhite;
  return std::nullopt;
}

bool TForm5::HasBlinkMarks() {
  if (LevelMarks[0].X != 0 || LevelMarks[0].Y != 0) return true;
  for (std::size_t i = 0; i + 1 < Links.size(); ++i) {
    const int t = TerrStatusOf(Links[i][kLinkStatus]), u = SatStatusOf(Links[i][kLinkStatus]);
    if ((t >= 1 && t <= 8) || (u >= 1 && u <= 8)) return true;
  }
  return false;
}

void TForm5::Timer2Timer() {
  BlinkPhase = 1 - BlinkPhase;
  // Without marks a blink would repaint an unchanged picture.
  if (HasBlinkMarks()) Repaint();
  Timer2->setInterval(300);
}

void TForm5::Repaint() {
  FormPaint();
  m_bufferFresh = true;
  repaint();
  m_bufferFresh = false;
}

void TForm5::paintEvent(QPaintEvent*) {
  if (!m_bufferFresh) FormPaint();
  QPainter p(this);
  const QRect client(0, 0, ClientWidth(), ClientHeight());
  if (!BackBuffer.empty()) p.drawImage(QPoint(0, 0), BackBuffer.image(), client);
  // The corner between the two scroll bars belongs to neither.
  if (client.width() < width() && client.height() < height())
    p.fillRect(QRect(client.right() + 1, client.bottom() + 1, width(), height()), palette().window());
}

void TForm5::FormPaint() {
  if (ProjectModified && Memo1 && Memo1->width() == 600) {
    Memo1->hide();
    Memo1->resize(200, Memo1->height());
  }
  SyncScrollBars();
  ScrollX = SnapToGrid(HorzScrollBar ? HorzScrollBar->value() : 0, GridStep);
  ScrollY = SnapToGrid(VertScrollBar ? VertScrollBar->value() : 0, GridStep);
  if (BackBuffer.empty()) return;  // the program is ending
  const int w = ClientWidth(), h = ClientHeight();
  if (BackBuffer.width() < w || BackBuffer.height() < h)
    BackBuffer.setSize(std::max(BackBuffer.width(), w + 100), std::max(BackBuffer.height(), h + 100));
  Canvas bb(BackBuffer);
  bb.brush.color = static_cast<TColor>(CanvasColor);
  bb.fillRect(0, 0, BackBuffer.width(), BackBuffer.height());
  if (IsNavigation(Tag)) {
    PaintOverview(bb);
  } else {
    PaintDrawing(bb, w, h);
  }
  UpdateUndoButton();
}

void TForm5::PaintOverview(Canvas& bb) {
  const Bitmap overview = Bitmap::FromImage(Overview);
  bb.stretchDraw(0, 0, static_cast<int>(RoundHalfEven(DrawExtentX * ZoomFactor)),
                 static_cast<int>(RoundHalfEven(DrawExtentY * ZoomFactor)), overview);
  bb.pen = Pen{colors::kBlue, 1, PenStyle::Dash};
  bb.brush.style = BrushStyle::Clear;
  bb.rectangle(BoxPos.X, BoxPos.Y, BoxPos.X + BoxSize.X, BoxPos.Y + BoxSize.Y);
  bb.pen = Pen{};
  bb.brush = Brush{};
}

void TForm5::PaintDrawing(Canvas& bb, int w, int h) {
  // Paint window in canvas coordinates: objects within 200 pixels of the view are drawn. It
  // reaches left of and above the origin too, so objects placed on the top or left edge show.
  const int left = ScrollX - 200, top = ScrollY - 200;
  const int right = w + ScrollX + 200, bottom = h + ScrollY + 200;
  auto inside = [&](int x, int y) { return x > left && x < right && y > top && y < bottom; };

  if (OptionControls.CheckBox1) DrawGrid(BackBuffer, w, h);
  bb.brush = Brush{};
  if (Tag == kCanvasSelecting || Tag == kCanvasSelected) {
    bb.pen = Pen{colors::kWhite, 1, PenStyle::Solid};
    bb.brush.style = BrushStyle::Clear;
    bb.rectangle(SelFrame.Left, SelFrame.Top, SelFrame.Right, SelFrame.Bottom);
    bb.pen = Pen{};
    bb.brush = Brush{};
  }

  for (std::size_t i = 0; i < NetObjects.size() && NetObjects[i][kKind] != 0; ++i) {
    const ObjRow& r = NetObjects[i];
    const int kind = r[kKind];
    InSelectionDraw = (Tag > 0 && r[kX] > SelRect.Left && r[kX] < SelRect.Right && r[kY] > SelRect.Top &&
                       r[kY] < SelRect.Bottom && SelRect.Right - SelRect.Left > 10)
                          ? 1
                          : 0;
    if (!((kind > 0 && inside(r[kX], r[kY])) || IsLineKind(kind) || InSelectionDraw == 1)) continue;
    if (InSelectionDraw == 1 && CopyNotMove == 1) {
      // A copy leaves the original where it is.
      InSelectionDraw = 0;
      DrawComponent(static_cast<int>(i), BackBuffer);
      InSelectionDraw = 1;
    }
    DrawComponent(static_cast<int>(i), BackBuffer);
  }
  // Other callers of DrawComponent (printing, the popup) draw rows as they are.
  InSelectionDraw = 0;

  if (Form1Tag == kMainLevelsShown) PaintRunResults(bb, inside);
  if (Timer2 && Timer2->isActive()) PaintBlinkMarks(bb);
}

void TForm5::PaintRunResults(Canvas& bb, const std::function<bool(int, int)>& inside) {
  bb.pen = Pen{};
  bb.brush.color = colors::kGreen;
  // Ports that carry a level.
  for (std::size_t n = 0; n + 1 < Nodes.size() && Nodes[n][kNodeCode] != 0; ++n) {
    const NodeRow& node = Nodes[n];
    const int code = node[kNodeCode];
    int firstPort = 1, lastPort = 5;
    if (code == 58000 || code == 59005) firstPort = 0;
    if (code == 925) lastPort = 1;
    for (int k = firstPort; k <= lastPort; ++k) {
      const int px = node[PinX(k)], py = node[PinY(k)];
      if (!inside(px, py) || n >= NodeSpectra.size()) continue;
      const double low = NodeSpectra(n, k, kSpectrumMin);
      if (low > -10000 && low < 10000) Dot(bb, px - ScrollX, py - ScrollY);
    }
  }
  // Outlet points of the sockets: green within the limits, white when not evaluated.
  for (const LinkRow& l : Links) {
    if (l[kLinkObject] == 0) break;
    if (!inside(l[kLinkSatX], l[kLinkSatY])) continue;
    const int u = SatStatusOf(l[kLinkStatus]), t = TerrStatusOf(l[kLinkStatus]);
    if (u == kStatusWithin) bb.brush.color = colors::kGreen;
    if (u == kStatusNone) bb.brush.color = colors::kWhite;
    Dot(bb, l[kLinkSatX] - ScrollX, l[kLinkSatY] - ScrollY);
    if (t == kStatusWithin) bb.brush.color = colors::kGreen;
    if (t == kStatusNone) bb.brush.color = colors::kWhite;
    Dot(bb, l[kLinkTerrX] - ScrollX, l[kLinkTerrY] - ScrollY);
  }
  bb.brush.color = colors::kWhite;
}

void TForm5::PaintBlinkMarks(Canvas& bb) {
  // Colours depend on the pixel already under a mark, marks drawn just before included, so the
  // marks are read from and drawn into the back buffer in list order.
  bb.pen = Pen{};
  for (int i = 0; i < kLevelMarkCount; ++i) {
    const LevelMark& m = LevelMarks[static_cast<std::size_t>(i)];
    if (m.X == 0 && m.Y == 0) break;
    const int x = m.X - ScrollX, y = m.Y - ScrollY;
    bb.brush.color = MarkColour(m.Kind, BlinkPhase, bb.pixel(x, y), bb.brush.color);
    Dot(bb, x, y);
  }
  for (std::size_t i = 0; i + 1 < Links.size(); ++i) {
    const LinkRow& l = Links[i];
    const int t = TerrStatusOf(l[kLinkStatus]), u = SatStatusOf(l[kLinkStatus]);
    if (const auto colour = StatusColour(t, BlinkPhase)) {
      bb.brush.color = *colour;
      Dot(bb, l[kLinkTerrX] - ScrollX, l[kLinkTerrY] - ScrollY);
    }
    if (const auto colour = StatusColour(u, BlinkPhase)) {
      bb.brush.color = *colour;
      Dot(bb, l[kLinkSatX] - ScrollX, l[kLinkSatY] - ScrollY);
    }
  }
}

void TForm5::UpdateUndoButton() {
  if (!Form1 || !Form1->ToolButton91) return;
  const int p = UndoPos;
  bool enabled;
  if (p > 0) enabled = UndoRing[static_cast<std::size_t>(p - 1)][kUndoKindField] != 0;
  else if (UndoRing[0][kUndoSerial] == 0) enabled = false;
  else enabled = UndoRing[0][kUndoSerial] < 0 || UndoRing[kUndoLast][kUndoKindField] != 0;
  Form1->ToolButton91->setEnabled(enabled);
}

}  // namespace kavrix

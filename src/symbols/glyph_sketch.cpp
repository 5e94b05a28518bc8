#include "symbols/glyph_sketch.hpp"

namespace kavrix::glyph_sketch {

Lead SatColour(int index, const Lead (&order)[4]) { return order[((index % 4) + 4) % 4]; }

Sketch::Sketch(int width, int height, Background bg) : bmp(width, height), c(bmp), W(width), H(height) {
  if (bg == Background::Silver) {
    c.brush.color = colors::kSilver;
    c.floodFill(1, 1, colors::kSilver, FillStyle::Border);
  }
  bmp.setTransparent(bg != Background::White);
  c.brush.color = colors::kWhite;
}

void Sketch::body(int l, int t, int r, int b) {
  c.pen = Pen{colors::kBlack, 2, PenStyle::Solid};
  c.brush.color = colors::kWhite;
  c.rectangle(l, t, r, b);
}

void Sketch::inner2(int l, int t, int r, int b) {
  c.pen = Pen{colors::kGrayText, 2, PenStyle::Solid};
  c.brush.color = colors::kWhite;
  c.rectangle(l + 3, t + 3, r - 3, b - 3);
  c.pen = Pen{};
}

void Sketch::inner1(int l, int t, int r, int b) {
  c.pen = Pen{colors::kGrayText, 1, PenStyle::Solid};
  c.brush.color = colors::kWhite;
  c.rectangle(l + 2, t + 2, r - 3, b - 3);
  c.pen = Pen{};
}

void Sketch::arrow(int x, int y, Dir d, TColor color) {
  c.pen = Pen{color, 1, PenStyle::Solid};
  c.brush.color = color;
  switch (d) {
    case Dir::Down: c.polygon({{x - 4, y}, {x + 4, y}, {x, y + 4}}); break;
    case Dir::Up: c.polygon({{x - 4, y}, {x + 4, y}, {x, y - 4}}); break;
    case Dir::Left: c.polygon({{x, y - 4}, {x, y + 4}, {x - 4, y}}); break;
    case Dir::Right: c.polygon({{x, y - 4}, {x, y + 4}, {x + 4, y}}); break;
  }
  c.brush.color = colors::kWhite;
  c.pen = Pen{};
}

namespace {
TColor LeadColour(Lead k) {
  switch (k) {
    case Lead::Green: return colors::kGreen;
    case Lead::Yellow: return colors::kYellow;
    case Lead::Grey: return colors::kGrey;
    case Lead::Red: return colors::kRed;
    case Lead::Accessory: return colors::kGrey;
    case Lead::Fibre: return colors::kYellow;
    case Lead::Purple: return colors::kPurple;
    case Lead::Olive: return colors::kOlive;
    default: return colors::kBlack;
  }
}
}  // namespace

void Sketch::leadPath(const std::vector<QPoint>& pts, Lead kind) {
  if (pts.size() < 2) return;
  auto stroke = [&](TColor col, int w) {
    c.pen = Pen{col, w, PenStyle::Solid};
    c.moveTo(pts[0].x(), pts[0].y());
    for (std::size_t i = 1; i < pts.size(); ++i) c.lineTo(pts[i].x(), pts[i].y());
  };
  stroke(LeadColour(kind), kind == Lead::Fibre ? 6 : 4);
  if (kind == Lead::Terr) stroke(colors::kWhite, 2);
  if (kind == Lead::OliveCore) stroke(colors::kOlive, 2);
  if (kind == Lead::Fibre) stroke(colors::kBlack, 2);
  c.pen = Pen{};
}

void Sketch::lead(int x1, int y1, int x2, int y2, Lead kind) { leadPath({{x1, y1}, {x2, y2}}, kind); }

void Sketch::terminal(int x, int y) {
  c.pen = Pen{};
  c.brush.color = colors::kWhite;
  c.ellipse(x - 3, y - 3, x + 3, y + 3);
  terminals.emplace_back(QPoint(x - 3, y - 3), QPoint(x + 2, y + 2));
}

void Sketch::topLead(int x, int yTerm, int yBody, Lead kind) {
  lead(x, yTerm, x, yBody, kind);
  terminal(x, yTerm);
}
void Sketch::bottomLead(int x, int yBody, int yTerm, Lead kind) {
  lead(x, yBody, x, yTerm, kind);
  terminal(x, yTerm);
}
void Sketch::leftLead(int y, int xTerm, int xBody, Lead kind) {
  lead(xTerm, y, xBody, y, kind);
  terminal(xTerm, y);
}
void Sketch::rightLead(int y, int xBody, int xTerm, Lead kind) {
  lead(xBody, y, xTerm, y, kind);
  terminal(xTerm, y);
}

void Sketch::knob(int l, int t) {
  c.pen = Pen{colors::kBlue, 1, PenStyle::Solid};
  c.brush.color = colors::kBlue;
  c.ellipse(l, t, l + 10, t + 10);
  c.brush.color = colors::kWhite;
  c.pen = Pen{};
}

void Sketch::settingBox(int l, int t) {
  c.pen = Pen{colors::kBlue, 1, PenStyle::Solid};
  c.brush.color = colors::kBlue;
  c.rectangle(l, t, l + 10, t + 6);
  c.brush.color = colors::kWhite;
  c.pen = Pen{};
}

void Sketch::text(int x, int y, const std::string& s, const TextStyle& st) {
  const Font saved = c.font;
  c.brush = Brush{};
  if (st.narrow) c.font.name = kNarrowFontName;
  c.font.height = st.height;
  c.font.color = st.color;
  c.font.orientation = st.orientation;
  // A caption placed near the right edge would lose its last letters (the inserter's "DC" inks
  // 12 columns from x 46 on a 56-wide symbol): it moves left just far enough to show whole.
  if (st.orientation == 0) {
    const QRect ink = c.textInkRect(x, y, s);
    if (!ink.isEmpty() && ink.right() >= W) x -= ink.right() - (W - 1);
  }
  c.textOut(x, y, s);
  c.font = saved;  // font changes never carry over to the next caption unless the caller repeats them
}

void Sketch::piece(int slot, int x, int y) {
  const Bitmap& p = TypeGlyphAt(slot);
  c.draw(x, y, p);
  if (slot >= 0 && slot < kTypeGlyphSlots)
    for (const QRect& r : TypeGlyphTerminals[slot]) terminals.push_back(r.translated(x, y));
}

void Sketch::supplyMarking(bool vertical, int eqX, int eqY, int eqLen, int waveX, int waveY, QPoint d1,
                           QPoint d2) {
  c.pen = Pen{colors::kBlack, 1, PenStyle::Solid};
  // Equals sign: two strokes eqLen px long, 4 px apart.
  if (vertical) {
    c.line(eqX, eqY, eqX, eqY + eqLen);
    c.line(eqX + 4, eqY, eqX + 4, eqY + eqLen);
  } else {
    c.line(eqX, eqY, eqX + eqLen, eqY);
    c.line(eqX, eqY + 4, eqX + eqLen, eqY + 4);
  }
  // Two waves, each a half circle of 8 px one way and one the other way; the second beside
  // (vertical bars) or below (horizontal bars) the first.
  for (int k = 0; k < 2; ++k) {
    if (vertical) {
      const int x = waveX + 4 * k, y = waveY;
      c.arc(x - 4, y, x + 4, y + 8, x, y, x, y + 8);        // left half
      c.arc(x - 4, y + 8, x + 4, y + 16, x, y + 16, x, y + 8);  // right half
    } else {
      const int x = waveX, y = waveY + 4 * k;
      c.arc(x, y - 4, x + 8, y + 4, x + 8, y, x, y);        // upper half
      c.arc(x + 8, y - 4, x + 16, y + 4, x + 8, y, x + 16, y);  // lower half
    }
  }
  c.line(d1.x(), d1.y(), d2.x(), d2.y());
  c.pen = Pen{};
}

void Sketch::storeIn(int slot) {
  if (slot < 0 || slot >= kTypeGlyphSlots) return;
  TypeGlyphs[slot] = bmp;
  TypeGlyphTerminals[slot] = terminals;
}

}  // namespace kavrix::glyph_sketch

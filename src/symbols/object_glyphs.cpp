#include "symbols/object_glyphs.hpp"

#include <QString>
#include <algorithm>
#include <array>
#include <cstdint>
#include <string>
#include <unordered_map>

#include "catalogue/model_names.hpp"
#include "model/network_model.hpp"
#include "model/project_options.hpp"
#include "symbols/glyph_store.hpp"
#include "symbols/switch_amp_glyphs.hpp"
#include "symbols/type_glyphs.hpp"
#include "symbols/value_labels.hpp"

namespace kavrix {

namespace {

constexpr int kRecipeKinds = 211;  // kinds 0..210
constexpr int kNameFontHeight = 14;

// How one kind's symbol is composed: which type symbol, where its model name goes and in which
// font. Kinds with further texts are finished by ComposeExtras.
struct Recipe {
  int16_t slot = -1;  // -1: the kind has no symbol
  int16_t nameX = -1;  // -1: no model name
  int16_t nameY = 0;
  int8_t height = kNameFontHeight;
  int16_t orientation = 0;  // 900 reads upwards, -900 downwards
  bool bold = true;
};

constexpr int16_t kUp = 900;
constexpr int16_t kDown = -900;

struct RecipeTable {
  std::array<Recipe, kRecipeKinds> r{};

  constexpr void set(int kind, int slot, int x, int y, int height = kNameFontHeight, int16_t orientation = 0) {
    r[kind] = Recipe{static_cast<int16_t>(slot), static_cast<int16_t>(x), static_cast<int16_t>(y),
                     static_cast<int8_t>(height), orientation, true};
  }
  constexpr void range(int first, int last, int slot, int x, int y, int height = kNameFontHeight) {
    for (int k = first; k <= last; ++k) set(k, slot, x, y, height);
  }
};

constexpr RecipeTable BuildRecipes() {
  RecipeTable t;
  t.range(1, 4, 5, 32, 30);
  t.range(5, 8, 6, 32, 40);
  t.set(11, 8, 40, 40);
  t.set(12, 9, 40, 40);
  t.set(14, 9, 40, 40);
  t.range(16, 19, 10, 50, 100);
  t.set(20, 11, 250, 95);
  t.range(21, 24, 12, 25, 45);
  t.set(25, 13, 120, 50);
  t.set(26, 14, -1, 0, 12);
  t.set(27, 15, -1, 0, 12);
  t.set(28, 16, -1, 0, 12);
  t.set(29, 42, 20, 51, 12, kUp);
  t.set(30, 127, 40, 45);
  t.set(31, 17, 40, 45);
  t.set(32, 18, 40, 62);
  for (int i = 0; i < 5; ++i) {
    t.set(33 + 2 * i, 19 + 2 * i, 40, 55);
    t.set(34 + 2 * i, 20 + 2 * i, 40, 75);
  }
  t.set(43, 119, 123, 95, kNameFontHeight, kUp);
  t.set(44, 120, 13, 95, kNameFontHeight, kUp);
  t.set(45, 121, 73, 48);
  t.set(50, 29, 49, 25);
  t.set(51, 29, 49, 25);
  t.set(57, 29, 49, 25);
  t.set(52, 30, 29, 25);
  t.set(53, 31, 49, 25);
  t.set(54, 32, 29, 25);
  t.set(55, 33, -1, 0, 12);
  t.set(56, 34, 45, 30);
  t.set(58, 124, -1, 0);
  t.set(59, 124, -1, 0);
  t.set(60, 126, 70, 80, kNameFontHeight, kDown);
  t.set(61, 125, -1, 0);
  t.set(65, 35, 80, 40);
  t.set(66, 36, 80, 40);
  t.set(67, 37, 77, 82);
  t.set(68, 38, 77, 100);
  constexpr int kOdd[4] = {39, 47, 51, 52};
  constexpr int kEven[4] = {40, 48, 49, 50};
  for (int i = 0; i < 4; ++i) {
    t.set(69 + 2 * i, kOdd[i], 77, 85);
    t.set(70 + 2 * i, kEven[i], 77, 105);
  }
  t.set(77, 55, 177, 45);
  t.set(78, 53, 175, 65);
  t.set(79, 54, 175, 65);
  t.set(80, 98, 8, 17, 12);
  t.range(81, 84, 96, 10, 100);
  t.set(86, 46, 20, 82);
  t.set(87, 45, 20, 82);
  t.set(88, 44, 10, 126);
  t.set(89, 117, 70, 70);
  t.set(90, 118, 70, 70);
  t.set(91, 68, -1, 0);
  t.set(92, 70, -1, 0);
  t.set(93, 69, 24, 112);
  t.set(94, 69, 58, 112);
  t.set(95, 71, 25, 110);
  t.set(96, 123, 30, 0);
  t.set(97, 122, 30, 0);
  t.set(98, 97, -1, 0);
  // 100 (comment) has no type symbol; ComposeComment draws it.
  t.set(101, 72, 100, 90);
  t.set(103, 72, 100, 90);
  t.set(102, 73, 100, 90);
  t.set(104, 73, 100, 90);
  t.set(105, 74, 100, 90);
  t.set(106, 75, 100, 90);
  t.set(107, 41, 20, 52, 12, kUp);
  t.set(109, 41, 20, 52, 12, kUp);
  t.set(108, 43, 33, 65);
  t.range(116, 119, 78, 50, 100);
  t.set(120, 79, 250, 95);
  t.range(121, 124, 76, 25, 45);
  t.set(125, 77, 120, 50);
  t.set(126, 104, 10, 18, 12);
  t.set(127, 105, 10, 18, 12);
  t.set(128, 106, 15, 18, 12);
  t.set(129, 104, -1, 0, 12);
  for (int i = 0; i < 5; ++i) {
    t.set(131 + 2 * i, 84 + i, 40, 60);
    t.set(132 + 2 * i, 89 + i, 40, 75);
  }
  t.set(141, 107, 48, 70);
  t.set(144, 110, 48, 70);
  t.set(142, 108, 48, 50);
  t.set(145, 111, 48, 50);
  t.set(143, 109, 48, 50);
  t.set(146, 109, 48, 50);
  t.set(151, 94, 40, 80);
  t.set(152, 95, 40, 80);
  t.set(153, 95, 40, 80);
  t.set(154, 112, 16, 15, 12);
  t.set(155, 113, 20, 15, 12);
  t.set(156, 114, 30, 15, 12);
  t.set(157, 115, 30, 15, 12);
  t.set(158, 116, 18, 14, 12);
  t.set(159, 116, 18, 14, 12);
  for (int i = 0; i < 4; ++i) {
    t.set(161 + i, 80 + i, 40, 80);
    t.set(165 + i, 80 + i, 40, 80);
  }
  for (int i = 0; i < 5; ++i) {
    t.set(170 + 2 * i, 57 + 2 * i, 80, 113);
    t.set(171 + 2 * i, 56 + 2 * i, 80, 93);
  }
  t.set(181, 99, 48, 30);
  t.set(182, 99, 48, 30);
  t.set(183, 100, 58, 60);
  t.set(184, 102, 48, 45);
  t.set(185, 101, 48, 45);
  t.set(186, 103, 38, 45);
  t.set(210, 7, -1, 0, 13);
  t.r[210].bold = false;
  return t;
}

constexpr RecipeTable kRecipes = BuildRecipes();

constexpr int kCommentKind = 100;
constexpr int kSocketKind = 210;
constexpr int kLnbKind = 91;

bool IsSwitchAmpSlot(int slot) {
  const std::vector<int>& all = SwitchAmpGlyphSlots();
  return std::find(all.begin(), all.end(), slot) != all.end();
}

std::string NameRow(int row) { return std::string(ModelName(row, BrandIndex)); }

// The first n characters (not bytes) of a name.
std::string FirstChars(const std::string& s, int n) {
  return QString::fromStdString(s).left(n).toStdString();
}

// The type symbol of a slot; an empty slot of the switch and amplifier set is built again first,
// so that objects of those families never vanish from the drawing after the options released them.
const Bitmap& TypeSymbol(int slot) {
  if (TypeGlyphAt(slot).empty() && IsSwitchAmpSlot(slot)) CreateSwitchAmpGlyphs();
  return TypeGlyphAt(slot);
}

void SetFont(Canvas& c, int height, bool bold, TColor color = colors::kBlack, int orientation = 0) {
  c.font.height = height;
  c.font.style = bold ? font_style::kBold : 0;
  c.font.color = color;
  c.font.orientation = orientation;
}

// The break of a comment part of 31 characters or more: after the last blank among its first 30
// characters, or after 30 characters when there is none.
int BreakPosition(const QString& part) {
  for (int p = 30; p >= 1; --p)
    if (part.at(p - 1) == QLatin1Char(' ')) return p;
  return 30;
}

void ComposeComment(Bitmap& work, Canvas& c, int inst) {
  work.setSize(220, 20);
  SetFont(c, kNameFontHeight, false);
  const QString text = (inst >= 0 && inst < kItemTextSlots) ? QString::fromStdString(ItemTexts[inst]) : QString();
  constexpr int kLineStep = 12;
  constexpr int kMaxLines = 4;
  QString rest = text;
  for (int line = 0; line < kMaxLines; ++line) {
    const int y = line * kLineStep;
    if (rest.size() < 31 || line == kMaxLines - 1) {
      c.textOut(0, y, rest.toStdString());
      return;
    }
    const int p = BreakPosition(rest);
    work.setSize(220, 30 + line * 10);
    c.textOut(0, y, rest.left(p).toStdString());
    // What follows a break is cut to the room of the remaining lines (90, 60, 30 characters).
    rest = rest.mid(p, 30 * (kMaxLines - 1 - line));
  }
}

void ComposeLnb(Canvas& c, int inst, int style) {
  c.brush.color = colors::kSilver;
  static constexpr const char* kLetters[4] = {"A", "B", "C", "D"};
  if (inst >= 0 && inst < 4) c.textOut(38, 35, kLetters[inst]);
  c.brush.color = colors::kWhite;
  static constexpr TColor kStyle1[4] = {colors::kGreen, colors::kYellow, colors::kGrey, colors::kRed};
  static constexpr TColor kStyle2[4] = {colors::kGrey, colors::kGreen, colors::kRed, colors::kYellow};
  static constexpr QPoint kTops[4] = {{50, 90}, {50, 90}, {70, 80}, {90, 70}};
  static constexpr int kBottomX[4] = {30, 50, 70, 90};
  if (style == 1 || style == 2) {
    c.pen.width = 4;
    for (int i = 0; i < 4; ++i) {
      c.pen.color = style == 1 ? kStyle1[i] : kStyle2[i];
      c.line(kTops[i].x(), kTops[i].y(), kBottomX[i], 100);
    }
  }
  c.pen.width = 1;
  c.pen.color = colors::kBlack;
  for (int x : kBottomX) c.ellipse(x - 3, 97, x + 3, 103);
}

// The TV socket's drop cable: length in metres and cable kind ("15m-2").
std::string SocketText(const ObjRow& obj) {
  return std::to_string(obj[kInst]) + "m-" + std::to_string(obj[kStyle]);
}

const char* TapText(int step, bool compact) {
  static constexpr const char* kSpaced[4] = {"-4 dB", "-10 dB", "-15 dB", "-20 dB"};
  static constexpr const char* kCompact[4] = {"-4 dB", "-10dB", "-15dB", "-20dB"};
  return compact ? kCompact[step] : kSpaced[step];
}

// Texts and pieces beyond the model name, for the kinds that have them.
void ComposeExtras(int kind, const ObjRow& obj, Canvas& c) {
  const std::string name = NameRow(kind);
  auto normal = [&c] { c.font.style = 0; };
  auto bold = [&c] { c.font.style = font_style::kBold; };
  if ((kind >= 16 && kind <= 19) || (kind >= 116 && kind <= 119)) {
    normal();
    c.textOut(135, 105, TapText(kind % 100 - 16, false));
  } else if ((kind >= 21 && kind <= 24) || (kind >= 121 && kind <= 124)) {
    normal();
    c.textOut(90, 65, TapText(kind % 100 - 21, true));
  } else if (kind >= 26 && kind <= 28) {
    c.textOut(18, 20, NameRow(kNamePoldPrefixRow));
    c.textOut(18, 30, NameRow(kNameSuffixRow + kind - 26));
  } else if (kind == 55) {
    c.textOut(18, 18, NameRow(kNameNerbPrefixRow));
    c.textOut(18, 28, NameRow(kNameSuffixRow));
  } else if (kind == 58 || kind == 59) {
    normal();
    if (kind == 58) {
      c.textOut(11, 33, "IF,MHz");
    } else {
      c.textOut(13, 33, "Input");
      c.textOut(15, 45, "Freq.");
      c.textOut(12, 57, " MHz");
    }
    bold();
    c.textOut(20, 100, FirstChars(name, 3));
    c.textOut(13, 112, "M17C");
  } else if (kind == 61) {
    c.textOut(20, 100, FirstChars(name, 3));
    c.textOut(13, 112, "K90");
  } else if (kind == 129) {
    c.textOut(16, 18, FirstChars(name, 5));
    c.textOut(18, 28, "-R/RB");
  } else if (kind == kLnbKind) {
    ComposeLnb(c, obj[kInst], obj[kStyle]);
  } else if (kind == kSocketKind) {
    if (obj[kOrient] != 3) c.textOut(9, 0, SocketText(obj));
  }
}

}  // namespace

Bitmap RotateBitmap(const Bitmap& src, int mode) {
  Bitmap out;
  if (mode < 0 || mode > 3) {
    out.setTransparent(true);
    return out;
  }
  const int w = src.width(), h = src.height();
  if (mode == 0) {
    out = Bitmap(w, h);
    Canvas c(out);
    c.brush.color = colors::kSilver;
    c.fillRect(0, 0, w, h);
    c.draw(0, 0, src);
  } else if (w > 0 && h > 0) {
    const bool quarter = mode != 2;
    out = Bitmap(quarter ? h : w, quarter ? w : h);
    const QImage& s = src.image();
    QImage& d = out.image();
    for (int y = 0; y < d.height(); ++y) {
      auto* line = reinterpret_cast<QRgb*>(d.scanLine(y));
      for (int x = 0; x < d.width(); ++x) {
        int sx, sy;
        if (mode == 1) {
          sx = w - 1 - y;
          sy = x;
        } else if (mode == 2) {
          sx = w - 1 - x;
          sy = h - 1 - y;
        } else {
          sx = y;
          sy = h - 1 - x;
        }
        line[x] = reinterpret_cast<const QRgb*>(s.constScanLine(sy))[sx];
      }
    }
  }
  out.setTransparent(true);
  return out;
}

namespace {

Bitmap ComposeObjectGlyph(const ObjRow& obj, const Recipe& r);

// Composed symbols by everything their composition reads: the kind, the row's Inst, Orient and
// Style, and the type symbols drawn in, by the identity of their pixels (which changes whenever
// a type symbol is built or drawn on again). A large drawing holds thousands of objects but a few
// dozen different symbols. Comments read a text slot and are composed each time; so is every
// symbol while texts are being recorded, as a recording wants every text drawn.
struct GlyphKey {
  int kind, inst, orient, style;
  qint64 type, bar;
  bool operator==(const GlyphKey&) const = default;
};
struct GlyphKeyHash {
  std::size_t operator()(const GlyphKey& k) const {
    std::size_t h = std::hash<qint64>()(k.type) ^ (std::hash<qint64>()(k.bar) << 1);
    for (int v : {k.kind, k.inst, k.orient, k.style}) h = h * 1000003u ^ std::hash<int>()(v);
    return h;
  }
};
constexpr std::size_t kGlyphCacheLimit = 4096;

std::unordered_map<GlyphKey, Bitmap, GlyphKeyHash>& GlyphCache() {
  static std::unordered_map<GlyphKey, Bitmap, GlyphKeyHash> cache;
  return cache;
}

bool DrawsSupplyBar(int kind) { return kind == 152 || (kind >= 161 && kind <= 164); }

}  // namespace

Bitmap MakeObjectGlyph(int row) {
  if (!ValidObjRow(row)) return {};
  const ObjRow obj = NetObjects[row];
  const int kind = obj[kKind];
  if (kind < 1 || kind >= kRecipeKinds) return {};
  const Recipe& r = kRecipes.r[kind];
  if (r.slot < 0 && kind != kCommentKind) return {};
  if (kind == kCommentKind || RecordingTexts()) return ComposeObjectGlyph(obj, r);
  const Bitmap& type = TypeSymbol(r.slot);
  if (type.empty()) return {};
  const GlyphKey key{kind, obj[kInst], obj[kOrient], obj[kStyle], type.image().cacheKey(),
                     DrawsSupplyBar(kind) ? TypeSymbol(kSupplyBarH103).image().cacheKey() : 0};
  auto& cache = GlyphCache();
  if (auto it = cache.find(key); it != cache.end()) return it->second;
  Bitmap glyph = ComposeObjectGlyph(obj, r);
  if (cache.size() >= kGlyphCacheLimit) cache.clear();
  cache.emplace(key, glyph);
  return glyph;
}

namespace {

Bitmap ComposeObjectGlyph(const ObjRow& obj, const Recipe& r) {
  const int kind = obj[kKind];
  Bitmap work;
  // A symbol keeps the transparency of its type symbol: the DC source is opaque, and keying it by
  // its lower-left pixel would wipe its black outline (or its white margins once turned).
  bool keyed = true;
  if (kind != kCommentKind) {
    const Bitmap& type = TypeSymbol(r.slot);
    if (type.empty()) return {};
    work = type;
    keyed = type.transparent();
  }
  work.setTransparent(keyed);
  Canvas c(work);
  SetFont(c, r.height, r.bold, colors::kBlack, r.orientation);

  if (kind == kCommentKind) {
    ComposeComment(work, c, obj[kInst]);
  } else {
    // Pieces and texts that come before the name.
    static constexpr int kBarY[4] = {132, 172, 212, 252};
    if (kind == 152) c.draw(12, 132, TypeSymbol(kSupplyBarH103));
    if (kind >= 161 && kind <= 164) c.draw(12, kBarY[kind - 161], TypeSymbol(kSupplyBarH103));
    if (kind >= 81 && kind <= 84) {
      SetFont(c, r.height, false, colors::kBlue);
      c.textOut(23, kind == 84 ? 86 : 62, "Att.");
      SetFont(c, r.height, true);
    }
    if (r.nameX >= 0) c.textOut(r.nameX, r.nameY, NameRow(kind));
    ComposeExtras(kind, obj, c);
  }

  Bitmap result = obj[kOrient] < 2 ? work : RotateBitmap(work, obj[kOrient] - 1);
  result.setTransparent(keyed);
  if (kind == kSocketKind && obj[kOrient] == 3) {
    Canvas rc(result);
    rc.textOut(17, 0, SocketText(obj));
  }
  return result;
}

}  // namespace

void RebuildObjectGlyph(int row) {
  if (!ValidObjRow(row)) return;
  if (ObjGlyphs.size() < NetObjects.size()) ObjGlyphs.resize(NetObjects.size());
  StoreObjGlyph(row, MakeObjectGlyph(row));
  DrawObjectLabels(row);
}

void RebuildAllObjectGlyphs() {
  for (std::size_t row = 0; row < NetObjects.size(); ++row)
    if (NetObjects[row][kKind] > 0) RebuildObjectGlyph(static_cast<int>(row));
}

void ApplyShowDesignators(bool show) {
  OptionControls.CheckBox2 = show;
  if (!show) {
    if (ObjGlyphs.size() < NetObjects.size()) ObjGlyphs.resize(NetObjects.size());
    for (std::size_t row = 0; row < NetObjects.size(); ++row)
      if (NetObjects[row][kKind] > 0) StoreObjGlyph(static_cast<int>(row), MakeObjectGlyph(static_cast<int>(row)));
  }
  for (std::size_t row = 0; row < NetObjects.size(); ++row)
    if (NetObjects[row][kKind] > 0) DrawObjectLabels(static_cast<int>(row));
}

void InstallObjectGlyphHooks() {
  Hooks().rowGlyphChanged = [](int row) { RebuildObjectGlyph(row); };
  Hooks().symbolSize = [](int row, int& width, int& height) {
    const Bitmap& g = ObjGlyphAt(row);
    width = g.width();
    height = g.height();
    return !g.empty();
  };
  // A label box is as wide as its text, so a value drawn over a wider one would leave digits of
  // the old value standing: the symbol is composed afresh under its labels.
  Hooks().rowLabelsChanged = [](int row) { RebuildObjectGlyph(row); };
}

void RemoveObjectGlyphHooks() {
  Hooks().rowGlyphChanged = nullptr;
  Hooks().rowLabelsChanged = nullptr;
  Hooks().symbolSize = nullptr;
}

}  // namespace kavrix

#include "symbols/switch_amp_glyphs.hpp"

#include <algorithm>
#include <string>

#include "symbols/glyph_sketch.hpp"
#include "symbols/glyph_store.hpp"

namespace kavrix {

using namespace glyph_sketch;

namespace {

enum class Family {
  Splitter,     // passive splitters of kinds 16 to 28: direction marks, no schematic
  SmallSwitch,  // kinds 1 to 8
  Series,       // cascadable series 31 to 42: no direction marks, blue schematic
  Launch,       // launch amplifiers 50 to 57: marks and schematic
  NineInput,    // 9-input series 67 to 76: marks and schematic
};

struct Caption {
  int x;
  int y;
  const char* text;
};

// One row of the symbol table. Leads are letters: G green, Y yellow, g grey, R red, k terrestrial.
struct SymbolRow {
  int slot;
  int w, h;
  int l, t, r, b;
  Family family;
  const char* top;
  int topX;
  const char* bottom;
  int bottomX;  // first x, 20 apart; 0 = listed in `bottomXs`
  std::vector<int> bottomXs;
  int left, right;
  std::vector<Caption> texts;
  int barSlot;  // -1 = none
  int barX, barY;
};

Lead LeadOf(char c) {
  switch (c) {
    case 'G': return Lead::Green;
    case 'Y': return Lead::Yellow;
    case 'g': return Lead::Grey;
    case 'R': return Lead::Red;
    default: return Lead::Terr;
  }
}

const std::vector<SymbolRow>& Rows() {
  using F = Family;
  static const std::vector<SymbolRow> rows = [] {
    std::vector<SymbolRow> v;
    auto add = [&](SymbolRow r) { v.push_back(std::move(r)); };
    const std::vector<Caption> gain1{{73, 21, "Gain"}}, gain2{{73, 41, "Gain"}};
    const std::vector<Caption> launch20{{98, 45, "Gain"}, {98, 25, "Slope"}}, launch0{{78, 45, "Gain"}, {78, 25, "Slope"}};
    const std::vector<Caption> nineA{{28, 55, "Sat A Gain"}, {85, 55, "Terr TV"}, {90, 67, "Gain"}, {128, 55, "Sat B Gain"}};
    const std::vector<Caption> nineB{{25, 75, "Sat A Gain"}, {85, 75, "Terr TV"}, {90, 87, "Gain"}};
    add({14, 56, 66, 13, 11, 43, 55, F::Splitter, "g", 28, "gg", 18, {}, 0, 0, {}, -1, 0, 0});
    add({15, 56, 66, 13, 11, 43, 55, F::Splitter, "g", 28, "gg", 18, {}, 1, 1, {}, -1, 0, 0});
    add({16, 56, 66, 13, 11, 43, 55, F::Splitter, "g", 28, "gg", 18, {}, 2, 2, {}, -1, 0, 0});
    add({34, 126, 86, 19, 14, 108, 73, F::Launch, "GYgR", 33, "GYgR", 33, {}, 0, 0, {}, -1, 0, 0});
    add({33, 56, 66, 13, 11, 43, 55, F::Launch, "g", 28, "g", 28, {}, 0, 0, {}, -1, 0, 0});
    add({5, 126, 86, 19, 14, 108, 73, F::SmallSwitch, "GYgR", 33, "GYgR", 33, {}, 0, 0, {}, -1, 0, 0});
    add({6, 126, 106, 19, 14, 108, 93, F::SmallSwitch, "GYgR", 33, "GYgR", 33, {}, 0, 0, {}, -1, 0, 0});
    add({12, 146, 126, 13, 13, 133, 113, F::Splitter, "GYgRk", 33, "GYgRk", 33, {}, 0, 5, {}, -1, 0, 0});
    add({13, 286, 126, 13, 13, 273, 113, F::Splitter, "GYgRk", 103, "GYgRkGYgRk", 0,
         {23, 43, 63, 83, 103, 183, 203, 223, 243, 263}, 5, 5, {}, -1, 0, 0});
    // Series units: the slot, height, top and bottom of the body and the leads on each side.
    struct SeriesSize {
      int slot, h, t, b, leads;
    };
    const SeriesSize series[12] = {{17, 86, 13, 73, 2},   {18, 126, 33, 93, 2},   {19, 126, 13, 113, 4},
                                    {20, 166, 33, 133, 4}, {21, 166, 13, 153, 6},  {22, 206, 33, 173, 6},
                                    {23, 206, 13, 193, 8}, {24, 246, 33, 213, 8},  {25, 286, 13, 273, 12},
                                    {26, 326, 33, 293, 12}, {27, 366, 13, 353, 16}, {28, 406, 33, 373, 16}};
    for (const SeriesSize& s : series) {
      const bool second = s.t == 33;
      add({s.slot, 126, s.h, 13, s.t, 115, s.b, F::Series, "GYgRk", 23, "", 0, {}, s.leads, s.leads,
           second ? gain2 : gain1, second ? 0 : -1, 12, s.h - 34});
    }
    add({29, 186, 106, 33, 13, 153, 93, F::Launch, "GYgRk", 53, "GYgRk", 53, {}, 0, 0, launch20, 1, 0, 12});
    add({30, 146, 106, 13, 13, 133, 93, F::Launch, "GYgRk", 33, "GYgRk", 33, {}, 0, 0, launch0, -1, 0, 0});
    add({10, 226, 226, 13, 13, 213, 213, F::Splitter, "GYgRkGYgR", 33, "GYgRkGYgR", 33, {}, 0, 9, {}, -1, 0, 0});
    add({11, 546, 226, 13, 13, 533, 213, F::Splitter, "GYgRkGYgR", 193, "GYgRkGYgRGYgRkGYgR", 0,
         {33, 53, 73, 93, 113, 133, 153, 173, 193, 353, 373, 393, 413, 433, 453, 473, 493, 513}, 9, 9, {}, -1, 0, 0});
    add({31, 256, 106, 33, 13, 223, 93, F::Launch, "GYgRkGYgR", 53, "GYgRkGYgR", 53, {}, 0, 0, launch20, 1, 0, 12});
    add({32, 216, 106, 13, 13, 203, 93, F::Launch, "GYgRkGYgR", 33, "GYgRkGYgR", 33, {}, 0, 0, launch0, -1, 0, 0});
    const SeriesSize nine[10] = {{37, 126, 13, 113, 4}, {38, 166, 33, 133, 4},  {39, 166, 13, 153, 6},
                                 {40, 206, 33, 173, 6}, {47, 206, 13, 193, 8},  {48, 246, 33, 213, 8},
                                 {49, 326, 33, 293, 12}, {50, 406, 33, 373, 16}, {51, 286, 13, 273, 12},
                                 {52, 366, 13, 353, 16}};
    for (const SeriesSize& s : nine) {
      const bool second = s.t == 33;
      add({s.slot, 206, s.h, 13, s.t, 193, s.b, F::NineInput, "GYgRkGYgR", 23, "", 0, {}, s.leads, s.leads,
           second ? nineB : nineA, second ? 2 : -1, 12, s.h - 34});
    }
    return v;
  }();
  return rows;
}

// Centres of the input groups: the two satellite halves of a 9-lead row, otherwise the whole row.
std::vector<int> GroupCentres(const std::vector<int>& xs) {
  if (xs.empty()) return {};
  if (xs.size() == 9) return {(xs[0] + xs[3]) / 2, (xs[5] + xs[8]) / 2};
  if (xs.size() == 10) return {(xs[0] + xs[4]) / 2, (xs[5] + xs[9]) / 2};
  if (xs.size() == 18) return {(xs[0] + xs[8]) / 2, (xs[9] + xs[17]) / 2};
  return {(xs.front() + xs.back()) / 2};
}

void DrawRow(const SymbolRow& row) {
  Sketch s(row.w, row.h);
  if (row.barSlot >= 0) s.piece(row.barSlot, row.barX, row.barY);
  s.body(row.l, row.t, row.r, row.b);

  std::vector<int> topXs, bottomXs;
  for (std::size_t i = 0; row.top[i]; ++i) topXs.push_back(row.topX + 20 * static_cast<int>(i));
  if (row.bottomX > 0)
    for (std::size_t i = 0; row.bottom[i]; ++i) bottomXs.push_back(row.bottomX + 20 * static_cast<int>(i));
  else
    bottomXs = row.bottomXs;

  const bool series = row.family == Family::Series || row.family == Family::NineInput;
  const int firstSide = series ? row.t + 30 : (row.w == 56 ? 23 : row.t + (row.right == 9 ? 20 : 10));
  const int sideN = std::max(row.left, row.right);
  const int sideMid = firstSide + 10 * (sideN - 1);

  if (row.family != Family::Series) {
    const int markY = row.t + (row.t == 14 ? 2 : 3);
    for (int x : GroupCentres(topXs)) s.arrow(x, markY, Dir::Down);
    for (int x : GroupCentres(bottomXs)) s.arrow(x, row.b - 7, Dir::Down);
    if (row.left > 0) s.arrow(row.l + 7, sideMid, Dir::Left);
    if (row.right > 0) s.arrow(row.r - 7, sideMid, Dir::Right);
  }

  if (row.family == Family::Series || row.family == Family::Launch || row.family == Family::NineInput) {
    // Inner schematic: knobs beside the captions and the lines of the switching matrix.
    s.c.pen = Pen{colors::kBlue, 1};
    if (sideN > 0) {
      const int lastSide = firstSide + 20 * (sideN - 1);
      for (int x : topXs) s.c.line(x, row.t + 8, x, lastSide + 1);
      for (int i = 0; i < sideN; ++i) s.c.line(row.l + 6, firstSide + 20 * i, row.r - 6, firstSide + 20 * i);
    } else {
      for (int x : topXs) s.c.line(x, row.t + 8, x, row.b - 8);
    }
    // A knob sits left of its caption, but never on the body's frame: a caption that starts
    // close to the frame (the second members' "Sat A Gain") gets its knob just inside it.
    for (const Caption& c : row.texts) s.knob(std::max(c.x - 13, row.l + 2), c.y + 1);
  }
  for (const Caption& c : row.texts) s.text(c.x, c.y, c.text);

  const int yTerm = row.t == 33 ? 23 : 3;
  for (std::size_t i = 0; i < topXs.size(); ++i) s.topLead(topXs[i], yTerm, row.t - 1, LeadOf(row.top[i]));
  for (std::size_t i = 0; i < bottomXs.size() && row.bottom[i]; ++i)
    s.bottomLead(bottomXs[i], row.b, row.h - 3, LeadOf(row.bottom[i]));
  for (int i = 0; i < row.left; ++i) s.leftLead(firstSide + 20 * i, 3, row.l, Lead::Black);
  for (int i = 0; i < row.right; ++i) s.rightLead(firstSide + 20 * i, row.r, row.w - 3, Lead::Black);
  s.storeIn(row.slot);
}

}  // namespace

const std::vector<int>& SwitchAmpGlyphSlots() {
  static const std::vector<int> order = [] {
    std::vector<int> v;
    for (const SymbolRow& r : Rows()) v.push_back(r.slot);
    return v;
  }();
  return order;
}

bool KeptOnRelease(int slot) { return slot == 5 || slot == 6 || slot == 13; }

void CreateSwitchAmpGlyphs() {
  EnsureSymbolFonts();
  for (const SymbolRow& r : Rows()) DrawRow(r);
}

void ReleaseSwitchAmpGlyphs() {
  for (int slot : SwitchAmpGlyphSlots()) {
    if (KeptOnRelease(slot)) continue;
    TypeGlyphs[static_cast<std::size_t>(slot)].release();
    TypeGlyphTerminals[static_cast<std::size_t>(slot)].clear();
  }
}

}  // namespace kavrix

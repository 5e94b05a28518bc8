#include "symbols/type_glyphs.hpp"

#include <array>
#include <string>
#include <utility>

#include "symbols/glyph_sketch.hpp"
#include "symbols/glyph_store.hpp"

namespace kavrix {

using namespace glyph_sketch;

namespace {

using LeadList = std::vector<Lead>;

const LeadList kA4{Lead::Green, Lead::Yellow, Lead::Grey, Lead::Red};
const LeadList kB4{Lead::Grey, Lead::Green, Lead::Red, Lead::Yellow};
const LeadList kK{Lead::Terr};

LeadList Cat(std::initializer_list<LeadList> parts) {
  LeadList out;
  for (const auto& p : parts) out.insert(out.end(), p.begin(), p.end());
  return out;
}
LeadList Same(int n, Lead k) { return LeadList(static_cast<std::size_t>(n), k); }
LeadList Reversed(LeadList l) { return LeadList(l.rbegin(), l.rend()); }

// Leads of one edge, `step` apart from `first`; yTerm/xTerm is where their terminals sit.
void Tops(Sketch& s, int first, int step, const LeadList& ls, int yTerm, int yBody) {
  for (std::size_t i = 0; i < ls.size(); ++i) s.topLead(first + step * static_cast<int>(i), yTerm, yBody, ls[i]);
}
void Bottoms(Sketch& s, int first, int step, const LeadList& ls, int yBody, int yTerm) {
  for (std::size_t i = 0; i < ls.size(); ++i) s.bottomLead(first + step * static_cast<int>(i), yBody, yTerm, ls[i]);
}
void Rights(Sketch& s, int first, int step, const LeadList& ls, int xBody) {
  for (std::size_t i = 0; i < ls.size(); ++i) s.rightLead(first + step * static_cast<int>(i), xBody, s.W - 3, ls[i]);
}
void Lefts(Sketch& s, int first, int step, const LeadList& ls, int xBody) {
  for (std::size_t i = 0; i < ls.size(); ++i) s.leftLead(first + step * static_cast<int>(i), 3, xBody, ls[i]);
}

// ---- building pieces and opaque symbols

void DcSource() {  // slot 127, kind 30
  Sketch s(60, 32, Background::White);
  s.c.pen = Pen{colors::kBlack, 2};
  s.c.brush.color = colors::kGrey;
  s.c.rectangle(1, 1, 45, 32);
  s.supplyMarking(false, 25, 5, 15, 5, 18, {5, 5}, {40, 25});
  s.c.pen = Pen{colors::kBlack, 1};
  s.c.line(45, 16, 50, 16);
  s.c.brush.color = colors::kWhite;
  s.c.rectangle(52, 13, 58, 19);
  s.terminals.emplace_back(QPoint(52, 13), QPoint(57, 18));
  s.storeIn(127);
}

void SupplyBar(int slot, int w, int h, bool vertical, int eqX, int eqY, int waveX, int waveY, QPoint d1, QPoint d2) {
  Sketch s(w, h, Background::White);
  s.c.brush.color = colors::kGrey;
  s.c.floodFill(1, 1, colors::kGrey, FillStyle::Border);
  s.c.pen = Pen{colors::kBlack, 2};
  s.c.rectangle(1, 1, w, h);
  s.supplyMarking(vertical, eqX, eqY, 20, waveX, waveY, d1, d2);
  s.storeIn(slot);
}

void Load() {  // slot 97, kind 98
  Sketch s(20, 56);
  s.body(1, 13, 19, 52);
  s.c.pen = Pen{colors::kBlack, 2};
  s.c.line(10, 14, 10, 18);
  s.c.line(4, 18, 17, 18);  // capacitor plates
  s.c.line(4, 22, 17, 22);
  s.c.pen = Pen{colors::kBlack, 1};
  s.c.moveTo(10, 22);
  s.c.lineTo(10, 26);
  for (int y = 26, k = 0; y < 46; y += 4, ++k) s.c.lineTo(k % 2 ? 6 : 14, y + 4);  // zigzag resistor
  s.c.lineTo(10, 50);
  s.c.lineTo(10, 52);
  s.topLead(10, 3, 12, Lead::Accessory);
  s.storeIn(97);
}

void TvSocket() {  // slot 7, kind 210
  Sketch s(56, 16);
  s.c.pen = Pen{colors::kBlack, 4};
  s.c.line(3, 8, 43, 8);
  s.c.pen = Pen{};
  s.c.brush.color = colors::kWhite;
  s.terminal(3, 8);
  s.c.ellipse(39, 0, 55, 16);
  s.c.ellipse(40, 5, 46, 11);
  s.c.ellipse(48, 5, 54, 11);
  s.storeIn(7);
}

// Slots 8 and 9: the 5-input multiswitch (order A), with or without the through outputs.
void Multiswitch126(int slot, bool bottom) {
  Sketch s(126, 106);
  s.body(10, 14, 115, 93);
  s.arrow(63, 16, Dir::Down);
  const LeadList in = Cat({kA4, kK});
  Tops(s, 23, 20, in, 3, 13);
  if (bottom) Bottoms(s, 23, 20, in, 93, 103);
  Rights(s, 23, 20, Same(4, Lead::Black), 115);
  s.storeIn(slot);
}

// Slots 41 and 42: the small single-path amplifier and the power inserter.
void SmallAmp(int slot, bool feed) {
  Sketch s(56, 66);
  s.body(13, 10, 43, 56);
  s.inner2(13, 10, 43, 56);
  s.arrow(28, 16, Dir::Down);
  s.topLead(28, 3, 9, Lead::Accessory);
  s.bottomLead(28, 53, 63, Lead::Accessory);
  if (feed) {
    s.lead(39, 25, 48, 25, Lead::Purple);
    s.arrow(43, 25, Dir::Left, colors::kPurple);
    s.text(45, 28, "DC", {FontSizeToHeight(7), colors::kPurple});
    s.text(45, 12, "+", {FontSizeToHeight(7), colors::kPurple});
  }
  s.storeIn(slot);
}

void Attenuator() {  // slot 98, kind 80
  Sketch s(56, 66);
  s.body(10, 9, 46, 57);
  s.topLead(28, 3, 8, Lead::Accessory);
  s.bottomLead(28, 57, 63, Lead::Accessory);
  s.knob(23, 30);
  s.storeIn(98);
}

// Slots 35 and 36: the 9-input multiswitch (order A, terrestrial in the middle).
void Multiswitch206(int slot, bool bottom) {
  Sketch s(206, 106);
  s.body(13, 14, 193, 93);
  s.arrow(53, 17, Dir::Down);
  s.arrow(153, 17, Dir::Down);
  const LeadList in = Cat({kA4, kK, kA4});
  Tops(s, 23, 20, in, 3, 13);
  if (bottom) Bottoms(s, 23, 20, in, 93, 103);
  Rights(s, 23, 20, Same(4, Lead::Black), 193);
  s.storeIn(slot);
}

// Slots 55, 53, 54: the 17-input multiswitch, free-standing or with a supply bar below.
void Multiswitch406(int slot, int h, int dy, int outputs, bool bottom, int barY) {
  Sketch s(406, h);
  const int top = 14 + dy, bot = bottom ? 103 : h - 33;
  s.body(13, top, 393, bot);
  for (int gx : {53, 153, 253, 353}) s.arrow(gx, top + 3, Dir::Down);
  s.arrow(103, top + 7, Dir::Up, colors::kWhite);
  const int yTerm = dy ? 23 : 3;
  for (int g = 0; g < 4; ++g) Tops(s, 23 + 100 * g, 20, kA4, yTerm, top - 1);
  s.topLead(103, yTerm, top - 1, Lead::Terr);
  if (bottom) {
    for (int g = 0; g < 4; ++g) Bottoms(s, 23 + 100 * g, 20, kA4, bot, h - 3);
    s.bottomLead(103, bot, h - 3, Lead::Terr);
  }
  const int firstOut = 28 + dy;
  Rights(s, firstOut, 20, Same(outputs, Lead::Black), 393);
  Lefts(s, firstOut, 20, Same(outputs, Lead::Black), 13);
  s.arrow(389, firstOut + 10 * (outputs - 1), Dir::Right);
  s.arrow(17, firstOut + 10 * (outputs - 1), Dir::Left);
  // Every knob sits at the point a double click opens: the terrestrial gain under its input, a
  // satellite gain outside each value on both sides.
  s.knob(98, 23 + dy);
  for (int r = 0; r < outputs / 2; ++r) {
    s.knob(28, 43 + dy + 40 * r);
    s.knob(368, 43 + dy + 40 * r);
  }
  const int rows = dy ? (outputs > 4 ? 2 : 1) : 1;
  for (int r = 0; r < rows; ++r) {
    s.text(35, 58 + dy + 80 * r, "Sat Gain");
    s.text(335, 58 + dy + 80 * r, "Sat Gain");
  }
  s.text(85, 30 + dy, "Terr TV");
  s.text(90, 42 + dy, "Gain");
  s.text(56, 18 + dy, "A");
  s.text(156, 18 + dy, "B");
  s.text(244, 18 + dy, "C");
  s.text(344, 18 + dy, "D");
  if (barY > 0) s.piece(kSupplyBarH181, 112, barY);
  s.storeIn(slot);
}

// ---- sources

void CatvSource() {  // slot 70, kind 92
  Sketch s(60, 186);
  s.body(10, 80, 50, 120);
  s.c.pen = Pen{colors::kBlack, 1};
  s.c.brush.color = colors::kSilver;
  s.c.ellipse(15, 88, 45, 118);
  s.c.brush.color = colors::kWhite;
  s.c.ellipse(25, 98, 35, 108);
  s.bottomLead(30, 103, 183, Lead::Terr);
  s.storeIn(70);
}

void Antenna() {  // slot 69, kinds 93 and 94
  Sketch s(100, 186);
  s.c.pen = Pen{colors::kBlack, 2};
  s.c.line(10, 103, 90, 103);  // boom
  const int half[5] = {30, 26, 22, 18, 14};
  for (int i = 0; i < 5; ++i) {
    const int x = 14 + 18 * i;
    s.c.line(x, 103 - half[i], x, 103 + half[i]);
  }
  s.bottomLead(50, 103, 183, Lead::Terr);
  s.storeIn(69);
}

void FmAntenna() {  // slot 71, kind 95
  Sketch s(100, 186);
  s.c.pen = Pen{colors::kBlack, 2};
  s.c.brush.style = BrushStyle::Clear;
  s.c.ellipse(20, 65, 80, 85);
  s.c.ellipse(20, 75, 80, 95);
  s.c.brush.style = BrushStyle::Solid;
  s.c.arc(35, 40, 65, 70, 65, 55, 35, 55);
  s.c.line(50, 40, 50, 65);
  s.c.line(10, 75, 20, 75);
  s.c.line(80, 85, 90, 85);
  s.bottomLead(50, 95, 183, Lead::Terr);
  s.storeIn(71);
}

// ---- amplifiers with setting boxes (slots 72 to 75)

void BoxAmp(int slot, int w, int groups, bool bar) {
  Sketch s(w, 126);
  const int r = w - 33;
  s.body(23, 13, r, 113);
  s.inner1(23, 13, r, 113);
  const LeadList leads = groups == 1 ? Cat({kB4, kK}) : Cat({kB4, kB4, kK});
  for (int row : {35, 56, 77})
    for (std::size_t i = 0; i < leads.size(); ++i) s.settingBox(38 + 20 * static_cast<int>(i), row);
  s.arrow(43 + 10 * (static_cast<int>(leads.size()) - 1), 16, Dir::Down);
  Tops(s, 43, 20, leads, 3, 12);
  Bottoms(s, 43, 20, leads, 113, 123);
  const int tx = w - 66;
  s.text(tx, 31, "Att.dB");
  s.text(tx + 5, 51, "+");
  s.text(tx + 2, 72, "Slope");
  if (bar) s.piece(kSupplyBarV101, w - 35, 12);
  s.storeIn(slot);
}

// ---- taps (slots 76 to 79)

void Tap146() {  // slot 76
  Sketch s(146, 126);
  s.body(13, 13, 133, 113);
  s.inner2(13, 13, 133, 113);
  s.arrow(73, 16, Dir::Down);
  s.arrow(73, 106, Dir::Down);
  s.arrow(126, 63, Dir::Right, colors::kWhite);
  const LeadList through = Cat({kB4, kK});
  Tops(s, 33, 20, through, 3, 12);
  Bottoms(s, 33, 20, through, 113, 123);
  Rights(s, 23, 20, Reversed(through), 133);
  s.storeIn(76);
}

void Tap286() {  // slot 77
  Sketch s(286, 126);
  s.body(13, 13, 273, 113);
  s.inner2(13, 13, 273, 113);
  s.arrow(143, 16, Dir::Down);
  s.arrow(63, 106, Dir::Down);
  s.arrow(223, 106, Dir::Down);
  const LeadList through = Cat({kB4, kK});
  Tops(s, 103, 20, through, 3, 12);
  Bottoms(s, 23, 20, through, 113, 123);
  Bottoms(s, 183, 20, through, 113, 123);
  Rights(s, 23, 20, Reversed(through), 273);
  Lefts(s, 23, 20, Reversed(through), 13);
  s.storeIn(77);
}

void Tap226() {  // slot 78
  Sketch s(226, 226);
  s.body(13, 13, 213, 213);
  s.inner2(13, 13, 213, 213);
  s.arrow(113, 16, Dir::Down);
  s.arrow(113, 206, Dir::Down);
  s.arrow(206, 113, Dir::Right, colors::kWhite);
  const LeadList through = Cat({kB4, kB4, kK});
  Tops(s, 33, 20, through, 3, 12);
  Bottoms(s, 33, 20, through, 213, 223);
  Rights(s, 33, 20, Reversed(through), 213);
  s.storeIn(78);
}

void Tap546() {  // slot 79
  Sketch s(546, 226);
  s.body(13, 13, 533, 213);
  s.inner2(13, 13, 533, 213);
  s.arrow(273, 16, Dir::Down);
  s.arrow(113, 206, Dir::Down);
  s.arrow(433, 206, Dir::Down);
  const LeadList through = Cat({kB4, kB4, kK});
  Tops(s, 193, 20, through, 3, 12);
  Bottoms(s, 33, 20, through, 213, 223);
  Bottoms(s, 353, 20, through, 213, 223);
  Rights(s, 33, 20, Reversed(through), 533);
  Lefts(s, 33, 20, Reversed(through), 13);
  s.storeIn(79);
}

// ---- multiswitches 161 to 168 and the cascade series 131 to 153

// Body (13, top)-(115, h - 33 or h - 13); five inputs on top (order B); `n` outputs per side from y
// `firstOut`; `rightColoured`: the first four right-hand leads carry the satellite colours.
void Cascade(int slot, int h, bool supplied, int n, bool left, bool right, bool rightColoured, const char* att,
             QPoint attAt, bool bar) {
  Sketch s(126, h);
  const int top = supplied ? 33 : 13, bot = supplied ? h - 33 : h - 13;
  s.body(13, top, 115, bot);
  s.inner2(13, top, 115, bot);
  s.arrow(63, top + 3, Dir::Down);
  Tops(s, 23, 20, Cat({kB4, kK}), supplied ? 23 : 3, top - 1);
  const int firstOut = supplied ? 63 : 43;
  if (left) Lefts(s, firstOut, 20, Same(n, Lead::Black), 13);
  if (right) {
    LeadList r = Same(n, Lead::Black);
    if (rightColoured)
      for (int i = 0; i < 4 && i < n; ++i) r[static_cast<std::size_t>(i)] = kB4[static_cast<std::size_t>(i)];
    Rights(s, firstOut, 20, r, 115);
  }
  if (att) s.text(attAt.x(), attAt.y(), att);
  if (bar) s.piece(kSupplyBarH103, 12, h - 34);
  s.storeIn(slot);
}

// ---- the 9-input cascade outline pieces and their stacks (slots 66, 67, 56 to 65)

void RowPiece() {  // slot 66
  Sketch s(206, 41);
  s.body(13, 0, 193, 40);
  Lefts(s, 10, 20, Same(2, Lead::Black), 13);
  Rights(s, 10, 20, Same(2, Lead::Black), 193);
  s.storeIn(kOutlineRowPiece);
}

void HeadPiece() {  // slot 67
  Sketch s(206, 126);
  s.body(13, 13, 193, 113);
  s.arrow(53, 16, Dir::Down);
  s.arrow(133, 16, Dir::Down);
  Tops(s, 23, 20, Cat({kB4, kB4, kK}), 3, 12);
  Lefts(s, 43, 20, Same(2, Lead::Black), 13);
  Rights(s, 43, 20, Same(2, Lead::Black), 193);
  s.text(28, 46, "Sat B Att.");
  s.text(108, 46, "Sat A Att.");
  s.text(120, 60, "Terr TV Att.");
  s.storeIn(kOutlineHeadPiece);
}

void NineInputCascade(int slot, int rows, bool supplied) {
  const int top = supplied ? 20 : 0;
  const int b = top + 73 + 40 * rows;
  const int h = b + (supplied ? 33 : 13);
  Sketch s(206, h);
  s.piece(kOutlineHeadPiece, 0, top);
  for (int r = 0; r < rows; ++r) s.piece(kOutlineRowPiece, 0, top + 73 + 40 * r);
  s.c.pen = Pen{colors::kGrayText, 2};
  s.c.moveTo(16, top + 16);
  s.c.lineTo(189, top + 16);
  s.c.lineTo(189, b - 4);
  s.c.lineTo(16, b - 4);
  s.c.lineTo(16, top + 16);
  if (supplied) s.piece(kSupplyBarH181, 12, h - 34);
  s.storeIn(slot);
}

// ---- channel amplifier, link unit, channel converter (slots 96, 124, 125)

void TallUnit(int slot, int h, int bodyBottom, bool bottomPorts, const char* caption, QPoint at,
              TColor captionColour) {
  Sketch s(56, h);
  s.body(9, 1, 49, bodyBottom);
  s.c.pen = Pen{colors::kBlack, 2};
  s.c.line(9, 27, 48, 27);
  s.c.line(9, 99, 48, 99);
  auto connector = [&](int cx, int cy, int tx, int ty) {
    s.c.pen = Pen{colors::kGrey, 2};
    s.c.line(cx, cy, tx, ty);
    s.c.pen = Pen{colors::kBlack, 1};
    s.c.brush.color = colors::kGrey;
    s.c.ellipse(cx - 4, cy - 4, cx + 4, cy + 4);
    s.c.brush.color = colors::kWhite;
    s.terminal(tx, ty);
  };
  // Terminals 60 px above and below the centre: the link unit's telling template row and the
  // converter's source pin put the cable ends there.
  const int top = h / 2 - 60, bottom = h / 2 + 60;
  connector(19, 8, 3, top);
  connector(39, 8, 53, top);
  if (bottomPorts) {
    connector(19, h - 9, 3, bottom);
    connector(39, h - 9, 53, bottom);
  }
  if (caption) s.text(at.x(), at.y(), caption, {FontSizeToHeight(8), captionColour});
  s.storeIn(slot);
}

// ---- terrestrial amplifiers

void TerrAmp60() {  // slot 44, kind 88
  Sketch s(60, 166);
  s.body(11, 10, 51, 151);
  s.inner2(11, 10, 51, 151);
  s.c.pen = Pen{colors::kBlack, 2};
  s.c.line(11, 39, 50, 39);
  s.c.line(11, 98, 50, 98);
  for (int i = 0; i < 3; ++i) s.knob(14 + 12 * i, 69);
  auto connector = [&](int cx, int cy) {
    s.c.pen = Pen{colors::kBlack, 1};
    s.c.brush.color = colors::kGrey;
    s.c.ellipse(cx - 4, cy - 4, cx + 4, cy + 4);
    s.c.brush.color = colors::kWhite;
  };
  s.topLead(30, 3, 10, Lead::Accessory);
  s.rightLead(28, 51, 57, Lead::Accessory);
  s.leftLead(123, 3, 11, Lead::Accessory);
  s.bottomLead(30, 151, 163, Lead::Accessory);
  connector(30, 18);
  connector(43, 28);
  connector(19, 123);
  connector(30, 143);
  // Band captions in the narrow face; the "FM" caption starts above the top edge and is clipped.
  s.text(35, -3, "FM", {FontSizeToHeight(6), colors::kBlack, 0, true});
  s.text(51, 53, "VHFIII", {FontSizeToHeight(6), colors::kBlack, 900, true});
  s.text(0, 143, "UHF", {FontSizeToHeight(6), colors::kBlack, 900, true});
  s.text(15, 150, "RF", {FontSizeToHeight(6), colors::kBlack, 0, true});
  s.text(17, 98, "Gain", {FontSizeToHeight(8), colors::kBlue});
  s.storeIn(44);
}

void TerrAmp120(int slot, bool knobs, const char* third, int captionY) {  // slots 45, 46
  Sketch s(120, 100);
  s.body(20, 12, 100, 72);
  s.inner2(20, 12, 100, 72);
  s.leadPath({{10, 50}, {10, 80}, {30, 80}, {30, 72}}, Lead::Terr);
  s.leadPath({{110, 50}, {110, 80}, {70, 80}, {70, 72}}, Lead::Terr);
  s.leadPath({{60, 3}, {60, 7}, {16, 7}, {16, 86}, {50, 86}, {50, 72}}, Lead::Terr);
  s.terminal(10, 50);
  s.terminal(60, 3);
  s.terminal(110, 50);
  for (int x : {30, 50, 70}) s.arrow(x, 70, Dir::Up);
  s.bottomLead(90, 72, 88, Lead::Accessory);
  if (knobs)
    for (int x : {25, 45, 65}) s.knob(x, 30);
  const TextStyle up{FontSizeToHeight(6), colors::kBlack, 900, true};
  s.text(25, captionY, "UHF", up);
  s.text(45, captionY, "VHFIII", up);
  s.text(65, captionY, third, up);
  s.storeIn(slot);
}

// Slots 117 to 121: amplifiers with a supply bar on top and their ports on the bottom edge.
struct BarAmpSpec {
  int slot;
  int w;
  int bodyTop;
  bool inner;
  std::vector<int> bottomXs;
  std::vector<int> rightYs;
  std::vector<QPoint> knobs;
  std::vector<std::pair<QPoint, std::pair<const char*, TextStyle>>> texts;
  int barY;
};

void BarAmp(const BarAmpSpec& a) {
  Sketch s(a.w, 126);
  s.body(3, a.bodyTop, 143, 113);
  if (a.inner) s.inner2(3, a.bodyTop, 143, 113);
  for (int x : a.bottomXs) s.bottomLead(x, 113, 123, Lead::Black);
  for (int y : a.rightYs) s.rightLead(y, 143, a.w - 3, Lead::Black);
  for (const QPoint& k : a.knobs) s.knob(k.x(), k.y());
  for (const auto& t : a.texts) s.text(t.first.x(), t.first.y(), t.second.first, t.second.second);
  s.piece(kSupplyBarH141, 2, a.barY);
  s.storeIn(a.slot);
}

// ---- single-cable units and splitters

void SingleCable(int slot, int w, int h, QRect body, int firstX, const LeadList& in, const LeadList& out,
                 int yTop, int yBottom, const std::vector<int>& leftYs, const std::vector<int>& rightYs,
                 QRect square, int stubY) {
  Sketch s(w, h);
  const int l = body.left(), t = body.top(), r = body.right(), b = body.bottom();
  s.body(l, t, r, b);
  s.inner2(l, t, r, b);
  s.arrow(firstX + 10 * (static_cast<int>(in.size()) - 1), t + 3, Dir::Down);
  Tops(s, firstX, 20, in, yTop, t - 1);
  Bottoms(s, firstX, 20, out, b, yBottom);
  for (int y : leftYs) s.leftLead(y, 3, l, Lead::Black);
  for (int y : rightYs) s.rightLead(y, r, w - 3, Lead::Black);
  if (!square.isNull()) {
    s.c.pen = Pen{colors::kBlack, 2};
    if (stubY >= 0) s.c.line(square.right() + 1, stubY, l, stubY);
    s.c.pen = Pen{colors::kBlack, 1};
    s.c.rectangle(square.left(), square.top(), square.right() + 1, square.bottom() + 1);
  }
  s.storeIn(slot);
}

void Splitter(int slot, int w, int r, const std::vector<int>& ins, const std::vector<int>& outs) {
  Sketch s(w, 56);
  s.body(10, 10, r, 41);
  for (int x : ins) s.topLead(x, 3, 9, Lead::Accessory);
  for (int x : outs) s.bottomLead(x, 41, 53, Lead::Accessory);
  s.storeIn(slot);
}

void LineAmp() {  // slot 43, kind 108
  Sketch s(136, 106);
  s.body(14, 1, 96, 101);
  s.inner2(14, 1, 96, 101);
  s.c.pen = Pen{colors::kGrey, 1};
  for (int y : {23, 43, 83}) s.c.line(18, y, 90, y);
  s.c.line(30, 23, 30, 83);
  const int boxes[7][2] = {{35, 41}, {47, 41}, {59, 41}, {71, 41}, {35, 52}, {47, 52}, {59, 52}};
  for (const auto& [x, y] : boxes) s.settingBox(x, y);
  s.leftLead(23, 3, 14, Lead::Accessory);
  s.leftLead(43, 3, 14, Lead::Terr);
  s.leftLead(63, 3, 14, Lead::Olive);
  s.leftLead(83, 3, 14, Lead::Accessory);
  s.text(35, 29, "Att.", {FontSizeToHeight(7)});
  s.text(60, 29, "Slope", {FontSizeToHeight(7)});
  s.text(18, 71, "Test", {FontSizeToHeight(7), colors::kOlive, 900});
  s.piece(kSupplyBarV101, 95, 0);
  s.storeIn(43);
}

// ---- optical parts

void OpticalTransmitter(int slot, int firstX, const LeadList& in) {
  Sketch s(146, 126);
  s.body(3, 43, 143, 113);
  s.inner2(3, 43, 143, 113);
  s.bottomLead(23, 113, 123, Lead::Fibre);
  Bottoms(s, firstX, 20, in, 113, 123);
  s.knob(128, 63);
  s.text(8, 47, "Number of Transponders", {FontSizeToHeight(8), colors::kBlue});
  s.piece(kSupplyBarH141, 2, 12);
  s.storeIn(slot);
}

void OpticalReceiver(int slot, int firstX, const LeadList& out) {
  Sketch s(146, 106);
  s.body(3, 23, 143, 93);
  s.inner2(3, 23, 143, 93);
  s.topLead(23, 3, 22, Lead::Fibre);
  s.arrow(23, 27, Dir::Down);
  Bottoms(s, firstX, 20, out, 93, 103);
  s.storeIn(slot);
}

void FibreSplitter(int slot, int w, int r, int b, const std::vector<int>& tops, const std::vector<int>& bottoms,
                   int h, int sideY, bool rightOut) {
  Sketch s(w, h);
  s.body(12, 13, r, b);
  s.leftLead(sideY, 3, 12, Lead::Fibre);
  for (int x : tops) s.topLead(x, 3, 12, Lead::Fibre);
  for (int x : bottoms) s.bottomLead(x, b, h - 3, Lead::Fibre);
  if (rightOut) s.rightLead(sideY, r, w - 3, Lead::Fibre);
  s.storeIn(slot);
}

// ---- modulators and the channel converter

void DvbModulator(int slot, bool channel) {
  Sketch s(100, 80, Background::WhiteKeyed);
  s.c.pen = Pen{colors::kBlack, 2};
  s.c.brush.color = colors::kGrey;
  s.c.rectangle(1, 10, 26, 63);
  s.supplyMarking(true, 6, 14, 20, 17, 38, {4, 13}, {23, 60});
  s.c.pen = Pen{colors::kBlack, 2};
  s.c.brush.color = colors::kWhite;
  s.c.rectangle(25, 10, 100, 63);
  s.arrow(70, 60, Dir::Up);
  s.arrow(90, 56, Dir::Down);
  // The terminals sit where the first template row and the modulator's source pin put the
  // cable ends, 30 below the centre; the margin below them stays white, i.e. transparent.
  s.bottomLead(70, 63, 70, Lead::Terr);
  s.bottomLead(90, 63, 70, Lead::Terr);
  s.text(75, 42, "RF");
  if (channel) s.text(28, 24, "Channel:", {FontSizeToHeight(8), colors::kBlue});
  s.text(32, 35, "Level:", {FontSizeToHeight(8), colors::kBlue});
  s.storeIn(slot);
}

void ChannelConverter() {  // slot 126, kind 60
  Sketch s(126, 206);
  s.body(13, 33, 115, 173);
  s.inner2(13, 33, 115, 173);
  s.arrow(53, 36, Dir::Down);
  Tops(s, 23, 20, kB4, 23, 32);
  s.rightLead(63, 115, 123, Lead::Accessory);
  s.rightLead(83, 115, 123, Lead::Green);
  s.rightLead(143, 115, 123, Lead::OliveCore);
  s.rightLead(163, 115, 123, Lead::Terr);
  s.leftLead(163, 3, 13, Lead::Terr);
  const TextStyle down{FontSizeToHeight(8), colors::kBlack, -900};
  s.text(105, 63, "AUX", down);
  s.text(85, 130, "Att.", {FontSizeToHeight(8), colors::kBlue, -900});
  s.text(105, 130, "Test", {FontSizeToHeight(8), colors::kOlive, -900});
  s.piece(kSupplyBarH103, 12, 172);
  s.storeIn(126);
}

void Lnb() {  // slot 68, kind 91: the picture, keyed by its lower-left pixel
  Sketch s(1, 1);
  s.bmp = Bitmap::FromImage(LnbPicture(), true);
  for (int x : {30, 50, 70, 90}) s.terminals.emplace_back(QPoint(x - 3, 97), QPoint(x + 2, 102));
  s.storeIn(kLnbSlot);
}

// Slot of every kind, from the kinds columns of both symbol tables.
const std::array<int, 221>& KindSlots() {
  static const std::array<int, 221> table = [] {
    std::array<int, 221> t{};
    t.fill(-1);
    auto set = [&](int slot, std::initializer_list<int> kinds) {
      for (int k : kinds) t[static_cast<std::size_t>(k)] = slot;
    };
    auto range = [&](int slot, int k0, int k1) {
      for (int k = k0; k <= k1; ++k) t[static_cast<std::size_t>(k)] = slot;
    };
    set(127, {30}); set(97, {98}); set(7, {210}); set(8, {11}); set(9, {12, 14}); set(41, {107, 109});
    set(42, {29}); set(98, {80}); set(35, {65}); set(36, {66}); set(55, {77}); set(53, {78}); set(54, {79});
    set(68, {91}); set(70, {92}); set(69, {93, 94}); set(71, {95}); set(72, {101, 103}); set(73, {102, 104});
    set(74, {105}); set(75, {106}); range(76, 121, 124); set(77, {125}); set(80, {161, 165});
    set(81, {162, 166}); set(82, {163, 167}); set(83, {164, 168}); set(84, {131}); set(85, {133});
    set(86, {135}); set(87, {137}); set(88, {139}); set(89, {132}); set(90, {134}); set(91, {136});
    set(92, {138}); set(93, {140}); set(94, {151}); set(95, {152, 153}); set(56, {171}); set(57, {170});
    set(58, {173}); set(59, {172}); set(60, {175}); set(61, {174}); set(62, {177}); set(63, {176});
    set(64, {179}); set(65, {178}); range(96, 81, 84); set(44, {88}); set(45, {87}); set(117, {89});
    set(121, {45}); set(120, {44}); set(118, {90}); set(119, {43}); set(46, {86}); range(78, 116, 119);
    set(79, {120}); set(99, {181, 182}); set(100, {183}); set(101, {185}); set(102, {184}); set(103, {186});
    set(104, {126, 129}); set(105, {127}); set(43, {108}); set(106, {128}); set(107, {141}); set(110, {144});
    set(108, {142}); set(111, {145}); set(109, {143, 146}); set(112, {154}); set(113, {155}); set(114, {156});
    set(115, {157}); set(116, {158, 159}); set(122, {97}); set(123, {96}); set(124, {58, 59}); set(125, {61});
    set(126, {60});
    // The switch and amplifier set.
    range(5, 1, 4); range(6, 5, 8); range(10, 16, 19); set(11, {20}); range(12, 21, 24); set(13, {25});
    set(14, {26}); set(15, {27}); set(16, {28});
    for (int k = 31; k <= 42; ++k) t[static_cast<std::size_t>(k)] = k - 14;
    set(29, {50, 51, 57}); set(30, {52}); set(31, {53}); set(32, {54}); set(33, {55}); set(34, {56});
    set(37, {67}); set(38, {68}); set(39, {69}); set(40, {70}); set(47, {71}); set(48, {72}); set(51, {73});
    set(49, {74}); set(52, {75}); set(50, {76});
    return t;
  }();
  return table;
}

}  // namespace

const std::vector<int>& DeviceGlyphSlots() {
  static const std::vector<int> order{127, 0,   1,   2,   3,   4,   97,  7,   8,   9,   41,  42,  98,  35,  36,  55,
                                      53,  54,  68,  70,  69,  71,  72,  73,  74,  75,  76,  77,  80,  81,  82,  83,
                                      84,  85,  86,  87,  88,  89,  90,  91,  92,  93,  94,  95,  66,  67,  56,  57,
                                      58,  59,  60,  61,  62,  63,  64,  65,  96,  44,  45,  117, 121, 120, 118, 119,
                                      46,  78,  79,  99,  100, 101, 102, 103, 104, 105, 43,  106, 107, 110, 108, 111,
                                      109, 112, 113, 114, 115, 116, 122, 123, 124, 125, 126};
  return order;
}

void CreateDeviceGlyphs() {
  EnsureSymbolFonts();
  DcSource();
  SupplyBar(kSupplyBarH103, 103, 32, false, 20, 8, 70, 18, {10, 25}, {95, 5});
  SupplyBar(kSupplyBarV81, 32, 81, true, 20, 10, 8, 56, {3, 3}, {30, 78});
  SupplyBar(kSupplyBarH181, 181, 32, false, 110, 18, 55, 8, {50, 25}, {135, 5});
  SupplyBar(kSupplyBarV101, 32, 101, true, 10, 60, 20, 14, {2, 13}, {30, 88});
  SupplyBar(kSupplyBarH141, 141, 32, false, 90, 18, 35, 8, {30, 25}, {115, 5});
  Load();
  TvSocket();
  Multiswitch126(8, true);
  Multiswitch126(9, false);
  SmallAmp(41, false);
  SmallAmp(42, true);
  Attenuator();
  Multiswitch206(35, true);
  Multiswitch206(36, false);
  Multiswitch406(55, 116, 0, 4, true, 0);
  Multiswitch406(53, 156, 20, 4, false, 121);
  Multiswitch406(54, 236, 20, 8, false, 201);
  Lnb();
  CatvSource();
  Antenna();
  FmAntenna();
  BoxAmp(72, 196, 1, true);
  BoxAmp(73, 196, 1, false);
  BoxAmp(74, 276, 2, true);
  BoxAmp(75, 276, 2, false);
  Tap146();
  Tap286();
  for (int i = 0; i < 4; ++i) Cascade(80 + i, 166 + 40 * i, true, 4 + 2 * i, true, true, true, nullptr, {}, false);
  const int plainHeights[5] = {126, 166, 206, 286, 366}, outs[5] = {4, 6, 8, 12, 16};
  for (int i = 0; i < 5; ++i) Cascade(84 + i, plainHeights[i], false, outs[i], true, true, false, "Att.", {50, 43}, false);
  for (int i = 0; i < 5; ++i)
    Cascade(89 + i, plainHeights[i] + 40, true, outs[i], true, true, false, "Att.", {75, 50}, true);
  Cascade(94, 166, true, 4, true, false, false, nullptr, {}, true);
  Cascade(95, 166, true, 4, true, true, false, nullptr, {}, false);
  RowPiece();
  HeadPiece();
  const int rows[5] = {1, 2, 3, 5, 7};
  for (int i = 0; i < 5; ++i) {
    NineInputCascade(56 + 2 * i, rows[i], false);
    NineInputCascade(57 + 2 * i, rows[i], true);
  }
  TallUnit(96, 152, 151, true, "Chann.", {11, 26}, colors::kBlack);
  TerrAmp60();
  TerrAmp120(45, true, "FM", 62);
  const TextStyle blue{FontSizeToHeight(8), colors::kBlue};
  const TextStyle olive{FontSizeToHeight(8), colors::kOlive};
  const BarAmpSpec attSlope{117, 146, 43, true, {23, 43, 103, 123}, {}, {{14, 61}, {38, 61}},
                            {{{12, 72}, {"Att", blue}}, {{32, 72}, {"Slope", blue}},
                             {{33, 98}, {"Test", olive}}, {{93, 98}, {"Test", olive}}},
                            12};
  BarAmp(attSlope);
  BarAmp({121, 146, 43, false, {23, 103, 123}, {}, {{18, 61}, {18, 76}},
          {{{31, 60}, {"Gain", blue}}, {{31, 75}, {"Slope", blue}}, {{93, 98}, {"Test", olive}}}, 12});
  const TextStyle small{FontSizeToHeight(7)};
  // Each band input sits under its caption; output and test output on the right. The knobs sit in
  // the columns of their values, where a double click finds them.
  BarAmp({120, 156, 40, true, {43, 63, 83, 123}, {63, 93}, {{48, 58}, {68, 58}, {88, 58}, {108, 58}},
          {{{38, 94}, {"UHF", small}}, {{59, 94}, {"UHF", small}}, {{80, 94}, {"VHFIII", small}},
           {{115, 94}, {"FM", small}}, {{127, 65}, {"Test", {FontSizeToHeight(7), colors::kOlive, 900}}},
           {{32, 90}, {"Attenuation", {FontSizeToHeight(7), colors::kBlue, 900}}}},
          9});
  BarAmpSpec second = attSlope;
  second.slot = 118;
  BarAmp(second);
  BarAmp({119, 146, 43, true, {23, 38, 113, 128}, {}, {{93, 48}, {93, 63}, {93, 78}, {93, 93}},
          {{{45, 47}, {"Slope", blue}}, {{50, 62}, {"Att", blue}}, {{50, 77}, {"Att", blue}},
           {{45, 92}, {"Slope", blue}}, {{25, 57}, {"VHF", blue}}, {{25, 83}, {"UHF", blue}},
           {{46, 113}, {"Test", olive}}, {{79, 113}, {"Test", olive}}},
          12});
  TerrAmp120(46, false, "VHFI + FM", 60);
  Tap226();
  Tap546();
  const LeadList b5 = Cat({kB4, kK});
  SingleCable(99, 146, 86, QRect(QPoint(19, 14), QPoint(128, 73)), 33, b5, b5, 3, 83, {}, {23, 63},
              QRect(QPoint(10, 20), QPoint(15, 25)), 23);
  SingleCable(100, 166, 146, QRect(QPoint(13, 33), QPoint(155, 113)), 43, b5, b5, 23, 123, {43, 63, 83, 103},
              {43, 63, 83, 103}, QRect(QPoint(20, 115), QPoint(25, 120)), -1);
  SingleCable(101, 146, 106, QRect(QPoint(19, 14), QPoint(128, 93)), 33, b5, b5, 3, 103, {23, 43}, {}, QRect(), -1);
  SingleCable(102, 146, 106, QRect(QPoint(19, 14), QPoint(128, 93)), 33, b5, b5, 3, 103, {23, 43, 63, 83}, {},
              QRect(), -1);
  SingleCable(103, 126, 106, QRect(QPoint(19, 14), QPoint(108, 93)), 33,
              {Lead::Grey, Lead::Green, Lead::Red, Lead::Black}, Same(4, Lead::Black), 3, 103, {}, {}, QRect(), -1);
  Splitter(104, 66, 56, {33}, {18, 48});
  Splitter(105, 66, 56, {18, 48}, {18, 48});
  LineAmp();
  Splitter(106, 76, 66, {18, 38, 58}, {18, 58});
  OpticalTransmitter(107, 43, Reversed(b5));
  OpticalTransmitter(110, 53, {Lead::Terr, Lead::Green, Lead::Grey});
  OpticalReceiver(108, 43, b5);
  OpticalReceiver(111, 83, {Lead::Grey, Lead::Green, Lead::Terr});
  OpticalReceiver(109, 53, Same(4, Lead::Black));
  FibreSplitter(112, 66, 54, 50, {}, {18, 48}, 66, 33, false);
  FibreSplitter(113, 76, 64, 50, {}, {18, 38, 58}, 66, 33, false);
  FibreSplitter(114, 96, 84, 50, {}, {18, 38, 58, 78}, 66, 33, false);
  FibreSplitter(115, 96, 84, 50, {18, 38, 58, 78}, {18, 38, 58, 78}, 66, 33, false);
  FibreSplitter(116, 66, 55, 45, {}, {}, 56, 29, true);
  DvbModulator(122, true);
  DvbModulator(123, false);
  TallUnit(124, 152, 151, false, nullptr, {}, colors::kBlack);
  TallUnit(125, 150, 150, true, "Att.", {21, 36}, colors::kBlue);
  ChannelConverter();
}

QImage LnbPicture() {
  Bitmap b(120, 120);
  Canvas c(b);
  c.brush.color = colors::kSilver;
  c.floodFill(1, 1, colors::kSilver, FillStyle::Border);
  c.brush.color = colors::kWhite;
  c.pen = Pen{colors::kBlack, 2};
  // Feed horn: a dark ring with a light throat.
  c.brush.color = colors::kGrey;
  c.ellipse(30, 4, 90, 40);
  c.brush.color = 0x404040;
  c.ellipse(40, 10, 80, 34);
  c.brush.color = colors::kWhite;
  // Neck and housing.
  c.brush.color = 0xE0E0E0;
  c.rectangle(44, 34, 76, 52);
  c.rectangle(16, 50, 104, 90);
  c.pen = Pen{colors::kGrey, 1};
  for (int y = 56; y < 88; y += 6) c.line(22, y, 98, y);
  c.pen = Pen{colors::kBlack, 1};
  c.brush.color = colors::kWhite;
  c.rectangle(50, 60, 70, 74);
  // Four output connectors with their terminals where the run takes the source pins.
  for (int x : {30, 50, 70, 90}) {
    c.pen = Pen{colors::kBlack, 1};
    c.brush.color = 0x00A0C0;  // brass
    c.rectangle(x - 6, 89, x + 7, 96);
    c.brush.color = colors::kWhite;
    c.ellipse(x - 3, 97, x + 3, 103);
  }
  return b.image().convertToFormat(QImage::Format_Indexed8, Qt::ThresholdDither | Qt::AvoidDither);
}

int TypeSlotOfKind(int kind) {
  if (kind < 0 || kind >= static_cast<int>(KindSlots().size())) return -1;
  return KindSlots()[static_cast<std::size_t>(kind)];
}

std::vector<QRect> KindTerminalRects(int kind) {
  const int slot = TypeSlotOfKind(kind);
  if (slot < 0 || TypeGlyphAt(slot).empty()) return {};
  return TypeGlyphTerminals[static_cast<std::size_t>(slot)];
}

std::vector<QPoint> KindTerminalOffsets(int kind) {
  const int slot = TypeSlotOfKind(kind);
  std::vector<QPoint> out;
  if (slot < 0) return out;
  const Bitmap& g = TypeGlyphAt(slot);
  for (const QRect& r : KindTerminalRects(kind))
    out.emplace_back(r.left() + r.width() / 2 - g.width() / 2, r.top() + r.height() / 2 - g.height() / 2);
  return out;
}

}  // namespace kavrix

// Type symbols: which slots exist when, their sizes and keys, lead colours, terminals, the pieces
// inside composed symbols, release and rebuild, and the glyph stores' hooks into the model.
#include <QPoint>
#include <algorithm>
#include <set>
#include <vector>

#include <gtest/gtest.h>

#include "model/network_model.hpp"
#include "symbols/canvas_surface.hpp"
#include "symbols/glyph_store.hpp"
#include "symbols/switch_amp_glyphs.hpp"
#include "symbols/type_glyphs.hpp"

namespace kavrix {
namespace {

void ClearAllSlots() {
  for (int s = 0; s < kTypeGlyphSlots; ++s) {
    TypeGlyphs[s].release();
    TypeGlyphTerminals[s].clear();
  }
}

class TypeGlyphsTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ClearAllSlots();
    CreateDeviceGlyphs();
  }
  void TearDown() override {
    ClearAllSlots();
    IncludeObsolete = false;
  }
};

struct SlotSpec {
  int slot, w, h, terminals;
};

// Sizes and terminal counts of every slot that start-up draws.
const SlotSpec kDeviceSlots[] = {
    {127, 60, 32, 1},   {0, 103, 32, 0},    {1, 32, 81, 0},     {2, 181, 32, 0},    {3, 32, 101, 0},
    {4, 141, 32, 0},    {97, 20, 56, 1},    {7, 56, 16, 1},     {8, 126, 106, 14},  {9, 126, 106, 9},
    {41, 56, 66, 2},    {42, 56, 66, 2},    {98, 56, 66, 2},    {35, 206, 106, 22}, {36, 206, 106, 13},
    {55, 406, 116, 42}, {53, 406, 156, 25}, {54, 406, 236, 33}, {68, 120, 120, 4},  {70, 60, 186, 1},
    {69, 100, 186, 1},  {71, 100, 186, 1},  {72, 196, 126, 10}, {73, 196, 126, 10}, {74, 276, 126, 18},
    {75, 276, 126, 18}, {76, 146, 126, 15}, {77, 286, 126, 25}, {80, 126, 166, 13}, {81, 126, 206, 17},
    {82, 126, 246, 21}, {83, 126, 286, 25}, {84, 126, 126, 13}, {85, 126, 166, 17}, {86, 126, 206, 21},
    {87, 126, 286, 29}, {88, 126, 366, 37}, {89, 126, 166, 13}, {90, 126, 206, 17}, {91, 126, 246, 21},
    {92, 126, 326, 29}, {93, 126, 406, 37}, {94, 126, 166, 9},  {95, 126, 166, 13}, {66, 206, 41, 4},
    {67, 206, 126, 13}, {56, 206, 126, 17}, {57, 206, 166, 17}, {58, 206, 166, 21}, {59, 206, 206, 21},
    {60, 206, 206, 25}, {61, 206, 246, 25}, {62, 206, 286, 33}, {63, 206, 326, 33}, {64, 206, 366, 41},
    {65, 206, 406, 41}, {96, 56, 152, 4},   {44, 60, 166, 4},   {45, 120, 100, 4},  {117, 146, 126, 4},
    {121, 146, 126, 3}, {120, 156, 126, 6}, {118, 146, 126, 4}, {119, 146, 126, 4}, {46, 120, 100, 4},
    {78, 226, 226, 27}, {79, 546, 226, 45}, {99, 146, 86, 12},  {100, 166, 146, 18}, {101, 146, 106, 12},
    {102, 146, 106, 14}, {103, 126, 106, 8}, {104, 66, 56, 3},  {105, 66, 56, 4},   {43, 136, 106, 4},
    {106, 76, 56, 5},   {107, 146, 126, 6}, {110, 146, 126, 4}, {108, 146, 106, 6}, {111, 146, 106, 4},
    {109, 146, 106, 5}, {112, 66, 66, 3},   {113, 76, 66, 4},   {114, 96, 66, 5},   {115, 96, 66, 9},
    {116, 66, 56, 2},   {122, 100, 80, 2},  {123, 100, 80, 2},  {124, 56, 152, 2},  {125, 56, 150, 4},
    {126, 126, 206, 9}};

// The switch and amplifier set; terminals = top + bottom + side leads of each row.
const SlotSpec kSwitchAmpSlots[] = {
    {14, 56, 66, 3},    {15, 56, 66, 5},    {16, 56, 66, 7},    {34, 126, 86, 8},   {33, 56, 66, 2},
    {5, 126, 86, 8},    {6, 126, 106, 8},   {12, 146, 126, 15}, {13, 286, 126, 25}, {17, 126, 86, 9},
    {18, 126, 126, 9},  {19, 126, 126, 13}, {20, 126, 166, 13}, {21, 126, 166, 17}, {22, 126, 206, 17},
    {23, 126, 206, 21}, {24, 126, 246, 21}, {25, 126, 286, 29}, {26, 126, 326, 29}, {27, 126, 366, 37},
    {28, 126, 406, 37}, {29, 186, 106, 10}, {30, 146, 106, 10}, {10, 226, 226, 27}, {11, 546, 226, 45},
    {31, 256, 106, 18}, {32, 216, 106, 18}, {37, 206, 126, 17}, {38, 206, 166, 17}, {39, 206, 166, 21},
    {40, 206, 206, 21}, {47, 206, 206, 25}, {48, 206, 246, 25}, {49, 206, 326, 33}, {50, 206, 406, 41},
    {51, 206, 286, 33}, {52, 206, 366, 41}};

bool Opaque(int slot) { return slot == 127 || (slot >= 0 && slot <= 4); }
TColor KeyOf(int slot) { return (slot == 122 || slot == 123) ? colors::kWhite : colors::kSilver; }

// True when `c` is within one pixel of (x, y).
bool ColourNear(const Bitmap& b, int x, int y, TColor c) {
  for (int dy = -1; dy <= 1; ++dy)
    for (int dx = -1; dx <= 1; ++dx)
      if (b.pixel(x + dx, y + dy) == c) return true;
  return false;
}

void ExpectSlots(const SlotSpec* begin, const SlotSpec* end) {
  for (const SlotSpec* s = begin; s != end; ++s) {
    SCOPED_TRACE(::testing::Message() << "slot " << s->slot);
    const Bitmap& g = TypeGlyphAt(s->slot);
    ASSERT_FALSE(g.empty());
    EXPECT_EQ(g.width(), s->w);
    EXPECT_EQ(g.height(), s->h);
    EXPECT_EQ(g.transparent(), !Opaque(s->slot));
    if (!Opaque(s->slot)) {
      EXPECT_EQ(g.transparentColor(), KeyOf(s->slot));
    }
    EXPECT_EQ(static_cast<int>(TypeGlyphTerminals[s->slot].size()), s->terminals);
    // Every terminal lies inside the symbol, is white at its centre and has a black outline.
    for (const QRect& r : TypeGlyphTerminals[s->slot]) {
      EXPECT_TRUE(QRect(0, 0, g.width(), g.height()).contains(r)) << r.x() << "," << r.y();
      const QPoint c = r.topLeft() + QPoint(3, 3);
      EXPECT_EQ(g.pixel(c.x(), c.y()), colors::kWhite) << c.x() << "," << c.y();
      bool outline = false;
      for (int x = r.left(); x <= r.right(); ++x) outline = outline || g.pixel(x, c.y()) == colors::kBlack;
      EXPECT_TRUE(outline) << c.x() << "," << c.y();
    }
  }
}

TEST_F(TypeGlyphsTest, StartUpFillsTheNinetyOneSlotsWithTheirSizesAndKeys) {
  ASSERT_EQ(DeviceGlyphSlots().size(), 91u);
  ExpectSlots(std::begin(kDeviceSlots), std::end(kDeviceSlots));
  std::set<int> drawn(DeviceGlyphSlots().begin(), DeviceGlyphSlots().end());
  int empty = 0;
  for (int s = 0; s < kTypeGlyphSlots; ++s) {
    EXPECT_EQ(TypeGlyphAt(s).empty(), drawn.count(s) == 0) << "slot " << s;
    empty += TypeGlyphAt(s).empty();
  }
  EXPECT_EQ(empty, 37);
  // The obsolete set fills exactly the 37 slots start-up leaves empty.
  for (int s : SwitchAmpGlyphSlots()) EXPECT_EQ(drawn.count(s), 0u) << "slot " << s;
}

TEST_F(TypeGlyphsTest, OpaqueAndWhiteKeyedSymbols) {
  // The DC source keeps its white margin; the modulators key out their white box.
  const Bitmap& dc = TypeGlyphAt(127);
  EXPECT_EQ(dc.pixel(55, 2), colors::kWhite);
  EXPECT_EQ(dc.pixel(20, 3), colors::kGrey);
  const Bitmap& mod = TypeGlyphAt(122);
  EXPECT_EQ(mod.pixel(60, 55), colors::kWhite);
  Bitmap canvas(120, 100);
  Canvas c(canvas);
  c.brush.color = colors::kGreen;
  c.fillRect(0, 0, 120, 100);
  c.draw(0, 0, mod);
  EXPECT_EQ(canvas.pixel(60, 55), colors::kGreen);
  EXPECT_EQ(canvas.pixel(20, 20), colors::kGrey);  // the supply box is painted
  // Supply bars are grey inside a black outline along the whole border.
  const Bitmap& bar = TypeGlyphAt(kSupplyBarH103);
  EXPECT_EQ(bar.pixel(0, 16), colors::kBlack);
  EXPECT_EQ(bar.pixel(102, 16), colors::kBlack);
  EXPECT_EQ(bar.pixel(60, 28), colors::kGrey);
}

TEST_F(TypeGlyphsTest, LeadColoursFollowTheColourOrders) {
  // Slot 8, order A on top and bottom, terrestrial black with a white core.
  const Bitmap& s8 = TypeGlyphAt(8);
  const TColor a[4] = {colors::kGreen, colors::kYellow, colors::kGrey, colors::kRed};
  for (int i = 0; i < 4; ++i) {
    EXPECT_TRUE(ColourNear(s8, 23 + 20 * i, 9, a[i])) << i;
    EXPECT_TRUE(ColourNear(s8, 23 + 20 * i, 98, a[i])) << i;
  }
  EXPECT_EQ(s8.pixel(103, 9), colors::kWhite);
  EXPECT_TRUE(ColourNear(s8, 101, 9, colors::kBlack));
  EXPECT_TRUE(ColourNear(s8, 118, 43, colors::kBlack));  // a subscriber output
  // Order B on the cascade inputs; the taps of slot 76 run terrestrial first, top to bottom.
  const Bitmap& s84 = TypeGlyphAt(84);
  const TColor b[4] = {colors::kGrey, colors::kGreen, colors::kRed, colors::kYellow};
  for (int i = 0; i < 4; ++i) EXPECT_TRUE(ColourNear(s84, 23 + 20 * i, 8, b[i])) << i;
  const Bitmap& s76 = TypeGlyphAt(76);
  EXPECT_EQ(s76.pixel(138, 23), colors::kWhite);
  for (int i = 0; i < 4; ++i) EXPECT_TRUE(ColourNear(s76, 138, 43 + 20 * i, b[3 - i])) << i;
  // The optical transmitter's inputs are mirrored: black-with-white-core at x 43, grey at x 123.
  const Bitmap& s107 = TypeGlyphAt(107);
  EXPECT_EQ(s107.pixel(43, 118), colors::kWhite);
  EXPECT_TRUE(ColourNear(s107, 123, 118, colors::kGrey));
  // Fibre leads: yellow with a black core.
  const Bitmap& s112 = TypeGlyphAt(112);
  EXPECT_TRUE(ColourNear(s112, 18, 57, colors::kBlack));
  EXPECT_TRUE(ColourNear(s112, 21, 57, colors::kYellow));
  // Accessory leads are grey; the amplifier's output lead starts inside the body (y 53 to 63),
  // over the bottom edge of the frame.
  EXPECT_TRUE(ColourNear(TypeGlyphAt(41), 28, 6, colors::kGrey));
  EXPECT_EQ(TypeGlyphAt(41).pixel(28, 54), colors::kGrey);
  EXPECT_EQ(TypeGlyphAt(42).pixel(28, 54), colors::kGrey);
}

TEST_F(TypeGlyphsTest, FeedLeadKnobsAndTerminalsAreDrawnTrue) {
  // The inserter's feed lead was 2 px wide where every lead is 4.
  const Bitmap& s42 = TypeGlyphAt(42);
  for (int y = 23; y <= 26; ++y) EXPECT_EQ(s42.pixel(46, y), colors::kPurple) << y;
  // The second members' "Sat A Gain" knob covered the body's left frame.
  CreateSwitchAmpGlyphs();
  for (int slot : {38, 40, 48, 49, 50}) {
    const Bitmap& g = TypeGlyphAt(slot);
    for (int y = 76; y <= 86; ++y) {
      EXPECT_EQ(g.pixel(12, y), colors::kBlack) << slot << " y " << y;
      EXPECT_EQ(g.pixel(13, y), colors::kBlack) << slot << " y " << y;
    }
    EXPECT_EQ(g.pixel(20, 81), colors::kBlue) << slot;
  }
  // Terminal circles were lopsided; each is now the same round ring, white inside.
  const char* ring[] = {".####.", "#....#", "#....#", "#....#", "#....#", ".####."};
  for (int slot = 0; slot < kTypeGlyphSlots; ++slot) {
    const Bitmap& g = TypeGlyphAt(slot);
    for (const QRect& r : TypeGlyphTerminals[slot]) {
      if (r.width() != 6 || slot == 127) continue;  // the DC source's terminal is a square
      for (int y = 0; y < 6; ++y)
        for (int x = 0; x < 6; ++x) {
          const TColor c = g.pixel(r.left() + x, r.top() + y);
          if (ring[y][x] == '#') {
            ASSERT_EQ(c, colors::kBlack) << slot << " at " << r.left() + x << "," << r.top() + y;
          }
          if (x > 0 && x < 5 && y > 0 && y < 5) {
            ASSERT_EQ(c, colors::kWhite) << slot << " at " << r.left() + x << "," << r.top() + y;
          }
        }
    }
  }
}

TEST_F(TypeGlyphsTest, PiecesAppearInsideTheComposedSymbols) {
  // An opaque bar overwrites its whole rectangle.
  auto barInside = [](int slot, int bar, QPoint at) {
    const Bitmap& g = TypeGlyphAt(slot);
    const Bitmap& p = TypeGlyphAt(bar);
    int mismatches = 0;
    for (int y = 0; y < p.height(); ++y)
      for (int x = 0; x < p.width(); ++x) mismatches += g.pixel(at.x() + x, at.y() + y) != p.pixel(x, y);
    return mismatches;
  };
  EXPECT_EQ(barInside(89, kSupplyBarH103, {12, 132}), 0);
  EXPECT_EQ(barInside(93, kSupplyBarH103, {12, 372}), 0);
  EXPECT_EQ(barInside(57, kSupplyBarH181, {12, 132}), 0);
  EXPECT_EQ(barInside(65, kSupplyBarH181, {12, 372}), 0);
  EXPECT_EQ(barInside(53, kSupplyBarH181, {112, 121}), 0);
  EXPECT_EQ(barInside(117, kSupplyBarH141, {2, 12}), 0);
  EXPECT_EQ(barInside(72, kSupplyBarV101, {161, 12}), 0);
  EXPECT_EQ(barInside(126, kSupplyBarH103, {12, 172}), 0);
  // The head piece's inputs and the row pieces' outputs carry over into the stacks.
  const auto& head = TypeGlyphTerminals[kOutlineHeadPiece];
  const auto& s59 = TypeGlyphTerminals[59];  // head at (0, 20), rows at 93 and 133
  for (const QRect& r : head) EXPECT_NE(std::find(s59.begin(), s59.end(), r.translated(0, 20)), s59.end());
  for (const QRect& r : TypeGlyphTerminals[kOutlineRowPiece]) {
    EXPECT_NE(std::find(s59.begin(), s59.end(), r.translated(0, 93)), s59.end());
    EXPECT_NE(std::find(s59.begin(), s59.end(), r.translated(0, 133)), s59.end());
  }
  // Each row piece is a closed body strip: its edges run across the stack between the rows, and
  // the last row's bottom edge closes the body (b = 153).
  const Bitmap& g = TypeGlyphAt(58);  // rows at 73 and 113
  for (int y : {73, 111, 112, 113, 151, 152}) EXPECT_EQ(g.pixel(100, y), colors::kBlack) << y;
  EXPECT_EQ(g.pixel(100, 120), colors::kWhite);
  EXPECT_EQ(g.pixel(100, 153), colors::kSilver);
  EXPECT_EQ(TypeGlyphAt(kOutlineRowPiece).pixel(100, 0), colors::kBlack);
  EXPECT_EQ(TypeGlyphAt(kOutlineRowPiece).pixel(100, 40), colors::kSilver);
  // The tall units close their bodies at the given bottom: y 151 in the 152-high channel
  // amplifier, y 150 (the last pixel row) in the 150-high channel converter.
  EXPECT_EQ(TypeGlyphAt(96).pixel(29, 150), colors::kBlack);
  EXPECT_EQ(TypeGlyphAt(96).pixel(29, 151), colors::kSilver);
  EXPECT_EQ(TypeGlyphAt(125).pixel(29, 149), colors::kBlack);
}

TEST_F(TypeGlyphsTest, CaptionsKeepTheirFontsAndOddities) {
  ClearAllSlots();
  TextRecorder rec;
  CreateDeviceGlyphs();
  auto find = [&](const std::string& text, int x, int y) -> const DrawnText* {
    for (const DrawnText& d : rec.texts)
      if (d.text == text && d.x == x && d.y == y) return &d;
    return nullptr;
  };
  const DrawnText* fm = find("FM", 35, -3);  // starts above the top edge, clipped by the bitmap
  ASSERT_NE(fm, nullptr);
  EXPECT_EQ(fm->font.name, kNarrowFontName);
  EXPECT_EQ(fm->font.height, FontSizeToHeight(6));
  const DrawnText* vhf = find("VHFIII", 51, 53);
  ASSERT_NE(vhf, nullptr);
  EXPECT_EQ(vhf->font.orientation, 900);
  const DrawnText* gain = find("Gain", 17, 98);  // after the narrow captions: default face again, blue
  ASSERT_NE(gain, nullptr);
  EXPECT_EQ(gain->font.name, kDefaultFontName);
  EXPECT_EQ(gain->font.height, FontSizeToHeight(8));
  EXPECT_EQ(gain->font.color, colors::kBlue);
  const DrawnText* dc = find("DC", 43, 28);  // moved in from (45, 28), where it ran off the symbol
  ASSERT_NE(dc, nullptr);
  EXPECT_EQ(dc->font.color, colors::kPurple);
  EXPECT_EQ(dc->font.height, FontSizeToHeight(7));
  const DrawnText* aux = find("AUX", 105, 63);
  ASSERT_NE(aux, nullptr);
  EXPECT_EQ(aux->font.orientation, -900);
  for (const char* t : {"Sat B Att.", "Terr TV Att.", "Number of Transponders", "Channel:", "Chann."})
    EXPECT_TRUE(std::any_of(rec.texts.begin(), rec.texts.end(), [&](const DrawnText& d) { return d.text == t; }))
        << t;
  // The clipped caption's white background stays visible at the top edge of slot 44.
  EXPECT_TRUE(ColourNear(TypeGlyphAt(44), 38, 1, colors::kWhite));
}

TEST_F(TypeGlyphsTest, LnbPictureAndItsOutputs) {
  const QImage pic = LnbPicture();
  EXPECT_EQ(pic.size(), QSize(120, 120));
  EXPECT_EQ(pic.format(), QImage::Format_Indexed8);
  EXPECT_EQ(FromRgb(pic.pixel(0, 119)), colors::kSilver);
  const std::vector<QPoint> offsets = KindTerminalOffsets(91);
  const std::vector<QPoint> expected{{-30, 40}, {-10, 40}, {10, 40}, {30, 40}};
  EXPECT_EQ(offsets, expected);
  for (const QRect& r : KindTerminalRects(91)) EXPECT_EQ(TypeGlyphAt(kLnbSlot).pixel(r.x() + 3, r.y() + 3), colors::kWhite);
}

TEST_F(TypeGlyphsTest, KindsFindTheirSlotAndTerminals) {
  EXPECT_EQ(TypeSlotOfKind(12), TypeSlotOfKind(14));
  EXPECT_EQ(TypeSlotOfKind(152), TypeSlotOfKind(153));
  EXPECT_EQ(TypeSlotOfKind(210), 7);
  EXPECT_EQ(TypeSlotOfKind(33), 19);
  EXPECT_EQ(TypeSlotOfKind(73), 51);
  EXPECT_EQ(TypeSlotOfKind(74), 49);
  for (int k : {0, 9, 100, 201, 209, 220, -4, 221, 5000}) EXPECT_EQ(TypeSlotOfKind(k), -1) << k;
  // Kind 11: five inputs on top at x 23..103 of a 126 x 106 symbol, centre (63, 53).
  const std::vector<QPoint> t = KindTerminalOffsets(11);
  EXPECT_NE(std::find(t.begin(), t.end(), QPoint(-40, -50)), t.end());
  EXPECT_NE(std::find(t.begin(), t.end(), QPoint(40, 50)), t.end());
  EXPECT_NE(std::find(t.begin(), t.end(), QPoint(60, -30)), t.end());
  // An obsolete kind has no terminals while its slot is empty.
  EXPECT_TRUE(KindTerminalRects(31).empty());
}

TEST_F(TypeGlyphsTest, SwitchAmpSetBuildsReleasesAndRebuilds) {
  CreateSwitchAmpGlyphs();
  ExpectSlots(std::begin(kSwitchAmpSlots), std::end(kSwitchAmpSlots));
  // Slot 17: silver at (1, 1), transparent, five inputs in G Y g R and black-with-white-core.
  const Bitmap& s17 = TypeGlyphAt(17);
  EXPECT_EQ(s17.pixel(1, 1), colors::kSilver);
  const TColor a[4] = {colors::kGreen, colors::kYellow, colors::kGrey, colors::kRed};
  for (int i = 0; i < 4; ++i) EXPECT_TRUE(ColourNear(s17, 23 + 20 * i, 9, a[i])) << i;
  EXPECT_EQ(s17.pixel(103, 9), colors::kWhite);
  // The second member of a pair has its inputs 20 px down and the bar under its body.
  EXPECT_EQ(TypeGlyphTerminals[18].front().top(), 20);
  EXPECT_EQ(TypeGlyphAt(18).pixel(60, 120), colors::kGrey);

  // Building twice leaves one valid symbol per slot; the start-up slots are untouched.
  const qint64 before = TypeGlyphAt(8).image().cacheKey();
  CreateSwitchAmpGlyphs();
  ExpectSlots(std::begin(kSwitchAmpSlots), std::end(kSwitchAmpSlots));
  ReleaseSwitchAmpGlyphs();
  int kept = 0;
  for (int s : SwitchAmpGlyphSlots()) {
    EXPECT_EQ(TypeGlyphAt(s).empty(), !KeptOnRelease(s)) << "slot " << s;
    kept += !TypeGlyphAt(s).empty();
  }
  EXPECT_EQ(kept, 3);
  for (int s : DeviceGlyphSlots()) EXPECT_FALSE(TypeGlyphAt(s).empty()) << "slot " << s;
  EXPECT_EQ(TypeGlyphAt(8).image().cacheKey(), before);
  ReleaseSwitchAmpGlyphs();  // a second release is harmless
  CreateSwitchAmpGlyphs();
  ExpectSlots(std::begin(kSwitchAmpSlots), std::end(kSwitchAmpSlots));
}

TEST_F(TypeGlyphsTest, EmptyAndOutOfRangeReadsYieldEmptyBitmaps) {
  EXPECT_TRUE(TypeGlyphAt(-1).empty());
  EXPECT_TRUE(TypeGlyphAt(kTypeGlyphSlots).empty());
  EXPECT_TRUE(TypeGlyphAt(17).empty());  // obsolete slot not built
  // Drawing an empty slot onto a surface changes nothing.
  Bitmap b(10, 10);
  Canvas c(b);
  c.draw(0, 0, TypeGlyphAt(17));
  EXPECT_EQ(b.pixel(5, 5), colors::kWhite);
}

TEST(GlyphStore, HooksFollowTheModelRows) {
  InstallGlyphHooks();
  NewNetworkModel();
  EXPECT_EQ(ObjGlyphs.size(), 3u);
  StoreObjGlyph(1, Bitmap(4, 4));
  StoreObjGlyph(7, Bitmap(4, 4));  // outside the rows: ignored
  EXPECT_TRUE(ObjGlyphAt(7).empty());
  SyncRowCompanions();
  EXPECT_EQ(ObjGlyphs.size(), NetObjects.size());
  EXPECT_EQ(ObjGlyphAt(1).width(), 4);  // existing entries survive a resize
  EXPECT_TRUE(ObjGlyphAt(-1).empty());
  EXPECT_TRUE(ObjGlyphAt(100000).empty());
  NewNetworkModel();
  EXPECT_EQ(ObjGlyphs.size(), 3u);
  EXPECT_TRUE(ObjGlyphAt(1).empty());  // a new model releases every former symbol
  RemoveGlyphHooks();
}

}  // namespace
}  // namespace kavrix

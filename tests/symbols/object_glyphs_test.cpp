// Object symbols: quarter turns, composition of every kind (sizes after each turn, model names,
// fixed texts), comment line breaks, the obsolete set rebuilt on demand, and the rebuild hooks.
#include "symbols/object_glyphs.hpp"

#include <QString>
#include <string>

#include "glyph_fixture.hpp"
#include "model/drawing_extent.hpp"
#include "symbols/value_labels.hpp"

namespace kavrix {
namespace {

using test::AddObject;
using test::GlyphTest;

Bitmap Numbered(int w, int h) {
  Bitmap b(w, h);
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x) b.setPixel(x, y, static_cast<TColor>(1 + x + 100 * y));
  return b;
}

TEST(RotateBitmap, QuarterTurnsMovePixelsAsTheEditorTurnsCoordinates) {
  const Bitmap src = Numbered(5, 3);
  const Bitmap ccw = RotateBitmap(src, 1), half = RotateBitmap(src, 2), cw = RotateBitmap(src, 3);
  ASSERT_EQ(ccw.width(), 3);
  ASSERT_EQ(ccw.height(), 5);
  ASSERT_EQ(half.width(), 5);
  ASSERT_EQ(cw.width(), 3);
  for (int y = 0; y < 5; ++y)
    for (int x = 0; x < 3; ++x) {
      EXPECT_EQ(ccw.pixel(x, y), src.pixel(4 - y, x));
      EXPECT_EQ(cw.pixel(x, y), src.pixel(y, 2 - x));
    }
  for (int y = 0; y < 3; ++y)
    for (int x = 0; x < 5; ++x) EXPECT_EQ(half.pixel(x, y), src.pixel(4 - x, 2 - y));
  EXPECT_EQ(ccw.pixel(0, 0), src.pixel(4, 0));  // top-right corner to the top-left
  EXPECT_EQ(cw.pixel(0, 0), src.pixel(0, 2));   // bottom-left corner to the top-left
  EXPECT_TRUE(ccw.transparent());
}

TEST(RotateBitmap, CopyKeysTheSourceOntoSilverAndBadModesGiveNothing) {
  Bitmap src(4, 4);  // white, keyed by its lower-left pixel
  src.setPixel(1, 1, colors::kRed);
  src.setTransparent(true);
  const Bitmap copy = RotateBitmap(src, 0);
  EXPECT_EQ(copy.pixel(0, 0), colors::kSilver);
  EXPECT_EQ(copy.pixel(1, 1), colors::kRed);
  EXPECT_TRUE(copy.transparent());
  for (int mode : {-1, 4, 9}) {
    const Bitmap none = RotateBitmap(src, mode);
    EXPECT_TRUE(none.empty());
    EXPECT_TRUE(none.transparent());
  }
  EXPECT_TRUE(RotateBitmap(Bitmap(), 1).empty());
}

using ObjectGlyph = GlyphTest;

TEST_F(ObjectGlyph, EveryKindTakesItsTypeSymbolSizeAndTurnsWithOrient) {
  for (int kind = 1; kind <= 210; ++kind) {
    const int slot = TypeSlotOfKind(kind);
    for (int orient = 0; orient <= 5; ++orient) {
      NewNetworkModel();
      const int row = AddObject(kind, 100, 100, 0, orient, 1);
      const Bitmap g = MakeObjectGlyph(row);
      SCOPED_TRACE("kind " + std::to_string(kind) + " orient " + std::to_string(orient));
      int w = 0, h = 0;
      if (kind == 100 && orient <= 4) {
        w = 220;
        h = 20;
      } else if (slot >= 0 && (kind < 200 || kind == 210) && orient <= 4) {
        w = TypeGlyphAt(slot).width();
        h = TypeGlyphAt(slot).height();
      }
      if (orient == 2 || orient == 4) std::swap(w, h);
      EXPECT_EQ(g.width(), w);
      EXPECT_EQ(g.height(), h);
      if (!g.empty()) { EXPECT_EQ(g.transparent(), kind != 30); }  // the DC source alone is opaque
    }
  }
}

TEST_F(ObjectGlyph, RowsAndKindsOutsideTheTableComposeNothing) {
  const int row = AddObject(0, 10, 10);
  EXPECT_TRUE(MakeObjectGlyph(row).empty());
  NetObjects[row][kKind] = 300;
  EXPECT_TRUE(MakeObjectGlyph(row).empty());
  NetObjects[row][kKind] = -1;
  EXPECT_TRUE(MakeObjectGlyph(row).empty());
  EXPECT_TRUE(MakeObjectGlyph(-1).empty());
  EXPECT_TRUE(MakeObjectGlyph(static_cast<int>(NetObjects.size())).empty());
  RebuildObjectGlyph(-3);  // no effect, no crash
  RebuildObjectGlyph(static_cast<int>(NetObjects.size()) + 5);
}

TEST_F(ObjectGlyph, ModelNameIsBoldAtTheKindsPointAndFixedTextsFollow) {
  const int lnbSlot = TypeSlotOfKind(1);
  ASSERT_EQ(lnbSlot, 5);
  {
    TextRecorder rec;
    MakeObjectGlyph(AddObject(1, 0, 0, 0, 1));
    ASSERT_EQ(rec.texts.size(), 1u);
    EXPECT_EQ(rec.texts[0].text, "Kelv1");
    EXPECT_EQ(rec.texts[0].x, 32);
    EXPECT_EQ(rec.texts[0].y, 30);
    EXPECT_EQ(rec.texts[0].font.style, font_style::kBold);
    EXPECT_EQ(rec.texts[0].font.height, 14);
  }
  {
    TextRecorder rec;  // tap value in normal style after the name
    MakeObjectGlyph(AddObject(122, 0, 0, 0, 1));
    ASSERT_EQ(rec.texts.size(), 2u);
    EXPECT_EQ(rec.texts[0].text, "Rask6");
    EXPECT_EQ(rec.texts[1].text, "-10dB");
    EXPECT_EQ(rec.texts[1].x, 90);
    EXPECT_EQ(rec.texts[1].font.style, 0);
  }
  {
    TextRecorder rec;  // two-line names from the fragment rows, font 12
    MakeObjectGlyph(AddObject(26, 0, 0, 1, 1));
    MakeObjectGlyph(AddObject(55, 0, 0, 0, 1));
    ASSERT_EQ(rec.texts.size(), 4u);
    EXPECT_EQ(rec.texts[0].text, "Pold");
    EXPECT_EQ(rec.texts[1].text, "001");
    EXPECT_EQ(rec.texts[1].y, 30);
    EXPECT_EQ(rec.texts[1].font.height, 12);
    EXPECT_EQ(rec.texts[2].text, "Nerb");
    EXPECT_EQ(rec.texts[3].text, "001");
    EXPECT_EQ(rec.texts[3].y, 28);
  }
  {
    TextRecorder rec;  // cut names and captions; the amplifier's "Att." comes first, in blue
    MakeObjectGlyph(AddObject(59, 0, 0, 474, 1));
    MakeObjectGlyph(AddObject(129, 0, 0, 0, 1));
    MakeObjectGlyph(AddObject(84, 0, 0, 0, 1));
    std::vector<std::string> texts;
    for (const DrawnText& t : rec.texts) texts.push_back(t.text);
    EXPECT_EQ(texts, (std::vector<std::string>{"Input", "Freq.", " MHz", "Dul", "M17C", "Klav1", "-R/RB", "Att.",
                                               "Prul4"}));
    EXPECT_EQ(rec.texts[7].font.color, colors::kBlue);
    EXPECT_EQ(rec.texts[7].y, 86);
    EXPECT_EQ(rec.texts[8].font.color, colors::kBlack);
    EXPECT_EQ(rec.texts[8].font.style, font_style::kBold);
  }
  {
    TextRecorder rec;  // vertical names
    MakeObjectGlyph(AddObject(29, 0, 0, 0, 1));
    MakeObjectGlyph(AddObject(60, 0, 0, 10, 2));
    ASSERT_EQ(rec.texts.size(), 2u);
    EXPECT_EQ(rec.texts[0].font.orientation, 900);
    EXPECT_EQ(rec.texts[1].font.orientation, -900);
  }
}

TEST_F(ObjectGlyph, TvSocketTextStaysUprightWhenTurnedOver) {
  {
    TextRecorder rec;
    MakeObjectGlyph(AddObject(210, 0, 0, 15, 1, 2));
    ASSERT_EQ(rec.texts.size(), 1u);
    EXPECT_EQ(rec.texts[0].text, "15m-2");
    EXPECT_EQ(rec.texts[0].x, 9);
    EXPECT_EQ(rec.texts[0].font.height, 13);
    EXPECT_EQ(rec.texts[0].font.style, 0);
  }
  TextRecorder rec;
  const Bitmap g = MakeObjectGlyph(AddObject(210, 0, 0, 15, 3, 2));
  ASSERT_EQ(rec.texts.size(), 1u);  // written once, after the turn, onto the result
  EXPECT_EQ(rec.texts[0].text, "15m-2");
  EXPECT_EQ(rec.texts[0].x, 17);
  EXPECT_EQ(rec.texts[0].y, 0);
  EXPECT_EQ(rec.texts[0].font.orientation, 0);
  EXPECT_EQ(g.width(), TypeGlyphAt(7).width());
}

TEST_F(ObjectGlyph, LnbShowsSlotLetterAndBandStrokesByStyle) {
  TextRecorder rec;
  const Bitmap g = MakeObjectGlyph(AddObject(91, 0, 0, 2, 1, 2));
  ASSERT_EQ(rec.texts.size(), 1u);
  EXPECT_EQ(rec.texts[0].text, "C");
  EXPECT_EQ(rec.texts[0].background, colors::kSilver);
  // Style 2: grey, green, red, yellow from left to right (points on each stroke).
  EXPECT_EQ(g.pixel(40, 95), colors::kGrey);
  EXPECT_EQ(g.pixel(50, 94), colors::kGreen);
  EXPECT_EQ(g.pixel(70, 88), colors::kRed);
  EXPECT_EQ(g.pixel(90, 85), colors::kYellow);
  const Bitmap s1 = MakeObjectGlyph(AddObject(91, 0, 0, 0, 1, 1));
  EXPECT_EQ(s1.pixel(40, 95), colors::kGreen);
  EXPECT_EQ(s1.pixel(90, 85), colors::kRed);
  // Another Style draws no strokes; another Inst no letter.
  TextRecorder none;
  const Bitmap plain = MakeObjectGlyph(AddObject(91, 0, 0, 7, 1, 5));
  EXPECT_TRUE(none.texts.empty());
  EXPECT_EQ(plain.pixel(50, 94), TypeGlyphAt(68).pixel(50, 94));
}

TEST_F(ObjectGlyph, SupplyBarOnlyOnTheKindsThatCarryIt) {
  const Bitmap with = MakeObjectGlyph(AddObject(152, 0, 0, 0, 1));
  const Bitmap without = MakeObjectGlyph(AddObject(153, 0, 0, 0, 1));
  const Bitmap& bar = TypeGlyphAt(kSupplyBarH103);
  ASSERT_FALSE(bar.empty());
  int differing = 0;
  for (int y = 0; y < bar.height(); ++y)
    for (int x = 0; x < bar.width(); ++x) {
      if (bar.pixel(x, y) == bar.transparentColor()) continue;
      EXPECT_EQ(with.pixel(12 + x, 132 + y), bar.pixel(x, y));
      differing += without.pixel(12 + x, 132 + y) != bar.pixel(x, y);
    }
  EXPECT_GT(differing, 0);
  const Bitmap deep = MakeObjectGlyph(AddObject(164, 0, 0, 0, 1));
  EXPECT_EQ(deep.pixel(12 + bar.width() / 2, 252 + bar.height() / 2), bar.pixel(bar.width() / 2, bar.height() / 2));
}

// Comment texts break after the last blank among the first 30 characters of each part.
TEST_F(ObjectGlyph, CommentLinesBreakAtBlanksAndSetTheHeight) {
  auto lines = [](const std::string& text, int* height) {
    ItemTexts[0] = text;
    TextRecorder rec;
    const Bitmap g = MakeObjectGlyph(AddObject(100, 0, 0, 0, 1));
    *height = g.height();
    EXPECT_EQ(g.width(), 220);
    std::vector<std::string> out;
    for (const DrawnText& t : rec.texts) out.push_back(t.text);
    return out;
  };
  int h = 0;
  EXPECT_EQ(lines(std::string(30, 'x'), &h).size(), 1u);
  EXPECT_EQ(h, 20);
  EXPECT_EQ(lines("", &h), std::vector<std::string>{""});
  EXPECT_EQ(h, 20);

  const std::string first = std::string(19, 'a') + " ";  // the only blank at position 20
  EXPECT_EQ(lines(first + std::string(11, 'b'), &h), (std::vector<std::string>{first, std::string(11, 'b')}));
  EXPECT_EQ(h, 30);

  const std::string second = std::string(24, 'c') + " ";
  EXPECT_EQ(lines(first + second + std::string(12, 'd'), &h),
            (std::vector<std::string>{first, second, std::string(12, 'd')}));
  EXPECT_EQ(h, 40);

  // No blank at all: cut every 30 characters, four lines at most, the rest not shown.
  const std::vector<std::string> cut = lines(std::string(150, 'e'), &h);
  EXPECT_EQ(cut, (std::vector<std::string>(4, std::string(30, 'e'))));
  EXPECT_EQ(h, 50);

  // Characters, not bytes: thirty accented letters stay on one line.
  QString accented(30, QChar(0x00E4));
  EXPECT_EQ(lines(accented.toStdString(), &h).size(), 1u);
  EXPECT_EQ(h, 20);

  // An Inst outside the text slots shows an empty comment.
  TextRecorder rec;
  const Bitmap g = MakeObjectGlyph(AddObject(100, 0, 0, 500, 1));
  EXPECT_EQ(g.height(), 20);
}

// The options may release the obsolete families' symbols while such objects are on the drawing.
TEST_F(ObjectGlyph, ReleasedObsoleteSymbolIsBuiltAgainRatherThanVanishing) {
  ReleaseSwitchAmpGlyphs();
  ASSERT_TRUE(TypeGlyphAt(10).empty());
  const Bitmap g = MakeObjectGlyph(AddObject(16, 0, 0, 0, 1));
  EXPECT_FALSE(g.empty());
  EXPECT_FALSE(TypeGlyphAt(10).empty());
}

TEST_F(ObjectGlyph, HooksRebuildSymbolAndLabelsForModelCode) {
  InstallObjectGlyphHooks();
  OptionControls.CheckBox2 = true;
  const int row = AddObject(80, 0, 0, 7, 1);
  ASSERT_TRUE(Hooks().rowGlyphChanged);
  TextRecorder rec;
  Hooks().rowGlyphChanged(row);
  ASSERT_FALSE(ObjGlyphAt(row).empty());
  std::vector<std::string> texts;
  for (const DrawnText& t : rec.texts) texts.push_back(t.text);
  EXPECT_EQ(texts, (std::vector<std::string>{"Frox1", std::to_string(row), "7", std::to_string(row)}));
  // Changed values show on a symbol composed afresh: a narrower value drawn over a wider one
  // left digits of the old one standing.
  const int modulator = AddObject(96, 0, 0, -12, 1);
  Hooks().rowGlyphChanged(modulator);
  NetObjects[static_cast<std::size_t>(modulator)][kInst] = 0;
  Hooks().rowLabelsChanged(modulator);
  const QImage shown = ObjGlyphAt(modulator).image().copy();
  RebuildObjectGlyph(modulator);
  EXPECT_EQ(shown, ObjGlyphAt(modulator).image());
  RemoveObjectGlyphHooks();
  EXPECT_FALSE(Hooks().rowGlyphChanged);
}

TEST_F(ObjectGlyph, TurningDesignatorsOffComposesCleanSymbols) {
  const int a = AddObject(80, 0, 0, 7, 1);
  const int b = AddObject(1, 0, 0, 0, 3);
  ApplyShowDesignators(true);
  RebuildAllObjectGlyphs();
  const QImage withDesignator = ObjGlyphAt(b).image().copy();
  ApplyShowDesignators(false);
  EXPECT_NE(ObjGlyphAt(b).image(), withDesignator);
  for (int row : {a, b}) {
    Bitmap clean = MakeObjectGlyph(row);
    const Bitmap kept = ObjGlyphAt(row);
    StoreObjGlyph(row, clean);
    DrawObjectLabels(row);
    EXPECT_EQ(kept.image(), ObjGlyphAt(row).image()) << "row " << row;
  }
}

bool SamePixels(const Bitmap& a, const Bitmap& b) {
  return a.width() == b.width() && a.height() == b.height() && a.image() == b.image() &&
         a.transparent() == b.transparent();
}

// Objects with the same kind, Inst, Orient and Style share one composition: what one object's
// labels draw must never reach another's symbol, and a taken symbol must look as one composed anew
// (a recording composes every symbol afresh).
TEST_F(ObjectGlyph, SharedCompositionsKeepEachObjectsLabelsApart) {
  OptionControls.CheckBox2 = true;
  const int first = Place(133, 0, 1, 0, {{0, 0, 0, 0, 0}});
  const int second = Place(133, 0, 1, 0, {{-3, 0, 0, 0, 0}});
  const int socket = Place(210, 15, 3, 2);
  for (int row : {first, second, socket}) RebuildObjectGlyph(row);
  for (int row : {first, second, socket}) {
    Bitmap fresh;
    {
      TextRecorder composeAfresh;
      fresh = MakeObjectGlyph(row);
    }
    EXPECT_TRUE(SamePixels(MakeObjectGlyph(row), fresh)) << row;
    const Bitmap labelled = ObjGlyphAt(row);
    StoreObjGlyph(row, fresh);
    DrawObjectLabels(row);
    EXPECT_TRUE(SamePixels(ObjGlyphAt(row), labelled)) << "row " << row << " shows another object's labels";
  }
  EXPECT_FALSE(SamePixels(ObjGlyphAt(first), ObjGlyphAt(second))) << "designators and settings differ";
}

// A type symbol built or drawn on again is a new composition's base at once.
TEST_F(ObjectGlyph, RedrawnTypeSymbolReachesTheNextComposition) {
  const int row = Place(121, 0, 1);
  const Bitmap before = MakeObjectGlyph(row);
  const TColor was = TypeGlyphs[76].pixel(1, 1);
  TypeGlyphs[76].setPixel(1, 1, colors::kRed);
  EXPECT_EQ(MakeObjectGlyph(row).pixel(1, 1), colors::kRed);
  TypeGlyphs[76].setPixel(1, 1, was);
  EXPECT_TRUE(SamePixels(MakeObjectGlyph(row), before));
}

// The extent reads the composed, turned symbols through the model hook.
TEST_F(ObjectGlyph, ExtentUsesComposedSymbolSizes) {
  InstallObjectGlyphHooks();
  const int row = AddObject(1, 100, 50, 0, 1);
  RebuildObjectGlyph(row);
  const Bitmap& type = TypeGlyphAt(5);
  CalcDrawingExtent();
  EXPECT_EQ(DrawExtentX, 100 + type.width() / 2 + 15);
  EXPECT_EQ(DrawExtentY, 50 + type.height() / 2 + 15);
  NetObjects[row][kOrient] = 2;
  RebuildObjectGlyph(row);
  CalcDrawingExtent();
  EXPECT_EQ(DrawExtentX, 100 + type.height() / 2 + 15);
  EXPECT_EQ(DrawExtentY, 50 + type.width() / 2 + 15);

  // A kind without a symbol of its own composes 0 x 0 and was left out of the extent, so the
  // picture export and the overview cut it off; it counts with its point.
  const int bare = AddObject(62, 900, 700, 0, 1);
  RebuildObjectGlyph(bare);
  ASSERT_TRUE(ObjGlyphAt(bare).empty());
  CalcDrawingExtent();
  EXPECT_EQ(DrawExtentX, 900 + 15);
  EXPECT_EQ(DrawExtentY, 700 + 15);
}

}  // namespace
}  // namespace kavrix

// Value labels: box sizes and placement in turned symbols, keyword texts, the modulator and
// channel texts, designators, lists read by index, and what freshly placed objects show.
#include "symbols/value_labels.hpp"

#include <algorithm>
#include <set>

#include "catalogue/port_templates.hpp"
#include "catalogue/type_catalogue.hpp"
#include "glyph_fixture.hpp"
#include "symbols/canvas_surface.hpp"

namespace kavrix {
namespace {

using test::AddContinuation;
using test::AddObject;
using test::GlyphTest;
using namespace label_code;
using namespace label_mode;

using ValueLabels = GlyphTest;

std::vector<std::string> Texts(int row) {
  std::vector<std::string> out;
  for (const ValueLabel& l : ObjectLabels(row, false)) out.push_back(l.blank ? "" : ValueLabelText(row, l.value, l.mode));
  return out;
}

TEST_F(ValueLabels, BoxWidthFollowsValueAndKind) {
  const int amp = AddObject(81, 0, 0, 0, 1);
  const int sw = AddObject(52, 0, 0, 0, 1);
  const int link = AddObject(58, 0, 0, 0, 1);
  const int tx = AddObject(60, 0, 0, 0, 1);
  auto width = [](int row, double v, int mode = kBlack) { return ValueLabelRect(row, v, mode, 0, 0, 200, 200).width(); };
  EXPECT_EQ(width(amp, 5), 11);
  EXPECT_EQ(width(sw, 5), 16);
  EXPECT_EQ(width(sw, -3), 16);
  EXPECT_EQ(width(amp, 0), 11);
  EXPECT_EQ(width(amp, -0.5), 18);  // above -1 the small-number rule wins, but "-0.5" inks 18 columns
  EXPECT_EQ(width(sw, 150), 34);
  EXPECT_EQ(width(sw, kSwitchDown), 9);
  EXPECT_EQ(width(sw, kLoopOn), 9);
  EXPECT_EQ(width(sw, kLoopOff), 9);
  EXPECT_EQ(width(sw, kPassive), 42);
  EXPECT_EQ(width(sw, kChannel), 20);
  EXPECT_EQ(width(sw, kStandard), 60);
  EXPECT_EQ(width(sw, kModulatorOutput), 62);
  EXPECT_EQ(width(sw, kModulatorHeading), 52);
  EXPECT_EQ(width(link, 5), 28);
  EXPECT_EQ(width(link, kSatA + 1), 29);  // "SAT B" inks one column more than the link unit's box
  EXPECT_EQ(ValueLabelRect(tx, 5, kDownBlue, 0, 0, 200, 200).height(), 28);
}

TEST_F(ValueLabels, PlacementFollowsTheTurnedSymbol) {
  const int row = AddObject(52, 0, 0, 0, 1);  // 16 x 15 labels for small values
  const int gw = 160, gh = 120, x = 30, y = 20;
  auto at = [&](int orient) {
    NetObjects[row][kOrient] = orient;
    return ValueLabelRect(row, 5, kBlack, x, y, gw, gh);
  };
  EXPECT_EQ(at(1), QRect(30, 20, 16, 15));
  EXPECT_EQ(at(2), QRect(20, gh - 15 - x + 16 - 16, 15, 16));
  EXPECT_EQ(at(3), QRect(gw - 16 - x, gh - 15 - y, 16, 15));
  EXPECT_EQ(at(4), QRect(gw - 15 - y, 30, 15, 16));
  EXPECT_EQ(at(0), QRect(0, 0, 16, 15));
  EXPECT_TRUE(at(5).isNull());
}

TEST_F(ValueLabels, SwitchPictureAndAttenuatorRows) {
  const int row = AddObject(43, 0, 0, 0, 1);
  AddContinuation(0, 9, 0, 0);  // S1[2] = 9 reaches the first row's threshold 8
  const std::vector<ValueLabel> plan = ObjectLabels(row, false);
  ASSERT_EQ(plan.size(), 12u);
  EXPECT_EQ(plan[0].value, 2);
  EXPECT_EQ(plan[0].mode, kGreen);
  EXPECT_EQ(plan[1].value, kSwitchDown);
  EXPECT_EQ(plan[2].value, 7);
  EXPECT_EQ(plan[2].mode, kBlue);
  EXPECT_EQ(plan[4].value, kSwitchUp);  // second row, setting 0
  EXPECT_EQ(plan[3].mode, kBlue);

  RebuildObjectGlyph(row);
  const Bitmap& g = ObjGlyphAt(row);
  // Switch of the first row at (84, 46): frame black, lower half blue, upper half white.
  EXPECT_EQ(g.pixel(84 + 2, 46 + 5), colors::kBlack);
  EXPECT_EQ(g.pixel(84 + 5, 46 + 10), colors::kBlue);
  EXPECT_EQ(g.pixel(84 + 5, 46 + 5), colors::kWhite);
  // Second row: 20001, upper half blue.
  EXPECT_EQ(g.pixel(84 + 5, 61 + 5), colors::kBlue);
  EXPECT_EQ(g.pixel(84 + 5, 61 + 10), colors::kWhite);
}

TEST_F(ValueLabels, KeywordsAndOutputStates) {
  const int link = AddObject(58, 0, 0, 11000, 1);
  AddContinuation(8, 0, 9750, 10600);
  EXPECT_EQ(Texts(link), (std::vector<std::string>{"1250", "SAT A", "H,Lo"}));
  NetObjects[link][kInst] = 11800;
  NetObjects[link + 1][2] = 1;
  NetObjects[link + 1][1] = 23;  // satellite C, 13V: the run feeds band 3 (18V had no label)
  EXPECT_EQ(Texts(link), (std::vector<std::string>{"1200", "SAT C", "V,Lo"}));
  for (auto [source, band] : {std::pair{21, "H,Lo"}, {22, "H,Hi"}, {24, "V,Hi"}}) {
    NetObjects[link + 1][1] = source;
    EXPECT_EQ(Texts(link).back(), band);
  }
  NetObjects[link + 1][1] = 48;  // satellite 4 is none of A..D; band digit 8 on the high band
  EXPECT_EQ(Texts(link), (std::vector<std::string>{"1200", "V,Hi"}));
  NetObjects[link + 1][1] = 0;
  EXPECT_EQ(Texts(link), (std::vector<std::string>{"1200", "None"}));

  const int quad = AddObject(183, 0, 0, 100000000, 1);
  EXPECT_EQ(Texts(quad), (std::vector<std::string>{"Active", "", "", "", "", "", "", "", ""}));
  for (std::size_t g = 1; g <= 8; ++g) {  // digit g + 1 stands beside the output of the group it switches
    const TemplateRow& out = PortTemplates[static_cast<std::size_t>(TypeOf(183)[kFirstTemplateRow]) + 5 * g];
    const ValueLabel l = ObjectLabels(quad, false)[g];
    EXPECT_EQ(l.x < 83, out[kTplOutDx] < 0) << "group " << g;  // its side of the 166 x 146 symbol
    EXPECT_EQ(l.y + 7, out[kTplOutDy] - TemplateTerminalShift(183) + 73) << "group " << g;
  }
  const int two = AddObject(185, 0, 0, 110, 1);
  EXPECT_EQ(Texts(two), (std::vector<std::string>{"L", ""}));
  const int shortState = AddObject(184, 0, 0, 10, 1);  // digits beyond the string give nothing
  EXPECT_EQ(ObjectLabels(shortState, false).size(), 1u);
  const int loop = AddObject(181, 0, 0, 101, 1);
  EXPECT_EQ(Texts(loop), std::vector<std::string>{"L"});

  const int amp = AddObject(83, 0, 0, 3, 1);
  AddContinuation(4, 9, 2, 5);
  EXPECT_EQ(Texts(amp), (std::vector<std::string>{"9R", "12", "    Au", "A/D OF", "2", "5"}));
  NetObjects[amp][kInst] = 1;
  EXPECT_EQ(Texts(amp), (std::vector<std::string>{"4", "9", "    B", "A/D OF", "2", "5"}));
}

// Rows from 10000 showed keywords or a switch; on the modulators labels and the edge hid digits.
TEST_F(ValueLabels, DesignatorShowsItsWholeNumber) {
  OptionControls.CheckBox2 = true;
  const auto green = [](const QImage& i) {
    const auto* p = reinterpret_cast<const QRgb*>(i.constBits());
    return std::count(p, p + i.width() * i.height(), ToRgb(colors::kGreen));
  };
  const int rows[4] = {10000, 10020, 10025, 20000};
  for (int i = 0; i < 4; ++i) {  // both modulators, every turn
    while (CurObject < rows[i]) AddContinuation();
    const int row = Place(96 + i % 2, 0, i + 1, 0, {{0, 4740, 1, 0, 0}});
    RebuildObjectGlyph(row);
    Bitmap alone(40, 15);
    Canvas c(alone);
    c.font = Font{kDefaultFontName, 13, 0, colors::kGreen};
    c.textOut(0, 0, std::to_string(row));
    EXPECT_EQ(green(ObjGlyphAt(row).image()), green(alone.image())) << "row " << row;
  }
}

TEST_F(ValueLabels, ModulatorShowsChannelsOrFrequencies) {
  const int row = AddObject(96, 0, 0, 0, 1);
  AddContinuation(-1, 4740, 1);
  EXPECT_EQ(Texts(row), (std::vector<std::string>{"0", "C21, C22", "Channels:"}));
  NetObjects[row + 1][3] = 0;
  EXPECT_EQ(Texts(row), (std::vector<std::string>{"0", "474, 482.3", "  F(MHz):"}));
  NetObjects[row + 1][2] = 4750;  // not a channel centre
  NetObjects[row + 1][3] = 1;
  EXPECT_EQ(Texts(row), (std::vector<std::string>{"0", "475, 483", "  F(MHz):"}));
  NetObjects[row + 1][3] = 9;  // a step outside the list
  EXPECT_EQ(Texts(row)[1], "");
  NetObjects[row + 1][2] = 8580;  // C69: its neighbour is the closing " -" item
  NetObjects[row + 1][3] = 1;
  EXPECT_EQ(Texts(row)[1], "C69,  -");
}

// The channel label names the channel of the object's own standard, whatever list a window
// happens to show for another object.
TEST_F(ValueLabels, ChannelLabelUsesTheStoredStandard) {
  const int row = AddObject(97, 0, 0, -3, 1);
  AddContinuation(3, 4);
  EXPECT_EQ(Texts(row), (std::vector<std::string>{"-3", "9A", "Australia"}));
  NetObjects[row + 1][1] = 0;
  EXPECT_EQ(Texts(row), (std::vector<std::string>{"-3", "9", "Europe"}));
  NetObjects[row + 1][2] = 57;  // one past the end of the Europe list
  NetObjects[row + 1][1] = 7;   // no such standard
  EXPECT_EQ(Texts(row), (std::vector<std::string>{"-3", "", ""}));
}

TEST_F(ValueLabels, IndicesOutsideTheirListsGiveBlankBoxes) {
  const int amp = AddObject(101, 0, 0, 0, 1);
  AddContinuation(0, 0, 0, 0, 0);
  AddContinuation(7, 2, -1, 3, 1);
  std::vector<ValueLabel> plan = ObjectLabels(amp, false);
  std::vector<std::string> slopes;
  for (const ValueLabel& l : plan)
    if (l.y == 62) slopes.push_back(l.blank ? "-" : ValueLabelText(amp, l.value, l.mode));
  EXPECT_EQ(slopes, (std::vector<std::string>{"-", "-", "7", "5", "6"}));  // S2[3] -1, S2[1] 7 outside

  const int tx = AddObject(141, 0, 0, 3, 1);
  plan = ObjectLabels(tx, false);
  ASSERT_EQ(plan.size(), 1u);
  EXPECT_TRUE(plan[0].blank);
  NetObjects[tx][kInst] = -4;
  EXPECT_EQ(Texts(tx), std::vector<std::string>{"1"});

  const int vhf = AddObject(81, 0, 0, 2, 1);
  AddContinuation(12, 4);
  EXPECT_EQ(Texts(vhf)[0], "");
  EXPECT_EQ(Texts(vhf)[1], "9R");
  RebuildObjectGlyph(vhf);  // draws without reading past any list
}

TEST_F(ValueLabels, GainsSplitIntoStepsOfFourTowardsZero) {
  const int row = AddObject(131, 0, 0, -7, 2);
  AddContinuation(1, 2, 3, 0);
  EXPECT_EQ(Texts(row), (std::vector<std::string>{"-4", "-3", "8", "0", "4", "12"}));
  const int sw = AddObject(88, 0, 0, 0, 1);
  AddContinuation(-15, -3, 0);
  std::vector<ValueLabel> plan = ObjectLabels(sw, false);
  ASSERT_EQ(plan.size(), 9u);
  EXPECT_EQ(plan[6].value, -5);  // S1[1] = -15 below -10: shown +10 with the switch down
  EXPECT_EQ(plan[7].value, kSwitchDown);
  EXPECT_EQ(plan[6].mode, kBlack);  // the switched column writes plain labels
  EXPECT_EQ(plan[8].mode, kBlack);
  EXPECT_EQ(plan[0].value, 0);  // S1[3] = 0 straight: upward text, 10 above the switch
  EXPECT_EQ(plan[0].mode, kUpBlack);
  EXPECT_EQ(plan[2].value, 10);
  EXPECT_EQ(plan[2].mode, kUpBlack);
  // Kind 89: blue while switched, plain black below the step.
  const int att = AddObject(89, 0, 0, 0, 1);
  AddContinuation(12, 4);
  plan = ObjectLabels(att, false);
  ASSERT_EQ(plan.size(), 6u);
  EXPECT_EQ(plan[0].value, 2);
  EXPECT_EQ(plan[0].mode, kBlue);
  EXPECT_EQ(plan[2].mode, kBlue);
  EXPECT_EQ(plan[3].value, 4);
  EXPECT_EQ(plan[3].mode, kBlack);
  EXPECT_EQ(plan[4].value, kSwitchUp);
  EXPECT_EQ(plan[5].x, 50);
  EXPECT_EQ(plan[5].mode, kBlack);
  EXPECT_EQ(ValueLabelText(sw, -5.7, kUpBlack), "-5");
  EXPECT_EQ(ValueLabelText(sw, 150, kUpBlack), "");
  EXPECT_EQ(ValueLabelText(sw, 2.5, kDownBlue), "2.5");
}

TEST_F(ValueLabels, DesignatorsOnlyWhileShownAndOnlyForKindsThatHaveOne) {
  const std::set<int> none = {30, 91, 92, 93, 94, 95, 98, 100, 153, 161, 162, 163, 164, 165, 166, 167, 168, 210};
  for (int kind = 1; kind <= 210; ++kind) {
    NewNetworkModel();
    const int row = AddObject(kind, 0, 0, 0, 1);
    AddContinuation();
    AddContinuation();
    if (MakeObjectGlyph(row).empty() && kind != 100) continue;
    const std::vector<ValueLabel> off = ObjectLabels(row, false), on = ObjectLabels(row, true);
    const bool expected = none.count(kind) == 0;
    EXPECT_EQ(on.size(), off.size() + (expected ? 1 : 0)) << "kind " << kind;
    for (const ValueLabel& l : off) EXPECT_FALSE(l.mode == kGreen && l.value == row && kind != 43 && kind != 44);
    if (expected && !on.empty()) {
      EXPECT_EQ(on[0].value, row);
      EXPECT_EQ(on[0].mode, kGreen);
    }
  }
}

TEST_F(ValueLabels, DrawnTextsTakeTheModeColourAndDirection) {
  OptionControls.CheckBox2 = true;
  const int row = AddObject(87, 0, 0, 0, 1);
  AddContinuation(-3, -5, -7);
  StoreObjGlyph(row, MakeObjectGlyph(row));
  TextRecorder rec;
  DrawObjectLabels(row);
  ASSERT_EQ(rec.texts.size(), 5u);  // the designator's digits go again over the labels
  EXPECT_EQ(rec.texts[0].text, std::to_string(row));
  EXPECT_EQ(rec.texts[0].font.color, colors::kGreen);
  EXPECT_EQ(rec.texts[1].text, "-3");
  EXPECT_EQ(rec.texts[1].font.orientation, 900);
  EXPECT_EQ(rec.texts[1].x, -1);
  EXPECT_EQ(rec.texts[1].y, 15);
  EXPECT_EQ(rec.texts[1].font.height, 13);
  rec.texts.clear();
  const int tx = AddObject(60, 0, 0, 11, 2);
  StoreObjGlyph(tx, MakeObjectGlyph(tx));
  rec.texts.clear();
  DrawObjectLabels(tx);
  ASSERT_EQ(rec.texts.size(), 3u);
  EXPECT_EQ(rec.texts[1].text, "5.5");
  EXPECT_EQ(rec.texts[1].font.color, colors::kBlue);
  EXPECT_EQ(rec.texts[1].font.orientation, -900);
}

TEST_F(ValueLabels, LabelsAreOpaqueAndTurnWithTheSymbol) {
  const int row = AddObject(80, 0, 0, 7, 3);
  RebuildObjectGlyph(row);
  const Bitmap& g = ObjGlyphAt(row);
  const QRect r = ValueLabelRect(row, 7, kBlack, 20, 40, g.width(), g.height());
  // The box is white where the text leaves it (the symbol beneath is hidden) and its text sits at
  // the box's far corner after the half turn.
  int white = 0, dark = 0;
  for (int y = r.top(); y <= r.bottom(); ++y)
    for (int x = r.left(); x <= r.right(); ++x) (g.pixel(x, y) == colors::kWhite ? white : dark)++;
  EXPECT_GT(white, dark);
  EXPECT_GT(dark, 0);
  EXPECT_EQ(g.pixel(r.left(), r.top()), colors::kWhite);
}

// Placement defaults of the kinds that get labels when armed; every label must land on its symbol.
TEST_F(ValueLabels, PlacedObjectsKeepTheirLabelsOnTheSymbol) {
  struct Armed {
    int kind;
    int inst;
    int orient;
    std::vector<std::array<int, 5>> rows;
  };
  const std::array<int, 5> z{};
  std::vector<Armed> armed = {
      {26, 1, 1, {}},          {29, 0, 1, {}},          {31, 0, 2, {z}},         {32, 0, 1, {}},
      {43, 0, 1, {z}},         {44, 0, 1, {z}},         {45, 0, 1, {z}},         {50, 0, 1, {z}},
      {52, 0, 1, {z}},         {53, 0, 1, {z, z}},      {54, 0, 1, {z, z}},      {55, 0, 1, {}},
      {58, 11000, 1, {{8, 0, 9750, 10600, 0}}},         {59, 474, 1, {}},        {60, 10, 2, {}},
      {61, 0, 1, {{4740, 4900, 5060, 5220, 6100}}},     {67, 0, 2, {z}},         {68, 0, 1, {z}},
      {77, 0, 1, {z}},         {78, 0, 1, {z, z}},      {79, 0, 1, {z, z}},      {80, 0, 1, {}},
      {81, 0, 1, {{21, 22, 0, 0, 0}}},                  {83, 0, 1, {{6, 9, 0, 0, 0}}},
      {84, 0, 1, {{21, 22, 0, 0, 0}, {23, 24, 0, 0, 0}}}, {86, 0, 1, {}},        {87, 0, 1, {z}},
      {88, 0, 1, {z}},         {89, 0, 1, {z}},         {96, 0, 1, {{-1, 4740, 1, 0, 0}}},
      {97, 0, 1, {z}},         {101, 0, 1, {z, z}},     {105, 0, 1, {z, z, z, z}},
      {108, 0, 1, {z}},        {131, 0, 2, {z}},        {132, 0, 1, {}},         {141, 0, 1, {}},
      {151, 0, 1, {}},         {154, 0, 1, {}},         {158, 0, 1, {}},         {170, 0, 1, {z, z}},
      {171, 0, 2, {z, z}},     {181, 100, 1, {}},       {183, 100000000, 1, {}}, {184, 10000, 1, {}},
      {186, 10000, 1, {}},     {116, 0, 1, {}},         {120, 0, 1, {}},         {126, 0, 1, {}},
  };
  for (const Armed& a : armed) {
    for (int orient : {a.orient, 3, 4}) {
      NewNetworkModel();
      const int row = AddObject(a.kind, 300, 300, a.inst, orient);
      for (const auto& s : a.rows) AddContinuation(s[0], s[1], s[2], s[3], s[4]);
      RebuildObjectGlyph(row);
      const Bitmap& g = ObjGlyphAt(row);
      ASSERT_FALSE(g.empty()) << a.kind;
      const QRect bounds(0, 0, g.width(), g.height());
      for (const ValueLabel& l : ObjectLabels(row, true)) {
        const QRect r = ValueLabelRect(row, l.value, l.mode, l.x, l.y, g.width(), g.height());
        EXPECT_TRUE(bounds.intersects(r)) << "kind " << a.kind << " orient " << orient << " label at (" << l.x
                                          << "," << l.y << ")";
      }
    }
  }
}

// Label pictures are painted once and reused over the drawing; a reused picture must be the one
// the label paints afresh (a recording paints every label), whatever the turn, colour mode,
// sideways text or switch picture, and symbols that share values but not the turn must not
// swap pictures.
TEST_F(ValueLabels, ReusedLabelPicturesMatchFreshlyPaintedOnes) {
  struct Case {
    int kind;
    std::array<int, 5> settings;
  };
  const std::vector<Case> cases = {
      {43, {9, 12, 3, 7, 0}},   // green and blue values with switch pictures
      {44, {-12, -3, 0, -15, 0}},
      {87, {4, 11, 7, 0, 0}},   // upward texts
      {88, {-14, -2, 0, 0, 0}}, // upward and plain texts side by side
      {89, {12, 3, 0, 0, 0}},
      {80, {0, 0, 0, 0, 0}},
      {60, {0, 0, 0, 0, 0}},    // downward text in the taller box
  };
  for (const Case& c : cases) {
    for (int orient = 1; orient <= 4; ++orient) {
      NewNetworkModel();
      auto place = [&] {
        const int row = Place(c.kind, 7, orient, 0, {c.settings});
        RebuildObjectGlyph(row);
        return row;
      };
      const int first = place();
      const int reused = place();  // every label of this one comes from the pictures of the first
      Bitmap fresh;
      {
        TextRecorder painted;
        const int row = place();
        fresh = ObjGlyphAt(row);
      }
      EXPECT_EQ(ObjGlyphAt(first).image(), fresh.image()) << "kind " << c.kind << " orient " << orient;
      EXPECT_EQ(ObjGlyphAt(reused).image(), fresh.image()) << "kind " << c.kind << " orient " << orient;
    }
  }
}

}  // namespace
}  // namespace kavrix

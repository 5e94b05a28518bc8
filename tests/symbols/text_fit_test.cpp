// Texts fit where they are drawn: every value label's text within its box, every fixed caption
// of the symbols within its bitmap and clear of the other captions, in the faces the program
// loads (the boxes and captions were laid out for those metrics).
#include <algorithm>
#include <map>
#include <string>
#include <vector>

#include "catalogue/tv_channels.hpp"
#include "glyph_fixture.hpp"
#include "symbols/value_labels.hpp"

namespace kavrix {
namespace {

using test::AddContinuation;
using test::AddObject;
using namespace label_code;
using namespace label_mode;

class TextFit : public test::GlyphTest {
 protected:
  // Columns the label text inks, drawn as a label draws it.
  static int LabelInk(const std::string& text) {
    static std::map<std::string, int> measured;
    if (auto it = measured.find(text); it != measured.end()) return it->second;
    Bitmap scratch(1, 1);
    Canvas c(scratch);
    c.font.height = 13;
    const QRect r = c.textInkRect(0, 0, text);
    return measured[text] = r.isEmpty() ? 0 : r.right() + 1;
  }
  // Checks every horizontal label of `row`; returns how many were checked.
  static int CheckRow(int row) {
    int checked = 0;
    for (const ValueLabel& l : ObjectLabels(row, true)) {
      if (l.blank || l.mode >= 10) continue;
      const std::string text = ValueLabelText(row, l.value, l.mode);
      if (text.empty()) continue;
      const int box = ValueLabelRect(row, l.value, l.mode, l.x, l.y, 1000, 1000).width();
      EXPECT_LE(LabelInk(text), box) << "kind " << NetObjects[row][kKind] << " \"" << text << "\"";
      ++checked;
    }
    return checked;
  }
  static int Object(int kind, int inst, std::vector<std::array<int, 5>> rows) {
    const int r = AddObject(kind, 400, 300, inst, 1, 0);
    for (const auto& s : rows) AddContinuation(s[0], s[1], s[2], s[3], s[4]);
    return r;
  }
};

TEST_F(TextFit, LabelTextsFitTheirBoxes) {
  // "SAT B" needed 33 columns in its 28-column box, "A/D On" 39 in 34, "Channels:" 57 in 52 and
  // two-digit values 14 in 11 in the face used before.
  int checked = 0;
  const int values[] = {-20, -12, -10, -3, 0, 3, 9, 10, 12, 15, 99};
  for (int kind = 1; kind < 200; ++kind)
    for (int v : values) {
      test::FreshModel fresh;
      checked += CheckRow(Object(kind, v, {{v, v, v, v, v}, {v, v, v, v, v}, {v, v, v, v, v}, {v, v, v, v, v}}));
    }
  // The keyword tables.
  for (int sat : {0, 1, 11, 21, 31})
    for (int band : {2, 3, 4, 5, 8})
      for (int inst : {10000, 11800}) {
        test::FreshModel fresh;
        checked += CheckRow(Object(58, inst, {{sat / 10 * 10 + band, 1, 9750, 10600, 0}}));
      }
  for (int kind = 81; kind <= 84; ++kind)
    for (int inst = 0; inst <= 3; ++inst) {
      test::FreshModel fresh;
      checked += CheckRow(Object(kind, inst, {{9, 9, 10, 10, 0}, {12, 12, 10, 10, 0}}));
    }
  for (int freq : {4740, 4750, 8580, 8620})
    for (int step = 0; step <= 3; ++step) {
      test::FreshModel fresh;
      checked += CheckRow(Object(96, 30, {{-1, freq, step, 0, 0}}));
    }
  for (int standard = 0; standard < kTvStandardCount; ++standard)
    for (int item = 0; item < static_cast<int>(TvChannelItems(standard).size()); ++item) {
      test::FreshModel fresh;
      checked += CheckRow(Object(97, -30, {{standard, item, 0, 0, 0}}));
    }
  for (int kind : {181, 183, 184, 185, 186})
    for (int inst : {101, 111111111, 200000000}) {
      test::FreshModel fresh;
      checked += CheckRow(Object(kind, inst, {}));
    }
  EXPECT_GT(checked, 2000);

  // The boxes the face was chosen for hold these without growing.
  test::FreshModel fresh;
  const int amp = Object(101, 0, {{0, 0, 0, 0, 0}});
  EXPECT_EQ(ValueLabelRect(Object(88, 0, {}), 12, kBlack, 0, 0, 99, 99).width(), 11);
  EXPECT_EQ(ValueLabelRect(amp, 12, kBlack, 0, 0, 99, 99).width(), 11);
  EXPECT_EQ(ValueLabelRect(Object(83, 2, {{0, 0, 0, 0, 0}}), kAdOn, kBlack, 0, 0, 99, 99).width(), 34);
  const int mod = Object(96, 0, {{-1, 4740, 1, 0, 0}});
  EXPECT_EQ(ValueLabelRect(mod, kModulatorHeading, kBlack, 0, 0, 99, 99).width(), 52);
  EXPECT_EQ(ValueLabelRect(mod, kModulatorOutput, kBlack, 0, 0, 99, 99).width(), 62);
}

// Every text drawn while the type symbols are built, and the fixed texts composed symbols add.
TEST_F(TextFit, FixedCaptionsStayInsideTheirSymbolAndClearOfEachOther) {
  for (int s = 0; s < kTypeGlyphSlots; ++s) TypeGlyphs[s].release();
  std::map<int64_t, std::vector<std::pair<std::string, QRect>>> inks;
  std::map<int64_t, QSize> sizes;
  {
    TextRecorder rec;
    CreateDeviceGlyphs();
    CreateSwitchAmpGlyphs();
    // Composed symbols whose own texts are fixed: tap values, the link units' and converters'
    // captions, the split model names.
    for (int kind : {16, 19, 21, 24, 26, 27, 28, 55, 58, 59, 61, 116, 119, 121, 124, 129}) {
      const int row = AddObject(kind, 400, 300, 0, 1, 0);
      RebuildObjectGlyph(row);
    }
    Bitmap probe(1, 1);
    Canvas c(probe);
    for (const DrawnText& d : rec.texts) {
      if (d.text.find_first_not_of(' ') == std::string::npos) continue;
      c.font = d.font;
      inks[d.targetId].push_back({d.text, c.textInkRect(d.x, d.y, d.text)});
      sizes[d.targetId] = d.targetSize;
    }
  }
  int captions = 0;
  for (const auto& [target, list] : inks) {
    for (std::size_t i = 0; i < list.size(); ++i) {
      const auto& [text, rect] = list[i];
      ++captions;
      // The band caption "FM" of the 88 symbol starts above the top edge by design and is clipped.
      if (!(text == "FM" && rect.top() < 0)) {
        EXPECT_TRUE(QRect(QPoint(0, 0), sizes[target]).contains(rect)) << "\"" << text << "\" leaves its symbol";
      }
      for (std::size_t j = i + 1; j < list.size(); ++j)
        EXPECT_FALSE(rect.intersects(list[j].second)) << "\"" << text << "\" runs into \"" << list[j].first << "\"";
    }
  }
  EXPECT_GT(captions, 100);
}

}  // namespace
}  // namespace kavrix

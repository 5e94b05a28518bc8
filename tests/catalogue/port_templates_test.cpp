#include <gtest/gtest.h>

#include <map>
#include <set>
#include <vector>

#include "catalogue/knob_table.hpp"
#include "catalogue/placement_defaults.hpp"
#include "catalogue/port_template_build.hpp"
#include "catalogue/port_templates.hpp"
#include "catalogue/type_catalogue.hpp"

namespace kavrix {
namespace {

const tmpl::Table& Built() {
  static const tmpl::Table t = tmpl::Build();
  return t;
}

// Categories the engine blocks dispatch on; the sources (kinds 91..95) compute nothing.
const std::set<int>& EngineCategories() {
  static const std::set<int> c = [] {
    std::set<int> s = {11,  12,  21,  22,  23,  24,  25,  26,  29,  37,  38,  41,  42,  43,  44,  45,  50,
                       51,  53,  55,  56,  57,  58,  59,  60,  61,  65,  66,  71,  72,  75,  76,  77,  79,
                       80,  81,  82,  83,  84,  86,  87,  88,  89,  90,  96,  97,  101, 103, 105, 107, 108,
                       109, 126, 127, 128, 129, 133, 136, 139, 140, 141, 142, 143, 144, 145, 151, 152, 161,
                       162, 163, 164, 181, 182, 183, 184, 185};
    for (int k = 991; k <= 998; ++k) s.insert(k);
    for (int k = 154; k <= 159; ++k) s.insert(k);
    for (int k = 170; k <= 179; ++k) s.insert(k);
    return s;
  }();
  return c;
}

std::vector<int> DeviceKinds() {
  std::vector<int> kinds;
  for (int k = 1; k < 200; ++k)
    if (TypeOf(k)[kPaths] > 0) kinds.push_back(k);
  return kinds;
}

bool IsSource(int kind) { return kind >= 91 && kind <= 95; }

TEST(PortTemplates, TellingRowsAreExact) {
  const std::vector<std::pair<int, TemplateRow>> telling = {
      {0, {991001, -30, -40, -30, 40, 4, 0, 93}},
      {4, {-55, -20, 55, -20, -55, 20, 55, 20}},
      {20, {995001, -30, -50, 2000000, 2000000, 8, 0, 93}},
      {2280, {157402, -45, 0, -30, -30, 0, 0, 1000000}},
      {2326, {89005, -50, 60, 50, 60, 0, 3, 123}},
      {2329, {20, 16, 1, 1, 20, 17, 1, 2}},
      {2366, {58000, -25, -60, 25, -60, 0, 0, 85}},
      {2390, {96005, 20, 30, 40, 30, 0, 1, 110}},
      {2391, {-30, 16, 0, 3, 0, 0, 0, 0}},
  };
  for (const auto& [row, values] : telling) EXPECT_EQ(PortTemplates[row], values) << "row " << row;
  EXPECT_EQ(PortTemplates[TypeOf(60)[kFirstTemplateRow] + 8], (TemplateRow{30, 16, 0, 3, 0, 0, 0, 0}));
}

// Hulq1 and the obsolete Kelv13/Kelv14 have blocks of their own instead of borrowed rows.
TEST(PortTemplates, FormerlyBorrowedKindsHaveOwnBlocks) {
  for (int kind : {63, 64, 186}) {
    const int first = TypeOf(kind)[kFirstTemplateRow];
    EXPECT_NE(first, 0) << kind;
    for (int p = 0; p < TypeOf(kind)[kPaths]; ++p) {
      const int code = PortTemplates[first + p][kTplCode];
      EXPECT_TRUE(EngineCategories().count(code / 1000)) << kind << " code " << code;
    }
  }
  // No path of Kelv14's own block falls into another kind's rows.
  EXPECT_LE(TypeOf(64)[kFirstTemplateRow] + TypeOf(64)[kPaths], Built().end[64]);
}

TEST(PortTemplates, BlocksAgreeWithCatalogueAndEngine) {
  const tmpl::Table& t = Built();
  for (int kind : DeviceKinds()) {
    SCOPED_TRACE(kind);
    const TypeRecord& type = TypeOf(kind);
    const int first = type[kFirstTemplateRow];
    const int paths = type[kPaths];
    ASSERT_EQ(first, t.first[kind]);
    ASSERT_EQ(type[kTerminalShift], t.shift[kind]);
    ASSERT_LE(first + paths, t.end[kind]);
    ASSERT_LE(t.end[kind], kTemplateRowCount);
    std::map<int, int> prevKey;  // per engine block (a composite kind has two)
    for (int p = 0; p < paths; ++p) {
      const TemplateRow& r = PortTemplates[first + p];
      const int code = r[kTplCode];
      const int cat = code / 1000, group = (code % 1000) / 100, path = code % 100;
      if (IsSource(kind)) {
        EXPECT_EQ(cat, 0);
      } else {
        EXPECT_TRUE(EngineCategories().count(cat)) << "code " << code;
      }
      // Group-major, ascending paths inside a group.
      const int key = group * 100 + path;
      if (prevKey.count(cat)) { EXPECT_GT(key, prevKey[cat]) << "code " << code; }
      prevKey[cat] = key;
      // Extra-port and control rows lie in the kind's own block, after its path rows.
      for (int col : {kTplExtraRow, kTplControlRow}) {
        if (r[col] == 0) continue;
        EXPECT_GE(r[col], paths) << "code " << code;
        EXPECT_LT(first + r[col], t.end[kind]) << "code " << code;
      }
      // A path has at least one pin on the drawing.
      EXPECT_TRUE(r[kTplInDx] != kNoPinOffset || r[kTplOutDx] != kNoPinOffset) << code;
    }
  }
}

TEST(PortTemplates, VariantFamiliesCarryTheirCategories) {
  for (int k = 1; k <= 8; ++k) EXPECT_EQ(PortTemplates[TypeOf(k)[kFirstTemplateRow]][0] / 1000, 990 + k);
  for (int k : {116, 117, 118, 119, 121, 122, 123, 124}) {
    const int cat = k < 120 ? k - 95 : k - 100;
    for (int p = 0; p < TypeOf(k)[kPaths]; ++p)
      EXPECT_EQ(PortTemplates[TypeOf(k)[kFirstTemplateRow] + p][0] / 1000, cat) << k;
  }
  // The mains-powered 9-input switches carry their own category on the terrestrial path only.
  for (int k = 170; k <= 178; k += 2)
    for (int p = 0; p < TypeOf(k)[kPaths]; ++p) {
      const int code = PortTemplates[TypeOf(k)[kFirstTemplateRow] + p][0];
      EXPECT_EQ(code / 1000, code % 100 == 5 ? k : k + 1);
    }
}

// Every cell a control row reads or Tune writes exists for a freshly placed object; kinds
// without placement command may only use their own row.
TEST(PortTemplates, ControlCellsExistInDefaultRows) {
  for (int kind : DeviceKinds()) {
    const int first = TypeOf(kind)[kFirstTemplateRow];
    for (int p = 0; p < TypeOf(kind)[kPaths]; ++p) {
      const int rel = PortTemplates[first + p][kTplControlRow];
      if (rel == 0) continue;
      const TemplateRow& c = PortTemplates[first + rel];
      SCOPED_TRACE(testing::Message() << "kind " << kind << " control row " << first + rel);
      EXPECT_TRUE(c[kCtlFieldA] == 16 || c[kCtlFieldA] == 17);
      EXPECT_TRUE(c[kCtlModeA] < 0 || c[kCtlModeA] > 1);
      const bool placed = FindPlacementDefaults(kind) != nullptr;
      EXPECT_TRUE(placed ? DefaultCellExists(kind, c[kCtlRowA], c[kCtlColumnA]) : c[kCtlRowA] == 0);
      if (c[kCtlModeB] > 0) {
        EXPECT_EQ(c[kCtlFieldB], 17);
        EXPECT_TRUE(placed ? DefaultCellExists(kind, c[kCtlRowB], c[kCtlColumnB]) : c[kCtlRowB] == 0);
      }
    }
  }
}

TEST(KnobTable, RunsCountDownAndEditExistingCells) {
  int kindsWithKnobs = 0;
  for (int kind = 1; kind < 200; ++kind) {
    const int first = TypeOf(kind)[kFirstKnob];
    if (first == 0) continue;
    ++kindsWithKnobs;
    SCOPED_TRACE(kind);
    const int n = KnobTable[first][kKnobCount];
    ASSERT_GT(n, 0);
    ASSERT_LE(first + n, kKnobRecordCount);
    for (int i = 0; i < n; ++i) {
      const KnobRecord& r = KnobTable[first + i];
      EXPECT_EQ(r[kKnobCount], n - i);
      EXPECT_TRUE(DefaultCellExists(kind, r[kKnobRowOffset], r[kKnobColumn]))
          << "knob " << r[kKnobRowOffset] << "." << r[kKnobColumn];
    }
  }
  EXPECT_EQ(kindsWithKnobs, 74);
  EXPECT_EQ(KnobTable[0], KnobRecord{});
}

TEST(KnobTable, TellingRunsAndSharing) {
  // Cascade multiswitch: (1, 2), (1, 1), (0, 3); its partner uses only the last record.
  const int r31 = TypeOf(31)[kFirstKnob];
  EXPECT_EQ(KnobTable[r31], (KnobRecord{3, -20, -15, 1, 2, -20, 0}));
  EXPECT_EQ(TypeOf(32)[kFirstKnob], r31 + 2);
  EXPECT_EQ(KnobTable[TypeOf(60)[kFirstKnob]], (KnobRecord{1, 0, 0, 0, 3, 30, 0}));
  EXPECT_EQ(KnobTable[TypeOf(105)[kFirstKnob]][kKnobCount], 27);
  EXPECT_EQ(KnobTable[TypeOf(101)[kFirstKnob]][kKnobCount], 15);
  // The passive 131-series members have no continuation row: Inst knobs only.
  for (int k : {132, 134, 136, 138, 140}) EXPECT_EQ(KnobTable[TypeOf(k)[kFirstKnob]][kKnobCount], 2) << k;
}

TEST(PlacementDefaults, CellsAndRows) {
  EXPECT_EQ(DefaultContinuationRows(60), 17);
  EXPECT_EQ(DefaultContinuationRows(105), 4);
  EXPECT_EQ(DefaultContinuationRows(138), 0);
  EXPECT_EQ(FindPlacementDefaults(62), nullptr);
  EXPECT_TRUE(DefaultCellExists(45, 1, 2));
  EXPECT_FALSE(DefaultCellExists(45, 1, 3));  // (-1, 0, 0) writes fields 0..2 only
  EXPECT_FALSE(DefaultCellExists(201, 1, 3)); // lines write fields 0, 1 and 5
  EXPECT_TRUE(DefaultCellExists(201, 1, 5));
  EXPECT_FALSE(DefaultCellExists(43, 2, 1));
  EXPECT_FALSE(DefaultCellExists(43, 0, 6));
}

}  // namespace
}  // namespace kavrix

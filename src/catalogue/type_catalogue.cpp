#include "catalogue/type_catalogue.hpp"

#include <initializer_list>
#include <utility>

#include "catalogue/knob_table_build.hpp"
#include "catalogue/port_template_build.hpp"

namespace kavrix {
namespace {

struct Range {
  int lo, hi;
};
using Ranges = std::initializer_list<Range>;

constexpr void set(std::array<TypeRecord, kKindCount>& t, Ranges kinds, int field, int value) {
  for (Range r : kinds)
    for (int k = r.lo; k <= r.hi; ++k) t[k][field] = value;
}

// Paths (field 2) and groups (field 3 + 1) per kind.
constexpr void setPaths(std::array<TypeRecord, kKindCount>& t, int paths, int groups, Ranges kinds) {
  set(t, kinds, kPaths, paths);
  set(t, kinds, kGroupsMinus1, groups - 1);
}

// Symbol layout fields (0, 1, 12) of one kind; fields 4, 5 and 6 come from the generated
// port-template and knob tables.
struct Layout {
  int kind, halfW, halfH, help;
};

#include "catalogue/type_layout.inc"

constexpr std::array<TypeRecord, kKindCount> Build() {
  std::array<TypeRecord, kKindCount> t{};

  // Family classes; a negative class marks an obsolete family.
  set(t, {{1, 8}, {26, 28}, {31, 42}, {56, 56}, {62, 64}}, kClass, -1);
  set(t, {{67, 76}}, kClass, -2);
  set(t, {{21, 24}}, kClass, -11);
  set(t, {{25, 25}}, kClass, -12);
  set(t, {{50, 55}, {57, 57}}, kClass, -21);
  set(t, {{16, 20}, {98, 98}, {100, 100}}, kClass, 0);
  set(t, {{9, 9}, {11, 12}, {14, 14}, {131, 140}, {151, 153}}, kClass, 1);
  set(t, {{65, 66}, {170, 179}}, kClass, 2);
  set(t, {{161, 168}}, kClass, 3);
  set(t, {{77, 79}}, kClass, 4);
  set(t, {{29, 29}, {116, 119}, {121, 124}}, kClass, 11);
  set(t, {{120, 120}, {125, 125}}, kClass, 12);
  set(t, {{126, 129}}, kClass, 13);
  set(t, {{101, 107}, {109, 109}}, kClass, 21);
  set(t, {{108, 108}}, kClass, 22);
  set(t, {{91, 95}}, kClass, 31);
  set(t, {{96, 97}}, kClass, 36);
  set(t, {{60, 61}}, kClass, 37);
  set(t, {{210, 210}}, kClass, 41);
  set(t, {{58, 59}}, kClass, 42);
  set(t, {{201, 203}}, kClass, 51);
  set(t, {{80, 84}}, kClass, 61);
  set(t, {{44, 44}, {86, 88}}, kClass, 62);
  set(t, {{45, 45}, {89, 90}}, kClass, 63);
  set(t, {{43, 43}}, kClass, 64);
  set(t, {{181, 186}}, kClass, 81);
  set(t, {{142, 143}, {145, 146}}, kClass, 91);
  set(t, {{141, 141}, {144, 144}}, kClass, 92);
  set(t, {{154, 159}}, kClass, 93);
  set(t, {{205, 205}}, kClass, 99);

  setPaths(t, 1, 1, {{55, 55}, {58, 59}, {80, 80}, {92, 97}, {107, 107}, {203, 203}});
  setPaths(t, 2, 1, {{29, 29}, {61, 61}, {109, 109}});
  setPaths(t, 2, 2, {{26, 26}, {45, 45}});
  setPaths(t, 3, 1, {{86, 88}, {144, 146}});
  setPaths(t, 3, 2, {{81, 84}});
  setPaths(t, 3, 3, {{89, 90}});
  setPaths(t, 4, 1, {{1, 4}, {56, 56}, {91, 91}, {202, 202}});
  setPaths(t, 4, 2, {{108, 108}, {126, 126}, {129, 129}});
  setPaths(t, 4, 4, {{27, 27}, {43, 43}});
  setPaths(t, 5, 1, {{11, 12}, {14, 14}, {31, 32}, {50, 52}, {57, 57}, {101, 104}, {141, 143}, {151, 151},
                     {158, 159}, {201, 201}});
  setPaths(t, 6, 3, {{127, 127}});
  setPaths(t, 6, 6, {{28, 28}});
  setPaths(t, 8, 2, {{5, 8}, {44, 44}, {60, 60}});
  setPaths(t, 8, 5, {{128, 128}});
  setPaths(t, 9, 1, {{53, 54}, {65, 66}, {105, 106}, {161, 161}, {165, 165}});
  setPaths(t, 10, 2, {{21, 24}, {33, 34}, {121, 124}, {131, 132}, {152, 154}});
  setPaths(t, 13, 1, {{63, 64}});
  setPaths(t, 15, 3, {{35, 36}, {133, 134}, {155, 155}, {181, 182}, {185, 185}});
  setPaths(t, 17, 1, {{62, 62}});
  setPaths(t, 18, 2, {{16, 19}, {67, 68}, {116, 119}, {162, 162}, {166, 166}, {170, 171}});
  setPaths(t, 20, 4, {{25, 25}, {37, 38}, {125, 125}, {135, 136}, {156, 156}, {186, 186}});
  setPaths(t, 25, 5, {{184, 184}});
  setPaths(t, 27, 3, {{69, 70}, {163, 163}, {167, 167}, {172, 173}});
  setPaths(t, 30, 6, {{39, 40}, {137, 138}});
  setPaths(t, 36, 4, {{20, 20}, {71, 72}, {120, 120}, {164, 164}, {168, 168}, {174, 175}});
  setPaths(t, 40, 8, {{41, 42}, {139, 140}, {157, 157}});
  setPaths(t, 45, 9, {{183, 183}});
  setPaths(t, 54, 6, {{73, 74}, {176, 177}});
  setPaths(t, 68, 4, {{78, 78}});
  setPaths(t, 72, 8, {{75, 76}, {178, 179}});
  setPaths(t, 85, 5, {{77, 77}});
  setPaths(t, 136, 8, {{79, 79}});

  set(t, {{109, 109}}, kSupplyCurrent, 55);
  set(t, {{55, 55}, {87, 87}, {107, 107}, {131, 131}, {133, 133}, {135, 135}, {137, 137}, {139, 139}},
      kSupplyCurrent, 60);
  set(t, {{56, 56}}, kSupplyCurrent, 65);
  set(t, {{67, 67}, {69, 69}, {71, 71}, {77, 77}}, kSupplyCurrent, 80);
  set(t, {{31, 31}, {33, 33}, {35, 35}, {37, 37}, {39, 39}, {41, 41}}, kSupplyCurrent, 90);
  set(t, {{73, 73}, {75, 75}}, kSupplyCurrent, 120);
  set(t, {{171, 171}, {173, 173}, {175, 175}, {177, 177}, {179, 179}}, kSupplyCurrent, 160);
  set(t, {{102, 102}, {104, 104}}, kSupplyCurrent, 200);
  set(t, {{91, 91}}, kSupplyCurrent, 220);
  set(t, {{106, 106}}, kSupplyCurrent, 250);
  set(t, {{52, 52}, {185, 185}}, kSupplyCurrent, 300);
  set(t, {{181, 182}}, kSupplyCurrent, 450);
  set(t, {{54, 54}}, kSupplyCurrent, 500);
  set(t, {{184, 184}}, kSupplyCurrent, 550);
  set(t, {{183, 183}}, kSupplyCurrent, 1300);

  set(t, {{11, 12}, {14, 14}, {31, 32}, {50, 54}, {57, 57}, {62, 66}, {92, 97}, {101, 107}, {109, 109},
          {151, 151}, {161, 161}, {165, 165}, {201, 201}},
      kTerrReserve, 1);
  set(t, {{16, 19}, {21, 24}, {33, 34}, {45, 45}, {61, 61}, {67, 68}, {108, 108}, {116, 119}, {121, 124},
          {131, 132}, {152, 153}, {162, 162}, {166, 166}, {170, 171}, {181, 182}, {185, 185}},
      kTerrReserve, 2);
  set(t, {{35, 36}, {69, 70}, {81, 84}, {86, 90}, {133, 134}, {163, 163}, {167, 167}, {172, 173}, {186, 186}},
      kTerrReserve, 3);
  set(t, {{20, 20}, {25, 25}, {37, 38}, {43, 43}, {71, 72}, {78, 78}, {120, 120}, {125, 125}, {135, 136},
          {164, 164}, {168, 168}, {174, 175}, {184, 184}},
      kTerrReserve, 4);
  set(t, {{77, 77}}, kTerrReserve, 5);
  set(t, {{39, 40}, {73, 74}, {137, 138}, {176, 177}}, kTerrReserve, 6);
  set(t, {{41, 42}, {44, 44}, {75, 76}, {79, 79}, {139, 140}, {178, 179}, {183, 183}}, kTerrReserve, 8);

  constexpr tmpl::Table templates = tmpl::Build();
  constexpr knobs::Table knobRuns = knobs::Build();
  for (const Layout& l : kLayouts) {
    TypeRecord& r = t[l.kind];
    r[kHalfWidth] = l.halfW;
    r[kHalfHeight] = l.halfH;
    r[kFirstTemplateRow] = templates.first[l.kind];
    r[kTerminalShift] = templates.shift[l.kind];
    r[kFirstKnob] = knobRuns.first[l.kind];
    r[kHelpPicture] = l.help;
  }
  for (const auto& [kind, f9, f10] : kSpareFields) {
    t[kind][kSpare9] = f9;
    t[kind][kSpare10] = f10;
  }
  return t;
}

}  // namespace

const std::array<TypeRecord, kKindCount> TypeCatalogue = Build();

const TypeRecord& TypeOf(int kind) {
  static constexpr TypeRecord kNone{};
  if (kind < 0 || kind >= kKindCount) return kNone;
  return TypeCatalogue[kind];
}

}  // namespace kavrix

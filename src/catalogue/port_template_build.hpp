#pragma once
// Generator of the port-template table from compact per-kind descriptions. Internal to the
// catalogue: port_templates.cpp evaluates it once at compile time, the type catalogue reads the
// block starts from the same evaluation, so rows and first-row fields cannot drift apart.
//
// Contract of a kind's block (node building, the engine blocks, Tune and the optimisation
// rely on it):
//  - the block starts at the kind's first template row and holds its path rows first, as many
//    as the kind's path count, then its extra-port rows, then its control rows; path rows name
//    extra-port and control rows relative to the block start;
//  - path rows are ordered group-major (output group 0 first) and by ascending path number
//    inside a group. Blocks find sibling nodes by index arithmetic on that order, and the node
//    builder inserts the terrestrial replicas right after each terrestrial path (path 5), which
//    is why path 5 precedes paths 6.. only by its number, never by a separate section;
//  - pin offsets are terminal centres of the kind's symbol relative to the symbol centre, plus
//    the kind's terminal shift (the builder subtracts it again), so cable ends snap onto them;
//  - the path code is category x 1000 + group x 100 + path, the category being the engine block.
#include <array>
#include <cstdint>
#include <initializer_list>

namespace kavrix::tmpl {

constexpr int kTemplateRows = 2393;
constexpr int32_t kNoPin = 2000000;
constexpr int kMaxPaths = 136;
using Row = std::array<int32_t, 8>;

// Bitmap size of the kind's symbol and its terminal shift.
struct Sym {
  int w = 0, h = 0, shift = 0;
};
// A terminal centre in symbol bitmap coordinates; x < 0 means "no such pin".
struct T {
  int x = -1, y = -1;
};
constexpr T kNoT{};

// Lead order of the four satellite lines from left to right. Colour order A (green, yellow,
// grey, red) carries lines 1, 2, 3, 4; colour order B (grey, green, red, yellow) carries
// lines 3, 1, 4, 2, the order the knob columns of the amplifier and multiswitch families use.
constexpr int SlotA(int path) { return path - 1; }
constexpr int SlotB(int path) {
  constexpr int slot[] = {0, 1, 3, 0, 2};
  return slot[path];
}

struct Block {
  Sym s;
  int nPaths = 0, nExtra = 0, nCtrl = 0;
  std::array<Row, kMaxPaths> paths{};
  std::array<int, kMaxPaths> extraOf{}, ctrlOf{};
  std::array<Row, 8> extra{};
  std::array<Row, 24> ctrl{};

  constexpr int dx(T t) const { return t.x < 0 ? kNoPin : t.x - s.w / 2; }
  constexpr int dy(T t) const { return t.x < 0 ? kNoPin : t.y - s.h / 2 + s.shift; }
  // An extra-port row (ports 2..5); returns its index among the block's extra rows.
  constexpr int ports(T a, T b = kNoT, T c = kNoT, T d = kNoT) {
    extra[nExtra] = {dx(a), dy(a), dx(b), dy(b), dx(c), dy(c), dx(d), dy(d)};
    return nExtra++;
  }
  // A control row, shared when an identical one exists.
  constexpr int control(Row r) {
    for (int i = 0; i < nCtrl; ++i)
      if (ctrl[i] == r) return i;
    ctrl[nCtrl] = r;
    return nCtrl++;
  }
  constexpr void path(int code, T in, T out, int ex, int ct, int maxLevel) {
    paths[nPaths] = {code, dx(in), dy(in), dx(out), dy(out), 0, 0, maxLevel};
    extraOf[nPaths] = ex;
    ctrlOf[nPaths] = ct;
    ++nPaths;
  }
  constexpr int size() const { return nPaths + nExtra + nCtrl; }
  constexpr Row rowAt(int i) const {
    if (i < nPaths) {
      Row r = paths[i];
      r[5] = extraOf[i] >= 0 ? nPaths + extraOf[i] : 0;
      r[6] = ctrlOf[i] >= 0 ? nPaths + nExtra + ctrlOf[i] : 0;
      return r;
    }
    if (i < nPaths + nExtra) return extra[i - nPaths];
    return ctrl[i - nPaths - nExtra];
  }
};

// Control rows: setting A copied (mode < 0) or negated (mode > 1) into a node field from a
// cell (row offset, column); setting B (slope) read from a second cell plus 1.
constexpr Row Ctl(int mode, int field, int row, int col) { return {mode, field, row, col, 0, 0, 0, 0}; }
constexpr Row Ctl2(int mode, int field, int row, int col, int slopeMax, int row2, int col2) {
  return {mode, field, row, col, slopeMax, 17, row2, col2};
}

constexpr int kNone = -1;
constexpr int kNoLevel = 0;
constexpr int kUnlimited = 1000000;

// Appends the path rows of groups g0..g1 with the given paths (ascending). Path 5 takes the
// category terrCat (the mains-powered 9-input switches compute their satellite paths with the
// partner's tables).
template <class In, class Out, class Ex, class Ct, class Mx>
constexpr void Fill(Block& b, int cat, int terrCat, int g0, int g1, std::initializer_list<int> paths, In in, Out out,
                    Ex ex, Ct ct, Mx mx) {
  for (int g = g0; g <= g1; ++g) {
    const int e = ex(b, g);
    for (int p : paths) {
      const int c = p == 5 ? terrCat : cat;
      b.path(c * 1000 + g * 100 + p, in(g, p), out(g, p), e, ct(b, g, p), mx(g, p));
    }
  }
}

constexpr auto NoExtra = [](Block&, int) { return kNone; };
constexpr auto NoCtrl = [](Block&, int, int) { return kNone; };
constexpr auto Level(int sat, int terr) {
  return [sat, terr](int, int p) { return p == 5 ? terr : sat; };
}
constexpr auto Level1(int v) {
  return [v](int, int) { return v; };
}

// ---- family descriptions -------------------------------------------------------------------

// Small multiswitches 1..4: four lines through, four subscriber outputs on every node.
constexpr Block SmallSwitch(int cat) {
  Block b{{126, 86, 0}};
  const int e = b.ports({8, 23}, {118, 23}, {8, 63}, {118, 63});
  Fill(b, cat, cat, 0, 0, {1, 2, 3, 4}, [](int, int p) { return T{33 + 20 * SlotA(p), 3}; },
       [](int, int p) { return T{33 + 20 * SlotA(p), 83}; }, [e](Block&, int) { return e; }, NoCtrl,
       Level1(93));
  return b;
}

// Small two-group multiswitches 5..8: group 0 feeds only its subscriber outputs, group 1 also
// passes the lines through.
constexpr Block SmallSwitch2(int cat) {
  Block b{{126, 106, 0}};
  Fill(
      b, cat, cat, 0, 1, {1, 2, 3, 4}, [](int, int p) { return T{33 + 20 * SlotA(p), 3}; },
      [](int g, int p) { return g == 0 ? kNoT : T{33 + 20 * SlotA(p), 103}; },
      [](Block& bb, int g) { return bb.ports({8, 33 + 40 * g}, {118, 33 + 40 * g}, {8, 53 + 40 * g}, {118, 53 + 40 * g}); },
      NoCtrl, Level1(93));
  return b;
}

// Five-line multiswitches 11, 12 (and 14): outputs on the right; 11 also passes through.
constexpr Block FiveSwitch(int cat, bool through) {
  Block b{{126, 106, 0}};
  const int e = b.ports({123, 23}, {123, 43}, {123, 63}, {123, 83});
  Fill(b, cat, cat, 0, 0, {1, 2, 3, 4, 5}, [](int, int p) { return T{23 + 20 * (p - 1), 3}; },
       [through](int, int p) { return through ? T{23 + 20 * (p - 1), 103} : kNoT; },
       [e](Block&, int) { return e; }, NoCtrl, Level(93, 90));
  return b;
}

// Nine-line multiswitches 65, 66 (order A around the terrestrial lead).
constexpr Block NineSwitch(int cat, bool through) {
  Block b{{206, 106, 0}};
  const int e = b.ports({203, 23}, {203, 43}, {203, 63}, {203, 83});
  Fill(b, cat, cat, 0, 0, {1, 2, 3, 4, 5, 6, 7, 8, 9}, [](int, int p) { return T{23 + 20 * (p - 1), 3}; },
       [through](int, int p) { return through ? T{23 + 20 * (p - 1), 103} : kNoT; },
       [e](Block&, int) { return e; }, NoCtrl, Level(93, 90));
  return b;
}

// Nine-cable splitters and taps (16..19 with colour order A, 116..119 with order B around a
// terrestrial lead on the right): group 0 passes through, group 1 leaves on the right side.
constexpr Block NineTap(int cat, bool orderB) {
  Block b{{226, 226, 0}};
  auto x = [orderB](int p) {
    if (!orderB) return 33 + 20 * (p - 1);
    if (p == 5) return 193;
    return p < 5 ? 33 + 20 * SlotB(p) : 113 + 20 * SlotB(p - 5);
  };
  auto side = [orderB](int p) {
    if (!orderB) return 33 + 20 * (p - 1);
    if (p == 5) return 33;
    return p > 5 ? 113 - 20 * SlotB(p - 5) : 193 - 20 * SlotB(p);
  };
  Fill(
      b, cat, cat, 0, 1, {1, 2, 3, 4, 5, 6, 7, 8, 9}, [x](int, int p) { return T{x(p), 3}; },
      [x, side](int g, int p) { return g == 0 ? T{x(p), 223} : T{223, side(p)}; }, NoExtra, NoCtrl,
      Level1(kNoLevel));
  return b;
}

// Five-cable splitters and taps (21..24 order A, 121..124 order B): through and right branch.
constexpr Block FiveTap(int cat, bool orderB) {
  Block b{{146, 126, 0}};
  auto x = [orderB](int p) { return p == 5 ? 113 : 33 + 20 * (orderB ? SlotB(p) : SlotA(p)); };
  auto side = [orderB](int p) { return p == 5 ? 23 : (orderB ? 103 - 20 * SlotB(p) : 43 + 20 * SlotA(p)); };
  Fill(
      b, cat, cat, 0, 1, {1, 2, 3, 4, 5}, [x](int, int p) { return T{x(p), 3}; },
      [x, side](int g, int p) { return g == 0 ? T{x(p), 123} : T{143, side(p)}; }, NoExtra, NoCtrl,
      Level1(kNoLevel));
  return b;
}

// Four-way nine-cable splitters and taps 20, 120: two through sets below, one set on each side.
constexpr Block NineTap4(int cat) {
  Block b{{546, 226, 0}};
  Fill(
      b, cat, cat, 0, 3, {1, 2, 3, 4, 5, 6, 7, 8, 9}, [](int, int p) { return T{193 + 20 * (p - 1), 3}; },
      [](int g, int p) {
        const int i = p - 1;
        switch (g) {
          case 0: return T{33 + 20 * i, 223};
          case 1: return T{353 + 20 * i, 223};
          case 2: return T{3, 33 + 20 * i};
          default: return T{543, 33 + 20 * i};
        }
      },
      NoExtra, NoCtrl, Level1(kNoLevel));
  return b;
}

// Four-way five-cable splitters and taps 25, 125.
constexpr Block FiveTap4(int cat) {
  Block b{{286, 126, 0}};
  Fill(
      b, cat, cat, 0, 3, {1, 2, 3, 4, 5}, [](int, int p) { return T{103 + 20 * (p - 1), 3}; },
      [](int g, int p) {
        const int i = p - 1;
        switch (g) {
          case 0: return T{23 + 20 * i, 123};
          case 1: return T{183 + 20 * i, 123};
          case 2: return T{3, 23 + 20 * i};
          default: return T{283, 23 + 20 * i};
        }
      },
      NoExtra, NoCtrl, Level1(kNoLevel));
  return b;
}

// One-cable splitters 26..28: one pass-through path per output.
constexpr Block InlineSplitter(int groups) {
  Block b{{56, 66, 0}};
  Fill(
      b, 26, 26, 0, groups - 1, {99}, [](int, int) { return T{28, 3}; },
      [](int g, int) {
        constexpr T outs[] = {{18, 63}, {38, 63}, {3, 23}, {53, 23}, {3, 43}, {53, 43}};
        return outs[g];
      },
      NoExtra, NoCtrl, Level1(kNoLevel));
  return b;
}

// Power inserter 29: terrestrial and pass-through path on the same conductor.
constexpr Block PowerInserter() {
  Block b{{56, 66, 0}};
  b.path(29005, {28, 3}, {28, 63}, kNone, kNone, kNoLevel);
  b.path(29099, {28, 3}, {28, 63}, kNone, kNone, kNoLevel);
  return b;
}

// Cascadable five-line multiswitches 31..42: groups of four side outputs; the odd kinds set the
// output attenuation of every line (satellite lines from 1.1, terrestrial from 1.2), the even
// kinds only the terrestrial one (from Inst).
constexpr int CascadeHeight(int groups, bool second) { return 46 + 40 * groups + (second ? 40 : 0); }
constexpr Block Cascade5(int cat, int groups, bool second, int baseGroups) {
  const int top = second ? 23 : 3;
  const int y0 = second ? 63 : 43;
  const int h = CascadeHeight(groups, second);
  Block b{{126, h, (h - CascadeHeight(baseGroups, second)) / 2}};
  Fill(
      b, cat, cat, 0, groups - 1, {1, 2, 3, 4, 5}, [top](int, int p) { return T{23 + 20 * (p - 1), top}; },
      [](int, int) { return kNoT; },
      [y0](Block& bb, int g) { return bb.ports({3, y0 + 40 * g}, {123, y0 + 40 * g}, {3, y0 + 20 + 40 * g}, {123, y0 + 20 + 40 * g}); },
      [second](Block& bb, int, int p) {
        if (second) return p == 5 ? bb.control(Ctl(-20, 17, 0, 3)) : kNone;
        return bb.control(Ctl(-20, 17, 1, p == 5 ? 2 : 1));
      },
      Level(98, 92));
  return b;
}

// Nine-input cascade multiswitches 67..76: two output pairs per group; the odd kinds set all
// nine lines (two knobs per satellite), the even kinds lines 1..4 one by one and the
// terrestrial line.
constexpr Block Cascade9(int cat, int groups, bool second, int baseGroups) {
  const int top = second ? 23 : 3;
  const int y0 = second ? 63 : 43;
  const int h = CascadeHeight(groups, second);
  Block b{{206, h, (h - CascadeHeight(baseGroups, second)) / 2}};
  Fill(
      b, cat, cat, 0, groups - 1, {1, 2, 3, 4, 5, 6, 7, 8, 9}, [top](int, int p) { return T{23 + 20 * (p - 1), top}; },
      [](int, int) { return kNoT; },
      [y0](Block& bb, int g) { return bb.ports({3, y0 + 40 * g}, {203, y0 + 40 * g}, {3, y0 + 20 + 40 * g}, {203, y0 + 20 + 40 * g}); },
      [second](Block& bb, int, int p) {
        if (p == 5) return bb.control(Ctl(-20, 17, 0, 3));
        if (second) return p < 5 ? bb.control(Ctl(-20, 17, 1, p)) : kNone;
        constexpr int col[] = {0, 4, 4, 3, 3, 0, 2, 2, 1, 1};
        return bb.control(Ctl(-20, 17, 1, col[p]));
      },
      Level(98, 92));
  return b;
}

// House amplifier 43: VHF and UHF amplifier paths and their two test outputs.
constexpr Block HouseAmp43() {
  Block b{{146, 126, 0}};
  // The two test leads flank their captions; the main output is the rightmost lead.
  const T in{23, 123};
  const T outs[] = {{128, 123}, {128, 123}, {38, 123}, {113, 123}};
  const int vhf = b.control(Ctl2(20, 16, 1, 1, 14, 1, 2));
  const int uhf = b.control(Ctl2(14, 16, 1, 3, 10, 1, 4));
  const int ctl[] = {vhf, uhf, kNone, kNone};
  const int lv[] = {120, 120, 90, 90};
  for (int g = 0; g < 4; ++g) b.path(43005 + 100 * g, in, outs[g], kNone, ctl[g], lv[g]);
  return b;
}

// House amplifier 44: four band inputs onto one output, four test copies.
constexpr Block HouseAmp44() {
  Block b{{156, 126, 0}};
  const T ins[] = {{43, 123}, {63, 123}, {83, 123}, {123, 123}};
  for (int g = 0; g < 8; ++g) {
    const int ct = g < 4 ? b.control(Ctl(-20, 16, 1, g + 1)) : kNone;
    b.path(44005 + 100 * g, ins[g % 4], g < 4 ? T{153, 93} : T{153, 63}, kNone, ct, g < 4 ? 117 : 87);
  }
  return b;
}

// House amplifier 45 and the broadband amplifiers 89, 90: main path, input tap, output tap.
constexpr Block HouseAmp45() {
  Block b{{146, 126, 0}};
  const int c = b.control(Ctl2(-20, 16, 1, 1, 20, 1, 2));
  b.path(45005, {23, 123}, {123, 123}, kNone, c, 117);
  b.path(45105, {23, 123}, {103, 123}, kNone, c, 87);
  return b;
}
constexpr Block Broadband(int cat) {
  Block b{{146, 126, 0}};
  const int c = b.control(Ctl2(20, 16, 1, 1, 20, 1, 2));
  b.path(cat * 1000 + 5, {23, 123}, {123, 123}, kNone, c, 123);
  b.path(cat * 1000 + 105, {23, 123}, {43, 123}, kNone, kNone, kNoLevel);
  b.path(cat * 1000 + 205, {23, 123}, {103, 123}, kNone, c, 93);
  return b;
}

// Launch amplifiers 50..54, 57: per-line gain in the first (and second) continuation row, the
// terrestrial gain in Inst with the slope in the continuation row's Kind field.
constexpr Block Launch(int cat, Sym s, int x0, bool nine) {
  Block b{s};
  auto ctl = [](Block& bb, int, int p) {
    if (p == 5) return bb.control(Ctl2(-20, 16, 0, 3, 20, 1, 0));
    return bb.control(Ctl(-20, 16, p < 5 ? 1 : 2, p < 5 ? p : p - 5));
  };
  auto x = [x0](int, int p) { return x0 + 20 * (p - 1); };
  if (nine)
    Fill(
        b, cat, cat, 0, 0, {1, 2, 3, 4, 5, 6, 7, 8, 9}, [x](int g, int p) { return T{x(g, p), 3}; },
        [x, s](int g, int p) { return T{x(g, p), s.h - 3}; }, NoExtra, ctl, Level(112, 104));
  else
    Fill(
        b, cat, cat, 0, 0, {1, 2, 3, 4, 5}, [x](int g, int p) { return T{x(g, p), 3}; },
        [x, s](int g, int p) { return T{x(g, p), s.h - 3}; }, NoExtra, ctl, Level(112, 104));
  return b;
}
constexpr Block Launch55() {
  Block b{{56, 66, 0}};
  b.path(55099, {28, 3}, {28, 63}, kNone, kNone, 110);
  return b;
}
constexpr Block Launch56() {
  Block b{{126, 86, 0}};
  Fill(b, 56, 56, 0, 0, {1, 2, 3, 4}, [](int, int p) { return T{33 + 20 * (p - 1), 3}; },
       [](int, int p) { return T{33 + 20 * (p - 1), 83}; }, NoExtra, NoCtrl, Level1(110));
  return b;
}

// Obsolete 17-input switches without symbol of their own (62, 63) and the one with a built-in
// house amplifier (64, its amplifier paths first): the settings come from the object row, the
// only row such an object is sure to have.
constexpr Block Obsolete17(int paths, bool withAmp) {
  Block b{{406, 116, 0}};
  const int e = b.ports({3, 28}, {403, 28});
  const int c = b.control(Ctl(-20, 17, 0, 3));
  if (withAmp) {
    const int a = b.control(Ctl2(-20, 16, 0, 3, 19, 0, 5));
    b.path(45005, {103, 3}, {103, 113}, kNone, a, 117);
    b.path(45105, {103, 3}, {3, 88}, kNone, a, 87);
  }
  for (int p = 1; p <= paths; ++p) {
    if (withAmp && p == 5) continue;
    b.path(77000 + p, {23 + 20 * (p - 1), 3}, kNoT, e, c, p == 5 ? 92 : 98);
  }
  return b;
}

// 17-input multiswitches 77..79: groups of two side outputs; 77 also passes all lines through
// in group 4, where its terrestrial gain is set from Inst.
constexpr Block Switch17(int cat, int groups, bool second, bool through) {
  const int top = second ? 23 : 3;
  const int y0 = second ? 48 : 28;
  const int h = !second ? 116 : (groups > 4 ? 236 : 156);
  Block b{{406, h, 0}};
  auto x = [](int p) {
    if (p == 5) return 103;
    const int q = p < 5 ? p - 1 : p - 2;  // 0..15
    return 23 + 100 * (q / 4) + 20 * (q % 4);
  };
  for (int g = 0; g < groups; ++g) {
    const int yy = y0 + 20 * g;
    const int e = b.ports({3, yy}, {403, yy});
    const int ct = b.control(Ctl(-20, 17, g < 4 ? 1 : 2, g % 4 + 1));
    const int ctTerr = b.control(Ctl(-20, 17, 0, 3));
    for (int p = 1; p <= 17; ++p) b.path(cat * 1000 + 100 * g + p, {x(p), top}, kNoT, e, p == 5 ? ctTerr : ct, p == 5 ? 92 : 98);
  }
  if (through) {
    const int ctTerr = b.control(Ctl(-20, 16, 0, 3));
    for (int p = 1; p <= 17; ++p)
      b.path(cat * 1000 + 400 + p, {x(p), top}, {x(p), h - 3}, kNone, p == 5 ? ctTerr : kNone, p == 5 ? 104 : 110);
  }
  return b;
}

// Attenuator 80: a 0.8 dB step stored negative in Inst.
constexpr Block Attenuator() {
  Block b{{56, 66, 0}};
  b.path(80005, {28, 3}, {28, 63}, kNone, b.control(Ctl(-20, 16, 0, 3)), kNoLevel);
  return b;
}

// Channel amplifiers 81..84: main input top left, loop output top right, channel output bottom
// left, second (cascade) input bottom right.
constexpr Block ChannelAmp(int cat) {
  Block b{{56, 152, 0}};
  const T inMain{3, 16}, loop{53, 16}, chan{3, 136}, in2{53, 136};
  b.path(cat * 1000 + 5, inMain, loop, kNone, kNone, kNoLevel);
  b.path(cat * 1000 + 105, inMain, chan, kNone, kNone, 90);
  b.path(cat * 1000 + 205, in2, chan, kNone, kNone, 90);
  return b;
}

// Three-band combiner and amplifiers 86..88: UHF, VHF III and FM inputs onto one output.
constexpr Block ThreeBand(int cat) {
  if (cat == 88) {
    Block b{{60, 166, 0}};
    const T ins[] = {{3, 123}, {57, 28}, {30, 3}};
    const int cols[] = {1, 2, 3};
    for (int g = 0; g < 3; ++g)
      b.path(88005 + 100 * g, ins[g], {30, 163}, kNone, b.control(Ctl(-25, 16, 1, cols[g])), 112);
    return b;
  }
  Block b{{120, 100, 0}};
  const T ins[] = {{10, 50}, {60, 3}, {110, 50}};
  const int lims[] = {-15, -12, -12};
  for (int g = 0; g < 3; ++g) {
    const int ct = cat == 87 ? b.control(Ctl(lims[g], 16, 1, g + 1)) : kNone;
    b.path(cat * 1000 + 5 + 100 * g, ins[g], {90, 88}, kNone, ct, cat == 87 ? 112 : kNoLevel);
  }
  return b;
}

// Line amplifiers 101..104 (order B leads, the terrestrial path of 103/104 on its own block).
constexpr Block LineAmp5(int terrCat) {
  Block b{{196, 126, 0}};
  Fill(
      b, 101, terrCat, 0, 0, {1, 2, 3, 4, 5}, [](int, int p) { return T{p == 5 ? 123 : 43 + 20 * SlotB(p), 3}; },
      [](int, int p) { return T{p == 5 ? 123 : 43 + 20 * SlotB(p), 123}; }, NoExtra,
      [](Block& bb, int, int p) { return bb.control(Ctl2(15, 16, 1, p, 3, 2, p)); }, Level(114, 108));
  return b;
}
constexpr Block LineAmp9() {
  Block b{{276, 126, 0}};
  auto x = [](int p) { return p == 5 ? 203 : (p < 5 ? 43 + 20 * SlotB(p) : 123 + 20 * SlotB(p - 5)); };
  Fill(
      b, 105, 105, 0, 0, {1, 2, 3, 4, 5, 6, 7, 8, 9}, [x](int, int p) { return T{x(p), 3}; },
      [x](int, int p) { return T{x(p), 123}; }, NoExtra,
      [](Block& bb, int, int p) {
        return p <= 5 ? bb.control(Ctl2(15, 16, 1, p, 3, 3, p)) : bb.control(Ctl2(15, 16, 2, p - 5, 3, 4, p - 5));
      },
      Level(114, 108));
  return b;
}
constexpr Block SmallAmp(int code, int code2) {
  Block b{{56, 66, 0}};
  b.path(code, {28, 3}, {28, 63}, kNone, kNone, code % 100 == 5 ? 104 : 110);
  if (code2) b.path(code2, {28, 3}, {28, 63}, kNone, kNone, 110);
  return b;
}

// Line amplifier 108: satellite and terrestrial inputs on the left, a common output and a test
// output 20 dB lower.
constexpr Block LineAmp108() {
  Block b{{136, 106, 0}};
  const T sat{3, 23}, terr{3, 43}, test{3, 63}, out{3, 83};
  const int cs = b.control(Ctl2(15, 16, 1, 1, 3, 1, 2));
  const int ct = b.control(Ctl2(15, 16, 1, 3, 15, 1, 4));
  b.path(108099, sat, out, kNone, cs, 114);
  b.path(108105, terr, out, kNone, ct, 108);
  b.path(108299, sat, test, kNone, cs, 94);
  b.path(108305, terr, test, kNone, ct, 88);
  return b;
}

// Single-cable splitters 126..129, usable in both directions: forward groups from the input to
// each output, reverse groups back.
constexpr Block JSplitter(int cat) {
  if (cat == 128) {
    Block b{{76, 56, 0}};
    const T in{38, 3};
    const T outs[] = {{18, 3}, {58, 3}, {18, 53}, {58, 53}};
    for (int g = 0; g < 8; ++g)
      b.path(cat * 1000 + 100 * g + 99, g < 4 ? in : outs[g - 4], g < 4 ? outs[g] : in, kNone, kNone, kNoLevel);
    return b;
  }
  Block b{{66, 56, 0}};
  const bool three = cat == 127;
  const T in = three ? T{18, 3} : T{33, 3};
  const T outs3[] = {{48, 3}, {18, 53}, {48, 53}};
  const T outs2[] = {{18, 53}, {48, 53}};
  const int n = three ? 3 : 2;
  for (int g = 0; g < 2 * n; ++g) {
    const T o = three ? outs3[g % n] : outs2[g % n];
    b.path(cat * 1000 + 100 * g + 99, g < n ? in : o, g < n ? o : in, kNone, kNone, kNoLevel);
  }
  return b;
}

// Five-input cascade multiswitches 131..140 (order B): side outputs in pairs; the active kinds
// attenuate each satellite line (0..3, first continuation row) and the terrestrial line (0..15,
// Inst); the passive kinds only the terrestrial line.
constexpr int Cascade131Height(int groups, bool second) { return (second ? 63 : 43) + 40 * groups - 20 + (second ? 43 : 23); }
constexpr Block Cascade131(int cat, int groups, bool second, bool active, int baseGroups) {
  const int top = second ? 23 : 3;
  const int y0 = second ? 63 : 43;
  const int h = Cascade131Height(groups, second);
  Block b{{126, h, (h - Cascade131Height(baseGroups, second)) / 2}};
  Fill(
      b, cat, cat, 0, groups - 1, {1, 2, 3, 4, 5}, [top](int, int p) { return T{p == 5 ? 103 : 23 + 20 * SlotB(p), top}; },
      [](int, int) { return kNoT; },
      [y0](Block& bb, int g) { return bb.ports({3, y0 + 40 * g}, {123, y0 + 40 * g}, {3, y0 + 20 + 40 * g}, {123, y0 + 20 + 40 * g}); },
      [active](Block& bb, int, int p) {
        if (p == 5) return bb.control(Ctl(15, 17, 0, 3));
        return active ? bb.control(Ctl(3, 17, 1, p)) : kNone;
      },
      Level(active ? 100 : kNoLevel, active ? 94 : kNoLevel));
  return b;
}

// Optical transmitters 141 (five inputs, reversed order B) and 144 (lines 5, 1, 3). Their RF
// input takes a total level of 75..95 dBuV; the level marks hang on that window.
constexpr int kTransmitterMaxInput = 95;
// Input pin x by path number.
constexpr int kTransmitter141InX[] = {0, 103, 63, 123, 83, 43};
constexpr int kTransmitter144InX[] = {0, 73, 0, 93, 0, 53};
constexpr Block Transmitter(int cat) {
  Block b{{146, 126, 0}};
  const T fibre{23, 123};
  if (cat == 141) {
    Fill(b, 141, 141, 0, 0, {1, 2, 3, 4, 5}, [](int, int p) { return T{kTransmitter141InX[p], 123}; },
         [fibre](int, int) { return fibre; }, NoExtra, NoCtrl, Level1(kTransmitterMaxInput));
  } else {
    Fill(b, 144, 144, 0, 0, {1, 3, 5}, [](int, int p) { return T{kTransmitter144InX[p], 123}; },
         [fibre](int, int) { return fibre; }, NoExtra, NoCtrl, Level1(kTransmitterMaxInput));
  }
  return b;
}

// Optical receivers 142, 145 (one output per line) and 143, 146 (four subscriber outputs).
constexpr int kThreeWayOutX[] = {0, 103, 0, 83, 0, 123};  // output pin x of the three-line receivers by path
constexpr Block Receiver(int cat, bool three) {
  Block b{{146, 106, 0}};
  const T fibre{23, 3};
  if (cat == 143) {
    const int e = b.ports({53, 103}, {73, 103}, {93, 103}, {113, 103});
    if (three)
      Fill(b, 143, 143, 0, 0, {1, 3, 5}, [fibre](int, int) { return fibre; }, [](int, int) { return kNoT; },
           [e](Block&, int) { return e; }, NoCtrl, Level(95, 95));
    else
      Fill(b, 143, 143, 0, 0, {1, 2, 3, 4, 5}, [fibre](int, int) { return fibre; }, [](int, int) { return kNoT; },
           [e](Block&, int) { return e; }, NoCtrl, Level(95, 95));
    return b;
  }
  if (three) {
    Fill(b, cat, cat, 0, 0, {1, 3, 5}, [fibre](int, int) { return fibre; },
         [](int, int p) { return T{kThreeWayOutX[p], 103}; }, NoExtra, NoCtrl, Level(100, 100));
  } else {
    Fill(b, cat, cat, 0, 0, {1, 2, 3, 4, 5}, [fibre](int, int) { return fibre; },
         [](int, int p) { return T{p == 5 ? 123 : 43 + 20 * SlotB(p), 103}; }, NoExtra, NoCtrl, Level(100, 100));
  }
  return b;
}

// Five-input multiswitches 151..153 (outputs left, or both sides) and the nine-input series
// 161..168 (lines 6..9 enter on the right; outputs left first, then the right-hand black ones).
constexpr Block Jarn5(int cat, int groups) {
  Block b{{126, 166, 0}};
  Fill(
      b, cat, cat, 0, groups - 1, {1, 2, 3, 4, 5}, [](int, int p) { return T{p == 5 ? 103 : 23 + 20 * SlotB(p), 23}; },
      [](int, int) { return kNoT; },
      [groups](Block& bb, int g) {
        if (groups == 1) return bb.ports({3, 63}, {3, 83}, {3, 103}, {3, 123});
        const int x = g == 0 ? 3 : 123;
        return bb.ports({x, 63}, {x, 83}, {x, 103}, {x, 123});
      },
      NoCtrl, Level(100, 94));
  return b;
}
constexpr Block Jarn9(int cat, int groups) {
  const int perSide = 4 + 2 * (groups - 1);
  Block b{{126, 166 + 40 * (groups - 1), 0}};
  auto outAt = [perSide](int i) { return i < perSide ? T{3, 63 + 20 * i} : T{123, 63 + 20 * (i - perSide + 4)}; };
  Fill(
      b, cat, cat, 0, groups - 1, {1, 2, 3, 4, 5, 6, 7, 8, 9},
      [](int, int p) {
        if (p <= 5) return T{p == 5 ? 103 : 23 + 20 * SlotB(p), 23};
        return T{123, 63 + 20 * SlotB(p - 5)};
      },
      [](int, int) { return kNoT; },
      [outAt](Block& bb, int g) { return bb.ports(outAt(4 * g), outAt(4 * g + 1), outAt(4 * g + 2), outAt(4 * g + 3)); },
      NoCtrl, Level(100, 94));
  return b;
}

// Fibre splitters 154..157 and attenuators 158, 159: one node per line and output.
constexpr Block FibreSplitter(int cat, int groups) {
  const int w = groups == 2 ? 66 : (groups == 3 ? 76 : 96);
  Block b{{w, 66, 0}};
  Fill(
      b, cat, cat, 0, groups - 1, {1, 2, 3, 4, 5}, [](int, int) { return T{3, 33}; },
      [groups](int g, int) {
        if (groups == 2) return T{g == 0 ? 18 : 48, 63};
        if (groups == 8) return T{18 + 20 * (g % 4), g < 4 ? 63 : 3};
        return T{18 + 20 * g, 63};
      },
      NoExtra, NoCtrl, Level1(kUnlimited));
  return b;
}
constexpr Block FibreAttenuator(int cat) {
  Block b{{66, 56, 0}};
  Fill(b, cat, cat, 0, 0, {1, 2, 3, 4, 5}, [](int, int) { return T{3, 28}; }, [](int, int) { return T{63, 28}; },
       NoExtra, NoCtrl, Level1(kUnlimited));
  return b;
}

// Single-cable multiswitches 181..185: group 0 passes the lines through, each subscriber group
// feeds one output.
constexpr Block SingleCable(int cat) {
  struct Shape {
    Sym s;
    int x0, topY, botY, outs;
    T out[8];
  };
  const Shape k181{{146, 86, 0}, 33, 3, 83, 2, {{143, 23}, {143, 63}}};
  const Shape k183{{166, 146, 0}, 43, 23, 123, 8,
                   {{3, 43}, {3, 63}, {3, 83}, {3, 103}, {163, 43}, {163, 63}, {163, 83}, {163, 103}}};
  const Shape k184{{146, 106, 0}, 33, 3, 103, 4, {{3, 23}, {3, 43}, {3, 63}, {3, 83}}};
  const Shape k185{{146, 106, 0}, 33, 3, 103, 2, {{3, 23}, {3, 43}}};
  const Shape& sh = cat == 183 ? k183 : (cat == 184 ? k184 : (cat == 185 ? k185 : k181));
  Block b{sh.s};
  const int lvOut = cat == 183 ? 92 : 90;
  Fill(
      b, cat, cat, 0, sh.outs, {1, 2, 3, 4, 5}, [&sh](int, int p) { return T{sh.x0 + 20 * (p == 5 ? 4 : SlotB(p)), sh.topY}; },
      [&sh](int g, int p) { return g == 0 ? T{sh.x0 + 20 * (p == 5 ? 4 : SlotB(p)), sh.botY} : sh.out[g - 1]; }, NoExtra,
      NoCtrl, [lvOut](int g, int p) { return g == 0 ? (p == 5 ? 100 : 106) : lvOut; });
  return b;
}

// Single-cable unit 186: inputs for lines 3, 1, 4 and the terrestrial line, four outputs, each
// computed as a subscriber group of the four-output single-cable block.
// Input pin x by path number.
constexpr int kSingleCable186InX[] = {0, 53, 0, 33, 73, 93};
constexpr Block SingleCable186() {
  Block b{{126, 106, 0}};
  Fill(
      b, 184, 184, 1, 4, {1, 2, 3, 4, 5}, [](int, int p) { return p == 2 ? kNoT : T{kSingleCable186InX[p], 3}; },
      [](int g, int) { return T{33 + 20 * (g - 1), 103}; }, NoExtra, NoCtrl, Level1(90));
  return b;
}

// Nine-input cascade multiswitches 170..179: satellite B leads left of satellite A, terrestrial
// on the right; outputs in pairs on both sides. The mains-powered kinds compute their satellite
// paths with the partner's tables.
constexpr Block Cascade170(int kind, int groups) {
  const bool mains = kind % 2 == 0;
  const int off = mains ? 20 : 0;
  const int rows = groups == 2 ? 1 : (groups == 3 ? 2 : (groups == 4 ? 3 : (groups == 6 ? 5 : 7)));
  // The supply bar below adds as much height as the head moves down.
  Block b{{206, 126 + 40 * (rows - 1) + 2 * off, 0}};
  const int cat = mains ? kind + 1 : kind;
  auto x = [](int p) { return p == 5 ? 183 : (p < 5 ? 103 + 20 * SlotB(p) : 23 + 20 * SlotB(p - 5)); };
  Fill(
      b, cat, kind, 0, groups - 1, {1, 2, 3, 4, 5, 6, 7, 8, 9}, [x, off](int, int p) { return T{x(p), 3 + off}; },
      [](int, int) { return kNoT; },
      [off](Block& bb, int g) {
        const int y = 43 + off + 40 * g;
        return bb.ports({3, y}, {203, y}, {3, y + 20}, {203, y + 20});
      },
      [](Block& bb, int, int p) {
        if (p == 5) return bb.control(Ctl(15, 17, 0, 3));
        return bb.control(Ctl(3, 17, p < 5 ? 1 : 2, p < 5 ? p : p - 5));
      },
      Level(102, 96));
  return b;
}

// Link units 58, 59, channel converters 60, 61, modulators 96, 97.
constexpr Block LinkUnit(int code) {
  Block b{{56, 152, 0}};
  b.path(code, {3, 16}, {53, 16}, kNone, kNone, 85);
  return b;
}
constexpr Block Converter16() {
  // The body starts at y 33, so the 10 px input leads end at y 23, as on the other symbols
  // whose body starts there. The leads at x 23, 43, 63, 83 have colour order B, so they carry
  // lines 3, 1, 4, 2.
  Block b{{126, 206, 0}};
  const T tops[] = {{}, {43, 23}, {83, 23}, {23, 23}, {63, 23}};
  for (int p = 1; p <= 4; ++p) b.path(60000 + p, tops[p], kNoT, kNone, kNone, kNoLevel);
  b.path(60005, {3, 163}, {123, 163}, kNone, kNone, 100);
  b.path(60006, {123, 63}, kNoT, kNone, kNone, kNoLevel);
  b.path(60008, {123, 83}, kNoT, kNone, kNone, kNoLevel);
  b.path(60105, {3, 163}, {123, 143}, kNone, kNone, 80);
  // Control row of the generated-channel source: output attenuation in half-dB steps in Inst.
  b.control(Ctl(30, 16, 0, 3));
  return b;
}
constexpr Block Converter4() {
  Block b{{56, 150, 0}};
  b.path(61005, {3, 15}, {53, 135}, kNone, kNone, 100);
  b.path(61105, {3, 15}, {53, 15}, kNone, kNone, 100);
  return b;
}
constexpr Block Modulator(int cat) {
  // The modulator's source output and its loop-through share the lower leads.
  Block b{{100, 80, 0}};
  b.path(cat * 1000 + 5, {70, 70}, {90, 70}, kNone, b.control(Ctl(-30, 16, 0, 3)), 110);
  return b;
}

// Sources: rows that registration reads (LNB band pins, antenna output), no path nodes.
constexpr Block Lnb() {
  Block b{{120, 120, 0}};
  for (int band = 1; band <= 4; ++band) b.path(910 + band, kNoT, {60 - 30 + 20 * (band - 1), 100}, kNone, kNone, kNoLevel);
  return b;
}
constexpr Block Antenna(int w) {
  Block b{{w, 186, 0}};
  b.path(925, kNoT, {w / 2, 183}, kNone, kNone, kNoLevel);
  return b;
}

// ---- layout ---------------------------------------------------------------------------------

struct Table {
  std::array<Row, kTemplateRows> rows{};
  std::array<int, 221> first{};
  std::array<int, 221> shift{};
  std::array<int, 221> end{};  // one past the last row of the kind's block
  int used = 0;
  bool fits = true;
};

struct Cursor {
  Table& t;
  int at = 0;
  constexpr void put(const Block& b, std::initializer_list<int> kinds) {
    if (at + b.size() > kTemplateRows) {
      t.fits = false;
      return;
    }
    for (int i = 0; i < b.size(); ++i) t.rows[at + i] = b.rowAt(i);
    for (int k : kinds) {
      t.first[k] = at;
      t.shift[k] = b.s.shift;
      t.end[k] = at + b.size();
    }
    at += b.size();
    if (at > t.used) t.used = at;
  }
  // A family whose smaller members use a prefix of the largest member's block: group-major
  // order makes their path rows the first ones, and each member's terminal shift (half its
  // height difference to the smallest member) keeps the offsets measured from the same point.
  constexpr void putFamily(const Block& b, std::initializer_list<int> kinds, std::initializer_list<int> heights) {
    const int start = at;
    put(b, {});
    const int stop = at;
    const int base = b.s.h - 2 * b.s.shift;
    auto h = heights.begin();
    for (int k : kinds) {
      t.first[k] = start;
      t.end[k] = stop;
      t.shift[k] = (*h++ - base) / 2;
    }
  }
  // Blocks that other parts of the system know by their row start here.
  constexpr void anchor(int row) {
    if (at > row) t.fits = false;
    at = row;
  }
};

constexpr Table Build() {
  Table t;
  Cursor c{t};
  for (int k = 1; k <= 4; ++k) c.put(SmallSwitch(990 + k), {k});
  for (int k = 5; k <= 8; ++k) c.put(SmallSwitch2(990 + k), {k});
  c.put(FiveSwitch(11, true), {11});
  c.put(FiveSwitch(12, false), {12, 14});
  c.anchor(72);
  for (int k = 16; k <= 19; ++k) c.put(NineTap(k + 5, false), {k});
  // The obsolete five-cable splitters share the tap rows: same terminals, the satellite lines
  // in the taps' lead order.
  for (int k = 21; k <= 24; ++k) c.put(FiveTap(k, true), {k, k + 100});
  c.put(FiveTap4(25), {25, 125});
  c.put(PowerInserter(), {29});
  c.putFamily(InlineSplitter(6), {26, 27, 28}, {66, 66, 66});
  c.put(SingleCable(184), {184});
  c.put(Attenuator(), {80});
  c.put(SmallAmp(107005, 0), {107});
  c.put(SmallAmp(109005, 109099), {109});
  c.put(Launch55(), {55});
  c.anchor(246);
  c.putFamily(Cascade5(37, 4, false, 1), {31, 33, 35, 37}, {86, 126, 166, 206});
  c.putFamily(Cascade5(41, 8, false, 6), {39, 41}, {286, 366});
  c.putFamily(Cascade5(38, 4, true, 1), {32, 34, 36, 38}, {126, 166, 206, 246});
  c.putFamily(Cascade5(42, 8, true, 6), {40, 42}, {326, 406});
  c.put(HouseAmp43(), {43});
  c.put(HouseAmp44(), {44});
  c.put(HouseAmp45(), {45});
  c.put(Launch(50, {186, 106, 0}, 53, false), {50});
  // The supply bar moves the body of 51 and 53 20 px right, so both members of a pair have
  // the same offsets from the symbol centre.
  c.put(Launch(51, {186, 106, 0}, 53, false), {51, 52});
  c.put(Launch(57, {186, 106, 0}, 53, false), {57});
  c.put(Launch(53, {256, 106, 0}, 53, true), {53, 54});
  c.put(Launch56(), {56});
  c.putFamily(Obsolete17(17, false), {62, 63}, {116, 116});
  c.put(Obsolete17(13, true), {64});
  c.put(NineSwitch(65, true), {65});
  c.put(NineSwitch(66, false), {66});
  c.putFamily(Cascade9(71, 4, false, 2), {67, 69, 71}, {126, 166, 206});
  c.putFamily(Cascade9(75, 8, false, 6), {73, 75}, {286, 366});
  c.putFamily(Cascade9(72, 4, true, 2), {68, 70, 72}, {166, 206, 246});
  c.putFamily(Cascade9(76, 8, true, 6), {74, 76}, {326, 406});
  // 78 is 77 moved 20 px down over a supply bar and without the through group: its rows are
  // the first four groups of 77's block with the same offsets.
  c.put(Switch17(77, 4, false, true), {77, 78});
  c.put(Switch17(79, 8, true, false), {79});
  for (int k = 81; k <= 84; ++k) c.put(ChannelAmp(k), {k});
  for (int k = 86; k <= 88; ++k) c.put(ThreeBand(k), {k});
  c.put(LineAmp5(101), {101, 102});
  c.put(LineAmp5(103), {103, 104});
  c.put(LineAmp9(), {105, 106});
  c.put(LineAmp108(), {108});
  for (int k = 116; k <= 119; ++k) c.put(NineTap(k - 95, true), {k});
  c.put(NineTap4(25), {20, 120});
  for (int k = 126; k <= 129; ++k) c.put(JSplitter(k), {k});
  c.putFamily(Cascade131(133, 4, false, true, 2), {131, 133, 135}, {126, 166, 206});
  c.putFamily(Cascade131(136, 4, true, false, 2), {132, 134, 136}, {166, 206, 246});
  c.putFamily(Cascade131(139, 8, false, true, 6), {137, 139}, {286, 366});
  c.putFamily(Cascade131(140, 8, true, false, 6), {138, 140}, {326, 406});
  c.put(Transmitter(141), {141});
  c.put(Receiver(142, false), {142});
  c.put(Receiver(143, false), {143});
  c.put(Transmitter(144), {144});
  c.put(Receiver(145, true), {145});
  c.put(Receiver(143, true), {146});
  c.put(Jarn5(151, 1), {151});
  c.put(Jarn5(152, 2), {152, 153});
  c.put(Jarn9(161, 1), {161, 165});
  c.put(Jarn9(162, 2), {162, 166});
  c.put(Jarn9(163, 3), {163, 167});
  c.put(Jarn9(164, 4), {164, 168});
  {
    constexpr int groups[] = {2, 3, 4, 6, 8};
    for (int i = 0; i < 5; ++i) {
      c.put(Cascade170(170 + 2 * i, groups[i]), {170 + 2 * i});
      c.put(Cascade170(171 + 2 * i, groups[i]), {171 + 2 * i});
    }
  }
  c.put(FibreSplitter(155, 3), {155});
  c.anchor(2139);
  c.put(SingleCable(183), {183});
  c.put(SingleCable(181), {181});
  c.put(SingleCable(182), {182});
  c.put(SingleCable(185), {185});
  c.put(SingleCable186(), {186});
  c.anchor(2259);
  c.put(FibreSplitter(157, 8), {157});
  c.put(FibreSplitter(156, 4), {156});
  c.anchor(2326);
  c.put(Broadband(89), {89});
  c.put(Broadband(90), {90});
  c.put(FibreSplitter(154, 2), {154});
  c.put(FibreAttenuator(158), {158});
  c.anchor(2352);
  c.put(Lnb(), {91});
  c.put(Antenna(60), {92});
  c.put(Antenna(100), {93, 94});
  c.put(Antenna(100), {95});
  c.put(FibreAttenuator(159), {159});
  c.anchor(2366);
  c.put(LinkUnit(58000), {58});
  c.put(LinkUnit(59005), {59});
  c.anchor(2370);
  c.put(Converter16(), {60});
  c.put(Converter4(), {61});
  c.put(Modulator(97), {97});
  c.anchor(2390);
  c.put(Modulator(96), {96});
  return t;
}

}  // namespace kavrix::tmpl

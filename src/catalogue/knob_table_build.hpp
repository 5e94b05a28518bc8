#pragma once
// Generator of the setting-knob table: each kind's knobs in the order the editor tests them,
// one record per knob (count-down, dx, dy, row offset, column, minimum, maximum). Kinds whose
// knob list is a tail of another kind's run point into that run. Internal to the catalogue;
// the type catalogue takes the first records from the same evaluation.
#include <array>
#include <cstdint>
#include <initializer_list>

namespace kavrix::knobs {

constexpr int kKnobRecords = 263;
using Record = std::array<int32_t, 7>;

struct Knob {
  int dx, dy, row, col, lo, hi;
};

struct Table {
  std::array<Record, kKnobRecords> rec{};
  std::array<int, 221> first{};
  int used = 1;
  bool fits = true;
};

struct Cursor {
  Table& t;
  // Appends a run; the kinds listed point at its first record, the tail kinds at its last
  // `tailLen` records.
  constexpr int run(std::initializer_list<Knob> ks, std::initializer_list<int> kinds,
                    std::initializer_list<int> tailKinds = {}, int tailLen = 0) {
    const int n = static_cast<int>(ks.size());
    if (t.used + n > kKnobRecords) {
      t.fits = false;
      return 0;
    }
    const int start = t.used;
    int i = 0;
    for (const Knob& k : ks) {
      t.rec[start + i] = {n - i, k.dx, k.dy, k.row, k.col, k.lo, k.hi};
      ++i;
    }
    for (int k : kinds) t.first[k] = start;
    for (int k : tailKinds) t.first[k] = start + n - tailLen;
    t.used += n;
    return start;
  }
  constexpr void anchor(int rec) {
    if (t.used > rec) t.fits = false;
    t.used = rec;
  }
};

constexpr Table Build() {
  Table t;
  Cursor c{t};
  {
    constexpr int d[] = {-15, -35, -55, -75, -115, -155};
    for (int i = 0; i < 6; ++i)
      c.run({{-20, d[i], 1, 2, -20, 0}, {0, d[i], 1, 1, -20, 0}, {40, d[i], 0, 3, -20, 0}}, {31 + 2 * i}, {32 + 2 * i},
            1);
  }
  c.run({{25, -10, 1, 2, 0, 14}, {25, 5, 1, 1, 0, 20}, {25, 20, 1, 3, 0, 14}, {25, 35, 1, 4, 0, 10}}, {43});
  c.run({{-25, 0, 1, 1, 0, -20}, {-5, 0, 1, 2, 0, -20}, {15, 0, 1, 3, 0, -20}, {35, 0, 1, 4, 0, -20}}, {44});
  c.run({{-50, 5, 1, 1, -20, 0}, {-50, 20, 1, 2, 0, 20}}, {45});
  c.run({{-40, 10, 1, 1, -20, 0},
         {-20, 10, 1, 2, -20, 0},
         {0, 10, 1, 3, -20, 0},
         {20, 10, 1, 4, -20, 0},
         {40, 10, 0, 3, -20, 0},
         {40, -20, 1, 0, -20, 0}},
        {50, 51, 52, 57});
  c.run({{-75, 10, 1, 1, -20, 0},
         {-55, 10, 1, 2, -20, 0},
         {-35, 10, 1, 3, -20, 0},
         {-15, 10, 1, 4, -20, 0},
         {5, 10, 0, 3, -20, 0},
         {5, -20, 1, 0, -20, 0},
         {25, 10, 2, 1, -20, 0},
         {45, 10, 2, 2, -20, 0},
         {65, 10, 2, 3, -20, 0},
         {85, 10, 2, 4, -20, 0}},
        {53, 54});
  {
    constexpr int d[] = {-25, -45, -65, -105, -145};
    for (int i = 0; i < 5; ++i)
      c.run({{-60, d[i], 1, 4, -20, 0},
             {-40, d[i], 1, 3, -20, 0},
             {0, d[i], 0, 3, -20, 0},
             {40, d[i], 1, 2, -20, 0},
             {60, d[i], 1, 1, -20, 0}},
            {67 + 2 * i});
    for (int i = 0; i < 5; ++i)
      c.run({{-80, d[i], 1, 1, -20, 0},
             {-60, d[i], 1, 2, -20, 0},
             {-40, d[i], 1, 3, -20, 0},
             {-20, d[i], 1, 4, -20, 0},
             {0, d[i], 0, 3, -20, 0}},
            {68 + 2 * i});
  }
  c.run({{-170, -10, 1, 1, -20, 0},
         {170, -10, 1, 2, -20, 0},
         {-170, 30, 1, 3, -20, 0},
         {170, 30, 1, 4, -20, 0},
         {-100, -30, 0, 3, -20, 0}},
        {77, 78});
  c.run({{-170, -50, 1, 1, -20, 0},
         {170, -50, 1, 2, -20, 0},
         {-170, -10, 1, 3, -20, 0},
         {170, -10, 1, 4, -20, 0},
         {-170, 30, 2, 1, -20, 0},
         {170, 30, 2, 2, -20, 0},
         {-170, 70, 2, 3, -20, 0},
         {170, 70, 2, 4, -20, 0},
         {-100, -70, 0, 3, -20, 0}},
        {79});
  c.run({{0, 2, 0, 3, -20, 0}}, {80});
  c.run({{-30, -15, 1, 1, -15, 0}, {-10, -15, 1, 2, -12, 0}, {10, -15, 1, 3, -12, 0}}, {87});
  c.run({{-13, -9, 1, 3, -25, 0}, {1, -9, 1, 2, -25, 0}, {15, -9, 1, 1, -25, 0}}, {88});
  c.run({{-50, 1, 1, 1, 0, 20}, {-30, 1, 1, 2, 0, 20}}, {89, 90});
  {
    // Per lead: coarse and fine gain steps in the first continuation row, slope below.
    constexpr int x5[] = {-58, -38, -18, 2, 22};
    constexpr int f[] = {3, 1, 4, 2, 5};
    std::array<Knob, 15> k{};
    for (int i = 0; i < 5; ++i) {
      k[3 * i] = {x5[i], -25, 1, f[i], 0, 15};
      k[3 * i + 1] = {x5[i], -4, 1, f[i], 0, 15};
      k[3 * i + 2] = {x5[i], 17, 2, f[i], 0, 3};
    }
    c.run({k[0], k[1], k[2], k[3], k[4], k[5], k[6], k[7], k[8], k[9], k[10], k[11], k[12], k[13], k[14]},
          {101, 102, 103, 104});
    constexpr int xa[] = {-98, -78, -58, -38, 62};
    constexpr int xb[] = {-18, 2, 22, 42};
    std::array<Knob, 27> m{};
    for (int i = 0; i < 5; ++i) {
      m[3 * i] = {xa[i], -25, 1, f[i], 0, 15};
      m[3 * i + 1] = {xa[i], -4, 1, f[i], 0, 15};
      m[3 * i + 2] = {xa[i], 17, 3, f[i], 0, 3};
    }
    for (int i = 0; i < 4; ++i) {
      m[15 + 3 * i] = {xb[i], -25, 2, f[i], 0, 15};
      m[15 + 3 * i + 1] = {xb[i], -4, 2, f[i], 0, 15};
      m[15 + 3 * i + 2] = {xb[i], 17, 4, f[i], 0, 3};
    }
    c.run({m[0],  m[1],  m[2],  m[3],  m[4],  m[5],  m[6],  m[7],  m[8],  m[9],  m[10], m[11], m[12], m[13],
           m[14], m[15], m[16], m[17], m[18], m[19], m[20], m[21], m[22], m[23], m[24], m[25], m[26]},
          {105, 106});
  }
  c.run({{-35, -30, 1, 1, 0, 15},
         {-20, -30, 1, 1, 0, 15},
         {10, -30, 1, 2, 0, 3},
         {-35, -10, 1, 3, 0, 15},
         {-20, -10, 1, 3, 0, 15},
         {-5, -10, 1, 4, 0, 15},
         {10, -10, 1, 4, 0, 15}},
        {108});
  {
    // The passive members (even kinds) have no continuation row, so they get only the two
    // terrestrial knobs on Inst, the tail of the active member's run.
    constexpr int d[] = {-35, -55, -75, -115, -155};
    for (int i = 0; i < 5; ++i)
      c.run({{-40, d[i], 1, 3, 0, 3},
             {-20, d[i], 1, 1, 0, 3},
             {0, d[i], 1, 4, 0, 3},
             {20, d[i], 1, 2, 0, 3},
             {40, d[i], 0, 3, 0, 15},
             {40, d[i] + 20, 0, 3, 0, 15}},
            {131 + 2 * i}, {132 + 2 * i}, 2);
  }
  c.run({{60, 5, 0, 3, -4, 0}}, {141, 144});
  {
    constexpr int d[] = {-35, -55, -75, -115, -155};
    for (int i = 0; i < 5; ++i)
      c.run({{-80, d[i], 2, 3, 0, 3},
             {-60, d[i], 2, 1, 0, 3},
             {-40, d[i], 2, 4, 0, 3},
             {-20, d[i], 2, 2, 0, 3},
             {80, d[i], 0, 3, 0, 15},
             {80, d[i] + 20, 0, 3, 0, 15},
             {0, d[i], 1, 3, 0, 3},
             {20, d[i], 1, 1, 0, 3},
             {40, d[i], 1, 4, 0, 3},
             {60, d[i], 1, 2, 0, 3}},
            {170 + 2 * i, 171 + 2 * i});
  }
  // Settings that Tune writes back on kinds without a knob on their symbol: the obsolete
  // 17-input switches (output attenuation in Inst; 64's built-in amplifier adds its slope in
  // Style) and the modulators' level in Inst. Without a run the control reset would never
  // return them to their initial values.
  c.run({{20, 0, 0, 5, 0, 19}, {0, 0, 0, 3, -20, 0}}, {64}, {62, 63}, 1);
  c.run({{0, 0, 0, 3, 0, 30}}, {96});
  c.run({{0, 0, 0, 3, -30, 0}}, {97});
  // The converter's run sits where the rest of the system has always found it.
  c.anchor(261);
  c.run({{0, 0, 0, 3, 30, 0}}, {60});
  return t;
}

}  // namespace kavrix::knobs

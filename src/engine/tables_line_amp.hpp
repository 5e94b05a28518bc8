#pragma once
// Characteristic tables of the line amplifiers, the J-splitters and the five-input
// multiswitches, generated from each device's gains, step sizes and slope ranges. Step tables
// hold per grid point the first, second and third step (index 1..3 of the setting at [0..2]).
#include <array>

namespace kavrix::engine::tables {

using Steps3 = std::array<double, 3>;

struct LineAmp101 {  // kinds 101..104 (satellite lines and the terrestrial line of 101, 102)
  std::array<std::array<double, 16>, 5> gain;  // [path 1..5][point]
  std::array<std::array<Steps3, 5>, 16> cs;    // coarse gain steps [point][path]
  std::array<std::array<Steps3, 5>, 16> fs;    // fine gain steps
  std::array<std::array<Steps3, 5>, 16> sl;    // slope
};
struct LineAmp103 {  // terrestrial line of kinds 103, 104 (grid row 2)
  std::array<double, 16> gain;
  std::array<Steps3, 16> cs, fs, sl;
};
struct LineAmp105 {  // eight satellite lines and the terrestrial line on the 22-point grids
  std::array<std::array<double, 22>, 9> gain;  // [path 1..9][point]
  std::array<std::array<Steps3, 9>, 22> cs, fs, sl;
};
struct LineAmp108 {  // two main outputs
  std::array<std::array<double, 2>, 16> gain;  // [point][output]
  std::array<std::array<Steps3, 2>, 16> cs, fs, cl, fl;
};
struct LineAmp109 {
  std::array<double, 16> sat;   // on row 0
  std::array<double, 16> terr;  // on row 1
};
// J-splitter of N outputs: [point][forward group]; columns N..3 are unused.
struct JSplitter {
  int outputs;
  std::array<std::array<double, 4>, 16> sat, terr;
};
// Five-input multiswitch of G groups: gain [path 1..5][point][group][output 1..4].
template <int G>
struct ActiveSwitch {
  std::array<std::array<std::array<std::array<double, 4>, G>, 16>, 5> gain;
  std::array<std::array<Steps3, 5>, 16> oa;  // output attenuation [point][path]
  std::array<Steps3, 16> ob;                 // fine output attenuation, terrestrial path
};
template <int G>
struct PassiveSwitch {
  std::array<std::array<std::array<std::array<double, 4>, G>, 16>, 5> gain;
  std::array<Steps3, 16> oa, ob;  // terrestrial path only
};

extern const LineAmp101 kLineAmp101;
extern const LineAmp103 kLineAmp103;
extern const LineAmp105 kLineAmp105;
extern const std::array<double, 16> kLineAmp107;
extern const LineAmp108 kLineAmp108;
extern const LineAmp109 kLineAmp109;
// J-splitter of category 126..129; nullptr for another category.
const JSplitter* JSplitterTable(int category);
extern const ActiveSwitch<4> kSwitch133;
extern const PassiveSwitch<4> kSwitch136;
extern const ActiveSwitch<8> kSwitch139;
extern const PassiveSwitch<8> kSwitch140;

}  // namespace kavrix::engine::tables

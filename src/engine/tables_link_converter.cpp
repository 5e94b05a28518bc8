#include "engine/tables_link_converter.hpp"

#include "engine/table_gen.hpp"

namespace kavrix::engine::tables {
namespace {
using gen::Anchor;

// Satellite link unit: a high-pass whose stop band reaches far into the terrestrial band, a
// small gain just above the corner and the insertion loss of its satellite path rising to the
// top of the IF band.
constexpr std::array<Anchor, 10> kSatLink = {{{30, -68.23},
                                              {100, -60.5},
                                              {300, -41.0},
                                              {470, -24.8},
                                              {600, -11.6},
                                              {700, -3.1},
                                              {790, -0.22},
                                              {950, 0.39},
                                              {1600, -1.55},
                                              {2400, -4.22}}};
// Terrestrial link unit: a low-pass passing 47..862 MHz with a steep roll-off above.
constexpr std::array<Anchor, 8> kTerrLink = {{{30, -12.57},
                                              {50, -3.2},
                                              {100, -0.64},
                                              {470, -1.41},
                                              {862, -2.05},
                                              {950, -3.9},
                                              {1500, -11.8},
                                              {2400, -21.3}}};
// Converter loop-through: coupler loss growing with frequency.
constexpr std::array<Anchor, 4> kConv16 = {{{5, -1.04}, {300, -1.9}, {600, -2.55}, {862, -3.08}}};
// Four-input converter: group 0 blocks the return band, group 1 is the tap-off output.
constexpr std::array<Anchor, 5> kConv4Main = {{{5, -58.33}, {30, -31.0}, {50, -6.2}, {75, 0.36}, {862, 0.57}}};
constexpr std::array<Anchor, 4> kConv4Tap = {{{5, -6.44}, {50, -3.1}, {470, -2.6}, {862, -2.29}}};
constexpr std::array<Anchor, 4> kModulator = {{{5, -2.91}, {50, -2.29}, {470, -2.52}, {862, -2.83}}};

constexpr std::array<std::array<double, 2>, 16> Conv4() {
  std::array<std::array<double, 2>, 16> t{};
  for (int j = 0; j < 16; ++j) t[j] = {gen::ResponseAt(kConv4Main, gen::kRow1[j]), gen::ResponseAt(kConv4Tap, gen::kRow1[j])};
  return t;
}

}  // namespace

constexpr std::array<double, 31> kLinkUnitSatC = gen::Sample(gen::kRow8, kSatLink);
constexpr std::array<double, 31> kLinkUnitTerrC = gen::Sample(gen::kRow8, kTerrLink);
constexpr std::array<double, 16> kConverter16ThroughC = gen::Sample(gen::kRow1, kConv16);
constexpr std::array<std::array<double, 2>, 16> kConverter4ThroughC = Conv4();
constexpr std::array<double, 16> kModulatorThroughC = gen::Sample(gen::kRow1, kModulator);

// The values the device descriptions fix.
static_assert(kLinkUnitSatC[0] == -68.23 && kLinkUnitSatC[13] == -0.22 && kLinkUnitSatC[15] == 0.39 &&
              kLinkUnitSatC[30] == -4.22);
static_assert(kLinkUnitTerrC[0] == -12.57 && kLinkUnitTerrC[3] == -0.64 && kLinkUnitTerrC[9] == -1.41 &&
              kLinkUnitTerrC[30] == -21.3);
static_assert(kConverter16ThroughC[0] == -1.04 && kConverter16ThroughC[15] == -3.08);
static_assert(kConverter4ThroughC[0][0] == -58.33 && kConverter4ThroughC[3][0] == 0.36 &&
              kConverter4ThroughC[15][0] == 0.57 && kConverter4ThroughC[0][1] == -6.44 &&
              kConverter4ThroughC[15][1] == -2.29);
static_assert(kModulatorThroughC[0] == -2.91 && kModulatorThroughC[2] == -2.29 && kModulatorThroughC[15] == -2.83);

const std::array<double, 31> kLinkUnitSat = kLinkUnitSatC;
const std::array<double, 31> kLinkUnitTerr = kLinkUnitTerrC;
const std::array<double, 16> kConverter16Through = kConverter16ThroughC;
const std::array<std::array<double, 2>, 16> kConverter4Through = kConverter4ThroughC;
const std::array<double, 16> kModulatorThrough = kModulatorThroughC;

const std::array<double, 31>* LinkUnitTable(int kind) {
  if (kind == 58) return &kLinkUnitSat;
  if (kind == 59) return &kLinkUnitTerr;
  return nullptr;
}

}  // namespace kavrix::engine::tables

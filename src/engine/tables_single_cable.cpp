#include "engine/tables_single_cable.hpp"

#include "engine/table_gen.hpp"

namespace kavrix::engine::tables {
namespace {
using gen::Frac;

// Through loss of each satellite line at the first grid point and the extra loss at the last;
// terrestrial loss per group at 5 MHz and its extra loss at 862 MHz.
struct SingleCableLaw {
  int satRow;
  int groups;
  std::array<double, 4> throughFirst;
  double throughExtra;
  std::array<double, kSingleCableMaxGroups> terrFirst;
  double terrExtra;
  std::array<double, kSingleCableMaxGroups> passiveFirst;  // used when the member has the option
};

constexpr SingleCable Make(const SingleCableLaw& law) {
  SingleCable t{};
  t.satRow = law.satRow;
  t.groups = law.groups;
  const auto& sat = law.satRow == 5 ? gen::kRow5 : gen::kRow0;
  for (int j = 0; j < 16; ++j) {
    for (int p = 0; p < 4; ++p) t.through[j][p] = law.throughFirst[p] - law.throughExtra * Frac(sat, j);
    for (int g = 0; g < law.groups; ++g) {
      t.terr[j][g] = law.terrFirst[g] - law.terrExtra * Frac(gen::kRow1, j);
      t.terrPassive[j][g] = law.passiveFirst[g] - law.terrExtra * Frac(gen::kRow1, j);
    }
  }
  return t;
}

constexpr SingleCableLaw kGlim1 = {0, 3, {-1.34, -1.0, -0.8, -0.72}, 1.1, {-5.98, -23.0, -26.2}, 1.3, {}};
constexpr SingleCableLaw kGlim2 = {5, 3, {-1.6, -1.2, -1.1, -0.9}, 1.3, {-4.5, -20.5, -21.0}, 1.2, {}};
constexpr SingleCableLaw kGlim3 = {0,
                                   9,
                                   {-2.1, -1.9, -1.8, -1.7},
                                   1.5,
                                   {-6.5, -16.0, -16.3, -16.6, -16.9, -17.2, -17.5, -17.8, -18.1},
                                   1.4,
                                   {-3.8, -24.5, -24.7, -24.9, -25.1, -25.3, -25.5, -25.7, -25.9}};
constexpr SingleCableLaw kGlim4 = {0, 5, {-1.7, -1.5, -1.3, -1.2}, 1.3, {-6.2, -19.5, -19.9, -20.3, -20.7}, 1.3, {}};
constexpr SingleCableLaw kGlim5 = {0, 3, {-1.2, -0.9, -0.8, -0.7}, 1.0, {-5.5, -22.0, -22.6}, 1.2, {}};

}  // namespace

constexpr SingleCable k181 = Make(kGlim1);
constexpr SingleCable k182 = Make(kGlim2);
constexpr SingleCable k183 = Make(kGlim3);
constexpr SingleCable k184 = Make(kGlim4);
constexpr SingleCable k185 = Make(kGlim5);

// The values the device description fixes (Glim1 at the first points).
static_assert(k181.through[0][0] == -1.34 && k181.through[0][1] == -1.0 && k181.through[0][2] == -0.8 &&
              k181.through[0][3] == -0.72);
static_assert(k181.terr[0][0] == -5.98 && k181.terr[0][1] == -23.0 && k181.terr[0][2] == -26.2);

const SingleCable* SingleCableTable(int category) {
  switch (category) {
    case 181: return &k181;
    case 182: return &k182;
    case 183: return &k183;
    case 184: return &k184;
    case 185: return &k185;
    default: return nullptr;
  }
}

}  // namespace kavrix::engine::tables

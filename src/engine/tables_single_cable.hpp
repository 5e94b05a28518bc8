#pragma once
// Characteristic tables of the cascadable single-cable units: the satellite through gains and
// the terrestrial gains to the through line (group 0) and each subscriber output.
#include <array>

namespace kavrix::engine::tables {

constexpr int kSingleCableMaxGroups = 9;  // through line and up to eight outputs

struct SingleCable {
  int satRow;   // FreqGrids row of the satellite paths
  int groups;   // through line + outputs
  std::array<std::array<double, 4>, 16> through;                    // [point][path 1..4]
  std::array<std::array<double, kSingleCableMaxGroups>, 16> terr;   // [point][group], row 1
  std::array<std::array<double, kSingleCableMaxGroups>, 16> terrPassive;  // "Terr TV passive" (183 only)
};

// Tables of category 181..185; nullptr for another category.
const SingleCable* SingleCableTable(int category);

}  // namespace kavrix::engine::tables

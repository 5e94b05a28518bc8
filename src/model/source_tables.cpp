#include "model/source_tables.hpp"

#include <cmath>

namespace kavrix {

std::array<std::array<std::array<int32_t, kSatRows>, kSatColumns>, kSatSlots> SatTables{};
std::array<std::array<std::array<int32_t, 5>, 4>, kSatSlots> LnbParams{};
std::array<bool, kSatSlots> SatUsed{};
std::array<std::array<std::array<int32_t, kTerrEntries>, 2>, kTerrSlots> TerrTables{};
std::array<std::array<int32_t, 5>, kTerrSlots> TerrParams{};
std::array<bool, kTerrSlots> TerrUsed{};
std::array<std::array<double, kTerrEntries>, 22> TerrSpectra{};

// Start values are those of the project options window's grids (its defaults).
std::array<double, kCableKinds + 1> CableCoef{0.0, 0.27, 0.21, 0.18, 0.14, 0.1};
std::array<std::array<double, 2>, kCableKinds + 1> FiberAtt{
    {{0.0, 0.0}, {0.2, 0.35}, {0.3, 0.45}, {0.4, 0.55}, {0.5, 0.65}, {0.6, 0.75}}};

double SatMinLevel = 50.0;
double SatMaxLevel = 80.0;
double TerrMinLevel = 45.0;
double TerrMaxLevel = 90.0;
double SatSocketLoss = 2.0;
double TerrSocketLoss = 3.0;

double CableLoss(int cableKind, double freqMHz, double lengthM) {
  if (!ValidCableKind(cableKind) || freqMHz <= 0.0) return 0.0;
  return std::sqrt(freqMHz / 1000.0) * CableCoef[cableKind] * lengthM;
}

}  // namespace kavrix

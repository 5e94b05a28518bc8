#pragma once
// Signal source tables (LNB transponder plans, terrestrial channel plans and their headers),
// the terrestrial source spectra of a run, the cable tables and the outlet limits.
#include <array>
#include <cstdint>

namespace kavrix {

constexpr int kSatSlots = 4;
constexpr int kSatColumns = 8;
constexpr int kSatRows = 31;      // carrier rows 1..31
constexpr int kTerrSlots = 4;
constexpr int kTerrEntries = 101; // entries 0..100; 0..99 carry carriers
constexpr int kCableKinds = 5;

constexpr int32_t FileVersion = 4410;

// SatTables[slot][column][row - 1]: carrier rows are 1-based in every caller; use SatCell.
extern std::array<std::array<std::array<int32_t, kSatRows>, kSatColumns>, kSatSlots> SatTables;
inline int32_t& SatCell(int slot, int column, int row) { return SatTables[slot][column][row - 1]; }
// Columns of LNB band b (0..3 = H,Lo, H,Hi, V,Lo, V,Hi) in a slot's SatTables.
constexpr int SatFreqColumn(int band) { return 2 * band; }
constexpr int SatLevelColumn(int band) { return 2 * band + 1; }

// LnbParams[slot][band][field]: the header of one band.
enum LnbHeaderField : int {
  kLnbCarriers = 0,  // number of transponders
  kLnbLevel = 1,     // average level, dBuV
  kLnbLowest = 2,    // lowest frequency, MHz (IF)
  kLnbHighest = 3,   // highest frequency, MHz
  kLnbExtra = 4,     // one slot-wide value per band: LnbUseAverage, LnbCurrentMa (bands 2, 3 unused)
};
extern std::array<std::array<std::array<int32_t, 5>, 4>, kSatSlots> LnbParams;
extern std::array<bool, kSatSlots> SatUsed;
// "Use average values": 1 = the band plans are generated from the headers, 0 = table mode.
inline int32_t& LnbUseAverage(int slot) { return LnbParams[slot][0][kLnbExtra]; }
// The LNB's supply current, mA.
inline int32_t& LnbCurrentMa(int slot) { return LnbParams[slot][1][kLnbExtra]; }

// TerrTables[slot][kTerrFreqs] frequencies, [kTerrLevels] levels.
constexpr int kTerrFreqs = 0;
constexpr int kTerrLevels = 1;
extern std::array<std::array<std::array<int32_t, kTerrEntries>, 2>, kTerrSlots> TerrTables;
// TerrParams[slot][field]: the header of a terrestrial plan.
enum TerrHeaderField : int {
  kTerrCarriers = 0,    // number of channels
  kTerrLevel = 1,       // level, dBuV
  kTerrFirst = 2,       // first frequency, MHz
  kTerrLast = 3,        // last frequency, MHz
  kTerrRegenerate = 4,  // 1 = the plan is generated from the other four, 0 = table mode
};
extern std::array<std::array<int32_t, 5>, kTerrSlots> TerrParams;
extern std::array<bool, kTerrSlots> TerrUsed;

// Two rows per registered terrestrial source: 2t frequencies, 2t+1 levels.
extern std::array<std::array<double, kTerrEntries>, 22> TerrSpectra;

// CableCoef[kind] for kind 1..5 (index 0 unused); FiberAtt[type] = {Att1550, Att1310}.
extern std::array<double, kCableKinds + 1> CableCoef;
extern std::array<std::array<double, 2>, kCableKinds + 1> FiberAtt;

// Limits and losses of a new project (the options window's first values).
constexpr double kDefaultSatMaxLevel = 80.0;
constexpr double kDefaultTerrMaxLevel = 90.0;
constexpr double kDefaultSatSocketLoss = 2.0;
constexpr double kDefaultTerrSocketLoss = 3.0;

extern double SatMinLevel;
extern double SatMaxLevel;
extern double TerrMinLevel;
extern double TerrMaxLevel;
extern double SatSocketLoss;
extern double TerrSocketLoss;

// Index guards for values read from files or object rows.
inline bool ValidSatSlot(int s) { return s >= 0 && s < kSatSlots; }
inline bool ValidTerrSlot(int s) { return s >= 0 && s < kTerrSlots; }
inline bool ValidCableKind(int k) { return k >= 1 && k <= kCableKinds; }

// Loss of an RF cable: sqrt(f / 1000) x coefficient x length; a kind outside 1..5 loses nothing.
double CableLoss(int cableKind, double freqMHz, double lengthM);

}  // namespace kavrix

#pragma once
// Characteristic tables of the multiswitches, taps, splitters and the power inserter, in the
// shapes their blocks read (outermost index first; "point" is the grid point of the block's row).
#include "engine/device_table.hpp"

namespace kavrix::engine {

struct MultiswitchTables {
  DeviceTable small4[4];  // 991..994: [path 1..4][point][output 0..4]
  DeviceTable small8[4];  // 995..998: [path 1..4][point][group 0..1][output 0..4]
  DeviceTable kelv9;      // 11: [path 1..5][point][output 0..4]
  DeviceTable kelv10;     // 12
  DeviceTable tap[4];     // 21..24: [path 1..5][point][group 0..1]
  DeviceTable split25;    // [path 1..5][point][group 0..3]
  DeviceTable inline26;   // [point][group 0..5]
  DeviceTable inserter29; // [point][2]: column 0 path 5, column 1 path 99
  DeviceTable kelv15;     // 65: [path 1..9][point][output 0..4]
  DeviceTable kelv16;     // 66
  // Cascadable multiswitches: [path][point][group][output 1..4] and their step pairs.
  DeviceTable casc37, casc41, casc38, casc42, casc71, casc75, casc72, casc76;
  DeviceTable pairs37, pairs41, pairs71, pairs75, pairs72, pairs76;  // [point][path][2]
  DeviceTable pairs38, pairs42;                                      // [point][2]
  DeviceTable ms77;       // [path 1..17][point][10]
  DeviceTable steps77;    // [point][group 0..4][output 0..1][2]
  DeviceTable ms79;       // [path 1..17][point][group 0..7][output 0..1]
  DeviceTable steps79;    // [point][group 0..8][output 0..1][2]
};
const MultiswitchTables& MultiswitchData();

// The 151..179 series.
struct MultiswitchFamilyTables {
  DeviceTable jarn1;           // 151: [path 1..5][point][output 1..4]
  DeviceTable jarn2;           // 152: [path 1..5][point][group 0..1][output 1..4]
  DeviceTable jarn[4];         // 161..164: [path 1..9][point][group 0..n-1][output 1..4]
  DeviceTable hulmTerr[5];     // 170..178: [point 0..21][group][output 1..4]
  DeviceTable gavn[5];         // 171..179: [path 1..9][point 0..21][group][output 1..4]
  DeviceTable coarse[5];       // per pair: [point 0..21][path 1..9][a 1..3]
  DeviceTable fine[5];         // per pair: [point 0..21][b 1..3]
};
const MultiswitchFamilyTables& MultiswitchFamilyData();

// Groups of the 22-point pairs in pair order (170/171, 172/173, ...).
constexpr int kLargeSwitchGroups[5] = {2, 3, 4, 6, 8};

}  // namespace kavrix::engine

#pragma once
// Gain, step and slope tables of the house, launch and terrestrial amplifiers and the
// three-band combiner, in the shapes their blocks read (outermost index first).
#include "engine/device_table.hpp"

namespace kavrix::engine {

struct HouseAmpTables {
  DeviceTable vorbGain;   // 43: [point][group 0..1] (group 0 on row 7, group 1 on row 4)
  DeviceTable vorbStep;   // [point][group 0..1][pad, step 1, step 2]
  DeviceTable vorbSlope;  // [point][group 0..1][pad, slope 1, slope 2]
  DeviceTable wexlGain;   // 44: [point][group 0..3] (groups 0, 1 on row 4; 2, 3 on row 7)
  DeviceTable wexlStep;   // [point][group 0..3][pad, step 1, step 2]
  DeviceTable slevGain;   // 45: [point] on row 2
  DeviceTable slevStep;   // [point][A0, A1]
  DeviceTable slevSlope;  // [point][slope 1, slope 2]
  // Launch amplifiers 50, 51, 53, 57 in that order.
  DeviceTable nerbGain[4];   // [path][point]
  DeviceTable nerbStep[4];   // [point][path][A0, A1]
  DeviceTable nerbSlope[4];  // [point][SLa, SLb] on the terrestrial row
  DeviceTable nerb6;         // 55: [point]
  DeviceTable nerb7;         // 56: [path 1..4][point]
};
const HouseAmpTables& HouseAmpData();

struct TerrAmpTables {
  DeviceTable rimbGain;    // 86: [point][group 0..2]
  DeviceTable qent1Gain;   // 87: [point][group 0..2]
  DeviceTable qent1Step;   // [point][group 0..2][A0, A1]
  DeviceTable qent2Gain;   // 88
  DeviceTable qent2Step;   // [point][group 0..2][P, A0, A1]
  DeviceTable slev2Gain;   // 89: [point] on row 2
  DeviceTable slev2Step;   // [point][P, A0, A1]
  DeviceTable slev2Slope;  // [point][S0, S1, S2]
  DeviceTable slev3Gain;   // 90: the same on row 6 (24 points)
  DeviceTable slev3Step;
  DeviceTable slev3Slope;
};
const TerrAmpTables& TerrAmpData();

}  // namespace kavrix::engine

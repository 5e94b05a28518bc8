#pragma once
// The downlink level at an LNB output: free-space loss from the satellite's orbital position to
// the site, the dish gain (from diameter and efficiency, or as given) and the LNB gain.
namespace kavrix {

struct PathLossInput {
  double position = 0;   // orbital position, degrees west (east negative)
  double longitude = 0;  // site longitude, degrees west (east negative)
  double latitude = 0;   // the sign does not matter
  double eirp = 50;      // dBW
  bool kuBand = true;    // 11.7 GHz, else C band at 3.95 GHz
  bool gainGiven = false;
  double diameter = 100;   // cm
  double efficiency = 60;  // %
  double antennaGain = 0;  // dB, used when gainGiven
  double lnbGain = 55;     // dB
};

struct PathLossResult {
  bool visible = true;     // false: the satellite is below the site's horizon, no path and no level
  double pathLoss = 0;     // dB (NaN when not visible)
  double antennaGain = 0;  // dB, computed or given
  double level = 0;        // dBuV on 75 ohm (NaN when not visible)
};

// What the calculator shows instead of a level when the satellite is below the horizon.
inline constexpr const char* kSatelliteNotVisible = "Satellite not visible from this site";

PathLossResult ComputeSignalLevel(const PathLossInput& in);

}  // namespace kavrix

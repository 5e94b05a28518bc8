#include "reports/path_loss.hpp"

#include <cmath>
#include <limits>
#include <numbers>

namespace kavrix {

namespace {
// A geostationary satellite rises above the horizon where the cosine of the site's angle to the
// sub-satellite point exceeds the Earth's radius over the orbit's radius.
constexpr double kEarthRadiusKm = 6378.0;
constexpr double kOrbitRadiusKm = 42164.0;
}  // namespace

PathLossResult ComputeSignalLevel(const PathLossInput& in) {
  constexpr double kPi = std::numbers::pi;
  PathLossResult r;
  const double c = std::cos((in.position - in.longitude) * kPi / 180) * std::cos(in.latitude * kPi / 180);
  const double f = in.kuBand ? 11.7 : 3.95;  // GHz
  if (in.gainGiven) {
    r.antennaGain = in.antennaGain;
  } else {
    const double lambda = 30 / f;  // cm
    const double aperture = in.diameter * kPi / lambda;
    r.antennaGain = 10 * std::log10(aperture * aperture * in.efficiency / 100);
  }
  if (!(c > kEarthRadiusKm / kOrbitRadiusKm)) {
    r.visible = false;
    r.pathLoss = r.level = std::numeric_limits<double>::quiet_NaN();
    return r;
  }
  r.pathLoss = 10 * std::log10(1 - 0.295 * c) + 185.05 + 20 * std::log10(f);
  const double received = in.eirp - r.pathLoss + 30;  // dBm
  r.level = in.lnbGain + received + r.antennaGain + 108.75;
  return r;
}

}  // namespace kavrix

#pragma once
// "Adjustment with optimizing structure": exchanges interchangeable cascaded multiswitches and
// taps for their stronger or weaker variants so that the outlets get enough level without
// overload, commits the chosen variants as kinds and tunes the network.
#include <string>

#include "simulation/command_clicks.hpp"

#include "model/network_model.hpp"

namespace kavrix {

// OptimizeMode (model): criteria set of the next optimisation; true also watches terrestrial
// levels. Alternates from one optimisation to the next.

// The optimisation button's image for a criteria set: 76 watches terrestrial levels too, 78 only
// satellite levels.
constexpr int kOptimizeImageAllLevels = 76;
constexpr int kOptimizeImageSatelliteLevels = 78;
constexpr int OptimizeModeImage(bool mode) { return mode ? kOptimizeImageAllLevels : kOptimizeImageSatelliteLevels; }

inline constexpr const char* kOptimisationPrecondition =
    "Missing signal source or network does not contain interchangeable cascaded components";

struct OptimisationOutcome {
  bool ran = false;       // the passes ran and the variants were committed
  std::string message;    // text to show, empty when none
  int imageIndex = -1;    // the button's new image index (-1: unchanged)
};

OptimisationOutcome OptimizeStructure(const CommandClicks& clicks);

namespace optimisation {

// Kinds whose variant (Inst 1..4) is committed as a new kind, and that kind; 0 when the kind
// is not interchangeable or the variant lies outside 1..4.
int CommittedKind(int kind, int variant);
bool Interchangeable(int kind);

}  // namespace optimisation
}  // namespace kavrix

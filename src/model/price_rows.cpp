#include "model/price_rows.hpp"

namespace kavrix {

PriceEstimateGrid EstimateGrid;

}  // namespace kavrix

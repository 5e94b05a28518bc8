#include "engine/node_frame.hpp"

namespace kavrix::engine {

void RegisterHouseAmpBlocks(BlockTable&) {}

}  // namespace kavrix::engine

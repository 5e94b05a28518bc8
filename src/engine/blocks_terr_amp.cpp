#include "engine/node_frame.hpp"

namespace kavrix::engine {

void RegisterTerrAmpBlocks(BlockTable&) {}

}  // namespace kavrix::engine

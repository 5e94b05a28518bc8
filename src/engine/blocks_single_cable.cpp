#include "engine/node_frame.hpp"

namespace kavrix::engine {

void RegisterSingleCableBlocks(BlockTable&) {}

}  // namespace kavrix::engine

#include "engine/node_frame.hpp"

namespace kavrix::engine {

void RegisterOpticalCableBlocks(BlockTable&) {}

}  // namespace kavrix::engine

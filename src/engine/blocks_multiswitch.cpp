#include "engine/node_frame.hpp"

namespace kavrix::engine {

void RegisterMultiswitchBlocks(BlockTable&) {}

}  // namespace kavrix::engine

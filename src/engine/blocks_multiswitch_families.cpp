#include "engine/node_frame.hpp"

namespace kavrix::engine {

void RegisterMultiswitchFamilyBlocks(BlockTable&) {}

}  // namespace kavrix::engine

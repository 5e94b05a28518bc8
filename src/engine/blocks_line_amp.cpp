#include "engine/node_frame.hpp"

namespace kavrix::engine {

void RegisterLineAmpBlocks(BlockTable&) {}

}  // namespace kavrix::engine

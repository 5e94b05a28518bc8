#include "engine/node_frame.hpp"

namespace kavrix::engine {

void RegisterLinkConverterBlocks(BlockTable&) {}

}  // namespace kavrix::engine

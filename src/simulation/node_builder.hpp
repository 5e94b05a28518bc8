#pragma once
// Turns the drawing into calculation nodes: one node per signal path of every device (laid out by
// the kind's port-template block, with a replica of each terrestrial path per further
// terrestrial source) and one node per conductor of every line. Pins are drawing coordinates;
// linking later joins nodes whose pins coincide.
namespace kavrix {

// Builds nodes from node index k on (the counter after source registration) and returns the
// final counter n. Nodes k..n-1 are written; at least one reset row follows them.
int BuildNodes(int k);

namespace nodes {

// A pin no drawing point can reach, distinct per line row, conductor and end, for a line end
// whose arrangement digit is neither 1 nor 2.
struct OffDrawingPin {
  int x, y;
};
OffDrawingPin LineEndOffDrawing(int row, int conductor, bool atEnd);

}  // namespace nodes
}  // namespace kavrix

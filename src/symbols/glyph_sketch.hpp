#pragma once
// Building blocks shared by the type-symbol builders: a scratch bitmap with the house conventions
// for bodies, leads, terminals, direction marks, knobs, captions and building pieces. Terminals
// drawn here are remembered so that the finished slot can report where its pins may connect.
#include <string>
#include <vector>

#include "symbols/canvas_surface.hpp"
#include "symbols/glyph_store.hpp"

namespace kavrix::glyph_sketch {

// How a lead is drawn.
enum class Lead {
  Green,      // satellite IF lines: pen width 4 in the line's colour
  Yellow,
  Grey,
  Red,
  Terr,       // terrestrial and cable leads: black width 4 with a white core of width 2
  Black,      // subscriber and branch outputs
  Accessory,  // grey width 4
  Fibre,      // yellow width 6 with a black core of width 2
  Purple,     // power feed
  Olive,
  OliveCore,  // black width 4 with an olive core
};

constexpr Lead kOrderA[4] = {Lead::Green, Lead::Yellow, Lead::Grey, Lead::Red};
constexpr Lead kOrderB[4] = {Lead::Grey, Lead::Green, Lead::Red, Lead::Yellow};

enum class Dir { Down, Up, Left, Right };

struct TextStyle {
  int height = FontSizeToHeight(8);
  TColor color = colors::kBlack;
  int orientation = 0;
  bool narrow = false;
};

// Background of a new scratch bitmap.
enum class Background {
  Silver,      // flood-filled silver, transparent (the usual recipe)
  White,       // left white, opaque
  WhiteKeyed,  // left white, transparent (white becomes the key colour)
};

class Sketch {
 public:
  Sketch(int width, int height, Background bg = Background::Silver);

  Bitmap bmp;
  Canvas c;
  std::vector<QRect> terminals;
  int W;
  int H;

  // Body: white, black frame of width 2.
  void body(int l, int t, int r, int b);
  // Inner frame in the grey-text colour, inset 3 px on every side (width 2) ...
  void inner2(int l, int t, int r, int b);
  // ... or inset 2 px top-left and 3 px bottom-right (width 1).
  void inner1(int l, int t, int r, int b);
  // Filled triangle 8 px wide and 4 px deep whose base centre is (x, y), pointing along `d`.
  void arrow(int x, int y, Dir d, TColor color = colors::kBlack);
  void lead(int x1, int y1, int x2, int y2, Lead kind);
  // Polyline lead through the points.
  void leadPath(const std::vector<QPoint>& pts, Lead kind);
  // White 6-px terminal circle centred on (x, y) (box x-3 .. x+3), recorded.
  void terminal(int x, int y);
  // A lead from (x, y) to the body edge and its terminal at (x, y).
  void topLead(int x, int yTerm, int yBody, Lead kind);
  void bottomLead(int x, int yBody, int yTerm, Lead kind);
  void leftLead(int y, int xTerm, int xBody, Lead kind);
  void rightLead(int y, int xBody, int xTerm, Lead kind);
  void knob(int l, int t);                   // blue filled circle of 10 px
  void settingBox(int l, int t);             // blue 10 x 6 box
  void text(int x, int y, const std::string& s, const TextStyle& st = {});
  // Draws slot `slot` of TypeGlyphs at (x, y) and takes over its terminals.
  void piece(int slot, int x, int y);
  // The supply marking (equals sign, two waves, diagonal) with a black pen of width 1.
  void supplyMarking(bool vertical, int eqX, int eqY, int eqLen, int waveX, int waveY, QPoint d1, QPoint d2);

  // Stores the finished bitmap and its terminals in `slot`.
  void storeIn(int slot);
};

Lead SatColour(int index, const Lead (&order)[4]);

}  // namespace kavrix::glyph_sketch

#pragma once
// Builders of the printer operations the drawing and the estimate lay out.
#include <string>

#include "model/number_text.hpp"
#include "platform/printer.hpp"

namespace kavrix::print_ops {

using platform::PrintOp;
using Kind = PrintOp::Kind;

// Page positions round halves to even, as every other measure of the program does.
inline int Round(double v) { return static_cast<int>(RoundHalfEven(v)); }

inline PrintOp Op(Kind kind, int x1 = 0, int y1 = 0, int x2 = 0, int y2 = 0) {
  PrintOp op;
  op.kind = kind;
  op.x1 = x1;
  op.y1 = y1;
  op.x2 = x2;
  op.y2 = y2;
  return op;
}

inline PrintOp Text(int x, int y, const std::string& text, bool alignRight = false) {
  PrintOp op = Op(Kind::Text, x, y);
  op.text = text;
  op.alignRight = alignRight;
  return op;
}

inline PrintOp Font(int height, bool bold = false) {
  PrintOp op = Op(Kind::Font);
  op.size = height;
  op.bold = bold;
  return op;
}

inline PrintOp Pen(int width) {
  PrintOp op = Op(Kind::Pen);
  op.size = width;
  return op;
}

}  // namespace kavrix::print_ops

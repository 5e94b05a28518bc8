#pragma once
// Project options that change how object symbols are composed and labelled. The options window
// owns the check boxes and copies their state here whenever it changes, so the symbol code never
// reads a widget.

namespace kavrix {

struct SymbolOptions {
  bool showDesignators = false;  // "Show designators": each object's row number on its symbol
};

SymbolOptions& CurrentSymbolOptions();

}  // namespace kavrix

// Cable lines snap to the pins that graph building computes from the port templates; those pins
// must lie on the terminals the symbols draw, or a line that looks connected links to nothing.
#include <gtest/gtest.h>

#include <QPoint>
#include <cstdlib>

#include "catalogue/geometry.hpp"
#include "catalogue/port_templates.hpp"
#include "catalogue/type_catalogue.hpp"
#include "symbols/glyph_store.hpp"
#include "symbols/switch_amp_glyphs.hpp"
#include "symbols/type_glyphs.hpp"

namespace kavrix {
namespace {

constexpr int kOffDrawing = 2000000;

// Kinds whose subscriber ports (extra-port rows) have no drawn terminal, because both the rows
// and the symbol are fixed as they are. Their through pins are still checked.
struct PortException {
  int kind;
  const char* reason;
};
constexpr PortException kPortExceptions[] = {
    // Row 4 puts Kelv1's ports 2..5 at (+-55, +-20); the shared symbol of 1..4 draws inputs on
    // top and through outputs below only, no side terminals.
    {1, "ports fixed at +-55 by row 4, symbol without side terminals"},
    {2, "same family and symbol as kind 1"},
    {3, "same family and symbol as kind 1"},
    {4, "same family and symbol as kind 1"},
    // Row 20 gives Kelv5's first path an extra-port row; the shared symbol of 5..8 again has
    // only top and bottom leads.
    {5, "extra ports required by row 20, symbol without side terminals"},
    {6, "same family and symbol as kind 5"},
    {7, "same family and symbol as kind 5"},
    {8, "same family and symbol as kind 5"},
};

bool PortsExempt(int kind) {
  for (const PortException& e : kPortExceptions)
    if (e.kind == kind) return true;
  return false;
}

TEST(PinsOnTerminals, EveryTemplatePinLiesOnADrawnTerminal) {
  CreateDeviceGlyphs();
  CreateSwitchAmpGlyphs();
  int checked = 0;
  std::vector<std::string> misses;
  for (int kind = 1; kind < kKindCount; ++kind) {
    const TypeRecord& t = TypeOf(kind);
    if (t[kPaths] == 0 || kind > 200 || TypeSlotOfKind(kind) < 0) continue;
    const std::vector<QPoint> terminals = KindTerminalOffsets(kind);
    if (terminals.empty()) continue;
    auto onTerminal = [&](int dx, int dy) {
      const QPoint p(dx, dy - t[kTerminalShift]);
      for (const QPoint& c : terminals)
        if (std::abs(c.x() - p.x()) <= 2 && std::abs(c.y() - p.y()) <= 2) return true;
      return false;
    };
    auto check = [&](int row, int dx, int dy) {
      if (dx == kOffDrawing || dy == kOffDrawing) return;
      ++checked;
      if (!onTerminal(dx, dy))
        misses.push_back("kind " + std::to_string(kind) + " row " + std::to_string(row) + " (" + std::to_string(dx) +
                         ", " + std::to_string(dy) + ")");
    };
    for (int p = 0; p < t[kPaths]; ++p) {
      const int row = t[kFirstTemplateRow] + p;
      const TemplateRow& r = PortTemplates[static_cast<std::size_t>(row)];
      check(row, r[1], r[2]);
      check(row, r[3], r[4]);
      if (r[5] > 0 && !PortsExempt(kind)) {
        const TemplateRow& e = PortTemplates[static_cast<std::size_t>(t[kFirstTemplateRow] + r[5])];
        for (int q = 0; q < 4; ++q)
          if (e[2 * q + 1] < kOffDrawing) check(row, e[2 * q], e[2 * q + 1]);
      }
    }
  }
  EXPECT_GT(checked, 1000);
  for (std::size_t i = 0; i < misses.size(); ++i) ADD_FAILURE() << misses[i];
  EXPECT_TRUE(misses.empty()) << misses.size() << " pins off their terminals";
}

}  // namespace
}  // namespace kavrix

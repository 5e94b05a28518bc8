#include <gtest/gtest.h>

#include <set>
#include <utility>

#include "catalogue/knob_table.hpp"
#include "catalogue/port_templates.hpp"
#include "catalogue/type_catalogue.hpp"
#include "model/network_model.hpp"
#include "model/undo_ring.hpp"
#include "simulation/control_reset.hpp"
#include "support/model_guard.hpp"

namespace kavrix {
namespace {

using Cell = std::pair<int, int>;  // row offset, column

// The cells Tune's write-back may change for `kind`, read from its path rows' control rows the
// way the write-back reads them: setting A when its mode stores one, the slope when present.
// The optimisation only commits kinds and runs Tune, so these are all a command writes.
std::set<Cell> TunedCells(int kind) {
  std::set<Cell> cells;
  const TypeRecord& t = TypeOf(kind);
  const int first = t[kFirstTemplateRow];
  if (first <= 0) return cells;
  for (int p = first; p < first + t[kPaths]; ++p) {
    const int ctl = PortTemplates[static_cast<std::size_t>(p)][kTplControlRow];
    if (ctl <= 0) continue;
    const TemplateRow& c = PortTemplates[static_cast<std::size_t>(first + ctl)];
    const ControlSetting a = ControlSettingA(c), b = ControlSettingB(c);
    if (a.present && (a.field == 16 || a.field == 17)) cells.insert({a.offset, a.column});
    if (b.present && b.field == 17) cells.insert({b.offset, b.column});
  }
  return cells;
}

std::set<Cell> ResetCells(int kind) {
  std::set<Cell> cells;
  const int first = TypeOf(kind)[kFirstKnob];
  if (first <= 0) return cells;
  for (int i = 0; i < KnobTable[first][kKnobCount]; ++i)
    cells.insert({KnobTable[first + i][kKnobRowOffset], KnobTable[first + i][kKnobColumn]});
  return cells;
}

TEST(ControlResetCoverage, EverySettingTuneWritesIsRestoredByTheReset) {
  // Kinds 62, 63 and 64 had control rows that Tune wrote back but no knob run, so "Returns
  // controls to initial position" left them where Tune had put them.
  for (int kind = 1; kind < 200; ++kind) {
    const std::set<Cell> reset = ResetCells(kind);
    for (const Cell& c : TunedCells(kind))
      EXPECT_TRUE(reset.count(c)) << "kind " << kind << " cell " << c.first << "." << c.second;
  }
}

TEST(ControlResetCoverage, ObsoleteSwitchesAndModulatorsGoBackToTheirInitialSettings) {
  test::FreshModel fresh;
  const int sw = test::AddObject(64, 300, 300, -7, 1, 4);  // output attenuation -7, slope 4
  const int plain = test::AddObject(62, 800, 300, -3, 1, 0);
  const int mod = test::AddObject(97, 300, 700, -12, 1, 0);
  test::AddContinuation(0, 3, 40, 0, 0, -1);
  const int serial = EditSerial;
  ControlReset(CommandClicks{});
  EXPECT_EQ(NetObjects[sw][kInst], 0);
  EXPECT_EQ(NetObjects[sw][kStyle], 0);
  EXPECT_EQ(NetObjects[plain][kInst], 0);
  EXPECT_EQ(NetObjects[mod][kInst], 0);
  EXPECT_EQ(EditSerial, serial + 1);

  ASSERT_TRUE(UndoLastStep().undone);
  EXPECT_EQ(NetObjects[sw][kInst], -7);
  EXPECT_EQ(NetObjects[sw][kStyle], 4);
  EXPECT_EQ(NetObjects[plain][kInst], -3);
  EXPECT_EQ(NetObjects[mod][kInst], -12);
}

}  // namespace
}  // namespace kavrix

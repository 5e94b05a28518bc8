#include <gtest/gtest.h>

#include <vector>

#include "catalogue/port_templates.hpp"
#include "catalogue/type_catalogue.hpp"
#include "model/network_model.hpp"
#include "model/run_records.hpp"
#include "model/source_tables.hpp"
#include "model/undo_ring.hpp"
#include "simulation/command_clicks.hpp"
#include "simulation/control_reset.hpp"
#include "simulation/level_tuning.hpp"
#include "simulation/structure_optimisation.hpp"
#include "support/model_guard.hpp"

namespace kavrix {
namespace {

int AddSingleLine(int x, int y, int len, int metres, int cable) {
  const int row = test::AddObject(203, x, y, metres, 1, cable);
  test::AddContinuation(len, 0, 0, 0, 11);
  return row;
}

int AddSocket(int x, int y, int metres, int cable) { return test::AddObject(210, x + 25, y, metres, 1, cable); }

struct Pin {
  int x, y;
};

// Places a device of `kind` so that its first path's input pin lies at `in`; returns the row
// and the output pin of that path.
int AddDeviceAt(int kind, Pin in, Pin& out, int inst = 0) {
  const TypeRecord& t = TypeOf(kind);
  const TemplateRow& r = PortTemplates[static_cast<std::size_t>(t[kFirstTemplateRow])];
  const int x = in.x - r[kTplInDx];
  const int y = in.y - r[kTplInDy] + t[kTerminalShift];
  out = {x + r[kTplOutDx], y - t[kTerminalShift] + r[kTplOutDy]};
  return test::AddObject(kind, x, y, inst, 1, 0);
}

int UndoEntriesWithSerial(int serial) {
  int n = 0;
  for (const UndoEntry& e : UndoRing)
    if (e[kUndoKindField] != kUndoNone && e[kUndoSerial] == serial) ++n;
  return n;
}

class Tuning : public ::testing::Test {
 protected:
  test::TempCurrentDir dir;
  test::FreshModel fresh;
  CommandChain chain{RunInput{"50", "60"}, RunCallbacks{}};
  void SetUp() override {
    CableCoef = {0.0, 0.27, 0.21, 0.18, 0.14, 0.1};
    SatMaxLevel = 80;
    TerrMaxLevel = 70;
    SatSocketLoss = 2;
    TerrSocketLoss = 3;
  }
  // Antenna in slot 0 with carriers 200..400 MHz at `level`; its output pin is (400, 190).
  void AddAntenna(int level) {
    test::AddObject(93, 400, 100, 0, 1, 0);
    const int f[] = {200, 250, 300, 350, 400};
    for (int i = 0; i < 5; ++i) {
      TerrTables[0][0][i] = f[i];
      TerrTables[0][1][i] = level;
    }
    TerrParams[0][0] = 5;
    TerrUsed[0] = true;
  }
  // antenna -> line -> attenuator -> line -> socket; returns the attenuator's row.
  int AttenuatorChain(int level, int attInst) {
    AddAntenna(level);
    AddSingleLine(400, 190, 100, 0, 1);
    Pin out{};
    const int att = AddDeviceAt(80, {400, 290}, out, attInst);
    AddSingleLine(out.x, out.y, 100, 0, 1);
    AddSocket(out.x, out.y + 100, 0, 1);
    return att;
  }
};

TEST_F(Tuning, AttenuatorIsLoweredUntilTheOutletFitsAndOneUndoRestoresIt) {
  // Outlet limit of the last line: Trunc(70 + 3 + 0) = 73. The attenuator passes
  // in + 0.8 s - 3.5 below 470 MHz, so 85 - 3.5 + 0.8 s <= 73 first holds at s = -11.
  const int att = AttenuatorChain(85, -3);
  ProjectModified = false;
  const int serial = EditSerial;
  const TuneOutcome out = Tune(chain.clicks());
  ASSERT_TRUE(out.adjusted);
  EXPECT_EQ(NetObjects[att][kInst], -11);
  EXPECT_TRUE(ProjectModified);
  EXPECT_EQ(chain.runs(), 3) << "the reset's run, Tune's run and the closing run";
  EXPECT_EQ(EditSerial, serial + 1) << "reset and Tune form one step";
  // The reset saved the user's -3, the write-back saved the reset's 0: both under one serial.
  EXPECT_EQ(UndoEntriesWithSerial(serial), 2);
  EXPECT_EQ(out.undoRecords, 1);
  // The closing run shows the outlet within limits (terrestrial status 9 in the tens digit).
  EXPECT_EQ(Links[0][kLinkStatus] / 10, 9);

  const UndoOutcome undo = UndoLastStep();
  EXPECT_TRUE(undo.undone);
  EXPECT_EQ(NetObjects[att][kInst], -3);
}

TEST_F(Tuning, TuneAfterTuneStartsAgainFromTheInitialSettings) {
  const int att = AttenuatorChain(85, 0);
  Tune(chain.clicks());
  ASSERT_EQ(NetObjects[att][kInst], -11);
  Tune(chain.clicks());
  EXPECT_EQ(NetObjects[att][kInst], -11);
}

TEST_F(Tuning, StepStopsAtItsLowerLimit) {
  // 120 dBuV would need s = -54; the control row allows -20.
  const int att = AttenuatorChain(120, 0);
  Tune(chain.clicks());
  EXPECT_EQ(NetObjects[att][kInst], -20);
}

TEST_F(Tuning, WithoutOutletLimitsTheAttenuatorStays) {
  const int att = AttenuatorChain(85, 0);
  TuneOutletLimits = false;
  Tune(chain.clicks());
  TuneOutletLimits = true;
  EXPECT_EQ(NetObjects[att][kInst], 0);
}

TEST_F(Tuning, NoGraphStopsAfterTheRunsAndStillEndsTheStep) {
  // Fault pinned: a run that built no graph must not be walked; the next action is its own step.
  Pin out{};
  const int att = AddDeviceAt(80, {400, 290}, out, -5);
  const int serial = EditSerial;
  const TuneOutcome res = Tune(chain.clicks());
  EXPECT_FALSE(res.adjusted);
  EXPECT_EQ(chain.runs(), 2);
  EXPECT_EQ(EditSerial, serial + 1);
  EXPECT_EQ(NetObjects[att][kInst], 0) << "the reset still ran";
  EXPECT_EQ(UndoEntriesWithSerial(serial), 1);
  EXPECT_TRUE(UndoLastStep().undone);
  EXPECT_EQ(NetObjects[att][kInst], -5);
}

TEST_F(Tuning, ControlResetSavesEachChangedRowOnce) {
  // Launch amplifier: settings in its first continuation row (columns 1..4 and the Kind field)
  // and its Inst.
  const int amp = test::AddObject(50, 300, 300, -4, 1, 0);
  test::AddContinuation(3, 2, 0, 0, 0, -3);
  const int plain = test::AddObject(50, 600, 300, 0, 1, 0);
  test::AddContinuation(0, 0, 0, 0, 0, -1);
  const int serial = EditSerial;
  std::vector<int> labelled;
  Hooks().rowLabelsChanged = [&](int row) { labelled.push_back(row); };
  const int records = ResetControlSettings();
  Hooks().rowLabelsChanged = nullptr;
  EXPECT_EQ(records, 2) << "the object row and its continuation row, once each";
  EXPECT_EQ(NetObjects[amp][kInst], 0);
  EXPECT_EQ(NetObjects[amp + 1][kKind], -1);
  EXPECT_EQ(NetObjects[amp + 1][1], 0);
  EXPECT_EQ(NetObjects[amp + 1][2], 0);
  EXPECT_EQ(NetObjects[plain + 1][kKind], -1);
  EXPECT_EQ((std::vector<int>{amp, plain}), labelled);

  ControlReset(chain.clicks());
  EXPECT_EQ(EditSerial, serial + 1);
  EXPECT_EQ(chain.runs(), 1);
  EXPECT_TRUE(UndoLastStep().undone);
  EXPECT_EQ(NetObjects[amp][kInst], -4);
  EXPECT_EQ(NetObjects[amp + 1][kKind], -3);
  EXPECT_EQ(NetObjects[amp + 1][1], 3);
}

TEST_F(Tuning, ControlResetNeverWritesIntoAnotherObject) {
  // A launch amplifier without its continuation row, followed by another object.
  const int amp = test::AddObject(50, 300, 300, 0, 1, 0);
  const int next = test::AddObject(203, 500, 300, 7, 1, 2);
  test::AddContinuation(40, 0, 0, 0, 11);
  ResetControlSettings();
  EXPECT_EQ(NetObjects[amp][kKind], 50);
  EXPECT_EQ(NetObjects[next][kKind], 203);
  EXPECT_EQ(NetObjects[next][kInst], 7);
  EXPECT_EQ(NetObjects[next + 1][1], 40);
}

TEST(TuningCodec, EveryControlRowReadsBackWhatItWrites) {
  for (int r = 0; r < kTemplateRowCount; ++r) {
    const TemplateRow& c = PortTemplates[static_cast<std::size_t>(r)];
    if (ControlSettingA(c).present) {
      const int mode = c[kCtlModeA];
      for (int v = -20; v <= 0; ++v) ASSERT_EQ(tuning::DecodeA(mode, tuning::EncodeA(mode, v)), v) << r;
    }
    for (int column = 0; column < kObjFields; ++column)
      for (int slope = 2; slope <= 21; ++slope)
        ASSERT_EQ(tuning::DecodeB(column, tuning::EncodeB(column, slope)), slope);
  }
  // A slope kept in the Kind field stays a continuation-row marker.
  EXPECT_EQ(tuning::EncodeB(0, 2), -1);
  EXPECT_LT(tuning::EncodeB(0, 99), 0);
}

TEST(TuningSlope, TiltGivesTheSlopeOfTheAmplifierFamily) {
  EXPECT_EQ(tuning::SlopeForTilt(43, 20.5, 1, 15), 3);
  // Fault pinned: Trunc(16.9 - 17) = 0 would read as an output attenuation; it means no slope.
  EXPECT_EQ(tuning::SlopeForTilt(43, 16.9, 1, 15), 1);
  EXPECT_EQ(tuning::SlopeForTilt(43, 50.0, 1, 15), 15);
  EXPECT_EQ(tuning::SlopeForTilt(101, 10.0, 1, 4), 3);
  EXPECT_EQ(tuning::SlopeForTilt(101, 16.0, 1, 4), 4);
  EXPECT_EQ(tuning::SlopeForTilt(101, 2.0, 2, 4), 2) << "a small tilt keeps the slope";
}

}  // namespace
}  // namespace kavrix

#pragma once
// "Tune": sets the gain steps, slopes and output attenuations of every adjustable device so that
// carriers stay below the devices' maximum levels, amplifier slopes compensate the cable tilt
// and, with outlet limits on, no TV outlet gets more than the maximum outlet level. Works on the
// nodes the run builds, then writes the settings back into the object rows with undo records
// that share the edit serial of the control reset it starts with.
#include <cstdint>

#include "model/network_model.hpp"
#include "simulation/command_clicks.hpp"

namespace kavrix {

struct TuneOutcome {
  bool adjusted = false;  // the adjustment ran and wrote back (false: stopped after the runs)
  int undoRecords = 0;    // undo records of the write-back
};

// The whole command: control reset, run, adjustment, write-back, final run.
TuneOutcome Tune(const CommandClicks& clicks);

namespace tuning {

// Row offsets a setting may have from its object row (control rows and knob records).
constexpr int kMaxRowOffset = 4;

// Number of rows of the object at `row`: its head row and the continuation rows after it.
int ObjectSpan(int row);

// One coding of a setting stored through a control row, shared by node building (decode) and
// the write-back (encode). Setting A: mode below 0 stores the value, above 1 its negation.
// Setting B (slope) is stored as value - 1, negated when its cell is the Kind field (column 0).
int32_t DecodeA(int mode, int32_t cell);
int32_t EncodeA(int mode, int32_t value);
int32_t DecodeB(int column, int32_t cell);
int32_t EncodeB(int column, int32_t value);

// Slope of a house amplifier (kind below 100) or line amplifier for a mean tilt in dB; `current`
// is kept when the tilt gives no slope; the result lies in 1..high.
int SlopeForTilt(int kind, double meanTilt, int current, int high);

}  // namespace tuning
}  // namespace kavrix

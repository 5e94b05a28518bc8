#pragma once
// The source panel's rules without its window: the plan the carrier grid shows when table mode
// is switched on, and what Apply takes from the grids (table mode) or generates from the summary
// (average mode), with the checks that refuse or report it. The panel reads and shows the grids
// and stores what these return as one edit step.
//
// The summary grid holds one header per column (LNB: column band + 1; terrestrial: column 1), its
// rows 0..3 being header fields 0..3 (carriers, level, lowest or first, highest or last MHz).
#include <array>
#include <cstdint>
#include <string>

#include "model/source_file.hpp"
#include "model/source_tables.hpp"

namespace kavrix::source_plan {

using SatSlot = std::array<std::array<int32_t, kSatRows>, kSatColumns>;
using LnbHeader = std::array<std::array<int32_t, 5>, 4>;
using TerrTable = std::array<std::array<int32_t, kTerrEntries>, 2>;
using TerrHeader = std::array<int32_t, 5>;

inline constexpr const char* kFrequencyMessage = "Incorrect frequency was entered";
inline constexpr const char* kLnbCountMessage = "Incorrect number of transponders was entered (0 to 31)";
inline constexpr const char* kTerrCountMessage = "Incorrect number of channels was entered (0 to 100)";

// Grid rows of a terrestrial plan: 100 for the CATV source (92), 31 for the antennas.
int TerrGridRows(int kind);

// What the import says when a plan read into the grid holds channels (a frequency and a level of
// at least 1) in rows TerrGridRows + 1 .. 100, which Apply does not take for a terrestrial source
// of `kind`; "" when it takes every one, or for any other kind.
std::string ChannelsNotTakenMessage(const SourceGrid& grid, int kind);

// Every plan cell below the header row; the next plan is written into a clean grid, so no row of
// another source is carried into this one's table or file.
void ClearPlanCells(SourceGrid& grid);
// A slot's table in the carrier grid, entry i in row i + 1.
void ShowLnbTable(SourceGrid& grid, const SatSlot& sat);
void ShowTerrTable(SourceGrid& grid, const TerrTable& table, int rows);

// The carrier grid when table mode is switched on: the slot's table, or, when the table holds
// nothing, a plan to start from (LNB: each band's count from 970, 1100, 990, 1120 MHz every 40
// MHz at its average level; terrestrial: the first frequency, then 170 MHz on every 8 MHz, the
// last frequency in row 61, all at the header's level).
void FillLnbTableGrid(SourceGrid& grid, const SatSlot& sat, const LnbHeader& header);
void FillTerrTableGrid(SourceGrid& grid, const TerrTable& table, const TerrHeader& header, int rows);

// The LNB slot's tables as Apply leaves them, from the tables as stored. Table mode takes each
// column's rows into the table and summary; average mode regenerates the bands from the summary.
// Returns the message of a count the tables cannot hold (average mode), before anything is
// taken; nullptr when `plan` is to be stored.
struct LnbPlan {
  SatSlot sat;
  LnbHeader header;
};
const char* ApplyLnbPlan(const SourceGrid& grid, SourceGrid& summary, bool average, int32_t currentMa, LnbPlan& plan);

// The terrestrial slot's tables as Apply leaves them. A count the table cannot hold (average
// mode) stores nothing; a summary outside the antenna's band stores what table mode took, with
// the header unchanged, and reports it.
struct TerrPlan {
  TerrTable table;
  TerrHeader header;
};
struct TerrApply {
  const char* message = nullptr;
  bool store = true;
};
TerrApply ApplyTerrPlan(const SourceGrid& grid, SourceGrid& summary, int kind, bool average, TerrPlan& plan);

}  // namespace kavrix::source_plan

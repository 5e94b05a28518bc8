#include "editor/source_plans.hpp"

#include <algorithm>
#include <string>

#include "model/number_text.hpp"
#include "model/project_file.hpp"

namespace kavrix::source_plan {

namespace {

constexpr int kTerrMaxChannels = 100;

// A cell as an integer; text that is no number, or none a project file holds, counts as 0.
int CellInt(const SourceGrid& g, int col, int row) {
  int32_t v = 0;
  return ParseInt(g.cell(col, row), v) == 0 && IsStorableValue(v) ? v : 0;
}
void SetCellInt(SourceGrid& g, int col, int row, int64_t v) { g.setCell(col, row, std::to_string(v)); }

// Band b of an average-mode plan: count carriers from lowest to highest at the average level.
// Counts were checked to lie in 0..31 before anything was stored.
void RegenerateBand(SatSlot& sat, const std::array<int32_t, 5>& band, int b) {
  auto& freq = sat[static_cast<std::size_t>(SatFreqColumn(b))];
  auto& level = sat[static_cast<std::size_t>(SatLevelColumn(b))];
  freq.fill(0);
  level.fill(0);
  const int count = band[kLnbCarriers];
  if (count < 1) return;
  const int64_t lowest = band[kLnbLowest];
  const int64_t highest = band[kLnbHighest];
  const int64_t step = count >= 2 ? (highest - lowest) / (count - 1) : 0;
  for (int i = 0; i < count - 1; ++i) {
    freq[static_cast<std::size_t>(i)] = static_cast<int32_t>(lowest + i * step);
    level[static_cast<std::size_t>(i)] = band[kLnbLevel];
  }
  freq[static_cast<std::size_t>(count - 1)] = static_cast<int32_t>(highest);
  level[static_cast<std::size_t>(count - 1)] = band[kLnbLevel];
}

// Column c of the carrier grid into the table: rows whose cell and the cell of the band's other
// column both hold a number of at least 1 close up in grid order; the rest of the column is
// cleared. The summary cells of the column are written from what was taken.
void TakeLnbColumn(const SourceGrid& grid, SourceGrid& summary, SatSlot& sat, int c) {
  const int other = c % 2 == 0 ? c + 1 : c - 1;
  auto& column = sat[static_cast<std::size_t>(c)];
  int count = 0;
  int64_t sum = 0;
  int64_t lowest = 2400;
  int64_t highest = 950;
  for (int r = 1; r <= kSatRows; ++r) {
    const int v = CellInt(grid, c, r);
    if (v < 1 || CellInt(grid, other, r) < 1) continue;
    column[static_cast<std::size_t>(count++)] = v;
    sum += v;
    lowest = std::min<int64_t>(lowest, v);
    highest = std::max<int64_t>(highest, v);
  }
  for (int i = count; i < kSatRows; ++i) column[static_cast<std::size_t>(i)] = 0;
  const int band = c / 2 + 1;
  if (c % 2 == 0) {
    SetCellInt(summary, band, kLnbCarriers, count);
    SetCellInt(summary, band, kLnbLowest, lowest);
    SetCellInt(summary, band, kLnbHighest, highest);
  } else if (count >= 1) {
    SetCellInt(summary, band, kLnbLevel, RoundHalfEven(static_cast<double>(sum) / count));
  }
}

struct TerrBand {
  int lowest;
  int highest;
  bool checked;
};

TerrBand TerrBandOf(int kind) {
  switch (kind) {
    case 93: return {470, 790, true};
    case 94: return {174, 260, true};
    case 95: return {88, 108, true};
    default: return {5, 862, false};
  }
}

// Rows 1..rows of the grid into a table sorted by frequency; rows with equal frequencies keep
// their grid order. Writes the summary cells; the rest of the table is cleared.
void TakeTerrTable(const SourceGrid& grid, SourceGrid& summary, TerrTable& t, int kind) {
  const int rows = TerrGridRows(kind);
  auto& freq = t[kTerrFreqs];
  auto& level = t[kTerrLevels];
  freq.fill(0);
  level.fill(0);
  const TerrBand band = TerrBandOf(kind);
  int count = 0;
  int64_t sum = 0;
  int lowest = band.lowest;
  int highest = band.highest;
  for (int r = 1; r <= rows; ++r) {
    const int f = CellInt(grid, 0, r);
    const int l = CellInt(grid, 1, r);
    if (f < 1 || l < 1) continue;
    int p = count;
    for (; p > 0 && freq[static_cast<std::size_t>(p - 1)] > f; --p) {
      freq[static_cast<std::size_t>(p)] = freq[static_cast<std::size_t>(p - 1)];
      level[static_cast<std::size_t>(p)] = level[static_cast<std::size_t>(p - 1)];
    }
    freq[static_cast<std::size_t>(p)] = f;
    level[static_cast<std::size_t>(p)] = l;
    ++count;
    sum += l;
    lowest = std::min(lowest, f);
    highest = std::max(highest, f);
  }
  SetCellInt(summary, 1, kTerrCarriers, count);
  SetCellInt(summary, 1, kTerrFirst, lowest);
  SetCellInt(summary, 1, kTerrLast, highest);
  if (count > 0) SetCellInt(summary, 1, kTerrLevel, RoundHalfEven(static_cast<double>(sum) / count));
}

// count + 1 entries from first to last at one level (the last one at exactly `last`).
void RegenerateTerr(TerrTable& t, const TerrHeader& h) {
  t[kTerrFreqs].fill(0);
  t[kTerrLevels].fill(0);
  const int count = h[kTerrCarriers];
  if (count < 1) return;
  const int64_t first = h[kTerrFirst];
  const int64_t step = (static_cast<int64_t>(h[kTerrLast]) - first) / count;
  for (int k = 0; k < count; ++k) {
    t[kTerrFreqs][static_cast<std::size_t>(k)] = static_cast<int32_t>(first + k * step);
    t[kTerrLevels][static_cast<std::size_t>(k)] = h[kTerrLevel];
  }
  t[kTerrFreqs][static_cast<std::size_t>(count)] = h[kTerrLast];
  t[kTerrLevels][static_cast<std::size_t>(count)] = h[kTerrLevel];
}

}  // namespace

int TerrGridRows(int kind) { return kind == 92 ? 100 : 31; }

std::string ChannelsNotTakenMessage(const SourceGrid& grid, int kind) {
  if (kind < 92 || kind > 95) return {};
  const int taken = TerrGridRows(kind);
  int left = 0;
  for (int r = taken + 1; r <= kTerrFileRows; ++r)
    if (CellInt(grid, 0, r) >= 1 && CellInt(grid, 1, r) >= 1) ++left;
  if (left == 0) return {};
  return "This source takes " + std::to_string(taken) + " channels: " + std::to_string(left) +
         (left == 1 ? " channel" : " channels") + " of the file after row " + std::to_string(taken) +
         (left == 1 ? " was" : " were") + " not taken.";
}

void ClearPlanCells(SourceGrid& grid) {
  for (int r = 1; r < SourceGrid::kMaxRows; ++r)
    for (int c = 0; c < SourceGrid::kMaxCols; ++c) grid.setCell(c, r, "");
}

void ShowLnbTable(SourceGrid& grid, const SatSlot& sat) {
  ClearPlanCells(grid);
  for (int c = 0; c < kSatColumns; ++c)
    for (int i = 0; i < kSatRows; ++i)
      SetCellInt(grid, c, i + 1, sat[static_cast<std::size_t>(c)][static_cast<std::size_t>(i)]);
}

void ShowTerrTable(SourceGrid& grid, const TerrTable& table, int rows) {
  ClearPlanCells(grid);
  for (int i = 0; i < rows; ++i) {
    SetCellInt(grid, 0, i + 1, table[kTerrFreqs][static_cast<std::size_t>(i)]);
    SetCellInt(grid, 1, i + 1, table[kTerrLevels][static_cast<std::size_t>(i)]);
  }
}

void FillLnbTableGrid(SourceGrid& grid, const SatSlot& sat, const LnbHeader& header) {
  int64_t sum = 0;
  for (const auto& column : sat)
    for (int32_t v : column) sum += v;
  if (sum > 0) {
    ShowLnbTable(grid, sat);
    return;
  }
  ClearPlanCells(grid);
  static constexpr int kFirst[4] = {970, 1100, 990, 1120};
  constexpr int kSpacing = 40;
  for (int b = 0; b < 4; ++b) {
    const auto& band = header[static_cast<std::size_t>(b)];
    // Every band shows where its plan starts, also a band without carriers (its row has no
    // level, so Apply takes nothing from it).
    SetCellInt(grid, SatFreqColumn(b), 1, kFirst[b]);
    const int n = std::min(band[kLnbCarriers], kSatRows);
    for (int r = 2; r <= n; ++r) SetCellInt(grid, SatFreqColumn(b), r, kFirst[b] + kSpacing * (r - 1));
    for (int r = 1; r <= n; ++r) SetCellInt(grid, SatLevelColumn(b), r, band[kLnbLevel]);
  }
}

void FillTerrTableGrid(SourceGrid& grid, const TerrTable& table, const TerrHeader& header, int rows) {
  int64_t sum = 0;
  for (int i = 0; i < rows; ++i) sum += table[kTerrFreqs][static_cast<std::size_t>(i)];
  if (sum > 0) {
    ShowTerrTable(grid, table, rows);
    return;
  }
  ClearPlanCells(grid);
  constexpr int kLastRow = 61;
  SetCellInt(grid, 0, 1, header[kTerrFirst]);
  SetCellInt(grid, 0, 2, 170);
  for (int r = 3; r < kLastRow; ++r) SetCellInt(grid, 0, r, 170 + 8 * (r - 2));
  for (int r = 1; r <= kLastRow; ++r) SetCellInt(grid, 1, r, header[kTerrLevel]);
  SetCellInt(grid, 0, kLastRow, header[kTerrLast]);
}

const char* ApplyLnbPlan(const SourceGrid& grid, SourceGrid& summary, bool average, int32_t currentMa, LnbPlan& plan) {
  if (average) {
    for (int b = 0; b < 4; ++b) {
      const int count = CellInt(summary, b + 1, kLnbCarriers);
      if (count < 0 || count > kSatRows) return kLnbCountMessage;
    }
  }
  if (!average)
    for (int c = 0; c < kSatColumns; ++c) TakeLnbColumn(grid, summary, plan.sat, c);
  for (int b = 0; b < 4; ++b) {
    auto& band = plan.header[static_cast<std::size_t>(b)];
    for (int k = kLnbCarriers; k <= kLnbHighest; ++k) band[static_cast<std::size_t>(k)] = CellInt(summary, b + 1, k);
    if (average) RegenerateBand(plan.sat, band, b);
  }
  plan.header[0][kLnbExtra] = average ? 1 : 0;  // LnbUseAverage
  plan.header[1][kLnbExtra] = currentMa;        // LnbCurrentMa
  return nullptr;
}

TerrApply ApplyTerrPlan(const SourceGrid& grid, SourceGrid& summary, int kind, bool average, TerrPlan& plan) {
  if (average) {
    const int count = CellInt(summary, 1, kTerrCarriers);
    if (count < 0 || count > kTerrMaxChannels) return {kTerrCountMessage, false};
  }
  if (!average) TakeTerrTable(grid, summary, plan.table, kind);
  const TerrBand band = TerrBandOf(kind);
  if (band.checked &&
      (CellInt(summary, 1, kTerrFirst) < band.lowest || CellInt(summary, 1, kTerrLast) > band.highest)) {
    // What table mode took stays stored; the summary is not taken.
    return {kFrequencyMessage, true};
  }
  for (int k = kTerrCarriers; k <= kTerrLast; ++k) plan.header[static_cast<std::size_t>(k)] = CellInt(summary, 1, k);
  if (average) RegenerateTerr(plan.table, plan.header);
  plan.header[kTerrRegenerate] = average ? 1 : 0;
  return {};
}

}  // namespace kavrix::source_plan

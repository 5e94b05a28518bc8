#include "project_fixtures.hpp"

#include "catalogue/placement_defaults.hpp"
#include "catalogue/type_catalogue.hpp"
#include "model/network_model.hpp"
#include "model/price_rows.hpp"
#include "model/project_options.hpp"
#include "model/source_tables.hpp"
#include "support/model_guard.hpp"

namespace kavrix::test {
namespace {

// Every existing kind whose family class satisfies the test, each with as many settings rows as
// its placement writes, and one at least.
void PlaceFamily(const std::function<bool(int kind, int cls)>& member) {
  int n = 0;
  for (int kind = 1; kind < 200; ++kind) {
    if (!KindExists(kind) || !member(kind, TypeOf(kind)[kClass])) continue;
    const int x = 100 + 150 * (n % 8);
    const int y = 120 + 160 * (n / 8);
    AddObject(kind, x, y, n % 5, 1 + n % 4, n % 3);
    AddContinuation(-(n % 7), -12 - n % 9, n % 4, 862 - n, n % 2);
    for (int k = 2; k <= DefaultContinuationRows(kind); ++k) AddContinuation(-(k % 5), -3 - n % 4, k % 3, 474 + 8 * k, 0);
    ++n;
  }
}

void FillSatSlot(int slot, int firstFreq) {
  SatUsed[slot] = true;
  for (int j = 1; j <= kSatRows; ++j)
    for (int band = 0; band < 4; ++band) {
      SatCell(slot, 2 * band, j) = firstFreq + 20 * j + band;
      SatCell(slot, 2 * band + 1, j) = 70 + (j + band) % 9;
    }
  for (int band = 0; band < 4; ++band) LnbParams[slot][band] = {31, 74 + band, firstFreq, firstFreq + 620, band == 1 ? 180 : 0};
}

void FillTerrSlot(int slot, int firstFreq) {
  TerrUsed[slot] = true;
  for (int e = 0; e < kTerrEntries; ++e) {
    TerrTables[slot][0][e] = e < 60 ? firstFreq + 8 * e : 0;
    TerrTables[slot][1][e] = e < 60 ? 60 + e % 15 : 0;
  }
  TerrParams[slot] = {60, 75, firstFreq, firstFreq + 472, slot % 2};
}

void Sources() {
  const int kinds[] = {91, 92, 93, 94, 95, 96, 97};
  int n = 0;
  for (int kind : kinds) {
    const int slot = kind == 91 ? 0 : (kind >= 92 && kind <= 95 ? kind - 92 : 0);
    AddObject(kind, 120 + 160 * n, 100, slot, 1, kind == 91 ? 2 : 0);
    AddContinuation(kind == 97 ? 0 : -1, kind == 97 ? 2 : -2, 9750, 10600, 0);
    ++n;
  }
  AddObject(91, 120, 400, 2, 3, 1);
  FillSatSlot(0, 10700);
  FillSatSlot(2, 10950);
  for (int slot = 0; slot < 4; ++slot) FillTerrSlot(slot, 47 + 100 * slot);
  AddObject(210, 600, 500, 15, 2, 3);
}

void LinesAndSockets() {
  AddObject(91, 100, 100, 0, 1, 1);
  FillSatSlot(0, 10714);
  const int lines[] = {201, 202, 203, 205};
  int n = 0;
  for (int kind : lines) {
    AddObject(kind, 200 + 40 * n, 160, 25 + n, 1 + n % 4, kind == 205 ? 2 : 1 + n);
    AddContinuation(40, -60, 20, 35, 11 + 10 * (n % 2) + n % 2);
    ++n;
  }
  for (int s = 0; s < 6; ++s) AddObject(210, 300 + 60 * s, 480, 5 + s, 1 + s % 4, 1 + s % 5);
  EstimateGrid.SetRowCount(4);
  EstimateGrid.Rows[1] = {"Cable RG-6", "118m", "0.45", "53.1", "riser, line 1"};
  EstimateGrid.Rows[2] = {"TV socket", "6", "2.5", "15", ""};
  EstimateGrid.Rows[3] = {"Total:", "", "", "68.1", ""};
}

void CommentsAndOptions() {
  ItemTexts[2] = "Floor 2 \xC3\xA9tage \xE2\x82\xAC";  // survives the 1252 round trip
  ItemTexts[7] = "after an empty slot";
  AddObject(100, 300, 300, 2, 1, 0);
  AddObject(100, 300, 400, 7, 1, 0);
  AddObject(98, 500, 300, 0, 1, 0);
  OptionControls.RfGrid[3] = {"Triset:113", "0.19", "1.5"};
  OptionControls.FiberGrid[5] = {"Spare", "0.25", "0.4"};
  OptionControls.Edit3 = "7.5";
  OptionControls.Edit6 = "52";
  OptionControls.Edit1 = "79";
  OptionControls.Edit11 = "48";
  OptionControls.Edit2 = "86";
  ApplyLimitsAndLosses(OptionControls);  // as the window applies what is typed
  ApplyPrintScaleText(OptionControls.Edit3);
  CanvasColor = 0x00FFFFFF;
  SatSocketLoss = 2.01;
  TerrSocketLoss = 1.5;
}

}  // namespace

const std::vector<FixtureProject>& FixtureProjects() {
  static const std::vector<FixtureProject> list = {
      {"sources.stn", Sources},
      {"lines_sockets.stn", LinesAndSockets},
      {"comments_options.stn", CommentsAndOptions},
      {"multiswitches.stn", [] { PlaceFamily([](int, int c) { return c >= 1 && c <= 3; }); }},
      {"amplifiers.stn", [] { PlaceFamily([](int, int c) { return c == 4 || (c >= 61 && c <= 64); }); }},
      {"splitters_taps.stn", [] { PlaceFamily([](int, int c) { return c >= 11 && c <= 22; }); }},
      {"single_cable_links.stn", [] { PlaceFamily([](int, int c) { return c == 81 || c == 42 || c == 37; }); }},
      {"optical.stn", [] { PlaceFamily([](int, int c) { return c >= 91 && c <= 93; }); }},
      {"obsolete.stn", [] { PlaceFamily([](int, int c) { return c < 0; }); }},
  };
  return list;
}

}  // namespace kavrix::test

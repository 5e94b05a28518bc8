#include "support/project_guard.hpp"

#include "model/price_rows.hpp"
#include "model/project_file.hpp"
#include "model/project_options.hpp"
#include "model/source_tables.hpp"

namespace kavrix::test {

void ResetProjectState() {
  NewNetworkModel();
  OptionControls = DefaultProjectOptions();
  ApplyRfGrid(OptionControls);
  ApplyFiberGrid(OptionControls);
  PrintScale = 5.0;
  PageWidthPx = 0;
  PageHeightPx = 0;
  CanvasColor = kDefaultCanvasColor;
  IncludeObsolete = false;
  EstimateGrid = PriceEstimateGrid{};
  for (auto& t : ItemTexts) t.clear();
  ItemTexts[0] = "abcd";
  ItemTexts[1] = "efgh";
  ItemTextCount = 0;
  SatMinLevel = 50.0;
  SatMaxLevel = 80.0;
  TerrMinLevel = 45.0;
  TerrMaxLevel = 90.0;
  SatSocketLoss = 2.0;
  TerrSocketLoss = 3.0;
  for (auto& slot : TerrTables)
    for (auto& side : slot) side.fill(0);
  for (auto& p : TerrParams) p.fill(0);
  ProjectFileName = kUnsavedProjectName;
  OptimizeMode = true;
  ProjectModified = false;
}

}  // namespace kavrix::test

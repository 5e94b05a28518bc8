#include "model/price_rows.hpp"

#include <cmath>
#include <cstdint>
#include <filesystem>
#include <map>

#include "catalogue/model_names.hpp"
#include "model/network_model.hpp"
#include "model/number_text.hpp"
#include "model/source_tables.hpp"
#include "model/text_file.hpp"

namespace kavrix {

PriceEstimateGrid EstimateGrid;
PriceListGrid PriceListRows;
int CablePriceRow = 0;

namespace {

std::string_view TrimBlanks(std::string_view t) {
  while (!t.empty() && (t.front() == ' ' || t.front() == '\t')) t.remove_prefix(1);
  while (!t.empty() && (t.back() == ' ' || t.back() == '\t')) t.remove_suffix(1);
  return t;
}

// "." alone, after blanks and an optional sign, passes the typing check as 0.
bool IsLoneDot(std::string_view t) {
  t = TrimBlanks(t);
  if (!t.empty() && (t.front() == '+' || t.front() == '-')) t.remove_prefix(1);
  return t == ".";
}

// An amount from a cell: prices typed unchecked into the price file or a lone "." count as 0,
// so a bad text never turns the total into "NAN" or "INF".
double Amount(std::string_view text) {
  double v = 0;
  if (ParseReal(TrimBlanks(text), v) != 0 || !std::isfinite(v)) return 0;
  return v;
}

// A quantity as typed; "2.5" stays 2.5. A text that is no number at all counts as one piece.
double Quantity(std::string_view text) {
  if (IsLoneDot(text)) return 0;
  double v = 0;
  if (ParseReal(TrimBlanks(text), v) != 0 || !std::isfinite(v)) return 1;
  return v;
}

std::string FiniteText(double v) { return FormatGeneral(std::isfinite(v) ? v : 0.0); }

// The four fields of a price file line, split from the left at the first three ";". Where a
// ";" is missing, that field is empty and the rest stays for the following fields.
PriceListRow SplitPriceLine(std::string_view line) {
  PriceListRow f;
  for (int i = 0; i < 3; ++i) {
    const std::size_t pos = line.find(';');
    if (pos == std::string_view::npos) continue;
    f[i] = std::string(line.substr(0, pos));
    line.remove_prefix(pos + 1);
  }
  f[3] = std::string(line);
  return f;
}

// Price cell `column` of the last row in [first, last] named `name`; nullptr when none is.
const std::string* LookUpPrice(const PriceListGrid& list, const std::string& name, int column, int first,
                               int last) {
  if (name.empty() || column < 1 || column >= kPriceListColumns) return nullptr;
  const std::string* found = nullptr;
  for (int r = std::max(first, 1); r <= last && r < list.RowCount(); ++r)
    if (list.Rows[r][0] == name) found = &list.Rows[r][column];
  return found;
}

}  // namespace

void BuildPriceList(PriceListGrid& list, const std::vector<std::string>& names, const CableNames& rf,
                    const CableNames& fiber) {
  list.Rows.assign(1, PriceListRow{"      Component", "       Main price", "     Special 1 price",
                                   "     Special 2 price"});
  for (const auto& n : names) list.Rows.push_back({n, "", "", ""});
  CablePriceRow = list.RowCount();
  list.Rows.push_back({std::string(kRfCableHeading), "", "", ""});
  for (const auto& n : rf) list.Rows.push_back({n, "", "", ""});
  list.Rows.push_back({std::string(kFiberCableHeading), "", "", ""});
  for (const auto& n : fiber) list.Rows.push_back({n, "", "", ""});
}

PriceFileRead ReadPriceFile(const std::string& path, PriceListGrid& list) {
  std::error_code ec;
  if (!std::filesystem::is_regular_file(path, ec)) return PriceFileRead::Missing;
  std::vector<std::string> lines;
  if (!ReadTextLines(path, lines)) return PriceFileRead::Missing;
  int32_t version = 0;
  if (lines.empty() || lines[0].find(';') != std::string::npos || ParseInt(lines[0], version) != 0 ||
      version < 2500)
    return PriceFileRead::Rejected;
  for (std::size_t i = 1; i < lines.size(); ++i) {
    if (lines[i].empty()) continue;
    const PriceListRow f = SplitPriceLine(lines[i]);
    if (f[0] == "curr") list.Currency = f[1];
    if (f[0].empty()) continue;  // a line of separators only names no row
    for (int r = 1; r < list.RowCount(); ++r) {
      if (list.Rows[r][0] != f[0]) continue;
      for (int c = 1; c < kPriceListColumns; ++c) list.Rows[r][c] = f[c];
      break;
    }
  }
  return PriceFileRead::Loaded;
}

std::vector<std::string> PriceFileLines(const PriceListGrid& list) {
  std::vector<std::string> out{std::to_string(FileVersion)};
  for (int r = 1; r < list.RowCount(); ++r) {
    const PriceListRow& row = list.Rows[r];
    if (r == CablePriceRow) out.push_back("curr;" + list.Currency + ";;");
    else out.push_back(row[0] + ";" + row[1] + ";" + row[2] + ";" + row[3]);
  }
  return out;
}

bool WritePriceFile(const std::string& path, const PriceListGrid& list, std::string* error) {
  TextWriter w;
  for (const auto& l : PriceFileLines(list)) w.line(l);
  return w.save(path, error);
}

std::string PriceFilePath(const std::string& dir) {
  return (std::filesystem::path(dir) / std::string(kPriceFileName)).string();
}

bool IsPriceCellText(std::string_view text) {
  if (text.empty() || IsLoneDot(text)) return true;
  double v = 0;
  return ParseReal(text, v) == 0;
}

void RebuildEstimate(PriceEstimateGrid& grid, const EstimateSources& src) {
  static const PriceRow kHeader{"     Item", " Quantity", "Unit Price", "Whole Price", "     Comment"};
  if (grid.RowCount() < 2) grid.SetRowCount(2);
  grid.Rows[0] = kHeader;
  const int oldLast = grid.RowCount() - 1;

  // 0 = not found: the grid starts over with the fixed rows.
  int install = 0;
  for (int r = 1; r <= oldLast; ++r) {
    if (grid.Rows[r][0] != kInstallationCosts) continue;
    install = r;
    grid.Rows[r][1].clear();
    grid.Rows[r][2].clear();
  }

  // Unit prices and comments typed on item and cable rows follow their item name.
  std::map<std::string, std::pair<std::string, std::string>> typed;
  for (int r = 1; r <= (install ? install - 1 : oldLast); ++r)
    typed.try_emplace(grid.Rows[r][0], grid.Rows[r][2], grid.Rows[r][4]);

  std::vector<int> kinds;
  std::map<int, int64_t> count;
  std::array<int64_t, kCableTypes + 1> rfLen{}, fiberLen{};
  for (std::size_t r = 0; r < NetObjects.size() && NetObjects[r][kKind] != 0; ++r) {
    const ObjRow& o = NetObjects[r];
    const int kind = o[kKind];
    if ((kind >= 1 && kind < 200 && kind != 100) || kind == 210) {
      if (count[kind]++ == 0) kinds.push_back(kind);
    }
    const int64_t len = o[kInst];
    const int style = o[kStyle];
    const int unit = kind == 210 ? ((style % 10) + 10) % 10 : style;
    if (unit >= 1 && unit <= kCableTypes) {
      if (kind == 201) rfLen[unit] += 5 * len;
      else if (kind == 202) rfLen[unit] += 4 * len;
      else if (kind == 203 || kind == 210) rfLen[unit] += len;
      else if (kind == 205) fiberLen[unit] += len;
    }
  }

  struct NewRow {
    std::string item;
    std::string quantity;
    std::string lookupName;
    int first, last;  // price list rows searched
  };
  std::vector<NewRow> rows;
  const int listLast = src.prices ? src.prices->RowCount() - 1 : 0;
  for (int kind : kinds) {
    const std::string name(ModelName(kind));
    const bool antenna = kind == 93 || kind == 94 || kind == 95;
    rows.push_back({antenna ? name + " antenna" : name, std::to_string(count[kind]), name, 1, listLast});
  }
  for (int k = 1; k <= kCableTypes; ++k)
    if (rfLen[k] > 0)
      rows.push_back({"Cable " + src.rf[k - 1], std::to_string(rfLen[k]) + "m", src.rf[k - 1], CablePriceRow + 1,
                      CablePriceRow + 5});
  for (int k = 1; k <= kCableTypes; ++k)
    if (fiberLen[k] > 0)
      rows.push_back({"Fiber " + src.fiber[k - 1], std::to_string(fiberLen[k]) + "m", src.fiber[k - 1],
                      CablePriceRow + 7, CablePriceRow + 11});

  const int target = static_cast<int>(rows.size()) + 1;  // row of "Installation costs"
  if (install) {
    grid.Tag = std::max(0, oldLast - install - 1);
    std::vector<PriceRow> block(grid.Rows.begin() + install, grid.Rows.end());
    grid.Rows.resize(static_cast<std::size_t>(target));
    grid.Rows.insert(grid.Rows.end(), block.begin(), block.end());
  } else {
    // No user rows survive a fresh start, so none may be counted (Delete Row would eat the
    // fixed rows otherwise).
    grid.Tag = 0;
    grid.Rows.resize(static_cast<std::size_t>(target));
    grid.Rows.push_back({std::string(kInstallationCosts), "", "", "", ""});
    grid.Rows.push_back({std::string(kTotalItem), "", "", "", ""});
  }

  for (std::size_t i = 0; i < rows.size(); ++i) {
    const NewRow& n = rows[i];
    PriceRow& row = grid.Rows[i + 1];
    const auto old = typed.find(n.item);
    row = {n.item, n.quantity, "", "", ""};
    if (old != typed.end()) {
      row[2] = old->second.first;
      row[4] = old->second.second;
    }
    if (src.prices)
      if (const std::string* p = LookUpPrice(*src.prices, n.lookupName, src.priceColumn, n.first, n.last)) row[2] = *p;
  }
  RecalcWholePrices(grid);
  grid.Rows.back()[0] = std::string(kTotalItem);
}

void RecalcWholePrices(PriceEstimateGrid& grid) {
  const int last = grid.RowCount() - 1;
  if (last < 1) return;
  double total = 0;
  for (int r = 1; r < last; ++r) {
    PriceRow& row = grid.Rows[r];
    if (!row[1].empty()) {
      if (row[2].empty()) row[2].assign(1, '0');
      std::string_view q = row[1];
      if (q.back() == 'm') q.remove_suffix(1);
      row[3] = FiniteText(Quantity(q) * Amount(row[2]));
    }
    if (row[3].empty()) row[3].assign(1, '0');
    total += Amount(row[3]);
  }
  grid.Rows[last][3] = FiniteText(total);
}

void AddUserRow(PriceEstimateGrid& grid) {
  if (grid.RowCount() < 2) return;
  PriceRow& oldTotal = grid.Rows.back();
  const std::string total = oldTotal[3];
  for (int c = 0; c < 4; ++c) oldTotal[c].clear();
  grid.Rows.push_back({std::string(kTotalItem), "", "", total, ""});
  ++grid.Tag;
}

bool DeleteUserRow(PriceEstimateGrid& grid) {
  if (grid.Tag < 1 || grid.RowCount() < 3) return false;
  --grid.Tag;
  grid.Rows.pop_back();
  PriceRow& last = grid.Rows.back();
  last[0] = std::string(kTotalItem);
  last[1].clear();
  last[2].clear();
  return true;
}

}  // namespace kavrix

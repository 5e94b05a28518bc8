#include "model/price_rows.hpp"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <filesystem>
#include <map>
#include <utility>

#include "model/committed_drawing.hpp"
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
// ";" is missing, that field is empty and the rest stays for the following fields; the last
// field keeps any further ";".
PriceListRow SplitPriceLine(std::string_view line) {
  PriceListRow f;
  for (int i = kPriceListName; i < kPriceListSpecial2; ++i) {
    const std::size_t pos = line.find(';');
    if (pos == std::string_view::npos) continue;
    f[i] = std::string(line.substr(0, pos));
    line.remove_prefix(pos + 1);
  }
  f[kPriceListSpecial2] = std::string(line);
  return f;
}

PriceListRow NamedListRow(std::string name) {
  PriceListRow row;
  row[kPriceListName] = std::move(name);
  return row;
}

PriceRow ItemRow(std::string_view item) {
  PriceRow row;
  row[kPriceItem] = std::string(item);
  return row;
}

// The first row named `name`; 0 when none is.
int RowNamed(const PriceListGrid& list, const std::string& name) {
  for (int r = 1; r < list.RowCount(); ++r)
    if (list.Rows[r][kPriceListName] == name) return r;
  return 0;
}

template <class List>
auto KeptNamed(List& list, const std::string& name) {
  return std::find_if(list.Kept.begin(), list.Kept.end(),
                      [&name](const PriceListRow& k) { return k[kPriceListName] == name; });
}

bool HasPrices(const PriceListRow& row) {
  return !row[kPriceListMain].empty() || !row[kPriceListSpecial1].empty() || !row[kPriceListSpecial2].empty();
}

// Keeps a name's prices for the file; a name without prices needs no line.
void KeepPrices(PriceListGrid& list, const PriceListRow& prices) {
  const auto kept = KeptNamed(list, prices[kPriceListName]);
  if (kept == list.Kept.end()) {
    if (HasPrices(prices)) list.Kept.push_back(prices);
  } else if (!HasPrices(prices)) {
    list.Kept.erase(kept);
  } else {
    *kept = prices;
  }
}

bool IsCarried(const PriceListGrid& list, int row) {
  return row >= 0 && row < static_cast<int>(list.Carried.size()) && list.Carried[static_cast<std::size_t>(row)];
}

void SetCarried(PriceListGrid& list, int row, bool carried) {
  if (row < 0) return;
  const auto i = static_cast<std::size_t>(row);
  if (i >= list.Carried.size()) {
    if (!carried) return;
    list.Carried.resize(i + 1);
  }
  list.Carried[i] = carried;
}

// The prices a name has before a rename: those of a row holding it as its own (rows come
// first, they are the ones shown and typed into), else a kept entry's, else those a row named so
// only carried, which stay carried; none when nobody knows the name.
struct NamePrices {
  const PriceListRow* prices = nullptr;
  bool carried = false;
};
NamePrices PricesOfName(const PriceListGrid& list, const std::string& name) {
  if (name.empty()) return {};
  const PriceListRow* carried = nullptr;
  for (int r = 1; r < list.RowCount(); ++r) {
    if (list.Rows[r][kPriceListName] != name) continue;
    if (!IsCarried(list, r)) return {&list.Rows[r], false};
    if (!carried) carried = &list.Rows[r];
  }
  if (const auto kept = KeptNamed(list, name); kept != list.Kept.end()) return {&*kept, false};
  return {carried, carried != nullptr};
}

std::string PriceLine(const PriceListRow& row) {
  return row[kPriceListName] + ";" + row[kPriceListMain] + ";" + row[kPriceListSpecial1] + ";" +
         row[kPriceListSpecial2];
}

// Price cell `column` of the last row in [first, last] named `name`; nullptr when none is.
const std::string* LookUpPrice(const PriceListGrid& list, const std::string& name, int column, int first,
                               int last) {
  if (name.empty() || column < kPriceListMain || column >= kPriceListColumns) return nullptr;
  const std::string* found = nullptr;
  for (int r = std::max(first, 1); r <= last && r < list.RowCount(); ++r)
    if (list.Rows[r][kPriceListName] == name) found = &list.Rows[r][column];
  return found;
}

}  // namespace

void BuildPriceList(PriceListGrid& list, const std::vector<std::string>& names, const CableNames& rf,
                    const CableNames& fiber) {
  list.Rows.assign(1, PriceListRow{"      Component", "       Main price", "     Special 1 price",
                                   "     Special 2 price"});
  list.Kept.clear();
  list.Carried.clear();
  for (const auto& n : names) list.Rows.push_back(NamedListRow(n));
  CablePriceRow = list.RowCount();
  list.Rows.push_back(NamedListRow(std::string(kRfCableHeading)));
  for (const auto& n : rf) list.Rows.push_back(NamedListRow(n));
  list.Rows.push_back(NamedListRow(std::string(kFiberCableHeading)));
  for (const auto& n : fiber) list.Rows.push_back(NamedListRow(n));
}

void RenamePriceListRows(PriceListGrid& list, int first, const std::vector<std::string>& names) {
  std::vector<int> renamed;
  for (std::size_t i = 0; i < names.size(); ++i) {
    const int row = first + static_cast<int>(i);
    if (row >= 1 && row < list.RowCount() && list.Rows[row][kPriceListName] != names[i]) renamed.push_back(row);
  }
  if (renamed.empty()) return;
  const PriceListGrid before = list;
  for (const int row : renamed) {
    PriceListRow& r = list.Rows[row];
    r[kPriceListName] = names[static_cast<std::size_t>(row - first)];
    const NamePrices known = PricesOfName(before, r[kPriceListName]);
    if (known.prices) std::copy(known.prices->begin() + kPriceListMain, known.prices->end(), r.begin() + kPriceListMain);
    SetCarried(list, row, !known.prices || known.carried);
  }
  for (const int row : renamed) {
    const PriceListRow& old = before.Rows[row];
    // Prices only carried to the old name were never its own: a name passed through gets no line.
    if (!old[kPriceListName].empty() && !IsCarried(before, row) && RowNamed(list, old[kPriceListName]) == 0)
      KeepPrices(list, old);
  }
  // A kept entry a row has taken is shown, typed into and saved by that row from now on.
  std::erase_if(list.Kept, [&list](const PriceListRow& k) {
    const int r = RowNamed(list, k[kPriceListName]);
    return r != 0 && !IsCarried(list, r);
  });
}

void TypeListPrice(PriceListGrid& list, int row, int column, const std::string& text) {
  if (row < 1 || row >= list.RowCount() || column < kPriceListMain || column >= kPriceListColumns) return;
  list.Rows[row][column] = text;
  SetCarried(list, row, false);
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
    // The currency line: "curr", the currency, two empty fields.
    if (f[kPriceListName] == "curr") list.Currency = f[kPriceListMain];
    if (f[kPriceListName].empty()) continue;  // a line of separators only names no row
    if (const int r = RowNamed(list, f[kPriceListName])) {
      std::copy(f.begin() + kPriceListMain, f.end(), list.Rows[r].begin() + kPriceListMain);
      SetCarried(list, r, false);
    } else if (f[kPriceListName] != "curr")
      KeepPrices(list, f);
  }
  return PriceFileRead::Loaded;
}

std::vector<std::string> PriceFileLines(const PriceListGrid& list) {
  std::vector<std::string> out{std::to_string(FileVersion)};
  for (int r = 1; r < list.RowCount(); ++r)
    out.push_back(r == CablePriceRow ? "curr;" + list.Currency + ";;" : PriceLine(list.Rows[r]));
  for (const PriceListRow& kept : list.Kept)
    if (RowNamed(list, kept[kPriceListName]) == 0) out.push_back(PriceLine(kept));
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

std::string CharsFieldCannotHold(const std::string& utf8, bool lastField) {
  std::string refused;
  if (!lastField && utf8.find(';') != std::string::npos) refused += ';';
  return refused.append(CharsCp1252CannotHold(utf8));
}

KeptText KeepTypedText(const std::string& utf8, bool lastField, const std::string& file) {
  const std::string refused = CharsFieldCannotHold(utf8, lastField);
  if (refused.empty()) return {utf8, {}};
  return {WithoutChars(utf8, refused), CharsLeftOutMessage(file, refused)};
}

void RebuildEstimate(PriceEstimateGrid& grid, const EstimateSources& src) {
  static const PriceRow kHeader{"     Item", " Quantity", "Unit Price", "Whole Price", "     Comment"};
  if (grid.RowCount() < 2) grid.SetRowCount(2);
  grid.Rows[0] = kHeader;
  const int oldLast = grid.RowCount() - 1;

  // 0 = not found: the grid starts over with the fixed rows.
  const int install = InstallationCostsRow(grid);
  if (install) {
    grid.Rows[install][kPriceQuantity].clear();
    grid.Rows[install][kPriceUnit].clear();
  }

  // Unit prices and comments typed on item and cable rows follow their item name.
  std::map<std::string, std::pair<std::string, std::string>> typed;
  for (int r = 1; r <= (install ? install - 1 : oldLast); ++r)
    typed.try_emplace(grid.Rows[r][kPriceItem], grid.Rows[r][kPriceUnit], grid.Rows[r][kPriceComment]);

  std::vector<int> kinds;
  std::map<int, int64_t> count;
  std::array<int64_t, kCableTypes + 1> rfLen{}, fiberLen{};
  const CommittedDrawing committed;  // a component armed on the canvas is not priced
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
    grid.Rows.push_back(ItemRow(kInstallationCosts));
    grid.Rows.push_back(ItemRow(kTotalItem));
  }

  for (std::size_t i = 0; i < rows.size(); ++i) {
    const NewRow& n = rows[i];
    PriceRow& row = grid.Rows[i + 1];
    const auto old = typed.find(n.item);
    row = ItemRow(n.item);
    row[kPriceQuantity] = n.quantity;
    if (old != typed.end()) {
      row[kPriceUnit] = old->second.first;
      row[kPriceComment] = old->second.second;
    }
    if (src.prices)
      if (const std::string* p = LookUpPrice(*src.prices, n.lookupName, src.priceColumn, n.first, n.last))
        row[kPriceUnit] = *p;
  }
  RecalcWholePrices(grid);
  grid.Rows.back()[kPriceItem] = std::string(kTotalItem);
}

void RecalcWholePrices(PriceEstimateGrid& grid) {
  const int last = grid.RowCount() - 1;
  if (last < 1) return;
  double total = 0;
  for (int r = 1; r < last; ++r) {
    PriceRow& row = grid.Rows[r];
    if (!row[kPriceQuantity].empty()) {
      if (row[kPriceUnit].empty()) row[kPriceUnit].assign(1, '0');
      std::string_view q = row[kPriceQuantity];
      if (q.back() == 'm') q.remove_suffix(1);
      row[kPriceWhole] = FiniteText(Quantity(q) * Amount(row[kPriceUnit]));
    }
    if (row[kPriceWhole].empty()) row[kPriceWhole].assign(1, '0');
    total += Amount(row[kPriceWhole]);
  }
  grid.Rows[last][kPriceWhole] = FiniteText(total);
}

int InstallationCostsRow(const PriceEstimateGrid& grid) {
  for (int r = 1; r < grid.RowCount(); ++r)
    if (grid.Rows[r][kPriceItem] == kInstallationCosts) return r;
  return 0;
}

EstimateCellCommit CommitEstimateCell(PriceEstimateGrid& grid, int row, int column, std::string text) {
  if (row < 1 || column < kPriceItem || column >= kPriceColumns) return {EstimateCellEdit::Unchanged, {}};
  if (row >= grid.RowCount()) grid.SetRowCount(row + 1);
  KeptText kept{std::move(text), {}};
  if (column == kPriceItem || column == kPriceComment)
    kept = KeepTypedText(kept.text, column == kPriceComment, "project file");
  std::string& cell = grid.Rows[row][column];
  if (cell == kept.text) return {EstimateCellEdit::Unchanged, std::move(kept.note)};
  if (column == kPriceItem && kept.text == kInstallationCosts) return {EstimateCellEdit::ReservedName, kReservedItemName};
  cell = std::move(kept.text);
  RecalcWholePrices(grid);
  return {EstimateCellEdit::Changed, std::move(kept.note)};
}

bool MoveEstimateRow(PriceEstimateGrid& grid, int from, int to) {
  const int last = grid.RowCount() - 1;
  const int install = InstallationCostsRow(grid);
  if (from < 1 || from >= last || from == install) return false;
  const bool userRow = install > 0 && from > install;
  const int first = userRow ? install + 1 : 1;
  const int end = install > 0 && !userRow ? install - 1 : last - 1;
  to = std::clamp(to, first, end);
  if (to == from) return false;
  PriceRow moved = std::move(grid.Rows[from]);
  grid.Rows.erase(grid.Rows.begin() + from);
  grid.Rows.insert(grid.Rows.begin() + to, std::move(moved));
  return true;
}

void AddUserRow(PriceEstimateGrid& grid) {
  if (grid.RowCount() < 2) return;
  PriceRow& oldTotal = grid.Rows.back();
  const std::string total = oldTotal[kPriceWhole];
  // The old total row becomes the user row; a comment typed there stays with it.
  for (int c = kPriceItem; c <= kPriceWhole; ++c) oldTotal[c].clear();
  PriceRow totalRow = ItemRow(kTotalItem);
  totalRow[kPriceWhole] = total;
  grid.Rows.push_back(std::move(totalRow));
  ++grid.Tag;
}

bool DeleteUserRow(PriceEstimateGrid& grid) {
  if (grid.Tag < 1 || grid.RowCount() < 3) return false;
  --grid.Tag;
  grid.Rows.pop_back();
  PriceRow& last = grid.Rows.back();
  last[kPriceItem] = std::string(kTotalItem);
  last[kPriceQuantity].clear();
  last[kPriceUnit].clear();
  return true;
}

}  // namespace kavrix

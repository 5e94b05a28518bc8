#pragma once
// The price window's two grids as plain data, and what is computed on them.
// - EstimateGrid: the estimation rows as the project file stores them, five texts per row (item,
//   quantity, unit price, whole price, comment); row 0 is the grid's header.
// - PriceListRows: the price list, one name and three prices per row (row 0 the header), with
//   the currency; it is read from and written to the price list file.
// The rebuild of the estimate from the drawing, the whole-price recalculation and the user rows
// live here too, so the window only shows and edits the rows.
#include <array>
#include <string>
#include <string_view>
#include <vector>

namespace kavrix {

// Columns of an estimation row.
enum PriceColumn : int {
  kPriceItem = 0,
  kPriceQuantity = 1,  // a count, or a cable length ending in "m"
  kPriceUnit = 2,      // unit price
  kPriceWhole = 3,     // quantity x unit price; on the last row the total
  kPriceComment = 4,
};
constexpr int kPriceColumns = 5;
using PriceRow = std::array<std::string, kPriceColumns>;

inline constexpr std::string_view kInstallationCosts = "Installation costs";
inline constexpr std::string_view kTotalItem = "Total:";

struct PriceEstimateGrid {
  std::vector<PriceRow> Rows = std::vector<PriceRow>(2);  // RowCount rows, header included
  int Tag = 0;                                            // number of user rows

  int RowCount() const { return static_cast<int>(Rows.size()); }
  void SetRowCount(int n) { Rows.resize(n < 1 ? 1 : static_cast<std::size_t>(n)); }
  // New/Close: every data row emptied, two rows left, no user rows.
  void Clear() {
    for (std::size_t i = 1; i < Rows.size(); ++i) Rows[i] = PriceRow{};
    SetRowCount(2);
    Tag = 0;
  }
};

extern PriceEstimateGrid EstimateGrid;

// ---- price list

// Columns of a price list row: the name, then the three prices that the price choice selects
// as 1..3.
enum PriceListColumn : int {
  kPriceListName = 0,
  kPriceListMain = 1,
  kPriceListSpecial1 = 2,
  kPriceListSpecial2 = 3,
};
constexpr int kPriceListColumns = 4;
using PriceListRow = std::array<std::string, kPriceListColumns>;
inline constexpr std::string_view kPriceFileName = "Prices.kna";
inline constexpr std::string_view kRfCableHeading = "---  RF  Cables:  ---";
inline constexpr std::string_view kFiberCableHeading = "Fiber Optics Cables:";
constexpr int kCableTypes = 5;

struct PriceListGrid {
  std::vector<PriceListRow> Rows = std::vector<PriceListRow>(1);  // row 0 is the header
  std::string Currency = "EUR";
  // Prices of names no row holds (a project's own cable names, the other brand's models): from
  // file lines that matched no row, or left by a renamed row. A row taking the name gets them;
  // saving writes them back, so the file loses none.
  std::vector<PriceListRow> Kept;
  // Rows (by index) whose prices a rename carried over from the row's earlier name: nobody gave
  // them under the name the row has now, so renaming it again keeps nothing for that name. A
  // typed price, a line of the file or a save makes them the name's own.
  std::vector<bool> Carried;

  int RowCount() const { return static_cast<int>(Rows.size()); }
};

extern PriceListGrid PriceListRows;
// Row of the RF cable heading: RF cable type k has its prices in row CablePriceRow + k, fiber
// type k in row CablePriceRow + 6 + k.
extern int CablePriceRow;

// Names 1..5 of the RF cable and fiber types, as the project options hold them.
using CableNames = std::array<std::string, kCableTypes>;

// Renames rows first, first + 1, ... to `names` in one step (the cable or fiber types of the
// project options, of a project opened, of a new one), so swaps, rotations and chains resolve
// from the names before the change. A renamed row takes the prices its new name has anywhere: a
// row that held the name, or a kept entry. Only when nobody knows the name does it carry its own
// prices over. An old name no row holds any longer keeps its prices for the file, unless the
// row had only carried them.
void RenamePriceListRows(PriceListGrid& list, int first, const std::vector<std::string>& names);
// A price typed into row `row`: the prices are its name's own from now on.
void TypeListPrice(PriceListGrid& list, int row, int column, const std::string& text);

// Rows: the given names, the RF heading (its row becomes CablePriceRow), the RF cable names,
// the fiber heading and the fiber names; every price empty.
void BuildPriceList(PriceListGrid& list, const std::vector<std::string>& names, const CableNames& rf,
                    const CableNames& fiber);

enum class PriceFileRead {
  Missing,   // no such file: nothing changed
  Rejected,  // its first line is not a version from 2500 on: the rest ignored
  Loaded,
};
// Fills prices (and the currency) from the file into rows whose names match its lines; the
// prices of other names are kept.
PriceFileRead ReadPriceFile(const std::string& path, PriceListGrid& list);
std::vector<std::string> PriceFileLines(const PriceListGrid& list);
// Written atomically: a failed save keeps the old file and says why in `error`.
bool WritePriceFile(const std::string& path, const PriceListGrid& list, std::string* error);
// The price list file of a directory.
std::string PriceFilePath(const std::string& dir);

// The check of a typed price or quantity: empty is taken as "0", a lone "." passes, anything
// else must be a real number with "." as decimal mark.
bool IsPriceCellText(std::string_view text);

// The characters of a text typed for a ";"-separated field of an 8-bit file that the field
// cannot keep, each once: ";" (unless the field is the last of its line, which keeps it) and
// those Windows-1252 cannot hold. Empty when the file keeps the whole text.
std::string CharsFieldCannotHold(const std::string& utf8, bool lastField);
// A typed text as such a field takes it when its edit is committed: the text less what the field
// cannot keep, and the one note that names what was left out (empty when nothing was). Every
// window that takes typed text for a file commits it through this, so the user hears once per edit.
struct KeptText {
  std::string text;
  std::string note;
};
KeptText KeepTypedText(const std::string& utf8, bool lastField, const std::string& file);

// ---- estimation

struct EstimateSources {
  const PriceListGrid* prices = nullptr;
  int priceColumn = 1;  // 1..3
  CableNames rf;
  CableNames fiber;
};

// Rebuilds the item and cable rows from NetObjects, keeps the first "Installation costs" row
// with the user rows after it (one of them named so, from a file, stays a user row), and
// recomputes the prices.
void RebuildEstimate(PriceEstimateGrid& grid, const EstimateSources& src);
// Whole prices of the rows with a quantity, then the total into the last row.
void RecalcWholePrices(PriceEstimateGrid& grid);
// The fixed "Installation costs" row: the first row of that name, so a user row below it named
// so (kept from an older file) is one of the user rows; 0 when there is none.
int InstallationCostsRow(const PriceEstimateGrid& grid);
inline constexpr char kReservedItemName[] =
    "\"Installation costs\" is the name of the estimate's own row. Please give this row another name.";
enum class EstimateCellEdit { Unchanged, Changed, ReservedName };
struct EstimateCellCommit {
  EstimateCellEdit edit;
  std::string note;  // what the user is told once the cell editor has closed; empty for nothing
};
// Commits a cell typed into the estimate; a changed one counts in the whole prices and the total
// at once. The item and the comment are fields of the project's price records: what the file
// cannot keep is left out (the comment ends its record, so it keeps a ";"). The item name
// "Installation costs" belongs to the fixed row alone: under it another row would be taken for
// that row by the next rebuild, so it is refused and the cell stays.
EstimateCellCommit CommitEstimateCell(PriceEstimateGrid& grid, int row, int column, std::string text);
// Moves a dragged row; false when it stays. "Installation costs" and "Total:" keep their places,
// item and cable rows stay above "Installation costs" and user rows below it: a row dropped
// beyond its side lands at the side's end.
bool MoveEstimateRow(PriceEstimateGrid& grid, int from, int to);
// A new empty user row before "Total:".
void AddUserRow(PriceEstimateGrid& grid);
// Drops the last user row; false when there is none.
bool DeleteUserRow(PriceEstimateGrid& grid);

}  // namespace kavrix

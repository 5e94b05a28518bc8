#pragma once
// The small plan files of one source: an LNB's transponder plan (".lnb") and a terrestrial
// source's channel plan (".ter"). They are written from and read into the text cells of the
// source panel's carrier grid, never straight from the source tables; the panel's Apply moves
// the grid into the tables. Both kinds: line 1 the file version, then one line per grid row
// with the row's cells joined by two blanks, CR LF line ends.
#include <optional>
#include <string>
#include <vector>

namespace kavrix {

// Text cells addressed as (column, row), row 0 holding the headers. The capacity covers the
// largest plan (8 columns, rows 0..100); colCount and rowCount are what the grid shows, but
// cells below the shown rows keep their text, as a plan loaded into a shorter grid needs.
class SourceGrid {
 public:
  static constexpr int kMaxCols = 8;
  static constexpr int kMaxRows = 101;

  SourceGrid() : m_cells(kMaxCols * kMaxRows) {}
  SourceGrid(int cols, int rows) : SourceGrid() {
    setColCount(cols);
    setRowCount(rows);
  }

  int colCount() const { return m_cols; }
  int rowCount() const { return m_rows; }
  void setColCount(int c) { m_cols = c < 1 ? 1 : c > kMaxCols ? kMaxCols : c; }
  void setRowCount(int r) { m_rows = r < 1 ? 1 : r > kMaxRows ? kMaxRows : r; }

  static bool inRange(int col, int row) { return col >= 0 && col < kMaxCols && row >= 0 && row < kMaxRows; }
  // Cells outside the capacity read as empty and ignore writes.
  const std::string& cell(int col, int row) const;
  void setCell(int col, int row, std::string text);
  void clear();

 private:
  std::vector<std::string> m_cells;
  int m_cols = kMaxCols;
  int m_rows = kMaxRows;
};

enum class SourceFileKind { Lnb, Terr };

constexpr int kLnbFileRows = 31;    // carrier rows 1..31, eight cells each
constexpr int kTerrFileRows = 100;  // channel rows 1..100, frequency and level
constexpr int kOldestSourceFileVersion = 2000;
inline constexpr const char* kSourceFieldSeparator = "  ";
inline constexpr const char* kOldSourceFileMessage =
    "This file is created by older Kavrix version and is not supported by this version";

inline int SourceFileRows(SourceFileKind k) { return k == SourceFileKind::Lnb ? kLnbFileRows : kTerrFileRows; }
inline int SourceFileColumns(SourceFileKind k) { return k == SourceFileKind::Lnb ? 8 : 2; }
// "lnb" or "ter": the extension the import accepts, compared case-sensitively.
const char* SourceFileExtension(SourceFileKind k);
// Shown when a file of another kind was chosen for the import; the grid stays as it was.
std::string NotSourceFileMessage(SourceFileKind k);
// Shown when the file chosen for the import is a project; the grid stays as it was.
std::string ProjectNotPlanMessage(SourceFileKind k);

// Path of the source file last chosen in a save or import dialog.
extern std::string SourceFileName;

// The extension as the import sees it: the text after the first "." of the name part (after
// the last path separator), so "plan.old.lnb" gives "old.lnb"; "" when the name has no ".".
std::string FileNameExtension(const std::string& path);
// The kind of plan a name ends in (".lnb", ".ter", in any case), none for any other name. Save As
// never writes a project under such a name; what a file is, though, is told by what it holds.
std::optional<SourceFileKind> SourcePlanKindOfName(const std::string& path);
// The kind of plan these lines hold, whatever the file is named; none for any other text. A plan
// is its version, a whole number, then at most 31 carrier rows of eight cells (LNB) or at most 100
// channel rows of two cells, each row its cells joined by two blanks. A project's cable lines have
// no such join, so no project passes for a plan.
std::optional<SourceFileKind> SourcePlanKindOfLines(const std::vector<std::string>& lines);

// The file's lines (without line ends): the version, then one line per grid row 1..rows.
std::vector<std::string> SourceFileLines(const SourceGrid& grid, SourceFileKind kind);
// Writes the grid as a source file (atomically: a failed write leaves an old file intact).
bool WriteSourceFile(const std::string& path, const SourceGrid& grid, SourceFileKind kind,
                     std::string* error = nullptr);

// One source file read into memory, checked before anything reaches the grid.
struct SourcePlanRead {
  bool ok = false;            // false: nothing may be applied; `error` says why
  std::string error;
  int version = 0;
  bool oldVersion = false;    // below 2000: the caller warns and loads the rows all the same
  std::vector<std::vector<std::string>> rows;  // exactly SourceFileRows(kind) rows of the kind's columns
};

// Splits one row line into `columns` cells at the two-blank separator, left to right; the last
// column keeps the rest of the line. A line with fewer separators leaves its last cells empty.
std::vector<std::string> SplitSourceLine(const std::string& line, int columns);
// Parses the lines of a source file (line ends already removed). Missing row lines read as
// empty rows and lines after the last row are ignored; a first line that does not start with
// a whole number is not a source file.
SourcePlanRead ParseSourceFile(const std::vector<std::string>& lines, SourceFileKind kind);
SourcePlanRead ReadSourceFile(const std::string& path, SourceFileKind kind);
// Puts the rows of a successful read into grid rows 1.. in the kind's columns.
void ApplySourcePlan(const SourcePlanRead& plan, SourceFileKind kind, SourceGrid& grid);

}  // namespace kavrix

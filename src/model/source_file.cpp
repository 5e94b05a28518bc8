#include "model/source_file.hpp"

#include <cctype>
#include <filesystem>

#include "model/project_file.hpp"
#include "model/source_tables.hpp"
#include "model/text_file.hpp"

namespace kavrix {

std::string SourceFileName;

namespace {
const std::string kEmpty;

// The whole number at the start of a line (blanks before it allowed); the rest is ignored.
bool LeadingInteger(const std::string& line, int& out) {
  std::size_t i = 0;
  while (i < line.size() && (line[i] == ' ' || line[i] == '\t')) ++i;
  bool negative = false;
  if (i < line.size() && (line[i] == '+' || line[i] == '-')) negative = line[i++] == '-';
  const std::size_t first = i;
  long long v = 0;
  while (i < line.size() && std::isdigit(static_cast<unsigned char>(line[i]))) {
    v = v * 10 + (line[i++] - '0');
    if (v > 2147483647LL) return false;
  }
  if (i == first) return false;
  out = static_cast<int>(negative ? -v : v);
  return true;
}

int SeparatorCount(const std::string& line) {
  int n = 0;
  for (std::size_t p = line.find(kSourceFieldSeparator); p != std::string::npos;
       p = line.find(kSourceFieldSeparator, p + 2))
    ++n;
  return n;
}

// A plan of the other kind saved under a wrong name: a channel plan has one separator per line
// and runs past the 31 carrier rows; a carrier plan has seven separators per line.
bool LooksLikeOtherKind(const std::vector<std::string>& lines, SourceFileKind kind) {
  if (kind == SourceFileKind::Terr) {
    for (std::size_t i = 1; i < lines.size() && i <= kTerrFileRows; ++i)
      if (SeparatorCount(lines[i]) >= 7) return true;
    return false;
  }
  bool beyondCarrierRows = false;
  for (std::size_t i = kLnbFileRows + 1; i < lines.size(); ++i)
    if (!lines[i].empty()) beyondCarrierRows = true;
  if (!beyondCarrierRows) return false;
  for (std::size_t i = 1; i < lines.size() && i <= kLnbFileRows; ++i)
    if (SeparatorCount(lines[i]) > 1) return false;
  return true;
}
}  // namespace

const std::string& SourceGrid::cell(int col, int row) const {
  return inRange(col, row) ? m_cells[static_cast<std::size_t>(row * kMaxCols + col)] : kEmpty;
}

void SourceGrid::setCell(int col, int row, std::string text) {
  if (inRange(col, row)) m_cells[static_cast<std::size_t>(row * kMaxCols + col)] = std::move(text);
}

void SourceGrid::clear() {
  for (auto& c : m_cells) c.clear();
}

const char* SourceFileExtension(SourceFileKind k) { return k == SourceFileKind::Lnb ? "lnb" : "ter"; }

std::string NotSourceFileMessage(SourceFileKind k) {
  return k == SourceFileKind::Lnb ? "This file is not an LNB file (*.lnb)"
                                  : "This file is not a terrestrial source file (*.ter)";
}

std::string ProjectNotPlanMessage(SourceFileKind k) {
  const std::string plan = k == SourceFileKind::Lnb ? "an LNB file" : "a terrestrial source file";
  return "This is a Kavrix project, not " + plan + ": open it with \"Open\" in the File menu.";
}

std::string FileNameExtension(const std::string& path) {
  const std::size_t slash = path.find_last_of("\\/");
  const std::string name = slash == std::string::npos ? path : path.substr(slash + 1);
  const std::size_t dot = name.find('.');
  return dot == std::string::npos ? std::string() : name.substr(dot + 1);
}

std::optional<SourceFileKind> SourcePlanKindOfName(const std::string& path) {
  std::string ext = std::filesystem::path(path).extension().string();
  for (char& c : ext) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  if (ext == ".lnb") return SourceFileKind::Lnb;
  if (ext == ".ter") return SourceFileKind::Terr;
  return std::nullopt;
}

std::optional<SourceFileKind> SourcePlanKindOfLines(const std::vector<std::string>& lines) {
  int version = 0;
  if (lines.empty() || !LeadingInteger(lines[0], version)) return std::nullopt;
  std::size_t rows = lines.size() - 1;
  while (rows > 0 && lines[rows].empty()) --rows;  // blank lines a hand edit left at the end
  if (rows == 0 || rows > kTerrFileRows) return std::nullopt;
  for (const SourceFileKind kind : {SourceFileKind::Lnb, SourceFileKind::Terr}) {
    const int joins = SourceFileColumns(kind) - 1;
    bool all = rows <= static_cast<std::size_t>(SourceFileRows(kind));
    for (std::size_t i = 1; all && i <= rows; ++i) all = SeparatorCount(lines[i]) == joins;
    if (all) return kind;
  }
  return std::nullopt;
}

std::vector<std::string> SourceFileLines(const SourceGrid& grid, SourceFileKind kind) {
  const int rows = SourceFileRows(kind);
  const int cols = SourceFileColumns(kind);
  std::vector<std::string> lines;
  lines.reserve(static_cast<std::size_t>(rows) + 1);
  lines.push_back(std::to_string(FileVersion));
  for (int r = 1; r <= rows; ++r) {
    std::string line = grid.cell(0, r);
    for (int c = 1; c < cols; ++c) {
      line += kSourceFieldSeparator;
      line += grid.cell(c, r);
    }
    lines.push_back(std::move(line));
  }
  return lines;
}

bool WriteSourceFile(const std::string& path, const SourceGrid& grid, SourceFileKind kind, std::string* error) {
  TextWriter w;
  for (auto& l : SourceFileLines(grid, kind)) w.line(l);
  return w.save(path, error);
}

std::vector<std::string> SplitSourceLine(const std::string& line, int columns) {
  std::vector<std::string> cells(static_cast<std::size_t>(columns));
  std::size_t pos = 0;
  for (int c = 0; c < columns; ++c) {
    // The last column takes whatever remains of the line, separators included.
    const std::size_t sep = c + 1 < columns ? line.find(kSourceFieldSeparator, pos) : std::string::npos;
    if (sep == std::string::npos) {
      cells[static_cast<std::size_t>(c)] = line.substr(pos);
      break;
    }
    cells[static_cast<std::size_t>(c)] = line.substr(pos, sep - pos);
    pos = sep + 2;
  }
  return cells;
}

SourcePlanRead ParseSourceFile(const std::vector<std::string>& lines, SourceFileKind kind) {
  SourcePlanRead r;
  if (HoldsProjectText(lines)) {
    r.error = ProjectNotPlanMessage(kind);
    return r;
  }
  if (lines.empty() || !LeadingInteger(lines[0], r.version) || LooksLikeOtherKind(lines, kind)) {
    r.error = NotSourceFileMessage(kind);
    return r;
  }
  r.oldVersion = r.version < kOldestSourceFileVersion;
  const int rows = SourceFileRows(kind);
  const int cols = SourceFileColumns(kind);
  r.rows.reserve(static_cast<std::size_t>(rows));
  for (int i = 1; i <= rows; ++i) {
    static const std::string kNone;
    const std::string& line = static_cast<std::size_t>(i) < lines.size() ? lines[static_cast<std::size_t>(i)] : kNone;
    r.rows.push_back(SplitSourceLine(line, cols));
  }
  r.ok = true;
  return r;
}

SourcePlanRead ReadSourceFile(const std::string& path, SourceFileKind kind) {
  std::vector<std::string> lines;
  std::string error;
  if (!ReadTextLines(path, lines, &error)) {
    SourcePlanRead r;
    r.error = error;
    return r;
  }
  return ParseSourceFile(lines, kind);
}

void ApplySourcePlan(const SourcePlanRead& plan, SourceFileKind kind, SourceGrid& grid) {
  if (!plan.ok) return;
  const int cols = SourceFileColumns(kind);
  for (std::size_t i = 0; i < plan.rows.size(); ++i)
    for (int c = 0; c < cols && c < static_cast<int>(plan.rows[i].size()); ++c)
      grid.setCell(c, static_cast<int>(i) + 1, plan.rows[i][static_cast<std::size_t>(c)]);
}

}  // namespace kavrix

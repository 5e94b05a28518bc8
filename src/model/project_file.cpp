#include "model/project_file.hpp"

#include <algorithm>
#include <array>
#include <filesystem>
#include <string_view>

#include "catalogue/placement_defaults.hpp"
#include "catalogue/type_catalogue.hpp"
#include "model/network_model.hpp"
#include "model/number_text.hpp"
#include "model/object_rows.hpp"
#include "model/price_rows.hpp"
#include "model/project_options.hpp"
#include "model/source_file.hpp"
#include "model/source_tables.hpp"
#include "model/text_file.hpp"
#include "model/window_modes.hpp"

namespace kavrix {
namespace {

constexpr int kCodeOptions = 2001;
constexpr int kCodeLimits = 2002;
constexpr int kCodeTerrLimits = 2003;
constexpr int kCodeTerrCarriers = 3000;
constexpr int kCodeTerrHeader = 3200;
constexpr int kCodeSatLow = 4000;
constexpr int kCodeSatHigh = 4100;
constexpr int kCodeLnbHeader = 4200;
constexpr int kCodePriceRow = 10000;
constexpr int kCodeComment = 100000;
constexpr int kMaxCommentSlot = kItemTextSlots - 1;
constexpr int32_t kCommentKind = 100;

// Reals are stored as thousandths, rounded so that 2.01 comes back as 2.01.
std::string Milli(double v) { return std::to_string(RoundHalfEven(v * 1000.0)); }

// A line break inside a cell would split its record; it is written as a blank.
std::string OneLine(std::string s) {
  for (char& c : s)
    if (c == '\r' || c == '\n') c = ' ';
  return s;
}

// Limits are whole dBuV.
std::string Whole(double v) { return std::to_string(RoundHalfEven(v)); }

// The reader splits a price record at its first four ";", so one inside the first four cells is
// written as a comma, as a line break is as a blank; the comment is the rest and keeps its own.
std::string PriceRecordText(const PriceRow& r) {
  std::string text;
  for (int c = kPriceItem; c < kPriceComment; ++c) {
    std::string cell = r[c];
    std::replace(cell.begin(), cell.end(), ';', ',');
    text += cell + ";";
  }
  return OneLine(text + r[kPriceComment]);
}

std::string CableLine(const CableGridRow& r) { return OneLine(r.type + ":" + r.first + ":" + r.second); }

// Integer of a whole field, 0 when the field is no integer.
int32_t IntOr0(std::string_view s) {
  int32_t v = 0;
  return ParseInt(s, v) == 0 ? v : 0;
}

// Record code: the integer before the first blank; 0 for an empty line, no blank or no integer.
int32_t RecordCode(const std::string& s, std::size_t& blank) {
  blank = s.find(' ');
  if (blank == std::string::npos || blank == 0) return 0;
  return IntOr0(std::string_view(s).substr(0, blank));
}

// Five fields after the code: p1..p4 up to the next blank, p5 the rest of the line.
void RecordFields(std::string_view rest, int32_t p[5]) {
  std::size_t i = 0;
  for (int k = 0; k < 4; ++k) {
    while (i < rest.size() && rest[i] == ' ') ++i;
    const std::size_t start = i;
    while (i < rest.size() && rest[i] != ' ') ++i;
    p[k] = IntOr0(rest.substr(start, i - start));
  }
  while (i < rest.size() && rest[i] == ' ') ++i;
  p[4] = IntOr0(rest.substr(i));
}

// Text after the code's two-blank separator.
std::string RecordText(const std::string& s, std::size_t blank) {
  return blank + 2 <= s.size() ? s.substr(blank + 2) : std::string();
}

int32_t LeadingInt(const std::string& s) {
  std::size_t i = 0;
  while (i < s.size() && (s[i] == ' ' || s[i] == '\t')) ++i;
  std::size_t j = i;
  if (j < s.size() && (s[j] == '-' || s[j] == '+')) ++j;
  while (j < s.size() && s[j] >= '0' && s[j] <= '9') ++j;
  return IntOr0(std::string_view(s).substr(i, j - i));
}

constexpr int32_t kOldestProjectVersion = 2000;

bool IsBlank(const std::string& s) {
  return std::all_of(s.begin(), s.end(), [](char c) { return c == ' ' || c == '\t'; });
}

// The version line of a project older than the reader takes: Kavrix 1.x wrote 1000..1999 alone
// on it. Any other number there, or any other text, is no version at all.
bool IsOlderVersionLine(const std::string& s) {
  const std::size_t first = s.find_first_not_of(" \t");
  if (first == std::string::npos) return false;
  const std::size_t end = s.find_last_not_of(" \t") + 1;
  int32_t v = 0;
  return ParseInt(std::string_view(s).substr(first, end - first), v) == 0 && v >= 1000 && v < kOldestProjectVersion;
}

// Type, first and second number of a cable line. Split from the right, so a ":" inside a
// type name stays in the name.
CableGridRow SplitCableLine(const std::string& s) {
  CableGridRow r;
  const std::size_t last = s.rfind(':');
  if (last == std::string::npos) {
    r.type = s;
    return r;
  }
  const std::size_t before = last == 0 ? std::string::npos : s.rfind(':', last - 1);
  if (before == std::string::npos) {
    r.type = s.substr(0, last);
    r.first = s.substr(last + 1);
    return r;
  }
  r.type = s.substr(0, before);
  r.first = s.substr(before + 1, last - before - 1);
  r.second = s.substr(last + 1);
  return r;
}

// Estimation cells: four pieces up to ";" and the rest; a missing ";" leaves its piece empty
// and the text for the following ones.
PriceRow SplitPriceCells(std::string text) {
  PriceRow row;
  for (int c = 0; c < 4; ++c) {
    const std::size_t p = text.find(';');
    if (p == std::string::npos) continue;
    row[c] = text.substr(0, p);
    text.erase(0, p + 1);
  }
  row[4] = text;
  return row;
}

// Object kind of a record as ReadObjectRow stores it.
int32_t StoredObjectKind(int version, int32_t code) { return version < 3600 && code == 95 ? 210 : code; }

// Records that ReadTableRecord reads into the source tables.
bool IsTableRecord(int32_t code) {
  return (code >= kCodeTerrCarriers && code < kCodeTerrCarriers + kTerrSlots) ||
         (code >= kCodeTerrHeader && code < kCodeTerrHeader + kTerrSlots) || (code >= kCodeSatLow && code <= kCodeSatLow + 9) ||
         (code >= kCodeSatHigh && code <= kCodeSatHigh + 9) || (code >= kCodeLnbHeader && code <= kCodeLnbHeader + 99);
}

// Checks the records from line `first` on before any is read, so that a refused file leaves the
// model untouched: object rows and source tables must hold values a drawing can hold, and the
// objects must not need more calculation nodes than the limit. Empty when the file may be read.
std::string RefusalOfRecords(const std::vector<std::string>& lines, std::size_t first, int version) {
  std::size_t nodes = kNewNetworkNodeRows;  // the reader starts from a new network
  int32_t p[5];
  for (std::size_t li = first; li < lines.size(); ++li) {
    const std::string& s = lines[li];
    std::size_t blank = 0;
    const int32_t code = RecordCode(s, blank);
    const bool objectRow = code != 0 && code <= 2000;
    if (!objectRow && !IsTableRecord(code)) continue;
    if (code < -kMaxFileValue) return ValueOutOfRangeMessage(li + 1);
    RecordFields(std::string_view(s).substr(blank), p);
    const int32_t kind = StoredObjectKind(version, code);
    for (int k = 0; k < 5; ++k) {
      // A single-cable unit's Inst is its legacy-outputs code, nine digits for kind 183.
      const bool outputsCode = objectRow && k == 2 && kind >= 181 && kind <= 186;
      if (outputsCode ? p[k] < -kMaxFileValue || p[k] > kMaxOutputsCode : !IsStorableValue(p[k]))
        return ValueOutOfRangeMessage(li + 1);
    }
    if (!objectRow || kind <= 0 || kind >= 220 || kind == 210) continue;
    const int32_t paths = TypeOf(kind)[kPaths];
    if (paths > 0) nodes += static_cast<std::size_t>(paths);
    if (nodes > kMaxProjectNodes) return kProjectTooLargeMessage;
  }
  return {};
}

void ReadObjectRow(int version, int32_t code, int32_t p[5], std::size_t& nodeGrowth, std::size_t& chainGrowth,
                   std::size_t& linkGrowth) {
  code = StoredObjectKind(version, code);  // the old terrestrial socket kind
  if (version < 4100 && CurObject > 0) {
    // Older files stored the settings of kinds 88 and 87 on another scale.
    const int32_t prev = NetObjects[CurObject - 1][kKind];
    if (prev == 88) {
      for (int k = 0; k < 3; ++k)
        if (p[k] < -25) p[k] += 7;
    } else if (prev == 87) {
      if (p[0] < -15) p[0] += 5;
      for (int k = 1; k < 3; ++k)
        if (p[k] < -12) p[k] += 8;
    }
  }
  NetObjects.push_back(ObjRow{});
  NetObjects[CurObject] = {code, p[0], p[1], p[2], p[3], p[4]};
  if (code > 0 && code < 220) {
    // The calculation arrays grow once after the loop (the same amounts GrowForObject adds).
    if (code == 210) {
      ++linkGrowth;
    } else {
      const TypeRecord& t = TypeOf(code);
      if (t[kPaths] > 0) nodeGrowth += static_cast<std::size_t>(t[kPaths]);
      if (t[kGroupsMinus1] > 0) chainGrowth += static_cast<std::size_t>(t[kGroupsMinus1]);
    }
    if (code == 91 && ValidSatSlot(p[2])) SatUsed[p[2]] = true;
  }
  NetObjects[CurObject + 1][kKind] = 0;
  ++CurObject;
  ObjectCount = CurObject;
}

void ReadOptionsRecord(int version, const int32_t p[5], int printerWidthPx, int printerHeightPx) {
  if (p[0] > 0) {  // a scale of 0 or below would make the page tile infinite
    PrintScale = p[0] / 1000.0;
    OptionControls.Edit3 = FormatGeneral(PrintScale);
    SetPageTileFromPrinter(printerWidthPx, printerHeightPx);
  }
  if (version > 2320) CanvasColor = p[1];
  if (version < 3520 || p[2] == 1) {
    if (!IncludeObsolete && Hooks().createSwitchAmpGlyphs) Hooks().createSwitchAmpGlyphs();
    IncludeObsolete = true;
    OptionControls.CheckBox3 = true;
  }
}

void ReadTableRecord(int32_t code, const int32_t p[5]) {
  if (code >= kCodeTerrCarriers && code < kCodeTerrCarriers + kTerrSlots) {
    auto& t = TerrTables[code - kCodeTerrCarriers];
    const int32_t e = p[4];
    if (e >= 0 && e < kTerrEntries) t[0][e] = p[0], t[1][e] = p[1];
    if (e + 50 >= 0 && e + 50 < kTerrEntries) t[0][e + 50] = p[2], t[1][e + 50] = p[3];
    TerrUsed[code - kCodeTerrCarriers] = true;
  } else if (code >= kCodeTerrHeader && code < kCodeTerrHeader + kTerrSlots) {
    for (int k = 0; k < 5; ++k) TerrParams[code - kCodeTerrHeader][k] = p[k];
  } else if (code >= kCodeSatLow && code <= kCodeSatLow + 9) {
    const int slot = code - kCodeSatLow;
    if (ValidSatSlot(slot) && p[4] >= 1 && p[4] <= kSatRows)
      for (int c = 0; c < 4; ++c) SatCell(slot, c, p[4]) = p[c];
  } else if (code >= kCodeSatHigh && code <= kCodeSatHigh + 9) {
    const int slot = code - kCodeSatHigh;
    if (ValidSatSlot(slot) && p[4] >= 1 && p[4] <= kSatRows)
      for (int c = 0; c < 4; ++c) SatCell(slot, 4 + c, p[4]) = p[c];
  } else if (code >= kCodeLnbHeader && code <= kCodeLnbHeader + 99) {
    const int slot = (code % 100) / 10;
    const int band = code - kCodeLnbHeader - 10 * slot;
    if (ValidSatSlot(slot) && band >= 0 && band < 4)
      for (int k = 0; k < 5; ++k) LnbParams[slot][band][k] = p[k];
  }
}

// The line kind a stored row stands for, 0 for any other row: files before version 2600
// numbered the first line kinds 101..103.
int32_t StoredLineKind(int version, int32_t kind) {
  if (kind >= 201 && kind <= 209) return kind;
  return version < 2600 && kind >= 101 && kind <= 103 ? kind + 100 : 0;
}

// An object is drawn, edited, labelled and analysed from its own rows: a line from its geometry
// row, a device from its settings rows. A file cut or edited short would leave the object taking
// the next object's rows, or the free row that ends the drawing, for its own; the missing rows are
// put in behind those it has, as the placement writes them (a line without bends). One pass over
// the rows, and nothing moves when every object has its rows.
int MissingRows(int version, int row) {
  const int32_t stored = NetObjects[row][kKind];
  if (stored <= 0) return 0;
  const int32_t line = StoredLineKind(version, stored);
  return std::max(0, DefaultContinuationRows(line != 0 ? line : stored) - ContinuationRows(row));
}

void CompleteObjectRows(int version) {
  const int rows = CurObject;
  int missing = 0;
  for (int i = 0; i < rows; ++i) missing += MissingRows(version, i);
  if (missing == 0) return;
  std::vector<ObjRow> complete;
  complete.reserve(NetObjects.size() + static_cast<std::size_t>(missing));
  for (int i = 0; i < rows; ++i) {
    complete.push_back(NetObjects[i]);
    const int add = MissingRows(version, i);
    if (add == 0) continue;
    const int32_t line = StoredLineKind(version, NetObjects[i][kKind]);
    const int32_t kind = line != 0 ? line : NetObjects[i][kKind];
    const int have = ContinuationRows(i);
    for (int k = 1; k <= have; ++k) complete.push_back(NetObjects[i + k]);
    for (int k = have + 1; k <= have + add; ++k) {
      ObjRow r{};
      for (int f = 0; f < kObjFields; ++f) r[f] = DefaultContinuationCell(kind, k, f);
      if (r[kKind] >= 0) r[kKind] = -1;
      complete.push_back(r);
    }
    i += have;
  }
  complete.insert(complete.end(), NetObjects.begin() + rows, NetObjects.end());
  NetObjects = std::move(complete);
  CurObject += missing;
  ObjectCount = CurObject;
}

// The writer leaves empty texts out, so a comment whose slot has no record was saved empty, not
// with the text a new network starts with. The next new comment takes a slot after every one a
// comment uses, so that no two comments share a text.
void KeepCommentSlots(const std::array<bool, kItemTextSlots>& textRecords) {
  for (int i = 0; i < CurObject; ++i) {
    const ObjRow& r = NetObjects[i];
    if (r[kKind] != kCommentKind || r[kInst] < 0 || r[kInst] > kMaxCommentSlot) continue;
    if (!textRecords[static_cast<std::size_t>(r[kInst])]) ItemTexts[static_cast<std::size_t>(r[kInst])].clear();
    ItemTextCount = std::max(ItemTextCount, r[kInst] + 1);
  }
}

// Conventions of files before version 2600: the first line kinds had other numbers and the
// LNB current lived in the LNB row's Style. Every line has its geometry row by now
// (CompleteObjectRows); nothing is written outside an object's own rows.
void ConvertBefore2600() {
  for (int i = 0; i < CurObject; ++i) {
    ObjRow& r = NetObjects[i];
    if (r[kKind] == 101 || r[kKind] == 102) {
      r[kKind] += 100;
      if (ContinuationRows(i) > 0) NetObjects[i + 1][kLineRoute] = RouteStyle(1, 1);
    } else if (r[kKind] == 103) {
      r[kKind] = 203;
    } else if (r[kKind] == 91) {
      if (ValidSatSlot(r[kInst])) LnbCurrentMa(r[kInst]) = r[kStyle];
      r[kStyle] = 1;
    }
  }
}

void RebuildSymbols() {
  const ModelHooks& h = Hooks();
  const std::size_t n = NetObjects.size();
  for (std::size_t i = 0; i < n; ++i) {
    const int32_t kind = NetObjects[i][kKind];
    if (!((kind > 0 && kind < 200) || kind == 210)) continue;
    const int row = static_cast<int>(i);
    if (h.makeObjectGlyph) h.makeObjectGlyph(row);
    if (kind == 97 && i + 1 < n && h.selectTvStandard) h.selectTvStandard(NetObjects[i + 1][kHdmiStandard]);
    if (h.drawObjectLabels) h.drawObjectLabels(row);
  }
}

// Slot 0's plan starts one entry late when its first frequency is 0; stored files rely on it.
void ShiftTerrSlot0() {
  if (!TerrUsed[0] || TerrTables[0][kTerrFreqs][0] != 0) return;
  for (int side = 0; side < 2; ++side)
    for (int j = 1; j < kTerrEntries; ++j) TerrTables[0][side][j - 1] = TerrTables[0][side][j];
}

}  // namespace

bool HoldsProjectText(const std::vector<std::string>& lines) {
  if (lines.size() <= kCableGridRows || LeadingInt(lines[0]) < kOldestProjectVersion) return false;
  for (int k = 1; k <= kCableGridRows; ++k)
    if (lines[static_cast<std::size_t>(k)].find(':') == std::string::npos) return false;
  return true;
}

ProjectReadResult CheckProjectLines(const std::vector<std::string>& lines) {
  ProjectReadResult r;
  r.version = lines.empty() ? 0 : LeadingInt(lines[0]);
  auto refuse = [&r](std::string message) {
    r.status = ProjectReadResult::Status::Refused;
    r.message = std::move(message);
    return r;
  };
  if (HoldsProjectText(lines)) {
    const std::size_t firstRecord = 1 + kCableGridRows + (r.version > 3999 ? kCableGridRows : 0);
    if (std::string refusal = RefusalOfRecords(lines, firstRecord, r.version); !refusal.empty())
      return refuse(std::move(refusal));
    return r;
  }
  if (std::all_of(lines.begin(), lines.end(), IsBlank)) return refuse(kEmptyFileMessage);
  if (const auto plan = SourcePlanKindOfLines(lines))
    return refuse(*plan == SourceFileKind::Lnb ? kLnbNotAProjectMessage : kTerrNotAProjectMessage);
  if (IsOlderVersionLine(lines[0])) {
    r.status = ProjectReadResult::Status::TooOld;
    r.message = kTooOldProjectMessage;
    return r;
  }
  return refuse(kNotAProjectMessage);
}

std::string ValueOutOfRangeMessage(std::size_t lineNumber) {
  return "This file cannot be opened: line " + std::to_string(lineNumber) + " holds a value outside " +
         std::to_string(-kMaxFileValue) + ".." + std::to_string(kMaxFileValue);
}

std::string ProjectCaption(const std::string& projectFileName) {
  if (projectFileName == kUnsavedProjectName) return "New Network";
  return std::filesystem::path(projectFileName).filename().string();
}

void NewProjectState() {
  NewNetworkModel();
  // The options a project file holds go back to a new project's; the view switches stay.
  const ProjectOptions defaults = DefaultProjectOptions();
  ProjectOptions& o = OptionControls;
  o.RfGrid = defaults.RfGrid;
  o.FiberGrid = defaults.FiberGrid;
  ApplyRfGrid(o);
  ApplyFiberGrid(o);
  o.Edit6 = FormatGeneral(SatMinLevel);
  o.Edit1 = FormatGeneral(SatMaxLevel);
  o.Edit11 = FormatGeneral(TerrMinLevel);
  o.Edit2 = FormatGeneral(TerrMaxLevel);
  o.Edit4 = FormatGeneral(SatSocketLoss);
  o.Edit5 = FormatGeneral(TerrSocketLoss);
  if (ApplyPrintScaleText(defaults.Edit3)) o.Edit3 = defaults.Edit3;
  CanvasColor = kDefaultCanvasColor;
  EstimateGrid.Clear();
  OptimizeMode = true;
}

bool HasObsoleteObjects() {
  const std::size_t last = std::min<std::size_t>(static_cast<std::size_t>(ObjectCount < 0 ? 0 : ObjectCount),
                                                 NetObjects.empty() ? 0 : NetObjects.size() - 1);
  for (std::size_t i = 0; i <= last && i < NetObjects.size(); ++i) {
    const int32_t kind = NetObjects[i][kKind];
    if (kind > 0 && IsObsoleteKind(kind)) return true;
  }
  return false;
}

std::vector<std::string> ProjectFileLines() {
  std::vector<std::string> out;
  const int rows = std::min<int>(CurObject, static_cast<int>(NetObjects.size()));
  out.reserve(static_cast<std::size_t>(rows) + 1000);
  const ProjectOptions& o = OptionControls;

  out.push_back(std::to_string(FileVersion));
  for (int k = 1; k <= kCableGridRows; ++k) out.push_back(CableLine(o.RfGrid[k]));
  for (int k = 1; k <= kCableGridRows; ++k) out.push_back(CableLine(o.FiberGrid[k]));

  std::string line;
  for (int i = 0; i < rows; ++i) {
    const ObjRow& r = NetObjects[i];
    line = std::to_string(r[0]);
    for (int f = 1; f < kObjFields; ++f) {
      line += "  ";
      line += std::to_string(r[f]);
    }
    out.push_back(line);
  }

  // The values in use, never the edits' texts: the options window applies what is typed as it
  // is committed, and a text without a usable value must not be written in place of the value.
  out.push_back("2001  " + Milli(PrintScale) + "   " + std::to_string(CanvasColor) + "  " +
                (HasObsoleteObjects() ? "1" : "0") + "   0   0");
  out.push_back("2002  " + Milli(SatSocketLoss) + "  " + Milli(TerrSocketLoss) + "  " + Whole(SatMinLevel) + "  " +
                Whole(SatMaxLevel) + "   0");
  out.push_back("2003  0  0  " + Whole(TerrMinLevel) + "  " + Whole(TerrMaxLevel) + "   0");

  for (int k = 0; k < kTerrSlots; ++k) {
    if (!TerrUsed[k]) continue;
    const auto& t = TerrTables[k];
    const std::string code = std::to_string(kCodeTerrCarriers + k);
    for (int i = 0; i <= 50; ++i)
      out.push_back(code + "  " + std::to_string(t[0][i]) + "  " + std::to_string(t[1][i]) + "  " +
                    std::to_string(t[0][i + 50]) + "  " + std::to_string(t[1][i + 50]) + "   " + std::to_string(i));
    line = std::to_string(kCodeTerrHeader + k);
    for (int v : TerrParams[k]) line += "  " + std::to_string(v);
    out.push_back(line);
  }

  for (int k = 0; k < kSatSlots; ++k) {
    if (!SatUsed[k]) continue;
    for (int half = 0; half < 2; ++half) {
      const std::string code = std::to_string((half == 0 ? kCodeSatLow : kCodeSatHigh) + k);
      for (int j = 1; j <= kSatRows; ++j) {
        line = code;
        for (int c = 0; c < 4; ++c) line += "  " + std::to_string(SatCell(k, 4 * half + c, j));
        line += "   " + std::to_string(j);
        out.push_back(line);
      }
    }
    for (int band = 0; band < 4; ++band) {
      line = std::to_string(kCodeLnbHeader + 10 * k + band);
      for (int v : LnbParams[k][band]) line += "  " + std::to_string(v);
      out.push_back(line);
    }
  }

  for (int i = 1; i < EstimateGrid.RowCount(); ++i)
    out.push_back(std::to_string(kCodePriceRow + i) + "  " + PriceRecordText(EstimateGrid.Rows[i]));

  for (int i = 0; i <= kMaxCommentSlot; ++i)
    if (!ItemTexts[i].empty()) out.push_back(std::to_string(kCodeComment + i) + "  " + OneLine(ItemTexts[i]));
  return out;
}

bool WriteProjectFile(const std::string& path, std::string* error) {
  TextWriter w;
  for (auto& l : ProjectFileLines()) w.line(l);
  return w.save(path, error);
}

ProjectReadResult ReadProjectLines(const std::vector<std::string>& lines, int printerWidthPx, int printerHeightPx) {
  EstimateGrid.SetRowCount(2);
  CurObject = 0;
  ProjectReadResult result = CheckProjectLines(lines);
  if (result.status != ProjectReadResult::Status::Ok) {
    ProjectModified = false;
    return result;
  }
  const int version = result.version;

  DrawExtentX = 0;
  DrawExtentY = 0;
  std::size_t next = 1;
  auto nextLine = [&]() -> std::string { return next < lines.size() ? lines[next++] : (++next, std::string()); };
  for (int k = 1; k <= kCableGridRows; ++k) OptionControls.RfGrid[k] = SplitCableLine(nextLine());
  ApplyRfGrid(OptionControls);
  if (version > 3999)
    for (int k = 1; k <= kCableGridRows; ++k) OptionControls.FiberGrid[k] = SplitCableLine(nextLine());
  ApplyFiberGrid(OptionControls);

  NetObjects.reserve(NetObjects.size() + (lines.size() > next ? lines.size() - next : 0));
  std::size_t nodeGrowth = 0, chainGrowth = 0, linkGrowth = 0;
  std::array<bool, kItemTextSlots> textRecords{};
  int32_t p[5];
  for (std::size_t li = next; li < lines.size(); ++li) {
    const std::string& s = lines[li];
    std::size_t blank = 0;
    const int32_t code = RecordCode(s, blank);
    if (code == 0) continue;
    if (code < kCodePriceRow) {
      RecordFields(std::string_view(s).substr(blank), p);
      if (code <= 2000) {
        ReadObjectRow(version, code, p, nodeGrowth, chainGrowth, linkGrowth);
      } else if (code == kCodeOptions) {
        ReadOptionsRecord(version, p, printerWidthPx, printerHeightPx);
      } else if (code == kCodeLimits) {
        SatSocketLoss = p[0] / 1000.0;
        TerrSocketLoss = p[1] / 1000.0;
        OptionControls.Edit4 = FormatGeneral(SatSocketLoss);
        OptionControls.Edit5 = FormatGeneral(TerrSocketLoss);
        OptionControls.Edit6 = std::to_string(p[2]);
        SatMinLevel = p[2];
        OptionControls.Edit1 = std::to_string(p[3]);
        SatMaxLevel = p[3];
      } else if (code == kCodeTerrLimits) {
        OptionControls.Edit11 = std::to_string(p[2]);
        TerrMinLevel = p[2];
        OptionControls.Edit2 = std::to_string(p[3]);
        TerrMaxLevel = p[3];
      } else {
        ReadTableRecord(code, p);
      }
    } else if (code > kCodePriceRow && code < kCodeComment) {
      const int i = code - kCodePriceRow;
      if (i + 1 > EstimateGrid.RowCount()) EstimateGrid.SetRowCount(i + 1);
      EstimateGrid.Rows[i] = SplitPriceCells(RecordText(s, blank));
    } else if (code >= kCodeComment && code - kCodeComment <= kMaxCommentSlot) {
      const int i = code - kCodeComment;
      ItemTexts[i] = RecordText(s, blank);
      ItemTextCount = i + 1;
      textRecords[static_cast<std::size_t>(i)] = true;
    }
  }
  if (nodeGrowth > 0) EnsureNodeRows(Nodes.size() + nodeGrowth);
  if (chainGrowth > 0) ChainQueue.resize(ChainQueue.size() + chainGrowth, 0);
  if (linkGrowth > 0) Links.resize(Links.size() + linkGrowth, LinkRow{});

  CompleteObjectRows(version);
  KeepCommentSlots(textRecords);
  if (version < 2600) ConvertBefore2600();
  SyncRowCompanions();
  RebuildSymbols();
  ShiftTerrSlot0();
  Form1Tag = kMainEditing;
  if (Hooks().calcDrawingExtent) Hooks().calcDrawingExtent();
  ProjectModified = false;
  return result;
}

ProjectReadResult ReadProjectFile(const std::string& path, int printerWidthPx, int printerHeightPx) {
  std::vector<std::string> lines;
  std::string error;
  if (!ReadTextLines(path, lines, &error)) {
    ProjectReadResult r;
    r.status = ProjectReadResult::Status::OpenFailed;
    r.message = error;
    return r;
  }
  return ReadProjectLines(lines, printerWidthPx, printerHeightPx);
}

}  // namespace kavrix

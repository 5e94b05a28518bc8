#include "editor/line_snapping.hpp"

#include <algorithm>
#include <array>
#include <cstdlib>

#include "catalogue/port_templates.hpp"
#include "catalogue/type_catalogue.hpp"
#include "editor/canvas_state.hpp"
#include "model/network_model.hpp"
#include "model/object_rows.hpp"
#include "model/project_options.hpp"

namespace kavrix {
namespace {

constexpr int kLnbKind = 91;
constexpr int kFiveCable = 201;
constexpr int kFourCable = 202;
constexpr int kSingleCable = 203;
constexpr int kFibre = 205;
constexpr int kReach = 11;  // a terminal snaps when it lies closer than this on both axes

// Families by the absolute value of the catalogue's class.
constexpr int kFamilyNoLines = 4;       // 17-line switches: no terminals for lines
constexpr int kFamilyCascade9 = 3;      // nine-input cascades 161..168
constexpr int kFamilySingleCable = 81;  // single-cable (dSCR) units
constexpr int kFamilyReceiver = 91;     // optical receivers
constexpr int kFamilyTransmitter = 92;  // optical transmitters

// Where the catalogue's LNB rows (the bands left to right in path order, arrangement 1) put the
// band of each path under arrangement 2, "VLo HLo VHi HHi": the run registers the same pins.
constexpr std::array<int, 4> kLnbArrangement2Slot = {1, 3, 0, 2};

bool IsTrunk(int kind) { return kind == kFiveCable || kind == kFourCable; }
int Family(int kind) { return std::abs(TypeOf(kind)[kClass]); }
int WrapOrient(int o) { return o > 4 ? o - 4 : o; }

// The terminal rows of a device: its path rows, for an LNB laid out by its output arrangement.
class TerminalRows {
 public:
  explicit TerminalRows(const ObjRow& device) {
    const TypeRecord& t = TypeOf(device[kKind]);
    const int first = std::clamp(t[kFirstTemplateRow], 0, kTemplateRowCount);
    m_rows = PortTemplates.data() + first;
    m_count = std::clamp(t[kPaths], 0, kTemplateRowCount - first);
    if (device[kKind] == kLnbKind && device[kStyle] != 1 && m_count == 4) {
      for (int b = 0; b < 4; ++b) {
        m_lnb[b] = m_rows[b];
        m_lnb[b][kTplOutDx] = m_rows[kLnbArrangement2Slot[b]][kTplOutDx];
        m_lnb[b][kTplOutDy] = m_rows[kLnbArrangement2Slot[b]][kTplOutDy];
      }
      m_useLnb = true;
    }
  }
  TerminalRows(const TerminalRows&) = delete;
  TerminalRows& operator=(const TerminalRows&) = delete;

  int size() const { return m_count; }
  const TemplateRow& operator[](int i) const { return m_useLnb ? m_lnb[static_cast<std::size_t>(i)] : m_rows[i]; }

 private:
  const TemplateRow* m_rows = nullptr;
  int m_count = 0;
  bool m_useLnb = false;
  std::array<TemplateRow, 4> m_lnb{};
};

bool OffersTerminals(const ObjRow& r) {
  const int kind = r[kKind];
  return kind >= 1 && kind <= 199 && Family(kind) != kFamilyNoLines && TypeOf(kind)[kPaths] >= 1;
}

// Source rows carry the three-digit codes of their nodes (910 + band, 925), whose last digit is
// the path; device rows carry kind x 1000 + group x 100 + path.
int PathOf(const TemplateRow& r) { return r[kTplCode] < 1000 ? r[kTplCode] % 10 : r[kTplCode] % 100; }

// First row of the terminal group of row m: the rows before it whose path codes lie within 80.
int GroupStart(const TerminalRows& rows, int m) {
  int g = m;
  while (g > 0 && rows[m][kTplCode] - rows[g - 1][kTplCode] < 80) --g;
  return g;
}

// Direction of a group of output terminals from its first two: the next one to the right gives
// 1, above 2, to the left 3, below 4. Terminals that lie diagonally count by their larger
// distance; a group with no second output terminal keeps the device's own direction.
int GroupDirection(const TerminalRows& rows, int g) {
  if (g + 1 >= rows.size()) return 1;
  const TemplateRow& a = rows[g];
  const TemplateRow& b = rows[g + 1];
  if (a[kTplOutDx] == kNoPinOffset || b[kTplOutDx] == kNoPinOffset) return 1;
  const int dx = b[kTplOutDx] - a[kTplOutDx];
  const int dy = b[kTplOutDy] - a[kTplOutDy];
  if (dx == 0 && dy == 0) return 1;
  if (std::abs(dx) >= std::abs(dy)) return dx > 0 ? 1 : 3;
  return dy < 0 ? 2 : 4;
}

ObjRow* LineRow() { return ValidObjRow(CurObject) ? &NetObjects[static_cast<std::size_t>(CurObject)] : nullptr; }
ObjRow* GeometryRow() {
  return ValidObjRow(CurObject + 1) ? &NetObjects[static_cast<std::size_t>(CurObject) + 1] : nullptr;
}

void SetSnap(Point p) {
  SnapX = p.x;
  SnapY = p.y;
}

}  // namespace

Point TerminalPoint(int row, int dx, int dy) {
  if (!ValidObjRow(row)) return {};
  const ObjRow& d = NetObjects[static_cast<std::size_t>(row)];
  const int h = TypeOf(d[kKind])[kTerminalShift];
  return Point{d[kX], d[kY]} + Rotated(d[kOrient], dx, dy - h);
}

TerminalFind FindTerminal(int x, int y, bool outputs) {
  const int col = outputs ? kTplOutDx : kTplInDx;
  for (std::size_t i = 0; i < NetObjects.size() && NetObjects[i][kKind] != 0; ++i) {
    const ObjRow& d = NetObjects[i];
    if (!OffersTerminals(d)) continue;
    const TerminalRows rows(d);
    for (int m = 0; m < rows.size(); ++m) {
      const TemplateRow& r = rows[m];
      if (r[col] == kNoPinOffset) continue;
      const Point p = TerminalPoint(static_cast<int>(i), r[col], r[col + 1]);
      if (std::abs(p.x - x) < kReach && std::abs(p.y - y) < kReach) return {static_cast<int>(i), m, PathOf(r)};
    }
  }
  return {};
}

SnapResult SnapLineStart(int x, int y) {
  SnapX = SnapY = 0;
  SnapResult out;
  ObjRow* line = LineRow();
  const TerminalFind f = FindTerminal(x, y, true);
  if (!line || !f.found()) return out;
  ObjRow* geo = GeometryRow();
  const ObjRow& d = NetObjects[static_cast<std::size_t>(f.row)];
  const TerminalRows rows(d);
  const int kind = PendingKind;
  const int o = d[kOrient];
  const int h = TypeOf(d[kKind])[kTerminalShift];
  const int family = Family(d[kKind]);
  const int p = f.path;
  const Point origin{d[kX], d[kY]};

  (*line)[kOrient] = o;
  const int g = GroupStart(rows, f.index);
  if (IsTrunk(kind) && rows.size() >= 2) (*line)[kOrient] = WrapOrient(GroupDirection(rows, g) + o - 1);

  if (kind == kSingleCable || kind == kFibre) {
    if ((kind == kSingleCable && family > kFamilyReceiver) || (kind == kFibre && family < kFamilyTransmitter))
      out.message = kUnsuitableCableMessage;
    if (geo && kind == kSingleCable && p < 20) (*geo)[kLineColour] = p <= 5 ? p : p - 5;
    // A single-cable unit's outputs come after its four input rows.
    if (geo && family == kFamilySingleCable && f.index > 4) (*geo)[kLineColour] = 7;
    const TemplateRow& m = rows[f.index];
    SetSnap(origin + Rotated((*line)[kOrient], m[kTplOutDx], m[kTplOutDy] - h));
    out.found = true;
  } else if (IsTrunk(kind)) {
    int style = (d[kKind] < 80 || (d[kKind] == kLnbKind && d[kStyle] == 1)) ? 11 : 22;
    if (geo) (*geo)[kLineRoute] = style;
    const int s = kind == kFourCable ? -10 : 0;
    int a = 0, b = 0;
    if (style == 11) {
      a = 40;
      b = p < 6 ? 0 : 100;
    } else {
      if (family == kFamilyReceiver) (*line)[kOrient] = o;
      a = 20;
      if (kind == kFiveCable && p > 5) out.message = kFiveCableUnsuitableMessage;
      b = p < 6 ? 0 : -80;
    }
    // The trunk's snap point lies along the line's own direction from the group's first terminal.
    const TemplateRow& first = rows[g];
    SetSnap(origin + Rotated(o, first[kTplOutDx], first[kTplOutDy]) + Rotated((*line)[kOrient], s + a + b, -h));
    out.found = true;
  }
  return out;
}

SnapResult SnapLineEnd(int x, int y) {
  SnapX = SnapY = 0;
  SnapResult out;
  ObjRow* line = LineRow();
  const TerminalFind f = FindTerminal(x, y, false);
  if (!line || !f.found()) return out;
  ObjRow* geo = GeometryRow();
  const ObjRow& d = NetObjects[static_cast<std::size_t>(f.row)];
  const TerminalRows rows(d);
  const int kind = PendingKind;
  const int dkind = d[kKind];
  const int o = d[kOrient];
  const int h = TypeOf(dkind)[kTerminalShift];
  const int family = Family(dkind);
  const int p = f.path;
  const Point origin{d[kX], d[kY]};

  if (ExtraAngles == 0) (*line)[kOrient] = o;

  if (kind == kSingleCable || kind == kFibre) {
    if ((kind == kSingleCable && (family == kFamilyReceiver || family > kFamilyTransmitter)) ||
        (kind == kFibre && family < kFamilyReceiver))
      out.message = kUnsuitableCableMessage;
    if (geo && kind == kSingleCable) (*geo)[kLineColour] = p <= 5 ? p : p - 5;
    const TemplateRow& m = rows[f.index];
    SetSnap(origin + Rotated(o, m[kTplInDx], m[kTplInDy] - h));
    out.found = true;
    return out;
  }
  if (!IsTrunk(kind)) return out;

  int style = geo ? (*geo)[kLineRoute] : 0;
  if (dkind < 80 && dkind != 60) {
    style = ExtraAngles == 0 ? 11 : (style > 20 ? 21 : 11);
  } else if ((dkind > 80 || dkind == 60) && ExtraAngles > 0) {
    style = style > 20 ? 22 : 12;
  }
  if (geo) (*geo)[kLineRoute] = style;

  int s = kind == kFourCable ? -10 : 0;
  int a = 0, b = 0, c = 0;
  // The cables at the end lie in the end's own arrangement (the units digit), also on a line
  // whose cables cross over on the way.
  if (RouteAtEnd(style) == 1) {
    a = 40;
    b = p < 6 ? 0 : 100;
  } else {
    if (kind == kFiveCable && p > 5) out.message = kFiveCableUnsuitableMessage;
    if (family == kFamilyTransmitter) {
      (*line)[kOrient] = WrapOrient(o + 2);
      if (kind == kFourCable) s = 10;
      a = -20;
    } else {
      a = 20;
    }
    if (p >= 6) {
      if (family == kFamilyCascade9) {
        if (ExtraAngles == 0) (*line)[kOrient] = WrapOrient(o + 3);
        b = 60 - s;
        c = s + 80;
      } else {
        b = -80;
      }
    }
  }
  // Measured from the kind's first input terminal, whichever input was found.
  const TemplateRow& t0 = rows[0];
  SetSnap(origin + Rotated(o, t0[kTplInDx] + s + a + b, t0[kTplInDy] - h + c));
  out.found = true;
  return out;
}

SnapResult StartLineAt(int x, int y) {
  SnapResult r;
  if (!OptionControls.CheckBox4) {
    r = SnapLineStart(x, y);
    // A line may also start at an input.
    if (!r.found) r = SnapLineEnd(x, y);
  }
  if (ObjRow* line = LineRow()) {
    (*line)[kX] = r.found ? SnapX : x;
    (*line)[kY] = r.found ? SnapY : y;
    (*line)[kKind] = PendingKind;
  }
  return r;
}

LineEnd FinishLineAt(int x, int y) {
  LineEnd out;
  if (OptionControls.CheckBox4) return out;
  const SnapResult r = SnapLineEnd(x, y);
  out.message = r.message;
  ObjRow* line = LineRow();
  ObjRow* geo = GeometryRow();
  if (!line || !geo) return out;
  LineLegs legs = LineLegs::Of(*geo);
  if (r.found) {
    // Only the last drawn leg moves; the other axis keeps what was drawn.
    const int X = (*line)[kX], Y = (*line)[kY];
    if (legs.h2 != 0) legs.h2 = SnapX - X - legs.h1;
    else if (legs.v2 != 0) legs.v2 = SnapY - Y - legs.v1;
    else if (legs.h1 != 0) legs.h1 = SnapX - X;
    else if (legs.v1 != 0) legs.v1 = SnapY - Y;
    legs.storeIn(*geo);
  }
  out.rejected = legs.empty();
  return out;
}

}  // namespace kavrix

#include "simulation/node_builder.hpp"

#include "catalogue/geometry.hpp"
#include "catalogue/port_templates.hpp"
#include "catalogue/type_catalogue.hpp"
#include "model/network_model.hpp"
#include "model/object_rows.hpp"
#include "model/panel_encodings.hpp"
#include "model/run_records.hpp"

namespace kavrix {
namespace nodes {

OffDrawingPin LineEndOffDrawing(int row, int conductor, bool atEnd) {
  // Device pins without a terminal lie about +-2000000 from their object, never at -6000000.
  return {kNoPinOffset + 16 * row + 2 * conductor + (atEnd ? 1 : 0), -3 * kNoPinOffset};
}

}  // namespace nodes

namespace {

bool IsTerrestrialCode(int code) { return CodePath(code) == kTerrestrialPath; }
bool IsBandCombiner(int kind) { return kind >= 86 && kind <= 88; }

// NetObjects[row + offset][column] when the cell lies inside the object; false otherwise.
bool ReadObjectCell(int row, int span, int offset, int column, int& value) {
  if (offset < 0 || offset >= span || column < 0 || column >= kObjFields) return false;
  value = NetObjects[row + offset][column];
  return true;
}

void WriteField(NodeRow& node, int field, int value) {
  if (field >= 0 && field < kNodeFields) node[field] = value;
}

Point Pin(Point base, int orient, int dx, int dy) { return base + Rotated(orient, dx, dy); }

void SetPins(NodeRow& node, Point in, Point out) {
  node[kNodeInX] = in.x;
  node[kNodeInY] = in.y;
  node[kNodeOutX] = out.x;
  node[kNodeOutY] = out.y;
}

// Settings from the path's control row: A copied or negated, B (slope) read plus 1.
void ApplyControlRow(NodeRow& node, int controlRow, int row, int span) {
  if (controlRow < 0 || controlRow >= kTemplateRowCount) return;
  const TemplateRow& c = PortTemplates[controlRow];
  node[kNodeControlRow] = controlRow;
  const ControlSetting a = ControlSettingA(c), b = ControlSettingB(c);
  int cell = 0;
  if (a.present && ReadObjectCell(row, span, a.offset, a.column, cell)) WriteField(node, a.field, a.mode > 1 ? -cell : cell);
  if (b.present && ReadObjectCell(row, span, b.offset, b.column, cell))
    WriteField(node, b.field, (b.column == 0 ? -cell : cell) + 1);
}

// Satellite link unit: the source id it selects from its settings row.
void LinkUnitSource(NodeRow& node, int row, int span) {
  int source = 0, polarisation = 0;
  if (!ReadObjectCell(row, span, 1, kStreamerSource, source)) return;
  ReadObjectCell(row, span, 1, kStreamerPolarisation, polarisation);
  int32_t id = 0;
  if (panel::StreamerSourceId(source, polarisation, NetObjects[row][kInst], id)) node[kNodeSourceId] = id;
}

// Single-cable units: the output group's mode digit of Inst ('0' -> 50, '1' -> 49).
void SingleCableMode(NodeRow& node, int inst) {
  const int code = node[kNodeCode];
  const int g = (code % 1000) / 100;
  // Inst written in decimal; position 1 is a leading marker digit (or the sign).
  char digits[16];
  int len = 0;
  long long v = inst < 0 ? -static_cast<long long>(inst) : inst;
  do {
    digits[len++] = static_cast<char>('0' + v % 10);
    v /= 10;
  } while (v > 0);
  if (inst < 0) digits[len++] = '-';
  if (g > 0 && len >= g + 1) {
    const char c = digits[len - 1 - g];
    if (c == '0') node[kNodeChainMark] = kChainBandGrid;
    if (c == '1') node[kNodeChainMark] = kChainSingleCable;
  }
  node[kNodeSourceId] = CodeDigit(code);
}

int TerrestrialSources() { return TerrSourceIndex > 0 ? TerrSourceIndex : 0; }

int ReplicaMark(int code, int s) {
  if ((code == kCodeConverterTerr || code == kCodeConverterTerr2 || code == kCodeStreamerTerr2) && s < kTerrSourceMax)
    return TerrSourceIds[s];
  return kChainTerrestrial + s;
}

int BuildDevice(int row, int k) {
  const ObjRow& obj = NetObjects[row];
  const int kind = obj[kKind];
  const TypeRecord& type = TypeOf(kind);
  const int paths = type[kPaths];
  const int first = type[kFirstTemplateRow];
  const int shift = type[kTerminalShift];
  const int cls = type[kClass];
  if (paths <= 0 || first < 0 || first + paths > kTemplateRowCount) return k;

  const int m = TerrestrialSources();
  int terrPaths = 0;
  if (!IsBandCombiner(kind))
    for (int p = 0; p < paths; ++p) terrPaths += IsTerrestrialCode(PortTemplates[first + p][0]) ? 1 : 0;
  EnsureNodeRows(static_cast<std::size_t>(k + paths + terrPaths * m));

  const int orient = obj[kOrient];
  const int span = ObjectRowCount(row);
  const Point base = Pin({obj[kX], obj[kY]}, orient, 0, -shift);

  for (int p = 0; p < paths; ++p) {
    const TemplateRow& r = PortTemplates[first + p];
    ResetNode(k);
    NodeRow& node = Nodes[k];
    const int code = r[kTplCode];
    node[kNodeCode] = code;
    SetPins(node, Pin(base, orient, r[kTplInDx], r[kTplInDy]), Pin(base, orient, r[kTplOutDx], r[kTplOutDy]));

    if (r[kTplExtraRow] > 0 && first + r[kTplExtraRow] < kTemplateRowCount) {
      const TemplateRow& e = PortTemplates[first + r[kTplExtraRow]];
      for (int q = 0; q < 4; ++q) {
        const Point pin = Pin(base, orient, e[2 * q], e[2 * q + 1]);
        node[PinX(2 + q)] = pin.x;
        node[PinY(2 + q)] = pin.y;
        if (e[2 * q + 1] < kNoPinOffset) node[PortLink(2 + q)] = kPortFree;
      }
    }
    if (r[kTplControlRow] > 0) ApplyControlRow(node, first + r[kTplControlRow], row, span);
    node[kNodeMaxLevel] = r[kTplMaxLevel] != 0 ? r[kTplMaxLevel] : kNoLimit;
    node[kNodeObject] = row;

    if (code == kCodeSatLinkUnit) LinkUnitSource(node, row, span);
    if (code == kCodeTerrLinkUnit) node[kNodeSourceId] = kTerrIdBase;
    if (kind == 183 && code >= kCodeGlimTerrFirst && code <= kCodeGlimTerrLast && CodeDigit(code) == kTerrestrialPath &&
        panel::IsTerrTvPassive(obj[kInst]))
      node[kNodeMaxLevel] = kNoLimit;
    if (cls == 81 && CodeDigit(code) != kTerrestrialPath) SingleCableMode(node, obj[kInst]);
    const bool terrestrial = IsTerrestrialCode(code) && !IsBandCombiner(kind);
    if (terrestrial) node[kNodeChainMark] = kChainTerrestrial;
    if (terrestrial && m > 0) {
      if (cls > 90) node[kNodeSourceId] = node[kNodeChainMark];
      for (int s = 1; s <= m; ++s) {
        ResetNode(k + s);
        NodeRow& rep = Nodes[k + s];
        const NodeRow& orig = Nodes[k];
        for (int f = kNodeCode; f <= kNodeLeader; ++f) rep[f] = orig[f];
        rep[kNodeChainMark] = ReplicaMark(code, s);
        if (code == kCodeTerrLinkUnit) rep[kNodeSourceId] = rep[kNodeChainMark];
        rep[kNodeControlRow] = orig[kNodeControlRow];
        if (cls > 90) rep[kNodeSourceId] = rep[kNodeChainMark];
      }
      k += m;
    }
    ++k;
  }
  return k;
}

// Conductor offsets across a multi-conductor line: per arrangement 1 and 2, conductors 1..4.
constexpr int kTrunk5[2][4] = {{40, 20, 0, -20}, {20, -20, 40, 0}};
constexpr int kTrunk4[2][4] = {{30, 10, -10, -30}, {10, -30, 30, -10}};
constexpr int kTerrConductor = -40;

struct LineGeometry {
  Point start, end;
  int endDir = 0;
  int startArr = 0, endArr = 0;
};

LineGeometry LineShape(int row, int span) {
  const ObjRow& obj = NetObjects[row];
  int s[kObjFields] = {};
  for (int f = kLegV1; f <= kLineRoute; ++f) ReadObjectCell(row, span, 1, f, s[f]);
  const LineLegs legs{s[kLegV1], s[kLegH1], s[kLegV2], s[kLegH2]};
  LineGeometry g;
  const int orient = obj[kOrient];
  g.start = {obj[kX], obj[kY]};
  g.end = {legs.endX(obj[kX]), legs.endY(obj[kY])};
  // Legs in drawing order; the line ends in the direction of its last non-empty one.
  const bool odd = orient % 2 != 0;
  const int order[4] = {odd ? kLegV1 : kLegH1, odd ? kLegH1 : kLegV1, odd ? kLegV2 : kLegH2, odd ? kLegH2 : kLegV2};
  int last = -1;
  for (int i = 0; i < 4; ++i)
    if (s[order[i]] != 0) last = i;
  if (last <= 0) {
    g.endDir = orient;
  } else {
    const int seg = order[last];
    const bool vertical = seg == kLegV1 || seg == kLegV2;
    if (vertical) g.endDir = s[seg] > 0 ? 1 : 3;
    else g.endDir = s[seg] > 0 ? 2 : 4;
  }
  g.startArr = RouteAtStart(s[kLineRoute]);
  g.endArr = RouteAtEnd(s[kLineRoute]);
  return g;
}

Point ConductorPin(int row, int conductor, bool atEnd, Point at, int arr, int dir, int offset) {
  if (arr != 1 && arr != 2) {
    const auto off = nodes::LineEndOffDrawing(row, conductor, atEnd);
    return {off.x, off.y};
  }
  return at + DirectionOffset(offset, dir);
}

void LineNode(NodeRow& node, int code, int row) {
  node[kNodeCode] = code;
  node[kLineLength] = NetObjects[row][kInst];
  node[kLineCable] = NetObjects[row][kStyle];
  node[kNodeObject] = row;
  node[kNodeMaxLevel] = kNoLimit;
}

int BuildLine(int row, int k) {
  const int kind = NetObjects[row][kKind];
  const int span = ObjectRowCount(row);
  const LineGeometry g = LineShape(row, span);
  const int orient = NetObjects[row][kOrient];
  const int m = TerrestrialSources();

  if (kind == 203 || kind == 205) {
    EnsureNodeRows(static_cast<std::size_t>(k + (kind == 205 ? 5 : 1)));
    ResetNode(k);
    LineNode(Nodes[k], kind == 203 ? kCodeSingleLine : kCodeFibre, row);
    SetPins(Nodes[k], g.start, g.end);
    if (kind == 203) return k + 1;
    for (int i = 1; i <= 4; ++i) {
      ResetNode(k + i);
      for (int f = kNodeInX; f <= kNodeObject; ++f) Nodes[k + i][f] = Nodes[k][f];
      Nodes[k + i][kNodeCode] = kCodeFibre + i;
    }
    return k + 5;
  }

  const bool five = kind == 201;
  EnsureNodeRows(static_cast<std::size_t>(k + (five ? 5 + m : 4)));
  const auto& table = five ? kTrunk5 : kTrunk4;
  auto offsetAt = [&table](int arr, int b) { return (arr == 1 || arr == 2) ? table[arr - 1][b] : 0; };
  for (int b = 0; b < 4; ++b) {
    ResetNode(k + b);
    NodeRow& node = Nodes[k + b];
    LineNode(node, kCodeTrunkLine, row);
    SetPins(node, ConductorPin(row, b + 1, false, g.start, g.startArr, orient, offsetAt(g.startArr, b)),
            ConductorPin(row, b + 1, true, g.end, g.endArr, g.endDir, offsetAt(g.endArr, b)));
  }
  if (!five) return k + 4;

  ResetNode(k + 4);
  NodeRow& terr = Nodes[k + 4];
  LineNode(terr, kCodeTrunkLine, row);
  SetPins(terr, ConductorPin(row, 5, false, g.start, g.startArr, orient, kTerrConductor),
          ConductorPin(row, 5, true, g.end, g.endArr, g.endDir, kTerrConductor));
  terr[kNodeChainMark] = kChainTerrestrial;
  k += 5;
  for (int s = 1; s <= m; ++s) {
    ResetNode(k);
    NodeRow& rep = Nodes[k];
    LineNode(rep, kCodeTrunkLine, row);
    for (int f = kNodeInX; f <= kNodeOutY; ++f) rep[f] = Nodes[k - 1][f];
    rep[kNodeChainMark] = kChainTerrestrial + s;
    ++k;
  }
  return k;
}

bool TakesPathLoop(int kind) {
  return (kind >= 1 && kind <= 90) || kind == 96 || kind == 97 || (kind >= 101 && kind <= 189);
}

}  // namespace

int BuildNodes(int k) {
  if (k < 0) k = 0;
  for (int row = 0; row < static_cast<int>(NetObjects.size()) && NetObjects[row][kKind] != 0; ++row) {
    const int kind = NetObjects[row][kKind];
    if (kind <= 0) continue;
    if (TakesPathLoop(kind)) k = BuildDevice(row, k);
    else if (kind == 201 || kind == 202 || kind == 203 || kind == 205) k = BuildLine(row, k);
  }
  // Walks stop at the first reset row after the last node; keep one there.
  EnsureNodeRows(static_cast<std::size_t>(k + 1));
  ResetNode(k);
  return k;
}

}  // namespace kavrix

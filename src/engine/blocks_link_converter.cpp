// Link units, channel converters and the modulators' loop-through. The converters are the
// only blocks that write the run's terrestrial plans: their input nodes put the levels of the
// generated channels into the plan's level row, and the generated source (code 605) carries
// them downstream rescaled by the output attenuator.
#include "engine/node_frame.hpp"
#include "engine/tables_link_converter.hpp"
#include "model/number_text.hpp"
#include "model/panel_encodings.hpp"
#include "model/source_tables.hpp"

namespace kavrix::engine {
namespace {

constexpr int kPlanEntries = 65;       // entries the 605 block rewrites, whatever the plan length
constexpr double kSecondOutputDrop = 20.0;
constexpr double kChannelPresent = 40.0;   // input level a converter needs to generate a channel
constexpr double kWindowOverload = 80.0;   // four-input converter refuses inputs at or above this
constexpr int kGeneratedCode = kCodeGorvSource;
constexpr int kSecondOutputCode = kCodeConverterTerr2;

// Level at list position k of a spectrum; a position outside the levels carries no signal.
double LevelAt(const double* sp, int k) { return k >= 0 && k < 100 ? sp[k] : kNoSignal; }

// The plan level row of the object's generated source, or nullptr when the plan index is
// outside the terrestrial spectra.
double* PlanLevels(int objRow) {
  if (!ValidObjRow(objRow) || static_cast<std::size_t>(objRow) >= ObjValues.size()) return nullptr;
  const int64_t r = RoundHalfEven(ObjValues[static_cast<std::size_t>(objRow)][kObjPlanRow]);
  if (r < 0 || r + 1 >= static_cast<int64_t>(TerrSpectra.size())) return nullptr;
  return TerrSpectra[static_cast<std::size_t>(r + 1)].data();
}

// The plain interpolation pattern over the call's range: out = in + table + offset.
void Through(const NodeFrame& fr, const Grid& g, const double* col, int stride, double offset) {
  const double* in = fr.input();
  double* out = fr.spectrum(1);
  for (int k = fr.kFirst; k <= fr.kLast; ++k) {
    const double f = FreqList[k];
    const int i = Segment(g, k);
    if (i < 0) continue;
    out[k] = in[k] + InterpColumn(g, i, f, col, stride) + offset;
  }
}

void LinkUnitBlock(const NodeFrame& fr) {
  const auto* t = tables::LinkUnitTable(fr.category);
  if (t) Through(fr, FreqGridRow(8), t->data(), 1, 0.0);
}

void ModulatorBlock(const NodeFrame& fr) { Through(fr, FreqGridRow(1), tables::kModulatorThrough.data(), 1, 0.0); }

// Generated source of the 16-channel converter: the plan levels, lowered by the output
// attenuator in half-dB steps, and a copy 20 dB lower on the converter's second output.
void GeneratedSourceBlock(const NodeFrame& fr) {
  if (fr.code != kGeneratedCode) return;
  const NodeRow& me = *fr.row;
  const int s = me[kNodeStep];
  if (s >= 1000) return;
  const int objRow = me[kNodeObject];
  const double* plan = PlanLevels(objRow);
  if (!plan) return;
  double* out = fr.spectrum(1);
  for (int e = 0; e < kPlanEntries; ++e) out[e] = s / 2.0 + plan[e];

  for (std::size_t n = static_cast<std::size_t>(fr.node) + 1; n < Nodes.size(); ++n) {
    const NodeRow& p = Nodes[n];
    if (p[kNodeCode] == 0) return;
    if (p[kNodeCode] != kSecondOutputCode || p[kNodeObject] != objRow || (p[kNodeSourceId] != 0 && p[kNodeSourceId] != me[kNodeSourceId])) continue;
    const int64_t r = RoundHalfEven(ObjValues[static_cast<std::size_t>(objRow)][kObjPlanRow]);
    Nodes[n][kNodeSourceId] = static_cast<int32_t>(RoundHalfEven(r / 2.0 + kGeneratedIdBase));
    double* pout = NodeSpectra.at(n, 1);
    for (int e = 0; e < kPlanEntries; ++e) pout[e] = out[e] - kSecondOutputDrop;
    return;
  }
}

// Input line and oscillator field of each satellite input path of the 16-channel converter.
struct ConverterInput {
  int line;
  int oscField;  // 1 Lo, 2 Hi, 3 Aux
};
bool InputOfPath(int path, ConverterInput& in) {
  switch (path) {
    case 1: in = {1, 1}; return true;
    case 2: in = {3, 2}; return true;
    case 3: in = {0, 1}; return true;
    case 4: in = {2, 2}; return true;
    case 6: in = {5, 3}; return true;
    case 8: in = {4, 3}; return true;
    default: return false;
  }
}

// Channel levels of one satellite input of the 16-channel converter: every enabled channel
// taken from this line whose transponder arrives above 40 dBuV gets its level in the plan.
void ConverterChannelLevels(const NodeFrame& fr, const ConverterInput& line) {
  const NodeRow& me = *fr.row;
  // The run keeps these nodes at the neutral setting; any other setting defines no level.
  if (me[kNodeStep] <= 100000) return;
  const int objRow = me[kNodeObject];
  double* plan = PlanLevels(objRow);
  panel::ConverterOscillators osc;
  if (!plan || !panel::ReadConverterOscillators(objRow, osc)) return;
  const int32_t lo = line.oscField == 1 ? osc.lo : line.oscField == 2 ? osc.hi : osc.aux;
  const double* in = fr.input();
  int rank = 0;
  for (int j = 1; j <= panel::kConverterChannels; ++j) {
    panel::ConverterChannel ch;
    if (!panel::ReadConverterChannel(objRow, j, ch)) return;
    const int e = rank;
    if (ch.enabled) ++rank;
    if (ch.inputLine != line.line) continue;
    const double x = static_cast<double>(ch.inputMHz) - lo;
    int k = 1;
    while (k < 100 && x > FreqList[k] && FreqList[k] > 0) ++k;
    k -= 1;
    if (ch.enabled && LevelAt(in, k) > kChannelPresent) {
      plan[4 * e + 1] = ch.level();
      plan[4 * e + 2] = ch.level();
    }
  }
}

void Converter16Block(const NodeFrame& fr) {
  if (fr.path == kTerrestrialPath) {
    // Group 0 is the main output, group 1 the second output 20 dB below it.
    if (fr.group <= 1)
      Through(fr, FreqGridRow(1), tables::kConverter16Through.data(), 1, fr.group == 0 ? 0.0 : -kSecondOutputDrop);
    return;
  }
  ConverterInput line;
  if (InputOfPath(fr.path, line)) ConverterChannelLevels(fr, line);
}

// Four-input converter: each input window whose edges arrive between 40 and 80 dBuV lights
// its output channel; the window edges also give the input's level extremes.
void Converter4Windows(const NodeFrame& fr) {
  const int objRow = (*fr.row)[kNodeObject];
  // A plan index outside the terrestrial spectra only drops the channel levels: the input
  // extremes do not depend on it.
  double* plan = PlanLevels(objRow);
  panel::FourChannelConverter cv;
  if (!panel::ReadFourChannelConverter(objRow, cv)) return;
  double* in = fr.spectrum(0);
  const double h = cv.outBandwidthTenths / 20.0;
  double mn = 1000.0;
  double mx = -1000000.0;
  for (int c = 0; c < 4; ++c) {
    const double centre = cv.inCentreTenths[static_cast<std::size_t>(c)] / 10.0;
    int k = 1;
    while (k < 100 && FreqList[k] < centre - h && FreqList[k] > 0) ++k;
    const int lo = k - 1;
    k = lo;
    while (k < 100 && FreqList[k] < centre + h && FreqList[k] > 0) ++k;
    const int hi = k;
    const double vlo = LevelAt(in, lo);
    const double vhi = LevelAt(in, hi);
    auto inWindow = [](double v) { return v > kChannelPresent && v < kWindowOverload; };
    if (plan && inWindow(vlo) && inWindow(vhi)) {
      plan[1 + c] = cv.outputLevel();
      if (c == 3) plan[5] = cv.outputLevel();
    }
    for (double v : {vlo, vhi}) {
      if (v > 0 && v < mn) mn = v;
      if (v > mx) mx = v;
    }
  }
  if (mn < 1000) in[kSpectrumMin] = mn;
  if (mx > -100000) in[kSpectrumMax] = mx;
}

void Converter4Block(const NodeFrame& fr) {
  if (fr.group == 0 && FreqList[0] > 0) Converter4Windows(fr);
  if (fr.group > 1) return;
  Through(fr, FreqGridRow(1), tables::kConverter4Through[0].data() + fr.group, 2, 0.0);
}

}  // namespace

void RegisterLinkConverterBlocks(BlockTable& t) {
  // The generated source writes its second output; the converters read and write their plan.
  t.set(0, GeneratedSourceBlock, Reach::OtherNodes);
  t.set(58, LinkUnitBlock);
  t.set(59, LinkUnitBlock);
  t.set(60, Converter16Block, Reach::OtherNodes);
  t.set(61, Converter4Block, Reach::OtherNodes);
  t.set(96, ModulatorBlock);
  t.set(97, ModulatorBlock);
}

}  // namespace kavrix::engine

// Coaxial and fibre lines, optical transmitters, receivers, splitters and attenuators.
// An optical link carries the RF spectrum (entries 0..99) and, in entry 100, the optical level in
// dBm; the wavelength travels in node field 28 and the transmitter's drive shortfall in entry
// 100 of spectrum 2. The propagation pass carries those three from node to node.
#include <cmath>

#include "engine/node_frame.hpp"
#include "engine/optical_cable.hpp"
#include "model/source_tables.hpp"

namespace kavrix::engine {

namespace {

using namespace optics;

double CoaxCoef(int kind) { return ValidCableKind(kind) ? CableCoef[kind] : 0.0; }

void CoaxLine(const NodeFrame& fr) {
  const double c = CoaxCoef(fr.field(kLineCable));
  const double len = fr.field(kLineLength);
  const double* in = fr.input();
  double* out = fr.spectrum(1);
  if (fr.field(kNodeChainMark) == kChainBandGrid) {
    double loss[7];
    for (int j = 0; j < 7; ++j) loss[j] = kCableGridRootF[j] * c * len;
    for (int k = 0; k < 28; ++k) out[k] = in[k] - loss[k % 7];
    return;
  }
  // The whole leading run, whatever position was asked for; entry 100 is the optical level.
  for (int k = 0; k < 100 && FreqList[k] > 0; ++k) out[k] = in[k] - RootFreqGHz(k) * c * len;
}

void FibreLine(const NodeFrame& fr) {
  const double* in = fr.input();
  double* out = fr.spectrum(1);
  for (int k = 0; k < 100; ++k) out[k] = in[k];
  const int kind = fr.field(kLineCable);
  const double len = fr.field(kLineLength);
  int column;
  switch (fr.field(kNodeWavelength)) {
    case kWavelength1550: column = 0; break;
    case kWavelength1310: column = 1; break;
    default: return;  // not lit yet: no optical level to lower
  }
  const double att = ValidCableKind(kind) ? FiberAtt[kind][column] : 0.0;
  out[kSpectrumOptical] = in[kSpectrumOptical] - att / 1000.0 * len - kFibreConnectionLoss;
}

void LineRules(const NodeFrame& fr) {
  if (fr.code == kCodeTrunkLine || fr.code == kCodeSingleLine)
    CoaxLine(fr);
  else if (fr.code / 100 == kCodeFibre / 100)
    FibreLine(fr);
}

void Transmitter(const NodeFrame& fr) {
  const Grid g = DualBandGrid(fr);
  const double* in = fr.input();
  double* out = fr.spectrum(1);
  double& drive = fr.spectrum(2)[kSpectrumOptical];
  const double top = g.pts[g.last] + 1;
  drive = 0.0;  // first the linear power sum, then the shortfall
  for (int k = fr.kFirst; k <= fr.kLast; ++k) {
    const double f = FreqList[k];
    if (f < g.pts[0]) continue;
    if (f < top && in[k] > kTxThreshold) out[k] = in[k];
    if (in[k] < kTxThreshold) out[k] = kTxMuted;
    if (in[k] > kTxMuted) drive += std::pow(10.0, in[k] / 10.0);
  }
  const double sum = drive;
  const double total = sum > 0.0 ? 10.0 * std::log10(sum) : 0.0;
  fr.spectrum(3)[kSpectrumOptical] = total;
  NodeRow& row = *fr.row;
  if (fr.path >= 1 && fr.path <= 4) {
    out[kSpectrumOptical] = kTxOpticalOut;
    row[kNodeWavelength] = kWavelength1310;
    drive = total < kFullDriveSat ? total - kFullDriveSat : 0.0;
  } else if (fr.path == kTerrestrialPath) {
    // The drive of the terrestrial input is the power of every terrestrial carrier fed in
    // during the run, so the accumulated sum decides whether it falls short.
    double accumulated = sum;
    const int obj = row[kNodeObject];
    if (obj >= 0 && static_cast<std::size_t>(obj) < ObjValues.size()) {
      ObjValues[obj][kObjValueSum] += sum;
      accumulated = ObjValues[obj][kObjValueSum];
    }
    const double accumulatedDb = accumulated > 0.0 ? 10.0 * std::log10(accumulated) : 0.0;
    out[kSpectrumOptical] = kTxOpticalOut;
    row[kNodeWavelength] = kWavelength1550;
    drive = accumulatedDb < kFullDriveTerr ? total - kFullDriveTerr : 0.0;
  }
}

// Upper band edge (exclusive) of a receiver path; 0 for a path it does not serve.
double ReceiverTop(int category, int path) {
  if (category == 143) return path == 5 ? 791.0 : (path >= 1 && path <= 4 ? 2151.0 : 0.0);
  switch (path) {
    case 1:
    case 3: return 1951.0;
    case 2:
    case 4: return 2151.0;
    case 5: return category == 142 ? 863.0 : 791.0;
    default: return 0.0;
  }
}

// Writes one receiver output from the input, the mean, the carried shortfall and the corrections,
// term by term in the order of the rule so results do not depend on regrouping.
struct ReceiverTerms {
  double reference = 0.0;
  double avg = 0.0;
  double shortfall = 0.0;
  bool satTerm = false;
  double satCount = 0.0;  // 14 - 10 log10(n)
  bool terrTerm = false;
  double terrCount = 0.0;  // 10 log10(carriers)
  double terrSetting = 0.0;
  double p = 0.0;

  double apply(double in) const {
    double v = in - avg + reference + shortfall;
    if (satTerm) v += satCount;
    if (terrTerm) {
      v -= terrCount;
      v += terrSetting;
    }
    if (p < kRxLowKnee) v += kRxKneeSlope * (-kRxLowKnee + p);
    if (p > kRxHighKnee) v -= kRxKneeSlope * (-kRxHighKnee + p);
    return v;
  }
};

ReceiverTerms TermsOf(const NodeFrame& fr, double reference, double avg, double p) {
  ReceiverTerms t;
  t.reference = reference;
  t.avg = avg;
  t.shortfall = fr.spectrum(2)[kSpectrumOptical];
  t.p = p;
  if (fr.path >= 1 && fr.path <= 4) {
    const int id = fr.sourceId();
    const int slot = SatSlotOf(id);
    const int band = BandOf(id);
    // A terrestrial id on these paths names no LNB band.
    if (id > 0 && id < kSatIdLimit && ValidSatSlot(slot) && band >= 1 && band <= 4) {
      const int n = LnbParams[slot][band - 1][kLnbCarriers];
      if (n > 0) {
        t.satTerm = true;
        t.satCount = kSatPerCarrierBase - 10.0 * std::log10(static_cast<double>(n));
      }
    }
  } else if (fr.path == kTerrestrialPath) {
    const int tx = fr.field(kNodeTransmitter);
    if (ValidNode(tx)) {
      const NodeRow& txRow = Nodes[static_cast<std::size_t>(tx)];
      if (txRow[kNodeCarriers] > 0) {
        t.terrTerm = true;
        t.terrCount = 10.0 * std::log10(static_cast<double>(txRow[kNodeCarriers]));
        t.terrSetting = TerrSettingTerm(txRow[kNodeStep]);
      }
    }
  }
  return t;
}

template <int Category>
void Receiver(const NodeFrame& fr) {
  const Grid g = DualBandGrid(fr);
  const double lo = g.pts[0];
  const double hi = ReceiverTop(Category, fr.path);
  const double* in = fr.input();
  double sum = 0.0;
  int count = 0;
  for (int k = fr.kFirst; k <= fr.kLast; ++k) {
    const double f = FreqList[k];
    if (f >= lo && f < hi && in[k] > kRxMeanFloor) {
      sum += in[k];
      ++count;
    }
  }
  const double avg = count > 0 ? sum / count : 0.0;
  const double p = in[kSpectrumOptical];
  if (!(p > kRxWindowLow && p < kRxWindowHigh)) return;
  const ReceiverTerms terms = TermsOf(fr, Category == 143 ? kRxReference4 : kRxReference1, avg, p);
  const int first = Category == 143 ? 2 : 1;
  const int last = Category == 143 ? 5 : 1;
  for (int s = first; s <= last; ++s) {
    double* out = fr.spectrum(s);
    for (int k = fr.kFirst; k <= fr.kLast; ++k) {
      const double f = FreqList[k];
      if (f >= lo && f < hi) out[k] = terms.apply(in[k]);
    }
  }
}

void OpticalSplitter(const NodeFrame& fr) {
  const double* in = fr.input();
  double* out = fr.spectrum(1);
  for (int k = fr.kFirst; k <= fr.kLast; ++k) out[k] = in[k];
  out[kSpectrumOptical] = in[kSpectrumOptical] - SplitterLoss(fr.category, fr.path);
}

}  // namespace

void RegisterOpticalCableBlocks(BlockTable& t) {
  t.lines = LineRules;
  // Transmitters sum their drive into ObjValues, receivers read their transmitter's node, and
  // every optical node hands its optical level and wavelength on.
  t.set(141, Transmitter, Reach::OtherNodes);
  t.set(144, Transmitter, Reach::OtherNodes);
  t.set(142, Receiver<142>, Reach::OtherNodes);
  t.set(145, Receiver<145>, Reach::OtherNodes);
  t.set(143, Receiver<143>, Reach::OtherNodes);
  for (int c = 154; c <= 159; ++c) t.set(c, OpticalSplitter, Reach::OtherNodes);
}

}  // namespace kavrix::engine

// End-to-end chains through the whole run: every device family is placed between a source and
// an outlet, the run builds, links and computes it, and the outlet level must carry the device's
// own transfer (read back with one CalcNode of the device node on the same frequencies).
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <vector>

#include "catalogue/geometry.hpp"
#include "catalogue/port_templates.hpp"
#include "catalogue/type_catalogue.hpp"
#include "engine/node_frame.hpp"
#include "model/network_model.hpp"
#include "model/run_records.hpp"
#include "model/source_tables.hpp"
#include "simulation/rf_run.hpp"
#include "support/model_guard.hpp"

namespace kavrix {
namespace {

constexpr double kTol = 1e-6;
constexpr int kSatLoss = 2;
constexpr int kTerrLoss = 3;
constexpr double kFibreConnection = 0.2;  // every fibre line

// Pin of a device's path row `path` (port 0 = input, 1 = output, 2..5 = extra ports).
Point DevicePin(int kind, int x, int y, int path, int port) {
  const TypeRecord& t = TypeOf(kind);
  const TemplateRow& r = PortTemplates[static_cast<std::size_t>(t[kFirstTemplateRow] + path)];
  int dx = 0, dy = 0;
  if (port <= 1) {
    dx = r[port == 0 ? kTplInDx : kTplOutDx];
    dy = r[port == 0 ? kTplInDy : kTplOutDy];
  } else {
    const TemplateRow& e = PortTemplates[static_cast<std::size_t>(t[kFirstTemplateRow] + r[kTplExtraRow])];
    dx = e[2 * (port - 2)];
    dy = e[2 * (port - 2) + 1];
  }
  return Point{x, y} + Rotated(1, dx, dy - t[kTerminalShift]);
}

// One single line from `a` to `b` (a vertical then a horizontal stretch).
int AddLine(Point a, Point b, int metres, int cable = 2) {
  const int row = test::AddObject(203, a.x, a.y, metres, 1, cable);
  test::AddContinuation(b.y - a.y, b.x - a.x, 0, 0, 11);
  return row;
}

// A TV socket whose connection point is `p`.
int AddSocket(Point p, int metres, int cable = 1) { return test::AddObject(210, p.x + 25, p.y, metres, 1, cable); }

double CableLoss(double f, int metres, int cable) { return metres * std::sqrt(f / 1000.0) * CableCoef[cable]; }

// The node of the object at `row` with node code `code` that a source reached (terrestrial
// paths have one replica per source; the linked one carries the source id).
int DeviceNode(int row, int code) {
  for (int n = 0; n < static_cast<int>(Nodes.size()) && Nodes[n][kNodeCode] != 0; ++n)
    if (Nodes[n][kNodeObject] == row && Nodes[n][kNodeCode] == code && Nodes[n][kNodeSourceId] > 0) return n;
  return -1;
}

// Output levels of spectrum `s` of node n at list positions 0..count-1.
std::vector<double> Levels(int n, int s, std::size_t count) {
  std::vector<double> v;
  for (std::size_t k = 0; k < count; ++k) v.push_back(NodeSpectra(n, s, static_cast<int>(k)));
  return v;
}

// Transfer of node n into spectrum `s` at list positions 0..freqs-1: one CalcNode with a 0 dB
// input on the source's frequencies.
std::vector<double> Transfer(int n, int s, const std::vector<double>& freqs) {
  std::fill(FreqList.begin(), FreqList.end(), 0.0);
  for (std::size_t k = 0; k < freqs.size(); ++k) FreqList[k] = freqs[k];
  for (int k = 0; k < 100; ++k) NodeSpectra(n, 0, k) = FreqList[k] > 0 ? 0.0 : kNoSignal;
  CalcNode(n, -1);
  std::vector<double> t;
  for (std::size_t k = 0; k < freqs.size(); ++k) t.push_back(NodeSpectra(n, s, static_cast<int>(k)));
  return t;
}

class DeviceChains : public ::testing::Test {
 protected:
  test::TempCurrentDir dir;
  test::FreshModel fresh;
  void SetUp() override {
    CableCoef = {0.0, 0.27, 0.21, 0.18, 0.14, 0.1};
    SatMaxLevel = 80;
    TerrMaxLevel = 90;
    SatSocketLoss = kSatLoss;
    TerrSocketLoss = kTerrLoss;
  }
  // LNB of slot 0; band 1 carries `freqs` at `level`; returns its band-1 output pin.
  Point AddLnb(int x, int y, const std::vector<double>& freqs, int level) {
    test::AddObject(91, x, y, 0, 1, 1);
    for (std::size_t i = 0; i < freqs.size(); ++i) {
      SatCell(0, 0, static_cast<int>(i) + 1) = static_cast<int>(freqs[i]);
      SatCell(0, 1, static_cast<int>(i) + 1) = level;
    }
    LnbParams[0][0][0] = static_cast<int>(freqs.size());
    SatUsed[0] = true;
    return {x - 30, y + 40};
  }
  // Antenna of slot 0 carrying `freqs` at `level`; returns its output pin.
  Point AddAntenna(int x, int y, const std::vector<double>& freqs, int level) {
    test::AddObject(93, x, y, 0, 1, 0);
    for (std::size_t i = 0; i < freqs.size(); ++i) {
      TerrTables[0][0][i] = freqs[i];
      TerrTables[0][1][i] = level;
    }
    TerrParams[0][0] = static_cast<int>(freqs.size());
    TerrUsed[0] = true;
    return {x, y + 90};
  }
  RunOutcome Run() { return RfAnalyze(RunInput{"50", "60"}, RunCallbacks{}); }
};

TEST_F(DeviceChains, SmallMultiswitchOutputFeedsItsSocket) {
  const std::vector<double> f = {1000, 1500, 2000};
  const Point lnb = AddLnb(200, 100, f, 85);
  const int ms = test::AddObject(1, 300, 300, 0, 1, 0);
  AddLine(lnb, DevicePin(1, 300, 300, 0, 0), 10);
  AddSocket(DevicePin(1, 300, 300, 0, 2), 10);
  const RunOutcome out = Run();
  ASSERT_TRUE(out.graphBuilt);
  const int d = DeviceNode(ms, 991001);
  ASSERT_GE(d, 0);
  std::vector<double> outlet;
  for (int k = 0; k < 3; ++k) outlet.push_back(NodeSpectra(d, 2, k) - CableLoss(f[k], 10, 1) - kSatLoss);
  const int status = Links[0][kLinkStatus];
  const std::vector<double> t = Transfer(d, 2, f);
  for (int k = 0; k < 3; ++k) {
    const double want = 85 - CableLoss(f[k], 10, 2) + t[k] - CableLoss(f[k], 10, 1) - kSatLoss;
    EXPECT_NEAR(outlet[k], want, kTol) << f[k];
  }
  EXPECT_EQ(status, 9);
}

TEST_F(DeviceChains, TapBranchAndSplitterAfterItsThroughOutput) {
  const std::vector<double> f = {1000, 1400, 1800, 2100};
  const Point lnb = AddLnb(200, 100, f, 90);
  const int tap = test::AddObject(121, 300, 400, 0, 1, 0);
  const int split = test::AddObject(125, 600, 800, 0, 1, 0);
  AddLine(lnb, DevicePin(121, 300, 400, 0, 0), 10);
  // Path 1: through output (group 0) to the splitter, branch output (group 1) to a socket.
  AddLine(DevicePin(121, 300, 400, 0, 1), DevicePin(125, 600, 800, 0, 0), 15);
  AddLine(DevicePin(121, 300, 400, 5, 1), {500, 420}, 5);
  AddSocket({500, 420}, 8);
  AddLine(DevicePin(125, 600, 800, 0, 1), {480, 1000}, 12);
  AddSocket({480, 1000}, 6);
  ASSERT_TRUE(Run().graphBuilt);
  const int through = DeviceNode(tap, 21001), branch = DeviceNode(tap, 21101), sp = DeviceNode(split, 25001);
  ASSERT_GE(through, 0);
  ASSERT_GE(branch, 0);
  ASSERT_GE(sp, 0);
  const std::vector<double> atBranch = Levels(branch, 1, f.size()), atSplit = Levels(sp, 1, f.size());
  const int branchStatus = Links[0][kLinkStatus], splitStatus = Links[1][kLinkStatus];
  const std::vector<double> tThrough = Transfer(through, 1, f), tBranch = Transfer(branch, 1, f),
                            tSplit = Transfer(sp, 1, f);
  for (std::size_t k = 0; k < f.size(); ++k) {
    const double in = 90 - CableLoss(f[k], 10, 2);
    EXPECT_NEAR(atBranch[k], in + tBranch[k], kTol) << f[k];
    EXPECT_NEAR(atSplit[k], in + tThrough[k] - CableLoss(f[k], 15, 2) + tSplit[k], kTol) << f[k];
    EXPECT_LT(tBranch[k], tThrough[k]) << "a tap branches off less than it passes";
  }
  EXPECT_EQ(branchStatus, 9);
  EXPECT_EQ(splitStatus, 9);
}

TEST_F(DeviceChains, HouseAmplifierOnTheTerrestrialPath) {
  std::vector<double> f;
  for (int i = 0; i < 20; ++i) f.push_back(474 + 20 * i);
  const Point ant = AddAntenna(400, 100, f, 62);
  const int amp = test::AddObject(45, 400, 400, 0, 1, 0);
  test::AddContinuation(0, 0, 0, 0, 0);  // full gain, flat slope
  AddLine(ant, DevicePin(45, 400, 400, 0, 0), 20);
  AddLine(DevicePin(45, 400, 400, 0, 1), {450, 700}, 30);
  AddSocket({450, 700}, 5);
  ASSERT_TRUE(Run().graphBuilt);
  const int d = DeviceNode(amp, 45005);
  ASSERT_GE(d, 0);
  const std::vector<double> at = Levels(d, 1, f.size());
  const int status = Links[0][kLinkStatus];
  const std::vector<double> t = Transfer(d, 1, f);
  double lo = 1e9, hi = -1e9;
  for (std::size_t k = 0; k < f.size(); ++k) {
    EXPECT_GT(t[k], 10.0) << "an amplifier";
    EXPECT_NEAR(at[k], 62 - CableLoss(f[k], 20, 2) + t[k], kTol) << f[k];
    const double outlet = at[k] - CableLoss(f[k], 30, 2) - CableLoss(f[k], 5, 1) - kTerrLoss;
    lo = std::min(lo, outlet);
    hi = std::max(hi, outlet);
  }
  ASSERT_GT(lo, 60.0);
  ASSERT_LT(hi, 90.0);
  EXPECT_EQ(status, 90) << lo << " " << hi;
}

// The two-band house amplifier's VHF and UHF nodes share one output pin, and the chain below it
// hangs on the VHF node. Only the VHF node's output used to go down, so a UHF plan reached the
// outlet as no signal. Every carrier now arrives with the level its own band node computes.
TEST_F(DeviceChains, TwoBandHouseAmplifierSendsBothBandsDown) {
  const std::vector<double> vhf = {178, 194, 210}, uhf = {474, 522, 570}, mixed = {178, 210, 474, 570};
  for (const std::vector<double>* plan : {&vhf, &uhf, &mixed}) {
    const std::vector<double>& f = *plan;
    NewNetworkModel();
    SetUp();
    const Point ant = AddAntenna(400, 100, f, 62);
    const int amp = test::AddObject(43, 400, 400, 0, 1, 0);
    test::AddContinuation(0, 0, 0, 0, 0);  // full gain, flat slope on both bands
    AddLine(ant, DevicePin(43, 400, 400, 0, 0), 20);
    const int down = AddLine(DevicePin(43, 400, 400, 0, 1), {470, 700}, 30);
    AddSocket({470, 700}, 5);
    ASSERT_TRUE(Run().graphBuilt);
    const int line = DeviceNode(down, kCodeSingleLine);
    const int g0 = DeviceNode(amp, 43005), g1 = DeviceNode(amp, 43105);
    ASSERT_GE(line, 0);
    ASSERT_GE(g0, 0);
    ASSERT_GE(g1, 0);
    const std::vector<double> atOutlet = Levels(line, 1, f.size());
    const int terrStatus = TerrStatusOf(Links[0][kLinkStatus]);
    const std::vector<double> tVhf = Transfer(g0, 1, f), tUhf = Transfer(g1, 1, f);
    for (std::size_t k = 0; k < f.size(); ++k) {
      const double gain = f[k] < 300 ? tVhf[k] : tUhf[k];
      EXPECT_GT(gain, 10.0) << f[k] << " MHz: an amplifier";
      EXPECT_NEAR(atOutlet[k], 62 - CableLoss(f[k], 20, 2) + gain - CableLoss(f[k], 30, 2), kTol) << f[k] << " MHz";
    }
    EXPECT_NE(terrStatus, kStatusNone) << "the outlet is judged on the carriers it gets";
  }
}

TEST_F(DeviceChains, AttenuatorAndChannelAmplifierMergeTheChannelIntoThePlan) {
  // A rising plan: 60 dBuV at 474 MHz, one more every 20 MHz.
  std::vector<double> plan;
  for (int i = 0; i < 20; ++i) plan.push_back(474 + 20 * i);
  const Point ant = AddAntenna(400, 100, plan, 0);
  for (int i = 0; i < 20; ++i) TerrTables[0][1][i] = 60 + i;
  const int att = test::AddObject(80, 400, 400, 3, 1, 0);  // Inst: attenuator setting
  const int amp = test::AddObject(81, 600, 700, 0, 1, 0);  // mode 0: 90 dBuV above 60 dBuV in
  test::AddContinuation(41, 0, 6, 0, 0);  // channel 41 (630 MHz) 6 dB below the set level
  AddLine(ant, DevicePin(80, 400, 400, 0, 0), 10);
  AddLine(DevicePin(80, 400, 400, 0, 1), DevicePin(81, 600, 700, 1, 0), 10);
  AddLine(DevicePin(81, 600, 700, 1, 1), {560, 1000}, 10);
  AddSocket({560, 1000}, 5);
  ASSERT_TRUE(Run().graphBuilt);
  // The channel's points replace the antenna's plan (the first terrestrial pair); each takes
  // the level of the last carrier not above it; the rest of the plan is emptied.
  const auto& merged = TerrSpectra[0];
  EXPECT_EQ((std::vector<double>{merged[0], merged[1], merged[2], merged[3], merged[4]}),
            (std::vector<double>{629, 630, 638, 639, 0}));
  const auto& lv = TerrSpectra[1];
  EXPECT_EQ((std::vector<double>{lv[0], lv[1], lv[2], lv[3], lv[4]}), (std::vector<double>{67, 67, 68, 68, -1000}));
  const std::vector<double> f = {629, 630, 638, 639};
  const int a = DeviceNode(att, 80005), c = DeviceNode(amp, 81105);
  ASSERT_GE(a, 0);
  ASSERT_GE(c, 0);
  const std::vector<double> atAtt = Levels(a, 1, f.size()), atAmp = Levels(c, 1, f.size());
  const int status = Links[0][kLinkStatus];
  const std::vector<double> tAtt = Transfer(a, 1, f);
  for (std::size_t k = 0; k < f.size(); ++k) {
    EXPECT_LT(tAtt[k], 0.0);
    const double in = lv[k] - CableLoss(f[k], 10, 2) + tAtt[k];
    EXPECT_NEAR(atAtt[k], in, kTol) << f[k];
    EXPECT_GT(in - CableLoss(f[k], 10, 2), 60.0) << "above the channel stage's threshold";
    // Inside the channel window the stage puts out its set level less the reduction.
    const bool inside = f[k] >= 630 && f[k] <= 638;
    EXPECT_EQ(atAmp[k], inside ? 90.0 - 6.0 : -1000.0) << f[k];
  }
  // Outlet: 84 - 10 m and 5 m of cable - 3 dB, inside 60..90 on both carriers.
  EXPECT_EQ(status, 90);
}

TEST_F(DeviceChains, LineAmplifierAndJSplitter) {
  const std::vector<double> f = {1000, 1500, 2000};
  const Point lnb = AddLnb(200, 100, f, 60);
  const int amp = test::AddObject(101, 400, 400, 0, 1, 0);
  test::AddContinuation(0, 0, 0, 0, 0);  // gain steps
  test::AddContinuation(0, 0, 0, 0, 0);  // slopes
  const int js = test::AddObject(126, 500, 800, 0, 1, 0);
  AddLine(lnb, DevicePin(101, 400, 400, 0, 0), 10);
  AddLine(DevicePin(101, 400, 400, 0, 1), DevicePin(126, 500, 800, 0, 0), 30);
  AddLine(DevicePin(126, 500, 800, 0, 1), {450, 1000}, 10);
  AddSocket({450, 1000}, 5);
  ASSERT_TRUE(Run().graphBuilt);
  const int a = DeviceNode(amp, 101001), j = DeviceNode(js, 126099);
  ASSERT_GE(a, 0);
  ASSERT_GE(j, 0);
  const std::vector<double> at = Levels(j, 1, f.size());
  const int status = Links[0][kLinkStatus];
  const std::vector<double> tAmp = Transfer(a, 1, f), tSplit = Transfer(j, 1, f);
  for (std::size_t k = 0; k < f.size(); ++k) {
    const double want = 60 - CableLoss(f[k], 10, 2) + tAmp[k] - CableLoss(f[k], 30, 2) + tSplit[k];
    EXPECT_NEAR(at[k], want, kTol) << f[k];
    EXPECT_GT(tAmp[k], 10.0) << "an amplifier";
    EXPECT_LT(tSplit[k], 0.0) << "a splitter";
  }
  // Outlet 64.4 .. 59.4 dBuV: inside 50..80.
  EXPECT_EQ(status, 9);
}

TEST_F(DeviceChains, ChannelConverterGeneratesAChannelForItsSocket) {
  const std::vector<double> f = {1000, 1500, 2000};
  const Point lnb = AddLnb(200, 100, f, 70);
  test::AddObject(60, 500, 500, 4, 1, 0);  // Inst 4: 2 dB below the set levels
  // Channel row 1: enabled, level setting 10 (93 - 5 dBuV), line "H,Lo", transponder 11250 MHz
  // (IF 1500 with the 9750 MHz oscillator), output centre 626.0 MHz. Rows 2..16 disabled.
  test::AddContinuation(10, 1, 11250, 6260, 0);
  for (int r = 2; r <= 16; ++r) test::AddContinuation(0, 0, 0, 0, 0, -2);
  test::AddContinuation(9750, 10600, 0, 0, 0);  // oscillators
  AddLine(lnb, DevicePin(60, 500, 500, 0, 0), 10);
  const Point out{560, 560};  // the generated channels' output
  AddLine(out, {600, 800}, 10);
  AddSocket({600, 800}, 5);
  ASSERT_TRUE(Run().graphBuilt);
  int gen = -1;
  for (int n = 0; n < static_cast<int>(Nodes.size()) && Nodes[n][kNodeCode] != 0; ++n)
    if (Nodes[n][kNodeCode] == 605) gen = n;
  ASSERT_GE(gen, 0);
  const int pair = 2 * (Nodes[gen][kNodeSourceId] - 205);
  ASSERT_GE(pair, 0);
  EXPECT_EQ((std::vector<double>{TerrSpectra[pair][0], TerrSpectra[pair][1], TerrSpectra[pair][2], TerrSpectra[pair][3]}),
            (std::vector<double>{622, 622.1, 629.9, 630}));
  // The LNB's pass wrote the channel's level into the plan; the generated source takes Inst/2 off.
  EXPECT_EQ(TerrSpectra[pair + 1][1], 88.0);
  EXPECT_EQ(TerrSpectra[pair + 1][2], 88.0);
  EXPECT_EQ(TerrSpectra[pair + 1][0], -1000.0);
  double lo = 1e9, hi = -1e9;
  for (int k = 1; k <= 2; ++k) {
    const double fk = TerrSpectra[pair][k];
    EXPECT_NEAR(NodeSpectra(gen, 1, k), 88.0 - 2.0, kTol);
    const double outlet = 86.0 - CableLoss(fk, 10, 2) - CableLoss(fk, 5, 1) - kTerrLoss;
    lo = std::min(lo, outlet);
    hi = std::max(hi, outlet);
  }
  ASSERT_GT(lo, 60.0);
  ASSERT_LT(hi, 90.0);
  EXPECT_EQ(Links[0][kLinkStatus], 90);
}

TEST_F(DeviceChains, OpticalTransmitterFibreReceiverToASocket) {
  const std::vector<double> f = {1000, 1400, 1900};  // inside the receiver band of path 1
  const Point lnb = AddLnb(200, 100, f, 80);
  const int tx = test::AddObject(141, 400, 400, 0, 1, 0);
  const int rx = test::AddObject(142, 800, 800, 0, 1, 0);
  AddLine(lnb, DevicePin(141, 400, 400, 0, 0), 10);
  // 30 km of fibre type 1 brings the transmitter's light into the receiver's window (-20..0 dBm).
  const Point tout = DevicePin(141, 400, 400, 0, 1), rin = DevicePin(142, 800, 800, 0, 0);
  test::AddObject(205, tout.x, tout.y, 30000, 1, 1);
  test::AddContinuation(rin.y - tout.y, rin.x - tout.x, 0, 0, 11);
  AddLine(DevicePin(142, 800, 800, 0, 1), {790, 1000}, 10);
  AddSocket({790, 1000}, 5);
  ASSERT_TRUE(Run().graphBuilt);
  const int t = DeviceNode(tx, 141001), r = DeviceNode(rx, 142001);
  ASSERT_GE(t, 0);
  ASSERT_GE(r, 0);
  const double att = Nodes[r][kNodeWavelength] == -1310 ? FiberAtt[1][1] : FiberAtt[1][0];
  ASSERT_TRUE(Nodes[r][kNodeWavelength] == -1310 || Nodes[r][kNodeWavelength] == -1550) << "the wavelength travels with the light";
  EXPECT_NEAR(NodeSpectra(r, 0, 100), NodeSpectra(t, 1, 100) - 30 * att - kFibreConnection, kTol);
  ASSERT_GT(NodeSpectra(r, 0, 100), -20.0);
  ASSERT_LT(NodeSpectra(r, 0, 100), 0.0);
  // Three carriers of about 78 dBuV make a total input inside the transmitter's 20 dB window:
  // no mark at its input.
  const Point tin = DevicePin(141, 400, 400, 0, 0);
  for (const LevelMark& m : LevelMarks)
    EXPECT_FALSE(m.Kind != 0 && m.X == tin.x && m.Y == tin.y) << "mark " << m.Kind << " at the transmitter's input";
  const std::vector<double> at = Levels(r, 1, f.size());
  // The receiver's RF output, recomputed from its own input, reaches the outlet over the line.
  CalcNode(r, -1);
  double lo = 1e9, hi = -1e9;
  for (std::size_t k = 0; k < f.size(); ++k) {
    EXPECT_EQ(at[k], NodeSpectra(r, 1, static_cast<int>(k))) << f[k];
    EXPECT_GT(at[k], 40.0) << f[k];
    const double outlet = at[k] - CableLoss(f[k], 10, 2) - CableLoss(f[k], 5, 1) - kSatLoss;
    lo = std::min(lo, outlet);
    hi = std::max(hi, outlet);
  }
  // The receiver puts out 80 dBuV and more: above the 80 dBuV maximum by less than 5 dB.
  ASSERT_GT(lo, 50.0);
  ASSERT_GT(hi, 80.0);
  ASSERT_LT(hi, 85.0);
  EXPECT_EQ(Links[0][kLinkStatus], 3);
}

}  // namespace
}  // namespace kavrix

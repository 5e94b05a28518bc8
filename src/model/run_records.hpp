#pragma once
// Names for the records a run fills: the 29 fields of a `Nodes` row with the node codes, chain
// marks and source ids they hold, the eight fields of a `Links` row with the outlet status
// digits, and the kinds of a level mark. Everything that reads these records uses the names;
// the numbers appear only here.
#include <cstdint>

#include "model/network_model.hpp"

namespace kavrix {

// ---- node fields

// Field indices of a `Nodes` row. Some fields mean something else on some roles of node; the
// constants after the enumeration name those readings.
enum NodeField : int {
  kNodeCode = 0,          // kind x 1000 + group x 100 + path; sources and lines have own codes
  kNodeInX = 1,           // input pin
  kNodeInY = 2,
  kNodeOutX = 3,          // output pin
  kNodeOutY = 4,
  kNodePort2X = 5,        // pins of ports 2..5
  kNodePort2Y = 6,
  kNodePort3X = 7,
  kNodePort3Y = 8,
  kNodePort4X = 9,
  kNodePort4Y = 10,
  kNodePort5X = 11,
  kNodePort5Y = 12,
  kNodeMaxLevel = 13,     // maximum output level in dBuV, kNoLimit = none
  kNodeSourceId = 14,     // source id carried, 0 = none
  kNodeNext = 15,         // downstream pointer: next node, -(next branch start) or kChainEnd
  kNodeStep = 16,         // gain or attenuation step, kNoLimit = none
  kNodeSetting = 17,      // second setting (slope or output attenuation), kNoLimit = none
  kNodeObject = 18,       // object row in NetObjects
  kNodePort2Link = 19,    // ports 2..5: kNoPort, kPortFree, a Links row, or a negated limit
  kNodePort3Link = 20,
  kNodePort4Link = 21,
  kNodePort5Link = 22,
  kNodeTransmitter = 23,  // optical receiver: the transmitter node that feeds it
  kNodeLeader = 24,       // chain leader during Tune
  kNodeChainMark = 25,    // see the chain marks below
  kNodeControlRow = 26,   // the path's control row in PortTemplates, 0 = none
  kNodeCarriers = 27,     // optical transmitter: terrestrial carriers fed into it
  kNodeWavelength = 28,   // optical wavelength
};
static_assert(kNodeWavelength + 1 == kNodeFields);

// Other readings of the same fields.
constexpr int kLineLength = kNodePort2X;        // line conductor: length in m
constexpr int kLineCable = kNodePort3X;         // line conductor: cable or fibre kind 1..5
constexpr int kAntennaSlot = kNodePort2Y;       // antenna source: its terrestrial slot
constexpr int kSourceDerating = kNodeMaxLevel;  // source: multi-carrier derating in dB
constexpr int kSourceChannelAmps = kNodePort4X; // source: three fields noting channel amplifier kinds
constexpr int kCascadeId = kNodeLeader;         // structure optimisation: feeding member, row + 1

// Values of the pointer and link fields.
constexpr int kChainEnd = 1000000;  // kNodeNext at the end of a chain
constexpr int kNoPort = -1;         // port link: the path has no such port
constexpr int kPortFree = -2;       // port link: present and not linked; below it a negated limit

// A node row as a new or reset node has it: no limit, no settings, no ports.
constexpr NodeRow ResetNodeRow() {
  NodeRow r{};
  r[kNodeMaxLevel] = r[kNodeStep] = r[kNodeSetting] = kNoLimit;
  for (int f = kNodePort2Link; f <= kNodePort5Link; ++f) r[f] = kNoPort;
  return r;
}

// Node n's row and its spectrum s (0 input, 1 output, 2..5 ports), for code that walks node
// indices; callers keep n inside Nodes.
inline NodeRow& NodeAt(int n) { return Nodes[static_cast<std::size_t>(n)]; }
inline double* SpectrumAt(int n, int s) { return NodeSpectra.at(static_cast<std::size_t>(n), s); }
// Read-only view of the same spectrum, for code that only looks; `SpectrumPeek` for sweeps
// that read many nodes once.
inline const double* SpectrumRead(int n, int s) { return NodeSpectra.read(static_cast<std::size_t>(n), s); }
inline const double* SpectrumPeek(int n, int s) { return NodeSpectra.peek(static_cast<std::size_t>(n), s); }

// Pin q of a node: 0 input, 1 output, 2..5 ports 2..5. The Y field follows the X field.
constexpr int PinX(int q) { return kNodeInX + 2 * q; }
constexpr int PinY(int q) { return PinX(q) + 1; }
// Pin qa of node a and pin qb of node b lie at one point.
inline bool PinsMeet(const NodeRow& a, int qa, const NodeRow& b, int qb) {
  return a[PinX(qa)] == b[PinX(qb)] && a[PinY(qa)] == b[PinY(qb)];
}
// `from` feeds `to`: from's output pin is to's input pin.
inline bool Feeds(const NodeRow& from, const NodeRow& to) { return PinsMeet(from, 1, to, 0); }
// Link field of port p = 2..5.
constexpr int PortLink(int p) { return kNodePort2Link + p - 2; }
static_assert(PinX(1) == kNodeOutX && PinY(5) == kNodePort5Y && PortLink(5) == kNodePort5Link);

// ---- node codes

constexpr int CodeCategory(int code) { return code / 1000; }
constexpr int CodeGroup(int code) { return (code % 1000) / 100; }
constexpr int CodePath(int code) { return code % 100; }
// The run's own tests look at the last digit only.
constexpr int CodeDigit(int code) { return code % 10; }
constexpr int kTerrestrialPath = 5;  // path (and last digit) of a terrestrial path
// Group 1's terrestrial path: the channel amplifier's branch node.
constexpr bool IsGroup1Terrestrial(int code) { return CodeGroup(code) == 1 && CodePath(code) == kTerrestrialPath; }

// Source nodes.
constexpr int kCodeLnbBand = 910;       // + band 1..4
constexpr int kCodeAntenna = 925;
constexpr int kCodeBavkSource = 965;    // modulator with two channels
constexpr int kCodeZirnSource = 975;    // modulator with one channel
constexpr int kCodeGorvSource = 605;    // channel converter's generated channels
constexpr int kCodeFemoSource = 615;    // streamer's generated channels
// Line conductors.
constexpr int kCodeTrunkLine = 20100;   // every conductor of a 5x or 4x trunk line
constexpr int kCodeSingleLine = 20300;
constexpr int kCodeFibre = 20500;       // and its four companions 20501..20504
constexpr bool IsLineCode(int code) { return code > 20099 && code < 20599; }
// Devices the run treats apart.
constexpr int kCodeSatLinkUnit = 58000;     // Cerl1
constexpr int kCodeTerrLinkUnit = 59005;    // Dulm1
constexpr int kCodeConverterInput = 60000;  // Gorv1: 60001..60004 are its inputs,
constexpr int kCodeConverterTerr = 60005;   // its terrestrial loop-through
constexpr int kCodeConverterTerr2 = 60105;  // and the loop-through to its second output
constexpr int kCodeStreamerInput = 61005;   // Femo1: terrestrial input, group 0 and group 1
constexpr int kCodeStreamerTerr2 = 61105;
constexpr int kCodePassThrough = 108099;    // the chain below it is marked kChainPassThrough
constexpr int kCodePassThrough2 = 108299;   // the same path to the output 20 dB lower
constexpr int kCodePassThrough3 = 109099;
constexpr int kCodeGlimTerrFirst = 183101;  // Glim3 terrestrial paths lie in 183101..183899
constexpr int kCodeGlimTerrLast = 183899;
constexpr int kCodeOpticalTxTerr = 141005;  // Hesk1 terrestrial path, judged on its port 3
constexpr bool IsLinkUnitCode(int code) { return code == kCodeSatLinkUnit || code == kCodeTerrLinkUnit; }
// The two-path line amplifier's satellite paths, to either output: the chain below each is doubled,
// one copy for the satellite path and one for the terrestrial path that shares the output.
constexpr bool StartsPassThroughChain(int code) { return code == kCodePassThrough || code == kCodePassThrough2; }

// ---- chain marks (kNodeChainMark)

constexpr int kChainPassThrough = 48;  // below a pass-through node
constexpr int kChainSingleCable = 49;  // single-cable output chain (mode digit '1')
constexpr int kChainBandGrid = 50;     // mode '0' output chain, spectra on the 28-point band grid
constexpr int kChainTerrestrial = 105; // terrestrial path; 105 + s its replica for source s

// ---- source ids (kNodeSourceId)

// Satellite: 10 x LNB slot + band 1..4; terrestrial: 105 + index; generated channels: 205 + index.
constexpr int kSatIdLimit = 100;     // satellite ids lie below
constexpr int kLnbIdLimit = 50;      // ids of the four LNB slots lie below
constexpr int kTerrIdBase = 105;
constexpr int kGeneratedIdBase = 205;
constexpr int kPassThroughId = 100;  // the unmarked copy of a node doubled below a pass-through node
// A node's source id names a source: not none, not the pass-through copy that no source feeds.
constexpr bool NamesSource(int id) { return id > 0 && id != kPassThroughId; }

constexpr int SatSourceId(int slot, int band) { return 10 * slot + band; }
constexpr int SatSlotOf(int id) { return id / 10; }
constexpr int BandOf(int id) { return id % 10; }
// Row pair of TerrSpectra that a terrestrial or generated id reads (2p frequencies, 2p + 1
// levels), or -1 when the id names none.
constexpr int TerrPairOf(int id) {
  const int p = id >= kGeneratedIdBase ? id - kGeneratedIdBase : id - kTerrIdBase;
  return (id >= kTerrIdBase && p >= 0 && p < kTerrSourceMax) ? p : -1;
}
// Index of a terrestrial id's passage flag (SourcePassed), -1 outside.
constexpr int PassageIndex(int id) {
  const int i = id - kTerrIdBase;
  return i >= 0 && i < kTerrSourceMax ? i : -1;
}
static_assert(TerrPairOf(105) == 0 && TerrPairOf(207) == 2 && TerrPairOf(104) == -1 && TerrPairOf(116) == -1);

// ---- socket links and level marks

// Field indices of a `Links` row.
enum LinkField : int {
  kLinkStatus = 0,  // units digit SAT status, tens digit terrestrial status
  kLinkX = 1,       // the socket's connection point
  kLinkY = 2,
  kLinkSatX = 3,    // marker end A (SAT status)
  kLinkSatY = 4,
  kLinkTerrX = 5,   // marker end B (terrestrial status)
  kLinkTerrY = 6,
  kLinkObject = 7,  // object row of the socket
};

// One status digit of an outlet.
enum OutletStatus : int {
  kStatusNone = 0,
  kStatusOver10 = 1,       // above the maximum by more than 10
  kStatusOver5 = 2,        // by 5 to 10
  kStatusOver = 3,         // by up to 5
  kStatusOverAndUnder = 4, // by up to 5 while the minimum is missed by up to 5
  kStatusUnder = 5,        // below the minimum by up to 5
  kStatusUnder5 = 6,       // by 5 to 10
  kStatusUnder10 = 7,      // by more than 10, or a SAT path without signal feeds the socket
  kStatusWithin = 9,
};
constexpr int kTerrStatusScale = 10;  // the terrestrial digit is the tens digit
constexpr int SatStatusOf(int status) { return status % kTerrStatusScale; }
constexpr int TerrStatusOf(int status) { return status / kTerrStatusScale % kTerrStatusScale; }

// LevelMark::Kind.
constexpr int kLevelBelowMin = 1;
constexpr int kLevelAboveMax = 2;

}  // namespace kavrix

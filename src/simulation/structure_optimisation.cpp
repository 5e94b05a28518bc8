#include "simulation/structure_optimisation.hpp"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdlib>
#include <vector>

#include "model/committed_drawing.hpp"
#include "catalogue/type_catalogue.hpp"
#include "engine/propagation.hpp"
#include "model/network_model.hpp"
#include "model/run_records.hpp"
#include "model/source_tables.hpp"
#include "model/undo_ring.hpp"

namespace kavrix {

namespace optimisation {

int CommittedKind(int kind, int variant) {
  if (variant < 1 || variant > 4) return 0;
  if (kind >= 1 && kind <= 4) return variant;
  if (kind >= 5 && kind <= 8) return variant + 4;
  if (kind >= 21 && kind <= 24) return 25 - variant;
  if (kind >= 116 && kind <= 119) return 120 - variant;
  if (kind >= 121 && kind <= 124) return 125 - variant;
  return 0;
}

bool Interchangeable(int kind) { return CommittedKind(kind, 1) != 0; }

}  // namespace optimisation

namespace {

using engine::WalkSuccessor;
using optimisation::Interchangeable;

constexpr int kPoints = 31;  // the first 31 list positions
constexpr double kNoLevel = -10000.0;

ObjRow& Obj(int row) { return NetObjects[static_cast<std::size_t>(row)]; }
int KindOf(int row) { return ValidObjRow(row) ? Obj(row)[kKind] : 0; }
int FamilyOf(int row) { return std::abs(TypeOf(KindOf(row))[kClass]); }
int Hundreds(int code) { return code / 100; }
bool BranchCode(int h) { return h == 211 || h == 221 || h == 231 || h == 241; }
bool ThroughCode(int h) { return h == 210 || h == 220 || h == 230 || h == 240; }

// Variant changes touch only the interchangeable kinds and stay inside 1..4.
void SetVariant(int row, int inst) {
  if (ValidObjRow(row) && Interchangeable(KindOf(row))) Obj(row)[kInst] = std::clamp(inst, 1, 4);
}
void SetStyle(int row, int style) {
  if (ValidObjRow(row) && Interchangeable(KindOf(row))) Obj(row)[kStyle] = style;
}
int Inst(int row) { return ValidObjRow(row) ? Obj(row)[kInst] : 0; }
int Style(int row) { return ValidObjRow(row) ? Obj(row)[kStyle] : 0; }

// A cascade id names the member's object row counted from 1, so that 0 stays "none" apart from
// a member in row 0; it is negative on the through side of a Style-2 member.
int CascadeIdOf(int row) { return row + 1; }
int CascadeRow(int id) { return std::abs(id) - 1; }

// The outlet limits switched off while the optimisation tunes, on again on every exit path.
class OutletLimitsOff {
 public:
  OutletLimitsOff() { TuneOutletLimits = false; }
  ~OutletLimitsOff() { TuneOutletLimits = true; }
  OutletLimitsOff(const OutletLimitsOff&) = delete;
  OutletLimitsOff& operator=(const OutletLimitsOff&) = delete;
};

class Optimiser {
 public:
  Optimiser() : m_last(static_cast<int>(Nodes.size()) - 1) {}

  void run() {
    roleMarks(false);
    roleMarks(true);
    cascadeIds();
    RunSourcePasses(true);
    throughSideCheck();
    sideChecks();
    for (double d : {3.0, 3.0, 5.0}) {
      variantPass(d);
      RunSourcePasses(true);
    }
    RunSourcePasses(false);
    overloadPass();
  }

 private:
  int sources() const { return std::min(SourceCount, m_last - 1); }

  // Visits every node of source s's chain with the field 15 it was left by.
  template <class F>
  void walk(int s, F&& f) {
    m_marks.begin();
    for (int n = s; n >= 0 && n < m_last && m_marks.first(n);) {
      const int next = WalkSuccessor(NodeAt(n)[kNodeNext]);
      f(n, next);
      n = next;
    }
  }

  // Which branch or through outputs feed a further cascade member (Style 1) or an outlet
  // directly (Style 2).
  void roleMarks(bool outletSide) {
    for (int s = 0; s <= sources(); ++s) {
      int remembered = -1;
      walk(s, [&](int n, int next) {
        if (NodeAt(n)[kNodeNext] < 0) remembered = -1;
        if (next < 0) return;
        const bool hit = outletSide ? NodeAt(next)[kNodePort2Link] != kNoPort : (FamilyOf(NodeAt(next)[kNodeObject]) == 11 || FamilyOf(NodeAt(next)[kNodeObject]) == 12);
        if (remembered >= 0 && hit) {
          SetStyle(remembered, outletSide ? 2 : 1);
          SetVariant(remembered, 4);
          remembered = -1;
        }
        const int h = Hundreds(NodeAt(next)[kNodeCode]);
        if (outletSide ? ThroughCode(h) : BranchCode(h)) remembered = NodeAt(next)[kNodeObject];
      });
    }
  }

  // Field 24 := the cascade id of the member that feeds the node.
  void cascadeIds() {
    for (int s = 0; s <= sources(); ++s) {
      int id = 0;
      walk(s, [&](int n, int next) {
        NodeRow& row = NodeAt(n);
        const int obj = row[kNodeObject];
        row[kCascadeId] = id;
        const TypeRecord& type = TypeOf(KindOf(obj));
        if (type[kGroupsMinus1] > 0)
          for (int m = n + 1; m <= n + type[kPaths] && m < m_last; ++m)
            if (NodeAt(m)[kNodeObject] == obj && NodeAt(m)[kNodeInX] == row[kNodeInX] && NodeAt(m)[kNodeInY] == row[kNodeInY]) NodeAt(m)[kCascadeId] = id;
        const int h = Hundreds(row[kNodeCode]);
        if (CodeCategory(row[kNodeCode]) > 990) {  // small multiswitches, kinds 1..8
          row[kCascadeId] = CascadeIdOf(obj);
          SetVariant(obj, 1);
        } else if (BranchCode(h) && Style(obj) != 1) {
          id = CascadeIdOf(obj);
          if (Style(obj) == 0) SetVariant(obj, 1);
        } else if (ThroughCode(h) && Style(obj) == 2) {
          id = -CascadeIdOf(obj);
        }
        if (row[kNodeNext] < 0 && next >= 0) id = NodeAt(next)[kCascadeId];
      });
    }
  }

  template <class F>
  void forLevels(int n, F&& f) const {
    for (int p = 2; p <= 5; ++p) {
      const double* sp = SpectrumAt(n, p);
      for (int k = 0; k < kPoints; ++k) f(sp[k]);
    }
  }

  void throughSideCheck() {
    for (int o = 0; o < static_cast<int>(NetObjects.size()); ++o) {
      const int kind = KindOf(o);
      if (kind < 15 || kind > 25 || Style(o) != 2) continue;
      double pos = 10000.0, neg = 10000.0;
      for (int n = sources() + 1; n < m_last; ++n) {
        const NodeRow& row = NodeAt(n);
        if (std::abs(row[kCascadeId]) != CascadeIdOf(o) || row[kNodePort2Link] == kNoPort) continue;
        double& side = row[kCascadeId] > 0 ? pos : neg;
        forLevels(n, [&](double v) {
          if (v > 0.0) side = std::min(side, v);
        });
      }
      if (neg < pos - 4.0 && Inst(o) > 1) {
        SetVariant(o, Inst(o) - 1);
        RunSourcePasses(true);
      }
    }
  }

  void sideMarks(int o) {
    for (int s = 0; s <= sources(); ++s) {
      int mark = 0;
      walk(s, [&](int n, int d) {
        const NodeRow& row = NodeAt(n);
        const int h = Hundreds(row[kNodeCode]);
        if (row[kNodeObject] == o && (h == 210 || h == 220)) mark = -CascadeIdOf(o);
        if (row[kNodeObject] == o && (h == 211 || h == 221)) mark = CascadeIdOf(o);
        if (row[kNodeNext] < 0 && d >= 0) {
          const int cat = CodeCategory(NodeAt(d)[kNodeCode]);
          if (cat >= 21 && cat <= 24 && Style(NodeAt(d)[kNodeObject]) == 1) mark = CascadeIdOf(NodeAt(d)[kNodeObject]);
        }
        if (d < 0 || mark == 0 || !ThroughCode(Hundreds(NodeAt(d)[kNodeCode])) || Style(NodeAt(d)[kNodeObject]) == 1) return;
        NodeAt(d)[kCascadeId] = mark;
        // The other nodes of the same line of that member (its branch side and replicas).
        const int obj = NodeAt(d)[kNodeObject];
        const int path = CodePath(NodeAt(d)[kNodeCode]);
        for (int m = d + 1; m < m_last && NodeAt(m)[kNodeObject] == obj; ++m)
          if (CodePath(NodeAt(m)[kNodeCode]) == path) NodeAt(m)[kCascadeId] = mark;
      });
    }
  }

  void sideChecks() {
    std::vector<int8_t> side(NetObjects.size());
    for (int o = 0; o < static_cast<int>(NetObjects.size()); ++o) {
      const int fam = FamilyOf(o);
      if ((fam != 11 && fam != 12) || Style(o) != 1) continue;
      sideMarks(o);
      // Per object: 1 when one of its nodes carries +o, 2 when one carries -o.
      std::fill(side.begin(), side.end(), 0);
      for (int n = sources() + 1; n < m_last; ++n) {
        const int obj = NodeAt(n)[kNodeObject];
        if (!ValidObjRow(obj)) continue;
        if (NodeAt(n)[kCascadeId] == CascadeIdOf(o)) side[static_cast<std::size_t>(obj)] |= 1;
        if (NodeAt(n)[kCascadeId] == -CascadeIdOf(o)) side[static_cast<std::size_t>(obj)] |= 2;
      }
      double sum[2][2] = {{0, 0}, {0, 0}};  // [positive, negative][sat, terr]
      int count[2][2] = {{0, 0}, {0, 0}};
      for (int y = sources() + 1; y < m_last; ++y) {
        const NodeRow& row = NodeAt(y);
        const int id = row[kCascadeId], member = CascadeRow(id);
        if (row[kNodePort2Link] == kNoPort || id <= 0 || !ValidObjRow(member) || Style(member) == 1) continue;
        const int sat = row[kNodeSourceId] < kSatIdLimit ? 0 : (row[kNodeSourceId] > kSatIdLimit ? 1 : -1);
        if (sat < 0) continue;
        for (int sd = 0; sd < 2; ++sd) {
          if (!(side[static_cast<std::size_t>(member)] & (1 << sd))) continue;
          forLevels(y, [&](double v) {
            if (v > 0.0) {
              sum[sd][sat] += v;
              ++count[sd][sat];
            }
          });
        }
      }
      auto avg = [&](int sd, int t) { return count[sd][t] > 0 ? sum[sd][t] / count[sd][t] : 0.0; };
      if (avg(1, 0) < avg(0, 0) - 4.0 && avg(1, 1) < avg(0, 1) - 4.0 && Inst(o) > 1) {
        SetVariant(o, Inst(o) - 1);
        RunSourcePasses(true);
      }
    }
  }

  // Consecutive nodes of one object taking part in the member scans.
  struct Group {
    int first = 0, end = 0;  // [first, end)
    int object = -1;
    std::array<int, 4> members{};  // cascade ids
    int memberCount = 0;
  };

  template <class F>
  void forGroups(F&& f) {
    Group g;
    auto flush = [&] {
      if (g.memberCount > 0) f(g);
      g = Group{};
    };
    for (int n = sources() + 1; n < m_last; ++n) {
      const NodeRow& row = NodeAt(n);
      if (g.memberCount > 0 && row[kNodeObject] != g.object) flush();
      if (row[kNodePort2Link] == kNoPort || row[kCascadeId] <= 0) continue;
      if (g.memberCount == 0) {
        g.first = n;
        g.object = row[kNodeObject];
      }
      g.end = n + 1;
      const int id = row[kCascadeId];
      bool known = false;
      for (int i = 0; i < g.memberCount; ++i) known = known || g.members[static_cast<std::size_t>(i)] == id;
      if (!known) {
        // A fifth and further member overwrite the fourth.
        const int slot = std::min(g.memberCount, 3);
        g.members[static_cast<std::size_t>(slot)] = id;
        g.memberCount = std::min(g.memberCount + 1, 4);
      }
    }
    flush();
  }

  struct MemberLevels {
    double avgSat = 0.0, minSat = 1000.0, maxSat = 0.0;
    double avgTerr = 0.0, minTerr = 1000.0;
  };

  MemberLevels levelsOf(const Group& g, int id) const {
    MemberLevels l;
    double sumSat = 0.0, sumTerr = 0.0;
    int nSat = 0, nTerr = 0;
    for (int n = g.first; n < g.end; ++n) {
      const NodeRow& row = NodeAt(n);
      if (row[kCascadeId] != id || row[kNodePort2Link] == kNoPort) continue;
      const bool sat = row[kNodeSourceId] < kSatIdLimit;
      const bool terr = row[kNodeSourceId] > kSatIdLimit;
      forLevels(n, [&](double v) {
        if (v <= 0.0) return;
        if (sat) {
          sumSat += v;
          ++nSat;
          l.minSat = std::min(l.minSat, v);
          l.maxSat = std::max(l.maxSat, v);
        } else if (terr) {
          sumTerr += v;
          ++nTerr;
          l.minTerr = std::min(l.minTerr, v);
        }
      });
    }
    l.avgSat = nSat > 0 ? sumSat / nSat : 0.0;
    l.avgTerr = nTerr > 0 ? sumTerr / nTerr : 0.0;
    return l;
  }

  void referenceLevels(double& ref, double& refTerr) const {
    double sumSat = 0.0, sumTerr = 0.0;
    long nSat = 0, nTerr = 0;
    for (int n = sources(); n < m_last; ++n) {
      const int id = NodeAt(n)[kNodeSourceId];
      if (id == kPassThroughId) continue;
      forLevels(n, [&](double v) {
        if (v <= kNoLevel) return;
        if (id < kSatIdLimit) {
          sumSat += v;
          ++nSat;
        } else {
          sumTerr += v;
          ++nTerr;
        }
      });
    }
    ref = nSat > 0 ? sumSat / nSat : 0.0;
    refTerr = nTerr > 0 ? sumTerr / nTerr : 0.0;
  }

  void variantPass(double d) {
    double ref = 0.0, refTerr = 0.0;
    referenceLevels(ref, refTerr);
    forGroups([&](const Group& g) {
      for (int i = 0; i < g.memberCount; ++i) {
        const int id = g.members[static_cast<std::size_t>(i)], m = CascadeRow(id);
        const MemberLevels l = levelsOf(g, id);
        if (m == g.object) {
          if ((l.minSat < SatMinLevel || l.avgSat < ref - 4.0 || l.maxSat < SatMaxLevel - 12.0) && Inst(m) < 4)
            SetVariant(m, Inst(m) + 1);
          continue;
        }
        bool weak = l.minSat < SatMinLevel || l.avgSat < ref - d;
        if (OptimizeMode) weak = weak || l.minTerr < TerrMinLevel || (l.avgTerr < refTerr - d && l.avgTerr > 0.0);
        if (weak && Inst(m) < 4 && Style(m) == 0) SetVariant(m, Inst(m) + 1);
      }
    });
  }

  void overloadPass() {
    forGroups([&](const Group& g) {
      for (int i = 0; i < g.memberCount; ++i) {
        const int id = g.members[static_cast<std::size_t>(i)], m = CascadeRow(id);
        bool satOver = false, terrOver = false;
        for (int n = g.first; n < g.end; ++n) {
          const NodeRow& row = NodeAt(n);
          if (row[kCascadeId] != id || row[kNodePort2Link] == kNoPort) continue;
          double limit;
          if (row[kNodeSetting] > 100) limit = row[kNodeMaxLevel];
          else if (row[kNodeSetting] <= 0) limit = row[kNodeMaxLevel] + 10.0;
          else continue;
          bool over = false;
          forLevels(n, [&](double v) { over = over || (v > 0.0 && v > limit); });
          if (row[kNodeSourceId] < kSatIdLimit) satOver = satOver || over;
          else if (row[kNodeSourceId] > kSatIdLimit) terrOver = terrOver || over;
        }
        if (m == g.object) {
          if (satOver && Inst(m) > 1) SetVariant(m, Inst(m) - 1);
        } else if (Inst(m) > 1 && Style(m) == 0 && (satOver || (OptimizeMode && terrOver))) {
          SetVariant(m, Inst(m) - 1);
        }
      }
    });
  }

  int m_last;
  engine::WalkMarks m_marks;
};

bool HasCascadedComponent() {
  bool cascade = false, source = false;
  for (const ObjRow& o : NetObjects) {
    const int kind = o[kKind];
    if ((kind >= 1 && kind <= 8) || (kind > 0 && std::abs(TypeOf(kind)[kClass]) == 11)) cascade = true;
    if (kind == 91 || kind == 92) source = true;
  }
  return cascade && source;
}

bool HasKind92() {
  for (const ObjRow& o : NetObjects)
    if (o[kKind] == 92) return true;
  return false;
}

// The interchangeable rows as they were before the passes wrote variants and role marks into
// them.
using SavedRows = std::vector<std::pair<int, ObjRow>>;
SavedRows InterchangeableRows() {
  SavedRows rows;
  for (int row = 0; row < static_cast<int>(NetObjects.size()); ++row)
    if (Interchangeable(KindOf(row))) rows.emplace_back(row, Obj(row));
  return rows;
}

// Writes a row's new values and records, for undo, the row as it was before the command. The
// record is a rotation entry: its replay restores the whole row and rebuilds the symbol, which a
// changed kind needs.
void ExchangeRow(int row, const ObjRow& was, const ObjRow& now) {
  if (now != was) {
    Obj(row) = was;
    PushUndo(kUndoRotate, row);
  }
  Obj(row) = now;
}

// The chosen variants become kinds; role marks and variants are cleared.
void Commit(const SavedRows& before) {
  for (const auto& [row, was] : before) {
    ObjRow o = Obj(row);
    const int kind = o[kKind];
    if (kind >= 21) o[kStyle] = 0;
    const bool exchanged = o[kInst] > 0;
    if (exchanged) {
      const int next = optimisation::CommittedKind(kind, o[kInst]);
      if (next != 0) o[kKind] = next;
      o[kInst] = 0;
    }
    ExchangeRow(row, was, o);
    if (!exchanged) continue;
    if (Hooks().rowGlyphChanged) Hooks().rowGlyphChanged(row);
  }
}

}  // namespace

OptimisationOutcome OptimizeStructure(const CommandClicks& clicks) {
  const CommittedDrawing committed;
  OptimisationOutcome out;
  if (clicks.busy) clicks.busy(true);
  if (!HasCascadedComponent()) {
    out.message = kOptimisationPrecondition;
    if (clicks.busy) clicks.busy(false);
    return out;
  }
  {
    EditStep step;
    if (!HasKind92()) OptimizeMode = false;
    {
      OutletLimitsOff off;
      if (clicks.tune) clicks.tune();
    }
    ProjectModified = true;
    const SavedRows before = InterchangeableRows();
    if (LastRunBuiltGraph) {
      Optimiser o;
      o.run();
      Commit(before);
      out.ran = true;
      if (clicks.tune) clicks.tune();
      ProjectModified = true;
    } else {
      // The variants under trial never outlive the command.
      for (const auto& [row, was] : before) {
        ObjRow o = was;
        o[kInst] = 0;
        ExchangeRow(row, was, o);
      }
    }
  }
  if (out.ran) {
    OptimizeMode = !OptimizeMode;
    out.imageIndex = OptimizeModeImage(OptimizeMode);
    if (clicks.optimizeImage) clicks.optimizeImage(out.imageIndex);
  }
  if (clicks.busy) clicks.busy(false);
  return out;
}

}  // namespace kavrix

// Results hash: runs "RF Analyze", then Tune, then the structure optimisation over every project
// file in tests/data and over generated buildings (the benchmarks' risers, the realistic buildings,
// the amplifier cascade and one small network per device kind), and hashes what each step leaves
// behind: every node field, every spectrum entry, Links, LevelMarks, the object rows and their
// values, the run's terrestrial spectra and counters. A change meant to keep results must leave
// every hash as stored; a change that alters results on purpose rewrites the stored file in the
// same commit and says so.
//
//   build/test/tools/kavrix_results_hash            print the hashes
//   build/test/tools/kavrix_results_hash --check    compare with the stored file (CTest runs this)
//   build/test/tools/kavrix_results_hash --write    rewrite the stored file
//   ... [--check|--write] gallery2/k043             only the cases whose name starts so
//   ... -v                                           name each case on stderr as it starts
//
// Each line is "<case> <step> nodes:<h> spectra:<h> links:<h> marks:<h> objects:<h> other:<h>",
// so a failed check names the case, the step and the part that differs.
#include <cinttypes>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <functional>
#include <map>
#include <string>
#include <vector>

#include "model/network_model.hpp"
#include "model/project_file.hpp"
#include "model/run_records.hpp"
#include "model/source_tables.hpp"
#include "simulation/command_clicks.hpp"
#include "simulation/level_tuning.hpp"
#include "simulation/rf_run.hpp"
#include "simulation/structure_optimisation.hpp"
#include "support/generated_buildings.hpp"
#include "support/project_guard.hpp"
#include "support/realistic_buildings.hpp"

namespace {

using namespace kavrix;
namespace fs = std::filesystem;

// FNV-1a over raw bytes: doubles are hashed by their bit patterns, so "identical" means identical.
class Hash {
 public:
  void bytes(const void* p, std::size_t n) {
    const auto* b = static_cast<const unsigned char*>(p);
    for (std::size_t i = 0; i < n; ++i) m_h = (m_h ^ b[i]) * 0x100000001b3ULL;
  }
  template <class T>
  void value(const T& v) {
    bytes(&v, sizeof v);
  }
  std::string hex() const {
    char buf[17];
    std::snprintf(buf, sizeof buf, "%016" PRIx64, m_h);
    return buf;
  }

 private:
  uint64_t m_h = 0xcbf29ce484222325ULL;
};

// Number of node rows worth hashing: trailing rows that are still in their reset state (fields
// and spectra) only reflect how far the arrays were grown.
std::size_t UsedNodeRows() {
  const NodeRow reset = ResetNodeRow();
  auto spectraReset = [](std::size_t n) {
    for (int s = 0; s < kSpectraPerNode; ++s) {
      const double* sp = NodeSpectra.at(n, s);
      for (int k = 0; k <= 100; ++k)
        if (sp[k] != kNoSignal) return false;
      if (sp[101] != 1000000.0 || sp[102] != kNoSignal) return false;
    }
    return true;
  };
  std::size_t n = std::min(Nodes.size(), NodeSpectra.size());
  while (n > 0 && Nodes[n - 1] == reset && spectraReset(n - 1)) --n;
  return n;
}

template <class Row>
std::size_t UsedRows(const std::vector<Row>& v) {
  std::size_t n = v.size();
  while (n > 0 && v[n - 1] == Row{}) --n;
  return n;
}

std::string StateLine() {
  Hash nodes, spectra, links, marks, objects, other;
  const std::size_t used = UsedNodeRows();
  nodes.value(used);
  for (std::size_t n = 0; n < used; ++n) {
    nodes.bytes(Nodes[n].data(), sizeof(NodeRow));
    spectra.bytes(NodeSpectra.at(n, 0), sizeof(double) * kSpectraPerNode * kSpectrumLen);
  }
  const std::size_t linkRows = UsedRows(Links);
  links.value(linkRows);
  for (std::size_t i = 0; i < linkRows; ++i) links.bytes(Links[i].data(), sizeof(LinkRow));
  for (const LevelMark& m : LevelMarks) {
    marks.value(m.Kind);
    marks.value(m.X);
    marks.value(m.Y);
  }
  const std::size_t objRows = UsedRows(NetObjects);
  objects.value(objRows);
  for (std::size_t i = 0; i < objRows; ++i) objects.bytes(NetObjects[i].data(), sizeof(ObjRow));
  for (std::size_t i = 0; i < objRows && i < ObjValues.size(); ++i) other.bytes(ObjValues[i].data(), 2 * sizeof(double));
  for (const auto& row : TerrSpectra) other.bytes(row.data(), sizeof(double) * row.size());
  other.value(SourceCount);
  other.value(TerrSourceIndex);
  other.value(ChainMarkCount);
  other.value(LastRunNodeCount);
  other.value(LastRunBuiltGraph);
  other.value(TerrPresent);
  other.value(OptimizeMode);
  other.bytes(StatusBarText.data(), StatusBarText.size());
  return "nodes:" + nodes.hex() + " spectra:" + spectra.hex() + " links:" + links.hex() + " marks:" + marks.hex() +
         " objects:" + objects.hex() + " other:" + other.hex();
}

struct Case {
  std::string name;
  std::function<bool()> build;  // false: the case could not be set up
};

std::vector<Case> Cases(const fs::path& dataDir) {
  std::vector<Case> cases;
  std::vector<fs::path> files;
  for (const auto& e : fs::directory_iterator(dataDir))
    if (e.path().extension() == ".stn") files.push_back(e.path());
  std::sort(files.begin(), files.end());
  for (const fs::path& f : files)
    cases.push_back({"file/" + f.filename().string(), [f] {
                       NewProjectState();
                       return ReadProjectFile(f.string(), 4800, 6800).status == ProjectReadResult::Status::Ok;
                     }});
  for (int n : {100, 1000}) {
    cases.push_back({"lineRiser/" + std::to_string(n), [n] { return test::BuildLineRiser(n), true; }});
    cases.push_back({"tapRiser/" + std::to_string(n), [n] { return test::BuildTapRiser(n), true; }});
  }
  cases.push_back({"terrestrialBuilding/1000", [] { return test::BuildTerrestrialBuilding(1000), true; }});
  cases.push_back({"satelliteBuilding/1000", [] { return test::BuildSatelliteBuilding(1000), true; }});
  for (int n : {100, 1000})
    cases.push_back({"building/" + std::to_string(n), [n] { return test::BuildRealisticBuilding(n), true; }});
  cases.push_back({"cascade/200", [] { return test::BuildAmplifierCascade(200), true; }});
  for (int antennas : {1, 2})
    for (int kind = 1; kind < 200; ++kind) {
      if (!test::GalleryKind(kind)) continue;
      char name[32];
      std::snprintf(name, sizeof name, "gallery%d/k%03d", antennas, kind);
      cases.push_back({name, [kind, antennas] { return test::BuildKindGallery(kind, antennas), true; }});
    }
  for (int kind = 1; kind < 200; ++kind) {
    if (!test::GalleryKind(kind)) continue;
    char name[32];
    std::snprintf(name, sizeof name, "crossFed/k%03d", kind);
    cases.push_back({name, [kind] { return test::BuildKindGallery(kind, 2, true), true; }});
  }
  return cases;
}

// The case's lines: after the run, after Tune and after the optimisation.
std::vector<std::string> RunCase(const Case& c) {
  test::ResetProjectState();
  if (!c.build()) return {c.name + " load failed"};
  CommandChain chain(RunInput{"50", "60"}, RunCallbacks{});
  std::vector<std::string> lines;
  chain.clicks().analyze();
  lines.push_back(c.name + " run " + StateLine());
  Tune(chain.clicks());
  lines.push_back(c.name + " tune " + StateLine());
  const OptimisationOutcome o = OptimizeStructure(chain.clicks());
  lines.push_back(c.name + " optimise " + StateLine() + (o.ran ? "" : " (not run)"));
  return lines;
}

std::vector<std::string> ReadLines(const fs::path& p) {
  std::vector<std::string> out;
  std::ifstream f(p);
  for (std::string l; std::getline(f, l);)
    if (!l.empty() && l[0] != '#') out.push_back(l);
  return out;
}

std::string CaseOf(const std::string& line) { return line.substr(0, line.find(' ', line.find(' ') + 1)); }

}  // namespace

int main(int argc, char** argv) {
  std::string mode, prefix;
  bool verbose = false;
  for (int i = 1; i < argc; ++i) {
    const std::string a = argv[i];
    if (a == "--check" || a == "--write") mode = a;
    else if (a == "-v") verbose = true;
    else if (!a.empty() && a[0] != '-') prefix = a;
    else {
      std::fprintf(stderr, "usage: %s [--check|--write] [-v] [case-prefix]\n", argv[0]);
      return 2;
    }
  }
  const fs::path stored = KAVRIX_STORED_HASHES;
  std::vector<std::string> actual;
  for (const Case& c : Cases(KAVRIX_TEST_DATA)) {
    if (c.name.rfind(prefix, 0) != 0) continue;
    if (verbose) std::fprintf(stderr, "%s\n", c.name.c_str());
    for (std::string& l : RunCase(c)) actual.push_back(std::move(l));
  }

  if (mode.empty()) {
    for (const std::string& l : actual) std::printf("%s\n", l.c_str());
    return 0;
  }
  if (mode == "--write") {
    if (!prefix.empty()) {
      std::fprintf(stderr, "--write rewrites every case; leave out the case prefix\n");
      return 2;
    }
    std::ofstream f(stored);
    f << "# Results hashes of tools/results_hash; rewrite only in a commit that changes results on purpose.\n";
    for (const std::string& l : actual) f << l << '\n';
    std::printf("wrote %zu lines to %s\n", actual.size(), stored.string().c_str());
    return f ? 0 : 1;
  }

  std::map<std::string, std::string> expected;
  for (const std::string& l : ReadLines(stored)) expected[CaseOf(l)] = l;
  int differ = 0;
  for (const std::string& l : actual) {
    auto it = expected.find(CaseOf(l));
    if (it == expected.end()) {
      std::printf("new:      %s\n", l.c_str());
      ++differ;
    } else if (it->second != l) {
      std::printf("stored:   %s\nactual:   %s\n", it->second.c_str(), l.c_str());
      ++differ;
    }
  }
  if (prefix.empty() && expected.size() != actual.size()) {
    std::printf("%zu stored lines, %zu computed\n", expected.size(), actual.size());
    ++differ;
  }
  std::printf("%zu lines checked, %d differ\n", actual.size(), differ);
  return differ == 0 ? 0 : 1;
}

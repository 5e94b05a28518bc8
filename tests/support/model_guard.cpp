#include "support/model_guard.hpp"

#include <fstream>
#include <random>
#include <sstream>

namespace kavrix::test {

TempCurrentDir::TempCurrentDir() {
  namespace fs = std::filesystem;
  m_prev = fs::current_path();
  std::random_device rd;
  m_dir = fs::temp_directory_path() / ("kavrix_test_" + std::to_string(rd()));
  fs::create_directories(m_dir);
  fs::current_path(m_dir);
}

TempCurrentDir::~TempCurrentDir() {
  namespace fs = std::filesystem;
  std::error_code ec;
  fs::current_path(m_prev, ec);
  fs::remove_all(m_dir, ec);
}

std::string FileBytes(const std::string& path) {
  std::ifstream f(path, std::ios::binary);
  std::stringstream ss;
  ss << f.rdbuf();
  return ss.str();
}

void WriteBytes(const std::string& path, const std::string& bytes) {
  std::ofstream f(path, std::ios::binary);
  f << bytes;
}

int AddObject(int kind, int x, int y, int inst, int orient, int style) {
  EnsureFreeObjectRows(20);
  const int row = CurObject;
  NetObjects[row] = {kind, x, y, inst, orient, style};
  ++CurObject;
  ++ObjectCount;
  GrowForObject(kind);
  SyncRowCompanions();
  return row;
}

int AddContinuation(int f1, int f2, int f3, int f4, int f5, int kind) {
  EnsureFreeObjectRows(20);
  const int row = CurObject;
  NetObjects[row] = {kind, f1, f2, f3, f4, f5};
  ++CurObject;
  ++ObjectCount;
  SyncRowCompanions();
  return row;
}

}  // namespace kavrix::test

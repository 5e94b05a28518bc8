#pragma once
// Starts a test from a new network and puts the model back to a new network afterwards,
// so tests never see one another's drawings.
#include <filesystem>
#include <string>

#include "model/network_model.hpp"

namespace kavrix::test {

class FreshModel {
 public:
  FreshModel() { NewNetworkModel(); }
  ~FreshModel() { NewNetworkModel(); }
  FreshModel(const FreshModel&) = delete;
  FreshModel& operator=(const FreshModel&) = delete;
};

// Runs the test body in a temporary current directory (free-name searches, saved files).
class TempCurrentDir {
 public:
  TempCurrentDir();
  ~TempCurrentDir();
  const std::filesystem::path& path() const { return m_dir; }

 private:
  std::filesystem::path m_prev;
  std::filesystem::path m_dir;
};

// Appends an object head row (and optional continuation rows) at CurObject; returns its row.
// Whole file contents, and writing them, byte for byte (empty when the file cannot be read).
std::string FileBytes(const std::string& path);
void WriteBytes(const std::string& path, const std::string& bytes);

int AddObject(int kind, int x, int y, int inst = 0, int orient = 1, int style = 0);
int AddContinuation(int f1 = 0, int f2 = 0, int f3 = 0, int f4 = 0, int f5 = 0, int kind = -1);

}  // namespace kavrix::test

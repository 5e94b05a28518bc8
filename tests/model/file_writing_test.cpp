#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "model/network_model.hpp"
#include "model/project_file.hpp"
#include "model/source_file.hpp"
#include "support/file_faults.hpp"
#include "support/model_guard.hpp"
#include "support/project_guard.hpp"

namespace kavrix {
namespace {

namespace fs = std::filesystem;
using test::AsOrdinaryUser;
using test::FileBytes;
using test::FileMode;
using test::WriteBytes;

const std::string kOld = "old content\r\n";

// The two kinds of file the program writes: a project and a source plan.
struct Writer {
  const char* name;
  bool (*write)(const std::string& path, std::string* error);
};

bool WriteLnb(const std::string& path, std::string* error) {
  SourceGrid grid;
  for (int r = 1; r <= kLnbFileRows; ++r)
    for (int c = 0; c < 8; ++c) grid.setCell(c, r, std::to_string(10700 + 20 * r + c));
  return WriteSourceFile(path, grid, SourceFileKind::Lnb, error);
}
bool WriteProject(const std::string& path, std::string* error) { return WriteProjectFile(path, error); }

const Writer kWriters[] = {{"project", WriteProject}, {"lnb", WriteLnb}};

std::vector<std::string> FolderEntries(const std::string& dir) {
  std::vector<std::string> names;
  for (const auto& e : fs::directory_iterator(dir)) names.push_back(e.path().filename().string());
  return names;
}

// A folder the ordinary user may write, or one it may only read.
std::string MakeFolder(const std::string& name, bool writable) {
  fs::create_directory(name);
  if (writable) AsOrdinaryUser::Give(name);
  return name;
}
void Lock(const std::string& dir) { fs::permissions(dir, fs::perms(0555)); }

class FileWriting : public ::testing::Test {
 protected:
  test::TempCurrentDir dir;
  test::FreshProject fresh;
  void SetUp() override {
    // Long enough that a 500-byte size limit stops every writer part-way.
    for (int i = 2; i < 40; ++i) ItemTexts[i] = std::string(60, 'a' + i % 26);
  }
  void TearDown() override {
    for (const auto& e : fs::recursive_directory_iterator(dir.path()))
      if (e.is_directory()) fs::permissions(e.path(), fs::perms::owner_all, fs::perm_options::add);
  }
};

// A save used to replace a symbolic link by a plain file and give the file mode 0644.
TEST_F(FileWriting, SaveKeepsTheModeAndWritesThroughSymbolicLinks) {
  MakeFolder("real", true);
  MakeFolder("work", true);
  for (const Writer& w : kWriters) {
    SCOPED_TRACE(w.name);
    const std::string target = std::string("real/plan.") + w.name;
    const std::string link = std::string("work/plan.") + w.name;
    WriteBytes(target, kOld);
    fs::permissions(target, fs::perms(0600));
    fs::create_symlink(std::string("../") + target, link);  // relative to the link's folder
    std::string error;
    ASSERT_TRUE(w.write(link, &error)) << error;
    EXPECT_TRUE(fs::is_symlink(link));
    EXPECT_NE(FileBytes(target), kOld);
    EXPECT_EQ(FileBytes(link), FileBytes(target));
    EXPECT_EQ(FileMode(target), 0600u);
    EXPECT_EQ(FolderEntries("real").size(), 1u);

    // A link to a file not yet there creates the file at the link's target.
    const std::string absentTarget = (dir.path() / "real" / (std::string("new.") + w.name)).string();
    const std::string absentLink = std::string("work/new.") + w.name;
    fs::create_symlink(absentTarget, absentLink);
    ASSERT_TRUE(w.write(absentLink, &error)) << error;
    EXPECT_TRUE(fs::is_symlink(absentLink));
    EXPECT_TRUE(fs::is_regular_file(absentTarget));
    for (const std::string& p : {target, link, absentTarget, absentLink}) fs::remove(p);
  }
}

// A writable file inside a read-only folder could not be saved at all: the temporary file had
// to be created beside it.
TEST_F(FileWriting, FileInAReadOnlyFolderIsWrittenInPlace) {
  const std::string folder = MakeFolder("locked", false);
  for (const Writer& w : kWriters) {
    const std::string path = folder + "/plan." + w.name;
    WriteBytes(path, kOld);
    fs::permissions(path, fs::perms(0640));
    AsOrdinaryUser::Give(path);
  }
  Lock(folder);
  for (const Writer& w : kWriters) {
    SCOPED_TRACE(w.name);
    const std::string path = folder + "/plan." + w.name;
    std::string error;
    {
      AsOrdinaryUser user;
      ASSERT_TRUE(w.write(path, &error)) << error;
    }
    const std::string written = FileBytes(path);
    EXPECT_NE(written, kOld);
    EXPECT_EQ(FileMode(path), 0640u);
    // What was written in place reads back as a whole file of the kind.
    if (std::string(w.name) == "lnb") {
      const SourcePlanRead plan = ReadSourceFile(path, SourceFileKind::Lnb);
      ASSERT_TRUE(plan.ok);
      EXPECT_EQ(plan.rows[30][7], "11327");
    } else {
      EXPECT_EQ(written.substr(written.size() - 2), "\r\n");
    }
  }
  EXPECT_EQ(FolderEntries(folder).size(), 2u);

  // A new file cannot be made there; the message says why.
  std::string error;
  {
    AsOrdinaryUser user;
    EXPECT_FALSE(WriteProjectFile(folder + "/new.stn", &error));
  }
  EXPECT_EQ(error, "Cannot create file locked/new.stn: Permission denied");

  // A name so long that no temporary name fits beside it is created directly.
  const std::string longName = std::string(250, 'n') + ".stn";
  ASSERT_TRUE(WriteProjectFile(longName, &error)) << error;
  EXPECT_EQ(FileBytes(longName).substr(0, 6), "4410\r\n");
}

TEST_F(FileWriting, WriteInPlaceFailingPartWayPutsTheOldContentBack) {
  const std::string folder = MakeFolder("locked", false);
  const std::string path = folder + "/p.stn";
  WriteBytes(path, kOld);
  fs::permissions(path, fs::perms(0644));
  AsOrdinaryUser::Give(path);
  Lock(folder);
  std::string error;
  {
    test::FileSizeLimit limit(500);
    AsOrdinaryUser user;
    EXPECT_FALSE(WriteProjectFile(path, &error));
  }
  EXPECT_EQ(error, "Cannot write file locked/p.stn: File too large");
  EXPECT_EQ(FileBytes(path), kOld);
}

TEST_F(FileWriting, WriteFailingPartWayLeavesTheOldFileAndNoTemporary) {
  const std::string folder = MakeFolder("work", true);
  for (const Writer& w : kWriters) {
    SCOPED_TRACE(w.name);
    const std::string path = folder + "/plan." + w.name;
    WriteBytes(path, kOld);
    std::string error;
    {
      test::FileSizeLimit limit(500);
      EXPECT_FALSE(w.write(path, &error));
    }
    EXPECT_EQ(error, "Cannot write file " + path + ": File too large");
    EXPECT_EQ(FileBytes(path), kOld);
    EXPECT_EQ(FolderEntries(folder).size(), 1u);
    fs::remove(path);
  }
}

TEST_F(FileWriting, ReadErrorsNameTheReason) {
  EXPECT_EQ(ReadProjectFile("absent.stn", 4800, 6800).message, "Cannot open file absent.stn: No such file or directory");
  EXPECT_EQ(ReadSourceFile("absent.ter", SourceFileKind::Terr).error,
            "Cannot open file absent.ter: No such file or directory");
  fs::create_directory("folder.stn");
  EXPECT_EQ(ReadProjectFile("folder.stn", 4800, 6800).message, "Cannot open file folder.stn: Is a directory");
  std::string error;
  EXPECT_FALSE(WriteProjectFile("folder.stn", &error));
  EXPECT_EQ(error, "Cannot write file folder.stn: Is a directory");
}

}  // namespace
}  // namespace kavrix

#include "model/text_file.hpp"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <string_view>
#include <system_error>

namespace kavrix {
namespace {
// Code points of bytes 0x80..0x9F in Windows-1252 (0 = undefined there).
constexpr char32_t kHigh[32] = {0x20AC, 0,      0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,
                                0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0,      0x017D, 0,
                                0,      0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
                                0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0,      0x017E, 0x0178};

void appendUtf8(std::string& out, char32_t cp) {
  if (cp < 0x80) {
    out += static_cast<char>(cp);
  } else if (cp < 0x800) {
    out += static_cast<char>(0xC0 | (cp >> 6));
    out += static_cast<char>(0x80 | (cp & 0x3F));
  } else {
    out += static_cast<char>(0xE0 | (cp >> 12));
    out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (cp & 0x3F));
  }
}

// errno of the first failure, 0 when every byte was read.
int ReadAll(int fd, std::string& out) {
  char buf[65536];
  for (;;) {
    const ssize_t n = ::read(fd, buf, sizeof buf);
    if (n < 0 && errno == EINTR) continue;
    if (n < 0) return errno;
    if (n == 0) return 0;
    out.append(buf, static_cast<std::size_t>(n));
  }
}

int WriteAllAt(int fd, const std::string& data, off_t at) {
  std::size_t done = 0;
  while (done < data.size()) {
    const ssize_t n = ::pwrite(fd, data.data() + done, data.size() - done, at + static_cast<off_t>(done));
    if (n < 0 && errno == EINTR) continue;
    if (n < 0) return errno;
    if (n == 0) return EIO;
    done += static_cast<std::size_t>(n);
  }
  return 0;
}

// The file a path finally names, following symbolic links (relative ones from their own
// folder). A path that is no link, or does not exist yet, names itself.
std::string ResolveLinks(std::string cur) {
  for (int hop = 0; hop < 40; ++hop) {
    struct stat st {};
    if (::lstat(cur.c_str(), &st) != 0 || !S_ISLNK(st.st_mode)) return cur;
    std::string link(4096, '\0');
    const ssize_t n = ::readlink(cur.c_str(), link.data(), link.size());
    if (n <= 0 || static_cast<std::size_t>(n) >= link.size()) return cur;
    link.resize(static_cast<std::size_t>(n));
    const std::size_t slash = cur.rfind('/');
    if (link[0] != '/' && slash != std::string::npos) link = cur.substr(0, slash + 1) + link;
    cur = link;
  }
  return cur;  // a loop of links: opening it reports the system's error
}

// A new, empty file in the target's folder; -1 when none can be made.
int CreateTempBeside(const std::string& target, std::string& tmp) {
  static unsigned counter = 0;
  for (int attempt = 0; attempt < 100; ++attempt) {
    tmp = target + "." + std::to_string(::getpid()) + "-" + std::to_string(++counter) + ".tmp~";
    const int fd = ::open(tmp.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
    if (fd >= 0 || errno != EEXIST) return fd;
  }
  return -1;
}

// The folder that holds a file; its entry for the file changes with a rename or a new file.
std::string FolderOf(const std::string& file) {
  const std::size_t slash = file.rfind('/');
  if (slash == std::string::npos) return ".";
  return slash == 0 ? "/" : file.substr(0, slash);
}

// Puts the folder's entries on the disk, so that after a power cut the file's name leads to the
// content just flushed and not to the old file or to nothing. A folder the user may not read
// cannot be opened to flush it, and some file systems keep no folder data of their own (EINVAL):
// the content itself is on the disk then and the name follows with the system's next commit.
// Returns the errno of a failed flush, else 0.
int SyncFolderOf(const std::string& file) {
  const int fd = ::open(FolderOf(file).c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (fd < 0) return 0;
  const int err = ::fsync(fd) == 0 ? 0 : errno;
  ::close(fd);
  return err == EINVAL ? 0 : err;
}

// Overwrites the file where it is. Its old content is read first and written back when the new
// content cannot be written whole, so a failure leaves the file as it was.
template <class Fail>
bool WriteInPlace(const std::string& target, const std::string& bytes, Fail fail) {
  const int fd = ::open(target.c_str(), O_RDWR | O_CLOEXEC);
  if (fd < 0) return fail(errno);
  std::string old;
  int err = ReadAll(fd, old);
  if (err != 0) {
    ::close(fd);
    return fail(err);
  }
  err = WriteAllAt(fd, bytes, 0);
  if (err == 0 && ::ftruncate(fd, static_cast<off_t>(bytes.size())) != 0) err = errno;
  if (err == 0 && ::fsync(fd) != 0) err = errno;
  if (err != 0) {
    if (WriteAllAt(fd, old, 0) == 0 && ::ftruncate(fd, static_cast<off_t>(old.size())) == 0) ::fsync(fd);
    ::close(fd);
    return fail(err);
  }
  if (::close(fd) != 0) return fail(errno);
  return true;
}

// A file that did not exist, made directly where no temporary file could be (a name too long to
// extend, for one); a failed write removes it again.
template <class Fail>
bool WriteNewFile(const std::string& target, const std::string& bytes, Fail fail) {
  const int fd = ::open(target.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
  if (fd < 0) return fail(errno);
  int err = WriteAllAt(fd, bytes, 0);
  if (err == 0 && ::fsync(fd) != 0) err = errno;
  if (::close(fd) != 0 && err == 0) err = errno;
  if (err != 0) {
    ::unlink(target.c_str());
    return fail(err);
  }
  if (const int folderErr = SyncFolderOf(target); folderErr != 0) return fail(folderErr);
  return true;
}
}  // namespace

std::string Cp1252ToUtf8(const std::string& in) {
  std::string out;
  out.reserve(in.size());
  for (unsigned char c : in) {
    if (c < 0x80) out += static_cast<char>(c);
    else if (c < 0xA0) appendUtf8(out, kHigh[c - 0x80] ? kHigh[c - 0x80] : U'?');
    else appendUtf8(out, c);
  }
  return out;
}

std::string Utf8ToCp1252(const std::string& in) {
  std::string out;
  out.reserve(in.size());
  for (std::size_t i = 0; i < in.size();) {
    unsigned char c = static_cast<unsigned char>(in[i]);
    char32_t cp;
    int len;
    if (c < 0x80) cp = c, len = 1;
    else if ((c & 0xE0) == 0xC0 && i + 1 < in.size()) cp = ((c & 0x1F) << 6) | (in[i + 1] & 0x3F), len = 2;
    else if ((c & 0xF0) == 0xE0 && i + 2 < in.size())
      cp = ((c & 0x0F) << 12) | ((in[i + 1] & 0x3F) << 6) | (in[i + 2] & 0x3F), len = 3;
    else if ((c & 0xF8) == 0xF0 && i + 3 < in.size()) cp = 0x110000, len = 4;
    else cp = U'?', len = 1;
    i += static_cast<std::size_t>(len);
    if (cp < 0x80 || (cp >= 0xA0 && cp <= 0xFF)) {
      out += static_cast<char>(cp);
      continue;
    }
    char mapped = '?';
    for (int k = 0; k < 32; ++k)
      if (kHigh[k] == cp && cp != 0) mapped = static_cast<char>(0x80 + k);
    out += mapped;
  }
  return out;
}

namespace {
// Length of the UTF-8 sequence starting with byte c (1 for a stray byte).
std::size_t Utf8Length(unsigned char c) { return c < 0x80 ? 1 : (c & 0xE0) == 0xC0 ? 2 : (c & 0xF0) == 0xE0 ? 3 : (c & 0xF8) == 0xF0 ? 4 : 1; }

// Calls f with each character of a UTF-8 text.
template <class F>
void ForEachUtf8Char(const std::string& utf8, F&& f) {
  for (std::size_t i = 0; i < utf8.size();) {
    const std::size_t len = std::min(Utf8Length(static_cast<unsigned char>(utf8[i])), utf8.size() - i);
    f(std::string_view(utf8).substr(i, len));
    i += len;
  }
}
}  // namespace

std::string CharsCp1252CannotHold(const std::string& utf8) {
  std::string out;
  ForEachUtf8Char(utf8, [&](std::string_view ch) {
    if (ch != "?" && Utf8ToCp1252(std::string(ch)) == "?" && out.find(ch) == std::string::npos) out += ch;
  });
  return out;
}

std::string WithoutChars(const std::string& utf8, const std::string& refused) {
  std::string out;
  ForEachUtf8Char(utf8, [&](std::string_view ch) {
    if (refused.find(ch) == std::string::npos) out += ch;
  });
  return out;
}

std::string CharsLeftOutMessage(const std::string& file, const std::string& refused) {
  return "The " + file + " cannot keep these characters, so they were left out: \"" + refused + "\"";
}

std::string FileErrorMessage(const std::string& what, const std::string& path, int err) {
  return what + " " + path + ": " + std::system_category().message(err);
}

std::vector<std::string> SplitTextLines(const std::string& data) {
  std::vector<std::string> lines;
  std::string cur;
  for (std::size_t i = 0; i < data.size(); ++i) {
    const char c = data[i];
    if (c == '\r' || c == '\n') {
      lines.push_back(Cp1252ToUtf8(cur));
      cur.clear();
      if (c == '\r' && i + 1 < data.size() && data[i + 1] == '\n') ++i;
    } else {
      cur += c;
    }
  }
  if (!cur.empty()) lines.push_back(Cp1252ToUtf8(cur));
  return lines;
}

bool ReadTextLines(const std::string& path, std::vector<std::string>& lines, std::string* error) {
  std::string data;
  const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
  int err = fd < 0 ? errno : ReadAll(fd, data);
  if (fd >= 0) ::close(fd);
  if (err != 0) {
    if (error) *error = FileErrorMessage("Cannot open file", path, err);
    return false;
  }
  lines = SplitTextLines(data);
  return true;
}

bool WriteFileSafely(const std::string& path, const std::string& bytes, std::string* error) {
  auto fail = [&](const char* what, int err) {
    if (error) *error = FileErrorMessage(what, path, err);
    return false;
  };
  // Through a symbolic link the link stays and its target gets the new content.
  const std::string target = ResolveLinks(path);
  struct stat st {};
  const bool exists = ::stat(target.c_str(), &st) == 0;
  if (!exists && errno != ENOENT) return fail("Cannot create file", errno);
  if (exists) {
    if (S_ISDIR(st.st_mode)) return fail("Cannot write file", EISDIR);
    if (!S_ISREG(st.st_mode)) return fail("Cannot write file", EINVAL);
    // Replacing by rename needs only the folder's permission; the file's own must decide.
    if (::faccessat(AT_FDCWD, target.c_str(), W_OK, AT_EACCESS) != 0) return fail("Cannot write file", errno);
  }

  std::string tmp;
  const int fd = CreateTempBeside(target, tmp);
  if (fd < 0) {
    if (!exists) return WriteNewFile(target, bytes, [&](int err) { return fail("Cannot create file", err); });
    return WriteInPlace(target, bytes, [&](int err) { return fail("Cannot write file", err); });
  }
  if (exists) {
    // The replacement takes the old file's mode, which the umask must not narrow, and its owner;
    // a file that would change hands is written in place instead.
    bool sameOwner = st.st_uid == ::geteuid() && st.st_gid == ::getegid();
    if (!sameOwner) sameOwner = ::fchown(fd, st.st_uid, st.st_gid) == 0;
    if (!sameOwner || ::fchmod(fd, st.st_mode & 07777) != 0) {
      ::close(fd);
      ::unlink(tmp.c_str());
      return WriteInPlace(target, bytes, [&](int err) { return fail("Cannot write file", err); });
    }
  }
  // The rename makes the new content appear whole or not at all; the old file stays until then.
  // The content is flushed first: renamed before it reached the disk, a power cut could leave an
  // empty or partial file where the old one stood.
  const char* what = exists ? "Cannot write file" : "Cannot create file";
  int err = WriteAllAt(fd, bytes, 0);
  if (err == 0 && ::fsync(fd) != 0) err = errno;
  if (::close(fd) != 0 && err == 0) err = errno;
  if (err == 0 && ::rename(tmp.c_str(), target.c_str()) != 0) err = errno;
  if (err != 0) {
    ::unlink(tmp.c_str());
    return fail(what, err);
  }
  // Until the folder is flushed the rename itself may still be lost; a save is not reported done
  // before it is on the disk.
  if (const int folderErr = SyncFolderOf(target); folderErr != 0) return fail(what, folderErr);
  return true;
}

bool TextWriter::save(const std::string& path, std::string* error) const {
  std::string bytes;
  for (const auto& l : m_lines) {
    bytes += Utf8ToCp1252(l);
    bytes += "\r\n";
  }
  return WriteFileSafely(path, bytes, error);
}

std::vector<std::string> SplitBlanks(const std::string& line) {
  std::vector<std::string> out;
  std::string cur;
  for (char c : line) {
    if (c == ' ' || c == '\t') {
      if (!cur.empty()) out.push_back(cur), cur.clear();
    } else {
      cur += c;
    }
  }
  if (!cur.empty()) out.push_back(cur);
  return out;
}

}  // namespace kavrix

#pragma once
// Real file-system faults for save tests: an ordinary user's permissions (as root every
// permission bit would be ignored) and a file size limit that makes a write fail part-way.
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

#include <csignal>
#include <cstdio>
#include <string>

namespace kavrix::test {

// While it lives, the process acts as "nobody" when it runs as root, so permission bits bind it
// as they bind an ordinary user; otherwise it changes nothing. Supplementary groups stay, so the
// files it guards must carry no group write bit.
class AsOrdinaryUser {
 public:
  static constexpr uid_t kNobody = 65534;
  AsOrdinaryUser() {
    if (::geteuid() != 0) return;
    m_switched = ::setegid(kNobody) == 0 && ::seteuid(kNobody) == 0;
  }
  ~AsOrdinaryUser() {
    if (!m_switched) return;
    [[maybe_unused]] const int a = ::seteuid(0);
    [[maybe_unused]] const int b = ::setegid(0);
  }
  AsOrdinaryUser(const AsOrdinaryUser&) = delete;
  AsOrdinaryUser& operator=(const AsOrdinaryUser&) = delete;

  // Hands a file or folder to the user that AsOrdinaryUser acts as.
  static void Give(const std::string& path) {
    if (::geteuid() == 0 && ::chown(path.c_str(), kNobody, kNobody) != 0) std::perror(path.c_str());
  }

 private:
  bool m_switched = false;
};

// Files may not grow beyond `bytes` while it lives: a longer write fails with EFBIG.
class FileSizeLimit {
 public:
  explicit FileSizeLimit(rlim_t bytes) {
    ::getrlimit(RLIMIT_FSIZE, &m_old);
    rlimit r = m_old;
    r.rlim_cur = bytes;
    ::setrlimit(RLIMIT_FSIZE, &r);
    m_oldHandler = std::signal(SIGXFSZ, SIG_IGN);
  }
  ~FileSizeLimit() {
    ::setrlimit(RLIMIT_FSIZE, &m_old);
    std::signal(SIGXFSZ, m_oldHandler);
  }
  FileSizeLimit(const FileSizeLimit&) = delete;
  FileSizeLimit& operator=(const FileSizeLimit&) = delete;

 private:
  rlimit m_old{};
  void (*m_oldHandler)(int) = SIG_DFL;
};

inline unsigned FileMode(const std::string& path) {
  struct stat st {};
  return ::stat(path.c_str(), &st) == 0 ? static_cast<unsigned>(st.st_mode & 07777) : 0u;
}

}  // namespace kavrix::test

// The POSIX side's temporary files: made new beside their target under a
// hidden name (O_CREAT | O_EXCL | O_NOFOLLOW), removed by the handler of a
// signal that ends zorvin part-way, flushed with fsync; and the reasons and
// path parts every part of it uses.
#include <cerrno>
#include <climits>
#include <csignal>
#include <cstring>
#include <random>

#include <fcntl.h>
#include <unistd.h>

#include "file/file_posix.h"

namespace zorvin::file::posix {

std::string Reason(int error) { return std::strerror(error); }

[[noreturn]] void Fail(const std::string& what, int error) { throw FileError(what + ": " + Reason(error)); }

std::string Prefix(const std::string& path) {
  const std::size_t slash = path.rfind('/');
  return slash == std::string::npos ? std::string() : path.substr(0, slash + 1);
}

std::string Folder(const std::string& path) {
  const std::string prefix = Prefix(path);
  if (prefix.empty()) return ".";
  return prefix.size() == 1 ? prefix : prefix.substr(0, prefix.size() - 1);
}

std::string Name(const std::string& path) { return path.substr(Prefix(path).size()); }

void WriteAll(int fd, const char* data, std::size_t size, const std::string& what) {
  while (size > 0) {
    const ssize_t wrote = ::write(fd, data, size);
    if (wrote < 0) {
      if (errno == EINTR) continue;
      Fail(what, errno);
    }
    data += wrote;
    size -= static_cast<std::size_t>(wrote);
  }
}

namespace {

// The temporary files' paths while they exist (the new file, and a backup
// being copied), for a signal that ends zorvin part-way (Ctrl+C, a kill): the
// handler removes them and ends the process as the signal would. A SIGKILL
// leaves them, and the map as it was.
constexpr int kSlots = 2;
char g_temporary[kSlots][PATH_MAX + 1];
volatile std::sig_atomic_t g_armed[kSlots] = {};
constexpr int kEndingSignals[] = {SIGINT, SIGTERM, SIGHUP};

extern "C" void RemoveTemporariesAndEnd(int signal) {
  for (int slot = 0; slot < kSlots; ++slot) {
    if (g_armed[slot] != 0) ::unlink(g_temporary[slot]);
  }
  std::signal(signal, SIG_DFL);
  std::raise(signal);
}

void Arm(int slot, const std::string& path) {
  if (path.size() > PATH_MAX) return;
  std::memcpy(g_temporary[slot], path.c_str(), path.size() + 1);
  g_armed[slot] = 1;
  for (int signal : kEndingSignals) {
    struct sigaction action {};
    struct sigaction old {};
    if (::sigaction(signal, nullptr, &old) == 0 && old.sa_handler == SIG_IGN) continue;  // left ignored
    action.sa_handler = RemoveTemporariesAndEnd;
    sigemptyset(&action.sa_mask);
    ::sigaction(signal, &action, nullptr);
  }
}


}  // namespace

void Disarm(int slot) { g_armed[slot] = 0; }

namespace {

std::string RandomSuffix() {
  static std::mt19937_64 random{std::random_device{}() ^ static_cast<std::uint64_t>(::getpid())};
  static const char kDigits[] = "0123456789abcdef";
  std::string suffix;
  std::uint64_t bits = random();
  for (int i = 0; i < 12; ++i, bits >>= 4) suffix += kDigits[bits & 15];
  return suffix;
}

}  // namespace

Temporary::Temporary(int slot, const std::string& target, mode_t mode) : slot(slot) {
  for (int attempt = 0; attempt < 100 && fd < 0; ++attempt) {
    path = Prefix(target) + "." + Name(target) + ".zorvin-" + RandomSuffix() + ".tmp";
    // Made new: never through a name that exists, a planted link included.
    fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, mode);
    if (fd < 0 && errno != EEXIST) Fail("cannot write beside it", errno);
  }
  if (fd < 0) throw FileError("cannot write beside it: no free temporary name");
  Arm(slot, path);
}

Temporary::~Temporary() {
  if (fd >= 0) ::close(fd);
  if (!kept) ::unlink(path.c_str());
  Disarm(slot);
}

void Temporary::Flush(const std::string& what) {
  if (::fsync(fd) != 0) Fail(what, errno);
  Close(what);
}

void Temporary::Close(const std::string& what) {
  const int closing = fd;
  fd = -1;
  if (::close(closing) != 0) Fail(what, errno);
}

}  // namespace zorvin::file::posix

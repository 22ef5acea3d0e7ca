// A user's file on POSIX systems: open, fstat, O_CREAT | O_EXCL | O_NOFOLLOW
// for every file made, fsync, link or copy for the backup, rename, and an
// fsync of the folder so that the rename itself reaches the disk.
#include "file/user_file.h"

#include <cerrno>
#include <climits>
#include <csignal>
#include <cstdlib>
#include <cstring>
#include <exception>
#include <random>
#include <thread>
#include <vector>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace zorvin::file {

struct Input::State {
  int fd = -1;
  std::string target;  // the file itself: the path, or where its link points
  struct stat status {};
};

struct Replacement::State {
  int fd = -1;
  std::string path;
  bool placed = false;
  std::thread copier;  // CopyRest's
  std::exception_ptr copyFailure;
  void Join();
};

namespace {

std::string Reason(int error) { return std::strerror(error); }

[[noreturn]] void Fail(const std::string& what, int error) { throw FileError(what + ": " + Reason(error)); }

std::string Folder(const std::string& path) {
  const std::size_t slash = path.rfind('/');
  if (slash == std::string::npos) return ".";
  return slash == 0 ? "/" : path.substr(0, slash);
}

std::string Name(const std::string& path) {
  const std::size_t slash = path.rfind('/');
  return slash == std::string::npos ? path : path.substr(slash + 1);
}

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

// The temporary file's path while it exists, for a signal that ends zorvin
// part-way (Ctrl+C, a kill): the handler removes it and ends the process as
// the signal would. A SIGKILL leaves it, and the map as it was.
char g_temporary[PATH_MAX + 1];
volatile std::sig_atomic_t g_armed = 0;
constexpr int kEndingSignals[] = {SIGINT, SIGTERM, SIGHUP};

extern "C" void RemoveTemporaryAndEnd(int signal) {
  if (g_armed != 0) ::unlink(g_temporary);
  std::signal(signal, SIG_DFL);
  std::raise(signal);
}

void Arm(const std::string& path) {
  if (path.size() > PATH_MAX) return;
  std::memcpy(g_temporary, path.c_str(), path.size() + 1);
  g_armed = 1;
  for (int signal : kEndingSignals) {
    struct sigaction action {};
    struct sigaction old {};
    if (::sigaction(signal, nullptr, &old) == 0 && old.sa_handler == SIG_IGN) continue;  // left ignored
    action.sa_handler = RemoveTemporaryAndEnd;
    sigemptyset(&action.sa_mask);
    ::sigaction(signal, &action, nullptr);
  }
}

void Disarm() { g_armed = 0; }

std::string RandomSuffix() {
  static std::mt19937_64 random{std::random_device{}() ^ static_cast<std::uint64_t>(::getpid())};
  static const char kDigits[] = "0123456789abcdef";
  std::string suffix;
  std::uint64_t bits = random();
  for (int i = 0; i < 12; ++i, bits >>= 4) suffix += kDigits[bits & 15];
  return suffix;
}

// Whether the file at path is still the one that was opened, as it was.
bool Unchanged(const std::string& path, const struct stat& opened) {
  struct stat now {};
  return ::stat(path.c_str(), &now) == 0 && now.st_dev == opened.st_dev && now.st_ino == opened.st_ino &&
         now.st_size == opened.st_size && now.st_mtim.tv_sec == opened.st_mtim.tv_sec &&
         now.st_mtim.tv_nsec == opened.st_mtim.tv_nsec;
}

// A copy of the open file's bytes into a file made new at path: where the
// file system has no hard links.
void CopyInto(int from, int to, const std::string& what) {
  std::vector<char> buffer(1 << 20);
  for (off_t at = 0;;) {
    const ssize_t got = ::pread(from, buffer.data(), buffer.size(), at);
    if (got < 0) {
      if (errno == EINTR) continue;
      Fail(what, errno);
    }
    if (got == 0) return;
    WriteAll(to, buffer.data(), static_cast<std::size_t>(got), what);
    at += got;
  }
}

// Keeps the old bytes as target.bak, or .bak.1, .bak.2, ...: the first name
// not taken (by anything, a dangling link too). A hard link costs nothing;
// a copy serves where links cannot be made.
std::string KeepBackup(const Input::State& input) {
  for (int n = 0; n < 1000; ++n) {
    const std::string backup = input.target + ".bak" + (n == 0 ? "" : "." + std::to_string(n));
    if (::link(input.target.c_str(), backup.c_str()) == 0) {
      struct stat made {};
      if (::lstat(backup.c_str(), &made) != 0 || made.st_ino != input.status.st_ino) {
        throw FileError("the backup " + backup + " is not the old file");
      }
      return backup;
    }
    if (errno == EEXIST) continue;
    // No hard links here (or across a link to another file system): a copy.
    const int fd = ::open(backup.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC,
                          input.status.st_mode & 07777);
    if (fd < 0) {
      if (errno == EEXIST) continue;
      Fail("cannot make the backup " + backup, errno);
    }
    try {
      CopyInto(input.fd, fd, "cannot write the backup " + backup);
      if (::fsync(fd) != 0) Fail("cannot write the backup " + backup, errno);
    } catch (...) {
      ::close(fd);
      ::unlink(backup.c_str());
      throw;
    }
    ::close(fd);
    return backup;
  }
  throw FileError("cannot make a backup: " + input.target + ".bak to .bak.999 are all taken");
}

}  // namespace

Input::Input(const std::string& path) : state_(std::make_unique<State>()) {
  // Non-blocking, so that a FIFO does not wait for a writer before it is refused.
  state_->fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
  if (state_->fd < 0) Fail("cannot be read", errno);
  if (::fstat(state_->fd, &state_->status) != 0) Fail("cannot be read", errno);
  if (S_ISDIR(state_->status.st_mode)) throw FileError("is a folder, not a file");
  if (!S_ISREG(state_->status.st_mode)) throw FileError("is not a regular file");
  ::fcntl(state_->fd, F_SETFL, ::fcntl(state_->fd, F_GETFL) & ~O_NONBLOCK);
  state_->target = path;
  struct stat link {};
  if (::lstat(path.c_str(), &link) == 0 && S_ISLNK(link.st_mode)) {
    // The file the link points to is the one replaced; the link stays.
    char resolved[PATH_MAX];
    if (::realpath(path.c_str(), resolved) == nullptr) Fail("cannot follow its link", errno);
    state_->target = resolved;
  }
}

Input::~Input() {
  if (state_ && state_->fd >= 0) ::close(state_->fd);
}

std::size_t Input::Read(char* buffer, std::size_t size) {
  for (;;) {
    const ssize_t got = ::read(state_->fd, buffer, size);
    if (got >= 0) return static_cast<std::size_t>(got);
    if (errno != EINTR) Fail("cannot be read", errno);
  }
}

void Input::RefuseReadOnly() const {
  if ((state_->status.st_mode & S_IWUSR) == 0) throw FileError("is read-only: it was left as it is");
}

Replacement::Replacement(Input& input) : input_(input), state_(std::make_unique<State>()) {
  const Input::State& from = *input.state_;
  for (int attempt = 0; attempt < 100 && state_->fd < 0; ++attempt) {
    state_->path = Folder(from.target) + "/." + Name(from.target) + ".zorvin-" + RandomSuffix() + ".tmp";
    // Made new: never through a name that exists, a planted link included.
    state_->fd = ::open(state_->path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0600);
    if (state_->fd < 0 && errno != EEXIST) Fail("cannot write beside it", errno);
  }
  if (state_->fd < 0) throw FileError("cannot write beside it: no free temporary name");
  Arm(state_->path);
  // The old file's owner (where allowed) and permission bits.
  if (::fchown(state_->fd, from.status.st_uid, from.status.st_gid) != 0) {
    // Only its owner's own: another owner's file written by someone else
    // becomes theirs, as an editor's save does.
  }
  if (::fchmod(state_->fd, from.status.st_mode & 07777) != 0) Fail("cannot set the new file's permissions", errno);
}

Replacement::~Replacement() {
  state_->Join();
  if (state_->fd >= 0) ::close(state_->fd);
  if (!state_->placed) ::unlink(state_->path.c_str());
  Disarm();
}

void Replacement::Write(std::string_view bytes) {
  WriteAll(state_->fd, bytes.data(), bytes.size(), "cannot write the new file");
}

bool Replacement::CopyRest(std::uint64_t at) {
  const int from = input_.state_->fd, to = state_->fd;
  state_->copier = std::thread([this, from, to, at] {
    try {
      auto offset = static_cast<off_t>(at);
#ifdef __linux__
      // Page cache to page cache, in the kernel.
      for (;;) {
        const ssize_t copied = ::copy_file_range(from, &offset, to, nullptr, std::size_t{1} << 30, 0);
        if (copied > 0) continue;
        if (copied == 0) return;
        if (errno == EINTR) continue;
        if (errno != ENOSYS && errno != EXDEV && errno != EINVAL && errno != EOPNOTSUPP && errno != EBADF) {
          Fail("cannot write the new file", errno);
        }
        break;  // not on this file system: through memory
      }
#endif
      std::vector<char> buffer(1 << 20);
      for (;;) {
        const ssize_t got = ::pread(from, buffer.data(), buffer.size(), offset);
        if (got < 0 && errno == EINTR) continue;
        if (got < 0) Fail("cannot be read", errno);
        if (got == 0) return;
        WriteAll(to, buffer.data(), static_cast<std::size_t>(got), "cannot write the new file");
        offset += got;
      }
    } catch (...) {
      state_->copyFailure = std::current_exception();
    }
  });
  return true;
}

void Replacement::State::Join() {
  if (copier.joinable()) copier.join();
}

std::optional<std::string> Replacement::Commit(bool backup) {
  const Input::State& from = *input_.state_;
  state_->Join();
  if (state_->copyFailure) std::rethrow_exception(state_->copyFailure);
  if (::fsync(state_->fd) != 0) Fail("cannot write the new file", errno);
  const int fd = state_->fd;
  state_->fd = -1;
  if (::close(fd) != 0) Fail("cannot write the new file", errno);
  if (!Unchanged(from.target, from.status)) {
    throw FileError("changed while zorvin was reading it: it was left as it is; try again");
  }
  std::optional<std::string> kept;
  if (backup) kept = KeepBackup(from);
  if (::rename(state_->path.c_str(), from.target.c_str()) != 0) Fail("cannot be replaced", errno);
  state_->placed = true;
  Disarm();
  // The rename reaches the disk with its folder.
  const int folder = ::open(Folder(from.target).c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (folder >= 0) {
    ::fsync(folder);
    ::close(folder);
  }
  return kept;
}

}  // namespace zorvin::file

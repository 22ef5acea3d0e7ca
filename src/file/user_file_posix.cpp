// A user's file on POSIX systems: open, fstat, O_CREAT | O_EXCL | O_NOFOLLOW
// for every file made, fsync, link or a copy for the backup, an exchange of
// names (Linux's renameat2) or a rename, and an fsync of the folder so that
// the change of names itself reaches the disk.
#include "file/user_file.h"

#include <cerrno>
#include <climits>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <random>
#include <vector>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace zorvin::file {

struct Input::State {
  int fd = -1;
  std::string target;  // the file itself: the path, or where its link points
  struct stat status {};
  std::uint64_t read = 0;  // bytes read so far
};

namespace {

std::string Reason(int error) { return std::strerror(error); }

[[noreturn]] void Fail(const std::string& what, int error) { throw FileError(what + ": " + Reason(error)); }

constexpr const char* kChanged = "changed while zorvin was reading it: it was left as it is; try again";

// What stands before a path's last part ("maps/", "/", or nothing), and its
// last part.
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

void Disarm(int slot) { g_armed[slot] = 0; }

std::string RandomSuffix() {
  static std::mt19937_64 random{std::random_device{}() ^ static_cast<std::uint64_t>(::getpid())};
  static const char kDigits[] = "0123456789abcdef";
  std::string suffix;
  std::uint64_t bits = random();
  for (int i = 0; i < 12; ++i, bits >>= 4) suffix += kDigits[bits & 15];
  return suffix;
}

// A file made new beside target, under a hidden name of its own, armed
// against signals in the given slot. Removed again (and disarmed) unless it
// is kept.
struct Temporary {
  int slot;
  int fd = -1;
  std::string path;
  bool kept = false;

  Temporary(int slot, const std::string& target, mode_t mode) : slot(slot) {
    for (int attempt = 0; attempt < 100 && fd < 0; ++attempt) {
      path = Prefix(target) + "." + Name(target) + ".zorvin-" + RandomSuffix() + ".tmp";
      // Made new: never through a name that exists, a planted link included.
      fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, mode);
      if (fd < 0 && errno != EEXIST) Fail("cannot write beside it", errno);
    }
    if (fd < 0) throw FileError("cannot write beside it: no free temporary name");
    Arm(slot, path);
  }
  ~Temporary() {
    if (fd >= 0) ::close(fd);
    if (!kept) ::unlink(path.c_str());
    Disarm(slot);
  }
  Temporary(const Temporary&) = delete;
  Temporary& operator=(const Temporary&) = delete;

  // Flushed to the disk and closed.
  void Flush(const std::string& what) {
    if (::fsync(fd) != 0) Fail(what, errno);
    const int closing = fd;
    fd = -1;
    if (::close(closing) != 0) Fail(what, errno);
  }
};

bool SameFile(const struct stat& a, const struct stat& b) { return a.st_dev == b.st_dev && a.st_ino == b.st_ino; }

// Its bytes as the system tells them apart: its size and when they were last written.
bool SameBytes(const struct stat& a, const struct stat& b) {
  return a.st_size == b.st_size && a.st_mtim.tv_sec == b.st_mtim.tv_sec && a.st_mtim.tv_nsec == b.st_mtim.tv_nsec;
}

bool SameChangeTime(const struct stat& a, const struct stat& b) {
  return a.st_ctim.tv_sec == b.st_ctim.tv_sec && a.st_ctim.tv_nsec == b.st_ctim.tv_nsec;
}

// Whether the system could not exchange or refuse names in one step here.
bool NotHere(int error) { return error == EINVAL || error == ENOSYS || error == EOPNOTSUPP || error == ENOTTY; }

// Gives a finished file at from the name to, which must be free: false when
// it is taken.
bool PlaceNew(const std::string& from, const std::string& to) {
#ifdef RENAME_NOREPLACE
  if (::renameat2(AT_FDCWD, from.c_str(), AT_FDCWD, to.c_str(), RENAME_NOREPLACE) == 0) return true;
  if (errno == EEXIST) return false;
  if (!NotHere(errno)) Fail("cannot make the backup " + to, errno);
#endif
  if (::link(from.c_str(), to.c_str()) == 0) {
    ::unlink(from.c_str());
    return true;
  }
  if (errno == EEXIST) return false;
  // Neither: a rename to a name seen free a moment before.
  struct stat taken {};
  if (::lstat(to.c_str(), &taken) == 0 || errno != ENOENT) return false;
  if (::rename(from.c_str(), to.c_str()) != 0) Fail("cannot make the backup " + to, errno);
  return true;
}

std::string BackupName(const std::string& target, int n) {
  return target + ".bak" + (n == 0 ? "" : "." + std::to_string(n));
}

constexpr int kBackupNames = 1000;
[[noreturn]] void AllBackupNamesTaken(const std::string& target) {
  throw FileError("cannot make a backup: " + target + ".bak to .bak.999 are all taken");
}

// The old bytes as a copy made new: through a temporary name, flushed, then
// given the first backup name not taken, so that a name holds all of them or
// nothing.
std::string CopyBackup(const Input::State& input) {
  Temporary copy(1, input.target, 0600);
  const std::string what = "cannot write a backup beside it";
  if (::fchmod(copy.fd, input.status.st_mode & 07777) != 0) Fail(what, errno);
  std::vector<char> buffer(1 << 20);
  off_t at = 0;
  for (;;) {
    const ssize_t got = ::pread(input.fd, buffer.data(), buffer.size(), at);
    if (got < 0) {
      if (errno == EINTR) continue;
      Fail("cannot be read", errno);
    }
    if (got == 0) break;
    WriteAll(copy.fd, buffer.data(), static_cast<std::size_t>(got), what);
    at += got;
  }
  if (at != input.status.st_size) throw FileError(kChanged);
  copy.Flush(what);
  for (int n = 0; n < kBackupNames; ++n) {
    const std::string backup = BackupName(input.target, n);
    if (PlaceNew(copy.path, backup)) {
      copy.kept = true;
      return backup;
    }
  }
  AllBackupNamesTaken(input.target);
}

// Keeps the old bytes as target.bak, or .bak.1, .bak.2, ...: the first name
// not taken (by anything, a dangling link too). A new name of the old file
// costs nothing; a copy serves where such names cannot be made, and where the
// file has other names already, which may later be written through.
std::string KeepBackup(const Input::State& input) {
  if (input.status.st_nlink > 1) return CopyBackup(input);
  for (int n = 0; n < kBackupNames; ++n) {
    const std::string backup = BackupName(input.target, n);
    if (::link(input.target.c_str(), backup.c_str()) == 0) {
      struct stat made {};
      if (::lstat(backup.c_str(), &made) != 0 || !SameFile(made, input.status)) {
        ::unlink(backup.c_str());
        throw FileError(kChanged);
      }
      return backup;
    }
    if (errno != EEXIST) return CopyBackup(input);  // no such names here, or not for this user
  }
  AllBackupNamesTaken(input.target);
}

// Whether the file at path is the one that was read, its bytes and its
// change time as expected.
bool StillThere(const std::string& path, const struct stat& read, const struct stat& expected) {
  struct stat now {};
  return ::stat(path.c_str(), &now) == 0 && SameFile(now, read) && SameBytes(now, read) && SameChangeTime(now, expected);
}

}  // namespace

struct Replacement::State {
  explicit State(const Input::State& from) : file(0, from.target, 0600) {}
  Temporary file;
  std::uint64_t written = 0;
  std::uint64_t started = 0;  // bytes whose writing to the disk has been started
};

Input::Input(const std::string& path) : state_(std::make_unique<State>()) {
  // Non-blocking, so that a FIFO does not wait for a writer before it is refused.
  state_->fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
  if (state_->fd < 0) Fail("cannot be read", errno);
  if (::fstat(state_->fd, &state_->status) != 0) Fail("cannot be read", errno);
  if (S_ISDIR(state_->status.st_mode)) throw FileError("is a folder, not a file");
  if (!S_ISREG(state_->status.st_mode)) throw FileError("is not a regular file");
  ::fcntl(state_->fd, F_SETFL, ::fcntl(state_->fd, F_GETFL) & ~O_NONBLOCK);
#ifdef POSIX_FADV_SEQUENTIAL
  ::posix_fadvise(state_->fd, 0, 0, POSIX_FADV_SEQUENTIAL);
#endif
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
    if (got >= 0) {
      state_->read += static_cast<std::uint64_t>(got);
      return static_cast<std::size_t>(got);
    }
    if (errno != EINTR) Fail("cannot be read", errno);
  }
}

void Input::RefuseUnwritable() const {
  const State& s = *state_;
  if ((s.status.st_mode & S_IWUSR) == 0) throw FileError("is read-only: it was left as it is");
  if (::faccessat(AT_FDCWD, s.target.c_str(), W_OK, AT_EACCESS) != 0) {
    if (errno == EROFS) throw FileError("is on a read-only file system: it was left as it is");
    throw FileError("may not be written by this user: it was left as it is");
  }
  // Replacing a file takes a folder this user may write, and in a folder
  // with the sticky bit (as /tmp has), being the file's owner or the folder's.
  const std::string folder = Folder(s.target);
  struct stat dir {};
  if (::stat(folder.c_str(), &dir) != 0) Fail("cannot be replaced", errno);
  if (::faccessat(AT_FDCWD, folder.c_str(), W_OK | X_OK, AT_EACCESS) != 0) {
    throw FileError("stands in a folder this user may not write: it was left as it is");
  }
  const uid_t user = ::geteuid();
  if ((dir.st_mode & S_ISVTX) != 0 && user != 0 && user != s.status.st_uid && user != dir.st_uid) {
    throw FileError("stands in a folder whose sticky bit lets only its owner replace it: it was left as it is");
  }
}

std::uint64_t Input::OtherNames() const { return state_->status.st_nlink > 0 ? state_->status.st_nlink - 1 : 0; }

Replacement::Replacement(Input& input) : input_(input), state_(std::make_unique<State>(*input.state_)) {
  const Input::State& from = *input.state_;
  const int fd = state_->file.fd;
  // The old file's owner and group where allowed, else its group alone (a
  // user who writes it through its group keeps it theirs), and its
  // permission bits. Another owner's file written by someone else becomes
  // theirs, as an editor's save does.
  if (::fchown(fd, from.status.st_uid, from.status.st_gid) != 0 &&
      ::fchown(fd, static_cast<uid_t>(-1), from.status.st_gid) != 0) {
    // Neither: the new file is this user's, in their own group.
  }
  if (::fchmod(fd, from.status.st_mode & 07777) != 0) Fail("cannot set the new file's permissions", errno);
}

Replacement::~Replacement() = default;

void Replacement::Write(std::string_view bytes) {
  State& s = *state_;
  WriteAll(s.file.fd, bytes.data(), bytes.size(), "cannot write the new file");
  s.written += bytes.size();
#ifdef SYNC_FILE_RANGE_WRITE
  // The disk starts on what is written while the rest is read, so that the
  // flush at the end waits for little.
  constexpr std::uint64_t kStep = std::uint64_t{8} << 20;
  if (s.written - s.started >= kStep) {
    ::sync_file_range(s.file.fd, static_cast<off_t>(s.started), static_cast<off_t>(s.written - s.started),
                      SYNC_FILE_RANGE_WRITE);
    s.started = s.written;
  }
#endif
}

std::optional<std::string> Replacement::Commit(bool backup) {
  const Input::State& from = *input_.state_;
  State& s = *state_;
  // What was read is the whole file, as it was when it was opened.
  struct stat now {};
  if (::fstat(from.fd, &now) != 0) Fail("cannot be read", errno);
  if (!SameBytes(now, from.status) || !SameChangeTime(now, from.status)) throw FileError(kChanged);
  if (from.read != static_cast<std::uint64_t>(from.status.st_size)) {
    throw FileError("ended after " + std::to_string(from.read) + " of its " + std::to_string(from.status.st_size) +
                    " bytes: it was left as it is");
  }
  // What is put in its place is what was written.
  struct stat made {};
  if (::fstat(s.file.fd, &made) != 0) Fail("cannot write the new file", errno);
  if (static_cast<std::uint64_t>(made.st_size) != s.written) {
    throw FileError("cannot write the new file: it holds " + std::to_string(made.st_size) + " of the " +
                    std::to_string(s.written) + " bytes written");
  }
  s.file.Flush("cannot write the new file");

  std::optional<std::string> kept;
  struct stat expected = from.status;  // a new name changes the file's change time
  try {
    if (backup) {
      kept = KeepBackup(from);
      if (::fstat(from.fd, &expected) != 0 || !SameBytes(expected, from.status)) throw FileError(kChanged);
    }
    // The file is checked once more at the last moment: a save by another
    // program since it was read is never overwritten.
    if (!StillThere(from.target, from.status, expected)) throw FileError(kChanged);
    Disarm(s.file.slot);
#ifdef RENAME_EXCHANGE
    // Where the names can be exchanged in one step, what comes out is checked
    // to be the file that was read, and is put back if it is not.
    if (::renameat2(AT_FDCWD, s.file.path.c_str(), AT_FDCWD, from.target.c_str(), RENAME_EXCHANGE) == 0) {
      s.file.kept = true;
      struct stat out {};
      if (::lstat(s.file.path.c_str(), &out) == 0 && SameFile(out, from.status) && SameBytes(out, from.status)) {
        ::unlink(s.file.path.c_str());  // the old file's name: its bytes live on in the backup, if one was kept
      } else if (::renameat2(AT_FDCWD, s.file.path.c_str(), AT_FDCWD, from.target.c_str(), RENAME_EXCHANGE) == 0) {
        s.file.kept = false;
        throw FileError(kChanged);
      } else {
        throw FileError("was replaced by another program as zorvin replaced it, and could not be put back: "
                        "that program's bytes are in " + s.file.path);
      }
    } else if (!NotHere(errno)) {
      Fail("cannot be replaced", errno);
    }
#endif
    if (!s.file.kept) {
      if (::rename(s.file.path.c_str(), from.target.c_str()) != 0) Fail("cannot be replaced", errno);
      s.file.kept = true;
    }
  } catch (...) {
    if (kept && !s.file.kept) ::unlink(kept->c_str());  // nothing new is left of a try that failed
    throw;
  }

  // The change of names reaches the disk with its folder (one this user
  // cannot read is not opened, and cannot be flushed).
  const int folder = ::open(Folder(from.target).c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (folder >= 0) {
    const int flushed = ::fsync(folder) == 0 ? 0 : errno;
    ::close(folder);
    if (flushed != 0 && flushed != EINVAL) {
      throw NotDurable("was replaced, but its folder could not be flushed to the disk (" + Reason(flushed) +
                       "): a crash may still undo it");
    }
  }
  return kept;
}

void WriteNew(const std::string& path, std::string_view bytes) {
  struct stat there {};
  if (::stat(path.c_str(), &there) == 0 && S_ISDIR(there.st_mode)) throw FileError("is a folder");
  Temporary file(0, path, 0666);  // the user's umask decides, as for any file made new
  WriteAll(file.fd, bytes.data(), bytes.size(), "cannot be written");
  file.Flush("cannot be written");
  Disarm(file.slot);
  if (::rename(file.path.c_str(), path.c_str()) != 0) Fail("cannot be written", errno);
  file.kept = true;
}

}  // namespace zorvin::file

// A user's file on POSIX systems: open, fstat, O_CREAT | O_EXCL | O_NOFOLLOW
// for every file made, fsync, link or a copy for the backup, an exchange of
// names (Linux's renameat2) or a rename, and an fsync of the folder so that
// the change of names itself reaches the disk.
#include "file/user_file.h"

#include <cerrno>
#include <climits>
#include <cstdlib>
#include <stdexcept>

#include <fcntl.h>
#include <stdio.h>
#include <sys/stat.h>
#include <unistd.h>

#include "file/file_posix.h"

namespace zorvin::file {

using namespace posix;

namespace {

// Whether the file at path is the one that was read, its bytes and its
// change time as expected.
bool StillThere(const std::string& path, const struct stat& read, const struct stat& expected) {
  struct stat now {};
  return ::stat(path.c_str(), &now) == 0 && SameFile(now, read) && SameBytes(now, read) && SameChangeTime(now, expected);
}

}  // namespace
// The target of a file opened to be replaced; one opened to be read only
// was never asked where a link points.
const std::string& Replaceable(const Input::State& from) {
  if (!from.replaceable) throw std::logic_error("a file opened to be read only cannot be replaced");
  return from.target;
}

struct Replacement::State {
  explicit State(const Input::State& from) : file(0, Replaceable(from), 0600) {}
  Temporary file;
  std::uint64_t written = 0;
  std::uint64_t started = 0;  // bytes whose writing to the disk has been started
};

Input::Input(const std::string& path, Use use) : state_(std::make_unique<State>()) {
  // Non-blocking, so that a FIFO does not wait for a writer before it is refused.
  state_->fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
  if (state_->fd < 0) Fail("cannot be read", errno);
  if (::fstat(state_->fd, &state_->status) != 0) Fail("cannot be read", errno);
  if (S_ISDIR(state_->status.st_mode)) throw FileError("is a folder, not a file");
  if (!S_ISREG(state_->status.st_mode)) throw FileError("is not a regular file");
  // O_NONBLOCK does nothing to a regular file's reads: it stays. A file of
  // more than a few reads is read ahead.
#ifdef POSIX_FADV_SEQUENTIAL
  if (state_->status.st_size > (off_t{1} << 22)) ::posix_fadvise(state_->fd, 0, 0, POSIX_FADV_SEQUENTIAL);
#endif
  state_->target = path;
  state_->replaceable = use == Use::replace;
  struct stat link {};
  if (use == Use::replace && ::lstat(path.c_str(), &link) == 0 && S_ISLNK(link.st_mode)) {
    // The file the link points to is the one replaced; the link stays.
    char resolved[PATH_MAX];
    if (::realpath(path.c_str(), resolved) == nullptr) Fail("cannot follow its link", errno);
    state_->target = resolved;
  }
}

Input::~Input() {
  if (state_ && state_->fd >= 0) ::close(state_->fd);
}

std::uint64_t Input::Size() const { return static_cast<std::uint64_t>(state_->status.st_size); }

Input::Stamp Input::Stamped() const {
  const struct stat& s = state_->status;
  return {static_cast<std::uint64_t>(s.st_dev), static_cast<std::uint64_t>(s.st_ino), static_cast<std::uint64_t>(s.st_size),
          static_cast<std::uint64_t>(s.st_mtim.tv_sec) * 1000000000u + static_cast<std::uint64_t>(s.st_mtim.tv_nsec)};
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
  const bool replaces = ::stat(path.c_str(), &there) == 0;
  if (replaces && S_ISDIR(there.st_mode)) throw FileError("is a folder");
  Temporary file(0, path, 0666);  // the user's umask decides, as for any file made new
  WriteAll(file.fd, bytes.data(), bytes.size(), "cannot be written");
  // Not flushed: a picture can be made again. A crash of zorvin still
  // leaves no part of it under its name, which it gets whole or not at all.
  file.Close("cannot be written");
  // One that replaces a file is swapped with it, and the old one, now under
  // the temporary name, removed as the temporary is: ext4 starts writing a
  // file to the disk when it is renamed over another (for programs that do
  // not flush what they replace), the flush a picture goes without.
  if (replaces && S_ISREG(there.st_mode) &&
      ::renameat2(AT_FDCWD, file.path.c_str(), AT_FDCWD, path.c_str(), RENAME_EXCHANGE) == 0) {
    return;
  }
  Disarm(file.slot);
  if (::rename(file.path.c_str(), path.c_str()) != 0) Fail("cannot be written", errno);
  file.kept = true;
}

}  // namespace zorvin::file

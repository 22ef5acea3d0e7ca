// The POSIX side's backups: a new name of the old file (link) where it has
// only one, else a copy made new and flushed, given the first free name with
// renameat2's RENAME_NOREPLACE (or link, or a rename to a name seen free).
#include <cerrno>
#include <vector>

#include <fcntl.h>
#include <stdio.h>
#include <unistd.h>

#include "file/file_posix.h"

namespace zorvin::file::posix {

bool NotHere(int error) { return error == EINVAL || error == ENOSYS || error == EOPNOTSUPP || error == ENOTTY; }

namespace {

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

}  // namespace

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

}  // namespace zorvin::file::posix

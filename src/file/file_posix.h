// What the POSIX side of a user's file shares among its parts: the input's
// state, the system's reasons, the parts of a path, and the temporary files
// (file_temporary_posix.cpp) and backups (file_backup_posix.cpp) a
// replacement makes.
#pragma once

#include <string>

#include <sys/stat.h>
#include <sys/types.h>

#include "file/user_file.h"

namespace zorvin::file {

struct Input::State {
  int fd = -1;
  std::string target;  // the file itself: the path, or where its link points
  struct stat status {};
  std::uint64_t read = 0;  // bytes read so far
  bool replaceable = true;  // opened to be replaced (Use::replace)
};

namespace posix {

std::string Reason(int error);
[[noreturn]] void Fail(const std::string& what, int error);

inline constexpr const char* kChanged = "changed while zorvin was reading it: it was left as it is; try again";

// What stands before a path's last part ("maps/", "/", or nothing), the
// folder it names ("." for none), and its last part.
std::string Prefix(const std::string& path);
std::string Folder(const std::string& path);
std::string Name(const std::string& path);

void WriteAll(int fd, const char* data, std::size_t size, const std::string& what);

// The handler of a signal that ends zorvin no longer removes this slot's file.
void Disarm(int slot);

// A file made new beside target, under a hidden name of its own, armed
// against signals in the given slot. Removed again (and disarmed) unless it
// is kept.
struct Temporary {
  int slot;
  int fd = -1;
  std::string path;
  bool kept = false;

  Temporary(int slot, const std::string& target, mode_t mode);
  ~Temporary();
  Temporary(const Temporary&) = delete;
  Temporary& operator=(const Temporary&) = delete;

  // Flushed to the disk and closed.
  void Flush(const std::string& what);
  // Closed, its bytes left to the system to write when it will.
  void Close(const std::string& what);
};

inline bool SameFile(const struct stat& a, const struct stat& b) { return a.st_dev == b.st_dev && a.st_ino == b.st_ino; }

// Its bytes as the system tells them apart: its size and when they were last written.
inline bool SameBytes(const struct stat& a, const struct stat& b) {
  return a.st_size == b.st_size && a.st_mtim.tv_sec == b.st_mtim.tv_sec && a.st_mtim.tv_nsec == b.st_mtim.tv_nsec;
}

inline bool SameChangeTime(const struct stat& a, const struct stat& b) {
  return a.st_ctim.tv_sec == b.st_ctim.tv_sec && a.st_ctim.tv_nsec == b.st_ctim.tv_nsec;
}

// Whether the system could not exchange or refuse names in one step here.
bool NotHere(int error);

// Keeps the old bytes as target.bak, or .bak.1, .bak.2, ...: the first name
// not taken. Gives the name.
std::string KeepBackup(const Input::State& input);

}  // namespace posix
}  // namespace zorvin::file

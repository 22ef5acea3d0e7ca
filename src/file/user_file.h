// A user's file, read and then replaced without the risk of losing a byte of
// it: the new bytes go to a temporary file beside it, made new (never opened
// through a name that exists), flushed to the disk and put in the old one's
// place in one step, so that a full disk, a crash or a kill leaves the old
// file or the new one, never a mix. Just before that step the file is checked
// to be the one that was read, unchanged; another program's save since then
// is never overwritten. The old bytes are kept as NAME.bak (or .bak.1,
// .bak.2, ...: no backup is ever overwritten, and a backup name holds all the
// old bytes or nothing). A symbolic link is followed and stays a link; the
// file's group and permission bits are kept. POSIX and Win32 each have their
// files (user_file_posix.cpp and its file_*_posix.cpp; user_file_windows.cpp
// and file_temporary_windows.cpp).
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>

namespace zorvin::file {

// Why a file could not be read or replaced, in words for the user
// ("is read-only", "cannot be read: Permission denied"); the file itself
// is named by whoever reports it. Whatever was made for the replacement is
// gone by then, and the file is as it was.
class FileError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// The new bytes are in the file's place, but the system did not confirm that
// the change of names reached the disk: a crash may still undo it.
class NotDurable : public FileError {
 public:
  using FileError::FileError;
};

// A file opened to be read from its start (a link followed). Refuses a
// folder and anything that is not a regular file.
class Input {
 public:
  // Read only: the file will not be replaced, so where a link points is not asked.
  enum class Use { replace, read };
  explicit Input(const std::string& path, Use use = Use::replace);  // UTF-8
  ~Input();
  Input(const Input&) = delete;
  Input& operator=(const Input&) = delete;

  // Up to size bytes; 0 at the end.
  std::size_t Read(char* buffer, std::size_t size);

  // The file's size when it was opened.
  std::uint64_t Size() const;

  // Which file it is and how it stood when opened: the same stamp later is
  // the same file, unchanged.
  struct Stamp {
    std::uint64_t volume, id, size, modified;
    friend bool operator==(const Stamp&, const Stamp&) = default;
  };
  Stamp Stamped() const;

  // Refuses, before anything is made, a file this user may not replace: one
  // marked read-only, one the user may not write (on POSIX by the effective
  // ids), one in a folder whose rules keep the user from replacing it.
  void RefuseUnwritable() const;

  // How many names the file has besides the one it was opened by (hard
  // links): they keep its old bytes when it is replaced.
  std::uint64_t OtherNames() const;

  struct State;

 private:
  std::unique_ptr<State> state_;
  friend class Replacement;
};

// The new bytes of an Input's file, and the step that puts them in its place.
class Replacement {
 public:
  // Makes the temporary file beside the input's file (beside the file a
  // link points to), with its group and permission bits.
  explicit Replacement(Input& input);
  ~Replacement();  // removes the temporary file unless it was put in place
  Replacement(const Replacement&) = delete;
  Replacement& operator=(const Replacement&) = delete;

  void Write(std::string_view bytes);

  // Puts the new bytes in the file's place, keeping the old ones as a backup
  // (unless backup is false): a new name of the old file where it has only
  // one, else a copy made new. Refuses, leaving nothing new behind, when the
  // input was not read to its end, or the file was changed or replaced by
  // someone else since it was opened. Gives the backup's path (UTF-8), if one
  // was kept. Throws NotDurable when only the last flush failed.
  std::optional<std::string> Commit(bool backup);

  struct State;

 private:
  Input& input_;
  std::unique_ptr<State> state_;
};

// A file written whole, made or made again (a picture zorvin writes): the
// bytes go to a temporary file beside path and then take path's name in one
// step, so that a failure or a crash of zorvin leaves no part of them and any
// older file of that name as it was. Unlike a replacement it is not flushed
// to the disk first: such a file can be made again, and a power cut just
// after may lose it. Refuses a folder.
void WriteNew(const std::string& path, std::string_view bytes);  // UTF-8

}  // namespace zorvin::file

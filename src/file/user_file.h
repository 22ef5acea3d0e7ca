// A user's file, read and then replaced without the risk of losing a byte of
// it: the new bytes go to a temporary file beside it, made new (never opened
// through a name that exists), flushed to the disk and renamed over the old
// name in one step, so that a full disk, a crash or a kill leaves the old file
// or the new one, never a mix. The old bytes are kept as NAME.bak (or .bak.1,
// .bak.2, ...: no backup is ever overwritten). A symbolic link is followed and
// stays a link; the file's permission bits are kept. POSIX and Win32 each
// have their file (user_file_posix.cpp, user_file_windows.cpp).
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
// is named by whoever reports it.
class FileError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// A file opened to be read from its start (a link followed). Refuses a
// folder and anything that is not a regular file.
class Input {
 public:
  explicit Input(const std::string& path);  // UTF-8
  ~Input();
  Input(const Input&) = delete;
  Input& operator=(const Input&) = delete;

  // Up to size bytes; 0 at the end.
  std::size_t Read(char* buffer, std::size_t size);

  // Refuses a file that may not be written: on POSIX one without its
  // owner's write bit, on Windows one with the read-only attribute.
  void RefuseReadOnly() const;

  struct State;

 private:
  std::unique_ptr<State> state_;
  friend class Replacement;
};

// The new bytes of an Input's file, and the step that puts them in its place.
class Replacement {
 public:
  // Makes the temporary file beside the input's file (beside the file a
  // link points to), with its permission bits.
  explicit Replacement(Input& input);
  ~Replacement();  // removes the temporary file unless it was put in place
  Replacement(const Replacement&) = delete;
  Replacement& operator=(const Replacement&) = delete;

  void Write(std::string_view bytes);

  // Copies the input's bytes from offset at to its end after what was
  // written, in the background while the caller reads them, as cp copies (in
  // the system, no trip through zorvin's memory); Commit waits for it. False
  // where the system cannot: the caller writes them itself.
  bool CopyRest(std::uint64_t at);

  // Flushes the new bytes to the disk, keeps the old ones as a backup
  // (unless backup is false), and renames the new file over the old. Refuses
  // when the file was changed by someone else since it was opened. Gives the
  // backup's path (UTF-8), if one was kept.
  std::optional<std::string> Commit(bool backup);

  struct State;

 private:
  Input& input_;
  std::unique_ptr<State> state_;
};

}  // namespace zorvin::file

// What the Windows side of a user's file shares among its parts: the input's
// state, the system's reasons, the parts of a path, and the temporary files a
// replacement makes (file_temporary_windows.cpp).
#pragma once

#include <windows.h>

#include <cstdint>
#include <string>

#include "file/user_file.h"

namespace zorvin::file {

struct Input::State {
  HANDLE handle = INVALID_HANDLE_VALUE;
  std::wstring target;  // the file itself: the path, or where its link points
  BY_HANDLE_FILE_INFORMATION info{};
  std::uint64_t read = 0;  // bytes read so far
  bool replaceable = true;  // opened to be replaced (Use::replace)
};

namespace windows {

std::string Reason(DWORD error);
[[noreturn]] void Fail(const std::string& what, DWORD error);

inline constexpr const char* kChanged = "changed while zorvin was reading it: it was left as it is; try again";

// What stands before a path's last part: up to its last separator, or a
// drive's letter and colon alone ("C:map.map" names map.map in drive C's
// current folder); and its last part.
std::wstring Prefix(const std::wstring& path);
std::wstring Name(const std::wstring& path);

void WriteAll(HANDLE handle, const char* data, std::size_t size, const std::string& what);

inline std::uint64_t Size(const BY_HANDLE_FILE_INFORMATION& info) {
  return (static_cast<std::uint64_t>(info.nFileSizeHigh) << 32) | info.nFileSizeLow;
}

// The handler of a console event that ends zorvin no longer removes this slot's file.
void Disarm(int slot);

// A file made new beside target, under a hidden name of its own, armed
// against console events in the given slot. Removed again unless it is kept.
// Written through to the disk unless it is a file that can be made again.
struct Temporary {
  int slot;
  HANDLE handle = INVALID_HANDLE_VALUE;
  std::wstring path;
  bool kept = false;

  Temporary(int slot, const std::wstring& target, bool writeThrough = true);
  ~Temporary();
  Temporary(const Temporary&) = delete;
  Temporary& operator=(const Temporary&) = delete;

  // Flushed to the disk and closed.
  void Flush(const std::string& what);
  // Closed, its bytes left to the system to write when it will.
  void Close(const std::string& what);
};

}  // namespace windows
}  // namespace zorvin::file

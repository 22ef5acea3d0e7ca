// A user's file on Windows: the wide-character API throughout (any folder or
// file name), CREATE_NEW for every file made, write-through and
// FlushFileBuffers, a hard link or a copy made new for the backup, and
// MoveFileExW with MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH. Ctrl+C,
// Ctrl+Break and a closed console remove the temporary files.
#include "file/user_file.h"

#include <windows.h>

#include <stdexcept>
#include <vector>

#include "file/file_windows.h"
#include "win32/text.h"  // Widen, ToUtf8

namespace zorvin::file {

using namespace windows;

namespace {

std::wstring BackupName(const std::wstring& target, int n) {
  return target + L".bak" + (n == 0 ? L"" : L"." + std::to_wstring(n));
}

bool Taken(DWORD error) { return error == ERROR_ALREADY_EXISTS || error == ERROR_FILE_EXISTS; }

constexpr int kBackupNames = 1000;

// The old bytes as a copy made new: through a temporary name, flushed, then
// moved to the first backup name not taken, so that a name holds all of them
// or nothing.
std::wstring CopyBackup(const Input::State& input) {
  Temporary copy(1, input.target);
  const std::string what = "cannot write a backup beside it";
  LARGE_INTEGER start{};
  if (!SetFilePointerEx(input.handle, start, nullptr, FILE_BEGIN)) Fail("cannot be read", GetLastError());
  std::vector<char> buffer(1 << 20);
  std::uint64_t copied = 0;
  for (;;) {
    DWORD got = 0;
    if (!ReadFile(input.handle, buffer.data(), static_cast<DWORD>(buffer.size()), &got, nullptr)) {
      Fail("cannot be read", GetLastError());
    }
    if (got == 0) break;
    WriteAll(copy.handle, buffer.data(), got, what);
    copied += got;
  }
  if (copied != Size(input.info)) throw FileError(kChanged);
  copy.Flush(what);
  for (int n = 0; n < kBackupNames; ++n) {
    const std::wstring backup = BackupName(input.target, n);
    if (MoveFileExW(copy.path.c_str(), backup.c_str(), MOVEFILE_WRITE_THROUGH)) {
      copy.kept = true;
      return backup;
    }
    const DWORD error = GetLastError();
    if (!Taken(error)) Fail("cannot make the backup " + win32::ToUtf8(backup), error);
  }
  throw FileError("cannot make a backup: .bak to .bak.999 are all taken");
}

// The first backup name not taken: a hard link where the file has one name
// and the system makes them, else a copy.
std::wstring KeepBackup(const Input::State& input) {
  if (input.info.nNumberOfLinks > 1) return CopyBackup(input);
  for (int n = 0; n < kBackupNames; ++n) {
    const std::wstring backup = BackupName(input.target, n);
    if (CreateHardLinkW(backup.c_str(), input.target.c_str(), nullptr)) return backup;
    if (!Taken(GetLastError())) return CopyBackup(input);
  }
  throw FileError("cannot make a backup: .bak to .bak.999 are all taken");
}

// Whether the file at path is still the one that was opened, as it was.
bool Unchanged(const std::wstring& path, const BY_HANDLE_FILE_INFORMATION& opened) {
  const HANDLE handle = CreateFileW(path.c_str(), FILE_READ_ATTRIBUTES, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                    nullptr, OPEN_EXISTING, 0, nullptr);
  if (handle == INVALID_HANDLE_VALUE) return false;
  BY_HANDLE_FILE_INFORMATION now{};
  const bool read = GetFileInformationByHandle(handle, &now) != 0;
  CloseHandle(handle);
  return read && now.dwVolumeSerialNumber == opened.dwVolumeSerialNumber && now.nFileIndexHigh == opened.nFileIndexHigh &&
         now.nFileIndexLow == opened.nFileIndexLow && Size(now) == Size(opened) &&
         CompareFileTime(&now.ftLastWriteTime, &opened.ftLastWriteTime) == 0;
}

}  // namespace

// The target of a file opened to be replaced; one opened to be read only
// was never asked where a link points.
const std::wstring& Replaceable(const Input::State& from) {
  if (!from.replaceable) throw std::logic_error("a file opened to be read only cannot be replaced");
  return from.target;
}

struct Replacement::State {
  explicit State(const Input::State& from) : file(0, Replaceable(from)) {}
  Temporary file;
  std::uint64_t written = 0;
};

Input::Input(const std::string& path, Use use) : state_(std::make_unique<State>()) {
  const std::wstring wide = win32::Widen(path);  // the arguments are checked UTF-8
  // FILE_FLAG_BACKUP_SEMANTICS opens a folder too, so that it is named as one.
  state_->handle = CreateFileW(wide.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_DELETE, nullptr, OPEN_EXISTING,
                               FILE_FLAG_SEQUENTIAL_SCAN | FILE_FLAG_BACKUP_SEMANTICS, nullptr);
  if (state_->handle == INVALID_HANDLE_VALUE) Fail("cannot be read", GetLastError());
  if (!GetFileInformationByHandle(state_->handle, &state_->info)) Fail("cannot be read", GetLastError());
  if (state_->info.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) throw FileError("is a folder, not a file");
  if (GetFileType(state_->handle) != FILE_TYPE_DISK) throw FileError("is not a regular file");
  state_->target = wide;
  state_->replaceable = use == Use::replace;
  const DWORD attributes = use == Use::replace ? GetFileAttributesW(wide.c_str()) : INVALID_FILE_ATTRIBUTES;
  if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_REPARSE_POINT)) {
    // A link: the file it points to is the one replaced.
    std::vector<wchar_t> resolved(MAX_PATH);
    for (;;) {
      const DWORD size = GetFinalPathNameByHandleW(state_->handle, resolved.data(), static_cast<DWORD>(resolved.size()),
                                                   FILE_NAME_NORMALIZED | VOLUME_NAME_DOS);
      if (size == 0) Fail("cannot follow its link", GetLastError());
      if (size < resolved.size()) {
        state_->target.assign(resolved.data(), size);
        break;
      }
      resolved.resize(size + 1);
    }
  }
}

std::uint64_t Input::Size() const {
  return (static_cast<std::uint64_t>(state_->info.nFileSizeHigh) << 32) | state_->info.nFileSizeLow;
}

Input::Stamp Input::Stamped() const {
  const BY_HANDLE_FILE_INFORMATION& i = state_->info;
  return {i.dwVolumeSerialNumber, (static_cast<std::uint64_t>(i.nFileIndexHigh) << 32) | i.nFileIndexLow, Size(),
          (static_cast<std::uint64_t>(i.ftLastWriteTime.dwHighDateTime) << 32) | i.ftLastWriteTime.dwLowDateTime};
}

Input::~Input() {
  if (state_ && state_->handle != INVALID_HANDLE_VALUE) CloseHandle(state_->handle);
}

std::size_t Input::Read(char* buffer, std::size_t size) {
  DWORD got = 0;
  const DWORD chunk = size > (1u << 30) ? (1u << 30) : static_cast<DWORD>(size);
  if (!ReadFile(state_->handle, buffer, chunk, &got, nullptr)) Fail("cannot be read", GetLastError());
  state_->read += got;
  return got;
}

void Input::RefuseUnwritable() const {
  if (state_->info.dwFileAttributes & FILE_ATTRIBUTE_READONLY) throw FileError("is read-only: it was left as it is");
}

std::uint64_t Input::OtherNames() const { return state_->info.nNumberOfLinks > 0 ? state_->info.nNumberOfLinks - 1 : 0; }

Replacement::Replacement(Input& input) : input_(input), state_(std::make_unique<State>(*input.state_)) {}

Replacement::~Replacement() = default;

void Replacement::Write(std::string_view bytes) {
  WriteAll(state_->file.handle, bytes.data(), bytes.size(), "cannot write the new file");
  state_->written += bytes.size();
}

std::optional<std::string> Replacement::Commit(bool backup) {
  Input::State& from = *input_.state_;
  State& s = *state_;
  if (from.read != Size(from.info)) {
    throw FileError("ended after " + std::to_string(from.read) + " of its " + std::to_string(Size(from.info)) +
                    " bytes: it was left as it is");
  }
  LARGE_INTEGER made{};
  if (!GetFileSizeEx(s.file.handle, &made)) Fail("cannot write the new file", GetLastError());
  if (static_cast<std::uint64_t>(made.QuadPart) != s.written) {
    throw FileError("cannot write the new file: it holds " + std::to_string(made.QuadPart) + " of the " +
                    std::to_string(s.written) + " bytes written");
  }
  s.file.Flush("cannot write the new file");
  // The old file's attributes (hidden, archive).
  SetFileAttributesW(s.file.path.c_str(), from.info.dwFileAttributes & (FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_ARCHIVE |
                                                                       FILE_ATTRIBUTE_SYSTEM | FILE_ATTRIBUTE_NOT_CONTENT_INDEXED));
  std::optional<std::wstring> kept;
  try {
    if (backup) kept = KeepBackup(from);  // a copy reads through the open handle
    // Its handle closed so that it can be replaced, then checked once more
    // at the last moment: a save by another program since it was read is
    // never overwritten.
    CloseHandle(from.handle);
    from.handle = INVALID_HANDLE_VALUE;
    if (!Unchanged(from.target, from.info)) throw FileError(kChanged);
    Disarm(s.file.slot);
    if (!MoveFileExW(s.file.path.c_str(), from.target.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
      Fail("cannot be replaced", GetLastError());
    }
    s.file.kept = true;
  } catch (...) {
    if (kept) DeleteFileW(kept->c_str());  // nothing new is left of a try that failed
    throw;
  }
  if (!kept) return std::nullopt;
  return win32::ToUtf8(*kept);
}

void WriteNew(const std::string& path, std::string_view bytes) {
  const std::wstring target = win32::Widen(path);
  const DWORD attributes = GetFileAttributesW(target.c_str());
  if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0) {
    throw FileError("is a folder");
  }
  // Not written through: a picture can be made again. A crash of zorvin still
  // leaves no part of it under its name, which it gets whole or not at all.
  Temporary file(0, target, false);
  WriteAll(file.handle, bytes.data(), bytes.size(), "cannot be written");
  file.Close("cannot be written");
  Disarm(file.slot);
  if (!MoveFileExW(file.path.c_str(), target.c_str(), MOVEFILE_REPLACE_EXISTING)) {
    Fail("cannot be written", GetLastError());
  }
  file.kept = true;
}

}  // namespace zorvin::file

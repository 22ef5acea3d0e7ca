// A user's file on Windows: the wide-character API throughout (any folder or
// file name), CREATE_NEW for every file made, write-through and
// FlushFileBuffers, a hard link or a copy that fails on a taken name for the
// backup, and MoveFileExW with MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH.
#include "file/user_file.h"

#include <windows.h>

#include "win32/text.h"  // Widen, ToUtf8

#include <random>
#include <vector>

namespace zorvin::file {

struct Input::State {
  HANDLE handle = INVALID_HANDLE_VALUE;
  std::wstring target;  // the file itself: the path, or where its link points
  BY_HANDLE_FILE_INFORMATION info{};
};

struct Replacement::State {
  HANDLE handle = INVALID_HANDLE_VALUE;
  std::wstring path;
  bool placed = false;
};

namespace {


std::string Reason(DWORD error) {
  wchar_t* text = nullptr;
  const DWORD size = FormatMessageW(FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
                                    nullptr, error, 0, reinterpret_cast<wchar_t*>(&text), 0, nullptr);
  std::wstring reason = size > 0 && text != nullptr ? std::wstring(text, size) : L"error " + std::to_wstring(error);
  if (text != nullptr) LocalFree(text);
  while (!reason.empty() && (reason.back() == L'\n' || reason.back() == L'\r' || reason.back() == L'.')) reason.pop_back();
  return win32::ToUtf8(reason);
}

[[noreturn]] void Fail(const std::string& what, DWORD error) { throw FileError(what + ": " + Reason(error)); }

std::wstring Folder(const std::wstring& path) {
  const std::size_t slash = path.find_last_of(L"\\/");
  return slash == std::wstring::npos ? L"." : path.substr(0, slash);
}

std::wstring Name(const std::wstring& path) {
  const std::size_t slash = path.find_last_of(L"\\/");
  return slash == std::wstring::npos ? path : path.substr(slash + 1);
}

std::wstring RandomSuffix() {
  static std::mt19937_64 random{std::random_device{}() ^ GetCurrentProcessId()};
  static const wchar_t kDigits[] = L"0123456789abcdef";
  std::wstring suffix;
  std::uint64_t bits = random();
  for (int i = 0; i < 12; ++i, bits >>= 4) suffix += kDigits[bits & 15];
  return suffix;
}

void WriteAll(HANDLE handle, const char* data, std::size_t size, const std::string& what) {
  while (size > 0) {
    const DWORD chunk = size > (1u << 30) ? (1u << 30) : static_cast<DWORD>(size);
    DWORD wrote = 0;
    if (!WriteFile(handle, data, chunk, &wrote, nullptr)) Fail(what, GetLastError());
    data += wrote;
    size -= wrote;
  }
}

// Whether the file at path is still the one that was opened, as it was.
bool Unchanged(const std::wstring& path, const BY_HANDLE_FILE_INFORMATION& opened) {
  const HANDLE handle = CreateFileW(path.c_str(), FILE_READ_ATTRIBUTES, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                    nullptr, OPEN_EXISTING, 0, nullptr);
  if (handle == INVALID_HANDLE_VALUE) return false;
  BY_HANDLE_FILE_INFORMATION now{};
  const bool read = GetFileInformationByHandle(handle, &now) != 0;
  CloseHandle(handle);
  return read && now.nFileIndexHigh == opened.nFileIndexHigh && now.nFileIndexLow == opened.nFileIndexLow &&
         now.nFileSizeHigh == opened.nFileSizeHigh && now.nFileSizeLow == opened.nFileSizeLow &&
         CompareFileTime(&now.ftLastWriteTime, &opened.ftLastWriteTime) == 0;
}

std::string KeepBackup(const Input::State& input) {
  for (int n = 0; n < 1000; ++n) {
    const std::wstring backup = input.target + L".bak" + (n == 0 ? L"" : L"." + std::to_wstring(n));
    if (CreateHardLinkW(backup.c_str(), input.target.c_str(), nullptr)) return win32::ToUtf8(backup);
    DWORD error = GetLastError();
    if (error == ERROR_ALREADY_EXISTS || error == ERROR_FILE_EXISTS) continue;
    // No hard links here: a copy, which fails rather than overwrite a taken name.
    if (CopyFileW(input.target.c_str(), backup.c_str(), TRUE)) return win32::ToUtf8(backup);
    error = GetLastError();
    if (error == ERROR_ALREADY_EXISTS || error == ERROR_FILE_EXISTS) continue;
    Fail("cannot make the backup " + win32::ToUtf8(backup), error);
  }
  throw FileError("cannot make a backup: .bak to .bak.999 are all taken");
}

}  // namespace

Input::Input(const std::string& path) : state_(std::make_unique<State>()) {
  const std::wstring wide = win32::Widen(path);  // the arguments are checked UTF-8
  // FILE_FLAG_BACKUP_SEMANTICS opens a folder too, so that it is named as one.
  state_->handle = CreateFileW(wide.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_DELETE, nullptr, OPEN_EXISTING,
                               FILE_FLAG_SEQUENTIAL_SCAN | FILE_FLAG_BACKUP_SEMANTICS, nullptr);
  if (state_->handle == INVALID_HANDLE_VALUE) Fail("cannot be read", GetLastError());
  if (!GetFileInformationByHandle(state_->handle, &state_->info)) Fail("cannot be read", GetLastError());
  if (state_->info.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) throw FileError("is a folder, not a file");
  if (GetFileType(state_->handle) != FILE_TYPE_DISK) throw FileError("is not a regular file");
  state_->target = wide;
  const DWORD attributes = GetFileAttributesW(wide.c_str());
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

Input::~Input() {
  if (state_ && state_->handle != INVALID_HANDLE_VALUE) CloseHandle(state_->handle);
}

std::size_t Input::Read(char* buffer, std::size_t size) {
  DWORD got = 0;
  const DWORD chunk = size > (1u << 30) ? (1u << 30) : static_cast<DWORD>(size);
  if (!ReadFile(state_->handle, buffer, chunk, &got, nullptr)) Fail("cannot be read", GetLastError());
  return got;
}

void Input::RefuseReadOnly() const {
  if (state_->info.dwFileAttributes & FILE_ATTRIBUTE_READONLY) throw FileError("is read-only: it was left as it is");
}

Replacement::Replacement(Input& input) : input_(input), state_(std::make_unique<State>()) {
  const Input::State& from = *input.state_;
  for (int attempt = 0; attempt < 100 && state_->handle == INVALID_HANDLE_VALUE; ++attempt) {
    state_->path = Folder(from.target) + L"\\." + Name(from.target) + L".zorvin-" + RandomSuffix() + L".tmp";
    // CREATE_NEW: never through a name that exists, a planted link included.
    state_->handle = CreateFileW(state_->path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                                 FILE_ATTRIBUTE_NORMAL | FILE_FLAG_WRITE_THROUGH, nullptr);
    if (state_->handle == INVALID_HANDLE_VALUE) {
      const DWORD error = GetLastError();
      if (error != ERROR_FILE_EXISTS && error != ERROR_ALREADY_EXISTS) Fail("cannot write beside it", error);
    }
  }
  if (state_->handle == INVALID_HANDLE_VALUE) throw FileError("cannot write beside it: no free temporary name");
}

Replacement::~Replacement() {
  if (state_->handle != INVALID_HANDLE_VALUE) CloseHandle(state_->handle);
  if (!state_->placed) DeleteFileW(state_->path.c_str());
}

void Replacement::Write(std::string_view bytes) { WriteAll(state_->handle, bytes.data(), bytes.size(), "cannot write the new file"); }

bool Replacement::CopyRest(std::uint64_t) { return false; }

std::optional<std::string> Replacement::Commit(bool backup) {
  Input::State& from = *input_.state_;
  if (!FlushFileBuffers(state_->handle)) Fail("cannot write the new file", GetLastError());
  CloseHandle(state_->handle);
  state_->handle = INVALID_HANDLE_VALUE;
  // The old file's attributes (hidden, archive), and its handle closed so that it can be replaced.
  SetFileAttributesW(state_->path.c_str(), from.info.dwFileAttributes & (FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_ARCHIVE |
                                                                        FILE_ATTRIBUTE_SYSTEM | FILE_ATTRIBUTE_NOT_CONTENT_INDEXED));
  CloseHandle(from.handle);
  from.handle = INVALID_HANDLE_VALUE;
  if (!Unchanged(from.target, from.info)) {
    throw FileError("changed while zorvin was reading it: it was left as it is; try again");
  }
  std::optional<std::string> kept;
  if (backup) kept = KeepBackup(from);
  if (!MoveFileExW(state_->path.c_str(), from.target.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
    Fail("cannot be replaced", GetLastError());
  }
  state_->placed = true;
  return kept;
}

}  // namespace zorvin::file

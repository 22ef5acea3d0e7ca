// A user's file on Windows: the wide-character API throughout (any folder or
// file name), CREATE_NEW for every file made, write-through and
// FlushFileBuffers, a hard link or a copy made new for the backup, and
// MoveFileExW with MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH. Ctrl+C,
// Ctrl+Break and a closed console remove the temporary files.
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
  std::uint64_t read = 0;  // bytes read so far
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

constexpr const char* kChanged = "changed while zorvin was reading it: it was left as it is; try again";

// What stands before a path's last part: up to its last separator, or a
// drive's letter and colon alone ("C:map.map" names map.map in drive C's
// current folder).
std::wstring Prefix(const std::wstring& path) {
  const std::size_t slash = path.find_last_of(L"\\/");
  if (slash != std::wstring::npos) return path.substr(0, slash + 1);
  if (path.size() >= 2 && path[1] == L':') return path.substr(0, 2);
  return {};
}

std::wstring Name(const std::wstring& path) { return path.substr(Prefix(path).size()); }

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

std::uint64_t Size(const BY_HANDLE_FILE_INFORMATION& info) {
  return (static_cast<std::uint64_t>(info.nFileSizeHigh) << 32) | info.nFileSizeLow;
}

// The temporary files' paths while they exist (the new file, and a backup
// being copied), for a console event that ends zorvin part-way: the handler
// marks them for deletion (they are open with FILE_SHARE_DELETE, and go when
// the process closes them), then lets the event end the process.
constexpr int kSlots = 2;
wchar_t g_temporary[kSlots][MAX_PATH * 4];
volatile LONG g_armed[kSlots] = {};

BOOL WINAPI RemoveTemporaries(DWORD event) {
  if (event == CTRL_C_EVENT || event == CTRL_BREAK_EVENT || event == CTRL_CLOSE_EVENT) {
    for (int slot = 0; slot < kSlots; ++slot) {
      if (InterlockedCompareExchange(&g_armed[slot], 0, 1) == 1) DeleteFileW(g_temporary[slot]);
    }
  }
  return FALSE;  // on to the default handler, which ends the process
}

void Arm(int slot, const std::wstring& path) {
  static const bool registered = SetConsoleCtrlHandler(RemoveTemporaries, TRUE) != 0;
  (void)registered;
  if (path.size() >= std::size(g_temporary[slot])) return;
  path.copy(g_temporary[slot], path.size());
  g_temporary[slot][path.size()] = L'\0';
  InterlockedExchange(&g_armed[slot], 1);
}

void Disarm(int slot) { InterlockedExchange(&g_armed[slot], 0); }

// A file made new beside target, under a hidden name of its own, armed
// against console events in the given slot. Removed again unless it is kept.
struct Temporary {
  int slot;
  HANDLE handle = INVALID_HANDLE_VALUE;
  std::wstring path;
  bool kept = false;

  Temporary(int slot, const std::wstring& target) : slot(slot) {
    for (int attempt = 0; attempt < 100 && handle == INVALID_HANDLE_VALUE; ++attempt) {
      path = Prefix(target) + L"." + Name(target) + L".zorvin-" + RandomSuffix() + L".tmp";
      // CREATE_NEW: never through a name that exists, a planted link included.
      handle = CreateFileW(path.c_str(), GENERIC_WRITE, FILE_SHARE_DELETE, nullptr, CREATE_NEW,
                           FILE_ATTRIBUTE_NORMAL | FILE_FLAG_WRITE_THROUGH, nullptr);
      if (handle == INVALID_HANDLE_VALUE) {
        const DWORD error = GetLastError();
        if (error != ERROR_FILE_EXISTS && error != ERROR_ALREADY_EXISTS) Fail("cannot write beside it", error);
      }
    }
    if (handle == INVALID_HANDLE_VALUE) throw FileError("cannot write beside it: no free temporary name");
    Arm(slot, path);
  }
  ~Temporary() {
    Disarm(slot);
    if (handle != INVALID_HANDLE_VALUE) CloseHandle(handle);
    if (!kept) DeleteFileW(path.c_str());
  }
  Temporary(const Temporary&) = delete;
  Temporary& operator=(const Temporary&) = delete;

  // Flushed to the disk and closed.
  void Flush(const std::string& what) {
    if (!FlushFileBuffers(handle)) Fail(what, GetLastError());
    const HANDLE closing = handle;
    handle = INVALID_HANDLE_VALUE;
    if (!CloseHandle(closing)) Fail(what, GetLastError());
  }
};

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

struct Replacement::State {
  explicit State(const Input::State& from) : file(0, from.target) {}
  Temporary file;
  std::uint64_t written = 0;
};

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
  Temporary file(0, target);
  WriteAll(file.handle, bytes.data(), bytes.size(), "cannot be written");
  file.Flush("cannot be written");
  Disarm(file.slot);
  if (!MoveFileExW(file.path.c_str(), target.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
    Fail("cannot be written", GetLastError());
  }
  file.kept = true;
}

}  // namespace zorvin::file

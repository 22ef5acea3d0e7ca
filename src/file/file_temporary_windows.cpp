// The Windows side's temporary files: made new beside their target
// (CREATE_NEW), marked for deletion by the handler of a console event that
// ends zorvin part-way, flushed with FlushFileBuffers; and the reasons and
// path parts every part of it uses.
#include "file/file_windows.h"

#include <iterator>
#include <random>

#include "win32/text.h"  // ToUtf8

namespace zorvin::file::windows {

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

std::wstring Prefix(const std::wstring& path) {
  const std::size_t slash = path.find_last_of(L"\\/");
  if (slash != std::wstring::npos) return path.substr(0, slash + 1);
  if (path.size() >= 2 && path[1] == L':') return path.substr(0, 2);
  return {};
}

std::wstring Name(const std::wstring& path) { return path.substr(Prefix(path).size()); }

void WriteAll(HANDLE handle, const char* data, std::size_t size, const std::string& what) {
  while (size > 0) {
    const DWORD chunk = size > (1u << 30) ? (1u << 30) : static_cast<DWORD>(size);
    DWORD wrote = 0;
    if (!WriteFile(handle, data, chunk, &wrote, nullptr)) Fail(what, GetLastError());
    data += wrote;
    size -= wrote;
  }
}

namespace {

std::wstring RandomSuffix() {
  static std::mt19937_64 random{std::random_device{}() ^ GetCurrentProcessId()};
  static const wchar_t kDigits[] = L"0123456789abcdef";
  std::wstring suffix;
  std::uint64_t bits = random();
  for (int i = 0; i < 12; ++i, bits >>= 4) suffix += kDigits[bits & 15];
  return suffix;
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

}  // namespace

void Disarm(int slot) { InterlockedExchange(&g_armed[slot], 0); }

Temporary::Temporary(int slot, const std::wstring& target, bool writeThrough) : slot(slot) {
  for (int attempt = 0; attempt < 100 && handle == INVALID_HANDLE_VALUE; ++attempt) {
    path = Prefix(target) + L"." + Name(target) + L".zorvin-" + RandomSuffix() + L".tmp";
    // CREATE_NEW: never through a name that exists, a planted link included.
    handle = CreateFileW(path.c_str(), GENERIC_WRITE, FILE_SHARE_DELETE, nullptr, CREATE_NEW,
                         FILE_ATTRIBUTE_NORMAL | (writeThrough ? FILE_FLAG_WRITE_THROUGH : 0), nullptr);
    if (handle == INVALID_HANDLE_VALUE) {
      const DWORD error = GetLastError();
      if (error != ERROR_FILE_EXISTS && error != ERROR_ALREADY_EXISTS) Fail("cannot write beside it", error);
    }
  }
  if (handle == INVALID_HANDLE_VALUE) throw FileError("cannot write beside it: no free temporary name");
  Arm(slot, path);
}

Temporary::~Temporary() {
  Disarm(slot);
  if (handle != INVALID_HANDLE_VALUE) CloseHandle(handle);
  if (!kept) DeleteFileW(path.c_str());
}

void Temporary::Flush(const std::string& what) {
  if (!FlushFileBuffers(handle)) Fail(what, GetLastError());
  Close(what);
}

void Temporary::Close(const std::string& what) {
  const HANDLE closing = handle;
  handle = INVALID_HANDLE_VALUE;
  if (!CloseHandle(closing)) Fail(what, GetLastError());
}

}  // namespace zorvin::file::windows

// A folder's entries through FindFirstFileW, names converted from and to
// UTF-8 by the toolkit.
#include "file/folder.h"

#include <windows.h>

#include "win32/text.h"  // Widen, ToUtf8

namespace zorvin::file {

Kind KindOf(const std::string& path) {
  // GetFileAttributesW reads a link itself; opening the path follows it.
  const std::wstring wide = win32::Widen(path);
  const HANDLE handle = CreateFileW(wide.c_str(), 0, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                    OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
  if (handle == INVALID_HANDLE_VALUE) return GetFileAttributesW(wide.c_str()) == INVALID_FILE_ATTRIBUTES ? Kind::missing : Kind::other;
  BY_HANDLE_FILE_INFORMATION info{};
  const bool known = GetFileInformationByHandle(handle, &info) != 0;
  CloseHandle(handle);
  return known && (info.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0 ? Kind::folder : Kind::other;
}

std::vector<FolderEntry> ReadFolder(const std::string& path) {
  std::vector<FolderEntry> entries;
  std::wstring pattern = win32::Widen(path);
  if (!pattern.empty() && pattern.back() != L'\\' && pattern.back() != L'/') pattern += L'\\';
  pattern += L'*';
  WIN32_FIND_DATAW found{};
  const HANDLE search = FindFirstFileExW(pattern.c_str(), FindExInfoBasic, &found, FindExSearchNameMatch, nullptr, 0);
  if (search == INVALID_HANDLE_VALUE) return entries;
  do {
    const std::wstring name = found.cFileName;
    if (name == L"." || name == L"..") continue;
    const DWORD attributes = found.dwFileAttributes;
    const bool folder = (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
    const bool link = (attributes & FILE_ATTRIBUTE_REPARSE_POINT) != 0;
    const FolderEntry::Kind kind = folder ? (link ? FolderEntry::Kind::link : FolderEntry::Kind::folder)
                                   : (attributes & FILE_ATTRIBUTE_DEVICE) != 0 ? FolderEntry::Kind::other
                                                                               : FolderEntry::Kind::file;
    entries.push_back({win32::ToUtf8(name), kind});
  } while (FindNextFileW(search, &found));
  FindClose(search);
  return entries;
}

}  // namespace zorvin::file

#include "win32/text.h"

#include <windows.h>

#include <climits>

#include "win32/error.h"

namespace zorvin::win32 {

std::wstring Widen(std::string_view text) {
  if (text.empty()) return {};
  Check(text.size() < INT_MAX, L"convert text: too long");
  const int length = static_cast<int>(text.size());
  const int needed = MultiByteToWideChar(CP_UTF8, 0, text.data(), length, nullptr, 0);
  Check(needed > 0, L"convert text to UTF-16");
  std::wstring wide(static_cast<std::size_t>(needed), L'\0');
  Check(MultiByteToWideChar(CP_UTF8, 0, text.data(), length, wide.data(), needed) == needed,
        L"convert text to UTF-16");
  return wide;
}

std::string ToUtf8(std::wstring_view text) {
  if (text.empty()) return {};
  Check(text.size() < INT_MAX / 4, L"convert text: too long");
  const int length = static_cast<int>(text.size());
  const int needed = WideCharToMultiByte(CP_UTF8, 0, text.data(), length, nullptr, 0, nullptr, nullptr);
  Check(needed > 0, L"convert text to UTF-8");
  std::string narrow(static_cast<std::size_t>(needed), '\0');
  Check(
      WideCharToMultiByte(CP_UTF8, 0, text.data(), length, narrow.data(), needed, nullptr, nullptr) == needed,
      L"convert text to UTF-8");
  return narrow;
}

}  // namespace zorvin::win32

// Conversions between the catalogs' narrow texts and the wide texts of the controls.
#pragma once

#include <string>
#include <string_view>

namespace zorvin::win32 {

// UTF-8 (the catalogs are plain ASCII) to UTF-16.
std::wstring Widen(std::string_view text);

// UTF-16 to UTF-8. Unpaired surrogates become U+FFFD, so any typed text
// converts; such a text simply matches no catalog name.
std::string ToUtf8(std::wstring_view text);

}  // namespace zorvin::win32

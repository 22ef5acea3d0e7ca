// The dialog font at a DPI, and texts measured in a font.
#pragma once

#include <windows.h>

#include <span>
#include <string>

namespace zorvin::win32 {

// The one font of every window and control, for text at dpi: the classic
// 8-point dialog face.
LOGFONTW DialogFont(UINT dpi);

// Width in pixels of the widest of texts, each one line, in font, measured on
// one device context of window.
int WidestText(HWND window, HFONT font, std::span<const std::wstring> texts, const std::wstring& operation);

}  // namespace zorvin::win32

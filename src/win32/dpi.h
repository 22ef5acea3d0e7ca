// What the system says about screen resolution: a window's DPI, frame sizes,
// metrics and the dialog font at a DPI.
#pragma once

#include <windows.h>

#include "win32/layout.h"

namespace zorvin::win32 {

// The window's DPI (per-monitor where the system offers it).
UINT DpiOf(HWND window);

// The DPI of the system (of the primary screen), for what exists before a window does.
UINT SystemDpi();

// Window rectangle for a client rectangle, at dpi.
bool AdjustRectForDpi(RECT& rect, DWORD style, bool hasMenu, DWORD exStyle, UINT dpi);

// The one font of every window and control, for text at dpi: the classic
// 8-point dialog face.
LOGFONTW DialogFont(UINT dpi);

// Width in pixels of a vertical scroll bar at dpi.
int ScrollBarWidth(UINT dpi);

}  // namespace zorvin::win32

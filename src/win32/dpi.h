// What the system says about screen resolution: a window's DPI, frame sizes
// and metrics at a DPI, and the process's awareness of it.
#pragma once

#include <windows.h>

#include "win32/layout.h"

namespace zorvin::win32 {

// The window's DPI (per-monitor where the system offers it).
UINT DpiOf(HWND window);

// Makes the process per-monitor DPI aware (v2 where the system has it).
void BecomeDpiAware();

// The DPI of the system (of the primary screen), for what exists before a window does.
UINT SystemDpi();

// Window rectangle for a client rectangle, at dpi.
bool AdjustRectForDpi(RECT& rect, DWORD style, bool hasMenu, DWORD exStyle, UINT dpi);

// Width in pixels of a vertical scroll bar at dpi.
int ScrollBarWidth(UINT dpi);

}  // namespace zorvin::win32

// Screen resolution and the design unit of the windows. Designs are in twips
// (1/1440 inch); at 96 dots per inch 15 twips make one pixel.
#pragma once

#include <windows.h>

namespace zorvin::ui {

inline constexpr UINT kDefaultDpi = 96;

// Twips to pixels at dpi, rounded to the nearest pixel (halves away from zero).
constexpr int TwipsToPixels(int twips, UINT dpi) {
  const long long scaled = static_cast<long long>(twips) * dpi;
  return static_cast<int>(scaled >= 0 ? (scaled + 720) / 1440 : -((-scaled + 720) / 1440));
}

// Pixels designed for 96 DPI, at dpi.
constexpr int ScalePixels(int pixels, UINT dpi) { return TwipsToPixels(pixels * 15, dpi); }

static_assert(TwipsToPixels(3495, 96) == 233 && TwipsToPixels(5654, 96) == 377);
static_assert(TwipsToPixels(15, 144) == 2 && TwipsToPixels(2655, 192) == 354);

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

}  // namespace zorvin::ui

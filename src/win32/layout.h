// Where a window's parts go at a given resolution: design twips to pixels.
// Plain arithmetic on the design; the one thing it needs from a live window,
// the width of a text in the window's font, it is given.
#pragma once

#include "win32/design.h"

namespace zorvin::win32 {

inline constexpr unsigned kDefaultDpi = 96;

// Twips to pixels at dpi, rounded to the nearest pixel (halves away from zero).
constexpr int TwipsToPixels(int twips, unsigned dpi) {
  const long long scaled = static_cast<long long>(twips) * dpi;
  return static_cast<int>(scaled >= 0 ? (scaled + 720) / 1440 : -((-scaled + 720) / 1440));
}

// Pixels designed for 96 DPI, at dpi.
constexpr int ScalePixels(int pixels, unsigned dpi) { return TwipsToPixels(pixels * 15, dpi); }

// Height of a combo box's drop-down list below its text field.
inline constexpr int kComboListTwips = 3000;

struct PixelRect {
  int left = 0;
  int top = 0;
  int right = 0;
  int bottom = 0;
  constexpr int Width() const { return right - left; }
  constexpr int Height() const { return bottom - top; }
  friend constexpr bool operator==(const PixelRect&, const PixelRect&) = default;
};

struct PixelSize {
  int width = 0;
  int height = 0;
  friend constexpr bool operator==(const PixelSize&, const PixelSize&) = default;
};

// The window's client area at dpi.
PixelSize ClientSize(const WindowDesign& window, unsigned dpi);

// A control's rectangle in client pixels at dpi. rect is the control's current
// size in twips (its design rect, or what the window has set since);
// textWidth, the width in pixels of its text in the window's font, counts only
// for a control that grows to fit.
PixelRect PlaceControl(const WindowDesign& window, const ControlDesign& control, const TwipRect& rect,
                       unsigned dpi, int textWidth);

// A horizontal line drawn y twips down from x fromX to x toX, thickPixels
// pixels thick at 96 DPI and never less than one pixel.
PixelRect HorizontalLine(int y, int fromX, int toX, int thickPixels, unsigned dpi);

}  // namespace zorvin::win32

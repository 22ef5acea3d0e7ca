#include "win32/layout.h"

#include <algorithm>

namespace zorvin::win32 {

PixelSize ClientSize(const WindowDesign& window, unsigned dpi) {
  return {TwipsToPixels(window.clientWidth, dpi), TwipsToPixels(window.clientHeight, dpi)};
}

PixelRect PlaceControl(const WindowDesign& window, const ControlDesign& control, const TwipRect& rect,
                       unsigned dpi, int textWidth) {
  const int left = TwipsToPixels(rect.left, dpi);
  const int top = TwipsToPixels(rect.top, dpi);
  int width = TwipsToPixels(rect.width, dpi);
  int height = TwipsToPixels(rect.height, dpi);
  if (control.kind == ControlKind::ComboBox) height += TwipsToPixels(kComboListTwips, dpi);
  if (control.growToFit) {
    // The text's width and a pixel to spare, within the client area.
    const int room = TwipsToPixels(window.clientWidth, dpi) - left;
    width = std::max(width, std::min(room, textWidth + ScalePixels(1, dpi)));
  }
  return {left, top, left + width, top + height};
}

PixelRect HorizontalLine(int y, int fromX, int toX, int thickPixels, unsigned dpi) {
  const int top = TwipsToPixels(y, dpi);
  return {TwipsToPixels(fromX, dpi), top, TwipsToPixels(toX, dpi),
          top + std::max(1, ScalePixels(thickPixels, dpi))};
}

}  // namespace zorvin::win32

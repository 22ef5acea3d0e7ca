#include "win32/font.h"

#include <algorithm>
#include <iterator>

#include "win32/error.h"

namespace zorvin::win32 {
namespace {

// Windows maps "MS Shell Dlg" to Microsoft Sans Serif, the scalable successor
// of the bitmap MS Sans Serif that the window designs were drawn for, so the
// texts keep the widths the designs give them room for, at any DPI.
constexpr wchar_t kDialogFontFace[] = L"MS Shell Dlg";
constexpr int kDialogFontPoints = 8;

}  // namespace

LOGFONTW DialogFont(UINT dpi) {
  LOGFONTW font{};
  font.lfHeight = -MulDiv(kDialogFontPoints, static_cast<int>(dpi), 72);
  font.lfWeight = FW_NORMAL;
  font.lfCharSet = DEFAULT_CHARSET;
  static_assert(sizeof(kDialogFontFace) <= sizeof(font.lfFaceName));
  std::copy(std::begin(kDialogFontFace), std::end(kDialogFontFace), font.lfFaceName);
  return font;
}

int WidestText(HWND window, HFONT font, std::span<const std::wstring> texts, const std::wstring& operation) {
  HDC dc = GetDC(window);
  Check(dc != nullptr, operation);
  HGDIOBJ previous = SelectObject(dc, font);
  const bool selected = previous != nullptr && previous != HGDI_ERROR;
  bool measured = selected;
  int widest = 0;
  for (const std::wstring& text : texts) {
    SIZE size{};
    measured = measured && GetTextExtentPoint32W(dc, text.data(), static_cast<int>(text.size()), &size);
    widest = std::max(widest, static_cast<int>(size.cx));
  }
  if (selected) SelectObject(dc, previous);
  ReleaseDC(window, dc);
  Check(measured, operation);
  return widest;
}

}  // namespace zorvin::win32

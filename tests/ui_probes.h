// Probes of what a control draws, for the tests that measure it
// (ui_text_fit_test.cpp): its font, the size of a text in it, its painted
// area, the ink in an area, and a box's top row of pixels.
#pragma once

#include <windows.h>

#include <algorithm>
#include <string>
#include <string_view>
#include <vector>

#include "ui_support.h"

namespace zorvin::ui::test {

// A device context of a window with a font selected: by default the font the window draws with.
class FontDc {
 public:
  explicit FontDc(HWND window, HFONT font = nullptr)
      : window_(window),
        dc_(GetDC(window)),
        previous_(SelectObject(
            dc_, font != nullptr ? font : reinterpret_cast<HFONT>(SendMessageW(window, WM_GETFONT, 0, 0)))) {}
  ~FontDc() {
    SelectObject(dc_, previous_);
    ReleaseDC(window_, dc_);
  }
  FontDc(const FontDc&) = delete;
  FontDc& operator=(const FontDc&) = delete;
  HDC Get() const { return dc_; }

 private:
  HWND window_;
  HDC dc_;
  HGDIOBJ previous_;
};

inline SIZE Extent(const FontDc& dc, std::wstring_view text) {
  SIZE size{};
  GetTextExtentPoint32W(dc.Get(), text.data(), static_cast<int>(text.size()), &size);
  return size;
}

// A text's size in the font the control draws with.
inline SIZE Extent(HWND control, std::wstring_view text) { return Extent(FontDc(control), text); }

struct Face {
  std::wstring family;  // what the program asked for, as the system resolved it
  std::wstring full;    // the font file's own name (a stand-in shows here)
  LONG height = 0;      // as asked: negative, the em height in pixels
};

inline Face FaceOf(HWND control) {
  const FontDc fontDc(control);
  HDC dc = fontDc.Get();
  Face face;
  std::vector<char> buffer(GetOutlineTextMetricsW(dc, 0, nullptr));
  auto* metrics = reinterpret_cast<OUTLINETEXTMETRICW*>(buffer.data());
  // Only scalable faces have outline metrics: a bitmap face leaves the names empty.
  if (!buffer.empty() && GetOutlineTextMetricsW(dc, static_cast<UINT>(buffer.size()), metrics) != 0) {
    const auto name = [&](PSTR offset) {
      return std::wstring(
          reinterpret_cast<const wchar_t*>(buffer.data() + reinterpret_cast<UINT_PTR>(offset)));
    };
    face.family = name(metrics->otmpFamilyName);
    face.full = name(metrics->otmpFaceName);
  }
  LOGFONTW asked{};
  GetObjectW(GetCurrentObject(dc, OBJ_FONT), sizeof(asked), &asked);
  face.height = asked.lfHeight;
  return face;
}

// The part of a control that it paints: its window region, or all of it.
inline RECT PaintedRect(HWND control) {
  RECT box{};
  if (GetWindowRgnBox(control, &box) == ERROR) GetClientRect(control, &box);
  return box;
}

// The box around what is painted in area (client coordinates of the control)
// in any colour but the background, which is read at the area's top-left pixel.
// Empty (right < left) when nothing is.
inline RECT Ink(HWND control, const RECT& area) {
  HDC dc = GetDC(control);
  const COLORREF background = GetPixel(dc, area.left, area.top);
  RECT ink{area.right, area.bottom, area.left - 1, area.top - 1};
  for (LONG y = area.top; y < area.bottom; ++y) {
    for (LONG x = area.left; x < area.right; ++x) {
      const COLORREF pixel = GetPixel(dc, x, y);
      if (pixel == background || pixel == CLR_INVALID) continue;
      ink = {std::min(ink.left, x), std::min(ink.top, y), std::max(ink.right, x), std::max(ink.bottom, y)};
    }
  }
  ReleaseDC(control, dc);
  return ink;
}

inline std::wstring WithoutAccessMark(std::wstring text) {
  std::erase(text, L'&');
  return text;
}

// The top row of a box as painted in its window, read through a device context
// of the window that is not clipped by the window's children.
inline std::vector<COLORREF> TopRow(HWND box) {
  HWND window = GetParent(box);
  RedrawWindow(window, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
  const RECT place = RectInParent(box);
  HDC dc = GetDCEx(window, nullptr, DCX_CACHE);
  std::vector<COLORREF> row;
  for (LONG x = place.left; x < place.right; ++x) row.push_back(GetPixel(dc, x, place.top));
  ReleaseDC(window, dc);
  return row;
}

}  // namespace zorvin::ui::test

// The window class each design's windows are made from, registered once.
#include "win32/error.h"
#include "win32/window.h"

namespace zorvin::win32 {

std::wstring Window::ClassName() const { return host_.ClassPrefix() + std::wstring(design_.name); }

HBRUSH Window::BackgroundBrush() const {
  return design_.background == kBlackBackground ? static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH))
                                                 : GetSysColorBrush(design_.background);
}

COLORREF Window::BackgroundColor() const {
  return design_.background == kBlackBackground ? RGB(0, 0, 0) : GetSysColor(design_.background);
}

void Window::RegisterClassOnce() const {
  const std::wstring name = ClassName();
  WNDCLASSEXW existing{};
  existing.cbSize = sizeof(existing);
  if (GetClassInfoExW(host_.Instance(), name.c_str(), &existing)) return;

  WNDCLASSEXW cls{};
  cls.cbSize = sizeof(cls);
  cls.lpfnWndProc = &Window::Procedure;
  cls.hInstance = host_.Instance();
  cls.hCursor = LoadCursorW(nullptr, reinterpret_cast<LPCWSTR>(IDC_ARROW));
  cls.hbrBackground = BackgroundBrush();
  Check(cls.hCursor != nullptr && cls.hbrBackground != nullptr, Operation(L"register the window class"));
  if (design_.iconId != 0) {
    const auto icon = [&](int metricX, int metricY) {
      return static_cast<HICON>(LoadImageW(host_.Instance(), MAKEINTRESOURCEW(design_.iconId), IMAGE_ICON,
                                           GetSystemMetrics(metricX), GetSystemMetrics(metricY), LR_SHARED));
    };
    cls.hIcon = icon(SM_CXICON, SM_CYICON);
    cls.hIconSm = icon(SM_CXSMICON, SM_CYSMICON);
    Check(cls.hIcon != nullptr && cls.hIconSm != nullptr, Operation(L"load the icon"));
  }
  cls.lpszClassName = name.c_str();
  Check(RegisterClassExW(&cls) != 0, Operation(L"register the window class"));
}

}  // namespace zorvin::win32

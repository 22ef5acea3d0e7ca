#include "win32/dpi.h"

#include <algorithm>
#include <iterator>

namespace zorvin::win32 {
namespace {

// The per-monitor functions exist from Windows 10 1607 on; older systems (and
// the x86 build's oldest targets) get the system-wide forms.
template <typename Function>
Function UserFunction(const char* name) {
  HMODULE user32 = GetModuleHandleW(L"user32.dll");
  return user32 ? reinterpret_cast<Function>(reinterpret_cast<void*>(GetProcAddress(user32, name))) : nullptr;
}

using GetDpiForWindowFn = UINT(WINAPI*)(HWND);
using GetDpiForSystemFn = UINT(WINAPI*)();
using AdjustWindowRectExForDpiFn = BOOL(WINAPI*)(LPRECT, DWORD, BOOL, DWORD, UINT);
using GetSystemMetricsForDpiFn = int(WINAPI*)(int, UINT);

// Windows maps "MS Shell Dlg" to Microsoft Sans Serif, the scalable successor
// of the bitmap MS Sans Serif that the window designs were drawn for, so the
// texts keep the widths the designs give them room for, at any DPI.
constexpr wchar_t kDialogFontFace[] = L"MS Shell Dlg";
constexpr int kDialogFontPoints = 8;

}  // namespace

UINT SystemDpi() {
  static const auto forSystem = UserFunction<GetDpiForSystemFn>("GetDpiForSystem");
  if (forSystem) return forSystem();
  HDC screen = GetDC(nullptr);
  const int dpi = screen ? GetDeviceCaps(screen, LOGPIXELSY) : 0;
  if (screen) ReleaseDC(nullptr, screen);
  return dpi > 0 ? static_cast<UINT>(dpi) : kDefaultDpi;
}

UINT DpiOf(HWND window) {
  static const auto forWindow = UserFunction<GetDpiForWindowFn>("GetDpiForWindow");
  const UINT dpi = forWindow ? forWindow(window) : 0;
  return dpi != 0 ? dpi : SystemDpi();
}

bool AdjustRectForDpi(RECT& rect, DWORD style, bool hasMenu, DWORD exStyle, UINT dpi) {
  static const auto forDpi = UserFunction<AdjustWindowRectExForDpiFn>("AdjustWindowRectExForDpi");
  if (forDpi) return forDpi(&rect, style, hasMenu, exStyle, dpi) != FALSE;
  return AdjustWindowRectEx(&rect, style, hasMenu, exStyle) != FALSE;
}

LOGFONTW DialogFont(UINT dpi) {
  LOGFONTW font{};
  font.lfHeight = -MulDiv(kDialogFontPoints, static_cast<int>(dpi), 72);
  font.lfWeight = FW_NORMAL;
  font.lfCharSet = DEFAULT_CHARSET;
  static_assert(sizeof(kDialogFontFace) <= sizeof(font.lfFaceName));
  std::copy(std::begin(kDialogFontFace), std::end(kDialogFontFace), font.lfFaceName);
  return font;
}

int ScrollBarWidth(UINT dpi) {
  static const auto forDpi = UserFunction<GetSystemMetricsForDpiFn>("GetSystemMetricsForDpi");
  if (forDpi) return forDpi(SM_CXVSCROLL, dpi);
  // The system-wide metric answers for the system DPI.
  return MulDiv(GetSystemMetrics(SM_CXVSCROLL), static_cast<int>(dpi), static_cast<int>(SystemDpi()));
}

}  // namespace zorvin::win32

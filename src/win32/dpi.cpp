#include "win32/dpi.h"

#include "win32/system_function.h"

namespace zorvin::win32 {
namespace {

// The per-monitor functions exist from Windows 10 1607 on; older systems (and
// the x86 build's oldest targets) get the system-wide forms.
template <typename Function>
Function UserFunction(const char* name) {
  return SystemFunction<Function>(L"user32.dll", name);
}

using GetDpiForWindowFn = UINT(WINAPI*)(HWND);
using GetDpiForSystemFn = UINT(WINAPI*)();
using AdjustWindowRectExForDpiFn = BOOL(WINAPI*)(LPRECT, DWORD, BOOL, DWORD, UINT);
using GetSystemMetricsForDpiFn = int(WINAPI*)(int, UINT);
using SetProcessDpiAwarenessContextFn = BOOL(WINAPI*)(HANDLE);
using SetProcessDPIAwareFn = BOOL(WINAPI*)();

}  // namespace

void BecomeDpiAware() {
  // The manifest asks for the same; these calls cover systems that read only
  // part of it. Where the manifest already took effect they fail, and that
  // failure is the awareness being in place already: nothing to report. On a
  // system with none of them the process runs DPI-unaware, scaled by the system.
  static const auto setContext = UserFunction<SetProcessDpiAwarenessContextFn>("SetProcessDpiAwarenessContext");
  // DPI_AWARENESS_CONTEXT_PER_MONITOR_AWARE_V2, then _PER_MONITOR_AWARE.
  if (setContext != nullptr && (setContext(reinterpret_cast<HANDLE>(static_cast<INT_PTR>(-4))) ||
                                setContext(reinterpret_cast<HANDLE>(static_cast<INT_PTR>(-3))))) {
    return;
  }
  static const auto setAware = UserFunction<SetProcessDPIAwareFn>("SetProcessDPIAware");
  if (setAware != nullptr) setAware();
}

UINT SystemDpi() {
  static const auto forSystem = UserFunction<GetDpiForSystemFn>("GetDpiForSystem");
  if (forSystem) return forSystem();
  // Without a screen DC there is no screen to ask: 96, the DPI every design
  // is drawn for, is the one answer that keeps the windows whole.
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

int ScrollBarWidth(UINT dpi) {
  static const auto forDpi = UserFunction<GetSystemMetricsForDpiFn>("GetSystemMetricsForDpi");
  // 0 is its failure: then, as on systems without it, the system-wide metric,
  // which answers for the system DPI, scaled.
  if (const int width = forDpi ? forDpi(SM_CXVSCROLL, dpi) : 0; width > 0) return width;
  return MulDiv(GetSystemMetrics(SM_CXVSCROLL), static_cast<int>(dpi), static_cast<int>(SystemDpi()));
}

}  // namespace zorvin::win32

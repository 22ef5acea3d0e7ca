// A window's life cycle: loading its on-screen part from the design, showing
// and hiding it, and destroying it. The class it is made from is in
// window_class.cpp, its layout at a DPI in window_layout.cpp, its messages in
// window_procedure.cpp.
#include "win32/window.h"

#include "win32/dpi.h"
#include "win32/error.h"
#include "win32/menu.h"

namespace zorvin::win32 {

Window::Window(WindowHost& host, const WindowDesign& design) : host_(host), design_(design) {}

Window::~Window() { Destroy(); }

bool Window::DestroyByProgram() noexcept {
  if (hwnd_ == nullptr) return true;
  closingByProgram_ = true;
  const bool destroyed = DestroyWindow(hwnd_) != FALSE;
  closingByProgram_ = false;
  if (!destroyed) {
    // Never leave the system a window that points at this object.
    SetWindowLongPtrW(hwnd_, GWLP_USERDATA, 0);
    hwnd_ = nullptr;
    controls_.clear();
  }
  return destroyed;
}

void Window::Destroy() noexcept {
  if (DestroyByProgram()) return;
  ReportFailure(L"unload");
}

bool Window::IsVisible() const { return hwnd_ != nullptr && IsWindowVisible(hwnd_); }

std::wstring Window::Operation(const wchar_t* what) const {
  return std::wstring(design_.name) + L": " + what;
}

std::wstring Window::QualifiedName(std::size_t index) const {
  return win32::QualifiedName(design_.name, design_.controls[index]);
}

void Window::ReportFailure(const wchar_t* what) noexcept {
  try {
    host_.ReportError(Operation(what));
  } catch (...) {
    host_.ReportError(what);  // the window's name took memory there was none of
  }
}

HWND Window::ControlHandle(std::size_t index) const {
  return index < controls_.size() ? controls_[index] : nullptr;
}

void Window::Load() {
  Check(hwnd_ == nullptr, Operation(L"load: already loaded"));
  RegisterClassOnce();
  Menu menu = design_.menu.empty() ? Menu() : BuildMenu(design_.menu, false, Operation(L"build the menu"));
  const std::wstring caption(design_.caption);
  const std::wstring className = ClassName();
  // The window starts hidden, made at its size and place for the system's
  // DPI, the one it opens at unless its place is on a screen of another
  // (BuildInside then sizes and places it again). No handler runs and no close
  // is reported until it is whole.
  const SIZE size = FrameSize(SystemDpi());
  const POINT at = FirstPosition(size);
  building_ = true;
  HWND created = CreateWindowExW(design_.exStyle, className.c_str(), caption.c_str(), design_.style, at.x, at.y,
                                 size.cx, size.cy, Owner(), menu.Get(), host_.Instance(), this);
  building_ = false;
  Check(created != nullptr, Operation(L"load"));
  menu.Release();  // destroyed with the window from now on
  try {
    BuildInside();
  } catch (...) {
    // Nothing half-built stays behind; the first failure is the one reported.
    DestroyByProgram();
    throw;
  }
}

void Window::BuildInside() {
  dpi_ = DpiOf(hwnd_);
  focus_.Forget();
  UseFontForDpi();
  SizeFrame();
  CreateControls();
  RECT frame{};
  Check(GetWindowRect(hwnd_, &frame), Operation(L"load"));
  const POINT at = FirstPosition({frame.right - frame.left, frame.bottom - frame.top});
  if (at.x != frame.left || at.y != frame.top) {
    Check(SetWindowPos(hwnd_, nullptr, at.x, at.y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE),
          Operation(L"place"));
  }
  OnLoad();
  ClipLabels();
}

void Window::ShowActive() {
  Check(hwnd_ != nullptr && IsWindow(hwnd_) &&
            SetWindowPos(hwnd_, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_SHOWWINDOW),
        Operation(L"show"));
  // The system may refuse to move the foreground to a window the user did not
  // click; the window is shown all the same, so this is no failure.
  SetForegroundWindow(hwnd_);
}

void Window::Hide() {
  Check(hwnd_ != nullptr && IsWindow(hwnd_) &&
            SetWindowPos(hwnd_, nullptr, 0, 0, 0, 0,
                         SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_HIDEWINDOW),
        Operation(L"hide"));
}

POINT Window::CenteredOn(const RECT& area, SIZE size) {
  return {area.left + (area.right - area.left - size.cx) / 2,
          area.top + (area.bottom - area.top - size.cy) / 2};
}

POINT Window::FirstPosition(SIZE size) const {
  MONITORINFO monitor{};
  monitor.cbSize = sizeof(monitor);
  Check(GetMonitorInfoW(MonitorFromWindow(hwnd_, MONITOR_DEFAULTTOPRIMARY), &monitor), Operation(L"place"));
  return CenteredOn(monitor.rcWork, size);
}

void Window::OnPaint(HDC) {}

}  // namespace zorvin::win32

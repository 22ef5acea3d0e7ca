#include "win32/window.h"

#include <new>

#include "win32/dpi.h"
#include "win32/error.h"
#include "win32/label_clip.h"
#include "win32/layout.h"
#include "win32/menu.h"

namespace zorvin::win32 {
namespace {

const wchar_t* ClassOf(ControlKind kind) {
  switch (kind) {
    case ControlKind::Label:
      return L"STATIC";
    case ControlKind::Edit:
      return L"EDIT";
    case ControlKind::Button:
      return L"BUTTON";
    case ControlKind::ComboBox:
      return L"COMBOBOX";
    case ControlKind::ListBox:
      return L"LISTBOX";
  }
  return L"STATIC";
}

std::wstring ClassName(const WindowDesign& design) { return L"ZorvinEffects." + std::wstring(design.name); }

}  // namespace

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
  try {
    host_.ReportError(Operation(L"unload"));
  } catch (...) {
    // Out of memory for the message: nothing is left to tell.
  }
}

bool Window::IsVisible() const { return hwnd_ != nullptr && IsWindowVisible(hwnd_); }

std::wstring Window::Operation(const wchar_t* what) const {
  return std::wstring(design_.name) + L": " + what;
}

std::wstring Window::QualifiedName(std::size_t index) const {
  return win32::QualifiedName(design_.name, design_.controls[index]);
}

HWND Window::ControlHandle(std::size_t index) const {
  return index < controls_.size() ? controls_[index] : nullptr;
}

void Window::RegisterClassOnce() const {
  const std::wstring name = ClassName(design_);
  WNDCLASSEXW existing{};
  existing.cbSize = sizeof(existing);
  if (GetClassInfoExW(host_.Instance(), name.c_str(), &existing)) return;

  WNDCLASSEXW cls{};
  cls.cbSize = sizeof(cls);
  cls.lpfnWndProc = &Window::Procedure;
  cls.hInstance = host_.Instance();
  cls.hCursor = LoadCursorW(nullptr, reinterpret_cast<LPCWSTR>(IDC_ARROW));
  cls.hbrBackground = design_.background == kBlackBackground
                          ? static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH))
                          : GetSysColorBrush(design_.background);
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

void Window::Load() {
  Check(hwnd_ == nullptr, Operation(L"load: already loaded"));
  RegisterClassOnce();
  Menu menu = design_.menu.empty() ? Menu() : BuildMenu(design_.menu, false, Operation(L"build the menu"));
  const std::wstring caption(design_.caption);
  const std::wstring className = ClassName(design_);
  // The window starts hidden and unsized; it is sized once its DPI is known.
  // No handler runs and no close is reported until it is whole.
  closingByProgram_ = true;
  HWND created = CreateWindowExW(design_.exStyle, className.c_str(), caption.c_str(), design_.style, 0, 0, 0,
                                 0, Owner(), menu.Get(), host_.Instance(), this);
  closingByProgram_ = false;
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
  Check(SetWindowPos(hwnd_, nullptr, at.x, at.y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE),
        Operation(L"place"));
  OnLoad();
  ClipLabels();
}

void Window::CreateControls() {
  controls_.clear();
  controlRects_.clear();
  for (const ControlDesign& control : design_.controls) controlRects_.push_back(control.rect);
  // Each control is made at its place for the window's DPI, then given the font.
  for (std::size_t index = 0; index < design_.controls.size(); ++index) {
    const ControlDesign& control = design_.controls[index];
    const std::wstring text(control.text);
    const RECT place = ControlPlace(index);
    HWND hwnd = CreateWindowExW(control.exStyle, ClassOf(control.kind), text.c_str(),
                                WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS | control.style, place.left,
                                place.top, place.right - place.left, place.bottom - place.top, hwnd_,
                                reinterpret_cast<HMENU>(static_cast<INT_PTR>(ControlId(index))),
                                host_.Instance(), nullptr);
    Check(hwnd != nullptr, QualifiedName(index) + L": create");
    SendMessageW(hwnd, WM_SETFONT, reinterpret_cast<WPARAM>(font_.Get()), FALSE);
    controls_.push_back(hwnd);
    // A combo box ignores the window name it is created with.
    if (control.kind == ControlKind::ComboBox && !text.empty())
      ComboBox(hwnd, QualifiedName(index)).SetText(text);
  }
}

void Window::UseFontForDpi() {
  const LOGFONTW logFont = DialogFont(dpi_);
  Font font(CreateFontIndirectW(&logFont));
  Check(static_cast<bool>(font), Operation(L"create the font"));
  for (HWND control : controls_)
    SendMessageW(control, WM_SETFONT, reinterpret_cast<WPARAM>(font.Get()), FALSE);
  font_ = std::move(font);
}

void Window::SizeFrame() {
  const PixelSize size = ClientSize(design_, dpi_);
  RECT frame{0, 0, size.width, size.height};
  Check(AdjustRectForDpi(frame, design_.style, !design_.menu.empty(), design_.exStyle, dpi_),
        Operation(L"size"));
  Check(SetWindowPos(hwnd_, nullptr, 0, 0, frame.right - frame.left, frame.bottom - frame.top,
                     SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE),
        Operation(L"size"));
  // A menu bar that wraps onto a second row takes from the client area: give it back.
  RECT client{};
  Check(GetClientRect(hwnd_, &client), Operation(L"size"));
  if (client.right != size.width || client.bottom != size.height) {
    Check(SetWindowPos(hwnd_, nullptr, 0, 0, frame.right - frame.left + size.width - client.right,
                       frame.bottom - frame.top + size.height - client.bottom,
                       SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE),
          Operation(L"size"));
  }
}

RECT Window::ControlPlace(std::size_t index) const {
  const ControlDesign& control = design_.controls[index];
  int textWidth = 0;
  if (control.growToFit) {
    const std::wstring line(control.text);
    textWidth = WidestText(hwnd_, font_.Get(), {&line, 1}, Operation(L"measure text"));
  }
  const PixelRect place = PlaceControl(design_, control, controlRects_[index], dpi_, textWidth);
  return {place.left, place.top, place.right, place.bottom};
}

void Window::ClipLabels() const { ClipLabelsBeneathControls(controls_, design_.controls, design_.name); }

void Window::SetControlWidth(std::size_t index, int widthTwips) {
  const Control control(ControlHandle(index), QualifiedName(index));
  control.SetSize(TwipsToPixels(widthTwips, dpi_), control.Size().cy, L"set width");
  controlRects_[index].width = widthTwips;
}

void Window::SetControlHeight(std::size_t index, int heightTwips) {
  const Control control(ControlHandle(index), QualifiedName(index));
  control.SetSize(control.Size().cx, TwipsToPixels(heightTwips, dpi_), L"set height");
  controlRects_[index].height = heightTwips;
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

HBRUSH Window::OnColorStatic(HDC, HWND) { return nullptr; }

void Window::OnPaint(HDC) {}

void Window::OnDpiChanged(UINT dpi, const RECT& suggested) {
  dpi_ = dpi;
  UseFontForDpi();
  SizeFrame();
  for (std::size_t index = 0; index < controls_.size(); ++index) {
    const RECT place = ControlPlace(index);
    Check(SetWindowPos(controls_[index], nullptr, place.left, place.top, place.right - place.left,
                       place.bottom - place.top, SWP_NOZORDER | SWP_NOACTIVATE),
          QualifiedName(index) + L": place");
  }
  ClipLabels();
  Check(InvalidateRect(hwnd_, nullptr, TRUE), Operation(L"place"));
  Check(SetWindowPos(hwnd_, nullptr, suggested.left, suggested.top, 0, 0,
                     SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE),
        Operation(L"place"));
}

LRESULT CALLBACK Window::Procedure(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) noexcept {
  Window* self = nullptr;
  if (message == WM_NCCREATE) {
    self = static_cast<Window*>(reinterpret_cast<CREATESTRUCTW*>(lParam)->lpCreateParams);
    SetWindowLongPtrW(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
    self->hwnd_ = hwnd;
  } else {
    self = reinterpret_cast<Window*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
  }
  if (self == nullptr) return DefWindowProcW(hwnd, message, wParam, lParam);
  // No exception may unwind through the system's frames: a failed operation
  // ends the handler here and goes to the program's error report.
  try {
    return self->HandleMessage(message, wParam, lParam);
  } catch (const UiError& error) {
    self->host_.ReportError(error.Operation());
  } catch (const std::bad_alloc&) {
    self->host_.ReportError(self->Operation(L"out of memory"));
  } catch (...) {
    self->host_.ReportError(self->Operation(L"unexpected failure"));
  }
  return 0;
}

LRESULT Window::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_COMMAND: {
      if (closingByProgram_) return 0;
      const int id = LOWORD(wParam);
      const auto index = static_cast<std::size_t>(id - kFirstControlId);
      if (id >= kFirstControlId && index < design_.controls.size()) {
        OnControl(index, HIWORD(wParam));
      } else if (HIWORD(wParam) == 0) {
        OnCommand(id);
      }
      return 0;
    }
    case WM_CTLCOLORSTATIC:
      if (HBRUSH brush = OnColorStatic(reinterpret_cast<HDC>(wParam), reinterpret_cast<HWND>(lParam))) {
        return reinterpret_cast<LRESULT>(brush);
      }
      break;
    case WM_PAINT: {
      // EndPaint even when painting fails, or the window would ask again and again.
      struct Paint {
        HWND hwnd;
        PAINTSTRUCT info{};
        HDC dc = BeginPaint(hwnd, &info);
        ~Paint() {
          if (dc != nullptr) EndPaint(hwnd, &info);
        }
      } paint{hwnd_};
      Check(paint.dc != nullptr, Operation(L"paint"));
      OnPaint(paint.dc);
      return 0;
    }
    case WM_ACTIVATE:
      if (LOWORD(wParam) == WA_INACTIVE) {
        focus_.Deactivated(hwnd_);
      } else {
        focus_.Activated(hwnd_);
      }
      return 0;
    case WM_NEXTDLGCTL:
      MoveDialogFocus(hwnd_, wParam, lParam);
      return 0;
    case DM_GETDEFID:
      if (const std::optional<std::size_t> button = DefaultButton())
        return MAKELRESULT(ControlId(*button), DC_HASDEFID);
      return 0;
    case WM_DPICHANGED:
      OnDpiChanged(HIWORD(wParam), *reinterpret_cast<const RECT*>(lParam));
      return 0;
    case WM_NCDESTROY: {
      const bool closedByUser = !closingByProgram_;
      SetWindowLongPtrW(hwnd_, GWLP_USERDATA, 0);
      const LRESULT result = DefWindowProcW(hwnd_, message, wParam, lParam);
      hwnd_ = nullptr;
      controls_.clear();
      font_.Reset();
      if (closedByUser) host_.WindowUnloaded(*this);
      return result;
    }
    default:
      break;
  }
  return DefWindowProcW(hwnd_, message, wParam, lParam);
}

}  // namespace zorvin::win32

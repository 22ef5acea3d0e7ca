#include "ui/window.h"

#include <algorithm>
#include <new>

#include "ui/dpi.h"
#include "ui/shell.h"
#include "ui/ui_error.h"

namespace zorvin::ui {
namespace {

// Height of a combo box's drop-down list below its text field.
constexpr int kComboListTwips = 3000;

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

bool IsEdit(HWND hwnd) {
  wchar_t name[16] = {};
  return GetClassNameW(hwnd, name, 16) > 0 && CompareStringOrdinal(name, -1, L"Edit", -1, TRUE) == CSTR_EQUAL;
}

std::wstring ClassName(const WindowDesign& design) { return L"ZorvinEffects." + std::wstring(design.name); }

// Builds a menu bar; on failure destroys what it built and raises.
HMENU BuildMenu(std::span<const MenuDesign> items, bool popup, const std::wstring& operation) {
  HMENU menu = popup ? CreatePopupMenu() : CreateMenu();
  Check(menu != nullptr, operation);
  for (const MenuDesign& item : items) {
    const std::wstring caption(item.caption);
    BOOL ok = FALSE;
    if (item.items.empty()) {
      ok = AppendMenuW(menu, MF_STRING, static_cast<UINT_PTR>(item.id), caption.c_str());
    } else {
      HMENU drop = nullptr;
      try {
        drop = BuildMenu(item.items, true, operation);
      } catch (...) {
        DestroyMenu(menu);
        throw;
      }
      ok = AppendMenuW(menu, MF_POPUP | MF_STRING, reinterpret_cast<UINT_PTR>(drop), caption.c_str());
      if (!ok) DestroyMenu(drop);
    }
    if (!ok) {
      DestroyMenu(menu);
      Fail(operation);
    }
  }
  return menu;
}

}  // namespace

Window::Window(Shell& shell, const WindowDesign& design) : shell_(shell), design_(design) {}

Window::~Window() { Destroy(); }

void Window::Destroy() {
  if (hwnd_ == nullptr) return;
  destroying_ = true;
  DestroyWindow(hwnd_);
  destroying_ = false;
}

bool Window::IsVisible() const { return hwnd_ != nullptr && IsWindowVisible(hwnd_); }

std::wstring Window::Operation(const wchar_t* what) const {
  return std::wstring(design_.name) + L": " + what;
}

std::wstring Window::QualifiedName(std::size_t index) const {
  return std::wstring(design_.name) + L"." + std::wstring(design_.controls[index].name);
}

HWND Window::ControlHandle(std::size_t index) const {
  return index < controls_.size() ? controls_[index] : nullptr;
}

void Window::RegisterClassOnce() const {
  const std::wstring name = ClassName(design_);
  WNDCLASSEXW existing{};
  existing.cbSize = sizeof(existing);
  if (GetClassInfoExW(shell_.Instance(), name.c_str(), &existing)) return;

  WNDCLASSEXW cls{};
  cls.cbSize = sizeof(cls);
  cls.lpfnWndProc = &Window::Procedure;
  cls.hInstance = shell_.Instance();
  cls.hCursor = LoadCursorW(nullptr, reinterpret_cast<LPCWSTR>(IDC_ARROW));
  cls.hbrBackground = design_.background == kBlackBackground
                          ? static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH))
                          : GetSysColorBrush(design_.background);
  if (design_.iconId != 0) {
    const auto icon = [&](int metricX, int metricY) {
      return static_cast<HICON>(LoadImageW(shell_.Instance(), MAKEINTRESOURCEW(design_.iconId), IMAGE_ICON,
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
  HMENU menu = design_.menu.empty() ? nullptr : BuildMenu(design_.menu, false, Operation(L"build the menu"));
  const std::wstring caption(design_.caption);
  const std::wstring className = ClassName(design_);
  // The window starts hidden and unsized; it is sized once its DPI is known.
  HWND created = CreateWindowExW(design_.exStyle, className.c_str(), caption.c_str(), design_.style, 0, 0, 0,
                                 0, Owner(), menu, shell_.Instance(), this);
  if (created == nullptr) {
    if (menu != nullptr) DestroyMenu(menu);
    Fail(Operation(L"load"));
  }
  dpi_ = DpiOf(hwnd_);
  savedFocus_ = nullptr;
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
                                reinterpret_cast<HMENU>(static_cast<INT_PTR>(control.id)), shell_.Instance(),
                                nullptr);
    Check(hwnd != nullptr, Operation(L"create ") + std::wstring(control.name));
    SendMessageW(hwnd, WM_SETFONT, reinterpret_cast<WPARAM>(font_.Get()), FALSE);
    controls_.push_back(hwnd);
    // A combo box ignores the window name it is created with.
    if (control.kind == ControlKind::ComboBox && !text.empty())
      ControlAt<ComboBox>(controls_.size() - 1).SetText(text);
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
  const int width = TwipsToPixels(design_.clientWidth, dpi_);
  const int height = TwipsToPixels(design_.clientHeight, dpi_);
  RECT frame{0, 0, width, height};
  Check(AdjustRectForDpi(frame, design_.style, !design_.menu.empty(), design_.exStyle, dpi_),
        Operation(L"size"));
  Check(SetWindowPos(hwnd_, nullptr, 0, 0, frame.right - frame.left, frame.bottom - frame.top,
                     SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE),
        Operation(L"size"));
  // A menu bar that wraps onto a second row takes from the client area: give it back.
  RECT client{};
  Check(GetClientRect(hwnd_, &client), Operation(L"size"));
  if (client.right != width || client.bottom != height) {
    Check(SetWindowPos(hwnd_, nullptr, 0, 0, frame.right - frame.left + width - client.right,
                       frame.bottom - frame.top + height - client.bottom,
                       SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE),
          Operation(L"size"));
  }
}

int Window::TextWidth(std::wstring_view text) const {
  const std::wstring line(text);
  return WidestText(hwnd_, font_.Get(), {&line, 1}, Operation(L"measure text"));
}

void Window::ClipLabels() const {
  for (std::size_t index = 0; index < controls_.size(); ++index) {
    if (design_.controls[index].kind == ControlKind::Label) ClipLabel(index);
  }
}

void Window::ClipLabel(std::size_t label) const {
  const std::wstring operation = QualifiedName(label) + L": clip";
  HWND hwnd = controls_[label];
  RECT own{};
  Check(GetWindowRect(hwnd, &own), operation);
  Region visible(CreateRectRgn(0, 0, own.right - own.left, own.bottom - own.top));
  Check(static_cast<bool>(visible), operation);
  bool covered = false;
  for (std::size_t index = 0; index < controls_.size(); ++index) {
    if (design_.controls[index].kind == ControlKind::Label) continue;
    RECT theirs{};
    Check(GetWindowRect(controls_[index], &theirs), operation);
    RECT overlap{};
    if (!IntersectRect(&overlap, &own, &theirs)) continue;
    OffsetRect(&overlap, -own.left, -own.top);
    const Region cut(CreateRectRgnIndirect(&overlap));
    Check(cut && CombineRgn(visible.Get(), visible.Get(), cut.Get(), RGN_DIFF) != ERROR, operation);
    covered = true;
  }
  // Once set, the region belongs to the system.
  HRGN region = covered ? visible.Release() : nullptr;
  if (!SetWindowRgn(hwnd, region, TRUE)) {
    if (region != nullptr) DeleteObject(region);
    Fail(operation);
  }
}

RECT Window::ControlPlace(std::size_t index) const {
  const ControlDesign& design = design_.controls[index];
  const TwipRect& rect = controlRects_[index];
  const int left = TwipsToPixels(rect.left, dpi_);
  const int top = TwipsToPixels(rect.top, dpi_);
  int width = TwipsToPixels(rect.width, dpi_);
  int height = TwipsToPixels(rect.height, dpi_);
  if (design.kind == ControlKind::ComboBox) height += TwipsToPixels(kComboListTwips, dpi_);
  if (design.growToFit) {
    const int room = TwipsToPixels(design_.clientWidth, dpi_) - left;
    width = std::max(width, std::min(room, TextWidth(design.text) + ScalePixels(1, dpi_)));
  }
  return {left, top, left + width, top + height};
}

void Window::SetControlWidth(std::size_t index, int widthTwips) {
  const Control control = ControlAt<Control>(index);
  control.SetSize(TwipsToPixels(widthTwips, dpi_), control.Size().cy, L"set width");
  controlRects_[index].width = widthTwips;
}

void Window::SetControlHeight(std::size_t index, int heightTwips) {
  const Control control = ControlAt<Control>(index);
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

void Window::OnActivate(bool active) {
  if (!active) {
    HWND focus = GetFocus();
    if (focus != nullptr && IsChild(hwnd_, focus)) savedFocus_ = focus;
    return;
  }
  // Like a dialog: focus goes back where it was, or to the first control in the tab order.
  HWND target = savedFocus_ != nullptr && IsWindow(savedFocus_) && IsChild(hwnd_, savedFocus_)
                    ? savedFocus_
                    : GetNextDlgTabItem(hwnd_, nullptr, FALSE);
  if (target != nullptr) SetFocus(target);
}

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
  InvalidateRect(hwnd_, nullptr, TRUE);
  Check(SetWindowPos(hwnd_, nullptr, suggested.left, suggested.top, 0, 0,
                     SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE),
        Operation(L"place"));
}

bool Window::PreTranslate(MSG& message) {
  const bool key = message.message == WM_KEYDOWN || message.message == WM_KEYUP || message.message == WM_CHAR;
  if (key && IsEdit(message.hwnd)) {
    if (message.message == WM_KEYDOWN && message.wParam == 'A' && GetKeyState(VK_CONTROL) < 0 &&
        GetKeyState(VK_MENU) >= 0) {
      // Not every version of the edit control selects all on Ctrl+A.
      SendMessageW(message.hwnd, EM_SETSEL, 0, -1);
      return true;
    }
    // A multi-line edit answers Esc by closing its parent window.
    if (message.wParam == VK_ESCAPE && (GetWindowLongPtrW(message.hwnd, GWL_STYLE) & ES_MULTILINE) != 0)
      return true;
  }
  return IsDialogMessageW(hwnd_, &message) != FALSE;
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
    self->shell_.ReportError(error.Operation());
  } catch (const std::bad_alloc&) {
    self->shell_.ReportError(self->Operation(L"out of memory"));
  } catch (...) {
    self->shell_.ReportError(self->Operation(L"unexpected failure"));
  }
  return 0;
}

LRESULT Window::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_COMMAND:
      if (!destroying_) OnCommand(LOWORD(wParam), HIWORD(wParam));
      return 0;
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
      if (paint.dc != nullptr) OnPaint(paint.dc);
      return 0;
    }
    case WM_ACTIVATE:
      OnActivate(LOWORD(wParam) != WA_INACTIVE);
      return 0;
    case WM_NEXTDLGCTL: {
      // Sent by a multi-line edit for Tab; the default procedure of a window
      // that is not a dialog would ignore it and focus would stay in the edit.
      HWND target = LOWORD(lParam) != 0 ? reinterpret_cast<HWND>(wParam)
                                        : GetNextDlgTabItem(hwnd_, GetFocus(), wParam != 0);
      if (target != nullptr) SetFocus(target);
      return 0;
    }
    case DM_GETDEFID:
      return DefaultButtonId() != 0 ? MAKELRESULT(DefaultButtonId(), DC_HASDEFID) : 0;
    case WM_DPICHANGED:
      OnDpiChanged(HIWORD(wParam), *reinterpret_cast<const RECT*>(lParam));
      return 0;
    case WM_NCDESTROY: {
      const bool closedByUser = !destroying_;
      SetWindowLongPtrW(hwnd_, GWLP_USERDATA, 0);
      const LRESULT result = DefWindowProcW(hwnd_, message, wParam, lParam);
      hwnd_ = nullptr;
      controls_.clear();
      font_.Reset();
      if (closedByUser) shell_.WindowUnloaded(*this);
      return result;
    }
    default:
      break;
  }
  return DefWindowProcW(hwnd_, message, wParam, lParam);
}

}  // namespace zorvin::ui

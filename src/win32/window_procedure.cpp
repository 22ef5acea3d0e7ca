// The window procedure: the trampoline from the system to the window object,
// which lets no exception through, and the messages the toolkit handles.
#include <new>

#include "win32/dialog_keys.h"
#include "win32/error.h"
#include "win32/window.h"

namespace zorvin::win32 {

LRESULT CALLBACK Window::Procedure(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) noexcept {
  Window* self = nullptr;
  if (message == WM_NCCREATE) {
    self = static_cast<Window*>(reinterpret_cast<CREATESTRUCTW*>(lParam)->lpCreateParams);
    // SetWindowLongPtr gives back the old value, 0 here, so only the last
    // error tells a failure; without the pointer no message would reach the
    // object: FALSE ends the creation, and Load reports it.
    SetLastError(0);
    if (SetWindowLongPtrW(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self)) == 0 && GetLastError() != 0) {
      return FALSE;
    }
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
    self->ReportFailure(L"out of memory");  // builds no text it could fail to build
  } catch (...) {
    self->ReportFailure(L"unexpected failure");
  }
  return 0;
}

HBRUSH Window::ColorLabel(HDC dc, HWND control) const {
  for (std::size_t index = 0; index < controls_.size(); ++index) {
    const std::uint32_t color = design_.controls[index].textColor;
    if (controls_[index] != control || color == kSystemTextColor) continue;
    Check(SetTextColor(dc, color) != CLR_INVALID && SetBkColor(dc, BackgroundColor()) != CLR_INVALID,
          QualifiedName(index) + L": colour");
    return BackgroundBrush();
  }
  return nullptr;
}

LRESULT Window::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_COMMAND: {
      if (building_ || closingByProgram_) return 0;
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
      if (HBRUSH brush = ColorLabel(reinterpret_cast<HDC>(wParam), reinterpret_cast<HWND>(lParam))) {
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
      const bool closedByUser = !building_ && !closingByProgram_;
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

#include "win32/dialog_keys.h"

namespace zorvin::win32 {
namespace {

bool IsEdit(HWND hwnd) {
  wchar_t name[16] = {};
  return GetClassNameW(hwnd, name, 16) > 0 && CompareStringOrdinal(name, -1, L"Edit", -1, TRUE) == CSTR_EQUAL;
}

}  // namespace

bool PreTranslateDialogKey(HWND window, MSG& message) {
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
  return IsDialogMessageW(window, &message) != FALSE;
}

void MoveDialogFocus(HWND window, WPARAM wParam, LPARAM lParam) {
  HWND target = LOWORD(lParam) != 0 ? reinterpret_cast<HWND>(wParam)
                                    : GetNextDlgTabItem(window, GetFocus(), wParam != 0);
  // SetFocus fails only for a control that is gone or not this thread's; the
  // focus then stays where the user had it, which is no fault to report.
  if (target != nullptr) SetFocus(target);
}

void FocusMemory::Deactivated(HWND window) {
  HWND focus = GetFocus();
  if (focus != nullptr && IsChild(window, focus)) saved_ = focus;
}

void FocusMemory::Activated(HWND window) const {
  HWND target = saved_ != nullptr && IsWindow(saved_) && IsChild(window, saved_)
                    ? saved_
                    : GetNextDlgTabItem(window, nullptr, FALSE);
  if (target != nullptr) SetFocus(target);
}

}  // namespace zorvin::win32

// Dialog-style keyboard handling for top-level windows that are not dialogs:
// Tab and Shift+Tab, access keys, Enter for the default button, Esc, and focus
// that comes back to where it was when a window is activated again.
#pragma once

#include <windows.h>

namespace zorvin::win32 {

// Keyboard handling before dispatch for a message whose root window is
// window; true when the message was consumed.
bool PreTranslateDialogKey(HWND window, MSG& message);

// WM_NEXTDLGCTL, which a multi-line edit sends for Tab: the default procedure
// of a window that is not a dialog would ignore it and focus would stay in the edit.
void MoveDialogFocus(HWND window, WPARAM wParam, LPARAM lParam);

// The control that had the focus when a window was last deactivated.
class FocusMemory {
 public:
  void Deactivated(HWND window);
  // Like a dialog: focus goes back where it was, or to the first control in the tab order.
  void Activated(HWND window) const;
  void Forget() { saved_ = nullptr; }

 private:
  HWND saved_ = nullptr;
};

}  // namespace zorvin::win32

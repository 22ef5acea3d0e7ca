// A top-level window built from a design stated as data.
//
// The object and the on-screen part have two lifetimes: the object lives as
// long as its owner keeps it; the on-screen part (frame, menu, controls and
// all they hold) exists from Load() until the window is destroyed, by its
// close box or by the program.
#pragma once

#include <windows.h>

#include <optional>
#include <string>
#include <string_view>
#include <tuple>
#include <type_traits>
#include <vector>

#include "win32/controls.h"
#include "win32/design.h"
#include "win32/dialog_keys.h"
#include "win32/handles.h"

namespace zorvin::win32 {

class Window;

// What a window needs from the program around it.
class WindowHost {
 public:
  virtual HINSTANCE Instance() const = 0;
  // What the names of the program's window classes start with ("Program.").
  virtual std::wstring ClassPrefix() const = 0;
  // The program's single error report, for a failure in a window's handler.
  // A view, so that a report needs no memory of its own to be made.
  virtual void ReportError(std::wstring_view operation) noexcept = 0;
  // The user's close box (or Alt+F4) has destroyed window.
  virtual void WindowUnloaded(Window& window) = 0;

 protected:
  ~WindowHost() = default;
};

// The wrapper type for each kind of control, in the order of ControlKind.
template <ControlKind kind>
using WrapperOf =
    std::tuple_element_t<static_cast<std::size_t>(kind), std::tuple<Label, Edit, Button, ComboBox, ListBox>>;
static_assert(std::is_same_v<WrapperOf<ControlKind::ListBox>, ListBox>);

class Window {
 public:
  Window(WindowHost& host, const WindowDesign& design);
  virtual ~Window();
  Window(const Window&) = delete;
  Window& operator=(const Window&) = delete;

  bool IsLoaded() const { return hwnd_ != nullptr; }
  bool IsVisible() const;
  HWND Handle() const { return hwnd_; }
  UINT Dpi() const { return dpi_; }
  const WindowDesign& Design() const { return design_; }

  // Builds the on-screen part from the design, hidden, then runs the load
  // handler. When a step fails, what was built is destroyed again and the
  // window stays unloaded.
  void Load();
  // Makes the window visible, in front of the program's other windows and active.
  void ShowActive();
  // Makes the window invisible; everything on it stays.
  void Hide();
  // Destroys the on-screen part without telling the host (the program is
  // being torn down, not closed by the user). A failure goes to the host's report.
  void Destroy() noexcept;

  // The window of the control at index (nullptr once destroyed).
  HWND ControlHandle(std::size_t index) const;

  // Keyboard handling before dispatch for a message whose root window is this
  // one: dialog navigation (Tab, access keys, Enter, Esc) and a few fixes of
  // the edit controls. True when the message was consumed.
  bool PreTranslate(MSG& message) { return PreTranslateDialogKey(hwnd_, message); }

 protected:
  // The control at index of rows, wrapped as its kind: rows are the window's
  // design rows, so the type comes from the row itself.
  template <const auto& rows, std::size_t index>
  WrapperOf<rows[index].kind> ControlAt() const {
    return {ControlHandle(index), QualifiedName(index)};
  }
  // "Form1.Text1": the window's and the control's design names.
  std::wstring QualifiedName(std::size_t index) const;
  std::wstring Operation(const wchar_t* what) const;
  // Reports what failed, named for this window ("Form1: out of memory"), or
  // with no memory left to name it, what alone.
  void ReportFailure(const wchar_t* what) noexcept;

  // Changes a control's size (twips) and keeps it through later layouts; for
  // OnLoad, after which Load clips the labels to the final sizes.
  void SetControlWidth(std::size_t index, int widthTwips);
  void SetControlHeight(std::size_t index, int heightTwips);

  virtual void OnLoad() {}
  // An event of the control at index, such as BN_CLICKED.
  virtual void OnControl(std::size_t index, int code) = 0;
  // A menu command, or IDOK / IDCANCEL from dialog navigation.
  virtual void OnCommand(int command) = 0;
  virtual void OnPaint(HDC dc);
  virtual HWND Owner() const { return nullptr; }
  // Top-left corner for the first placement of a window of this outer size.
  virtual POINT FirstPosition(SIZE size) const;
  // The control whose button Enter presses, or none.
  virtual std::optional<std::size_t> DefaultButton() const { return std::nullopt; }

  static POINT CenteredOn(const RECT& area, SIZE size);

 private:
  static LRESULT CALLBACK Procedure(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) noexcept;
  LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam);
  // The host's class prefix and the design's name.
  std::wstring ClassName() const;
  void RegisterClassOnce() const;
  // Load's steps after the frame exists.
  void BuildInside();
  // The dialog font at dpi_, for the window and every control it has.
  void UseFontForDpi();
  // The frame's outer size for the design's client area at dpi.
  SIZE FrameSize(UINT dpi) const;
  // Sizes the frame for the design's client area at dpi_.
  void SizeFrame();
  // Creates the controls at their places, in the window's font.
  void CreateControls();
  // A control's rectangle in pixels at dpi_, in client coordinates.
  RECT ControlPlace(std::size_t index) const;
  // The brush of the window's background, and its colour.
  HBRUSH BackgroundBrush() const;
  COLORREF BackgroundColor() const;
  // A label's colours, as its design row states them; nullptr keeps the system's.
  HBRUSH ColorLabel(HDC dc, HWND control) const;
  // Labels beneath the other controls (see label_clip.h).
  void ClipLabels() const;
  void OnDpiChanged(UINT dpi, const RECT& suggested);
  // Destroys the on-screen part; false when the system refused.
  bool DestroyByProgram() noexcept;

  WindowHost& host_;
  const WindowDesign& design_;
  HWND hwnd_ = nullptr;
  UINT dpi_ = 96;
  std::vector<HWND> controls_;
  std::vector<TwipRect> controlRects_;
  Font font_;
  FocusMemory focus_;
  // While the frame is being created, and while the program itself destroys
  // the window: no handler runs then, and the host is not told of a close.
  bool building_ = false;
  bool closingByProgram_ = false;
};

}  // namespace zorvin::win32

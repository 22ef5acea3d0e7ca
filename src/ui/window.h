// A top-level window of the program, built from a design stated as data.
//
// The object and the on-screen part have two lifetimes: the object lives as
// long as the shell keeps it; the on-screen part (frame, menu, controls and all
// they hold) exists from Load() until the window is destroyed, by its close
// box or by the object's destructor.
#pragma once

#include <windows.h>

#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "ui/controls.h"
#include "ui/handles.h"

namespace zorvin::ui {

class Shell;

// Position and size in twips, from the top-left corner of the client area.
struct TwipRect {
  int left;
  int top;
  int width;
  int height;
};

enum class ControlKind { Label, Edit, Button, ComboBox, ListBox };

struct ControlDesign {
  std::wstring_view name;
  ControlKind kind;
  int id;
  std::wstring_view text;  // caption or initial text
  DWORD style;             // besides WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS
  DWORD exStyle;
  TwipRect rect;  // for a combo box, the closed size
  // A one-line label whose caption is wider in the current font than its
  // design width grows to the right, up to the client area's edge, rather
  // than cut its text.
  bool growToFit = false;
};

// A menu-bar item: a command (id) or a drop-down of commands (items).
struct MenuDesign {
  std::wstring_view caption;
  int id;
  std::span<const MenuDesign> items;
};

// Class brush of a window: a system colour index, or solid black.
inline constexpr int kBlackBackground = -1;

struct WindowDesign {
  std::wstring_view name;  // the window's name, for error reports
  std::wstring_view caption;
  DWORD style;
  DWORD exStyle;
  int clientWidth;   // twips
  int clientHeight;  // twips
  int background;    // COLOR_* index or kBlackBackground
  int iconId;        // 0: no icon
  std::span<const MenuDesign> menu;
  std::span<const ControlDesign> controls;
};

class Window {
 public:
  Window(Shell& shell, const WindowDesign& design);
  virtual ~Window();
  Window(const Window&) = delete;
  Window& operator=(const Window&) = delete;

  const WindowDesign& Design() const { return design_; }
  bool IsLoaded() const { return hwnd_ != nullptr; }
  bool IsVisible() const;
  HWND Handle() const { return hwnd_; }
  UINT Dpi() const { return dpi_; }

  // Builds the on-screen part from the design, hidden, then runs the load handler.
  void Load();
  // Makes the window visible, in front of the program's other windows and active.
  void ShowActive();
  // Makes the window invisible; everything on it stays.
  void Hide();
  // Destroys the on-screen part without telling the shell (the program is
  // being torn down, not closed by the user).
  void Destroy();

  // The window of the design's control at index (nullptr once destroyed).
  HWND ControlHandle(std::size_t index) const;

  // Keyboard handling before dispatch for a message whose root window is this
  // one: dialog navigation (Tab, access keys, Enter, Esc) and a few fixes of
  // the edit controls. True when the message was consumed.
  bool PreTranslate(MSG& message);

 protected:
  Shell& TheShell() const { return shell_; }

  template <typename ControlType>
  ControlType ControlAt(std::size_t index) const {
    return ControlType(ControlHandle(index), QualifiedName(index));
  }
  std::wstring QualifiedName(std::size_t index) const;

  // Changes a control's size (twips) and keeps it through later layouts; for
  // OnLoad, after which Load clips the labels to the final sizes.
  void SetControlWidth(std::size_t index, int widthTwips);
  void SetControlHeight(std::size_t index, int heightTwips);

  virtual void OnLoad() {}
  virtual void OnCommand(int id, int code) = 0;
  // Colours of a label; nullptr keeps the defaults.
  virtual HBRUSH OnColorStatic(HDC dc, HWND control);
  virtual void OnPaint(HDC dc);
  virtual HWND Owner() const { return nullptr; }
  // Top-left corner for the first placement of a window of this outer size.
  virtual POINT FirstPosition(SIZE size) const;
  // The button pressed by Enter, or 0 for none.
  virtual int DefaultButtonId() const { return 0; }

  static POINT CenteredOn(const RECT& area, SIZE size);

 private:
  static LRESULT CALLBACK Procedure(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) noexcept;
  LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam);
  void RegisterClassOnce() const;
  std::wstring Operation(const wchar_t* what) const;
  // The dialog font at dpi_, for the window and every control it has.
  void UseFontForDpi();
  // Sizes the frame for the design's client area at dpi_.
  void SizeFrame();
  // Creates the controls at their places, in the window's font.
  void CreateControls();
  // A control's rectangle in pixels at dpi_, in client coordinates.
  RECT ControlPlace(std::size_t index) const;
  // Width in pixels of one line of text in the window's font.
  int TextWidth(std::wstring_view text) const;
  // Labels are drawn beneath the windowed controls: each label is clipped to
  // the part of it that no other control covers. Labels keep their place in
  // the child order, just before the control they name, where screen readers
  // look for a control's name; that order is also the drawing order, so
  // without the clip a label would paint over the edge of the control below it.
  void ClipLabels() const;
  void ClipLabel(std::size_t label) const;
  void OnActivate(bool active);
  void OnDpiChanged(UINT dpi, const RECT& suggested);

  Shell& shell_;
  const WindowDesign& design_;
  HWND hwnd_ = nullptr;
  UINT dpi_ = 96;
  std::vector<HWND> controls_;
  std::vector<TwipRect> controlRects_;
  Font font_;
  HWND savedFocus_ = nullptr;
  bool destroying_ = false;
};

}  // namespace zorvin::ui

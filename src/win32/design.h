// A window stated as data: its frame, menu bar and controls, in twips (1/1440
// inch; at 96 dots per inch 15 twips make one pixel). Plain data, no window
// needed, so that layout can be worked out and checked anywhere.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>

namespace zorvin::win32 {

// Position and size in twips, from the top-left corner of the client area.
struct TwipRect {
  int left = 0;
  int top = 0;
  int width = 0;
  int height = 0;
};

enum class ControlKind { Label, Edit, Button, ComboBox, ListBox };

// A label's text colour as a COLORREF (0x00BBGGRR), drawn on the window's
// background; kSystemTextColor leaves the system's colours.
inline constexpr std::uint32_t kSystemTextColor = 0xFFFFFFFF;
constexpr std::uint32_t Rgb(std::uint8_t red, std::uint8_t green, std::uint8_t blue) {
  return red | (green << 8) | (static_cast<std::uint32_t>(blue) << 16);
}

// One control. A window's rows come in the order of its controls (which is
// also the tab order and the drawing order), each naming its own place in that
// order: the window's role constants index the rows, and RowsFollowRoles checks
// at compile time that the two agree.
struct ControlDesign {
  std::size_t role;        // the control's index in its window
  std::wstring_view name;  // the designer's name, for error reports ("Combo1")
  ControlKind kind;
  std::wstring_view text = {};  // caption or initial text
  std::uint32_t style = 0;      // besides WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS
  std::uint32_t exStyle = 0;
  TwipRect rect;  // for a combo box, the closed size
  std::uint32_t textColor = kSystemTextColor;  // a label's
  // A one-line label whose caption is wider in the current font than its
  // design width grows to the right, up to the client area's edge, rather
  // than cut its text.
  bool growToFit = false;
};

// A menu-bar item: a command, or a drop-down of commands (items).
struct MenuDesign {
  std::wstring_view caption = {};
  int command = 0;
  std::span<const MenuDesign> items = {};
};

// Class brush of a window: a system colour index, or solid black.
inline constexpr int kBlackBackground = -1;

struct WindowDesign {
  std::wstring_view name;  // the designer's name, for error reports ("Form1")
  std::wstring_view caption = {};
  std::uint32_t style = 0;
  std::uint32_t exStyle = 0;
  int clientWidth = 0;   // twips
  int clientHeight = 0;  // twips
  int background = 0;    // COLOR_* index or kBlackBackground
  int iconId = 0;        // 0: no icon
  std::span<const MenuDesign> menu = {};
  std::span<const ControlDesign> controls = {};
};

// "Form1.Text1": a control's full name for error reports.
inline std::wstring QualifiedName(std::wstring_view windowName, const ControlDesign& control) {
  return std::wstring(windowName) + L"." + std::wstring(control.name);
}

// Control ids follow the controls' order from here; menu commands, IDOK and
// IDCANCEL lie outside that range.
inline constexpr int kFirstControlId = 100;
inline constexpr std::size_t kMaxControls = 100;

constexpr int ControlId(std::size_t role) { return kFirstControlId + static_cast<int>(role); }

// True when there is a row for each of the count roles and row i states control i.
constexpr bool RowsFollowRoles(std::span<const ControlDesign> rows, std::size_t count) {
  if (rows.size() != count || count > kMaxControls) return false;
  for (std::size_t index = 0; index < rows.size(); ++index) {
    if (rows[index].role != index) return false;
  }
  return true;
}

// True when no menu command falls among the control ids.
constexpr bool CommandsClearOfControls(std::span<const MenuDesign> items) {
  for (const MenuDesign& item : items) {
    const bool inRange =
        item.command >= kFirstControlId && item.command < kFirstControlId + static_cast<int>(kMaxControls);
    if (inRange || !CommandsClearOfControls(item.items)) return false;
  }
  return true;
}

}  // namespace zorvin::win32

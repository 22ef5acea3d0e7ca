// Non-owning wrappers of the standard controls: the parent window destroys its
// children. Every operation checks its result and raises UiError naming the
// control and the operation when it fails, for example when the control's
// window no longer exists.
#pragma once

#include <windows.h>

#include <optional>
#include <span>
#include <string>
#include <string_view>

namespace zorvin::win32 {

class Control {
 public:
  // name: the control's full name for error reports, such as "Form1.Text1".
  Control(HWND hwnd, std::wstring name) : hwnd_(hwnd), name_(std::move(name)) {}

  HWND Handle() const { return hwnd_; }

  // The window text (caption of a label or button, text of an edit or a
  // combo box's text field).
  std::wstring Text() const;
  void SetText(std::wstring_view text) const;

  // Width in pixels of the widest of texts, each one line, in the control's own font.
  int WidestText(std::span<const std::wstring> texts) const;

  // Outer size in pixels, position kept.
  void SetSize(int width, int height, const wchar_t* operation) const;
  SIZE Size() const;

 protected:
  // Sends a message after checking that the control still exists.
  LRESULT Send(UINT message, WPARAM wParam, LPARAM lParam, const wchar_t* operation) const;
  std::wstring Operation(const wchar_t* what) const { return name_ + L": " + what; }
  // Asks a text's length, then reads the text: the window text (no item) or an item's text.
  std::wstring ReadText(UINT lengthMessage, UINT textMessage, std::optional<WPARAM> item,
                        const wchar_t* operation) const;
  // Adds an item (CB_ADDSTRING, LB_ADDSTRING) and checks the answer.
  void AddString(UINT message, std::wstring_view text, const wchar_t* operation) const;
  // Asks the number of items (CB_GETCOUNT, LB_GETCOUNT) and checks the answer.
  int CountOf(UINT message, const wchar_t* operation) const;

 private:
  HWND hwnd_;
  std::wstring name_;
};

class Label : public Control {
 public:
  using Control::Control;
  std::wstring Caption() const { return Text(); }
  void SetCaption(std::wstring_view caption) const { SetText(caption); }
};

class Edit : public Control {
 public:
  using Control::Control;
};

class Button : public Control {
 public:
  using Control::Control;
};

// Combo box with an editable text field (CBS_DROPDOWN).
class ComboBox : public Control {
 public:
  using Control::Control;
  // Removes every item; as the platform does, this also empties the text field.
  void Clear() const;
  void Append(std::wstring_view item) const;
  int Count() const;
  std::wstring Item(int index) const;
  // The least width in pixels of the open list (it is never narrower than the combo box).
  void SetDroppedWidth(int width) const;
};

// Single-selection list box.
class ListBox : public Control {
 public:
  using Control::Control;
  void Append(std::wstring_view entry) const;
  int Count() const;
  std::wstring Item(int index) const;
  std::optional<int> Selection() const;
  // The selected entry's text, or the empty text when none is selected.
  std::wstring CurrentText() const;
};

}  // namespace zorvin::win32

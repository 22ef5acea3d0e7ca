#include "win32/controls.h"

#include "win32/font.h"

#include <algorithm>

#include "win32/error.h"

namespace zorvin::win32 {

LRESULT Control::Send(UINT message, WPARAM wParam, LPARAM lParam, const wchar_t* operation) const {
  // A message to a window that is gone returns 0, which for many messages
  // reads as success: check the window first.
  Check(hwnd_ != nullptr && IsWindow(hwnd_), Operation(operation));
  return SendMessageW(hwnd_, message, wParam, lParam);
}

std::wstring Control::ReadText(UINT lengthMessage, UINT textMessage, std::optional<WPARAM> item,
                               const wchar_t* operation) const {
  const LRESULT length = Send(lengthMessage, item.value_or(0), 0, operation);
  Check(length >= 0, Operation(operation));
  std::wstring text(static_cast<std::size_t>(length) + 1, L'\0');
  // The window text takes the buffer's size; an item text, the item's index.
  const WPARAM wParam = item ? *item : text.size();
  const LRESULT copied = Send(textMessage, wParam, reinterpret_cast<LPARAM>(text.data()), operation);
  Check(copied >= 0 && copied <= length, Operation(operation));
  text.resize(static_cast<std::size_t>(copied));
  return text;
}

void Control::AddString(UINT message, std::wstring_view text, const wchar_t* operation) const {
  const std::wstring terminated(text);
  // The new item's index, or CB_ERR/LB_ERR or CB_ERRSPACE/LB_ERRSPACE (all negative).
  const LRESULT index = Send(message, 0, reinterpret_cast<LPARAM>(terminated.c_str()), operation);
  Check(index >= 0, Operation(operation));
}

int Control::CountOf(UINT message, const wchar_t* operation) const {
  const LRESULT count = Send(message, 0, 0, operation);
  Check(count >= 0, Operation(operation));
  return static_cast<int>(count);
}

std::wstring Control::Text() const {
  return ReadText(WM_GETTEXTLENGTH, WM_GETTEXT, std::nullopt, L"read text");
}

void Control::SetText(std::wstring_view text) const {
  const std::wstring terminated(text);
  // Edits and statics answer TRUE; a combo box answers CB_ERR or CB_ERRSPACE on failure.
  const LRESULT result = Send(WM_SETTEXT, 0, reinterpret_cast<LPARAM>(terminated.c_str()), L"set text");
  Check(result > 0, Operation(L"set text"));
}

int Control::WidestText(std::span<const std::wstring> texts) const {
  const auto font = reinterpret_cast<HFONT>(Send(WM_GETFONT, 0, 0, L"measure text"));
  // No font set: the control draws in the system font.
  return win32::WidestText(hwnd_, font != nullptr ? font : static_cast<HFONT>(GetStockObject(SYSTEM_FONT)),
                           texts, Operation(L"measure text"));
}

SIZE Control::Size() const {
  RECT rect{};
  Check(IsWindow(hwnd_) && GetWindowRect(hwnd_, &rect), Operation(L"read size"));
  return {rect.right - rect.left, rect.bottom - rect.top};
}

void Control::SetSize(int width, int height, const wchar_t* operation) const {
  Check(IsWindow(hwnd_) &&
            SetWindowPos(hwnd_, nullptr, 0, 0, width, height, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE),
        Operation(operation));
}

void ComboBox::Clear() const { Send(CB_RESETCONTENT, 0, 0, L"clear"); }

void ComboBox::Append(std::wstring_view item) const { AddString(CB_ADDSTRING, item, L"append item"); }

int ComboBox::Count() const { return CountOf(CB_GETCOUNT, L"count items"); }

std::wstring ComboBox::Item(int index) const {
  return ReadText(CB_GETLBTEXTLEN, CB_GETLBTEXT, static_cast<WPARAM>(index), L"read item");
}

void ComboBox::SetDroppedWidth(int width) const {
  Check(Send(CB_SETDROPPEDWIDTH, static_cast<WPARAM>(width), 0, L"set list width") != CB_ERR,
        Operation(L"set list width"));
}

void ListBox::Append(std::wstring_view entry) const { AddString(LB_ADDSTRING, entry, L"append entry"); }

int ListBox::Count() const { return CountOf(LB_GETCOUNT, L"count entries"); }

std::wstring ListBox::Item(int index) const {
  return ReadText(LB_GETTEXTLEN, LB_GETTEXT, static_cast<WPARAM>(index), L"read entry");
}

std::optional<int> ListBox::Selection() const {
  const LRESULT index = Send(LB_GETCURSEL, 0, 0, L"read selection");
  if (index == LB_ERR) return std::nullopt;
  return static_cast<int>(index);
}

std::wstring ListBox::CurrentText() const {
  const std::optional<int> selection = Selection();
  return selection ? Item(*selection) : std::wstring();
}

}  // namespace zorvin::win32

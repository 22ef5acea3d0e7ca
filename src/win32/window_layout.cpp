// A window's layout at its DPI: the font, the frame for the design's client
// area, the controls at their places, and all of it again when the DPI changes.
#include "win32/dpi.h"
#include "win32/error.h"
#include "win32/font.h"
#include "win32/label_clip.h"
#include "win32/layout.h"
#include "win32/window.h"

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

}  // namespace

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

SIZE Window::FrameSize(UINT dpi) const {
  const PixelSize client = ClientSize(design_, dpi);
  RECT frame{0, 0, client.width, client.height};
  Check(AdjustRectForDpi(frame, design_.style, !design_.menu.empty(), design_.exStyle, dpi), Operation(L"size"));
  return {frame.right - frame.left, frame.bottom - frame.top};
}

void Window::SizeFrame() {
  const SIZE size = FrameSize(dpi_);
  RECT frame{};
  Check(GetWindowRect(hwnd_, &frame), Operation(L"size"));
  if (frame.right - frame.left != size.cx || frame.bottom - frame.top != size.cy) {
    Check(SetWindowPos(hwnd_, nullptr, 0, 0, size.cx, size.cy, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE),
          Operation(L"size"));
  }
  // A menu bar that wraps onto a second row takes from the client area: give it back.
  const PixelSize client = ClientSize(design_, dpi_);
  RECT inside{};
  Check(GetClientRect(hwnd_, &inside), Operation(L"size"));
  if (inside.right != client.width || inside.bottom != client.height) {
    Check(SetWindowPos(hwnd_, nullptr, 0, 0, size.cx + client.width - inside.right,
                       size.cy + client.height - inside.bottom, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE),
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

}  // namespace zorvin::win32

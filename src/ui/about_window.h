// The About window: names the tool and its release; "OK" goes back to the effects list.
#pragma once

#include "win32/window.h"

namespace zorvin::ui {

class Shell;

class AboutWindow : public win32::Window {
 public:
  // The controls, in tab order; each has its row in the window's design.
  enum Role : std::size_t {
    kOkButton,     // "OK" (and Enter, and Esc): back to the effects list
    kCreditLabel,  // who made it
    kVersionLabel,
    kControlCount
  };

  explicit AboutWindow(Shell& shell);

  win32::Button OkButton() const;
  win32::Label CreditLabel() const;
  win32::Label VersionLabel() const;

  // The etched separator above the button row: a grey line, and a white one
  // just below it, as pixel rectangles in the client area.
  enum class Separator { White, Grey };  // in the order of the design's lines
  struct Line {
    RECT rect;
    COLORREF color;
  };
  Line SeparatorLine(Separator which) const;

 protected:
  void OnControl(std::size_t index, int code) override;
  void OnCommand(int command) override;
  void OnPaint(HDC dc) override;
  HWND Owner() const override;
  POINT FirstPosition(SIZE size) const override;
  std::optional<std::size_t> DefaultButton() const override { return kOkButton; }

 private:
  Shell& shell_;
};

}  // namespace zorvin::ui

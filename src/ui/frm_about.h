// The About window: names the tool and its release; "OK" goes back to the effects list.
#pragma once

#include "ui/window.h"

namespace zorvin::ui {

class frmAbout : public Window {
 public:
  enum Control : std::size_t { kCmdOK, kLabel1, kLblVersion };
  // IDOK: dialog navigation sends it for Enter (and IDCANCEL for Esc).
  static constexpr int kIdCmdOK = IDOK;
  static constexpr int kIdLabel1 = 301;
  static constexpr int kIdLblVersion = 302;

  explicit frmAbout(Shell& shell);

  Button CmdOK() const { return ControlAt<Button>(kCmdOK); }
  Label Label1() const { return ControlAt<Label>(kLabel1); }
  Label LblVersion() const { return ControlAt<Label>(kLblVersion); }

  // The etched separator: the two Line1 lines as pixel rectangles in the client area.
  struct Line {
    RECT rect;
    COLORREF color;
  };
  Line Line1(int index) const;

 protected:
  void OnCommand(int id, int code) override;
  void OnPaint(HDC dc) override;
  HWND Owner() const override;
  POINT FirstPosition(SIZE size) const override;
  int DefaultButtonId() const override { return kIdCmdOK; }
};

}  // namespace zorvin::ui

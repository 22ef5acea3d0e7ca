#include "ui/about_window.h"

#include <algorithm>

#include "ui/effects_window.h"
#include "ui/shell.h"
#include "win32/error.h"
#include "win32/layout.h"

namespace zorvin::ui {
namespace {

using win32::ControlDesign;
using win32::ControlKind;
using win32::WindowDesign;

constexpr ControlDesign kControls[] = {
    {.role = AboutWindow::kOkButton,
     .name = L"cmdOK",
     .kind = ControlKind::Button,
     .text = L"OK",
     .style = BS_DEFPUSHBUTTON | WS_TABSTOP,
     .rect = {4245, 2625, 1260, 345}},
    {.role = AboutWindow::kCreditLabel,
     .name = L"Label1",
     .kind = ControlKind::Label,
     .text = L"Programmed and designed by Tolvane",
     .style = SS_LEFT,
     .rect = {1200, 600, 3015, 1335}},
    // Should a system draw the dialog font wider than the design, the version grows rather than lose "1.0".
    {.role = AboutWindow::kVersionLabel,
     .name = L"lblVersion",
     .kind = ControlKind::Label,
     .text = L"Beta Release 1.0",
     .style = SS_LEFTNOWORDWRAP,
     .rect = {120, 2640, 1245, 225},
     .growToFit = true},
};
static_assert(win32::RowsFollowRoles(kControls, AboutWindow::kControlCount));

constexpr WindowDesign kDesign{
    .name = L"frmAbout",
    .caption = L"Worldspawn Utility",
    // A fixed dialog frame; WS_EX_DLGMODALFRAME keeps the icon off the title bar.
    .style = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_CLIPCHILDREN,
    .exStyle = WS_EX_DLGMODALFRAME,
    .clientWidth = 5730,
    .clientHeight = 3240,
    .background = COLOR_BTNFACE,
    .controls = kControls,
};

// The separator ("Line1" in the design), in twips: a 1-pixel grey line
// directly above a 2-pixel white one.
struct LineDesign {
  int y;
  int fromX;
  int toX;
  int thickPixels;
  COLORREF color;
};
constexpr LineDesign kLines[] = {
    {.y = 2460, .fromX = 105, .toX = 5654, .thickPixels = 2, .color = RGB(255, 255, 255)},
    {.y = 2445, .fromX = 90, .toX = 5654, .thickPixels = 1, .color = RGB(128, 128, 128)},
};

}  // namespace

AboutWindow::AboutWindow(Shell& shell) : Window(shell, kDesign), shell_(shell) {}

win32::Button AboutWindow::OkButton() const { return ControlAt<kControls, kOkButton>(); }
win32::Label AboutWindow::CreditLabel() const { return ControlAt<kControls, kCreditLabel>(); }
win32::Label AboutWindow::VersionLabel() const { return ControlAt<kControls, kVersionLabel>(); }

AboutWindow::Line AboutWindow::SeparatorLine(Separator which) const {
  const LineDesign& line = kLines[static_cast<std::size_t>(which)];
  const win32::PixelRect rect = win32::HorizontalLine(line.y, line.fromX, line.toX, line.thickPixels, Dpi());
  return {{rect.left, rect.top, rect.right, rect.bottom}, line.color};
}

void AboutWindow::OnControl(std::size_t index, int code) {
  // A click, Space, or Enter (the default button) on "OK".
  if (index == kOkButton && code == BN_CLICKED) shell_.AboutOkChosen();
}

void AboutWindow::OnCommand(int command) {
  // Esc arrives as IDCANCEL from dialog navigation; IDOK is the usual OK of a dialog.
  if (command == IDOK || command == IDCANCEL) shell_.AboutOkChosen();
}

void AboutWindow::OnPaint(HDC dc) {
  // Grey first, then white; the two do not overlap.
  for (Separator which : {Separator::Grey, Separator::White}) {
    const Line line = SeparatorLine(which);
    const win32::Brush brush(CreateSolidBrush(line.color));
    win32::Check(brush && FillRect(dc, &line.rect, brush.Get()), Operation(L"draw the separator"));
  }
}

HWND AboutWindow::Owner() const { return shell_.HiddenOwner(); }

POINT AboutWindow::FirstPosition(SIZE size) const {
  // Centred over the effects list window when it is on screen, else on the screen.
  const EffectsWindow* effects = shell_.EffectsSlot();
  if (effects == nullptr || !effects->IsVisible()) return Window::FirstPosition(size);
  RECT over{};
  MONITORINFO monitor{};
  monitor.cbSize = sizeof(monitor);
  win32::Check(GetWindowRect(effects->Handle(), &over) &&
                   GetMonitorInfoW(MonitorFromRect(&over, MONITOR_DEFAULTTONEAREST), &monitor),
               Operation(L"place"));
  // On the effects window's screen, wholly inside its work area.
  POINT at = CenteredOn(over, size);
  const RECT& work = monitor.rcWork;
  at.x = std::clamp<LONG>(at.x, work.left, std::max<LONG>(work.left, work.right - size.cx));
  at.y = std::clamp<LONG>(at.y, work.top, std::max<LONG>(work.top, work.bottom - size.cy));
  return at;
}

}  // namespace zorvin::ui

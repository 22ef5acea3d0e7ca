#include "ui/frm_about.h"

#include <algorithm>

#include "ui/dpi.h"
#include "ui/frm_zorvin_efx.h"
#include "ui/shell.h"

namespace zorvin::ui {
namespace {

// clang-format off
constexpr ControlDesign kControls[] = {
    {L"cmdOK", ControlKind::Button, frmAbout::kIdCmdOK, L"OK", BS_DEFPUSHBUTTON | WS_TABSTOP, 0,
     {4245, 2625, 1260, 345}},
    {L"Label1", ControlKind::Label, frmAbout::kIdLabel1, L"Programmed and designed by Tolvane", SS_LEFT, 0,
     {1200, 600, 3015, 1335}},
    // Should a system draw the dialog font wider than the design, the version grows rather than lose "1.0".
    {L"lblVersion", ControlKind::Label, frmAbout::kIdLblVersion, L"Beta Release 1.0", SS_LEFTNOWORDWRAP, 0,
     {120, 2640, 1245, 225}, true},
};
// clang-format on

constexpr WindowDesign kDesign{
    L"frmAbout",
    L"Worldspawn Utility",
    // A fixed dialog frame; WS_EX_DLGMODALFRAME keeps the icon off the title bar.
    WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_CLIPCHILDREN,
    WS_EX_DLGMODALFRAME,
    5730,
    3240,
    COLOR_BTNFACE,
    0,
    {},
    kControls,
};

// The separator, in twips: a 1-pixel grey line directly above a 2-pixel white one.
struct LineDesign {
  int y;
  int fromX;
  int toX;
  int widthPixels;
  COLORREF color;
};
constexpr LineDesign kLines[] = {
    {2460, 105, 5654, 2, RGB(255, 255, 255)},  // Line1 index 0
    {2445, 90, 5654, 1, RGB(128, 128, 128)},   // Line1 index 1
};

}  // namespace

frmAbout::frmAbout(Shell& shell) : Window(shell, kDesign) {}

frmAbout::Line frmAbout::Line1(int index) const {
  const LineDesign& line = kLines[index == 0 ? 0 : 1];
  const UINT dpi = Dpi();
  const int top = TwipsToPixels(line.y, dpi);
  return {{TwipsToPixels(line.fromX, dpi), top, TwipsToPixels(line.toX, dpi),
           top + std::max(1, ScalePixels(line.widthPixels, dpi))},
          line.color};
}

void frmAbout::OnCommand(int id, int code) {
  // Enter arrives as IDOK and Esc as IDCANCEL from dialog navigation; a click
  // or Space on the button as BN_CLICKED.
  if ((id == kIdCmdOK && code == BN_CLICKED) || id == IDCANCEL) TheShell().AboutOkChosen();
}

void frmAbout::OnPaint(HDC dc) {
  // Index 1 first, as the design lists it; the two do not overlap.
  for (int index : {1, 0}) {
    const Line line = Line1(index);
    HBRUSH brush = CreateSolidBrush(line.color);
    if (brush == nullptr) continue;
    FillRect(dc, &line.rect, brush);
    DeleteObject(brush);
  }
}

HWND frmAbout::Owner() const { return TheShell().HiddenOwner(); }

POINT frmAbout::FirstPosition(SIZE size) const {
  // Centred over the effects list window when it is on screen, else on the screen.
  const frmZorvinEfx* effects = TheShell().EffectsSlot();
  RECT over{};
  if (effects == nullptr || !effects->IsVisible() || !GetWindowRect(effects->Handle(), &over)) {
    return Window::FirstPosition(size);
  }
  MONITORINFO monitor{};
  monitor.cbSize = sizeof(monitor);
  POINT at = CenteredOn(over, size);
  if (GetMonitorInfoW(MonitorFromRect(&over, MONITOR_DEFAULTTONEAREST), &monitor)) {
    const RECT& work = monitor.rcWork;
    at.x = std::clamp<LONG>(at.x, work.left, std::max<LONG>(work.left, work.right - size.cx));
    at.y = std::clamp<LONG>(at.y, work.top, std::max<LONG>(work.top, work.bottom - size.cy));
  }
  return at;
}

}  // namespace zorvin::ui

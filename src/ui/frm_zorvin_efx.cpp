#include "ui/frm_zorvin_efx.h"

#include <optional>

#include "effects/effects_catalog.h"
#include "ui/ids.h"
#include "ui/shell.h"
#include "ui/text.h"
#include "ui/ui_error.h"

namespace zorvin::ui {
namespace {

constexpr MenuDesign kSettingsItems[] = {
    {L"Worldspawn Settings", kCmdWorldspawnSettings, {}},
    {L"&Exit", kCmdExit, {}},
};

constexpr MenuDesign kMenu[] = {
    {L"&Settings", 0, kSettingsItems},
    {L"&About", kCmdAbout, {}},
};

// The list and text box sizes after loading.
constexpr int kListSize = 2655;

// clang-format off
constexpr ControlDesign kControls[] = {
    {L"Label1", ControlKind::Label, frmZorvinEfx::kIdLabel1, L"Effects Category:", SS_LEFT, 0, {240, 0, 2295, 255}},
    {L"List1", ControlKind::ListBox, frmZorvinEfx::kIdList1, L"",
     LBS_SORT | LBS_NOTIFY | LBS_NOINTEGRALHEIGHT | WS_VSCROLL | WS_TABSTOP, WS_EX_CLIENTEDGE, {240, 240, 2295, 2595}},
    {L"Label2", ControlKind::Label, frmZorvinEfx::kIdLabel2, L"Effects Listing:", SS_LEFT, 0, {3120, 0, 3255, 255}},
    {L"Text1", ControlKind::Edit, frmZorvinEfx::kIdText1, L"Text1",
     ES_MULTILINE | ES_WANTRETURN | ES_AUTOVSCROLL | WS_VSCROLL | WS_TABSTOP, WS_EX_CLIENTEDGE,
     {3120, 240, 3255, 2655}},
};
// clang-format on

constexpr WindowDesign kDesign{
    L"frmZorvinEfx",
    L"Ostrel Zorvin Effects List",
    WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_CLIPCHILDREN,
    WS_EX_TOOLWINDOW,
    6570,
    3120,
    kBlackBackground,
    0,
    kMenu,
    kControls,
};

}  // namespace

frmZorvinEfx::frmZorvinEfx(Shell& shell) : Window(shell, kDesign) {}

void frmZorvinEfx::OnLoad() {
  List1().SetCurrentText(L"");
  Text1().SetText(L"");
  const ListBox list = List1();
  for (std::string_view name : EffectCategoryNames()) list.Append(Widen(name));
  SetControlWidth(kList1, kListSize);
  SetControlHeight(kList1, kListSize);
}

void frmZorvinEfx::OnCommand(int id, int code) {
  if (id == kIdList1 && code == LBN_SELCHANGE) {
    List1Click();
  } else if (code == 0 && id == kCmdWorldspawnSettings) {
    TheShell().WorldspawnSettingsChosen();
  } else if (code == 0 && id == kCmdExit) {
    TheShell().ExitChosen();
  } else if (code == 0 && id == kCmdAbout) {
    TheShell().AboutChosen();
  }
}

void frmZorvinEfx::List1Click() {
  std::optional<std::wstring> category;
  try {
    category = List1().CurrentText();
  } catch (const UiError&) {
    // Passed over: with no category read, no listing is found below.
  }
  const std::optional<std::string> listing = category ? FindEffectsListing(ToUtf8(*category)) : std::nullopt;
  if (!listing) return;
  try {
    Text1().SetText(Widen(*listing));
  } catch (const UiError&) {
    // Passed over: the text box keeps what it had.
  }
}

HBRUSH frmZorvinEfx::OnColorStatic(HDC dc, HWND) {
  SetTextColor(dc, RGB(255, 0, 0));
  SetBkColor(dc, RGB(0, 0, 0));
  return static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH));
}

}  // namespace zorvin::ui

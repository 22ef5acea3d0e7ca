#include "ui/settings_window.h"

#include <string>
#include <vector>

#include "settings/level_catalog.h"
#include "ui/ids.h"
#include "ui/palette.h"
#include "ui/shell.h"
#include "win32/dpi.h"
#include "win32/error.h"
#include "win32/picture.h"
#include "win32/text.h"

namespace zorvin::ui {
namespace {

using win32::ControlDesign;
using win32::ControlKind;
using win32::MenuDesign;
using win32::WindowDesign;

constexpr MenuDesign kMenu[] = {
    {.caption = L"&Effects List", .command = kCmdEffectsList},
};

// Labels come before the control they name, so that screen readers name it by them.
constexpr ControlDesign kControls[] = {
    {.role = SettingsWindow::kShowSettingsButton,
     .name = L"Command1",
     .kind = ControlKind::Button,
     .text = L"MP/SPSettings",
     .style = BS_PUSHBUTTON | WS_TABSTOP,
     .rect = {1800, 120, 1335, 375}},
    // The text field scrolls: the longer level names are wider than it.
    {.role = SettingsWindow::kLevelCombo,
     .name = L"Combo1",
     .kind = ControlKind::ComboBox,
     .text = L"MP/SP_LEVELS",
     .style = CBS_DROPDOWN | CBS_AUTOHSCROLL | WS_VSCROLL | WS_TABSTOP,
     .rect = {120, 120, 1455, 315}},
    {.role = SettingsWindow::kDisplayCaption,
     .name = L"Label3",
     .kind = ControlKind::Label,
     .text = L"Display Settings:",
     .style = SS_LEFT,
     .rect = {120, 480, 1455, 255},
     .textColor = kLabelRed},
    // The form's own texts for Text1 and Label1 ("Copy Window", "Freezed
    // Window") were cleared by its load before anyone saw them: both are made empty.
    {.role = SettingsWindow::kBlockText,
     .name = L"Text1",
     .kind = ControlKind::Edit,
     .style = ES_MULTILINE | ES_WANTRETURN | ES_AUTOVSCROLL | WS_TABSTOP,
     .exStyle = WS_EX_CLIENTEDGE,
     .rect = {120, 720, 3255, 2895}},
    // It lies wholly under the text box and is never seen.
    {.role = SettingsWindow::kBlockStore,
     .name = L"Label1",
     .kind = ControlKind::Label,
     .style = SS_LEFT | SS_NOPREFIX,
     .rect = {1080, 3000, 1185, 615},
     .textColor = kLabelRed},
};
static_assert(win32::RowsFollowRoles(kControls, SettingsWindow::kControlCount));

constexpr WindowDesign kDesign{
    .name = L"Form1",
    .caption = L"Zorvin WorldSpawn Settings",
    .style = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_CLIPCHILDREN,
    .exStyle = WS_EX_TOOLWINDOW,
    .clientWidth = 3495,
    .clientHeight = 3750,
    .background = COLOR_WINDOWTEXT,
    .iconId = kIconApp,
    .menu = kMenu,
    .controls = kControls,
};
static_assert(win32::CommandsClearOfControls(kMenu));

// Room beside an item's text in the open list of the combo box, each side, in
// pixels at 96 DPI: the list's margin and its one-pixel border. The margin
// leaves room for glyphs painted a pixel or two past their measured width.
constexpr int kListItemMargin = 4;
constexpr int kListBorder = 1;

}  // namespace

SettingsWindow::SettingsWindow(Shell& shell) : Window(shell, kDesign), shell_(shell) {}

win32::Button SettingsWindow::ShowSettingsButton() const {
  return ControlAt<kControls, kShowSettingsButton>();
}
win32::ComboBox SettingsWindow::LevelCombo() const { return ControlAt<kControls, kLevelCombo>(); }
win32::Label SettingsWindow::DisplayCaption() const { return ControlAt<kControls, kDisplayCaption>(); }
win32::Edit SettingsWindow::BlockText() const { return ControlAt<kControls, kBlockText>(); }
win32::Label SettingsWindow::BlockStore() const { return ControlAt<kControls, kBlockStore>(); }

void SettingsWindow::OnControl(std::size_t index, int code) {
  if (index == kLevelCombo && code == CBN_DROPDOWN) {
    LevelListOpening();
  } else if (index == kShowSettingsButton && code == BN_CLICKED) {
    ShowSettingsPressed();
  }
}

void SettingsWindow::OnCommand(int command) {
  if (command == kCmdEffectsList) shell_.EffectsListChosen();
}

void SettingsWindow::LevelListOpening() {
  const win32::ComboBox combo = LevelCombo();
  combo.Clear();
  std::vector<std::wstring> items;
  for (std::string_view item : LevelListItems()) {
    items.push_back(win32::Widen(item));
    combo.Append(items.back());
  }
  // The open list is as wide as its widest item needs, the combo box keeps its
  // width. The platform sizes the list after this notification, from the width
  // set here: the item text, a margin and the list's border either side, and
  // the scroll bar (the 42 items are more than the list shows at once).
  const int margins = 2 * win32::ScalePixels(kListItemMargin + kListBorder, Dpi());
  combo.SetDroppedWidth(combo.WidestText(items) + margins + win32::ScrollBarWidth(Dpi()));
}

void SettingsWindow::ShowSettingsPressed() {
  const LevelEntry* entry = FindLevel(win32::ToUtf8(LevelCombo().Text()));
  if (entry == nullptr) return;
  if (!record_) record_.emplace();
  FillRecord(*record_, *entry);
  const std::string block = RenderBlock(*record_, entry->Layout());
  // The block goes to the store first; the text box shows what the store holds.
  BlockStore().SetCaption(win32::Widen(block));
  BlockText().SetText(BlockStore().Caption());
}

void SettingsWindow::OnPaint(HDC dc) {
  // Loaded when first drawn, then kept for every later load of the window.
  if (!background_.bitmap) {
    background_ = win32::LoadBitmapResource(shell_.Instance(), kPictureSettingsBackground,
                                            L"load the background picture");
  }
  const std::wstring operation = Operation(L"draw the background picture");
  const win32::MemoryDc source(dc, background_.bitmap.Get(), operation);
  // The picture's own size is its size at 96 DPI.
  const int width = win32::ScalePixels(background_.width, Dpi());
  const int height = win32::ScalePixels(background_.height, Dpi());
  if (width == background_.width && height == background_.height) {
    win32::Check(BitBlt(dc, 0, 0, width, height, source.Get(), 0, 0, SRCCOPY), operation);
  } else {
    win32::Check(
        SetStretchBltMode(dc, HALFTONE) != 0 && StretchBlt(dc, 0, 0, width, height, source.Get(), 0, 0,
                                                           background_.width, background_.height, SRCCOPY),
        operation);
  }
}

}  // namespace zorvin::ui

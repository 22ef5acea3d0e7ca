#include "ui/effects_window.h"

#include <optional>

#include "effects/effects_catalog.h"
#include "ui/ids.h"
#include "ui/palette.h"
#include "ui/shell.h"
#include "win32/error.h"
#include "win32/text.h"

namespace zorvin::ui {
namespace {

using win32::ControlDesign;
using win32::ControlKind;
using win32::MenuDesign;
using win32::WindowDesign;

constexpr MenuDesign kSettingsItems[] = {
    {.caption = L"Worldspawn Settings", .command = kCmdWorldspawnSettings},
    {.caption = L"&Exit", .command = kCmdExit},
};

constexpr MenuDesign kMenu[] = {
    {.caption = L"&Settings", .items = kSettingsItems},
    {.caption = L"&About", .command = kCmdAbout},
};

// The list's width and height once loaded: it reaches down to the text box's bottom edge.
constexpr int kListSize = 2655;

constexpr ControlDesign kControls[] = {
    {.role = EffectsWindow::kCategoryCaption,
     .name = L"Label1",
     .kind = ControlKind::Label,
     .text = L"Effects Category:",
     .style = SS_LEFT,
     .rect = {240, 0, 2295, 255},
     .textColor = kLabelRed},
    {.role = EffectsWindow::kCategoryList,
     .name = L"List1",
     .kind = ControlKind::ListBox,
     .text = L"",
     .style = LBS_SORT | LBS_NOTIFY | LBS_NOINTEGRALHEIGHT | WS_VSCROLL | WS_TABSTOP,
     .exStyle = WS_EX_CLIENTEDGE,
     .rect = {240, 240, 2295, 2595}},
    {.role = EffectsWindow::kListingCaption,
     .name = L"Label2",
     .kind = ControlKind::Label,
     .text = L"Effects Listing:",
     .style = SS_LEFT,
     .rect = {3120, 0, 3255, 255},
     .textColor = kLabelRed},
    // The form's own text ("Text1") was cleared by its load before anyone saw it: made empty.
    {.role = EffectsWindow::kListingText,
     .name = L"Text1",
     .kind = ControlKind::Edit,
     .style = ES_MULTILINE | ES_WANTRETURN | ES_AUTOVSCROLL | WS_VSCROLL | WS_TABSTOP,
     .exStyle = WS_EX_CLIENTEDGE,
     .rect = {3120, 240, 3255, 2655}},
};
static_assert(win32::RowsFollowRoles(kControls, EffectsWindow::kControlCount));

constexpr WindowDesign kDesign{
    .name = L"frmZorvinEfx",
    .caption = L"Ostrel Zorvin Effects List",
    .style = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_CLIPCHILDREN,
    .exStyle = WS_EX_TOOLWINDOW,
    .clientWidth = 6570,
    .clientHeight = 3120,
    .background = win32::kBlackBackground,
    .menu = kMenu,
    .controls = kControls,
};
static_assert(win32::CommandsClearOfControls(kMenu));

// Runs a step of a handler that passes failures over.
template <typename Step>
void PassingOver(Step step) noexcept {
  try {
    step();
  } catch (...) {
    // Passed over: the handling goes on with the next step.
  }
}

}  // namespace

EffectsWindow::EffectsWindow(Shell& shell) : Window(shell, kDesign), shell_(shell) {}

win32::Label EffectsWindow::CategoryCaption() const { return ControlAt<kControls, kCategoryCaption>(); }
win32::ListBox EffectsWindow::CategoryList() const { return ControlAt<kControls, kCategoryList>(); }
win32::Label EffectsWindow::ListingCaption() const { return ControlAt<kControls, kListingCaption>(); }
win32::Edit EffectsWindow::ListingText() const { return ControlAt<kControls, kListingText>(); }

void EffectsWindow::OnLoad() {
  const win32::ListBox list = CategoryList();
  for (std::string_view name : EffectCategoryNames()) list.Append(win32::Widen(name));
  SetControlWidth(kCategoryList, kListSize);
  SetControlHeight(kCategoryList, kListSize);
}

void EffectsWindow::OnControl(std::size_t index, int code) {
  if (index == kCategoryList && code == LBN_SELCHANGE) CategorySelected();
}

void EffectsWindow::OnCommand(int command) {
  if (command == kCmdWorldspawnSettings) {
    shell_.WorldspawnSettingsChosen();
  } else if (command == kCmdExit) {
    shell_.ExitChosen();
  } else if (command == kCmdAbout) {
    shell_.AboutChosen();
  }
}

void EffectsWindow::CategorySelected() noexcept {
  // With no category read, no listing is found; with none found, the text stays.
  std::optional<std::string> listing;
  PassingOver([&] { listing = FindEffectsListing(win32::ToUtf8(CategoryList().CurrentText())); });
  if (listing) PassingOver([&] { ListingText().SetText(win32::Widen(*listing)); });
}

}  // namespace zorvin::ui

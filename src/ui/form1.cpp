#include "ui/form1.h"

#include <string>
#include <vector>

#include "settings/level_catalog.h"
#include "ui/dpi.h"
#include "ui/ids.h"
#include "ui/picture.h"
#include "ui/shell.h"
#include "ui/text.h"

namespace zorvin::ui {
namespace {

constexpr MenuDesign kMenu[] = {
    {L"&Effects List", kCmdEffectsList, {}},
};

// Labels come before the control they name, so that screen readers name it by them.
// The combo box scrolls its text field: the longer level names are wider than it.
// clang-format off
constexpr ControlDesign kControls[] = {
    {L"Command1", ControlKind::Button, Form1::kIdCommand1, L"MP/SPSettings", BS_PUSHBUTTON | WS_TABSTOP, 0,
     {1800, 120, 1335, 375}},
    {L"Combo1", ControlKind::ComboBox, Form1::kIdCombo1, L"MP/SP_LEVELS",
     CBS_DROPDOWN | CBS_AUTOHSCROLL | WS_VSCROLL | WS_TABSTOP, 0, {120, 120, 1455, 315}},
    {L"Label3", ControlKind::Label, Form1::kIdLabel3, L"Display Settings:", SS_LEFT, 0, {120, 480, 1455, 255}},
    {L"Text1", ControlKind::Edit, Form1::kIdText1, L"Copy Window\r\n",
     ES_MULTILINE | ES_WANTRETURN | ES_AUTOVSCROLL | WS_TABSTOP, WS_EX_CLIENTEDGE, {120, 720, 3255, 2895}},
    // The store of the last block: it lies wholly under Text1 and is never seen.
    {L"Label1", ControlKind::Label, Form1::kIdLabel1, L"Freezed Window", SS_LEFT | SS_NOPREFIX, 0,
     {1080, 3000, 1185, 615}},
};
// clang-format on

constexpr WindowDesign kDesign{
    L"Form1",
    L"Zorvin WorldSpawn Settings",
    WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_CLIPCHILDREN,
    WS_EX_TOOLWINDOW,
    3495,
    3750,
    COLOR_WINDOWTEXT,
    kIconApp,
    kMenu,
    kControls,
};

// Size of the background picture, in pixels at 96 DPI.
constexpr int kPictureWidth = 85;
constexpr int kPictureHeight = 21;

// Room beside an item's text in the open list of the combo box, each side, in
// pixels at 96 DPI: the list's margin and its one-pixel border. The margin
// leaves room for glyphs painted a pixel or two past their measured width.
constexpr int kListItemMargin = 4;
constexpr int kListBorder = 1;

}  // namespace

Form1::Form1(Shell& shell) : Window(shell, kDesign) {}

void Form1::OnLoad() {
  Label1().SetCaption(L"");
  Text1().SetText(L"");
}

void Form1::OnCommand(int id, int code) {
  if (id == kCmdEffectsList && code == 0) {
    TheShell().EffectsListChosen();
  } else if (id == kIdCombo1 && code == CBN_DROPDOWN) {
    Combo1DropDown();
  } else if (id == kIdCommand1 && code == BN_CLICKED) {
    Command1Click();
  }
}

void Form1::Combo1DropDown() {
  const ComboBox combo = Combo1();
  combo.Clear();
  std::vector<std::wstring> items;
  for (std::string_view item : LevelListItems()) {
    items.push_back(Widen(item));
    combo.Append(items.back());
  }
  // The open list is as wide as its widest item needs, the combo box keeps its
  // width. The platform sizes the list after this notification, from the width
  // set here: the item text, a margin and the list's border either side, and
  // the scroll bar (the 42 items are more than the list shows at once).
  const int margins = 2 * ScalePixels(kListItemMargin + kListBorder, Dpi());
  combo.SetDroppedWidth(combo.WidestText(items) + margins + ScrollBarWidth(Dpi()));
}

void Form1::Command1Click() {
  const LevelEntry* entry = FindLevel(ToUtf8(Combo1().Text()));
  if (entry == nullptr) return;
  if (!record_) record_.emplace();
  FillRecord(*record_, *entry);
  const std::string block = RenderBlock(*record_, entry->Layout());
  Label1().SetCaption(Widen(block));
  Text1().SetText(Label1().Caption());
}

HBRUSH Form1::OnColorStatic(HDC dc, HWND) {
  // Both labels: red on the window's own back colour.
  SetTextColor(dc, RGB(255, 0, 0));
  SetBkColor(dc, GetSysColor(COLOR_WINDOWTEXT));
  return GetSysColorBrush(COLOR_WINDOWTEXT);
}

void Form1::OnPaint(HDC dc) {
  // Decoded when first drawn, which takes the codec's start-up off the time
  // until the window appears; then kept for every later load of the window.
  if (!background_.bitmap) background_ = LoadJpegResource(TheShell().Instance(), kPictureForm1Background);
  HDC source = CreateCompatibleDC(dc);
  if (source == nullptr) return;
  HGDIOBJ previous = SelectObject(source, background_.bitmap.Get());
  const int width = ScalePixels(kPictureWidth, Dpi());
  const int height = ScalePixels(kPictureHeight, Dpi());
  if (width == background_.width && height == background_.height) {
    BitBlt(dc, 0, 0, width, height, source, 0, 0, SRCCOPY);
  } else {
    SetStretchBltMode(dc, HALFTONE);
    StretchBlt(dc, 0, 0, width, height, source, 0, 0, background_.width, background_.height, SRCCOPY);
  }
  SelectObject(source, previous);
  DeleteDC(source);
}

}  // namespace zorvin::ui

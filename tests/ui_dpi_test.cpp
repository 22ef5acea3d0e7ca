// The windows at 100, 125, 150 and 200 percent: every size comes from the
// forms' twips, as a table of this file's own lays them out (or, for the
// picture and the separator, their pixels at 96 DPI).
#include <cstdlib>
#include <string>
#include <string_view>

#include "win32/dpi.h"
#include "win32/text.h"
#include "ui_support.h"

namespace zorvin::ui::test {
namespace {

// Twips to pixels, rounding halves up, written out independently of the program's own function.
int Px(int twips, UINT dpi) { return static_cast<int>((static_cast<long long>(twips) * dpi + 720) / 1440); }

// Where each control stands, in twips, worked out from the forms as they were
// laid out: left, top, width and height (-1: the control's own, a growing
// label's width or a combo box's height). The effects list is square once
// loaded, its bottom edge level with the listing's.
struct Place {
  std::wstring_view window, control;
  int left, top, width, height;
};
constexpr Place kPlaces[] = {
    {L"Form1", L"Command1", 1800, 120, 1335, 375},
    {L"Form1", L"Combo1", 120, 120, 1455, -1},
    {L"Form1", L"Label3", 120, 480, 1455, 255},
    {L"Form1", L"Text1", 120, 720, 3255, 2895},
    {L"Form1", L"Label1", 1080, 3000, 1185, 615},
    {L"frmZorvinEfx", L"Label1", 240, 0, 2295, 255},
    {L"frmZorvinEfx", L"List1", 240, 240, 2655, 2655},
    {L"frmZorvinEfx", L"Label2", 3120, 0, 3255, 255},
    {L"frmZorvinEfx", L"Text1", 3120, 240, 3255, 2655},
    {L"frmAbout", L"cmdOK", 4245, 2625, 1260, 345},
    {L"frmAbout", L"Label1", 1200, 600, 3015, 1335},
    {L"frmAbout", L"lblVersion", 120, 2640, -1, 225},
};
// Each window's inside, in twips.
constexpr Place kClients[] = {
    {L"Form1", L"", 0, 0, 3495, 3750}, {L"frmZorvinEfx", L"", 0, 0, 6570, 3120}, {L"frmAbout", L"", 0, 0, 5730, 3240}};

// Every control of the window where the table puts it, at dpi, and no
// control the table leaves out.
void ExpectAsLaidOut(const win32::Window& window, UINT dpi) {
  const win32::WindowDesign& design = window.Design();
  const std::string windowName = ToUtf8(std::wstring(design.name));
  const SIZE client = ClientSize(window.Handle());
  int placed = 0;
  for (const Place& inside : kClients) {
    if (inside.window != design.name) continue;
    EXPECT_EQ(client.cx, Px(inside.width, dpi)) << windowName;
    EXPECT_EQ(client.cy, Px(inside.height, dpi)) << windowName;
  }
  for (std::size_t index = 0; index < design.controls.size(); ++index) {
    const std::wstring_view control = design.controls[index].name;
    const std::string name = windowName + "." + ToUtf8(std::wstring(control));
    const RECT rect = RectInParent(window.ControlHandle(index));
    for (const Place& place : kPlaces) {
      if (place.window != design.name || place.control != control) continue;
      ++placed;
      EXPECT_EQ(rect.left, Px(place.left, dpi)) << name;
      EXPECT_EQ(rect.top, Px(place.top, dpi)) << name;
      if (place.width >= 0) {
        EXPECT_EQ(rect.right - rect.left, Px(place.width, dpi)) << name;
      }
      if (place.height >= 0) {
        EXPECT_EQ(rect.bottom - rect.top, Px(place.height, dpi)) << name;
      }
    }
  }
  EXPECT_EQ(placed, static_cast<int>(design.controls.size())) << windowName << ": a control the table does not place";
}

int FontHeight(HWND control) {
  LOGFONTW font{};
  GetObjectW(reinterpret_cast<HFONT>(SendMessageW(control, WM_GETFONT, 0, 0)), sizeof(font), &font);
  return std::abs(font.lfHeight);
}

void ExpectAllScaled(UiTest& t, UINT dpi) {
  ASSERT_EQ(t.Settings().Dpi(), dpi);
  for (const win32::Window* window : {static_cast<win32::Window*>(&t.Settings()),
                                      static_cast<win32::Window*>(&t.Effects()),
                                      static_cast<win32::Window*>(&t.About())}) {
    ExpectAsLaidOut(*window, dpi);
  }
  // The separator: pixel widths 1 and 2 at 96 DPI.
  const RECT grey = t.About().SeparatorLine(AboutWindow::Separator::Grey).rect;
  const RECT white = t.About().SeparatorLine(AboutWindow::Separator::White).rect;
  EXPECT_EQ(grey.top, Px(2445, dpi));
  EXPECT_EQ(grey.bottom - grey.top, Px(15, dpi));
  EXPECT_EQ(white.top, Px(2460, dpi));
  EXPECT_EQ(white.bottom - white.top, Px(30, dpi));
  EXPECT_EQ(white.right, Px(5654, dpi));
  // The background picture: 85 x 21 pixels at 96 DPI, left of and above the combo box.
  UpdateWindow(t.Settings().Handle());
  HDC dc = GetDC(t.Settings().Handle());
  const COLORREF back = GetSysColor(COLOR_WINDOWTEXT);
  EXPECT_NE(GetPixel(dc, 2, Px(21 * 15, dpi) - 2), back);
  EXPECT_EQ(GetPixel(dc, 2, Px(21 * 15, dpi) + 1), back);
  ReleaseDC(t.Settings().Handle(), dc);
}

using DpiLayout = UiTest;

// Run by the DpiScaling tests, each in a Wine session of its own at its DPI.
TEST_F(DpiLayout, EveryWindowScalesFromItsDesign) {
  const UINT dpi = TestDpi();
  if (dpi == 0) GTEST_SKIP() << "run by DpiScaling at each DPI";
  Start();
  Menu(Settings().Handle(), kCmdEffectsList);
  Menu(Effects().Handle(), kCmdWorldspawnSettings);
  Menu(Effects().Handle(), kCmdAbout);
  ASSERT_NO_FATAL_FAILURE(AssertSessionAtDpi({Settings().Handle(), Effects().Handle(), About().Handle()}, dpi));
  ExpectAllScaled(*this, dpi);
}

using DpiChange = UiTest;

TEST_F(DpiChange, WindowMovedToAnotherScreenLaysItselfOutAgainKeepingItsContents) {
  Start();
  SetComboText(L"sp_rhine");
  LookUp();
  const std::wstring block = Settings().BlockText().Text();
  const int fontBefore = FontHeight(Settings().BlockText().Handle());
  for (UINT dpi : {144u, 192u, 96u}) {
    SCOPED_TRACE(dpi);
    RECT suggested{100, 80, 100 + Px(3495, dpi), 80 + Px(3750, dpi)};
    SendMessageW(Settings().Handle(), WM_DPICHANGED, MAKEWPARAM(dpi, dpi), reinterpret_cast<LPARAM>(&suggested));
    Pump();
    EXPECT_EQ(Settings().Dpi(), dpi);
    ExpectAsLaidOut(Settings(), dpi);
    RECT frame{};
    GetWindowRect(Settings().Handle(), &frame);
    EXPECT_EQ(frame.left, 100);
    EXPECT_EQ(frame.top, 80);
    EXPECT_EQ(FontHeight(Settings().BlockText().Handle()), MulDiv(8, static_cast<int>(dpi), 72)) << "8 points";
    EXPECT_EQ(Settings().BlockText().Text(), block);
    EXPECT_EQ(Settings().LevelCombo().Text(), L"sp_rhine");
  }
  EXPECT_EQ(FontHeight(Settings().BlockText().Handle()), fontBefore);
  // The effects list keeps its load-time size through a change too.
  Menu(Settings().Handle(), kCmdEffectsList);
  RECT suggested{0, 0, 10, 10};
  SendMessageW(Effects().Handle(), WM_DPICHANGED, MAKEWPARAM(192, 192), reinterpret_cast<LPARAM>(&suggested));
  Pump();
  ExpectAsLaidOut(Effects(), 192);
  EXPECT_EQ(Effects().CategoryList().Count(), 66);
  EXPECT_TRUE(errors_.empty());
}

}  // namespace
}  // namespace zorvin::ui::test

// The windows at 100, 125, 150 and 200 percent: every size comes from the
// design's twips (or, for the picture and the separator, its pixels at 96 DPI).
#include <cstdlib>
#include <string>

#include "win32/dpi.h"
#include "win32/text.h"
#include "ui_support.h"

namespace zorvin::ui::test {
namespace {

// Twips to pixels, rounding halves up, written out independently of the program's own function.
int Px(int twips, UINT dpi) { return static_cast<int>((static_cast<long long>(twips) * dpi + 720) / 1440); }

// The sizes a window gives a control at load in place of its design's, in
// twips: the effects window's list is square.
struct LoadSize {
  std::wstring_view window, control;
  int width, height;
};
constexpr LoadSize kLoadSizes[] = {{L"frmZorvinEfx", L"List1", 2655, 2655}};

// Every control of the window where its design row puts it, at dpi (a combo
// box's height is its own, a growing label's width its text's).
void ExpectAsDesigned(const win32::Window& window, UINT dpi) {
  const win32::WindowDesign& design = window.Design();
  const SIZE client = ClientSize(window.Handle());
  EXPECT_EQ(client.cx, Px(design.clientWidth, dpi)) << ToUtf8(std::wstring(design.name));
  EXPECT_EQ(client.cy, Px(design.clientHeight, dpi)) << ToUtf8(std::wstring(design.name));
  for (std::size_t index = 0; index < design.controls.size(); ++index) {
    const win32::ControlDesign& row = design.controls[index];
    const std::string name = ToUtf8(std::wstring(design.name) + L"." + std::wstring(row.name));
    const RECT rect = RectInParent(window.ControlHandle(index));
    win32::TwipRect twips = row.rect;
    for (const LoadSize& size : kLoadSizes) {
      if (size.window == design.name && size.control == row.name) {
        twips.width = size.width;
        twips.height = size.height;
      }
    }
    EXPECT_EQ(rect.left, Px(row.rect.left, dpi)) << name;
    EXPECT_EQ(rect.top, Px(row.rect.top, dpi)) << name;
    if (!row.growToFit) {
      EXPECT_EQ(rect.right - rect.left, Px(twips.width, dpi)) << name;
    }
    if (row.kind != win32::ControlKind::ComboBox) {
      EXPECT_EQ(rect.bottom - rect.top, Px(twips.height, dpi)) << name;
    }
  }
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
    ExpectAsDesigned(*window, dpi);
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
    ExpectAsDesigned(Settings(), dpi);
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
  ExpectAsDesigned(Effects(), 192);
  EXPECT_EQ(Effects().CategoryList().Count(), 66);
  EXPECT_TRUE(errors_.empty());
}

}  // namespace
}  // namespace zorvin::ui::test

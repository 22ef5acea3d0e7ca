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

struct Expected {
  const char* name;
  HWND (*control)(UiTest&);
  int left, top, width, height;  // twips; height 0: not checked (a combo box's own)
};

void ExpectGeometry(UiTest& t, const Expected& e, UINT dpi) {
  const RECT rect = RectInParent(e.control(t));
  EXPECT_EQ(rect.left, Px(e.left, dpi)) << e.name;
  EXPECT_EQ(rect.top, Px(e.top, dpi)) << e.name;
  EXPECT_EQ(rect.right - rect.left, Px(e.width, dpi)) << e.name;
  if (e.height != 0) {
    EXPECT_EQ(rect.bottom - rect.top, Px(e.height, dpi)) << e.name;
  }
}

void ExpectClient(HWND window, int width, int height, UINT dpi) {
  const SIZE client = ClientSize(window);
  EXPECT_EQ(client.cx, Px(width, dpi));
  EXPECT_EQ(client.cy, Px(height, dpi));
}

const Expected kForm1[] = {
    {"Command1", [](UiTest& t) { return t.F().ShowSettingsButton().Handle(); }, 1800, 120, 1335, 375},
    {"Combo1", [](UiTest& t) { return t.F().LevelCombo().Handle(); }, 120, 120, 1455, 0},
    {"Label3", [](UiTest& t) { return t.F().DisplayCaption().Handle(); }, 120, 480, 1455, 255},
    {"Text1", [](UiTest& t) { return t.F().BlockText().Handle(); }, 120, 720, 3255, 2895},
    {"Label1", [](UiTest& t) { return t.F().BlockStore().Handle(); }, 1080, 3000, 1185, 615},
};
const Expected kEffects[] = {
    {"Label1", [](UiTest& t) { return t.E().CategoryCaption().Handle(); }, 240, 0, 2295, 255},
    {"List1", [](UiTest& t) { return t.E().CategoryList().Handle(); }, 240, 240, 2655, 2655},
    {"Label2", [](UiTest& t) { return t.E().ListingCaption().Handle(); }, 3120, 0, 3255, 255},
    {"Text1", [](UiTest& t) { return t.E().ListingText().Handle(); }, 3120, 240, 3255, 2655},
};
const Expected kAbout[] = {
    {"cmdOK", [](UiTest& t) { return t.A().OkButton().Handle(); }, 4245, 2625, 1260, 345},
    {"Label1", [](UiTest& t) { return t.A().CreditLabel().Handle(); }, 1200, 600, 3015, 1335},
};

int FontHeight(HWND control) {
  LOGFONTW font{};
  GetObjectW(reinterpret_cast<HFONT>(SendMessageW(control, WM_GETFONT, 0, 0)), sizeof(font), &font);
  return std::abs(font.lfHeight);
}

void ExpectAllScaled(UiTest& t, UINT dpi) {
  ASSERT_EQ(t.F().Dpi(), dpi);
  ExpectClient(t.F().Handle(), 3495, 3750, dpi);
  for (const Expected& e : kForm1) ExpectGeometry(t, e, dpi);
  ExpectClient(t.E().Handle(), 6570, 3120, dpi);
  for (const Expected& e : kEffects) ExpectGeometry(t, e, dpi);
  ExpectClient(t.A().Handle(), 5730, 3240, dpi);
  for (const Expected& e : kAbout) ExpectGeometry(t, e, dpi);
  // The separator: pixel widths 1 and 2 at 96 DPI.
  const RECT grey = t.A().SeparatorLine(1).rect;
  const RECT white = t.A().SeparatorLine(0).rect;
  EXPECT_EQ(grey.top, Px(2445, dpi));
  EXPECT_EQ(grey.bottom - grey.top, Px(15, dpi));
  EXPECT_EQ(white.top, Px(2460, dpi));
  EXPECT_EQ(white.bottom - white.top, Px(30, dpi));
  EXPECT_EQ(white.right, Px(5654, dpi));
  // The background picture: 85 x 21 pixels at 96 DPI, left of and above the combo box.
  UpdateWindow(t.F().Handle());
  HDC dc = GetDC(t.F().Handle());
  const COLORREF back = GetSysColor(COLOR_WINDOWTEXT);
  EXPECT_NE(GetPixel(dc, 2, Px(21 * 15, dpi) - 2), back);
  EXPECT_EQ(GetPixel(dc, 2, Px(21 * 15, dpi) + 1), back);
  ReleaseDC(t.F().Handle(), dc);
}

using DpiLayout = UiTest;

// Run by the DpiScaling tests, each in a Wine session of its own at its DPI.
TEST_F(DpiLayout, EveryWindowScalesFromItsDesign) {
  const UINT dpi = TestDpi();
  if (dpi == 0) GTEST_SKIP() << "run by DpiScaling at each DPI";
  Start();
  Menu(F().Handle(), kCmdEffectsList);
  Menu(E().Handle(), kCmdWorldspawnSettings);
  Menu(E().Handle(), kCmdAbout);
  ASSERT_NO_FATAL_FAILURE(AssertSessionAtDpi({F().Handle(), E().Handle(), A().Handle()}, dpi));
  ExpectAllScaled(*this, dpi);
}

using DpiChange = UiTest;

TEST_F(DpiChange, WindowMovedToAnotherScreenLaysItselfOutAgainKeepingItsContents) {
  Start();
  SetComboText(L"sp_rhine");
  LookUp();
  const std::wstring block = F().BlockText().Text();
  const int fontBefore = FontHeight(F().BlockText().Handle());
  for (UINT dpi : {144u, 192u, 96u}) {
    SCOPED_TRACE(dpi);
    RECT suggested{100, 80, 100 + Px(3495, dpi), 80 + Px(3750, dpi)};
    SendMessageW(F().Handle(), WM_DPICHANGED, MAKEWPARAM(dpi, dpi), reinterpret_cast<LPARAM>(&suggested));
    Pump();
    EXPECT_EQ(F().Dpi(), dpi);
    ExpectClient(F().Handle(), 3495, 3750, dpi);
    for (const Expected& e : kForm1) ExpectGeometry(*this, e, dpi);
    RECT frame{};
    GetWindowRect(F().Handle(), &frame);
    EXPECT_EQ(frame.left, 100);
    EXPECT_EQ(frame.top, 80);
    EXPECT_EQ(FontHeight(F().BlockText().Handle()), MulDiv(8, static_cast<int>(dpi), 72)) << "8 points";
    EXPECT_EQ(F().BlockText().Text(), block);
    EXPECT_EQ(F().LevelCombo().Text(), L"sp_rhine");
  }
  EXPECT_EQ(FontHeight(F().BlockText().Handle()), fontBefore);
  // The effects list keeps its load-time size through a change too.
  Menu(F().Handle(), kCmdEffectsList);
  RECT suggested{0, 0, 10, 10};
  SendMessageW(E().Handle(), WM_DPICHANGED, MAKEWPARAM(192, 192), reinterpret_cast<LPARAM>(&suggested));
  Pump();
  for (const Expected& e : kEffects) ExpectGeometry(*this, e, 192);
  EXPECT_EQ(E().CategoryList().Count(), 66);
  EXPECT_TRUE(errors_.empty());
}

}  // namespace
}  // namespace zorvin::ui::test

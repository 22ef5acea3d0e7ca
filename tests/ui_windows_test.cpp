// The three windows: their designs, load steps and handlers.
#include <string>

#include "effects/effects_catalog.h"
#include "settings/level_catalog.h"
#include "win32/dpi.h"
#include "win32/text.h"
#include "ui_support.h"

namespace zorvin::ui::test {
namespace {

using SettingsWindowTest = UiTest;

TEST_F(SettingsWindowTest, AfterStartOnlyForm1IsUpWithEmptyTextAndDesignCombo) {
  Start();
  ASSERT_NE(TheShell().SettingsSlot(), nullptr);
  EXPECT_TRUE(Settings().IsVisible());
  EXPECT_EQ(TheShell().EffectsSlot(), nullptr);
  EXPECT_EQ(TheShell().AboutSlot(), nullptr);
  EXPECT_EQ(TextOf(Settings().Handle()), L"Zorvin WorldSpawn Settings");
  EXPECT_EQ(Settings().BlockText().Text(), L"");
  EXPECT_EQ(Settings().BlockStore().Caption(), L"");
  EXPECT_EQ(Settings().LevelCombo().Text(), L"MP/SP_LEVELS");
  EXPECT_EQ(Settings().LevelCombo().Count(), 0);
  EXPECT_EQ(Settings().DisplayCaption().Caption(), L"Display Settings:");
  EXPECT_EQ(Settings().ShowSettingsButton().Text(), L"MP/SPSettings");
  EXPECT_TRUE(HasFocus(Settings().ShowSettingsButton().Handle()));
  // Pressing the button with the design text changes nothing.
  LookUp();
  EXPECT_EQ(Settings().BlockText().Text(), L"");
  EXPECT_FALSE(Settings().Record().has_value());
  EXPECT_TRUE(errors_.empty());
}

// Where each control lies at each DPI is DpiScaling's; these are the window's frame and the hidden store.
TEST_F(SettingsWindowTest, FrameAndHiddenStore) {
  Start();
  // Label1 lies wholly under Text1 and below it in the drawing order.
  const RECT text = RectInParent(Settings().BlockText().Handle());
  const RECT label = RectInParent(Settings().BlockStore().Handle());
  EXPECT_TRUE(label.left >= text.left && label.right <= text.right && label.top >= text.top &&
              label.bottom <= text.bottom);
  EXPECT_EQ(GetWindow(Settings().BlockText().Handle(), GW_HWNDLAST), Settings().BlockStore().Handle());
  const LONG_PTR exStyle = GetWindowLongPtrW(Settings().Handle(), GWL_EXSTYLE);
  const LONG_PTR style = GetWindowLongPtrW(Settings().Handle(), GWL_STYLE);
  EXPECT_TRUE(exStyle & WS_EX_TOOLWINDOW);
  EXPECT_FALSE(style & (WS_THICKFRAME | WS_MINIMIZEBOX | WS_MAXIMIZEBOX));
  EXPECT_EQ(GetWindow(Settings().Handle(), GW_OWNER), nullptr);
  EXPECT_NE(GetClassLongPtrW(Settings().Handle(), GCLP_HICON), 0) << "the program's icon";
}

TEST_F(SettingsWindowTest, BackgroundPictureIsDrawnAtTheTopLeftBehindTheControls) {
  Start();
  UpdateWindow(Settings().Handle());
  HDC dc = GetDC(Settings().Handle());
  const COLORREF back = GetSysColor(COLOR_WINDOWTEXT);
  // Right of the combo box (x >= 85) the back colour; its height is DpiLayout's.
  EXPECT_EQ(GetPixel(dc, 110, 4), back);
  // The artwork's pixels as libjpeg decodes background.jpg (djpeg -ppm),
  // where the combo box leaves the picture in view.
  EXPECT_EQ(GetPixel(dc, 0, 0), RGB(106, 0, 0));
  EXPECT_EQ(GetPixel(dc, 3, 4), RGB(104, 0, 0));
  EXPECT_EQ(GetPixel(dc, 6, 10), RGB(243, 87, 2));
  EXPECT_EQ(GetPixel(dc, 7, 20), RGB(160, 0, 0));
  ReleaseDC(Settings().Handle(), dc);
}

TEST_F(SettingsWindowTest, EveryListItemPickedAndLookedUp) {
  Start();
  const auto items = LevelListItems();
  std::wstring shown;
  for (int i = 0; i < 42; ++i) {
    const std::string_view item = items[static_cast<std::size_t>(i)];
    SCOPED_TRACE(std::string(item));
    DropDown();
    PickLevel(i);
    EXPECT_EQ(Settings().LevelCombo().Text(), Widen(item));
    LookUp();
    if (FindLevel(item) != nullptr) shown = BlockOf(item);
    EXPECT_EQ(Settings().BlockText().Text(), shown);
    EXPECT_EQ(Settings().BlockStore().Caption(), shown);
  }
  EXPECT_TRUE(errors_.empty());
}

// Screen readers name a control by the label just before it in the child order.
TEST_F(SettingsWindowTest, EachLabelComesRightBeforeTheControlItNames) {
  Start();
  Menu(Settings().Handle(), kCmdEffectsList);
  const std::pair<HWND, HWND> pairs[] = {
      {Settings().DisplayCaption().Handle(), Settings().BlockText().Handle()},
      {Effects().CategoryCaption().Handle(), Effects().CategoryList().Handle()},
      {Effects().ListingCaption().Handle(), Effects().ListingText().Handle()},
  };
  for (const auto& [label, control] : pairs) {
    EXPECT_EQ(GetWindow(control, GW_HWNDPREV), label) << ToUtf8(TextOf(label));
  }
}

using EffectsWindowTest = UiTest;

TEST_F(EffectsWindowTest, FirstShownWithSixtySixCategoriesNoneSelected) {
  Start();
  Menu(Settings().Handle(), kCmdEffectsList);
  ASSERT_TRUE(Effects().IsVisible());
  EXPECT_EQ(TextOf(Effects().Handle()), L"Ostrel Zorvin Effects List");
  const auto& names = EffectCategoryNames();
  ASSERT_EQ(Effects().CategoryList().Count(), 66);
  for (int i = 0; i < 66; ++i)
    EXPECT_EQ(Effects().CategoryList().Item(i), Widen(names[static_cast<std::size_t>(i)])) << i;
  EXPECT_FALSE(Effects().CategoryList().Selection().has_value());
  EXPECT_EQ(Effects().ListingText().Text(), L"");
  EXPECT_EQ(Effects().CategoryCaption().Caption(), L"Effects Category:");
  EXPECT_EQ(Effects().ListingCaption().Caption(), L"Effects Listing:");
  const LONG_PTR list = GetWindowLongPtrW(Effects().CategoryList().Handle(), GWL_STYLE);
  EXPECT_FALSE(list & (LBS_MULTIPLESEL | LBS_EXTENDEDSEL)) << "one category at a time";
}

TEST_F(EffectsWindowTest, SelectionsReplaceTheWholeText) {
  Start();
  Menu(Settings().Handle(), kCmdEffectsList);
  const auto& names = EffectCategoryNames();
  const int picks[] = {1, 42, 41, 0, 65, 42};
  for (int index : picks) {
    const std::string_view name = names[static_cast<std::size_t>(index)];
    SCOPED_TRACE(std::string(name));
    Effects().ListingText().SetText(L"typed by the user");
    SelectCategory(index);
    EXPECT_EQ(Effects().ListingText().Text(), ListingOf(name));
  }
  SelectCategory(1);
  EXPECT_EQ(Effects().ListingText().Text(), L"ammo_supply_exp.efx");
}

TEST_F(EffectsWindowTest, MiscListingScrollsToItsLastLine) {
  Start();
  Menu(Settings().Handle(), kCmdEffectsList);
  SelectCategory(41);
  ASSERT_EQ(Effects().CategoryList().CurrentText(), L"Misc_Effects");
  HWND text = Effects().ListingText().Handle();
  EXPECT_EQ(SendMessageW(text, EM_GETLINECOUNT, 0, 0), 30);
  SendMessageW(text, WM_VSCROLL, SB_BOTTOM, 0);
  Pump();
  const LRESULT first = SendMessageW(text, EM_GETFIRSTVISIBLELINE, 0, 0);
  EXPECT_GT(first, 0);
  // The last line is within the visible part after scrolling down.
  const LRESULT lastStart = SendMessageW(text, EM_LINEINDEX, 29, 0);
  const LRESULT position = SendMessageW(text, EM_POSFROMCHAR, static_cast<WPARAM>(lastStart), 0);
  EXPECT_LT(static_cast<short>(HIWORD(position)), ClientSize(text).cy);
}

using AboutTest = UiTest;

TEST_F(AboutTest, DesignTextsVersionAndSeparator) {
  Start();
  Menu(Settings().Handle(), kCmdEffectsList);
  Menu(Effects().Handle(), kCmdAbout);
  ASSERT_TRUE(About().IsVisible());
  EXPECT_EQ(TextOf(About().Handle()), L"Worldspawn Utility");
  EXPECT_EQ(About().OkButton().Text(), L"OK");
  EXPECT_EQ(About().CreditLabel().Caption(), L"Programmed and designed by Tolvane");
  EXPECT_EQ(About().VersionLabel().Caption(), L"Beta Release 1.0");
  ASSERT_EQ(About().Dpi(), 96u);
  // The version label grows to fit its text (TextFit) but never reaches the OK button.
  EXPECT_LT(RectInParent(About().VersionLabel().Handle()).right, RectInParent(About().OkButton().Handle()).left);
  // The separator as drawn on screen: a grey line above a white one.
  UpdateWindow(About().Handle());
  HDC dc = GetDC(About().Handle());
  EXPECT_EQ(GetPixel(dc, 100, 163), RGB(128, 128, 128));
  EXPECT_EQ(GetPixel(dc, 100, 164), RGB(255, 255, 255));
  EXPECT_EQ(GetPixel(dc, 100, 165), RGB(255, 255, 255));
  ReleaseDC(About().Handle(), dc);
  // Frame: fixed dialog, no icon, no taskbar button, owned by none of the program's windows.
  const LONG_PTR style = GetWindowLongPtrW(About().Handle(), GWL_STYLE);
  EXPECT_TRUE(GetWindowLongPtrW(About().Handle(), GWL_EXSTYLE) & WS_EX_DLGMODALFRAME);
  EXPECT_FALSE(style & (WS_THICKFRAME | WS_MINIMIZEBOX | WS_MAXIMIZEBOX));
  HWND owner = GetWindow(About().Handle(), GW_OWNER);
  EXPECT_NE(owner, nullptr);
  EXPECT_FALSE(IsWindowVisible(owner));
  EXPECT_NE(owner, Effects().Handle());
  EXPECT_NE(owner, Settings().Handle());
}

TEST_F(AboutTest, OpensCentredOverTheEffectsWindowWithFocusOnOk) {
  Start();
  Menu(Settings().Handle(), kCmdEffectsList);
  Menu(Effects().Handle(), kCmdAbout);
  RECT about{}, effects{};
  GetWindowRect(About().Handle(), &about);
  GetWindowRect(Effects().Handle(), &effects);
  EXPECT_NEAR((about.left + about.right) / 2, (effects.left + effects.right) / 2, 1);
  EXPECT_NEAR((about.top + about.bottom) / 2, (effects.top + effects.bottom) / 2, 1);
  // What Enter, Esc and Space then do is KeyboardTest's.
  EXPECT_TRUE(HasFocus(About().OkButton().Handle()));
}

}  // namespace
}  // namespace zorvin::ui::test

// Real key input: focus order, access keys, Enter and Esc.
#include "effects/effects_catalog.h"
#include "win32/text.h"
#include "ui_support.h"

namespace zorvin::ui::test {
namespace {

using KeyboardTest = UiTest;

TEST_F(KeyboardTest, TabFollowsForm1sFocusOrderAndLeavesTheTextBox) {
  Start();
  ASSERT_TRUE(HasFocus(Settings().ShowSettingsButton().Handle()));
  const HWND order[] = {Settings().LevelCombo().Handle(), Settings().BlockText().Handle(),
                        Settings().ShowSettingsButton().Handle()};
  for (HWND next : order) {
    PressKeys({VK_TAB});
    EXPECT_TRUE(PumpUntil([&] { return HasFocus(next); }));
  }
  PressKeys({VK_SHIFT, VK_TAB});
  EXPECT_TRUE(PumpUntil([&] { return HasFocus(Settings().BlockText().Handle()); }));
  PressKeys({VK_SHIFT, VK_TAB});
  EXPECT_TRUE(PumpUntil([&] { return HasFocus(Settings().LevelCombo().Handle()); }));
}

TEST_F(KeyboardTest, EnterAndEscInTheTextBoxEditAndNeverClose) {
  Start();
  SetFocus(Settings().BlockText().Handle());
  TypeText(L"ab");
  PressKeys({VK_RETURN});
  TypeText(L"c");
  PressKeys({VK_ESCAPE});
  EXPECT_TRUE(PumpUntil([&] { return Settings().BlockText().Text() == L"ab\r\nc"; }))
      << ToUtf8(Settings().BlockText().Text());
  ASSERT_TRUE(PumpUntilKeysHandled()) << "Esc reached the window";
  EXPECT_TRUE(Settings().IsVisible());
  EXPECT_EQ(closed_, 0);
  PressKeys({VK_CONTROL, 'A'});
  EXPECT_TRUE(
      PumpUntil([&] { return SendMessageW(Settings().BlockText().Handle(), EM_GETSEL, 0, 0) == MAKELONG(0, 5); }));
}

TEST_F(KeyboardTest, TypedLevelLookedUpFromTheKeyboard) {
  Start();
  PressKeys({VK_TAB});
  ASSERT_TRUE(PumpUntil([&] { return HasFocus(Settings().LevelCombo().Handle()); }));
  PressKeys({VK_CONTROL, 'A'});
  TypeText(L"mp_toujane");
  ASSERT_TRUE(PumpUntil([&] { return Settings().LevelCombo().Text() == L"mp_toujane"; }))
      << ToUtf8(Settings().LevelCombo().Text());
  PressKeys({VK_SHIFT, VK_TAB});
  ASSERT_TRUE(PumpUntil([&] { return HasFocus(Settings().ShowSettingsButton().Handle()); }));
  PressKeys({VK_SPACE});
  EXPECT_TRUE(
      PumpUntil([&] { return Settings().BlockText().Text().find(L"0.813 0.804 0.706") != std::wstring::npos; }));
}

TEST_F(KeyboardTest, DropDownOpensWithF4AndAltDown) {
  Start();
  for (std::initializer_list<WORD> keys : {std::initializer_list<WORD>{VK_F4}, {VK_MENU, VK_DOWN}}) {
    SetFocus(Settings().LevelCombo().Handle());
    SetComboText(L"typed");
    PressKeys(keys);
    EXPECT_TRUE(PumpUntil([&] { return Settings().LevelCombo().Count() == 42; }));
    EXPECT_EQ(Settings().LevelCombo().Text(), L"");
    PressKeys({VK_ESCAPE});
    PumpUntil([&] { return !SendMessageW(Settings().LevelCombo().Handle(), CB_GETDROPPEDSTATE, 0, 0); });
    SendMessageW(Settings().LevelCombo().Handle(), CB_RESETCONTENT, 0, 0);
  }
  EXPECT_TRUE(Settings().IsVisible());
}

TEST_F(KeyboardTest, AccessKeysReachEveryMenuCommand) {
  Start();
  PressKeys({VK_MENU, 'E'});
  ASSERT_TRUE(PumpUntil([&] { return TheShell().EffectsSlot() && Effects().IsVisible() && !Settings().IsVisible(); }));
  PressKeys({VK_MENU, 'A'});
  ASSERT_TRUE(PumpUntil([&] { return TheShell().AboutSlot() && About().IsVisible(); }));
  PressKeys({VK_RETURN});
  ASSERT_TRUE(PumpUntil([&] { return !About().IsVisible(); }));
  // "&Settings", then its first item.
  SetForegroundWindow(Effects().Handle());
  PressKeys({VK_MENU, 'S'});
  PressKeys({VK_RETURN});
  ASSERT_TRUE(PumpUntil([&] { return Settings().IsVisible(); }));
  SetForegroundWindow(Effects().Handle());
  Pump();
  PressKeys({VK_MENU, 'S'});
  PressKeys({'E'});
  EXPECT_TRUE(PumpUntil([&] { return ended_ == 1; }));
}

TEST_F(KeyboardTest, ArrowKeysInTheListUpdateTheListing) {
  Start();
  Menu(Settings().Handle(), kCmdEffectsList);
  ASSERT_TRUE(PumpUntil([&] { return HasFocus(Effects().CategoryList().Handle()); }));
  PressKeys({VK_DOWN});
  EXPECT_TRUE(PumpUntil([&] { return Effects().ListingText().Text() == ListingOf("American_Effects"); }));
  PressKeys({VK_DOWN});
  EXPECT_TRUE(PumpUntil([&] { return Effects().ListingText().Text() == L"ammo_supply_exp.efx"; }));
  PressKeys({VK_END});
  EXPECT_TRUE(PumpUntil([&] { return Effects().ListingText().Text() == L"wine_bottle.efx"; }));
  PressKeys({VK_TAB});
  EXPECT_TRUE(PumpUntil([&] { return HasFocus(Effects().ListingText().Handle()); }));
  PressKeys({VK_TAB});
  EXPECT_TRUE(PumpUntil([&] { return HasFocus(Effects().CategoryList().Handle()); }))
      << "Tab leaves the multi-line text box";
}

TEST_F(KeyboardTest, MouseClickOnACategoryShowsItsListing) {
  Start();
  Menu(Settings().Handle(), kCmdEffectsList);
  HWND list = Effects().CategoryList().Handle();
  for (int index : {3, 1}) {
    RECT item{};
    SendMessageW(list, LB_GETITEMRECT, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&item));
    POINT at{(item.left + item.right) / 2, (item.top + item.bottom) / 2};
    ClientToScreen(list, &at);
    SetCursorPos(at.x, at.y);
    INPUT click[2] = {};
    click[0].type = click[1].type = INPUT_MOUSE;
    click[0].mi.dwFlags = MOUSEEVENTF_LEFTDOWN;
    click[1].mi.dwFlags = MOUSEEVENTF_LEFTUP;
    SendInput(2, click, sizeof(INPUT));
    const std::wstring expected = ListingOf(EffectCategoryNames()[static_cast<std::size_t>(index)]);
    EXPECT_TRUE(PumpUntil([&] { return Effects().ListingText().Text() == expected; })) << index;
  }
}

TEST_F(KeyboardTest, EnterEscAndSpaceInTheAboutWindowPressOk) {
  struct Case {
    const char* key;
    WORD vk;
  };
  const Case cases[] = {{"Enter", VK_RETURN}, {"Esc", VK_ESCAPE}, {"Space", VK_SPACE}};
  Start();
  Menu(Settings().Handle(), kCmdEffectsList);
  for (const Case& c : cases) {
    SCOPED_TRACE(c.key);
    Menu(Effects().Handle(), kCmdAbout);
    ASSERT_TRUE(PumpUntil([&] { return HasFocus(About().OkButton().Handle()); }));
    PressKeys({c.vk});
    EXPECT_TRUE(PumpUntil([&] { return !About().IsVisible(); }));
    EXPECT_TRUE(Effects().IsVisible());
    EXPECT_TRUE(About().IsLoaded());
  }
}

}  // namespace
}  // namespace zorvin::ui::test

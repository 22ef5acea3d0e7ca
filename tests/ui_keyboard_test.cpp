// Real key input: focus order, access keys, Enter and Esc.
#include "effects/effects_catalog.h"
#include "win32/text.h"
#include "ui_support.h"

namespace zorvin::ui::test {
namespace {

using KeyboardTest = UiTest;

TEST_F(KeyboardTest, TabFollowsForm1sFocusOrderAndLeavesTheTextBox) {
  Start();
  ASSERT_TRUE(HasFocus(F().ShowSettingsButton().Handle()));
  const HWND order[] = {F().LevelCombo().Handle(), F().BlockText().Handle(),
                        F().ShowSettingsButton().Handle()};
  for (HWND next : order) {
    PressKeys({VK_TAB});
    EXPECT_TRUE(PumpUntil([&] { return HasFocus(next); }));
  }
  PressKeys({VK_SHIFT, VK_TAB});
  EXPECT_TRUE(PumpUntil([&] { return HasFocus(F().BlockText().Handle()); }));
  PressKeys({VK_SHIFT, VK_TAB});
  EXPECT_TRUE(PumpUntil([&] { return HasFocus(F().LevelCombo().Handle()); }));
}

TEST_F(KeyboardTest, EnterAndEscInTheTextBoxEditAndNeverClose) {
  Start();
  SetFocus(F().BlockText().Handle());
  TypeText(L"ab");
  PressKeys({VK_RETURN});
  TypeText(L"c");
  PressKeys({VK_ESCAPE});
  EXPECT_TRUE(PumpUntil([&] { return F().BlockText().Text() == L"ab\r\nc"; }))
      << ToUtf8(F().BlockText().Text());
  PumpUntil([] { return false; }, 200);
  EXPECT_TRUE(F().IsVisible());
  EXPECT_EQ(closed_, 0);
  PressKeys({VK_CONTROL, 'A'});
  EXPECT_TRUE(
      PumpUntil([&] { return SendMessageW(F().BlockText().Handle(), EM_GETSEL, 0, 0) == MAKELONG(0, 5); }));
}

TEST_F(KeyboardTest, TypedLevelLookedUpFromTheKeyboard) {
  Start();
  PressKeys({VK_TAB});
  ASSERT_TRUE(PumpUntil([&] { return HasFocus(F().LevelCombo().Handle()); }));
  PressKeys({VK_CONTROL, 'A'});
  TypeText(L"mp_toujane");
  ASSERT_TRUE(PumpUntil([&] { return F().LevelCombo().Text() == L"mp_toujane"; }))
      << ToUtf8(F().LevelCombo().Text());
  PressKeys({VK_SHIFT, VK_TAB});
  ASSERT_TRUE(PumpUntil([&] { return HasFocus(F().ShowSettingsButton().Handle()); }));
  PressKeys({VK_SPACE});
  EXPECT_TRUE(
      PumpUntil([&] { return F().BlockText().Text().find(L"0.813 0.804 0.706") != std::wstring::npos; }));
}

TEST_F(KeyboardTest, DropDownOpensWithF4AndAltDown) {
  Start();
  for (std::initializer_list<WORD> keys : {std::initializer_list<WORD>{VK_F4}, {VK_MENU, VK_DOWN}}) {
    SetFocus(F().LevelCombo().Handle());
    SetComboText(L"typed");
    PressKeys(keys);
    EXPECT_TRUE(PumpUntil([&] { return F().LevelCombo().Count() == 42; }));
    EXPECT_EQ(F().LevelCombo().Text(), L"");
    PressKeys({VK_ESCAPE});
    PumpUntil([&] { return !SendMessageW(F().LevelCombo().Handle(), CB_GETDROPPEDSTATE, 0, 0); });
    SendMessageW(F().LevelCombo().Handle(), CB_RESETCONTENT, 0, 0);
  }
  EXPECT_TRUE(F().IsVisible());
}

TEST_F(KeyboardTest, AccessKeysReachEveryMenuCommand) {
  Start();
  PressKeys({VK_MENU, 'E'});
  ASSERT_TRUE(PumpUntil([&] { return TheShell().EffectsSlot() && E().IsVisible() && !F().IsVisible(); }));
  PressKeys({VK_MENU, 'A'});
  ASSERT_TRUE(PumpUntil([&] { return TheShell().AboutSlot() && A().IsVisible(); }));
  PressKeys({VK_RETURN});
  ASSERT_TRUE(PumpUntil([&] { return !A().IsVisible(); }));
  // "&Settings", then its first item.
  SetForegroundWindow(E().Handle());
  PressKeys({VK_MENU, 'S'});
  PressKeys({VK_RETURN});
  ASSERT_TRUE(PumpUntil([&] { return F().IsVisible(); }));
  SetForegroundWindow(E().Handle());
  Pump();
  PressKeys({VK_MENU, 'S'});
  PressKeys({'E'});
  EXPECT_TRUE(PumpUntil([&] { return ended_ == 1; }));
}

TEST_F(KeyboardTest, ArrowKeysInTheListUpdateTheListing) {
  Start();
  Menu(F().Handle(), kCmdEffectsList);
  ASSERT_TRUE(PumpUntil([&] { return HasFocus(E().CategoryList().Handle()); }));
  PressKeys({VK_DOWN});
  EXPECT_TRUE(PumpUntil([&] { return E().ListingText().Text() == ListingOf("American_Effects"); }));
  PressKeys({VK_DOWN});
  EXPECT_TRUE(PumpUntil([&] { return E().ListingText().Text() == L"ammo_supply_exp.efx"; }));
  PressKeys({VK_END});
  EXPECT_TRUE(PumpUntil([&] { return E().ListingText().Text() == L"wine_bottle.efx"; }));
  PressKeys({VK_TAB});
  EXPECT_TRUE(PumpUntil([&] { return HasFocus(E().ListingText().Handle()); }));
  PressKeys({VK_TAB});
  EXPECT_TRUE(PumpUntil([&] { return HasFocus(E().CategoryList().Handle()); }))
      << "Tab leaves the multi-line text box";
}

TEST_F(KeyboardTest, MouseClickOnACategoryShowsItsListing) {
  Start();
  Menu(F().Handle(), kCmdEffectsList);
  HWND list = E().CategoryList().Handle();
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
    EXPECT_TRUE(PumpUntil([&] { return E().ListingText().Text() == expected; })) << index;
  }
}

TEST_F(KeyboardTest, EnterEscAndSpaceInTheAboutWindowPressOk) {
  struct Case {
    const char* key;
    WORD vk;
  };
  const Case cases[] = {{"Enter", VK_RETURN}, {"Esc", VK_ESCAPE}, {"Space", VK_SPACE}};
  Start();
  Menu(F().Handle(), kCmdEffectsList);
  for (const Case& c : cases) {
    SCOPED_TRACE(c.key);
    Menu(E().Handle(), kCmdAbout);
    ASSERT_TRUE(PumpUntil([&] { return HasFocus(A().OkButton().Handle()); }));
    PressKeys({c.vk});
    EXPECT_TRUE(PumpUntil([&] { return !A().IsVisible(); }));
    EXPECT_TRUE(E().IsVisible());
    EXPECT_TRUE(A().IsLoaded());
  }
}

}  // namespace
}  // namespace zorvin::ui::test

// The three windows: their designs, load steps and handlers.
#include <string>

#include "effects/effects_catalog.h"
#include "settings/level_catalog.h"
#include "win32/dpi.h"
#include "win32/text.h"
#include "ui_support.h"

namespace zorvin::ui::test {
namespace {

using Form1Test = UiTest;

TEST_F(Form1Test, AfterStartOnlyForm1IsUpWithEmptyTextAndDesignCombo) {
  Start();
  ASSERT_NE(TheShell().SettingsSlot(), nullptr);
  EXPECT_TRUE(F().IsVisible());
  EXPECT_EQ(TheShell().EffectsSlot(), nullptr);
  EXPECT_EQ(TheShell().AboutSlot(), nullptr);
  EXPECT_EQ(TextOf(F().Handle()), L"Zorvin WorldSpawn Settings");
  EXPECT_EQ(F().BlockText().Text(), L"");
  EXPECT_EQ(F().BlockStore().Caption(), L"");
  EXPECT_EQ(F().LevelCombo().Text(), L"MP/SP_LEVELS");
  EXPECT_EQ(F().LevelCombo().Count(), 0);
  EXPECT_EQ(F().DisplayCaption().Caption(), L"Display Settings:");
  EXPECT_EQ(F().ShowSettingsButton().Text(), L"MP/SPSettings");
  EXPECT_TRUE(HasFocus(F().ShowSettingsButton().Handle()));
  // Pressing the button with the design text changes nothing.
  LookUp();
  EXPECT_EQ(F().BlockText().Text(), L"");
  EXPECT_FALSE(F().Record().has_value());
  EXPECT_TRUE(errors_.empty());
}

// Where each control lies at each DPI is DpiScaling's; these are the window's frame and the hidden store.
TEST_F(Form1Test, FrameAndHiddenStore) {
  Start();
  // Label1 lies wholly under Text1 and below it in the drawing order.
  const RECT text = RectInParent(F().BlockText().Handle());
  const RECT label = RectInParent(F().BlockStore().Handle());
  EXPECT_TRUE(label.left >= text.left && label.right <= text.right && label.top >= text.top &&
              label.bottom <= text.bottom);
  EXPECT_EQ(GetWindow(F().BlockText().Handle(), GW_HWNDLAST), F().BlockStore().Handle());
  const LONG_PTR exStyle = GetWindowLongPtrW(F().Handle(), GWL_EXSTYLE);
  const LONG_PTR style = GetWindowLongPtrW(F().Handle(), GWL_STYLE);
  EXPECT_TRUE(exStyle & WS_EX_TOOLWINDOW);
  EXPECT_FALSE(style & (WS_THICKFRAME | WS_MINIMIZEBOX | WS_MAXIMIZEBOX));
  EXPECT_EQ(GetWindow(F().Handle(), GW_OWNER), nullptr);
  EXPECT_NE(GetClassLongPtrW(F().Handle(), GCLP_HICON), 0) << "the program's icon";
}

TEST_F(Form1Test, BackgroundPictureIsDrawnAtTheTopLeftBehindTheControls) {
  Start();
  UpdateWindow(F().Handle());
  HDC dc = GetDC(F().Handle());
  const COLORREF back = GetSysColor(COLOR_WINDOWTEXT);
  // Left of the combo box the picture shows; right of it (x >= 85) the back colour.
  EXPECT_NE(GetPixel(dc, 3, 4), back);
  EXPECT_NE(GetPixel(dc, 3, 18), back);
  EXPECT_EQ(GetPixel(dc, 110, 4), back);
  EXPECT_EQ(GetPixel(dc, 3, 22), back) << "21 pixels high";
  ReleaseDC(F().Handle(), dc);
}

TEST_F(Form1Test, DropDownRefillsTheFortyTwoItemsAndEmptiesTheTextField) {
  Start();
  SetComboText(L"mp_toujane");
  for (int opening = 0; opening < 3; ++opening) {
    DropDown();
    EXPECT_EQ(F().LevelCombo().Text(), L"") << opening;
    const auto items = LevelListItems();
    ASSERT_EQ(F().LevelCombo().Count(), 42);
    for (int i = 0; i < 42; ++i)
      EXPECT_EQ(F().LevelCombo().Item(i), Widen(items[static_cast<std::size_t>(i)])) << i;
    SendMessageW(F().LevelCombo().Handle(), CB_SHOWDROPDOWN, FALSE, 0);
    Pump();
    EXPECT_EQ(F().LevelCombo().Text(), L"");
  }
  // Closed without a choice: the empty text finds nothing.
  LookUp();
  EXPECT_EQ(F().BlockText().Text(), L"");
}

TEST_F(Form1Test, EveryListItemPickedAndLookedUp) {
  Start();
  const auto items = LevelListItems();
  std::wstring shown;
  for (int i = 0; i < 42; ++i) {
    const std::string_view item = items[static_cast<std::size_t>(i)];
    SCOPED_TRACE(std::string(item));
    DropDown();
    PickLevel(i);
    EXPECT_EQ(F().LevelCombo().Text(), Widen(item));
    LookUp();
    if (FindLevel(item) != nullptr) shown = BlockOf(item);
    EXPECT_EQ(F().BlockText().Text(), shown);
    EXPECT_EQ(F().BlockStore().Caption(), shown);
  }
  EXPECT_TRUE(errors_.empty());
}

TEST_F(Form1Test, TypedTextsAreMatchedExactly) {
  struct Case {
    const wchar_t* typed;
    const char* shows;  // level whose block shows, or nullptr for no change
  };
  const Case cases[] = {
      {L"sp_hill400_assault", "sp_hill400_assault"},
      {L"mp_railyard", "mp_railyard"},
      {L"MP_RAILYARD", nullptr},
      {L" mp_railyard", nullptr},
      {L"mp_railyard ", nullptr},
      {L"--SP_LEVELS--", nullptr},
      {L"", nullptr},
      {L"mp_railyard\u00e9", nullptr},
      {L"\U0001F600", nullptr},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << ToUtf8(c.typed));
    Start();
    F().BlockText().SetText(L"user's own notes");
    SetComboText(c.typed);
    LookUp();
    EXPECT_EQ(F().BlockText().Text(), c.shows ? BlockOf(c.shows) : L"user's own notes");
    EXPECT_EQ(F().BlockStore().Caption(), c.shows ? BlockOf(c.shows) : L"");
    CloseBox(F().Handle());
  }
}

TEST_F(Form1Test, LaterLevelShowsNothingOfTheEarlierOne) {
  Start();
  const std::pair<const wchar_t*, const char*> pairs[] = {
      {L"mp_breakout", "sp_88ridge"},   {L"mp_downtown", "mp_matmata"},      {L"sp_decoytown", "mp_brecourt"},
      {L"sp_newvillers", "sp_toujane"}, {L"sp_duhoc_defend", "mp_burgundy"}, {L"mp_matmata", "sp_cityhall"},
  };
  for (const auto& [first, second] : pairs) {
    SetComboText(first);
    LookUp();
    SetComboText(Widen(second));
    LookUp();
    EXPECT_EQ(F().BlockText().Text(), BlockOf(second)) << second;
    LookUp();
    EXPECT_EQ(F().BlockText().Text(), BlockOf(second)) << "pressed twice";
  }
}

// Screen readers name a control by the label just before it in the child order.
TEST_F(Form1Test, EachLabelComesRightBeforeTheControlItNames) {
  Start();
  Menu(F().Handle(), kCmdEffectsList);
  const std::pair<HWND, HWND> pairs[] = {
      {F().DisplayCaption().Handle(), F().BlockText().Handle()},
      {E().CategoryCaption().Handle(), E().CategoryList().Handle()},
      {E().ListingCaption().Handle(), E().ListingText().Handle()},
  };
  for (const auto& [label, control] : pairs) {
    EXPECT_EQ(GetWindow(control, GW_HWNDPREV), label) << ToUtf8(TextOf(label));
  }
}

using EffectsWindowTest = UiTest;

TEST_F(EffectsWindowTest, FirstShownWithSixtySixCategoriesNoneSelected) {
  Start();
  Menu(F().Handle(), kCmdEffectsList);
  ASSERT_TRUE(E().IsVisible());
  EXPECT_EQ(TextOf(E().Handle()), L"Ostrel Zorvin Effects List");
  const auto& names = EffectCategoryNames();
  ASSERT_EQ(E().CategoryList().Count(), 66);
  for (int i = 0; i < 66; ++i)
    EXPECT_EQ(E().CategoryList().Item(i), Widen(names[static_cast<std::size_t>(i)])) << i;
  EXPECT_FALSE(E().CategoryList().Selection().has_value());
  EXPECT_EQ(E().ListingText().Text(), L"");
  EXPECT_EQ(E().CategoryCaption().Caption(), L"Effects Category:");
  EXPECT_EQ(E().ListingCaption().Caption(), L"Effects Listing:");
  const LONG_PTR list = GetWindowLongPtrW(E().CategoryList().Handle(), GWL_STYLE);
  EXPECT_FALSE(list & (LBS_MULTIPLESEL | LBS_EXTENDEDSEL)) << "one category at a time";
}

TEST_F(EffectsWindowTest, SelectionsReplaceTheWholeText) {
  Start();
  Menu(F().Handle(), kCmdEffectsList);
  const auto& names = EffectCategoryNames();
  const int picks[] = {1, 42, 41, 0, 65, 42};
  for (int index : picks) {
    const std::string_view name = names[static_cast<std::size_t>(index)];
    SCOPED_TRACE(std::string(name));
    E().ListingText().SetText(L"typed by the user");
    SelectCategory(index);
    EXPECT_EQ(E().ListingText().Text(), ListingOf(name));
  }
  SelectCategory(1);
  EXPECT_EQ(E().ListingText().Text(), L"ammo_supply_exp.efx");
}

TEST_F(EffectsWindowTest, MiscListingScrollsToItsLastLine) {
  Start();
  Menu(F().Handle(), kCmdEffectsList);
  SelectCategory(41);
  ASSERT_EQ(E().CategoryList().CurrentText(), L"Misc_Effects");
  HWND text = E().ListingText().Handle();
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

TEST_F(EffectsWindowTest, ReloadAfterCloseBoxGivesSixtySixAgain) {
  Start();
  Menu(F().Handle(), kCmdEffectsList);
  SelectCategory(10);
  CloseBox(E().Handle());
  EXPECT_FALSE(E().IsLoaded());
  Menu(F().Handle(), kCmdEffectsList);
  EXPECT_EQ(E().CategoryList().Count(), 66);
  EXPECT_FALSE(E().CategoryList().Selection().has_value());
  EXPECT_EQ(E().ListingText().Text(), L"");
}

using AboutTest = UiTest;

TEST_F(AboutTest, DesignTextsVersionAndSeparator) {
  Start();
  Menu(F().Handle(), kCmdEffectsList);
  Menu(E().Handle(), kCmdAbout);
  ASSERT_TRUE(A().IsVisible());
  EXPECT_EQ(TextOf(A().Handle()), L"Worldspawn Utility");
  EXPECT_EQ(A().OkButton().Text(), L"OK");
  EXPECT_EQ(A().CreditLabel().Caption(), L"Programmed and designed by Tolvane");
  EXPECT_EQ(A().VersionLabel().Caption(), L"Beta Release 1.0");
  ASSERT_EQ(A().Dpi(), 96u);
  // The version label keeps its place and height; it is at least its design
  // width, wider only if the font needs it, and never reaches the OK button.
  const RECT version = RectInParent(A().VersionLabel().Handle());
  EXPECT_EQ(version.left, 8);
  EXPECT_EQ(version.top, 176);
  EXPECT_EQ(version.bottom - version.top, 15);
  EXPECT_GE(version.right - version.left, 83);
  EXPECT_LT(version.right, RectInParent(A().OkButton().Handle()).left);
  HDC screen = GetDC(A().VersionLabel().Handle());
  HGDIOBJ old = SelectObject(
      screen, reinterpret_cast<HFONT>(SendMessageW(A().VersionLabel().Handle(), WM_GETFONT, 0, 0)));
  SIZE text{};
  GetTextExtentPoint32W(screen, L"Beta Release 1.0", 16, &text);
  SelectObject(screen, old);
  ReleaseDC(A().VersionLabel().Handle(), screen);
  EXPECT_GE(version.right - version.left, text.cx) << "the whole version text fits";
  const AboutWindow::Line grey = A().SeparatorLine(1);
  const AboutWindow::Line white = A().SeparatorLine(0);
  EXPECT_EQ(grey.color, RGB(128, 128, 128));
  EXPECT_EQ(white.color, RGB(255, 255, 255));
  // Drawn on screen: the pixels under the lines have their colours.
  UpdateWindow(A().Handle());
  HDC dc = GetDC(A().Handle());
  EXPECT_EQ(GetPixel(dc, 100, 163), RGB(128, 128, 128));
  EXPECT_EQ(GetPixel(dc, 100, 164), RGB(255, 255, 255));
  EXPECT_EQ(GetPixel(dc, 100, 165), RGB(255, 255, 255));
  ReleaseDC(A().Handle(), dc);
  // Frame: fixed dialog, no icon, no taskbar button, owned by none of the program's windows.
  const LONG_PTR style = GetWindowLongPtrW(A().Handle(), GWL_STYLE);
  EXPECT_TRUE(GetWindowLongPtrW(A().Handle(), GWL_EXSTYLE) & WS_EX_DLGMODALFRAME);
  EXPECT_FALSE(style & (WS_THICKFRAME | WS_MINIMIZEBOX | WS_MAXIMIZEBOX));
  HWND owner = GetWindow(A().Handle(), GW_OWNER);
  EXPECT_NE(owner, nullptr);
  EXPECT_FALSE(IsWindowVisible(owner));
  EXPECT_NE(owner, E().Handle());
  EXPECT_NE(owner, F().Handle());
}

TEST_F(AboutTest, OpensCentredOverTheEffectsWindowWithFocusOnOk) {
  Start();
  Menu(F().Handle(), kCmdEffectsList);
  Menu(E().Handle(), kCmdAbout);
  RECT about{}, effects{};
  GetWindowRect(A().Handle(), &about);
  GetWindowRect(E().Handle(), &effects);
  EXPECT_NEAR((about.left + about.right) / 2, (effects.left + effects.right) / 2, 1);
  EXPECT_NEAR((about.top + about.bottom) / 2, (effects.top + effects.bottom) / 2, 1);
  EXPECT_TRUE(HasFocus(A().OkButton().Handle()));
  EXPECT_EQ(SendMessageW(A().Handle(), DM_GETDEFID, 0, 0),
            MAKELRESULT(ControlId(AboutWindow::kOkButton), DC_HASDEFID));
}

}  // namespace
}  // namespace zorvin::ui::test

// Moving between the windows, closing them, ending the program, and what a
// failing window operation does.
#include "win32/text.h"
#include "win32/error.h"
#include "ui_support.h"

namespace zorvin::ui::test {
namespace {

using NavigationTest = UiTest;

TEST_F(NavigationTest, EffectsListShowsTheEffectsWindowThenHidesForm1) {
  Start();
  SetComboText(L"mp_decoy");
  LookUp();
  const std::wstring block = Settings().BlockText().Text();
  Menu(Settings().Handle(), kCmdEffectsList);
  EXPECT_TRUE(Effects().IsVisible());
  EXPECT_EQ(Effects().CategoryList().Count(), 66);
  EXPECT_FALSE(Settings().IsVisible());
  EXPECT_TRUE(Settings().IsLoaded());
  EXPECT_EQ(GetForegroundWindow(), Effects().Handle());
  // Worldspawn Settings brings Form1 back as it was left; the effects window stays.
  Menu(Effects().Handle(), kCmdWorldspawnSettings);
  EXPECT_TRUE(Settings().IsVisible());
  EXPECT_TRUE(Effects().IsVisible());
  EXPECT_EQ(GetForegroundWindow(), Settings().Handle());
  EXPECT_EQ(Settings().LevelCombo().Text(), L"mp_decoy");
  EXPECT_EQ(Settings().BlockText().Text(), block);
  EXPECT_EQ(Settings().BlockStore().Caption(), block);
  // Again while visible: only to the front.
  SetForegroundWindow(Effects().Handle());
  Pump();
  HWND form1 = Settings().Handle();
  Menu(Effects().Handle(), kCmdWorldspawnSettings);
  EXPECT_EQ(Settings().Handle(), form1);
  EXPECT_EQ(GetForegroundWindow(), form1);
  EXPECT_TRUE(errors_.empty());
}

TEST_F(NavigationTest, SecondEffectsListBringsTheSameWindowWithItsSelection) {
  Start();
  Menu(Settings().Handle(), kCmdEffectsList);
  SelectCategory(5);
  const std::wstring listing = Effects().ListingText().Text();
  HWND effects = Effects().Handle();
  Menu(Effects().Handle(), kCmdWorldspawnSettings);
  Menu(Settings().Handle(), kCmdEffectsList);
  EXPECT_EQ(Effects().Handle(), effects);
  EXPECT_EQ(Effects().CategoryList().Count(), 66);
  EXPECT_EQ(Effects().CategoryList().Selection(), 5);
  EXPECT_EQ(Effects().ListingText().Text(), listing);
  EXPECT_FALSE(Settings().IsVisible());
}

TEST_F(NavigationTest, AboutOpensOnceAndOkReturnsToTheEffectsWindow) {
  Start();
  Menu(Settings().Handle(), kCmdEffectsList);
  Menu(Effects().Handle(), kCmdAbout);
  HWND about = About().Handle();
  EXPECT_EQ(GetForegroundWindow(), about);
  SetForegroundWindow(Effects().Handle());
  Pump();
  EXPECT_TRUE(About().IsVisible()) << "stays open behind the effects window";
  Menu(Effects().Handle(), kCmdAbout);
  EXPECT_EQ(About().Handle(), about);
  EXPECT_EQ(GetForegroundWindow(), about);
  ClickButton(About().OkButton().Handle());
  EXPECT_FALSE(About().IsVisible());
  EXPECT_TRUE(About().IsLoaded());
  EXPECT_EQ(GetForegroundWindow(), Effects().Handle());
  Menu(Effects().Handle(), kCmdAbout);
  EXPECT_EQ(About().Handle(), about) << "shown again without loading";
  EXPECT_TRUE(About().IsVisible());
}

TEST_F(NavigationTest, OkAfterTheEffectsWindowWasClosedLoadsAFreshOne) {
  Start();
  Menu(Settings().Handle(), kCmdEffectsList);
  Menu(Effects().Handle(), kCmdWorldspawnSettings);
  SelectCategory(3);
  Menu(Effects().Handle(), kCmdAbout);
  CloseBox(Effects().Handle());
  EXPECT_FALSE(Effects().IsLoaded());
  EXPECT_TRUE(About().IsVisible());
  EXPECT_TRUE(Settings().IsVisible());
  ClickButton(About().OkButton().Handle());
  EXPECT_TRUE(Effects().IsVisible());
  EXPECT_FALSE(Effects().CategoryList().Selection().has_value());
  EXPECT_EQ(Effects().ListingText().Text(), L"");
  EXPECT_FALSE(About().IsVisible());
  EXPECT_EQ(closed_, 0);
}

TEST_F(NavigationTest, ExitEndsTheProgramAlsoWithHiddenWindows) {
  Start();
  Menu(Settings().Handle(), kCmdEffectsList);
  Menu(Effects().Handle(), kCmdAbout);
  ClickButton(About().OkButton().Handle());
  ASSERT_FALSE(Settings().IsVisible());
  ASSERT_FALSE(About().IsVisible());
  Menu(Effects().Handle(), kCmdExit);
  EXPECT_EQ(ended_, 1);
  EXPECT_EQ(closed_, 0);
  EXPECT_TRUE(errors_.empty());
}

TEST_F(NavigationTest, ReloadedForm1StartsFromItsDesignButKeepsItsRecord) {
  Start();
  SetComboText(L"sp_moscow");
  LookUp();
  Menu(Settings().Handle(), kCmdEffectsList);
  Menu(Effects().Handle(), kCmdWorldspawnSettings);
  DropDown();
  CloseBox(Settings().Handle());
  EXPECT_FALSE(Settings().IsLoaded());
  ASSERT_TRUE(Settings().Record().has_value());
  EXPECT_EQ(Settings().Record()->northyaw, "90");
  Menu(Effects().Handle(), kCmdWorldspawnSettings);
  EXPECT_EQ(Settings().LevelCombo().Text(), L"MP/SP_LEVELS");
  EXPECT_EQ(Settings().LevelCombo().Count(), 0);
  EXPECT_EQ(Settings().BlockText().Text(), L"");
  EXPECT_EQ(Settings().BlockStore().Caption(), L"");
  EXPECT_EQ(Settings().Record()->northyaw, "90");
}

// Real failures: a control whose window is gone before the handler runs.
using FailureTest = UiTest;

TEST_F(FailureTest, LookupStopsAtTheFailingStepAndKeepsWhatItDid) {
  Start();
  SetComboText(L"mp_farmhouse");
  DestroyWindow(Settings().BlockText().Handle());
  LookUp();
  ASSERT_EQ(errors_.size(), 1u);
  EXPECT_EQ(errors_[0], L"Form1.Text1: set text");
  EXPECT_NE(Settings().BlockStore().Caption().find(L"0.890196 0.733333 0.407843"), std::wstring::npos);
}

TEST_F(FailureTest, DropDownStopsAtTheFailingStep) {
  Start();
  DestroyWindow(Settings().LevelCombo().Handle());
  SendMessageW(Settings().Handle(), WM_COMMAND, MAKEWPARAM(ControlId(SettingsWindow::kLevelCombo), CBN_DROPDOWN), 0);
  Pump();
  ASSERT_EQ(errors_.size(), 1u);
  EXPECT_EQ(errors_[0], L"Form1.Combo1: clear");
}

TEST_F(FailureTest, NavigationStopsWhenHidingFailsWithTheShowDone) {
  Start();
  CloseBox(Settings().Handle());  // Form1 gone: hiding it must fail
  try {
    TheShell().EffectsListChosen();
    ADD_FAILURE() << "no error raised";
  } catch (const UiError& error) {
    EXPECT_EQ(error.Operation(), L"Form1: hide");
  }
  EXPECT_TRUE(Effects().IsVisible());
}

TEST_F(FailureTest, EffectsSelectionGoesOnPastFailedStepsWithoutAReport) {
  Start();
  Menu(Settings().Handle(), kCmdEffectsList);
  SelectCategory(1);
  ASSERT_EQ(Effects().ListingText().Text(), L"ammo_supply_exp.efx");
  HWND list = Effects().CategoryList().Handle();
  DestroyWindow(Effects().ListingText().Handle());
  SelectCategory(2);  // setting the text fails: passed over
  EXPECT_TRUE(errors_.empty());
  DestroyWindow(list);
  SendMessageW(Effects().Handle(), WM_COMMAND, MAKEWPARAM(ControlId(EffectsWindow::kCategoryList), LBN_SELCHANGE),
               0);
  Pump();
  EXPECT_TRUE(errors_.empty());
  EXPECT_TRUE(Effects().IsVisible());
}

// A window whose load handler fails the first time it runs.
class FailsFirstLoad : public win32::Window {
 public:
  explicit FailsFirstLoad(Shell& shell) : Window(shell, kDesign) {}
  int loads = 0;

 private:
  static constexpr win32::ControlDesign kRows[] = {
      {.role = 0, .name = L"Text1", .kind = win32::ControlKind::Edit, .style = WS_TABSTOP, .rect = {0, 0, 600, 300}},
  };
  static constexpr win32::WindowDesign kDesign{.name = L"LoadFault",
                                               .caption = L"Load fault",
                                               .style = WS_OVERLAPPED | WS_CAPTION,
                                               .clientWidth = 1500,
                                               .clientHeight = 900,
                                               .background = COLOR_BTNFACE,
                                               .controls = kRows};
  void OnLoad() override {
    if (++loads == 1) win32::Fail(L"LoadFault: load step");
  }
  void OnControl(std::size_t, int) override {}
  void OnCommand(int) override {}
};

TEST_F(FailureTest, AFailedLoadLeavesNothingBehindAndTheNextLoadStartsAfresh) {
  Start();
  FailsFirstLoad window(TheShell());
  try {
    window.Load();
    ADD_FAILURE() << "no error raised";
  } catch (const UiError& error) {
    EXPECT_EQ(error.Operation(), L"LoadFault: load step");
  }
  EXPECT_FALSE(window.IsLoaded());
  EXPECT_EQ(FindWindowW(L"ZorvinEffects.LoadFault", nullptr), nullptr) << "the half-built frame is gone";
  window.Load();
  EXPECT_TRUE(window.IsLoaded());
  EXPECT_NE(window.ControlHandle(0), nullptr);
  EXPECT_TRUE(errors_.empty());
}

}  // namespace
}  // namespace zorvin::ui::test

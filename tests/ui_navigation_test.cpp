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
  const std::wstring block = F().BlockText().Text();
  Menu(F().Handle(), kCmdEffectsList);
  EXPECT_TRUE(E().IsVisible());
  EXPECT_EQ(E().CategoryList().Count(), 66);
  EXPECT_FALSE(F().IsVisible());
  EXPECT_TRUE(F().IsLoaded());
  EXPECT_EQ(GetForegroundWindow(), E().Handle());
  // Worldspawn Settings brings Form1 back as it was left; the effects window stays.
  Menu(E().Handle(), kCmdWorldspawnSettings);
  EXPECT_TRUE(F().IsVisible());
  EXPECT_TRUE(E().IsVisible());
  EXPECT_EQ(GetForegroundWindow(), F().Handle());
  EXPECT_EQ(F().LevelCombo().Text(), L"mp_decoy");
  EXPECT_EQ(F().BlockText().Text(), block);
  EXPECT_EQ(F().BlockStore().Caption(), block);
  // Again while visible: only to the front.
  SetForegroundWindow(E().Handle());
  Pump();
  HWND form1 = F().Handle();
  Menu(E().Handle(), kCmdWorldspawnSettings);
  EXPECT_EQ(F().Handle(), form1);
  EXPECT_EQ(GetForegroundWindow(), form1);
  EXPECT_TRUE(errors_.empty());
}

TEST_F(NavigationTest, SecondEffectsListBringsTheSameWindowWithItsSelection) {
  Start();
  Menu(F().Handle(), kCmdEffectsList);
  SelectCategory(5);
  const std::wstring listing = E().ListingText().Text();
  HWND effects = E().Handle();
  Menu(E().Handle(), kCmdWorldspawnSettings);
  Menu(F().Handle(), kCmdEffectsList);
  EXPECT_EQ(E().Handle(), effects);
  EXPECT_EQ(E().CategoryList().Count(), 66);
  EXPECT_EQ(E().CategoryList().Selection(), 5);
  EXPECT_EQ(E().ListingText().Text(), listing);
  EXPECT_FALSE(F().IsVisible());
}

TEST_F(NavigationTest, AboutOpensOnceAndOkReturnsToTheEffectsWindow) {
  Start();
  Menu(F().Handle(), kCmdEffectsList);
  Menu(E().Handle(), kCmdAbout);
  HWND about = A().Handle();
  EXPECT_EQ(GetForegroundWindow(), about);
  SetForegroundWindow(E().Handle());
  Pump();
  EXPECT_TRUE(A().IsVisible()) << "stays open behind the effects window";
  Menu(E().Handle(), kCmdAbout);
  EXPECT_EQ(A().Handle(), about);
  EXPECT_EQ(GetForegroundWindow(), about);
  ClickButton(A().OkButton().Handle());
  EXPECT_FALSE(A().IsVisible());
  EXPECT_TRUE(A().IsLoaded());
  EXPECT_EQ(GetForegroundWindow(), E().Handle());
  Menu(E().Handle(), kCmdAbout);
  EXPECT_EQ(A().Handle(), about) << "shown again without loading";
  EXPECT_TRUE(A().IsVisible());
}

TEST_F(NavigationTest, OkAfterTheEffectsWindowWasClosedLoadsAFreshOne) {
  Start();
  Menu(F().Handle(), kCmdEffectsList);
  Menu(E().Handle(), kCmdWorldspawnSettings);
  SelectCategory(3);
  Menu(E().Handle(), kCmdAbout);
  CloseBox(E().Handle());
  EXPECT_FALSE(E().IsLoaded());
  EXPECT_TRUE(A().IsVisible());
  EXPECT_TRUE(F().IsVisible());
  ClickButton(A().OkButton().Handle());
  EXPECT_TRUE(E().IsVisible());
  EXPECT_FALSE(E().CategoryList().Selection().has_value());
  EXPECT_EQ(E().ListingText().Text(), L"");
  EXPECT_FALSE(A().IsVisible());
  EXPECT_EQ(closed_, 0);
}

TEST_F(NavigationTest, CloseBoxesRemoveOnlyTheirWindow) {
  Start();
  Menu(F().Handle(), kCmdEffectsList);
  Menu(E().Handle(), kCmdWorldspawnSettings);
  Menu(E().Handle(), kCmdAbout);
  CloseBox(A().Handle());
  EXPECT_FALSE(A().IsLoaded());
  EXPECT_TRUE(E().IsVisible());
  EXPECT_TRUE(F().IsVisible());
  CloseBox(E().Handle());
  EXPECT_FALSE(E().IsLoaded());
  EXPECT_TRUE(F().IsVisible());
  EXPECT_EQ(closed_, 0);
  // A later Effects List loads a fresh effects window.
  Menu(F().Handle(), kCmdEffectsList);
  EXPECT_EQ(E().CategoryList().Count(), 66);
  EXPECT_EQ(ended_ + closed_, 0);
}

// When the process ends: each row is a path of user actions and whether the
// program closes after it.
TEST_F(NavigationTest, TheProgramClosesWhenNoWindowIsLeftOnScreen) {
  struct Case {
    const char* path;
    void (*act)(NavigationTest&);
    bool closes;
  };
  const Case cases[] = {
      {"close Form1 right after start", [](NavigationTest& t) { t.CloseBox(t.F().Handle()); }, true},
      {"close the effects window while Form1 is hidden",
       [](NavigationTest& t) {
         t.Menu(t.F().Handle(), kCmdEffectsList);
         t.CloseBox(t.E().Handle());
       },
       true},
      {"close the effects window while Form1 is visible",
       [](NavigationTest& t) {
         t.Menu(t.F().Handle(), kCmdEffectsList);
         t.Menu(t.E().Handle(), kCmdWorldspawnSettings);
         t.CloseBox(t.E().Handle());
       },
       false},
      {"close the effects window, About hidden, Form1 hidden",
       [](NavigationTest& t) {
         t.Menu(t.F().Handle(), kCmdEffectsList);
         t.Menu(t.E().Handle(), kCmdAbout);
         t.ClickButton(t.A().OkButton().Handle());
         t.CloseBox(t.E().Handle());
       },
       true},
      {"close the effects window while About is on screen",
       [](NavigationTest& t) {
         t.Menu(t.F().Handle(), kCmdEffectsList);
         t.Menu(t.E().Handle(), kCmdAbout);
         t.CloseBox(t.E().Handle());
       },
       false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.path);
    TearDown();
    SetUp();
    closed_ = 0;
    Start();
    c.act(*this);
    EXPECT_EQ(closed_, c.closes ? 1 : 0);
    EXPECT_EQ(ended_, 0);
  }
}

TEST_F(NavigationTest, ExitEndsTheProgramAlsoWithHiddenWindows) {
  Start();
  Menu(F().Handle(), kCmdEffectsList);
  Menu(E().Handle(), kCmdAbout);
  ClickButton(A().OkButton().Handle());
  ASSERT_FALSE(F().IsVisible());
  ASSERT_FALSE(A().IsVisible());
  Menu(E().Handle(), kCmdExit);
  EXPECT_EQ(ended_, 1);
  EXPECT_EQ(closed_, 0);
  EXPECT_TRUE(errors_.empty());
}

TEST_F(NavigationTest, ReloadedForm1StartsFromItsDesignButKeepsItsRecord) {
  Start();
  SetComboText(L"sp_moscow");
  LookUp();
  Menu(F().Handle(), kCmdEffectsList);
  Menu(E().Handle(), kCmdWorldspawnSettings);
  DropDown();
  CloseBox(F().Handle());
  EXPECT_FALSE(F().IsLoaded());
  ASSERT_TRUE(F().Record().has_value());
  EXPECT_EQ(F().Record()->northyaw, "90");
  Menu(E().Handle(), kCmdWorldspawnSettings);
  EXPECT_EQ(F().LevelCombo().Text(), L"MP/SP_LEVELS");
  EXPECT_EQ(F().LevelCombo().Count(), 0);
  EXPECT_EQ(F().BlockText().Text(), L"");
  EXPECT_EQ(F().BlockStore().Caption(), L"");
  EXPECT_EQ(F().Record()->northyaw, "90");
}

// Real failures: a control whose window is gone before the handler runs.
using FailureTest = UiTest;

TEST_F(FailureTest, LookupStopsAtTheFailingStepAndKeepsWhatItDid) {
  Start();
  SetComboText(L"mp_farmhouse");
  DestroyWindow(F().BlockText().Handle());
  LookUp();
  ASSERT_EQ(errors_.size(), 1u);
  EXPECT_EQ(errors_[0], L"Form1.Text1: set text");
  EXPECT_NE(F().BlockStore().Caption().find(L"0.890196 0.733333 0.407843"), std::wstring::npos);
}

TEST_F(FailureTest, DropDownStopsAtTheFailingStep) {
  Start();
  DestroyWindow(F().LevelCombo().Handle());
  SendMessageW(F().Handle(), WM_COMMAND, MAKEWPARAM(ControlId(SettingsWindow::kLevelCombo), CBN_DROPDOWN), 0);
  Pump();
  ASSERT_EQ(errors_.size(), 1u);
  EXPECT_EQ(errors_[0], L"Form1.Combo1: clear");
}

TEST_F(FailureTest, NavigationStopsWhenHidingFailsWithTheShowDone) {
  Start();
  CloseBox(F().Handle());  // Form1 gone: hiding it must fail
  try {
    TheShell().EffectsListChosen();
    ADD_FAILURE() << "no error raised";
  } catch (const UiError& error) {
    EXPECT_EQ(error.Operation(), L"Form1: hide");
  }
  EXPECT_TRUE(E().IsVisible());
}

TEST_F(FailureTest, EffectsSelectionGoesOnPastFailedStepsWithoutAReport) {
  Start();
  Menu(F().Handle(), kCmdEffectsList);
  SelectCategory(1);
  ASSERT_EQ(E().ListingText().Text(), L"ammo_supply_exp.efx");
  HWND list = E().CategoryList().Handle();
  DestroyWindow(E().ListingText().Handle());
  SelectCategory(2);  // setting the text fails: passed over
  EXPECT_TRUE(errors_.empty());
  DestroyWindow(list);
  SendMessageW(E().Handle(), WM_COMMAND, MAKEWPARAM(ControlId(EffectsWindow::kCategoryList), LBN_SELCHANGE),
               0);
  Pump();
  EXPECT_TRUE(errors_.empty());
  EXPECT_TRUE(E().IsVisible());
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

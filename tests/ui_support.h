// Driving the real windows in-process, as a user would: messages for clicks
// and the drop-down, injected keys where focus and keyboard handling matter.
#pragma once

#include <gtest/gtest.h>
#include <windows.h>

#include <functional>
#include <initializer_list>
#include <memory>
#include <string>
#include <vector>

#include "ui/settings_window.h"
#include "ui/about_window.h"
#include "ui/effects_window.h"
#include "ui/ids.h"
#include "ui/shell.h"

namespace zorvin::ui::test {

using namespace zorvin::win32;

std::wstring TextOf(HWND hwnd);
// The settings block of a level and the listing of a category, as expected
// (the files under tests/golden/).
std::wstring BlockOf(std::string_view level);
std::wstring ListingOf(std::string_view category);
// A child's rectangle in its parent's client coordinates.
RECT RectInParent(HWND child);
SIZE ClientSize(HWND hwnd);
bool HasFocus(HWND control);  // the control or a child of it (a combo box's text field)
// True where the long suites run shorter: the x86 build, whose Wine runs
// under emulation (ZORVIN_SHORT_RUN, set by the build for its tests).
bool ShortRun();
// The DPI a DpiScaling child was started at (ZORVIN_TEST_DPI), or 0 outside one.
UINT TestDpi();
// Fails unless the system and each window are at dpi, so that a child run
// where the display has another DPI cannot pass or fail for a wrong reason.
void AssertSessionAtDpi(std::initializer_list<HWND> windows, UINT dpi);

// Presses the keys in order and releases them in reverse, in one injection.
void PressKeys(std::initializer_list<WORD> keys);
// Types text character by character.
void TypeText(const std::wstring& text);

// The helpers are public so that tables of user actions (lambdas) can call them.
class UiTest : public ::testing::Test {
 public:
  void SetUp() override;
  void TearDown() override;

  Shell& TheShell() { return *shell_; }
  SettingsWindow& Settings() { return shell_->Settings(); }
  EffectsWindow& Effects() { return shell_->Effects(); }
  AboutWindow& About() { return shell_->About(); }

  // Dispatches what is queued, through the shell's keyboard handling as the program's loop does.
  void Pump();
  // Pumps until condition holds or the time is up; returns the condition.
  bool PumpUntil(const std::function<bool()>& condition, int milliseconds = 2000);
  // Pumps until every key injected before has been handled: a last key (F24,
  // which no control uses) goes in after them, and input keeps its order.
  bool PumpUntilKeysHandled();

  // User actions.
  void Start();                   // the program's start-up
  void ClickButton(HWND button);  // a mouse click, as the button reports it
  void Menu(HWND window, int command);
  void CloseBox(HWND window);
  void DropDown();                              // Form1: open the level list
  void PickLevel(int index);                    // Form1: choose an item of the opened list
  void SetComboText(const std::wstring& text);  // Form1: type into the text field
  void LookUp() { ClickButton(Settings().ShowSettingsButton().Handle()); }
  void SelectCategory(int index);  // effects window: the user selects an entry

  std::vector<std::wstring> errors_;
  int ended_ = 0;
  int closed_ = 0;

 private:
  std::unique_ptr<Shell> shell_;
};

}  // namespace zorvin::ui::test

// The application shell: one instance slot per window, show, hide, the end of
// the program, the bookkeeping of loaded windows, and the five navigation steps.
#pragma once

#include <windows.h>

#include <array>
#include <functional>
#include <memory>
#include <string>
#include <string_view>

#include "win32/handles.h"
#include "win32/window.h"

namespace zorvin::ui {

class SettingsWindow;
class EffectsWindow;
class AboutWindow;

// What the shell asks of the process. The program's own answers are in
// src/app; tests put recorders in their place.
struct ShellHooks {
  // The single run-time error report; in the program it shows the message and ends the process.
  std::function<void(std::wstring_view operation)> reportError;
  // "&Exit": the process ends at once.
  std::function<void()> exitNow;
  // The user closed the last window on screen: the message loop ends.
  std::function<void()> lastWindowClosed;
};

class Shell final : public win32::WindowHost {
 public:
  Shell(HINSTANCE instance, ShellHooks hooks);
  ~Shell();
  Shell(const Shell&) = delete;
  Shell& operator=(const Shell&) = delete;

  HINSTANCE Instance() const override { return instance_; }
  std::wstring ClassPrefix() const override;

  // Start-up: creates the settings window, loads it and shows it. The other
  // windows are created when a navigation step first refers to them.
  void Start();
  // Keyboard handling for a message before it is dispatched; true when consumed.
  bool PreTranslate(MSG& message);
  // The message loop, until the program closes; returns the exit status.
  int Run();

  // The instance slots: a reference fills an empty slot; a slot is never emptied.
  SettingsWindow& Settings();
  EffectsWindow& Effects();
  AboutWindow& About();
  // The slots without filling them.
  SettingsWindow* SettingsSlot() const { return settings_.get(); }
  EffectsWindow* EffectsSlot() const { return effects_.get(); }
  AboutWindow* AboutSlot() const { return about_.get(); }

  // Loads the window if it is not loaded, then makes it visible, active and in front.
  void Show(win32::Window& window);
  void Hide(win32::Window& window);

  // The navigation steps, named for what the user chose.
  void EffectsListChosen();         // settings window, "&Effects List"
  void WorldspawnSettingsChosen();  // effects window, "Worldspawn Settings"
  void ExitChosen();                // effects window, "&Exit"
  void AboutChosen();               // effects window, "&About"
  void AboutOkChosen();             // About window, "OK"

  void ReportError(std::wstring_view operation) noexcept override;
  void WindowUnloaded(win32::Window& window) override;

  // An invisible window that owns the About window, so that the About window
  // gets no taskbar button; it is none of the program's three windows.
  HWND HiddenOwner();

 private:
  // The three slots, each window or nullptr, in the order they are torn down.
  std::array<win32::Window*, 3> Windows() const;
  win32::Window* Root(HWND hwnd) const;

  HINSTANCE instance_;
  ShellHooks hooks_;
  // Declared before the windows, so that it outlives the window it owns.
  win32::PlainWindow hiddenOwner_;
  std::unique_ptr<SettingsWindow> settings_;
  std::unique_ptr<AboutWindow> about_;
  std::unique_ptr<EffectsWindow> effects_;
  bool closing_ = false;
};

}  // namespace zorvin::ui

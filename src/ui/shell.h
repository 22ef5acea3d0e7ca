// The application shell: one instance slot per window, show, hide, end of the
// program, the bookkeeping of loaded windows, and the five navigation steps.
#pragma once

#include <windows.h>

#include <functional>
#include <memory>
#include <string>

namespace zorvin::ui {

class Window;
class Form1;
class frmZorvinEfx;
class frmAbout;

// What the shell asks of the process. The program's own answers are in
// src/app; tests put recorders in their place.
struct ShellHooks {
  // The single run-time error report; in the program it shows the message and ends the process.
  std::function<void(const std::wstring& operation)> reportError;
  // "&Exit": the process ends at once.
  std::function<void()> endProgram;
  // The user closed the last window on screen: the message loop ends.
  std::function<void()> closeProgram;
};

class Shell {
 public:
  Shell(HINSTANCE instance, ShellHooks hooks);
  ~Shell();
  Shell(const Shell&) = delete;
  Shell& operator=(const Shell&) = delete;

  HINSTANCE Instance() const { return instance_; }

  // Start-up: creates Form1, loads it and shows it. The other windows are
  // created when a navigation step first refers to them.
  void Start();
  // Keyboard handling for a message before it is dispatched; true when consumed.
  bool PreTranslate(MSG& message);
  // The message loop, until the program closes; returns the exit status.
  int Run();

  // The instance slots: a reference fills an empty slot; a slot is never emptied.
  Form1& TheForm1();
  frmZorvinEfx& TheEffects();
  frmAbout& TheAbout();
  // For tests: the slots without filling them.
  Form1* Form1Slot() const { return form1_.get(); }
  frmZorvinEfx* EffectsSlot() const { return effects_.get(); }
  frmAbout* AboutSlot() const { return about_.get(); }

  // Loads the window if it is not loaded, then makes it visible, active and in front.
  void Show(Window& window);
  void Hide(Window& window);
  void EndProgram();

  // The navigation steps.
  void EffectsListChosen();         // Form1, "&Effects List"
  void WorldspawnSettingsChosen();  // frmZorvinEfx, "Worldspawn Settings"
  void ExitChosen();                // frmZorvinEfx, "&Exit"
  void AboutChosen();               // frmZorvinEfx, "&About"
  void AboutOkChosen();             // frmAbout, "OK"

  void ReportError(const std::wstring& operation) noexcept;
  // Called when the user's close box (or Alt+F4) has destroyed a window.
  void WindowUnloaded(Window& window);

  // An invisible window that owns the About window, so that the About window
  // gets no taskbar button; it is none of the program's three windows.
  HWND HiddenOwner();

 private:
  Window* Root(HWND hwnd) const;

  HINSTANCE instance_;
  ShellHooks hooks_;
  std::unique_ptr<Form1> form1_;
  std::unique_ptr<frmAbout> about_;
  std::unique_ptr<frmZorvinEfx> effects_;
  HWND hiddenOwner_ = nullptr;
  bool closing_ = false;
};

}  // namespace zorvin::ui

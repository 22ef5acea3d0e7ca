#include "ui/shell.h"

#include "ui/about_window.h"
#include "ui/effects_window.h"
#include "ui/settings_window.h"
#include "win32/error.h"

namespace zorvin::ui {

using win32::Check;
using win32::Window;

Shell::Shell(HINSTANCE instance, ShellHooks hooks) : instance_(instance), hooks_(std::move(hooks)) {}

std::wstring Shell::ClassPrefix() const { return L"ZorvinEffects."; }

Shell::~Shell() {
  closing_ = true;
  // Destroy the on-screen parts while the window objects are still whole.
  for (Window* window : Windows()) {
    if (window != nullptr) window->Destroy();
  }
}

std::array<Window*, 3> Shell::Windows() const { return {settings_.get(), about_.get(), effects_.get()}; }

void Shell::Start() { Show(Settings()); }

SettingsWindow& Shell::Settings() {
  if (!settings_) settings_ = std::make_unique<SettingsWindow>(*this);
  return *settings_;
}

EffectsWindow& Shell::Effects() {
  if (!effects_) effects_ = std::make_unique<EffectsWindow>(*this);
  return *effects_;
}

AboutWindow& Shell::About() {
  if (!about_) about_ = std::make_unique<AboutWindow>(*this);
  return *about_;
}

void Shell::Show(Window& window) {
  if (!window.IsLoaded()) window.Load();
  window.ShowActive();
}

void Shell::Hide(Window& window) { window.Hide(); }

// In both two-step moves the other window is shown first, then the window
// whose command ran is hidden.
void Shell::EffectsListChosen() {
  Show(Effects());
  Hide(Settings());
}

void Shell::WorldspawnSettingsChosen() { Show(Settings()); }

void Shell::ExitChosen() {
  closing_ = true;
  hooks_.exitNow();
}

void Shell::AboutChosen() { Show(About()); }

void Shell::AboutOkChosen() {
  Show(Effects());
  Hide(About());
}

void Shell::ReportError(std::wstring_view operation) noexcept {
  try {
    hooks_.reportError(operation);
  } catch (...) {
    // The report is the last resort; nothing is left to tell.
  }
}

void Shell::WindowUnloaded(Window&) {
  if (closing_) return;
  bool anyOnScreen = false;
  for (const Window* window : Windows())
    anyOnScreen = anyOnScreen || (window != nullptr && window->IsVisible());
  // The process ends when the last loaded window is closed. It also ends when
  // only hidden windows are left: nothing could ever show them again, and a
  // process the user can neither see nor reach is of no use.
  if (!anyOnScreen) {
    closing_ = true;
    hooks_.lastWindowClosed();
  }
}

HWND Shell::HiddenOwner() {
  if (hiddenOwner_) return hiddenOwner_.Get();
  const std::wstring ownerClass = ClassPrefix() + L"Owner";
  const wchar_t* const className = ownerClass.c_str();
  WNDCLASSEXW cls{};
  cls.cbSize = sizeof(cls);
  if (!GetClassInfoExW(instance_, className, &cls)) {
    cls = {};
    cls.cbSize = sizeof(cls);
    cls.lpfnWndProc = DefWindowProcW;
    cls.hInstance = instance_;
    cls.lpszClassName = className;
    Check(RegisterClassExW(&cls) != 0, L"register the owner window class");
  }
  hiddenOwner_.Reset(
      CreateWindowExW(0, className, L"", WS_POPUP, 0, 0, 0, 0, nullptr, nullptr, instance_, nullptr));
  Check(static_cast<bool>(hiddenOwner_), L"create the owner window");
  return hiddenOwner_.Get();
}

Window* Shell::Root(HWND hwnd) const {
  if (hwnd == nullptr) return nullptr;
  HWND root = GetAncestor(hwnd, GA_ROOT);
  for (Window* window : Windows()) {
    if (window != nullptr && window->IsLoaded() && window->Handle() == root) return window;
  }
  return nullptr;
}

bool Shell::PreTranslate(MSG& message) {
  Window* window = Root(message.hwnd);
  return window != nullptr && window->PreTranslate(message);
}

int Shell::Run() {
  MSG message{};
  for (;;) {
    const BOOL got = GetMessageW(&message, nullptr, 0, 0);
    if (got == 0) return static_cast<int>(message.wParam);
    Check(got != -1, L"read the message queue");
    if (!PreTranslate(message)) {
      TranslateMessage(&message);
      DispatchMessageW(&message);
    }
  }
}

}  // namespace zorvin::ui

#include "ui/shell.h"

#include "ui/form1.h"
#include "ui/frm_about.h"
#include "ui/frm_zorvin_efx.h"
#include "ui/ui_error.h"

namespace zorvin::ui {

Shell::Shell(HINSTANCE instance, ShellHooks hooks) : instance_(instance), hooks_(std::move(hooks)) {}

Shell::~Shell() {
  closing_ = true;
  // Destroy the on-screen parts while the window objects are still whole.
  if (form1_) form1_->Destroy();
  if (about_) about_->Destroy();
  if (effects_) effects_->Destroy();
  if (hiddenOwner_ != nullptr) DestroyWindow(hiddenOwner_);
}

void Shell::Start() { Show(TheForm1()); }

Form1& Shell::TheForm1() {
  if (!form1_) form1_ = std::make_unique<Form1>(*this);
  return *form1_;
}

frmZorvinEfx& Shell::TheEffects() {
  if (!effects_) effects_ = std::make_unique<frmZorvinEfx>(*this);
  return *effects_;
}

frmAbout& Shell::TheAbout() {
  if (!about_) about_ = std::make_unique<frmAbout>(*this);
  return *about_;
}

void Shell::Show(Window& window) {
  if (!window.IsLoaded()) window.Load();
  window.ShowActive();
}

void Shell::Hide(Window& window) { window.Hide(); }

void Shell::EndProgram() {
  closing_ = true;
  hooks_.endProgram();
}

// In both two-step moves the other window is shown first, then the window
// whose command ran is hidden.
void Shell::EffectsListChosen() {
  Show(TheEffects());
  Hide(TheForm1());
}

void Shell::WorldspawnSettingsChosen() { Show(TheForm1()); }

void Shell::ExitChosen() { EndProgram(); }

void Shell::AboutChosen() { Show(TheAbout()); }

void Shell::AboutOkChosen() {
  Show(TheEffects());
  Hide(TheAbout());
}

void Shell::ReportError(const std::wstring& operation) noexcept {
  try {
    hooks_.reportError(operation);
  } catch (...) {
    // The report is the last resort; nothing is left to tell.
  }
}

void Shell::WindowUnloaded(Window&) {
  if (closing_) return;
  const Window* const windows[] = {form1_.get(), about_.get(), effects_.get()};
  bool anyOnScreen = false;
  for (const Window* window : windows)
    anyOnScreen = anyOnScreen || (window != nullptr && window->IsVisible());
  // The process ends when the last loaded window is closed. It also ends when
  // only hidden windows are left: nothing could ever show them again, and a
  // process the user can neither see nor reach is of no use.
  if (!anyOnScreen) {
    closing_ = true;
    hooks_.closeProgram();
  }
}

HWND Shell::HiddenOwner() {
  if (hiddenOwner_ != nullptr) return hiddenOwner_;
  const wchar_t* const className = L"ZorvinEffects.Owner";
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
  hiddenOwner_ =
      CreateWindowExW(0, className, L"", WS_POPUP, 0, 0, 0, 0, nullptr, nullptr, instance_, nullptr);
  Check(hiddenOwner_ != nullptr, L"create the owner window");
  return hiddenOwner_;
}

Window* Shell::Root(HWND hwnd) const {
  if (hwnd == nullptr) return nullptr;
  HWND root = GetAncestor(hwnd, GA_ROOT);
  Window* const windows[] = {form1_.get(), about_.get(), effects_.get()};
  for (Window* window : windows) {
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

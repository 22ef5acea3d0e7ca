#include "ui_support.h"

#include <commctrl.h>
#include <objbase.h>

#include <cstdlib>

#include "golden.h"
#include "win32/text.h"

namespace zorvin::ui::test {

std::wstring BlockOf(std::string_view level) { return Widen(zorvin::test::GoldenBlock(level)); }

std::wstring ListingOf(std::string_view category) { return Widen(zorvin::test::GoldenListing(category)); }

std::wstring TextOf(HWND hwnd) {
  const LRESULT length = SendMessageW(hwnd, WM_GETTEXTLENGTH, 0, 0);
  std::wstring text(static_cast<std::size_t>(length) + 1, L'\0');
  const LRESULT copied = SendMessageW(hwnd, WM_GETTEXT, text.size(), reinterpret_cast<LPARAM>(text.data()));
  text.resize(static_cast<std::size_t>(copied));
  return text;
}

RECT RectInParent(HWND child) {
  RECT rect{};
  GetWindowRect(child, &rect);
  MapWindowPoints(nullptr, GetParent(child), reinterpret_cast<POINT*>(&rect), 2);
  return rect;
}

SIZE ClientSize(HWND hwnd) {
  RECT rect{};
  GetClientRect(hwnd, &rect);
  return {rect.right, rect.bottom};
}

bool HasFocus(HWND control) {
  HWND focus = GetFocus();
  return focus != nullptr && (focus == control || IsChild(control, focus));
}

bool ShortRun() {
  const char* value = std::getenv("ZORVIN_SHORT_RUN");
  return value != nullptr && *value != '\0' && *value != '0';
}

UINT TestDpi() {
  const char* value = std::getenv("ZORVIN_TEST_DPI");
  return value != nullptr ? static_cast<UINT>(std::atoi(value)) : 0;
}

void AssertSessionAtDpi(std::initializer_list<HWND> windows, UINT dpi) {
  // Asked of the system itself, not through the program's own functions.
  HMODULE user32 = GetModuleHandleW(L"user32.dll");
  const auto forSystem =
      reinterpret_cast<UINT(WINAPI*)()>(reinterpret_cast<void*>(GetProcAddress(user32, "GetDpiForSystem")));
  const auto forWindow =
      reinterpret_cast<UINT(WINAPI*)(HWND)>(reinterpret_cast<void*>(GetProcAddress(user32, "GetDpiForWindow")));
  ASSERT_TRUE(forSystem != nullptr && forWindow != nullptr);
  ASSERT_EQ(forSystem(), dpi) << "GetDpiForSystem is not the DPI this child was started at";
  for (HWND window : windows) {
    ASSERT_EQ(forWindow(window), dpi) << "GetDpiForWindow is not the DPI this child was started at: "
                                         "the session's display has another DPI";
  }
}

namespace {
INPUT Key(WORD vk, bool up) {
  INPUT input{};
  input.type = INPUT_KEYBOARD;
  input.ki.wVk = vk;
  input.ki.dwFlags = up ? KEYEVENTF_KEYUP : 0;
  return input;
}
}  // namespace

void PressKeys(std::initializer_list<WORD> keys) {
  std::vector<INPUT> inputs;
  for (WORD key : keys) inputs.push_back(Key(key, false));
  for (auto it = keys.end(); it != keys.begin();) inputs.push_back(Key(*--it, true));
  SendInput(static_cast<UINT>(inputs.size()), inputs.data(), sizeof(INPUT));
}

void TypeText(const std::wstring& text) {
  std::vector<INPUT> inputs;
  for (wchar_t c : text) {
    for (bool up : {false, true}) {
      INPUT input{};
      input.type = INPUT_KEYBOARD;
      input.ki.wScan = c;
      input.ki.dwFlags = KEYEVENTF_UNICODE | (up ? KEYEVENTF_KEYUP : 0);
      inputs.push_back(input);
    }
  }
  SendInput(static_cast<UINT>(inputs.size()), inputs.data(), sizeof(INPUT));
}

void UiTest::SetUp() {
  shell_ = std::make_unique<Shell>(
      GetModuleHandleW(nullptr), ShellHooks{
                                     [this](std::wstring_view operation) { errors_.emplace_back(operation); },
                                     [this] { ++ended_; },
                                     [this] { ++closed_; },
                                 });
}

void UiTest::TearDown() {
  shell_.reset();
  Pump();
}

void UiTest::Pump() {
  MSG message{};
  while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
    if (!shell_->PreTranslate(message)) {
      TranslateMessage(&message);
      DispatchMessageW(&message);
    }
  }
}

bool UiTest::PumpUntil(const std::function<bool()>& condition, int milliseconds) {
  const ULONGLONG until = GetTickCount64() + static_cast<ULONGLONG>(milliseconds);
  for (;;) {
    Pump();
    if (condition()) return true;
    if (GetTickCount64() > until) return false;
    MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_ALLINPUT);
  }
}

namespace {
// Set by the message hook when the fence key's release is taken from the queue.
thread_local bool fenceReached = false;
LRESULT CALLBACK WatchForFence(int code, WPARAM wParam, LPARAM lParam) {
  const auto* message = reinterpret_cast<const MSG*>(lParam);
  if (code == HC_ACTION && wParam == PM_REMOVE && message->message == WM_KEYUP && message->wParam == VK_F24) {
    fenceReached = true;
  }
  return CallNextHookEx(nullptr, code, wParam, lParam);
}
}  // namespace

bool UiTest::PumpUntilKeysHandled() {
  HHOOK hook = SetWindowsHookExW(WH_GETMESSAGE, WatchForFence, nullptr, GetCurrentThreadId());
  if (hook == nullptr) return false;
  fenceReached = false;
  PressKeys({VK_F24});
  const bool reached = PumpUntil([] { return fenceReached; });
  UnhookWindowsHookEx(hook);
  Pump();  // what the fence key's release led to
  return reached;
}

void UiTest::Start() {
  shell_->Start();
  Pump();
}

void UiTest::ClickButton(HWND button) {
  SendMessageW(button, BM_CLICK, 0, 0);
  Pump();
}

void UiTest::Menu(HWND window, int command) {
  SendMessageW(window, WM_COMMAND, MAKEWPARAM(command, 0), 0);
  Pump();
}

void UiTest::CloseBox(HWND window) {
  SendMessageW(window, WM_SYSCOMMAND, SC_CLOSE, 0);
  Pump();
}

void UiTest::DropDown() {
  SendMessageW(Settings().LevelCombo().Handle(), CB_SHOWDROPDOWN, TRUE, 0);
  Pump();
}

void UiTest::PickLevel(int index) {
  HWND combo = Settings().LevelCombo().Handle();
  SendMessageW(combo, CB_SETCURSEL, static_cast<WPARAM>(index), 0);
  SendMessageW(combo, CB_SHOWDROPDOWN, FALSE, 0);
  Pump();
}

void UiTest::SetComboText(const std::wstring& text) {
  SendMessageW(Settings().LevelCombo().Handle(), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text.c_str()));
  Pump();
}

void UiTest::SelectCategory(int index) {
  HWND list = Effects().CategoryList().Handle();
  SendMessageW(list, LB_SETCURSEL, static_cast<WPARAM>(index), 0);
  // The list reports a user's selection this way; LB_SETCURSEL alone does not.
  SendMessageW(GetParent(list), WM_COMMAND,
               MAKEWPARAM(ControlId(EffectsWindow::kCategoryList), LBN_SELCHANGE),
               reinterpret_cast<LPARAM>(list));
  Pump();
}

}  // namespace zorvin::ui::test

// Common Controls 6 through the manifest, as in the program.
int main(int argc, char** argv) {
  const INITCOMMONCONTROLSEX controls{sizeof(INITCOMMONCONTROLSEX), ICC_STANDARD_CLASSES};
  InitCommonControlsEx(&controls);
  ::testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}

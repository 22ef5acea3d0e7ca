// Process start-up: the worldspawn settings window first, then events until
// the program ends.
#include <windows.h>
#include <commctrl.h>

#include <string>

#include "ui/shell.h"
#include "ui/ui_error.h"

namespace {

// Libraries load from System32 only, never from the exe's folder or the
// current directory. The call exists from Windows 8 on (and 7 with KB2533623).
void RestrictDllSearch() {
  using SetDefaultDllDirectoriesFn = BOOL(WINAPI*)(DWORD);
  HMODULE kernel32 = GetModuleHandleW(L"kernel32.dll");
  const auto restrict = kernel32 ? reinterpret_cast<SetDefaultDllDirectoriesFn>(reinterpret_cast<void*>(
                                       GetProcAddress(kernel32, "SetDefaultDllDirectories")))
                                 : nullptr;
  if (restrict != nullptr) restrict(LOAD_LIBRARY_SEARCH_SYSTEM32);
}

// The program's single run-time error report: the standard error message, then the end.
[[noreturn]] void ReportRunTimeError(const std::wstring& operation) {
  const std::wstring text = L"Run-time error: " + operation;
  MessageBoxW(nullptr, text.c_str(), L"ZorvinEffects", MB_OK | MB_ICONERROR | MB_TASKMODAL | MB_SETFOREGROUND);
  ExitProcess(1);
}

}  // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int) {
  RestrictDllSearch();
  const INITCOMMONCONTROLSEX controls{sizeof(INITCOMMONCONTROLSEX), ICC_STANDARD_CLASSES};
  InitCommonControlsEx(&controls);
  try {
    zorvin::ui::Shell shell(instance, {
                                          ReportRunTimeError,
                                          [] { ExitProcess(0); },
                                          [] { PostQuitMessage(0); },
                                      });
    shell.Start();
    return shell.Run();
  } catch (const zorvin::ui::UiError& error) {
    ReportRunTimeError(error.Operation());
  } catch (...) {
    ReportRunTimeError(L"unexpected failure");
  }
}

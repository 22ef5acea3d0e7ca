// Process start-up: the worldspawn settings window first, then events until
// the program ends.
#include <windows.h>
#include <commctrl.h>

#include <string>

#include "error_report.h"
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

}  // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int) {
  using zorvin::app::ReportRunTimeError;
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

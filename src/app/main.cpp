// Process start-up: the worldspawn settings window first, then events until
// the program ends.
#include <windows.h>
#include <commctrl.h>

#include <string>

#include "error_report.h"
#include "ui/shell.h"
#include "win32/dpi.h"
#include "win32/error.h"
#include "win32/system_function.h"

namespace {

// Libraries load from System32 only, never from the exe's folder or the
// current directory. The call exists from Windows 8 on (and 7 with KB2533623);
// where it is missing or refused, the system's default search order stays,
// which the exe's imports (system DLLs only, all known DLLs or in System32)
// do not depend on: the program runs on, as it would have before the call.
void RestrictDllSearch() {
  using SetDefaultDllDirectoriesFn = BOOL(WINAPI*)(DWORD);
  const auto restrict =
      zorvin::win32::SystemFunction<SetDefaultDllDirectoriesFn>(L"kernel32.dll", "SetDefaultDllDirectories");
  if (restrict != nullptr) restrict(LOAD_LIBRARY_SEARCH_SYSTEM32);
}

}  // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int) {
  using zorvin::app::ReportRunTimeError;
  RestrictDllSearch();
  zorvin::win32::BecomeDpiAware();
  const INITCOMMONCONTROLSEX controls{sizeof(INITCOMMONCONTROLSEX), ICC_STANDARD_CLASSES};
  if (!InitCommonControlsEx(&controls)) ReportRunTimeError(L"register the common controls");
  try {
    zorvin::ui::Shell shell(instance, {
                                          .reportError = ReportRunTimeError,
                                          .exitNow = [] { ExitProcess(0); },
                                          .lastWindowClosed = [] { PostQuitMessage(0); },
                                      });
    shell.Start();
    return shell.Run();
  } catch (const zorvin::win32::UiError& error) {
    ReportRunTimeError(error.Operation());
  } catch (...) {
    ReportRunTimeError(L"unexpected failure");
  }
  return 1;
}

// Process start-up: the worldspawn settings window first, then events until
// the program ends.
#include <windows.h>
#include <commctrl.h>

#include <string>

#include "error_report.h"
#include "ui/shell.h"
#include "win32/error.h"

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

// Per-monitor DPI awareness (v2 where the system has it). The manifest asks
// for the same; these calls cover systems that read only part of it, and fail
// harmlessly where the manifest already took effect.
void BecomeDpiAware() {
  using SetContextFn = BOOL(WINAPI*)(HANDLE);
  using SetAwareFn = BOOL(WINAPI*)();
  HMODULE user32 = GetModuleHandleW(L"user32.dll");
  if (user32 == nullptr) return;
  const auto setContext = reinterpret_cast<SetContextFn>(
      reinterpret_cast<void*>(GetProcAddress(user32, "SetProcessDpiAwarenessContext")));
  // DPI_AWARENESS_CONTEXT_PER_MONITOR_AWARE_V2, then _PER_MONITOR_AWARE.
  if (setContext != nullptr && (setContext(reinterpret_cast<HANDLE>(static_cast<INT_PTR>(-4))) ||
                                setContext(reinterpret_cast<HANDLE>(static_cast<INT_PTR>(-3))))) {
    return;
  }
  const auto setAware =
      reinterpret_cast<SetAwareFn>(reinterpret_cast<void*>(GetProcAddress(user32, "SetProcessDPIAware")));
  if (setAware != nullptr) setAware();
}

}  // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int) {
  using zorvin::app::ReportRunTimeError;
  RestrictDllSearch();
  BecomeDpiAware();
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
}

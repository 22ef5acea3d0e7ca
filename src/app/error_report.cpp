#include "error_report.h"

#include <windows.h>

#include <atomic>
#include <string>

namespace zorvin::app {

void ReportRunTimeError(std::wstring_view operation) noexcept {
  // The report's message loop still runs the windows' handlers (a repaint
  // when the box is moved over them, for one). One that fails again must not
  // stack a second report on the first: OK on the one beneath would then
  // leave the process running with the other still up.
  static std::atomic<bool> shown{false};
  if (shown.exchange(true)) return;
  constexpr UINT kStyle = MB_OK | MB_ICONERROR | MB_TASKMODAL | MB_SETFOREGROUND;
  try {
    const std::wstring text = L"Run-time error: " + std::wstring(operation);
    MessageBoxW(nullptr, text.c_str(), L"ZorvinEffects", kStyle);
  } catch (...) {
    MessageBoxW(nullptr, L"Run-time error: out of memory", L"ZorvinEffects", kStyle);
  }
  ExitProcess(1);
}

}  // namespace zorvin::app

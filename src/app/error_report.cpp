#include "error_report.h"

#include <windows.h>

#include <string>

namespace zorvin::app {

void ReportRunTimeError(std::wstring_view operation) noexcept {
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

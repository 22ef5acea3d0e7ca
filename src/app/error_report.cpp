#include "error_report.h"

#include <windows.h>

namespace zorvin::app {

void ReportRunTimeError(const std::wstring& operation) {
  const std::wstring text = L"Run-time error: " + operation;
  MessageBoxW(nullptr, text.c_str(), L"ZorvinEffects",
              MB_OK | MB_ICONERROR | MB_TASKMODAL | MB_SETFOREGROUND);
  ExitProcess(1);
}

}  // namespace zorvin::app

// The program's single run-time error report.
#pragma once

#include <string>

namespace zorvin::app {

// The standard error message for a failed operation, then the end of the
// process with exit status 1.
[[noreturn]] void ReportRunTimeError(const std::wstring& operation);

}  // namespace zorvin::app

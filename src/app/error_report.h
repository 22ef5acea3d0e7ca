// The program's single run-time error report.
#pragma once

#include <string_view>

namespace zorvin::app {

// The standard error message for a failed operation, then the end of the
// process with exit status 1; with no memory left to write the message, the
// message for running out of it. The first failure is the one reported: a
// call made while its report is up (by a handler the report's own message
// loop ran) returns at once, and the process ends when that report is closed.
void ReportRunTimeError(std::wstring_view operation) noexcept;

}  // namespace zorvin::app

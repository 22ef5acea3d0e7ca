// The program's single run-time error report.
#pragma once

#include <string_view>

namespace zorvin::app {

// The standard error message for a failed operation, then the end of the
// process with exit status 1; with no memory left to write the message, the
// message for running out of it.
[[noreturn]] void ReportRunTimeError(std::wstring_view operation) noexcept;

}  // namespace zorvin::app

// The one kind of error the user interface raises: a window or control
// operation that failed, named for the run-time error report.
#pragma once

#include <stdexcept>
#include <string>

namespace zorvin::win32 {

class UiError : public std::runtime_error {
 public:
  // operation: what failed, for the user, such as "Form1.Text1: set text".
  explicit UiError(std::wstring operation);

  const std::wstring& Operation() const { return operation_; }

 private:
  std::wstring operation_;
};

// Raises UiError for operation.
[[noreturn]] void Fail(const std::wstring& operation);

// Raises UiError for operation unless ok.
inline void Check(bool ok, const std::wstring& operation) {
  if (!ok) Fail(operation);
}

}  // namespace zorvin::win32

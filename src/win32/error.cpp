#include "win32/error.h"

namespace zorvin::win32 {

namespace {
std::string Narrow(const std::wstring& text) {
  std::string out;
  out.reserve(text.size());
  for (wchar_t c : text) out += c < 128 ? static_cast<char>(c) : '?';
  return out;
}
}  // namespace

UiError::UiError(std::wstring operation)
    : std::runtime_error(Narrow(operation)), operation_(std::move(operation)) {}

void Fail(const std::wstring& operation) { throw UiError(operation); }

}  // namespace zorvin::win32

#include "ui/ui_error.h"

namespace zorvin::ui {

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

}  // namespace zorvin::ui

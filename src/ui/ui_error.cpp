#include "ui/ui_error.h"

#include <windows.h>

namespace zorvin::ui {

namespace {
std::string Narrow(const std::wstring& text) {
  std::string out;
  out.reserve(text.size());
  for (wchar_t c : text) out += c < 128 ? static_cast<char>(c) : '?';
  return out;
}
}  // namespace

UiError::UiError(std::wstring operation, unsigned long systemError)
    : std::runtime_error(Narrow(operation)), operation_(std::move(operation)), systemError_(systemError) {}

void Fail(const std::wstring& operation) { throw UiError(operation, GetLastError()); }

}  // namespace zorvin::ui

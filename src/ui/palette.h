// The colours the program's designs name.
#pragma once

#include <cstdint>

#include "win32/design.h"

namespace zorvin::ui {

// The labels' text in the settings and effects windows.
inline constexpr std::uint32_t kLabelRed = win32::Rgb(255, 0, 0);

}  // namespace zorvin::ui

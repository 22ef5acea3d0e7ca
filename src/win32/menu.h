// Menu bars built from their design.
#pragma once

#include <span>
#include <string>

#include "win32/design.h"
#include "win32/handles.h"

namespace zorvin::win32 {

// A menu bar of items, or a drop-down when popup; raises UiError for operation
// when the system refuses, having freed what it built.
Menu BuildMenu(std::span<const MenuDesign> items, bool popup, const std::wstring& operation);

}  // namespace zorvin::win32

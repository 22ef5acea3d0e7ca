// Labels are drawn beneath the windowed controls: each label is clipped to
// the part of it that no other control covers. Labels keep their place in the
// child order, just before the control they name, where screen readers look
// for a control's name; that order is also the drawing order, so without the
// clip a label would paint over the edge of the control below it.
#pragma once

#include <windows.h>

#include <span>
#include <string_view>

#include "win32/design.h"

namespace zorvin::win32 {

// controls[i] is the window of rows[i], on the window named windowName (for error reports).
void ClipLabelsBeneathControls(std::span<const HWND> controls, std::span<const ControlDesign> rows,
                               std::wstring_view windowName);

}  // namespace zorvin::win32

// Labels are drawn beneath the windowed controls: each label is clipped to
// the part of it that no other control covers. Labels keep their place in the
// child order, just before the control they name, where screen readers look
// for a control's name; that order is also the drawing order, so without the
// clip a label would paint over the edge of the control below it.
#pragma once

#include <windows.h>

#include <functional>
#include <span>
#include <string>

#include "win32/design.h"

namespace zorvin::win32 {

// controls[i] is the window of rows[i]; operationOf(i) names the clip of
// label i in an error report.
void ClipLabelsBeneathControls(std::span<const HWND> controls, std::span<const ControlDesign> rows,
                               const std::function<std::wstring(std::size_t)>& operationOf);

}  // namespace zorvin::win32

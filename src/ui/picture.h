// Pictures stored in the program's resources.
#pragma once

#include <windows.h>

#include "ui/handles.h"

namespace zorvin::ui {

// Decodes the JPEG stored as RCDATA resource id into a bitmap for drawing.
Picture LoadJpegResource(HINSTANCE module, int id);

}  // namespace zorvin::ui

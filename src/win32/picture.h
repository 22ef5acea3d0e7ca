// Pictures stored in the program's resources.
#pragma once

#include <windows.h>

#include <string>

#include "win32/handles.h"

namespace zorvin::win32 {

// Decodes the JPEG stored as RCDATA resource id into a bitmap for drawing;
// raises UiError for operation when that fails.
Picture LoadJpegResource(HINSTANCE module, int id, const std::wstring& operation);

}  // namespace zorvin::win32

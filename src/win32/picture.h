// Pictures: a bitmap with its size, decoded from the program's resources, and
// a memory device context to draw one from.
#pragma once

#include <windows.h>

#include <string>

#include "win32/handles.h"

namespace zorvin::win32 {

// A bitmap with its size in pixels.
struct Picture {
  Bitmap bitmap;
  int width = 0;
  int height = 0;
};

// A memory device context like another, with a bitmap selected into it for
// as long as it lives. Raises UiError for operation when it cannot be made.
class MemoryDc {
 public:
  MemoryDc(HDC like, HBITMAP bitmap, const std::wstring& operation);
  ~MemoryDc();
  MemoryDc(const MemoryDc&) = delete;
  MemoryDc& operator=(const MemoryDc&) = delete;

  HDC Get() const { return dc_; }

 private:
  HDC dc_ = nullptr;
  HGDIOBJ previous_ = nullptr;
};


// The bitmap stored as BITMAP resource id, for drawing; raises UiError for
// operation when it cannot be loaded.
Picture LoadBitmapResource(HINSTANCE module, int id, const std::wstring& operation);

}  // namespace zorvin::win32

// Owned handles: move-only, freed when the owner goes.
#pragma once

#include <windows.h>

#include <string>
#include <utility>

namespace zorvin::win32 {

// A handle freed by Free::operator()(handle) when its owner goes.
template <typename Handle, typename Free>
class Owned {
 public:
  Owned() = default;
  explicit Owned(Handle handle) : handle_(handle) {}
  Owned(Owned&& other) noexcept : handle_(std::exchange(other.handle_, nullptr)) {}
  Owned& operator=(Owned&& other) noexcept {
    if (this != &other) Reset(std::exchange(other.handle_, nullptr));
    return *this;
  }
  Owned(const Owned&) = delete;
  Owned& operator=(const Owned&) = delete;
  ~Owned() { Reset(); }

  Handle Get() const { return handle_; }
  explicit operator bool() const { return handle_ != nullptr; }
  // Gives the handle up to a new owner, such as the system.
  Handle Release() { return std::exchange(handle_, nullptr); }
  void Reset(Handle handle = nullptr) {
    if (handle_ != nullptr) Free{}(handle_);
    handle_ = handle;
  }

 private:
  Handle handle_ = nullptr;
};

struct DeleteGdiObject {
  void operator()(HGDIOBJ object) const { DeleteObject(object); }
};
struct DestroyMenuHandle {
  void operator()(HMENU menu) const { DestroyMenu(menu); }
};
struct DestroyWindowHandle {
  void operator()(HWND window) const { DestroyWindow(window); }
};

using Font = Owned<HFONT, DeleteGdiObject>;
using Bitmap = Owned<HBITMAP, DeleteGdiObject>;
using Region = Owned<HRGN, DeleteGdiObject>;
using Brush = Owned<HBRUSH, DeleteGdiObject>;
using Menu = Owned<HMENU, DestroyMenuHandle>;
// A window that is none of the program's designed windows, such as a hidden owner.
using PlainWindow = Owned<HWND, DestroyWindowHandle>;

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

}  // namespace zorvin::win32

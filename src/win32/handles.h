// Owned handles: move-only, freed when the owner goes.
#pragma once

#include <windows.h>

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

}  // namespace zorvin::win32

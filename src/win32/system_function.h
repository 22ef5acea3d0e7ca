// A function of a system DLL looked up at run time, for calls that newer
// Windows versions have and older ones lack.
#pragma once

#include <windows.h>

namespace zorvin::win32 {

// The function name of module (already loaded, such as user32.dll), or
// nullptr where this system has none.
template <typename Function>
Function SystemFunction(const wchar_t* module, const char* name) {
  HMODULE loaded = GetModuleHandleW(module);
  return loaded ? reinterpret_cast<Function>(reinterpret_cast<void*>(GetProcAddress(loaded, name))) : nullptr;
}

}  // namespace zorvin::win32

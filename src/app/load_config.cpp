// The exe's load configuration, which the Windows loader reads before any DLL
// is loaded: dependencies of the exe's imports are searched in System32 only.
// (With MSVC the linker option /DEPENDENTLOADFLAG:0x800 writes the same field.)
#include <windows.h>

namespace {
constexpr IMAGE_LOAD_CONFIG_DIRECTORY MakeLoadConfig() {
  IMAGE_LOAD_CONFIG_DIRECTORY config{};
  config.Size = sizeof(config);
  // MinGW's header still calls the DependentLoadFlags field Reserved1.
  config.Reserved1 = LOAD_LIBRARY_SEARCH_SYSTEM32;
  return config;
}
}  // namespace

// The linker finds the table by this name; it must be constant data, ready
// before any code of the exe runs.
extern "C" const IMAGE_LOAD_CONFIG_DIRECTORY _load_config_used;
constinit const IMAGE_LOAD_CONFIG_DIRECTORY _load_config_used = MakeLoadConfig();

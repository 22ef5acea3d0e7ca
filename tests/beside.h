// The path of an exe in the folder of the running one (the build's bin folder).
#pragma once

#include <windows.h>

#include <string>

inline std::wstring Beside(const wchar_t* name) {
  wchar_t path[MAX_PATH] = {};
  GetModuleFileNameW(nullptr, path, MAX_PATH);
  std::wstring folder(path);
  folder.resize(folder.find_last_of(L"\\/") + 1);
  return folder + name;
}

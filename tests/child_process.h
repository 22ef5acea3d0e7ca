// Another exe of the build started as a child process: the program, the
// benchmark's floor, or a test exe re-run with other settings. The child is
// ended when the object goes, if it still runs.
#pragma once

#include <windows.h>

#include <chrono>
#include <string>

// The path of an exe in the folder of the running one (the build's bin folder).
inline std::wstring Beside(const wchar_t* name) {
  wchar_t path[MAX_PATH] = {};
  GetModuleFileNameW(nullptr, path, MAX_PATH);
  std::wstring folder(path);
  folder.resize(folder.find_last_of(L"\\/") + 1);
  return folder + name;
}

class ChildProcess {
 public:
  // exe: a full path; arguments are appended after a blank. The child
  // inherits this process's environment.
  explicit ChildProcess(const std::wstring& exe, const std::wstring& arguments = L"") {
    std::wstring command = L"\"" + exe + L"\"";
    if (!arguments.empty()) command += L" " + arguments;
    STARTUPINFOW startup{};
    startup.cb = sizeof(startup);
    started_ = std::chrono::steady_clock::now();
    ok_ = CreateProcessW(nullptr, command.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup,
                         &process_);
  }
  ~ChildProcess() {
    if (!ok_) return;
    if (WaitForSingleObject(process_.hProcess, 0) == WAIT_TIMEOUT) {
      TerminateProcess(process_.hProcess, 99);
      WaitForSingleObject(process_.hProcess, 5000);
    }
    CloseHandle(process_.hThread);
    CloseHandle(process_.hProcess);
  }
  ChildProcess(const ChildProcess&) = delete;
  ChildProcess& operator=(const ChildProcess&) = delete;

  bool Started() const { return ok_ != FALSE; }
  DWORD Id() const { return process_.dwProcessId; }
  // The exit code, or -1 when the process is still running after the wait.
  // The bound is for a hang: under the x86 build's emulation, with the other
  // core busy, a child that ends at once has been seen to take over 5 s.
  long ExitCode(int milliseconds = 30000) const {
    if (!ok_ || WaitForSingleObject(process_.hProcess, static_cast<DWORD>(milliseconds)) != WAIT_OBJECT_0) {
      return -1;
    }
    DWORD code = 0;
    GetExitCodeProcess(process_.hProcess, &code);
    return static_cast<long>(code);
  }
  double MillisecondsSinceStart() const {
    return std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - started_).count();
  }

 private:
  PROCESS_INFORMATION process_{};
  BOOL ok_ = FALSE;
  std::chrono::steady_clock::time_point started_;
};

// A child process for the tests of the failure path, ending as the program
// ends on a failure: in the run-time error report, then status 1.
//   fault_child              reports one failed operation, as the program does
//   fault_child KIND         shows a window of the program's own kind (the
//                            same window procedure, shell and report) whose
//                            handler for a posted command throws: KIND is
//                            runtime_error, bad_alloc, nested (thrown by a
//                            handler that runs inside another handler's
//                            SendMessage, beneath the system's frames), or
//                            no_memory (bad_alloc, and no allocation succeeds
//                            after it: the report must need none)
#include <windows.h>

#include <cstdlib>
#include <new>
#include <stdexcept>
#include <string_view>

#include "error_report.h"
#include "ui/shell.h"
#include "win32/window.h"

// Once set, every allocation of the process fails, as when memory has run out.
bool g_noMemory = false;

void* operator new(std::size_t size) {
  void* block = g_noMemory ? nullptr : std::malloc(size == 0 ? 1 : size);
  if (block == nullptr) throw std::bad_alloc();
  return block;
}
void* operator new[](std::size_t size) { return ::operator new(size); }
void operator delete(void* block) noexcept { std::free(block); }
void operator delete[](void* block) noexcept { std::free(block); }
void operator delete(void* block, std::size_t) noexcept { std::free(block); }
void operator delete[](void* block, std::size_t) noexcept { std::free(block); }

namespace {

using zorvin::ui::Shell;
using zorvin::win32::Window;
using zorvin::win32::WindowDesign;

constexpr int kThrow = 1;
constexpr int kThrowInside = 2;

const WindowDesign kDesign{
    .name = L"FaultWindow",
    .caption = L"Fault child",
    .style = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU,
    .exStyle = 0,
    .clientWidth = 3000,
    .clientHeight = 1500,
    .background = COLOR_BTNFACE,
};

class FaultWindow : public Window {
 public:
  FaultWindow(Shell& shell, std::wstring_view kind) : Window(shell, kDesign), kind_(kind) {}

 private:
  void OnControl(std::size_t, int) override {}
  void OnCommand(int id) override {
    if (id == kThrow && kind_ == L"nested") {
      SendMessageW(Handle(), WM_COMMAND, kThrowInside, 0);
      return;
    }
    if (id != kThrow && id != kThrowInside) return;
    if (kind_ == L"bad_alloc") throw std::bad_alloc();
    if (kind_ == L"no_memory") {
      g_noMemory = true;
      throw std::bad_alloc();
    }
    if (kind_ == L"nested") throw 42;
    throw std::runtime_error("fault");
  }
  std::wstring_view kind_;
};

}  // namespace

int wmain(int argc, wchar_t** argv) {
  using zorvin::app::ReportRunTimeError;
  if (argc < 2) return 2;  // which fault is named on the command line
  Shell shell(GetModuleHandleW(nullptr), {.reportError = ReportRunTimeError,
                                          .exitNow = [] { ExitProcess(0); },
                                          .lastWindowClosed = [] { PostQuitMessage(0); }});
  FaultWindow window(shell, argv[1]);
  window.Load();
  window.ShowActive();
  return shell.Run();
}

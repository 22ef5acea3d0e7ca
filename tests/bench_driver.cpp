// Measures, in one run: start-up of ZorvinEffects.exe against the floor
// program, and the time of a lookup and of a category switch in-process.
// Prints a table; it asserts nothing (a benchmark, not a test).
#include <windows.h>
#include <commctrl.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <string>
#include <vector>

#include "beside.h"
#include "ui/form1.h"
#include "ui/frm_zorvin_efx.h"
#include "ui/ids.h"
#include "ui/shell.h"

namespace {

using Clock = std::chrono::steady_clock;

struct Search {
  DWORD pid;
  bool found;
};

BOOL CALLBACK FindVisible(HWND hwnd, LPARAM lParam) {
  auto& search = *reinterpret_cast<Search*>(lParam);
  DWORD pid = 0;
  GetWindowThreadProcessId(hwnd, &pid);
  if (pid == search.pid && IsWindowVisible(hwnd)) search.found = true;
  return !search.found;
}

// Milliseconds from process creation until its first visible window.
double StartUp(const std::wstring& exe) {
  std::wstring command = L"\"" + exe + L"\"";
  STARTUPINFOW startup{};
  startup.cb = sizeof(startup);
  PROCESS_INFORMATION process{};
  const auto started = Clock::now();
  if (!CreateProcessW(nullptr, command.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup,
                      &process)) {
    return -1;
  }
  Search search{process.dwProcessId, false};
  while (!search.found && Clock::now() - started < std::chrono::seconds(10)) {
    EnumWindows(FindVisible, reinterpret_cast<LPARAM>(&search));
    if (!search.found) Sleep(1);
  }
  const double ms = std::chrono::duration<double, std::milli>(Clock::now() - started).count();
  TerminateProcess(process.hProcess, 0);
  WaitForSingleObject(process.hProcess, 5000);
  CloseHandle(process.hThread);
  CloseHandle(process.hProcess);
  return search.found ? ms : -1;
}

double Median(std::vector<double> values) {
  std::sort(values.begin(), values.end());
  return values[values.size() / 2];
}

void Pump() {
  MSG message{};
  while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) DispatchMessageW(&message);
}

}  // namespace

int main(int argc, char** argv) {
  const int runs = argc > 1 ? std::max(1, std::atoi(argv[1])) : 15;
  std::vector<double> program, floor;
  StartUp(Beside(L"ZorvinEffects.exe"));  // warm the caches of both before measuring
  StartUp(Beside(L"bench_floor.exe"));
  for (int i = 0; i < runs; ++i) {  // interleaved, so both see the same machine
    program.push_back(StartUp(Beside(L"ZorvinEffects.exe")));
    floor.push_back(StartUp(Beside(L"bench_floor.exe")));
  }
  const double p = Median(program), f = Median(floor);
  std::printf("start-up to first window, median of %d: ZorvinEffects %.1f ms, floor %.1f ms, ratio %.2f\n",
              runs, p, f, p / f);

  const INITCOMMONCONTROLSEX controls{sizeof(INITCOMMONCONTROLSEX), ICC_STANDARD_CLASSES};
  InitCommonControlsEx(&controls);
  zorvin::ui::Shell shell(GetModuleHandleW(nullptr), {[](const std::wstring&) {}, [] {}, [] {}});
  shell.Start();
  shell.EffectsListChosen();
  shell.WorldspawnSettingsChosen();
  Pump();
  const wchar_t* levels[] = {L"mp_toujane", L"sp_hill400_assault", L"mp_downtown", L"sp_newvillers"};
  constexpr int kRepeats = 1000;
  auto started = Clock::now();
  for (int i = 0; i < kRepeats; ++i) {
    shell.TheForm1().Combo1().SetText(levels[i % 4]);
    shell.TheForm1().Command1Click();
  }
  const double lookup = std::chrono::duration<double, std::micro>(Clock::now() - started).count() / kRepeats;
  const zorvin::ui::ListBox list = shell.TheEffects().List1();
  started = Clock::now();
  for (int i = 0; i < kRepeats; ++i) {
    SendMessageW(list.Handle(), LB_SETCURSEL, static_cast<WPARAM>((i * 7) % 66), 0);
    shell.TheEffects().List1Click();
  }
  const double change = std::chrono::duration<double, std::micro>(Clock::now() - started).count() / kRepeats;
  std::printf("lookup (set the level, press MP/SPSettings): %.0f us; category switch: %.0f us (mean of %d)\n",
              lookup, change, kRepeats);
  return 0;
}

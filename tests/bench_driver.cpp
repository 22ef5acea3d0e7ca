// Measures, in one run: start-up of ZorvinEffects.exe against the floor
// program (bare, and with one push button), then where the start-up's time
// goes (the program's own steps, made in a fresh process of this exe); and the
// time of a lookup and of a category switch in-process, each then split into
// the program's own work and the time spent inside each control. Prints its
// figures; it asserts nothing (a benchmark, not a test).
#include <windows.h>
#include <commctrl.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "child_process.h"
#include "effects/effects_catalog.h"
#include "settings/level_catalog.h"
#include "settings/settings_record.h"
#include "ui/settings_window.h"
#include "ui/effects_window.h"
#include "ui/shell.h"
#include "win32/dpi.h"
#include "win32/text.h"

namespace {
using namespace zorvin;

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
double StartUp(const std::wstring& exe, const wchar_t* arguments = L"") {
  const ChildProcess child(exe, arguments);  // ended when it goes
  if (!child.Started()) return -1;
  Search search{child.Id(), false};
  while (!search.found && child.MillisecondsSinceStart() < 10000) {
    EnumWindows(FindVisible, reinterpret_cast<LPARAM>(&search));
    if (!search.found) Sleep(1);
  }
  const double ms = child.MillisecondsSinceStart();
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

// Mean microseconds of one call of step over repeats calls (step gets the call's index).
template <typename Step>
double MeanMicroseconds(int repeats, Step step) {
  const auto started = Clock::now();
  for (int i = 0; i < repeats; ++i) step(i);
  return std::chrono::duration<double, std::micro>(Clock::now() - started).count() / repeats;
}

// Start-up's steps, timed in a fresh process of this exe and appended to the
// file named: the system's part before main (from the process's creation),
// then each step of the program's start-up, the load split at each window it
// creates (a step runs from that creation to the next).
struct Stamps {
  Clock::time_point last = Clock::now();
  std::vector<std::pair<std::string, double>> steps;
  std::string current;
  int windows = 0;
  // Ends the current step and starts the one named.
  void Next(std::string name) {
    const auto now = Clock::now();
    steps.emplace_back(std::move(current), std::chrono::duration<double, std::milli>(now - last).count());
    current = std::move(name);
    last = now;
  }
};
Stamps* stamps = nullptr;

LRESULT CALLBACK StampCreation(int code, WPARAM wParam, LPARAM lParam) {
  if (code == HCBT_CREATEWND) {
    const auto* create = reinterpret_cast<CBT_CREATEWNDW*>(lParam)->lpcs;
    const std::string className =
        IS_INTRESOURCE(create->lpszClass) ? "a system class" : win32::ToUtf8(create->lpszClass);
    stamps->Next("load: window " + std::to_string(++stamps->windows) + ", " + className);
  }
  return CallNextHookEx(nullptr, code, wParam, lParam);
}

int StartUpSteps(const char* file) {
  FILETIME created{}, unused{}, now{};
  GetProcessTimes(GetCurrentProcess(), &created, &unused, &unused, &unused);
  GetSystemTimePreciseAsFileTime(&now);
  const auto ticks = [](FILETIME time) {
    return static_cast<double>((static_cast<ULONGLONG>(time.dwHighDateTime) << 32) | time.dwLowDateTime);
  };
  Stamps marks;
  stamps = &marks;
  marks.steps.emplace_back("process creation to main", (ticks(now) - ticks(created)) / 10000);
  marks.current = "DPI awareness";
  win32::BecomeDpiAware();
  marks.Next("register the common controls");
  const INITCOMMONCONTROLSEX controls{sizeof(INITCOMMONCONTROLSEX), ICC_STANDARD_CLASSES};
  InitCommonControlsEx(&controls);
  marks.Next("load: up to the first window");
  ui::Shell shell(GetModuleHandleW(nullptr), {[](std::wstring_view) {}, [] {}, [] {}});
  ui::SettingsWindow& form = shell.Settings();
  HHOOK hook = SetWindowsHookExW(WH_CBT, StampCreation, nullptr, GetCurrentThreadId());
  form.Load();
  UnhookWindowsHookEx(hook);
  marks.Next("show");
  form.ShowActive();
  marks.Next("");
  std::ofstream out(file, std::ios::app);
  for (const auto& [name, ms] : marks.steps) out << name << '\t' << ms << '\n';
  return 0;
}

// The median of each step over runs of StartUpSteps, in the order they come.
void PrintStartUpSteps(int runs) {
  wchar_t folder[MAX_PATH] = {};
  GetTempPathW(MAX_PATH, folder);
  const std::wstring file = std::wstring(folder) + L"zorvin-start-up-steps.txt";
  DeleteFileW(file.c_str());
  for (int i = 0; i < runs; ++i) {
    const ChildProcess child(Beside(L"bench_driver.exe"), L"--start-up-steps \"" + file + L"\"");
    child.ExitCode(10000);
  }
  std::ifstream in(win32::ToUtf8(file));
  std::vector<std::string> order;
  std::map<std::string, std::vector<double>> times;
  std::string line;
  while (std::getline(in, line)) {
    const std::size_t tab = line.find('\t');
    if (tab == std::string::npos) continue;
    const std::string name = line.substr(0, tab);
    if (times.find(name) == times.end()) order.push_back(name);
    times[name].push_back(std::stod(line.substr(tab + 1)));
  }
  DeleteFileW(file.c_str());
  double total = 0;
  std::printf("where the start-up goes (this exe, the same steps; median of %d):\n", runs);
  for (const std::string& name : order) {
    const double ms = Median(times[name]);
    total += ms;
    std::printf("  %-52s %6.1f ms\n", name.c_str(), ms);
  }
  std::printf("  %-52s %6.1f ms\n", "sum", total);
}

}  // namespace

int main(int argc, char** argv) {
  using namespace zorvin;
  if (argc > 2 && std::strcmp(argv[1], "--start-up-steps") == 0) return StartUpSteps(argv[2]);
  const int runs = argc > 1 ? std::max(1, std::atoi(argv[1])) : 15;
  const std::wstring program = Beside(L"ZorvinEffects.exe"), floor = Beside(L"bench_floor.exe");
  // Another build of the program to set beside this one (an earlier one, say).
  const std::wstring other = argc > 2 ? win32::Widen(argv[2]) : L"";
  std::vector<double> programTimes, floorTimes, controlsTimes, windowTimes, otherTimes;
  StartUp(program);  // warm the caches before measuring
  StartUp(floor);
  if (!other.empty()) StartUp(other);
  for (int i = 0; i < runs; ++i) {  // interleaved, so all see the same machine
    programTimes.push_back(StartUp(program));
    floorTimes.push_back(StartUp(floor));
    controlsTimes.push_back(StartUp(floor, L"controls"));
    windowTimes.push_back(StartUp(floor, L"window"));
    if (!other.empty()) otherTimes.push_back(StartUp(other));
  }
  const double p = Median(programTimes), f = Median(floorTimes), c = Median(controlsTimes);
  std::printf("start-up to first window, median of %d: ZorvinEffects %.1f ms, floor %.1f ms, ratio %.2f\n",
              runs, p, f, p / f);
  std::printf("  the floor with one themed push button (loads the common controls): %.1f ms, ratio %.2f\n", c,
              p / c);
  const double w = Median(windowTimes);
  std::printf("  the floor that makes the settings window by hand (menu, icon, font, its five controls): %.1f ms, "
              "ratio %.2f\n", w, p / w);
  if (!other.empty()) {
    const double o = Median(otherTimes);
    std::printf("  %s: %.1f ms, ratio %.2f to the floor with the button\n", argv[2], o, o / c);
  }
  PrintStartUpSteps(runs);

  const INITCOMMONCONTROLSEX controls{sizeof(INITCOMMONCONTROLSEX), ICC_STANDARD_CLASSES};
  InitCommonControlsEx(&controls);
  ui::Shell shell(GetModuleHandleW(nullptr), {[](std::wstring_view) {}, [] {}, [] {}});
  shell.Start();
  shell.EffectsListChosen();
  shell.WorldspawnSettingsChosen();
  Pump();
  constexpr int kRepeats = 1000;
  const wchar_t* levels[] = {L"mp_toujane", L"sp_hill400_assault", L"mp_downtown", L"sp_newvillers"};
  ui::SettingsWindow& form = shell.Settings();
  const double lookup = MeanMicroseconds(kRepeats, [&](int i) {
    form.LevelCombo().SetText(levels[i % 4]);
    form.ShowSettingsPressed();
  });
  // The same steps one by one: the program's own work, then each control's.
  SettingsClass record;
  std::wstring block;
  const double combo = MeanMicroseconds(kRepeats, [&](int i) { form.LevelCombo().SetText(levels[i % 4]); });
  const double own = MeanMicroseconds(kRepeats, [&](int) {
    const LevelEntry* entry = FindLevel(win32::ToUtf8(form.LevelCombo().Text()));
    FillRecord(record, *entry);
    block = win32::Widen(RenderBlock(record, entry->Layout()));
  });
  const double label = MeanMicroseconds(kRepeats, [&](int) {
    form.BlockStore().SetCaption(block);
    block = form.BlockStore().Caption();
  });
  const double text = MeanMicroseconds(kRepeats, [&](int) { form.BlockText().SetText(block); });
  std::printf("lookup (set the level, press MP/SPSettings): %.0f us (mean of %d)\n", lookup, kRepeats);
  std::printf(
      "  set Combo1 %.0f us; read it, find, fill and render %.0f us; set and read Label1 %.0f us; "
      "set Text1 %.0f us\n",
      combo, own, label, text);

  ui::EffectsWindow& effects = shell.Effects();
  const win32::ListBox list = effects.CategoryList();
  auto select = [&](int i) {
    SendMessageW(list.Handle(), LB_SETCURSEL, static_cast<WPARAM>((i * 7) % 66), 0);
  };
  const double change = MeanMicroseconds(kRepeats, [&](int i) {
    select(i);
    effects.CategorySelected();
  });
  const double selecting = MeanMicroseconds(kRepeats, select);
  std::wstring listing;
  const double finding = MeanMicroseconds(
      kRepeats, [&](int) { listing = win32::Widen(*FindEffectsListing(win32::ToUtf8(list.CurrentText()))); });
  const double box = MeanMicroseconds(kRepeats, [&](int i) {
    select(i);
    effects.ListingText().SetText(win32::Widen(*FindEffectsListing(win32::ToUtf8(list.CurrentText()))));
  });
  std::printf("category switch (select, show the listing): %.0f us (mean of %d)\n", change, kRepeats);
  std::printf("  select in List1 %.0f us; read it and find %.0f us; set Text1 %.0f us\n", selecting, finding,
              box - selecting - finding);
  return 0;
}

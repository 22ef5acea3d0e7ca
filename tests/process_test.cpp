// ZorvinEffects.exe as a user starts it: a child process driven from outside
// through its windows.
#include <gtest/gtest.h>
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "child_process.h"
#include "ui/settings_window.h"
#include "ui/ids.h"

namespace {

using zorvin::ui::kCmdAbout;
using zorvin::ui::kCmdEffectsList;
using zorvin::ui::kCmdExit;
using zorvin::ui::SettingsWindow;
using zorvin::win32::ControlId;

const wchar_t* const kForm1 = L"Zorvin WorldSpawn Settings";
const wchar_t* const kEffects = L"Ostrel Zorvin Effects List";
const wchar_t* const kAbout = L"Worldspawn Utility";

struct Found {
  DWORD pid;
  std::wstring caption;
  bool visibleOnly;
  std::vector<HWND> windows;
};

BOOL CALLBACK Collect(HWND hwnd, LPARAM lParam) {
  auto& found = *reinterpret_cast<Found*>(lParam);
  DWORD pid = 0;
  GetWindowThreadProcessId(hwnd, &pid);
  if (pid != found.pid || (found.visibleOnly && !IsWindowVisible(hwnd))) return TRUE;
  wchar_t caption[128] = {};
  SendMessageTimeoutW(hwnd, WM_GETTEXT, 128, reinterpret_cast<LPARAM>(caption), SMTO_ABORTIFHUNG, 1000,
                      nullptr);
  if (found.caption.empty() ? caption[0] != L'\0' : found.caption == caption) found.windows.push_back(hwnd);
  return TRUE;
}

class Program : public ChildProcess {
 public:
  explicit Program(const wchar_t* exe = L"ZorvinEffects.exe", const wchar_t* arguments = L"")
      : ChildProcess(Beside(exe), arguments) {}

  // Visible top-level windows with a caption (all captions when caption is empty).
  std::vector<HWND> Windows(const std::wstring& caption = L"", bool visibleOnly = true) const {
    Found found{Id(), caption, visibleOnly, {}};
    EnumWindows(Collect, reinterpret_cast<LPARAM>(&found));
    return found.windows;
  }
  HWND WaitFor(const std::wstring& caption, int milliseconds = 10000) const {
    HWND hwnd = nullptr;
    Until([&] { return (hwnd = First(caption)) != nullptr; }, milliseconds);
    return hwnd;
  }
  HWND First(const std::wstring& caption) const {
    const auto windows = Windows(caption);
    return windows.empty() ? nullptr : windows.front();
  }
  bool Until(const std::function<bool()>& condition, int milliseconds = 5000) const {
    for (int waited = 0; waited < milliseconds; waited += 20) {
      if (condition()) return true;
      Sleep(20);
    }
    return condition();
  }
};

void Command(HWND window, int command) { PostMessageW(window, WM_COMMAND, MAKEWPARAM(command, 0), 0); }
void Close(HWND window) { PostMessageW(window, WM_SYSCOMMAND, SC_CLOSE, 0); }

TEST(Program, StartsWithTheWorldspawnSettingsWindowAlone) {
  Program program;
  ASSERT_TRUE(program.Started());
  HWND form1 = program.WaitFor(kForm1);
  ASSERT_NE(form1, nullptr);
  const int firstWindow = static_cast<int>(program.MillisecondsSinceStart());
  RecordProperty("first_window_ms", firstWindow);
  std::printf("first window on screen %d ms after the process was created\n", firstWindow);
  // A message answered is a loop running: start-up is over, whatever it showed is up.
  ASSERT_NE(SendMessageTimeoutW(form1, WM_NULL, 0, 0, SMTO_ABORTIFHUNG, 5000, nullptr), 0);
  const auto visible = program.Windows();
  ASSERT_EQ(visible.size(), 1u);
  EXPECT_EQ(visible[0], form1);
  // Form1 has no Exit: the command changes nothing, as seen once it is handled.
  SendMessageTimeoutW(form1, WM_COMMAND, MAKEWPARAM(kCmdExit, 0), 0, SMTO_ABORTIFHUNG, 5000, nullptr);
  EXPECT_EQ(program.Windows(), visible);
  Close(form1);
  EXPECT_EQ(program.ExitCode(), 0);
}

// Each row drives the program from its start to its end.
TEST(Program, EndsWithStatusZero) {
  struct Case {
    const char* path;
    std::function<void(Program&)> act;
  };
  const auto toEffects = [](Program& p) {
    Command(p.WaitFor(kForm1), kCmdEffectsList);
    ASSERT_NE(p.WaitFor(kEffects), nullptr);
    ASSERT_TRUE(p.Until([&] { return p.First(kForm1) == nullptr; })) << "Form1 hides";
  };
  const Case cases[] = {
      {"Exit while Form1 is hidden",
       [&](Program& p) {
         toEffects(p);
         Command(p.First(kEffects), kCmdExit);
       }},
      {"Exit while Form1 and About are hidden",
       [&](Program& p) {
         toEffects(p);
         Command(p.First(kEffects), kCmdAbout);
         HWND about = p.WaitFor(kAbout);
         ASSERT_NE(about, nullptr);
         PostMessageW(about, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
         ASSERT_TRUE(p.Until([&] { return p.First(kAbout) == nullptr; }));
         Command(p.First(kEffects), kCmdExit);
       }},
      {"closing the effects window while Form1 is hidden",
       [&](Program& p) {
         toEffects(p);
         Close(p.First(kEffects));
       }},
      {"closing Form1 right after start", [](Program& p) { Close(p.WaitFor(kForm1)); }},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.path);
    Program program;
    ASSERT_TRUE(program.Started());
    c.act(program);
    EXPECT_EQ(program.ExitCode(), 0);
  }
}

BOOL CALLBACK CollectTexts(HWND hwnd, LPARAM lParam) {
  wchar_t text[256] = {};
  GetWindowTextW(hwnd, text, 256);
  reinterpret_cast<std::vector<std::wstring>*>(lParam)->push_back(text);
  return TRUE;
}

// One report, which waits for the user's OK; then the process ends with status 1.
void ExpectReportThenStatusOne(Program& child, const std::wstring& report) {
  HWND box = child.WaitFor(L"ZorvinEffects");
  ASSERT_NE(box, nullptr) << "no report";
  std::vector<std::wstring> texts;
  EnumChildWindows(box, CollectTexts, reinterpret_cast<LPARAM>(&texts));
  EXPECT_NE(std::find(texts.begin(), texts.end(), L"Run-time error: " + report), texts.end());
  EXPECT_EQ(child.ExitCode(0), -1) << "the report is up and the process waits for the user";
  // The report's loop repaints the windows beneath it. A paint that fails too
  // (out of memory, every allocation does) must not stack a second report: OK
  // on the first would leave the process running with the second up.
  for (HWND window : child.Windows()) {
    DWORD_PTR result = 0;
    if (window != box) SendMessageTimeoutW(window, WM_PAINT, 0, 0, SMTO_NORMAL, 5000, &result);
  }
  EXPECT_EQ(child.Windows(L"ZorvinEffects").size(), 1u) << "one report";
  PostMessageW(box, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
  EXPECT_EQ(child.ExitCode(), 1) << "-1: still running 30 s after its report's OK";
}

// A Win32 call that fails inside the program's window procedure: the text box
// is destroyed from outside (a child window closes itself on WM_CLOSE), and
// the next lookup cannot show its block.
TEST(Program, FailedCallInAHandlerEndsInTheReportAndStatusOne) {
  Program program;
  HWND form1 = program.WaitFor(kForm1);
  ASSERT_NE(form1, nullptr);
  HWND combo = GetDlgItem(form1, ControlId(SettingsWindow::kLevelCombo));
  HWND text = GetDlgItem(form1, ControlId(SettingsWindow::kBlockText));
  ASSERT_NE(text, nullptr);
  const auto lookUp = [&](const wchar_t* level) {
    SendMessageW(combo, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(level));
    SendMessageW(form1, WM_COMMAND, MAKEWPARAM(ControlId(SettingsWindow::kShowSettingsButton), BN_CLICKED),
                 0);
  };
  lookUp(L"mp_toujane");
  wchar_t shown[64] = {};
  SendMessageW(text, WM_GETTEXT, 64, reinterpret_cast<LPARAM>(shown));
  EXPECT_EQ(std::wstring(shown).substr(0, 3), L"{\r\n") << "a lookup works first";
  SendMessageW(text, WM_CLOSE, 0, 0);
  ASSERT_FALSE(IsWindow(text));
  SendMessageW(combo, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(L"mp_farmhouse"));
  PostMessageW(form1, WM_COMMAND, MAKEWPARAM(ControlId(SettingsWindow::kShowSettingsButton), BN_CLICKED), 0);
  ExpectReportThenStatusOne(program, L"Form1.Text1: set text");
}

// An exception thrown in a handler of a window of the program's kind. The
// 32-bit build unwinds with tables that cannot pass through the system's
// frames: an exception that left the window procedure would end the process
// without a report.
TEST(Program, ExceptionInAHandlerEndsInTheReportAndStatusOne) {
  struct Case {
    const wchar_t* kind;
    const wchar_t* report;
  };
  const Case cases[] = {
      {L"runtime_error", L"FaultWindow: unexpected failure"},
      {L"bad_alloc", L"FaultWindow: out of memory"},
      {L"nested", L"FaultWindow: unexpected failure"},
      {L"no_memory", L"out of memory"},  // not even the window's name could be put in the message
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << c.kind);
    Program child(L"fault_child.exe", c.kind);
    ASSERT_TRUE(child.Started());
    HWND window = child.WaitFor(L"Fault child");
    ASSERT_NE(window, nullptr);
    PostMessageW(window, WM_COMMAND, 1, 0);
    ExpectReportThenStatusOne(child, c.report);
  }
}

}  // namespace

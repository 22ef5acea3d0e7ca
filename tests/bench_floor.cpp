// The floor for start-up: a Win32 program built like ZorvinEffects.exe that
// only opens one window and waits for input. Started with "controls", it also
// puts one push button in the window, which loads the common controls that
// its manifest names: the part of the start-up that any program with
// themed controls pays. Started with "window", it makes by hand, in plain
// calls, what the settings window has at 96 DPI: its menu bar, icon and
// font, and its five controls with their styles and places. That is the part
// any program showing that window pays, whoever writes it.
#include <windows.h>

#include <cwchar>

#include "ui/ids.h"

namespace {
LRESULT CALLBACK Procedure(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_DESTROY) PostQuitMessage(0);
  return DefWindowProcW(hwnd, message, wParam, lParam);
}

struct Child {
  const wchar_t* className;
  const wchar_t* text;
  DWORD style;
  DWORD exStyle;
  RECT place;  // left, top, width, height in pixels at 96 DPI
};

// The settings window's controls, in its order.
constexpr Child kSettingsControls[] = {
    {L"BUTTON", L"MP/SPSettings", BS_PUSHBUTTON | WS_TABSTOP, 0, {120, 8, 89, 25}},
    {L"COMBOBOX", L"MP/SP_LEVELS", CBS_DROPDOWN | CBS_AUTOHSCROLL | WS_VSCROLL | WS_TABSTOP, 0, {8, 8, 97, 221}},
    {L"STATIC", L"Display Settings:", SS_LEFT, 0, {8, 32, 97, 17}},
    {L"EDIT", L"", ES_MULTILINE | ES_WANTRETURN | ES_AUTOVSCROLL | WS_TABSTOP, WS_EX_CLIENTEDGE, {8, 48, 217, 193}},
    {L"STATIC", L"", SS_LEFT | SS_NOPREFIX, 0, {72, 200, 79, 41}},
};

HWND SettingsLikeWindow(HINSTANCE instance) {
  HMENU menu = CreateMenu();
  AppendMenuW(menu, MF_STRING, zorvin::ui::kCmdEffectsList, L"&Effects List");
  const DWORD style = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_CLIPCHILDREN;
  RECT frame{0, 0, 233, 250};
  AdjustWindowRectEx(&frame, style, TRUE, WS_EX_TOOLWINDOW);
  HWND window = CreateWindowExW(WS_EX_TOOLWINDOW, L"Floor", L"Floor", style, CW_USEDEFAULT, CW_USEDEFAULT,
                                frame.right - frame.left, frame.bottom - frame.top, nullptr, menu, instance,
                                nullptr);
  LOGFONTW logFont{};
  logFont.lfHeight = -MulDiv(8, 96, 72);  // 8 points
  logFont.lfWeight = FW_NORMAL;
  logFont.lfCharSet = DEFAULT_CHARSET;
  wcscpy_s(logFont.lfFaceName, L"MS Shell Dlg");
  HFONT font = CreateFontIndirectW(&logFont);
  for (const Child& child : kSettingsControls) {
    HWND control = CreateWindowExW(child.exStyle, child.className, child.text,
                                   WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS | child.style, child.place.left,
                                   child.place.top, child.place.right, child.place.bottom, window, nullptr,
                                   instance, nullptr);
    SendMessageW(control, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
    // A combo box ignores the window name it is created with.
    if (wcscmp(child.className, L"COMBOBOX") == 0) SetWindowTextW(control, child.text);
  }
  return window;
}
}  // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR commandLine, int) {
  const bool settings = wcsstr(commandLine, L"window") != nullptr;
  WNDCLASSEXW cls{};
  cls.cbSize = sizeof(cls);
  cls.lpfnWndProc = Procedure;
  cls.hInstance = instance;
  cls.hbrBackground = GetSysColorBrush(COLOR_WINDOWTEXT);
  cls.lpszClassName = L"Floor";
  if (settings) {
    cls.hCursor = LoadCursorW(nullptr, reinterpret_cast<LPCWSTR>(IDC_ARROW));
    const auto icon = [&](int metricX, int metricY) {
      return static_cast<HICON>(LoadImageW(instance, MAKEINTRESOURCEW(zorvin::ui::kIconApp), IMAGE_ICON,
                                           GetSystemMetrics(metricX), GetSystemMetrics(metricY), LR_SHARED));
    };
    cls.hIcon = icon(SM_CXICON, SM_CYICON);
    cls.hIconSm = icon(SM_CXSMICON, SM_CYSMICON);
  }
  RegisterClassExW(&cls);
  HWND window = nullptr;
  if (settings) {
    window = SettingsLikeWindow(instance);
  } else {
    window = CreateWindowExW(WS_EX_TOOLWINDOW, L"Floor", L"Floor", WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU,
                             CW_USEDEFAULT, CW_USEDEFAULT, 240, 280, nullptr, nullptr, instance, nullptr);
  }
  if (wcsstr(commandLine, L"controls") != nullptr) {
    CreateWindowExW(0, L"BUTTON", L"OK", WS_CHILD | WS_VISIBLE | BS_PUSHBUTTON, 8, 8, 80, 24, window, nullptr,
                    instance, nullptr);
  }
  ShowWindow(window, SW_SHOW);
  MSG message{};
  while (GetMessageW(&message, nullptr, 0, 0) > 0) DispatchMessageW(&message);
  return 0;
}

// The floor for start-up: a Win32 program built like ZorvinEffects.exe that
// only opens one window and waits for input. Started with "controls", it also
// puts one push button in the window, which loads the common controls that
// its manifest names: the part of the start-up that any program with
// themed controls pays.
#include <windows.h>

#include <cwchar>

namespace {
LRESULT CALLBACK Procedure(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_DESTROY) PostQuitMessage(0);
  return DefWindowProcW(hwnd, message, wParam, lParam);
}
}  // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR commandLine, int) {
  WNDCLASSEXW cls{};
  cls.cbSize = sizeof(cls);
  cls.lpfnWndProc = Procedure;
  cls.hInstance = instance;
  cls.hbrBackground = GetSysColorBrush(COLOR_WINDOWTEXT);
  cls.lpszClassName = L"Floor";
  RegisterClassExW(&cls);
  HWND window = CreateWindowExW(WS_EX_TOOLWINDOW, L"Floor", L"Floor", WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU,
                                CW_USEDEFAULT, CW_USEDEFAULT, 240, 280, nullptr, nullptr, instance, nullptr);
  if (wcsstr(commandLine, L"controls") != nullptr) {
    CreateWindowExW(0, L"BUTTON", L"OK", WS_CHILD | WS_VISIBLE | BS_PUSHBUTTON, 8, 8, 80, 24, window, nullptr,
                    instance, nullptr);
  }
  ShowWindow(window, SW_SHOW);
  MSG message{};
  while (GetMessageW(&message, nullptr, 0, 0) > 0) DispatchMessageW(&message);
  return 0;
}

// The floor the bench holds the view click against: a window that does only that click's work.
// On the click's message it runs the bare status command as the program's runner starts it,
// reads it to its end and shows the output in a message box as the program's report box is
// shown. A failure ends it with the error as its exit code, which the bench reports.
#include <windows.h>

#include "command/commands.h"
#include "command/netsh_line.h"
#include "resource.h"
#include "tools/bench/bare_command.h"

namespace {

void ShowStatus(HWND hWnd, const char* lpszSystemDir) {
  char szLine[COMMAND_SIZE], szReport[REPORT_SIZE];
  if (!ComposeNetshLine(szLine, sizeof szLine, lpszSystemDir, {kNetshShowStatus}))
    ExitProcess(ERROR_INSUFFICIENT_BUFFER);
  CHandle process;
  LPCSTR lpszCall;
  long long total = RunToEnd(szLine, lpszSystemDir, szReport, sizeof szReport, &process,
                             &lpszCall);
  if (total < 0) ExitProcess(GetLastError() ? GetLastError() : 1);
  if (total == 0) ExitProcess(ERROR_NO_DATA);
  // The type the program's framework passes for its report.
  if (!MessageBoxA(hWnd, szReport, "Ventora", MB_OK | MB_ICONEXCLAMATION))
    ExitProcess(GetLastError() ? GetLastError() : 1);
}

}  // namespace

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
  char szSystemDir[MAX_PATH];
  UINT cch = GetSystemDirectoryA(szSystemDir, sizeof szSystemDir);
  if (cch == 0 || cch >= sizeof szSystemDir) return GetLastError() ? GetLastError() : 1;
  // A dialog window, as the program's panel is, so that the bench finds and drives it alike.
  HWND hWnd = CreateWindowExA(0, "#32770", "Floor", WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU,
                              CW_USEDEFAULT, CW_USEDEFAULT, 240, 120, nullptr, nullptr,
                              nullptr, nullptr);
  if (!hWnd) return GetLastError() ? GetLastError() : 1;
  ShowWindow(hWnd, SW_SHOW);
  MSG msg;
  BOOL bGot;
  while ((bGot = GetMessageA(&msg, nullptr, 0, 0)) > 0) {
    if (msg.hwnd == hWnd && msg.message == WM_CLOSE) break;
    if (msg.hwnd == hWnd && msg.message == WM_COMMAND && LOWORD(msg.wParam) == IDC_SHOW_STATUS)
      ShowStatus(hWnd, szSystemDir);
    else if (!IsDialogMessageA(hWnd, &msg)) {
      TranslateMessage(&msg);
      DispatchMessageA(&msg);
    }
  }
  DestroyWindow(hWnd);
  return bGot < 0 ? 1 : 0;
}

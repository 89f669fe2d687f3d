// The floor the bench holds the program against: the panel's dialog, doing only its work, on
// plain Win32. On the view button's click it runs the bare status command as the program's
// runner starts it, reads it to its end and shows the output in a message box as the program's
// report box is shown; before the dialog shows, it runs the command once, as the panel's
// start-up does. A failure ends it with the error as its exit code, which the bench reports.
#include <windows.h>

#include "command/commands.h"
#include "command/netsh_line.h"
#include "resource.h"
#include "tools/bench/bare_command.h"

namespace {

void CALLBACK NoDeadline(PVOID, BOOLEAN) {}

// The command's output, within a deadline armed and disarmed as the runner's is: bounding the
// command is part of the work. Under Wine 10, though not under Wine 8, a process whose thread
// pool ran a timer shows its next message box some 20 ms later.
void RunStatus(const char* lpszSystemDir, char (&szReport)[REPORT_SIZE]) {
  char szLine[COMMAND_SIZE];
  if (!ComposeNetshLine(szLine, sizeof szLine, lpszSystemDir, {kNetshShowStatus}))
    ExitProcess(ERROR_INSUFFICIENT_BUFFER);
  HANDLE hTimer;
  if (!CreateTimerQueueTimer(&hTimer, nullptr, NoDeadline, nullptr, COMMAND_TIMEOUT_MS, 1000,
                             WT_EXECUTEDEFAULT))
    ExitProcess(GetLastError() ? GetLastError() : 1);
  CHandle process;
  LPCSTR lpszCall;
  long long total = RunToEnd(szLine, lpszSystemDir, szReport, sizeof szReport, &process,
                             &lpszCall);
  if (total < 0) ExitProcess(GetLastError() ? GetLastError() : 1);
  if (total == 0) ExitProcess(ERROR_NO_DATA);
  if (!DeleteTimerQueueTimer(nullptr, hTimer, INVALID_HANDLE_VALUE))
    ExitProcess(GetLastError() ? GetLastError() : 1);
}

void ShowStatus(HWND hWnd, const char* lpszSystemDir) {
  char szReport[REPORT_SIZE];
  RunStatus(lpszSystemDir, szReport);
  // The type the program's framework passes for its report.
  if (!MessageBoxA(hWnd, szReport, "Ventora", MB_OK | MB_ICONEXCLAMATION))
    ExitProcess(GetLastError() ? GetLastError() : 1);
}

// The panel's own dialog, run modally as the program runs it: the status command once before it
// shows, as the panel's start-up runs it, and again on each click of the view button.
INT_PTR CALLBACK FloorDialog(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_INITDIALOG: {
      // The system folder, kept with the dialog for its clicks.
      SetWindowLongPtrA(hWnd, DWLP_USER, lParam);
      HICON hIcon = LoadIconA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDR_MAINFRAME));
      if (!hIcon) ExitProcess(GetLastError() ? GetLastError() : 1);
      SendMessageA(hWnd, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(hIcon));
      SendMessageA(hWnd, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(hIcon));
      char szProbe[REPORT_SIZE];
      RunStatus(reinterpret_cast<const char*>(lParam), szProbe);
      return TRUE;
    }
    case WM_COMMAND:
      if (LOWORD(wParam) == IDC_SHOW_STATUS)
        ShowStatus(hWnd, reinterpret_cast<const char*>(GetWindowLongPtrA(hWnd, DWLP_USER)));
      if (LOWORD(wParam) == IDOK || LOWORD(wParam) == IDCANCEL) EndDialog(hWnd, LOWORD(wParam));
      return TRUE;
  }
  return FALSE;
}

}  // namespace

int WINAPI WinMain(HINSTANCE hInstance, HINSTANCE, LPSTR, int) {
  // Drawn at the display's DPI, as the program declares it is, where the system lets it.
  SetProcessDpiAwarenessContext(DPI_AWARENESS_CONTEXT_SYSTEM_AWARE);
  char szSystemDir[MAX_PATH];
  UINT cch = GetSystemDirectoryA(szSystemDir, sizeof szSystemDir);
  if (cch == 0 || cch >= sizeof szSystemDir) return GetLastError() ? GetLastError() : 1;
  // The program's panel, from its template, so that the bench finds and drives it alike and its
  // start-up draws what the program's draws.
  INT_PTR result = DialogBoxParamA(hInstance, MAKEINTRESOURCEA(IDD_HOTSPOT_DIALOG), nullptr,
                                   FloorDialog, reinterpret_cast<LPARAM>(szSystemDir));
  return result == -1 ? (GetLastError() ? GetLastError() : 1) : 0;
}

// Finding a running program's dialogs and message boxes from another process, for the tests
// and the tools that drive Ventora through its windows.
#pragma once

#include <windows.h>

#include <string>

// The visible dialog of process pid titled title (any message box when title is null), other
// than hExclude; null when none shows within the limit.
HWND WaitForAppWindow(DWORD pid, HWND hExclude, const char* title, DWORD timeoutMs);

// True once the window is gone or hidden, false when it is still up after the limit.
bool WaitWindowGone(HWND hWnd, DWORD timeoutMs);

// Posts a button's click to a dialog, as the button itself would.
bool PressButton(HWND hDlg, int id);

// The text of a message box.
std::string MessageBoxText(HWND hBox);

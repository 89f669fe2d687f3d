// Drives a running Ventora from another process, for the tests and the tools that work it through
// its windows: starts it as Explorer does, finds its panel, dialogs and message boxes, presses
// their buttons and ends it. Every wait has a limit; no call can hang its caller.
#pragma once

#include <windows.h>

#include <string>
#include <utility>
#include <vector>

// The settings dialog's title (a GBK string, as every user of the driver is compiled).
inline constexpr char kSettingsTitle[] = "设置虚拟网卡";

// Texts between UTF-16 and a code page: the program's texts, and its users' copies of them, are
// GBK (936) whatever the system's code pages are, so windows are read and written through the
// wide functions and compared in GBK; the settings' entries and netsh's logs are UTF-8.
std::wstring Widen(const std::string& strText, UINT nCodePage = 936);
std::string Narrow(const std::wstring& strText, UINT nCodePage = 936);
// A window's text, read wide.
std::wstring WindowText(HWND hWnd);

// The visible dialog of process dwPid titled lpszTitle (any message box when lpszTitle is null);
// null when none shows, or none within the limit.
HWND FindAppWindow(DWORD dwPid, const char* lpszTitle);
HWND WaitForAppWindow(DWORD dwPid, const char* lpszTitle, DWORD dwTimeoutMs);

// A message box is the dialog whose static text has the id -1.
bool IsMessageBox(HWND hWnd);

// True once the window is gone or hidden, false when it is still up after the limit.
bool WaitWindowGone(HWND hWnd, DWORD dwTimeoutMs);

// Posts a button's click to a dialog, as the button itself would.
bool PressButton(HWND hDlg, int nId);

// The text of a message box, in GBK.
std::string MessageBoxText(HWND hBox);

class CAppProcess {
 public:
  static const DWORD kDefaultTimeoutMs = 30000;

  CAppProcess() = default;
  // Ends the program if it still runs.
  ~CAppProcess();
  CAppProcess(const CAppProcess&) = delete;
  CAppProcess& operator=(const CAppProcess&) = delete;

  // Set in the program's environment on top of this process's own, for the next Start.
  void SetEnv(const std::string& strName, const std::string& strValue);

  // Starts strExe (a GBK path) with strFolder as its current folder, detached from any console
  // as Explorer starts it. Suspended, it returns before the program runs any code: Resume() lets
  // it go.
  bool Start(const std::string& strExe, const std::string& strFolder, bool bSuspended = false);
  bool Resume();
  // Start, then WaitForPanel.
  bool StartAndWait(const std::string& strExe, const std::string& strFolder);

  // The panel, a dialog, or the message box the program shows next; null when none comes within
  // the limit, when the program ends first or, for the panel or a dialog, shows a message box
  // instead: Error() then says which, with the exit code or the box's text.
  HWND WaitForPanel(DWORD dwTimeoutMs = kDefaultTimeoutMs);
  HWND WaitForDialog(const char* lpszTitle, DWORD dwTimeoutMs = kDefaultTimeoutMs) const;
  HWND WaitForBox(DWORD dwTimeoutMs = kDefaultTimeoutMs) const;
  // Presses the panel's button.
  bool Click(int nId) const;
  // Presses the dialog's button and waits for the dialog to go.
  bool Dismiss(HWND hDlg, int nId, DWORD dwTimeoutMs = kDefaultTimeoutMs);
  // The text of the next box, which is then closed; "" when no box came or it would not close.
  std::string TakeBox(DWORD dwTimeoutMs = kDefaultTimeoutMs);

  // Asks the panel to close and waits for the program to end.
  bool Close(DWORD dwTimeoutMs = kDefaultTimeoutMs);
  // True when the program ends within the limit; its exit code goes to *pdwCode.
  bool WaitExit(DWORD* pdwCode, DWORD dwTimeoutMs = kDefaultTimeoutMs);

  HANDLE Process() const { return m_pi.hProcess; }
  DWORD Pid() const { return m_pi.dwProcessId; }
  DWORD ThreadId() const { return m_pi.dwThreadId; }
  HWND Panel() const { return m_hPanel; }
  // What failed last, with Windows' error code where there is one.
  const std::string& Error() const { return m_strError; }

 protected:
  // Ends the program if it still runs, and lets its handles go.
  void End();

 private:
  bool Fail(const std::string& strWhat, bool bWithCode = true) const;
  HWND WaitForWindow(const char* lpszTitle, DWORD dwTimeoutMs) const;
  std::vector<char> Environment() const;

  std::vector<std::pair<std::string, std::string>> m_vecEnv;
  PROCESS_INFORMATION m_pi = {};
  HWND m_hPanel = nullptr;
  mutable std::string m_strError;
};

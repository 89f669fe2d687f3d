// The main control panel: view, allow or disallow, configure, and start or stop the hosted network.
#pragma once

#include "afxwin.h"
#include "command/commands.h"

class CHotspotDlg : public CDialog {
 public:
  explicit CHotspotDlg(CWnd* pParent = nullptr);

  // Runs one command line (UTF-8) hidden and puts what it writes, standard output and error
  // alike, decoded into the report. Failures and a time-out are told to the user here; the
  // report then holds whatever arrived, or is left as it was when nothing could run. What the
  // user typed or clicked while it ran is dropped.
  static void RunCommand(LPCSTR lpszCommandLine, wchar_t (&szReport)[REPORT_SIZE],
                         DWORD dwTimeoutMs = COMMAND_TIMEOUT_MS);
  // The line that runs the system's netsh with these words, in szLine; an empty line, which
  // RunCommand reports as failed to start, when the system folder cannot be had.
  static LPCSTR NetshLine(LPCSTR lpszNetshWords, char (&szLine)[COMMAND_SIZE]);

 protected:
  void DoDataExchange(CDataExchange* pDX) override;
  BOOL OnInitDialog() override;

  void OnPaint();
  HCURSOR OnQueryDragIcon();
  void OnShowStatus();
  void OnToggleAdapter();
  void OnConfigureHotspot();
  void OnToggleHotspot();

  DECLARE_MESSAGE_MAP()

 private:
  HICON m_hIcon;
  int m_bAdapterEnabled;
  int m_bHotspotStarted;

  void ShowAdapterState(int bEnabled);
  void ShowHotspotState(int bStarted);
  void FlipAdapter();
  void FlipHotspot();
  // Zeroes a report, runs the command line into it, calls pfnAfterRun when given, shows the
  // report; RunNetshAndShow does so with the line that runs netsh with these words.
  void RunAndShow(LPCSTR lpszCommandLine, void (CHotspotDlg::*pfnAfterRun)() = nullptr);
  void RunNetshAndShow(LPCSTR lpszNetshWords, void (CHotspotDlg::*pfnAfterRun)() = nullptr);
};

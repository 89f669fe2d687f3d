// The main control panel: view, allow or disallow, configure, and start or stop the hosted network.
#pragma once

#include "afxwin.h"
#include "command/commands.h"

class CHotspotDlg : public CDialog {
 public:
  explicit CHotspotDlg(CWnd* pParent = nullptr);

  // Runs one command line hidden and appends what it writes, standard output and error alike,
  // to the report. Failures and a time-out are told to the user here; the report then holds
  // whatever arrived.
  static void RunCommand(LPCSTR lpszCommandLine, char (&szReport)[REPORT_SIZE],
                         DWORD dwTimeoutMs = COMMAND_TIMEOUT_MS);

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
  // Zeroes a report, runs the command into it, calls pfnAfterRun when given, shows the report.
  void RunAndShow(LPCSTR lpszCommandLine, void (CHotspotDlg::*pfnAfterRun)() = nullptr);
};

#include "ui/HotspotDlg.h"

#include "command/report.h"
#include "resource.h"
#include "ui/texts.h"

BEGIN_MESSAGE_MAP(CHotspotDlg, CDialog)
  ON_WM_PAINT()
  ON_WM_QUERYDRAGICON()
  ON_BN_CLICKED(IDC_SHOW_STATUS, OnShowStatus)
  ON_BN_CLICKED(IDC_TOGGLE_ADAPTER, OnToggleAdapter)
  ON_BN_CLICKED(IDC_CONFIGURE, OnConfigureHotspot)
  ON_BN_CLICKED(IDC_TOGGLE_HOTSPOT, OnToggleHotspot)
END_MESSAGE_MAP()

CHotspotDlg::CHotspotDlg(CWnd* pParent)
    : CDialog(IDD_HOTSPOT_DIALOG, pParent), m_bAdapterEnabled(0), m_bHotspotStarted(0) {
  LPCSTR lpszIcon = MAKEINTRESOURCEA(IDR_MAINFRAME);
  m_hIcon = ::LoadIconA(AfxFindResourceHandle(lpszIcon, RT_GROUP_ICON), lpszIcon);
}

void CHotspotDlg::DoDataExchange(CDataExchange* pDX) { CDialog::DoDataExchange(pDX); }

BOOL CHotspotDlg::OnInitDialog() {
  CDialog::OnInitDialog();
  SendMessage(WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(m_hIcon));
  SendMessage(WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(m_hIcon));

  char szLine[COMMAND_SIZE];
  wchar_t szReport[REPORT_SIZE] = {};
  RunCommand(NetshLine(kNetshShowStatus, szLine), szReport);
  // Found in the decoded report, so that a report in UTF-8 tells as much as one in GBK.
  ShowAdapterState(ReportHasMarker(szReport, CA2W(kMarkerAdapterEnabled)));
  ShowHotspotState(ReportHasMarker(szReport, CA2W(kMarkerHotspotStarted)));
  return TRUE;
}

void CHotspotDlg::ShowAdapterState(int bEnabled) {
  m_bAdapterEnabled = bEnabled;
  SetDlgItemText(IDC_TOGGLE_ADAPTER, bEnabled ? kCaptionDisableAdapter : kCaptionEnableAdapter);
}

void CHotspotDlg::ShowHotspotState(int bStarted) {
  m_bHotspotStarted = bStarted;
  SetDlgItemText(IDC_TOGGLE_HOTSPOT, bStarted ? kCaptionStopHotspot : kCaptionStartHotspot);
}

void CHotspotDlg::OnPaint() {
  if (!IsIconic()) {
    Default();
    return;
  }
  CPaintDC dc(this);
  SendMessage(WM_ICONERASEBKGND, reinterpret_cast<WPARAM>(dc.GetSafeHdc()), 0);
  int cxIcon = ::GetSystemMetrics(SM_CXICON);
  int cyIcon = ::GetSystemMetrics(SM_CYICON);
  RECT rect;
  if (!GetClientRect(&rect)) return;
  int x = (rect.right - rect.left - cxIcon + 1) / 2;
  int y = (rect.bottom - rect.top - cyIcon + 1) / 2;
  dc.DrawIcon(x, y, m_hIcon);
}

HCURSOR CHotspotDlg::OnQueryDragIcon() { return m_hIcon; }

void CHotspotDlg::OnShowStatus() { RunNetshAndShow(kNetshShowStatus); }

// The toggles flip on every press: netsh's report is shown to the user, not judged here.
void CHotspotDlg::OnToggleAdapter() {
  RunNetshAndShow(m_bAdapterEnabled ? kNetshDisallow : kNetshAllow, &CHotspotDlg::FlipAdapter);
}

void CHotspotDlg::OnToggleHotspot() {
  RunNetshAndShow(m_bHotspotStarted ? kNetshStop : kNetshStart, &CHotspotDlg::FlipHotspot);
}

void CHotspotDlg::FlipAdapter() { ShowAdapterState(!m_bAdapterEnabled); }

void CHotspotDlg::FlipHotspot() { ShowHotspotState(!m_bHotspotStarted); }

void CHotspotDlg::RunNetshAndShow(LPCSTR lpszNetshWords, void (CHotspotDlg::*pfnAfterRun)()) {
  char szLine[COMMAND_SIZE];
  RunAndShow(NetshLine(lpszNetshWords, szLine), pfnAfterRun);
}

void CHotspotDlg::RunAndShow(LPCSTR lpszCommandLine, void (CHotspotDlg::*pfnAfterRun)()) {
  wchar_t szReport[REPORT_SIZE] = {};
  RunCommand(lpszCommandLine, szReport);
  // A toggle's new caption is up before its report shows.
  if (pfnAfterRun) (this->*pfnAfterRun)();
  AfxMessageBox(szReport, MB_OK, 0);
}

#include "ui/HotspotSettingsDlg.h"

#include "command/runner.h"
#include "command/settings_line.h"
#include "resource.h"
#include "ui/HotspotDlg.h"
#include "ui/texts.h"

BEGIN_MESSAGE_MAP(CHotspotSettingsDlg, CDialog)
END_MESSAGE_MAP()

CHotspotSettingsDlg::CHotspotSettingsDlg(CWnd* pParent) : CDialog(IDD_SETTINGS_DIALOG, pParent) {}

void CHotspotSettingsDlg::DoDataExchange(CDataExchange* pDX) {
  CDialog::DoDataExchange(pDX);
  DDX_Text(pDX, IDC_SSID, m_strSsid);
  DDX_Text(pDX, IDC_KEY, m_strKey);
}

void CHotspotDlg::OnConfigureHotspot() {
  CHotspotSettingsDlg dlg(nullptr);
  if (dlg.DoModal() != IDOK) return;

  char szSystemDir[FOLDER_SIZE], szCommand[COMMAND_SIZE] = {};
  if (!GetSystemFolder(szSystemDir)) {
    AfxMessageBox(kMsgProcessFailed, MB_OK, 0);
    return;
  }
  switch (ComposeSettingsLine(szSystemDir, dlg.m_strSsid, dlg.m_strKey, szCommand,
                              sizeof szCommand)) {
    case SettingsCheck::EmptyName: AfxMessageBox(kMsgEmptyName, MB_OK, 0); return;
    case SettingsCheck::EmptyKey: AfxMessageBox(kMsgEmptyKey, MB_OK, 0); return;
    case SettingsCheck::UnsafeCharacter: AfxMessageBox(kMsgUnsafeCharacter, MB_OK, 0); return;
    case SettingsCheck::TrailingBackslash: AfxMessageBox(kMsgTrailingBackslash, MB_OK, 0); return;
    case SettingsCheck::TooLong: AfxMessageBox(kMsgTooLong, MB_OK, 0); return;
    case SettingsCheck::Ok: break;
  }

  RunAndShow(szCommand);
}

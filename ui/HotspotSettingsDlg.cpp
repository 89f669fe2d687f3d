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
  bool bSsidWhole = DDX_Text(pDX, IDC_SSID, m_strSsid);
  bool bKeyWhole = DDX_Text(pDX, IDC_KEY, m_strKey);
  m_bEntriesWhole = bSsidWhole && bKeyWhole;
}

void CHotspotDlg::OnConfigureHotspot() {
  CHotspotSettingsDlg dlg(nullptr);
  if (dlg.DoModal() != IDOK) return;

  char szSystemDir[FOLDER_SIZE], szCommand[COMMAND_SIZE] = {};
  if (!GetSystemFolder(szSystemDir)) {
    AfxMessageBox(kMsgProcessFailed, MB_OK, 0);
    return;
  }
  // An entry that could not be read whole is refused as such, not taken for an empty one.
  SettingsCheck check = dlg.m_bEntriesWhole
                            ? ComposeSettingsLine(szSystemDir, dlg.m_strSsid, dlg.m_strKey,
                                                  szCommand, sizeof szCommand)
                            : SettingsCheck::UnsafeCharacter;
  switch (check) {
    case SettingsCheck::EmptyName: AfxMessageBox(kMsgEmptyName, MB_OK, 0); return;
    case SettingsCheck::EmptyKey: AfxMessageBox(kMsgEmptyKey, MB_OK, 0); return;
    case SettingsCheck::UnsafeCharacter: AfxMessageBox(kMsgUnsafeCharacter, MB_OK, 0); return;
    case SettingsCheck::TrailingBackslash: AfxMessageBox(kMsgTrailingBackslash, MB_OK, 0); return;
    case SettingsCheck::TooLong: AfxMessageBox(kMsgTooLong, MB_OK, 0); return;
    case SettingsCheck::Ok: break;
  }

  RunAndShow(szCommand);
}

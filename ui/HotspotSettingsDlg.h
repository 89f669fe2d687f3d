// The settings dialog: the hosted network's name and key, empty each time it opens.
#pragma once

#include "afxwin.h"

class CHotspotSettingsDlg : public CDialog {
 public:
  explicit CHotspotSettingsDlg(CWnd* pParent = nullptr);

  CString m_strSsid;
  CString m_strKey;
  // False when an entry could not be read whole, as one holding a lone surrogate, which no
  // command could carry as typed.
  bool m_bEntriesWhole = true;

 protected:
  void DoDataExchange(CDataExchange* pDX) override;

  DECLARE_MESSAGE_MAP()
};

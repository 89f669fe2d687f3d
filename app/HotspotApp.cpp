#include "app/HotspotApp.h"

#include "ui/HotspotDlg.h"

BEGIN_MESSAGE_MAP(CHotspotApp, CWinApp)
END_MESSAGE_MAP()

CHotspotApp theApp;

BOOL CHotspotApp::InitInstance() {
  Enable3dControls();

  CHotspotDlg dlg(nullptr);
  m_pMainWnd = &dlg;
  dlg.DoModal();
  // The panel is gone; nothing may reach it through the main window after this.
  m_pMainWnd = nullptr;
  return FALSE;
}

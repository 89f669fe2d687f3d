// The application object: shows the control panel and ends the program when it closes.
#pragma once

#include "afxwin.h"

class CHotspotApp : public CWinApp {
 public:
  CHotspotApp() : CWinApp() {}

  BOOL InitInstance() override;

  DECLARE_MESSAGE_MAP()
};

extern CHotspotApp theApp;

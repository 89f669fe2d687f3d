// The panel's icons, in process: the window's messages about its icon cannot be sent from
// another process under Wine.
#include <gtest/gtest.h>

#include "ui/HotspotDlg.h"

namespace {

struct Seen {
  HICON hBig = nullptr, hSmall = nullptr, hDrag = nullptr;
  bool bPaintedMinimised = false;
};

DWORD WINAPI Inspect(LPVOID pv) {
  auto seen = static_cast<Seen*>(pv);
  HWND hPanel = nullptr;
  for (int i = 0; i < 1000 && !hPanel; ++i, Sleep(20)) {
    hPanel = FindWindowA("#32770", "Ventora");
    DWORD pid = 0;
    if (hPanel) GetWindowThreadProcessId(hPanel, &pid);
    if (pid != GetCurrentProcessId() || !IsWindowVisible(hPanel)) hPanel = nullptr;
  }
  if (!hPanel) return 1;
  seen->hBig = reinterpret_cast<HICON>(SendMessageA(hPanel, WM_GETICON, ICON_BIG, 0));
  seen->hSmall = reinterpret_cast<HICON>(SendMessageA(hPanel, WM_GETICON, ICON_SMALL, 0));
  seen->hDrag = reinterpret_cast<HICON>(SendMessageA(hPanel, WM_QUERYDRAGICON, 0, 0));
  // Minimised, the panel paints its icon itself.
  // Minimising may reach the window manager's side later than the call returns.
  ShowWindow(hPanel, SW_MINIMIZE);
  for (int i = 0; i < 250 && !IsIconic(hPanel); ++i) Sleep(20);
  seen->bPaintedMinimised = IsIconic(hPanel) && InvalidateRect(hPanel, nullptr, TRUE) &&
                            UpdateWindow(hPanel);
  PostMessageA(hPanel, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
  return 0;
}

TEST(PanelIcon, BigSmallAndDragIconAreTheApplicationIcon) {
  AfxSetMessageBoxHook([](HWND, LPCSTR, LPCSTR, UINT) { return IDOK; });
  Seen seen;
  HANDLE hThread = CreateThread(nullptr, 0, Inspect, &seen, 0, nullptr);
  ASSERT_NE(hThread, nullptr);
  CHotspotDlg dlg(nullptr);
  EXPECT_EQ(dlg.DoModal(), IDOK);
  EXPECT_EQ(WaitForSingleObject(hThread, 30000), WAIT_OBJECT_0);
  CloseHandle(hThread);
  AfxSetMessageBoxHook(nullptr);

  HICON hApp = LoadIconA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(128));
  ASSERT_NE(hApp, nullptr);
  EXPECT_EQ(seen.hBig, hApp);
  EXPECT_EQ(seen.hSmall, hApp);
  EXPECT_EQ(seen.hDrag, hApp);
  EXPECT_TRUE(seen.bPaintedMinimised);
}

}  // namespace

// The panel's icon, in process: the window's messages about its icon cannot be sent from
// another process under Wine, and what it paints is read back from its own surface here.
#include <gtest/gtest.h>

#include "test_support.h"
#include "tools/drive/app_windows.h"
#include "ui/HotspotDlg.h"

namespace {

const DWORD kTimeoutMs = 30000;

DWORD WINAPI RunPanel(LPVOID pvResult) {
  CHotspotDlg dlg(nullptr);
  *static_cast<INT_PTR*>(pvResult) = dlg.DoModal();
  return 0;
}

bool IsUnderControl(HWND hPanel, POINT pt) {
  for (HWND hChild = GetWindow(hPanel, GW_CHILD); hChild; hChild = GetWindow(hChild, GW_HWNDNEXT)) {
    RECT rc;
    if (IsWindowVisible(hChild) && GetWindowRect(hChild, &rc) &&
        MapWindowPoints(nullptr, hPanel, reinterpret_cast<POINT*>(&rc), 2) && PtInRect(&rc, pt))
      return true;
  }
  return false;
}

// How many of the icon's own pixels show where the panel would centre it, outside its controls:
// the icon is drawn here on the panel's background, and each pixel it changes is looked for on
// the panel's surface.
int CountIconPixelsShown(HWND hPanel, HICON hIcon) {
  RECT rcClient;
  EXPECT_TRUE(GetClientRect(hPanel, &rcClient));
  const int cxIcon = GetSystemMetrics(SM_CXICON), cyIcon = GetSystemMetrics(SM_CYICON);
  const int x0 = (rcClient.right - cxIcon + 1) / 2, y0 = (rcClient.bottom - cyIcon + 1) / 2;
  HDC hdcPanel = GetDC(hPanel);
  EXPECT_NE(hdcPanel, nullptr);
  if (!hdcPanel) return -1;
  const COLORREF crBackground = GetPixel(hdcPanel, 1, 1);
  HDC hdcIcon = CreateCompatibleDC(hdcPanel);
  HBITMAP hBitmap = CreateCompatibleBitmap(hdcPanel, cxIcon, cyIcon);
  HBRUSH hBrush = CreateSolidBrush(crBackground);
  int nShown = -1;
  if (hdcIcon && hBitmap && hBrush) {
    HGDIOBJ hOld = SelectObject(hdcIcon, hBitmap);
    RECT rcIcon = {0, 0, cxIcon, cyIcon};
    EXPECT_TRUE(FillRect(hdcIcon, &rcIcon, hBrush));
    EXPECT_TRUE(DrawIcon(hdcIcon, 0, 0, hIcon));
    nShown = 0;
    int nDrawn = 0;
    for (int y = 0; y < cyIcon; ++y)
      for (int x = 0; x < cxIcon; ++x) {
        COLORREF crIcon = GetPixel(hdcIcon, x, y);
        if (crIcon == crBackground || IsUnderControl(hPanel, {x0 + x, y0 + y})) continue;
        ++nDrawn;
        if (GetPixel(hdcPanel, x0 + x, y0 + y) == crIcon) ++nShown;
      }
    EXPECT_GT(nDrawn, 0) << "no pixel of the icon falls outside the controls";
    SelectObject(hdcIcon, hOld);
  }
  if (hBrush) DeleteObject(hBrush);
  if (hBitmap) DeleteObject(hBitmap);
  if (hdcIcon) DeleteDC(hdcIcon);
  ReleaseDC(hPanel, hdcPanel);
  return nShown;
}

// The panel's icons; the panel paints its icon itself only when minimised, so the dialog shown
// normally has no icon in it.
TEST(PanelIcon, IsTheApplicationIconAndIsPaintedOnlyWhenMinimised) {
  // The panel's status probe reaches the simulator, which keeps its files here.
  CTempFolder netshState;
  ASSERT_TRUE(SetEnvironmentVariableA("VENTORA_NETSH_DIR", netshState.Path().c_str()));
  AfxSetMessageBoxHook([](HWND, LPCWSTR, LPCWSTR, UINT) { return IDOK; });
  INT_PTR nResult = 0;
  // The panel runs on a thread of its own, so that a panel that never shows cannot hold up
  // the test: the test ends, and the process with it, whatever that thread is doing.
  HANDLE hThread = CreateThread(nullptr, 0, RunPanel, &nResult, 0, nullptr);
  ASSERT_NE(hThread, nullptr);
  HWND hPanel = WaitForAppWindow(GetCurrentProcessId(), "Ventora", kTimeoutMs);
  ASSERT_NE(hPanel, nullptr);

  HICON hApp = LoadIconA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(128));
  ASSERT_NE(hApp, nullptr);
  EXPECT_EQ(reinterpret_cast<HICON>(SendMessageA(hPanel, WM_GETICON, ICON_BIG, 0)), hApp);
  EXPECT_EQ(reinterpret_cast<HICON>(SendMessageA(hPanel, WM_GETICON, ICON_SMALL, 0)), hApp);
  EXPECT_EQ(reinterpret_cast<HICON>(SendMessageA(hPanel, WM_QUERYDRAGICON, 0, 0)), hApp);

  EXPECT_TRUE(InvalidateRect(hPanel, nullptr, TRUE));
  EXPECT_TRUE(UpdateWindow(hPanel));
  EXPECT_EQ(CountIconPixelsShown(hPanel, hApp), 0);

  // Minimising may reach the window manager's side later than the call returns.
  ShowWindow(hPanel, SW_MINIMIZE);
  for (int i = 0; i < 250 && !IsIconic(hPanel); ++i) Sleep(20);
  ASSERT_TRUE(IsIconic(hPanel));
  // Its client area is empty under Wine: that the paint ran is all that can be seen.
  EXPECT_TRUE(InvalidateRect(hPanel, nullptr, TRUE));
  EXPECT_TRUE(UpdateWindow(hPanel));

  EXPECT_TRUE(PressButton(hPanel, IDOK));
  EXPECT_EQ(WaitForSingleObject(hThread, kTimeoutMs), WAIT_OBJECT_0);
  CloseHandle(hThread);
  AfxSetMessageBoxHook(nullptr);
  EXPECT_EQ(nResult, IDOK);
  EXPECT_TRUE(FileExists(netshState / "netsh.log")) << "the probe ran elsewhere";
  SetEnvironmentVariableA("VENTORA_NETSH_DIR", nullptr);
}

}  // namespace

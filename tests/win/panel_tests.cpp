// The whole program under Wine: started against the system's netsh, driven through its windows.
#include <gtest/gtest.h>
#include <windows.h>

#include <stdlib.h>

#include <utility>

#include "command/commands.h"
#include "command/handle.h"
#include "panel_driver.h"
#include "resource.h"
#include "tools/netsh/system_variables.h"
#include "ui/texts.h"

namespace {

const char kStatusWords[] = "wlan show hostednetwork";

struct ProbeCase {
  const char* name;
  const char* report;
  const char* adapterCaption;
  const char* hotspotCaption;
};

void PrintTo(const ProbeCase& c, std::ostream* os) { *os << c.name; }

class Probe : public testing::TestWithParam<ProbeCase> {};

TEST_P(Probe, SetsBothCaptionsFromTheStatusReportWithoutShowingIt) {
  CPanelProcess app(GetParam().report);
  ASSERT_TRUE(app.Start());
  EXPECT_EQ(app.Caption(IDC_TOGGLE_ADAPTER), GetParam().adapterCaption);
  EXPECT_EQ(app.Caption(IDC_TOGGLE_HOTSPOT), GetParam().hotspotCaption);
  EXPECT_EQ(app.WaitForBox(500), nullptr);
  EXPECT_EQ(app.Commands(), std::vector<std::string>{kStatusWords});
}

INSTANTIATE_TEST_SUITE_P(
    Markers, Probe,
    testing::Values(
        ProbeCase{"Both", "    模式 : 已启用\r\n    状态 : 已启动\r\n", kCaptionDisableAdapter.Bytes(),
                  kCaptionStopHotspot.Bytes()},
        ProbeCase{"AllowedOnly", "    模式 : 已启用\r\n    状态 : 未启动\r\n",
                  kCaptionDisableAdapter.Bytes(), kCaptionStartHotspot.Bytes()},
        ProbeCase{"StartedOnly", "    状态 : 已启动\r\n    模式 : 已禁用\r\n",
                  kCaptionEnableAdapter.Bytes(), kCaptionStopHotspot.Bytes()},
        ProbeCase{"Neither", "    模式 : 已禁用\r\n    状态 : 未启动\r\n", kCaptionEnableAdapter.Bytes(),
                  kCaptionStartHotspot.Bytes()},
        ProbeCase{"English", "    Mode : Allowed\r\n    Status : Started\r\n",
                  kCaptionEnableAdapter.Bytes(), kCaptionStartHotspot.Bytes()},
        // Names whose GBK bytes hold a marker from the middle of a character on:
        // B0D2 D1C6 F4D3 C3A1 and B0D2 D1C6 F4B6 AF40.
        ProbeCase{"MarkerBytesAcrossCharacters",
                  "    SSID 名称 : \"耙哑粲谩\"\r\n    SSID 名称 : \"耙哑舳疈\"\r\n",
                  kCaptionEnableAdapter.Bytes(), kCaptionStartHotspot.Bytes()},
        // A report that stops in the middle of a character is decoded to its end, no further.
        ProbeCase{"EndsInALoneLeadByte", "x耙哑粲谩已启用\r\n\xD2", kCaptionDisableAdapter.Bytes(),
                  kCaptionStartHotspot.Bytes()}),
    [](const testing::TestParamInfo<ProbeCase>& info) { return info.param.name; });

// netsh writes in its console's code page: the OEM one, or 65001 where the user gave the
// consoles that, as the tip for a UTF-8 prompt does, on either system.
class ConsoleCodePage : public testing::TestWithParam<UINT> {};

// The markers are found, and the box shows the report's characters, whichever netsh wrote in.
TEST_P(ConsoleCodePage, ViewButtonShowsTheReportAsNetshWroteItAndChangesNoCaption) {
  const std::string report =
      "\r\n承载网络设置\r\n----\r\n    模式 : 已启用 & <x>\r\n    状态 : 已启动\r\n\r\n";
  CPanelProcess app(report, GetParam());
  ASSERT_TRUE(app.Start());
  for (int i = 0; i < 2; ++i) {
    EXPECT_EQ(app.Caption(IDC_TOGGLE_ADAPTER), kCaptionDisableAdapter.Bytes());
    EXPECT_EQ(app.Caption(IDC_TOGGLE_HOTSPOT), kCaptionStopHotspot.Bytes());
    ASSERT_TRUE(app.Click(IDC_SHOW_STATUS));
    EXPECT_EQ(app.TakeBox(), report);
  }
  EXPECT_EQ(app.Commands().size(), 3u);
}

// Cut at 1023 bytes of what netsh wrote, on a whole character of the code page it wrote in: 511
// of GBK's two bytes, 340 of UTF-8's three. MessageBoxA would have dropped half a character
// unseen.
TEST_P(ConsoleCodePage, LongReportIsCutOnAWholeCharacterOfTheCodePageNetshWroteIn) {
  std::string strReport = "a";
  while (strReport.size() < 2 * REPORT_SIZE) strReport += "启";
  CPanelProcess app(strReport, GetParam());
  ASSERT_TRUE(app.Start());
  ASSERT_TRUE(app.Click(IDC_SHOW_STATUS));
  const UINT nCodePage = GetParam() ? GetParam() : GetOEMCP();
  const size_t nWhole = (REPORT_SIZE - 2) / (nCodePage == CP_UTF8 ? 3 : 2);
  EXPECT_EQ(app.TakeBox(), strReport.substr(0, 1 + 2 * nWhole));
}

INSTANTIATE_TEST_SUITE_P(Netsh, ConsoleCodePage, testing::Values(0u, UINT{CP_UTF8}),
                         [](const testing::TestParamInfo<UINT>& info) {
                           return info.param ? "Utf8Console" : "OemConsole";
                         });

// What a press of a panel button left: the toggle's caption, read while the report box is still
// up, and the box's text.
std::pair<std::string, std::string> Press(CPanelProcess& app, int nId) {
  EXPECT_TRUE(app.Click(nId));
  HWND hBox = app.WaitForBox();
  EXPECT_NE(hBox, nullptr) << "control " << nId << ": " << app.Error();
  if (!hBox) return {};
  std::pair<std::string, std::string> seen(app.Caption(nId), MessageBoxText(hBox));
  EXPECT_TRUE(app.Dismiss(hBox, IDOK));
  return seen;
}

// Each press runs the command its caption offers, then flips before its report shows, whatever
// netsh answered.
TEST(Panel, TogglesRunTheirCommandsInTurnAndFlipEvenWhenRefused) {
  CPanelProcess app;
  ASSERT_TRUE(app.Start());
  EXPECT_EQ(app.Caption(IDC_TOGGLE_HOTSPOT), kCaptionStartHotspot.Bytes());

  auto seen = Press(app, IDC_TOGGLE_HOTSPOT);  // refused: the hosted network is not allowed yet
  EXPECT_NE(seen.second.find("无法启动承载网络"), std::string::npos);
  EXPECT_EQ(seen.first, kCaptionStopHotspot.Bytes());
  seen = Press(app, IDC_TOGGLE_HOTSPOT);
  EXPECT_NE(seen.second, "");
  EXPECT_EQ(seen.first, kCaptionStartHotspot.Bytes());

  seen = Press(app, IDC_TOGGLE_ADAPTER);
  EXPECT_NE(seen.second.find("允许"), std::string::npos);
  EXPECT_EQ(seen.first, kCaptionDisableAdapter.Bytes());
  EXPECT_NE(Press(app, IDC_TOGGLE_HOTSPOT).second.find("已启动承载网络"), std::string::npos);
  seen = Press(app, IDC_TOGGLE_ADAPTER);
  EXPECT_NE(seen.second.find("禁止"), std::string::npos);
  EXPECT_EQ(seen.first, kCaptionEnableAdapter.Bytes());

  EXPECT_EQ(app.Commands(), (std::vector<std::string>{
                                kStatusWords, "wlan start hostednetwork",
                                "wlan stop hostednetwork", "wlan set hostednetwork mode=allow",
                                "wlan start hostednetwork", "wlan set hostednetwork mode=disallow"}));
}

// The panel cannot answer while a command runs. A key pressed on the focused toggle and a click
// on the other one meanwhile must not reach it, or the report box, once the command has ended.
TEST(Panel, KeysAndClicksMadeWhileACommandRunsAreDropped) {
  CPanelProcess app;
  app.SetEnv("VENTORA_SIM_DELAY_MS", "1000");
  ASSERT_TRUE(app.Start());
  HWND hHotspot = GetDlgItem(app.Panel(), IDC_TOGGLE_HOTSPOT);
  HWND hAdapter = GetDlgItem(app.Panel(), IDC_TOGGLE_ADAPTER);
  ASSERT_TRUE(hHotspot && hAdapter);
  ASSERT_TRUE(app.Click(IDC_TOGGLE_HOTSPOT));
  for (int i = 0; i < 2; ++i) {
    EXPECT_TRUE(PostMessageA(hHotspot, WM_KEYDOWN, VK_SPACE, 0x00390001));
    EXPECT_TRUE(PostMessageA(hHotspot, WM_KEYUP, VK_SPACE, 0xC0390001));
    EXPECT_TRUE(PostMessageA(hAdapter, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 5)));
    EXPECT_TRUE(PostMessageA(hAdapter, WM_LBUTTONUP, 0, MAKELPARAM(5, 5)));
  }
  EXPECT_NE(app.TakeBox().find("无法启动承载网络"), std::string::npos);
  EXPECT_EQ(app.WaitForBox(4000), nullptr);
  EXPECT_EQ(app.Caption(IDC_TOGGLE_HOTSPOT), kCaptionStopHotspot.Bytes());
  EXPECT_EQ(app.Caption(IDC_TOGGLE_ADAPTER), kCaptionEnableAdapter.Bytes());
  EXPECT_EQ(app.Commands(),
            (std::vector<std::string>{kStatusWords, "wlan start hostednetwork"}));
}

// Only the system's netsh runs, by its full path, through the system's interpreter, which is
// told to skip AutoRun, keep delayed expansion off and take off only the outer quotes, in a
// console without a window. Not a netsh.* beside the program (the interpreter once looked in its
// current folder first), nor one on a PATH of the user's that the user's PATHEXT leads to; and
// neither that PATH, whose first folder is one the user can write to, nor any other variable
// that names a system folder or a program, as the user may set them, reaches netsh: it gets the
// values Windows gives every process, as this one got them.
TEST(Panel, OnlyTheSystemsNetshRunsAndTheInterpreterIsStartedSafely) {
  std::string strSystemVariables;
  for (const char* lpszName : kSystemVariables) {
    char szValue[MAX_PATH];
    DWORD dwLength = GetEnvironmentVariableA(lpszName, szValue, sizeof szValue);
    ASSERT_LT(dwLength, sizeof szValue) << lpszName;
    strSystemVariables += std::string("\t") + lpszName + (dwLength ? "=" : "") +
                          (dwLength ? szValue : "");
  }
  CPanelProcess app;
  app.PlantNetshDecoys();
  // Named in another case. Wine sets SystemRoot and SystemDrive afresh in every process, so that
  // these two only look right there; on Windows the planted ones would reach netsh.
  for (const char* lpszName : kSystemVariables)
    if (strcmp(lpszName, "PATHEXT") != 0)
      app.SetEnv(CharUpperA(std::string(lpszName).data()), "C:\\Users\\Public\\planted");
  ASSERT_TRUE(app.Start());
  ASSERT_TRUE(app.Click(IDC_SHOW_STATUS));
  EXPECT_NE(app.TakeBox().find("承载网络设置"), std::string::npos);
  ASSERT_TRUE(app.Click(IDC_TOGGLE_ADAPTER));
  EXPECT_NE(app.TakeBox().find("承载网络模式已设置为允许。"), std::string::npos);
  ASSERT_TRUE(app.Click(IDC_TOGGLE_HOTSPOT));
  EXPECT_NE(app.TakeBox().find("已启动承载网络。"), std::string::npos);

  ASSERT_TRUE(app.Click(IDC_CONFIGURE));
  HWND hDlg = app.WaitForDialog(kSettingsTitle);
  ASSERT_NE(hDlg, nullptr) << app.Error();
  EXPECT_TRUE(SetDlgItemTextA(hDlg, IDC_SSID, "net!x!"));
  EXPECT_TRUE(SetDlgItemTextA(hDlg, IDC_KEY, "12345678"));
  EXPECT_TRUE(PostMessageA(hDlg, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0));
  EXPECT_NE(app.TakeBox().find("已成功更改承载网络的 SSID。"), std::string::npos);

  const std::vector<std::string> words = {
      kStatusWords, kStatusWords, "wlan set hostednetwork mode=allow", "wlan start hostednetwork",
      "wlan set hostednetwork ssid=\"net!x!\" key=\"12345678\""};
  std::vector<std::string> expected;
  // The interpreter runs in the system folder, where it looks first for what it starts, and
  // netsh's PATH, along which it would look for a helper DLL, holds none of the user's folders.
  std::string strSystem = InSystemFolder("");
  strSystem.pop_back();
  const std::string strPath = strSystem + ";" + strSystem.substr(0, strSystem.rfind('\\')) + ";" +
                              strSystem + "\\Wbem;" + strSystem + "\\WindowsPowerShell\\v1.0";
  for (const std::string& strWords : words)
    expected.push_back("\"" + InSystemFolder("cmd.exe") + "\" /d /v:off /s /c \"\"" +
                       InSystemFolder("netsh.exe") + "\" " + strWords +
                       "\"\tno console window\t" + InSystemFolder("") + "\t" + strPath +
                       strSystemVariables);
  EXPECT_EQ(app.Callers(), expected);
  EXPECT_EQ(app.Commands(), (std::vector<std::string>{
                                kStatusWords, kStatusWords, "wlan set hostednetwork mode=allow",
                                "wlan start hostednetwork",
                                "wlan set hostednetwork ssid=net!x! key=12345678"}));
  EXPECT_EQ(app.Ran(), std::vector<std::string>{});
}

BOOL CALLBACK FindShownIcon(HWND hChild, LPARAM lParam) {
  char cls[16];
  if (!GetClassNameA(hChild, cls, sizeof cls) || lstrcmpiA(cls, "Static") != 0 ||
      !IsWindowVisible(hChild) || (GetWindowLongA(hChild, GWL_STYLE) & SS_TYPEMASK) != SS_ICON)
    return TRUE;
  *reinterpret_cast<HICON*>(lParam) =
      reinterpret_cast<HICON>(SendMessageA(hChild, STM_GETICON, 0, 0));
  return FALSE;
}

// The icon a message box shows, or null when it shows none.
HICON ShownIcon(HWND hBox) {
  HICON hIcon = nullptr;
  EnumChildWindows(hBox, FindShownIcon, reinterpret_cast<LPARAM>(&hIcon));
  return hIcon;
}

// The box is titled with the program's file name, found by characters: 淺 ends in byte 0x5C.
TEST(Panel, MessageBoxDisablesThePanelWhileItIsUpAndIsTitledWithTheProgramsName) {
  CPanelProcess app;
  app.RenameProgram("深淺.exe");
  ASSERT_TRUE(app.Start());
  ASSERT_TRUE(app.Click(IDC_SHOW_STATUS));
  HWND hBox = app.WaitForBox();
  ASSERT_NE(hBox, nullptr);
  EXPECT_EQ(GetWindow(hBox, GW_OWNER), app.Panel());
  EXPECT_FALSE(IsWindowEnabled(app.Panel()));
  EXPECT_EQ(Narrow(WindowText(hBox)), "深淺");
  EXPECT_NE(ShownIcon(hBox), nullptr);
  EXPECT_TRUE(app.Dismiss(hBox, IDOK));
  EXPECT_TRUE(IsWindowEnabled(app.Panel()));
}

// The major version of the Wine this runs on; 0 on Windows.
int WineVersion() {
  using PfnWineGetVersion = const char*(CDECL*)();
  HMODULE hNtdll = GetModuleHandleA("ntdll.dll");
  auto pfnVersion = hNtdll ? reinterpret_cast<PfnWineGetVersion>(reinterpret_cast<void*>(
                                 GetProcAddress(hNtdll, "wine_get_version")))
                           : nullptr;
  return pfnVersion ? atoi(pfnVersion()) : 0;
}

// On a display scaled to 125-200 %, Windows stretches the windows of a program that does not
// declare itself aware of the DPI, and blurs their Chinese text. Wine draws every program at the
// system's DPI, and tells another process nothing of it, so the program's own thread is asked.
TEST(Panel, RunsAwareOfTheSystemsDpi) {
  CPanelProcess app;
  ASSERT_TRUE(app.Start());
  // One event for each awareness: unaware, aware of the system's DPI, of each monitor's.
  CHandle events[3];
  HANDLE handles[3];
  for (int nAwareness = 0; nAwareness < 3; ++nAwareness) {
    std::string strName = "VentoraDpiAwareness" + std::to_string(nAwareness) + "-" +
                          std::to_string(app.Pid());
    handles[nAwareness] = *events[nAwareness].Out() =
        CreateEventA(nullptr, TRUE, FALSE, strName.c_str());
    ASSERT_NE(handles[nAwareness], nullptr) << GetLastError();
  }
  HMODULE hProbe = LoadLibraryA(WindowsPath(DPI_PROBE_PATH).c_str());
  ASSERT_NE(hProbe, nullptr) << GetLastError();
  auto pfnHook = reinterpret_cast<HOOKPROC>(
      reinterpret_cast<void*>(GetProcAddress(hProbe, "DpiProbeHook")));
  HHOOK hHook = pfnHook ? SetWindowsHookExA(WH_GETMESSAGE, pfnHook, hProbe, app.ThreadId())
                        : nullptr;
  EXPECT_NE(hHook, nullptr) << GetLastError();
  EXPECT_TRUE(PostMessageA(app.Panel(), RegisterWindowMessageA("VentoraDpiProbe"), 0, 0));
  // Windows starts a program unaware, as Wine 10 does. Wine 8 makes every program aware of each
  // monitor's before it runs, so that none can declare anything.
  DWORD dwAwareness = WaitForMultipleObjects(3, handles, FALSE, 10000) - WAIT_OBJECT_0;
  EXPECT_TRUE(dwAwareness == 1 || (dwAwareness == 2 && WineVersion() < 10)) << dwAwareness;
  if (hHook) UnhookWindowsHookEx(hHook);
  FreeLibrary(hProbe);
}

void ExpectCentredOver(HWND hWnd, const RECT& over, const char* what) {
  RECT rect;
  ASSERT_TRUE(GetWindowRect(hWnd, &rect));
  EXPECT_NEAR(rect.left + rect.right, over.left + over.right, 2) << what;
  EXPECT_NEAR(rect.top + rect.bottom, over.top + over.bottom, 2) << what;
}

// Both templates say 0, 0 and leave the placement to the framework, which keeps the settings
// dialog on the work area even over a panel moved partly off it.
TEST(Panel, ComesUpCentredOnTheScreenAndTheSettingsDialogOverItOnTheWorkArea) {
  CPanelProcess app;
  ASSERT_TRUE(app.Start());
  MONITORINFO monitor = {};
  monitor.cbSize = sizeof monitor;
  ASSERT_TRUE(GetMonitorInfoA(MonitorFromWindow(app.Panel(), MONITOR_DEFAULTTOPRIMARY), &monitor));
  const RECT& work = monitor.rcWork;
  ExpectCentredOver(app.Panel(), work, "panel on the work area");

  ASSERT_TRUE(app.Click(IDC_CONFIGURE));
  HWND hDlg = app.WaitForDialog(kSettingsTitle);
  ASSERT_NE(hDlg, nullptr) << app.Error();
  RECT rcPanel;
  ASSERT_TRUE(GetWindowRect(app.Panel(), &rcPanel));
  ExpectCentredOver(hDlg, rcPanel, "settings over the panel");
  EXPECT_TRUE(app.Dismiss(hDlg, IDCANCEL));

  // Hanging off the bottom right, where centring alone would put the dialog off the work area.
  ASSERT_TRUE(SetWindowPos(app.Panel(), nullptr, work.right - 40, work.bottom - 40, 0, 0,
                           SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE));
  ASSERT_TRUE(app.Click(IDC_CONFIGURE));
  hDlg = app.WaitForDialog(kSettingsTitle);
  ASSERT_NE(hDlg, nullptr) << app.Error();
  RECT rcDlg;
  ASSERT_TRUE(GetWindowRect(hDlg, &rcDlg));
  EXPECT_TRUE(rcDlg.left >= work.left && rcDlg.top >= work.top && rcDlg.right <= work.right &&
              rcDlg.bottom <= work.bottom)
      << rcDlg.left << "," << rcDlg.top << " - " << rcDlg.right << "," << rcDlg.bottom;
  EXPECT_TRUE(app.Dismiss(hDlg, IDCANCEL));
}

enum class Close { OkButton, Escape, CloseBox };

std::string CloseName(const testing::TestParamInfo<Close>& info) {
  static const char* const names[] = {"OkButton", "Escape", "CloseBox"};
  return names[static_cast<int>(info.param)];
}

void PrintTo(Close c, std::ostream* os) { *os << CloseName({c, 0}); }

class Closing : public testing::TestWithParam<Close> {};

TEST_P(Closing, EndsTheProgramAndRunsNoCommand) {
  CPanelProcess app;
  ASSERT_TRUE(app.Start());
  switch (GetParam()) {
    case Close::OkButton: ASSERT_TRUE(app.Click(IDOK)); break;
    case Close::Escape: {
      HWND hOk = GetDlgItem(app.Panel(), IDOK);
      EXPECT_TRUE(PostMessageA(hOk, WM_KEYDOWN, VK_ESCAPE, 0x00010001));
      break;
    }
    case Close::CloseBox:
      ASSERT_TRUE(PostMessageA(app.Panel(), WM_SYSCOMMAND, SC_CLOSE, 0));
      break;
  }
  DWORD code = 1;
  ASSERT_TRUE(app.WaitExit(&code));
  EXPECT_EQ(code, 0u);
  EXPECT_EQ(app.Commands(), std::vector<std::string>{kStatusWords});
}

INSTANTIATE_TEST_SUITE_P(Ways, Closing,
                         testing::Values(Close::OkButton, Close::Escape, Close::CloseBox),
                         CloseName);

}  // namespace

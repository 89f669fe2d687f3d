// What the user is shown, and what is left running, when a command cannot run: where its program
// is missing, and where a call fails that Windows may fail and Wine never does, for which this
// program links stand-ins that fail when a test says.
#include <gtest/gtest.h>
#include <windows.h>
// After windows.h, which it needs.
#include <tlhelp32.h>

#include <string.h>

#include <string>
#include <vector>

#include "command/commands.h"
#include "command/system_calls.h"
#include "resource.h"
#include "test_support.h"
#include "tools/drive/app_windows.h"
#include "ui/HotspotDlg.h"
#include "ui/texts.h"

namespace {

enum class Call { None, SystemDirectory, Pipe, Timer };

Call g_failing = Call::None;
// Not a failure: the deadline fires only once the command has ended by itself.
bool g_bDeadlineAfterTheEnd = false;
WAITORTIMERCALLBACK g_pfnDeadline;
PVOID g_pvDeadline;

// The processes of that name this one started.
std::vector<DWORD> Children(const char* lpszExe) {
  std::vector<DWORD> children;
  HANDLE hSnapshot = CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0);
  EXPECT_NE(hSnapshot, INVALID_HANDLE_VALUE);
  if (hSnapshot == INVALID_HANDLE_VALUE) return children;
  PROCESSENTRY32 entry = {};
  entry.dwSize = sizeof entry;
  for (BOOL bMore = Process32First(hSnapshot, &entry); bMore;
       bMore = Process32Next(hSnapshot, &entry))
    if (entry.th32ParentProcessID == GetCurrentProcessId() &&
        lstrcmpiA(entry.szExeFile, lpszExe) == 0)
      children.push_back(entry.th32ProcessID);
  CloseHandle(hSnapshot);
  return children;
}

// Fires the runner's deadline once the command has ended and its reader has had ample time to
// find the output's end.
void CALLBACK FireAfterTheEnd(PVOID, BOOLEAN) {
  const std::vector<DWORD> children = Children("emit.exe");
  HANDLE hChild = children.size() == 1 ? OpenProcess(SYNCHRONIZE, FALSE, children[0]) : nullptr;
  EXPECT_NE(hChild, nullptr);
  if (hChild) {
    EXPECT_EQ(WaitForSingleObject(hChild, 20000), WAIT_OBJECT_0);
    CloseHandle(hChild);
  }
  Sleep(1000);
  g_pfnDeadline(g_pvDeadline, TRUE);
}

}  // namespace

UINT CallGetSystemDirectoryW(LPWSTR lpBuffer, UINT uSize) {
  return g_failing == Call::SystemDirectory ? 0 : GetSystemDirectoryW(lpBuffer, uSize);
}

BOOL CallCreatePipe(PHANDLE phReadPipe, PHANDLE phWritePipe, LPSECURITY_ATTRIBUTES lpAttributes,
                    DWORD nSize) {
  return g_failing != Call::Pipe && CreatePipe(phReadPipe, phWritePipe, lpAttributes, nSize);
}

// Fails only after a while, so that a command let go before its deadline was set has run.
BOOL CallCreateTimerQueueTimer(PHANDLE phNewTimer, HANDLE hTimerQueue,
                               WAITORTIMERCALLBACK pfnCallback, PVOID pvParameter,
                               DWORD dwDueTime, DWORD dwPeriod, ULONG uFlags) {
  if (g_bDeadlineAfterTheEnd) {
    g_pfnDeadline = pfnCallback;
    g_pvDeadline = pvParameter;
    return CreateTimerQueueTimer(phNewTimer, hTimerQueue, FireAfterTheEnd, nullptr, 0, 0, uFlags);
  }
  if (g_failing != Call::Timer)
    return CreateTimerQueueTimer(phNewTimer, hTimerQueue, pfnCallback, pvParameter, dwDueTime,
                                 dwPeriod, uFlags);
  Sleep(1000);
  return FALSE;
}

namespace {

std::vector<std::string> g_vecBoxes;
std::vector<UINT> g_vecInputLeft;

// Input made while a command ran, as it waits in the queue: Enter, Alt+F4, a click, and a click
// on a window's close box. The box that follows would take it in and close unread.
const UINT kInputMade[][3] = {{WM_KEYDOWN, VK_RETURN, 0x001C0001},
                              {WM_CHAR, '\r', 0x001C0001},
                              {WM_SYSKEYDOWN, VK_F4, 0x203E0001},
                              {WM_LBUTTONDOWN, MK_LBUTTON, 0},
                              {WM_NCLBUTTONDOWN, HTCLOSE, 0}};

// Records the box, and the input made meanwhile that is still there for it to take.
int RecordBox(HWND, LPCWSTR lpszText, LPCWSTR, UINT) {
  g_vecBoxes.push_back(Narrow(lpszText));
  MSG msg;
  for (const auto& input : kInputMade)
    if (PeekMessageA(&msg, nullptr, input[0], input[0], PM_NOREMOVE))
      g_vecInputLeft.push_back(input[0]);
  return IDOK;
}

// The processes of that name this one started that still run a moment later.
std::vector<DWORD> ChildrenRunning(const char* lpszExe) {
  std::vector<DWORD> running;
  for (DWORD dwPid : Children(lpszExe))
    if (!EndsWithin(dwPid, 2000)) running.push_back(dwPid);
  return running;
}

class FailingCalls : public testing::Test {
 protected:
  void SetUp() override {
    g_vecBoxes.clear();
    g_vecInputLeft.clear();
    AfxSetMessageBoxHook(RecordBox);
  }
  void TearDown() override {
    AfxSetMessageBoxHook(nullptr);
    g_failing = Call::None;
    g_bDeadlineAfterTheEnd = false;
  }
};

struct FailureCase {
  const char* name;
  Call call;
  const char* message;
};

void PrintTo(const FailureCase& c, std::ostream* os) { *os << c.name; }

class FailedRun : public FailingCalls, public testing::WithParamInterface<FailureCase> {};

// A command that would run for a while, or, where every call succeeds, whose interpreter is
// missing: reported at once, over no input made meanwhile; nothing of it ran, for it may have
// changed the network before it was ended, and nothing of it is left running.
TEST_P(FailedRun, IsReportedAtOnceWithNoInputLeftToCloseItAndNothingRanOrRuns) {
  g_failing = GetParam().call;
  CTempFolder traces;
  const std::string strTrace = traces / "ran";
  const std::string strLine =
      (g_failing == Call::None ? "C:\\Windows\\System32\\no-such-cmd.exe /c netsh"
                               : WindowsPath(EMIT_PATH) + " trace:" + strTrace +
                                     " out:late sleep:8000");
  MSG msg;
  PeekMessageA(&msg, nullptr, 0, 0, PM_NOREMOVE);  // makes this thread's queue
  for (const auto& input : kInputMade)
    ASSERT_TRUE(PostThreadMessageA(GetCurrentThreadId(), input[0], input[1], input[2]));
  wchar_t szReport[REPORT_SIZE] = {};
  DWORD dwStart = GetTickCount();
  CHotspotDlg::RunCommand(strLine.c_str(), szReport);
  EXPECT_LT(GetTickCount() - dwStart, 5000u);
  EXPECT_EQ(g_vecBoxes, std::vector<std::string>{GetParam().message});
  EXPECT_EQ(g_vecInputLeft, std::vector<UINT>{});
  EXPECT_EQ(szReport[0], 0);
  EXPECT_EQ(ChildrenRunning("emit.exe"), std::vector<DWORD>{});
  EXPECT_FALSE(FileExists(strTrace));
}

INSTANTIATE_TEST_SUITE_P(
    Causes, FailedRun,
    testing::Values(FailureCase{"MissingInterpreter", Call::None, kMsgProcessFailed.Bytes()},
                    FailureCase{"Pipe", Call::Pipe, kMsgPipeFailed.Bytes()},
                    FailureCase{"DeadlineTimer", Call::Timer, kMsgProcessFailed.Bytes()}),
    [](const testing::TestParamInfo<FailureCase>& info) { return info.param.name; });

// A command whose output ended just as its deadline fired ran to its end: its report is whole,
// and no time-out is reported.
TEST_F(FailingCalls, OutputThatEndedAsTheDeadlineFiredIsNoTimeOut) {
  g_bDeadlineAfterTheEnd = true;
  wchar_t szReport[REPORT_SIZE] = {};
  CHotspotDlg::RunCommand((WindowsPath(EMIT_PATH) + " out:whole").c_str(), szReport);
  EXPECT_EQ(Narrow(szReport, CP_UTF8), "whole");
  EXPECT_EQ(g_vecBoxes, std::vector<std::string>{});
}

class CSettingsPanel : public CHotspotDlg {
 public:
  void Configure() { OnConfigureHotspot(); }
};

// Fills in the settings dialog, from another thread, and presses its OK button.
DWORD WINAPI SubmitSettings(LPVOID) {
  HWND hDlg = WaitForAppWindow(GetCurrentProcessId(), kSettingsTitle, 30000);
  bool bDone = hDlg && SetDlgItemTextA(hDlg, IDC_SSID, "net") &&
               SetDlgItemTextA(hDlg, IDC_KEY, "12345678") && PressButton(hDlg, IDOK);
  return bDone ? 0 : 1;
}

// Without the system folder there is no command to compose, nor could the runner start one.
TEST_F(FailingCalls, SettingsWithoutTheSystemFolderAreReportedAndGoNoFurther) {
  g_failing = Call::SystemDirectory;
  HANDLE hThread = CreateThread(nullptr, 0, SubmitSettings, nullptr, 0, nullptr);
  ASSERT_NE(hThread, nullptr);
  CSettingsPanel panel;
  panel.Configure();
  EXPECT_EQ(WaitForSingleObject(hThread, 30000), WAIT_OBJECT_0);
  DWORD dwCode = 1;
  GetExitCodeThread(hThread, &dwCode);
  CloseHandle(hThread);
  EXPECT_EQ(dwCode, 0u) << "the settings dialog was not submitted";
  EXPECT_EQ(g_vecBoxes, std::vector<std::string>{kMsgProcessFailed.Bytes()});
}

}  // namespace

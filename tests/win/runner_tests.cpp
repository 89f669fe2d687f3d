// RunCommand with real child processes: the project's emit.exe, cmd.exe and the netsh simulator.
#include <gtest/gtest.h>

#include <string.h>

#include <algorithm>
#include <string>
#include <vector>

#include "command/commands.h"
#include "command/handle.h"
#include "command/tree_job.h"
#include "test_support.h"
#include "tools/drive/app_windows.h"
#include "ui/HotspotDlg.h"
#include "ui/texts.h"

namespace {

// What each box showed, in GBK, to compare with the program's texts.
std::vector<std::string> g_vecBoxes;

// The runner's failures reach the screen as warnings.
int RecordBox(HWND, LPCWSTR lpszText, LPCWSTR, UINT nType) {
  EXPECT_EQ(nType, static_cast<UINT>(MB_OK | MB_ICONEXCLAMATION));
  g_vecBoxes.push_back(Narrow(lpszText));
  return IDOK;
}

class Runner : public testing::Test {
 protected:
  void SetUp() override {
    g_vecBoxes.clear();
    AfxSetMessageBoxHook(RecordBox);
  }
  void TearDown() override { AfxSetMessageBoxHook(nullptr); }

  // Runs emit.exe with the given arguments (UTF-8), directly or through the interpreter, and
  // returns the decoded report in UTF-8.
  std::string Run(const std::string& strArgs, bool bViaCmd = false, DWORD dwTimeoutMs = 20000) {
    std::string strLine = WindowsPath(EMIT_PATH) + " " + strArgs;
    if (bViaCmd) strLine = "C:\\Windows\\System32\\cmd.exe /c " + strLine;
    memset(m_szReport, 0, sizeof m_szReport);
    CHotspotDlg::RunCommand(strLine.c_str(), m_szReport, dwTimeoutMs);
    return Narrow(m_szReport, CP_UTF8);
  }

  wchar_t m_szReport[REPORT_SIZE];
};

// emit.exe writes its arguments in the ANSI code page, as the OEM one on both systems tested.
TEST_F(Runner, CollectsStandardOutputAndErrorInArrivalOrderDecoded) {
  EXPECT_EQ(Run("out:one sleep:30 err:two sleep:30 out:three"), "onetwothree");
  EXPECT_EQ(Run(u8"err:以及 out:标准输出", true), u8"以及标准输出");
  EXPECT_TRUE(g_vecBoxes.empty());
}

TEST_F(Runner, CommandThatWritesNothingLeavesTheReportAllZero) {
  Run("sleep:10", true);
  for (wchar_t ch : m_szReport) ASSERT_EQ(ch, 0);
  EXPECT_TRUE(g_vecBoxes.empty());
}

TEST_F(Runner, ZeroByteEndsTheTextOfItsChunkOnly) {
  EXPECT_EQ(Run("hex:61006200 sleep:100 out:c"), "ac");
}

// Cut at 1023 bytes of what the command wrote, on a whole character of the OEM code page; what
// follows a cut is dropped, though a byte would still fit.
TEST_F(Runner, LongOutputIsCutOnAWholeCharacterAndReadToTheEnd) {
  std::string strText = Run("fill:200000 out:end");
  ASSERT_EQ(strText.size(), REPORT_SIZE - 1);
  EXPECT_EQ(strText.substr(0, 30), "abcdefghijklmnopqrstuvwxyzabcd");
  const std::string strFull = Run("fill:1022");
  EXPECT_EQ(Run(u8"fill:1022 sleep:50 out:启 sleep:50 out:b"), strFull);
  EXPECT_TRUE(g_vecBoxes.empty());
}

TEST_F(Runner, CommandThatKeepsItsOutputOpenIsEndedWithEverythingItStarted) {
  DWORD dwStart = GetTickCount();
  // The grandchild holds the output; only ending the whole tree ends the read.
  std::string strReport = Run("out:partial spawn-hang", true, 1500);
  DWORD dwElapsed = GetTickCount() - dwStart;
  EXPECT_EQ(strReport.rfind("partial spawned:", 0), 0u) << strReport;
  EXPECT_GE(dwElapsed, 1400u);
  EXPECT_LT(dwElapsed, 15000u);
  ASSERT_EQ(g_vecBoxes.size(), 1u);
  EXPECT_EQ(g_vecBoxes[0], kMsgTimedOut.Bytes());
  EXPECT_TRUE(EndsWithin(SpawnedPid(strReport), 5000)) << "the grandchild lives on";

  // Ended inside a character: the report is cut there, and read in the code page it was written
  // in, here UTF-8 ("部分" and half of another character).
  g_vecBoxes.clear();
  EXPECT_EQ(Run("hex:e983a8e58886e5 hang", false, 1500), u8"部分");
  EXPECT_EQ(g_vecBoxes, std::vector<std::string>{kMsgTimedOut.Bytes()});
}

struct CursorWatch {
  DWORD dwMainThread;
  HCURSOR hWait;  // as the runner's thread loads it: under Wine another thread gets another
  HANDLE hAttached;
  volatile LONG bRunEnded;
  bool bSawHourglass;
};

// Sharing the runner's input state, a second thread sees the cursor the runner has set; it looks
// until it sees the hourglass or the run has ended.
DWORD WINAPI WatchCursor(LPVOID pParam) {
  CursorWatch* pWatch = static_cast<CursorWatch*>(pParam);
  MSG msg;
  PeekMessageA(&msg, nullptr, 0, 0, PM_NOREMOVE);
  if (!AttachThreadInput(GetCurrentThreadId(), pWatch->dwMainThread, TRUE)) return 1;
  SetEvent(pWatch->hAttached);
  while (!pWatch->bSawHourglass && !InterlockedCompareExchange(&pWatch->bRunEnded, 0, 0)) {
    pWatch->bSawHourglass = GetCursor() == pWatch->hWait;
    Sleep(10);
  }
  AttachThreadInput(GetCurrentThreadId(), pWatch->dwMainThread, FALSE);
  return 0;
}

// The hourglass shows while a command runs, and the cursor is back before any message shows.
TEST_F(Runner, ShowsTheHourglassWhileTheCommandRunsAndNotOverItsMessages) {
  HCURSOR hArrow = LoadCursorA(nullptr, IDC_ARROW);
  SetCursor(hArrow);
  CursorWatch watch = {GetCurrentThreadId(), LoadCursorA(nullptr, IDC_WAIT),
                       CreateEventA(nullptr, TRUE, FALSE, nullptr), 0, false};
  ASSERT_NE(watch.hAttached, nullptr);
  HANDLE hThread = CreateThread(nullptr, 0, WatchCursor, &watch, 0, nullptr);
  ASSERT_NE(hThread, nullptr);
  // The watcher attaches through this thread's message queue, which the wait keeps serving.
  HANDLE handles[] = {watch.hAttached, hThread};
  EXPECT_EQ(MsgWaitForMultipleObjects(2, handles, FALSE, 10000, 0), WAIT_OBJECT_0);
  Run("sleep:1500");
  InterlockedExchange(&watch.bRunEnded, 1);
  EXPECT_EQ(WaitForSingleObject(hThread, 10000), WAIT_OBJECT_0);
  DWORD dwCode = 1;
  GetExitCodeThread(hThread, &dwCode);
  CloseHandle(hThread);
  CloseHandle(watch.hAttached);
  ASSERT_EQ(dwCode, 0u) << "AttachThreadInput";
  EXPECT_TRUE(watch.bSawHourglass);
  EXPECT_EQ(GetCursor(), hArrow);

  AfxSetMessageBoxHook([](HWND, LPCWSTR lpszText, LPCWSTR, UINT) {
    g_vecBoxes.push_back(GetCursor() == LoadCursorA(nullptr, IDC_ARROW) ? "arrow"
                                                                         : Narrow(lpszText));
    return IDOK;
  });
  CHotspotDlg::RunCommand("Z:\\no\\such\\program.exe", m_szReport);
  EXPECT_EQ(g_vecBoxes, std::vector<std::string>{"arrow"});
  EXPECT_EQ(GetCursor(), hArrow);
}

// Where the system does not count a process's handles, values are handed out lowest free first:
// the highest of many fresh values then rises with every handle kept open, whatever holes the
// runs' short-lived handles leave below it.
DWORD HandleGauge() {
  DWORD dwCount = 0;
  if (GetProcessHandleCount(GetCurrentProcess(), &dwCount) && dwCount) return dwCount;
  const int kProbes = 256;
  HANDLE hProbes[kProbes];
  UINT_PTR nHighest = 0;
  int nMade = 0;
  for (; nMade < kProbes; ++nMade) {
    hProbes[nMade] = CreateEventA(nullptr, FALSE, FALSE, nullptr);
    if (!hProbes[nMade]) break;
    nHighest = std::max(nHighest, reinterpret_cast<UINT_PTR>(hProbes[nMade]));
  }
  for (int i = 0; i < nMade; ++i) CloseHandle(hProbes[i]);
  if (nMade < kProbes) ADD_FAILURE() << "CreateEventA: error " << GetLastError();
  return static_cast<DWORD>(nHighest);
}

// A process that cannot be put in a job, as on Windows 7 inside a job, is stood for by a handle
// without the rights that putting it in one needs: no job is kept for it.
TEST_F(Runner, ReleasesEveryHandleOnEveryPath) {
  CHandle hUnassignable;
  ASSERT_TRUE(DuplicateHandle(GetCurrentProcess(), GetCurrentProcess(), GetCurrentProcess(),
                              hUnassignable.Out(), SYNCHRONIZE, FALSE, 0));
  Run("out:warm");
  CHotspotDlg::RunCommand("Z:\\no\\such\\program.exe", m_szReport);
  Run("hang", false, 50);
  DWORD dwBefore = HandleGauge();
  g_vecBoxes.clear();
  int nJobsKept = 0;
  for (int i = 0; i < 200; ++i) {
    switch (i % 5) {
      case 0: case 1: Run("out:ok"); break;
      case 2: CHotspotDlg::RunCommand("Z:\\no\\such\\program.exe", m_szReport); break;
      case 3: Run("hang", false, 30); break;
      case 4: nJobsKept += CreateTreeJob(hUnassignable) != nullptr; break;
    }
  }
  DWORD dwAfter = HandleGauge();
  EXPECT_LE(dwAfter, dwBefore);
  EXPECT_EQ(g_vecBoxes.size(), 80u);
  EXPECT_EQ(nJobsKept, 0);

  // The gauge sees one more handle of each kind the runner owns.
  CHandle hProcess(OpenProcess(SYNCHRONIZE, FALSE, GetCurrentProcessId()));
  ASSERT_NE(hProcess, nullptr);
  DWORD dwWithProcess = HandleGauge();
  EXPECT_GT(dwWithProcess, dwAfter) << "a process handle";
  CHandle hJob(CreateJobObjectA(nullptr, nullptr));
  ASSERT_NE(hJob, nullptr);
  EXPECT_GT(HandleGauge(), dwWithProcess) << "a job handle";
}

UINT g_nType;

// What reaches MessageBoxA for each kind of box the program may ask the framework for.
TEST(AfxMessageBox, GetsTheFrameworksIconOnlyWhereTheCallerChoseNone) {
  AfxSetMessageBoxHook([](HWND, LPCWSTR, LPCWSTR, UINT nType) {
    g_nType = nType;
    return IDOK;
  });
  const UINT cases[][2] = {
      {MB_OK, MB_OK | MB_ICONEXCLAMATION},
      {MB_OKCANCEL | MB_DEFBUTTON2, MB_OKCANCEL | MB_DEFBUTTON2 | MB_ICONEXCLAMATION},
      {MB_YESNO, MB_YESNO | MB_ICONQUESTION},
      {MB_YESNOCANCEL | MB_TOPMOST, MB_YESNOCANCEL | MB_TOPMOST | MB_ICONQUESTION},
      {MB_OK | MB_ICONINFORMATION, MB_OK | MB_ICONINFORMATION},
      {MB_YESNO | MB_ICONSTOP, MB_YESNO | MB_ICONSTOP},
      {MB_RETRYCANCEL, MB_RETRYCANCEL},
      {MB_ABORTRETRYIGNORE | MB_DEFBUTTON3, MB_ABORTRETRYIGNORE | MB_DEFBUTTON3},
  };
  for (const auto& c : cases) {
    g_nType = ~0u;
    AfxMessageBox(CGbkText("x"), c[0]);
    EXPECT_EQ(g_nType, c[1]) << "asked for " << std::hex << c[0];
  }
  AfxSetMessageBoxHook(nullptr);
}

}  // namespace

// The runner where it cannot hold a command's tree in a job, as on Windows 7 for a program that
// already runs inside a job. Wine nests jobs, so this program links a CreateTreeJob that never
// can in place of the runner's.
#include <gtest/gtest.h>

#include <string>

#include "command/commands.h"
#include "command/runner.h"
#include "command/tree_job.h"
#include "test_support.h"
#include "tools/drive/app_windows.h"

HANDLE CreateTreeJob(HANDLE) { return nullptr; }

namespace {

wchar_t g_szReport[REPORT_SIZE];
RunResult g_result;

// The child never ends, nor does the grandchild it starts, which holds the output open.
DWORD WINAPI RunTreeThatNeverEnds(LPVOID) {
  std::string strLine = WindowsPath(EMIT_PATH) + " out:partial spawn-hang hang";
  g_result = RunHidden(strLine.c_str(), g_szReport, 1500);
  return 0;
}

TEST(RunnerWithoutJob, DeadlineEndsTheReadThoughAGrandchildHoldsTheOutput) {
  DWORD dwStart = GetTickCount();
  // On a thread of its own, so that a read that never ends fails the test instead of hanging it.
  HANDLE hThread = CreateThread(nullptr, 0, RunTreeThatNeverEnds, nullptr, 0, nullptr);
  ASSERT_NE(hThread, nullptr);
  bool bReturned = WaitForSingleObject(hThread, 20000) == WAIT_OBJECT_0;
  DWORD dwElapsed = GetTickCount() - dwStart;
  // Ending the grandchild ends a read still pending, and with it the thread.
  const std::string strReport = Narrow(g_szReport, CP_UTF8);
  if (HANDLE hGrandchild = OpenProcess(PROCESS_TERMINATE, FALSE, SpawnedPid(strReport))) {
    TerminateProcess(hGrandchild, 1);
    CloseHandle(hGrandchild);
  }
  ASSERT_TRUE(bReturned) << "the read outlived the deadline";
  CloseHandle(hThread);
  EXPECT_EQ(g_result, RunResult::TimedOut);
  EXPECT_EQ(strReport.rfind("partial spawned:", 0), 0u) << strReport;
  EXPECT_GE(dwElapsed, 1400u);
  EXPECT_LT(dwElapsed, 15000u);
}

}  // namespace

// The runner where it cannot hold a command's tree in a job, as on Windows 7 for a program that
// already runs inside a job. Wine nests jobs, so this program links a CreateTreeJob that never
// can in place of the runner's.
#include <gtest/gtest.h>

#include <string>

#include "command/commands.h"
#include "command/runner.h"
#include "command/tree_job.h"
#include "test_support.h"

HANDLE CreateTreeJob(HANDLE) { return nullptr; }

namespace {

struct CRun {
  std::string strLine;
  DWORD dwTimeoutMs;
  char szReport[REPORT_SIZE] = {};
  RunResult result = RunResult::Done;
};

DWORD WINAPI RunOnThread(LPVOID pvRun) {
  auto pRun = static_cast<CRun*>(pvRun);
  pRun->result = RunHidden(pRun->strLine.c_str(), pRun->szReport, sizeof pRun->szReport,
                           pRun->dwTimeoutMs);
  return 0;
}

// The child never ends, nor does the grandchild it starts, which holds the output open: the
// deadline ends the child, and the read must end though the grandchild lives on.
TEST(RunnerWithoutJob, DeadlineEndsTheReadThoughAGrandchildHoldsTheOutput) {
  CRun run;
  run.strLine = WindowsPath(EMIT_PATH) + " out:partial spawn-hang hang";
  run.dwTimeoutMs = 1500;
  DWORD dwStart = GetTickCount();
  // On a thread of its own, so that a read that never ends fails the test instead of hanging it.
  HANDLE hThread = CreateThread(nullptr, 0, RunOnThread, &run, 0, nullptr);
  ASSERT_NE(hThread, nullptr);
  bool bReturned = WaitForSingleObject(hThread, 20000) == WAIT_OBJECT_0;
  DWORD dwElapsed = GetTickCount() - dwStart;
  // Ending the grandchild ends a read still pending, and with it the thread.
  DWORD dwGrandchild = SpawnedPid(run.szReport);
  if (HANDLE hGrandchild = OpenProcess(PROCESS_TERMINATE, FALSE, dwGrandchild)) {
    TerminateProcess(hGrandchild, 1);
    CloseHandle(hGrandchild);
  }
  ASSERT_TRUE(bReturned) << "the read outlived the deadline";
  CloseHandle(hThread);
  EXPECT_EQ(run.result, RunResult::TimedOut);
  EXPECT_EQ(std::string(run.szReport).rfind("partial spawned:", 0), 0u) << run.szReport;
  EXPECT_GE(dwElapsed, 1400u);
  EXPECT_LT(dwElapsed, 15000u);
}

}  // namespace

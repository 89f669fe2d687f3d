// The runner where it cannot hold a command's tree in a job, as on Windows 7 for a program that
// already runs inside a job. Wine nests jobs, so this program links a CreateTreeJob that never
// can in place of the runner's, and that notes which process the runner started.
#include <gtest/gtest.h>

#include <string>

#include "command/commands.h"
#include "command/runner.h"
#include "command/tree_job.h"
#include "test_support.h"
#include "tools/drive/app_windows.h"

namespace {

DWORD g_dwCommandPid;

}  // namespace

HANDLE CreateTreeJob(HANDLE hProcess) {
  g_dwCommandPid = GetProcessId(hProcess);
  return nullptr;
}

namespace {

// Outside the test's frame: a run that never returns goes on using them.
std::string g_strLine;
wchar_t g_szReport[REPORT_SIZE];
RunResult g_result;

DWORD WINAPI RunTree(LPVOID) {
  g_result = RunHidden(g_strLine.c_str(), g_szReport, 1500);
  return 0;
}

void EndProcess(DWORD dwPid) {
  if (HANDLE hProcess = OpenProcess(PROCESS_TERMINATE, FALSE, dwPid)) {
    TerminateProcess(hProcess, 1);
    CloseHandle(hProcess);
  }
}

// The command never ends by itself, nor does the grandchild it starts, which holds the output
// open and either writes nothing, so that the read waits, or writes without pause, so that every
// read completes at once. At the deadline the command is ended; the grandchild, outside any job,
// is not, and lives on unless its writes fail once the output is closed.
class RunnerWithoutJob : public testing::TestWithParam<const char*> {};

TEST_P(RunnerWithoutJob, DeadlineEndsTheCommandAndTheReadThoughAGrandchildHoldsTheOutput) {
  g_strLine = WindowsPath(EMIT_PATH) + " out:partial spawn-" + GetParam() + " hang";
  DWORD dwStart = GetTickCount();
  // On a thread of its own, so that a read that never ends fails the test instead of hanging it.
  HANDLE hThread = CreateThread(nullptr, 0, RunTree, nullptr, 0, nullptr);
  ASSERT_NE(hThread, nullptr);
  bool bReturned = WaitForSingleObject(hThread, 20000) == WAIT_OBJECT_0;
  DWORD dwElapsed = GetTickCount() - dwStart;
  const std::string strReport = Narrow(g_szReport, CP_UTF8);
  bool bCommandEnded = EndsWithin(g_dwCommandPid, 5000);
  // Ending them ends a read still pending, and with it the thread.
  EndProcess(g_dwCommandPid);
  EndProcess(SpawnedPid(strReport));
  ASSERT_TRUE(bReturned) << "the read outlived the deadline";
  CloseHandle(hThread);
  EXPECT_EQ(g_result, RunResult::TimedOut);
  EXPECT_TRUE(bCommandEnded) << "the command lives on";
  EXPECT_EQ(strReport.rfind("partial spawned:", 0), 0u) << strReport.substr(0, 40);
  EXPECT_GE(dwElapsed, 1400u);
  EXPECT_LT(dwElapsed, 15000u);
}

INSTANTIATE_TEST_SUITE_P(Grandchild, RunnerWithoutJob, testing::Values("hang", "flood"),
                         [](const testing::TestParamInfo<const char*>& info) {
                           return std::string(info.param) == "hang" ? "Silent" : "Flooding";
                         });

}  // namespace

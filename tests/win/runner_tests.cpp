// RunCommand with real child processes: the project's emit.exe, cmd.exe and the netsh simulator.
#include <gtest/gtest.h>

#include <string.h>

#include <algorithm>
#include <string>
#include <vector>

#include "command/commands.h"
#include "command/handle.h"
#include "test_support.h"
#include "ui/HotspotDlg.h"

namespace {

std::vector<std::string> g_boxes;

// The runner's failures reach the screen as warnings.
int RecordBox(HWND, LPCSTR text, LPCSTR, UINT type) {
  EXPECT_EQ(type, static_cast<UINT>(MB_OK | MB_ICONEXCLAMATION));
  g_boxes.push_back(text);
  return IDOK;
}

class Runner : public testing::Test {
 protected:
  void SetUp() override {
    g_boxes.clear();
    AfxSetMessageBoxHook(RecordBox);
  }
  void TearDown() override { AfxSetMessageBoxHook(nullptr); }

  // Runs emit.exe with the given arguments, directly or through the interpreter.
  std::string Run(const std::string& args, bool viaCmd = false, DWORD timeoutMs = 20000) {
    std::string line = WindowsPath(EMIT_PATH) + " " + args;
    if (viaCmd) line = "C:\\Windows\\System32\\cmd.exe /c " + line;
    memset(report, 0, sizeof report);
    CHotspotDlg::RunCommand(line.c_str(), report, timeoutMs);
    return report;
  }

  char report[REPORT_SIZE];
};

TEST_F(Runner, CollectsStandardOutputAndErrorInArrivalOrder) {
  EXPECT_EQ(Run("out:one sleep:30 err:two sleep:30 out:three"), "onetwothree");
  EXPECT_EQ(Run("err:以及 out:标准输出", true), "以及标准输出");
  EXPECT_TRUE(g_boxes.empty());
}

TEST_F(Runner, CommandThatWritesNothingLeavesTheReportAllZero) {
  Run("sleep:10", true);
  for (char c : report) ASSERT_EQ(c, 0);
  EXPECT_TRUE(g_boxes.empty());
}

TEST_F(Runner, ZeroByteEndsTheTextOfItsChunkOnly) {
  EXPECT_EQ(Run("hex:61006200 sleep:100 out:c"), "ac");
}

TEST_F(Runner, LongOutputIsCutAtTheReportsSizeAndReadToTheEnd) {
  std::string text = Run("fill:200000 out:end");
  ASSERT_EQ(text.size(), REPORT_SIZE - 1);
  EXPECT_EQ(text.substr(0, 30), "abcdefghijklmnopqrstuvwxyzabcd");
  EXPECT_TRUE(g_boxes.empty());
}

TEST_F(Runner, MissingInterpreterIsReportedAndLeavesTheReportEmpty) {
  memset(report, 0, sizeof report);
  CHotspotDlg::RunCommand("C:\\Windows\\System32\\no-such-cmd.exe /c netsh", report);
  EXPECT_EQ(report[0], 0);
  ASSERT_EQ(g_boxes.size(), 1u);
  EXPECT_EQ(g_boxes[0], kMsgProcessFailed);
}

TEST_F(Runner, CommandThatKeepsItsOutputOpenIsEndedWithEverythingItStarted) {
  DWORD start = GetTickCount();
  // The grandchild holds the output; only ending the whole tree ends the read.
  EXPECT_EQ(Run("out:partial spawn-hang", true, 1500), "partial");
  DWORD elapsed = GetTickCount() - start;
  EXPECT_GE(elapsed, 1400u);
  EXPECT_LT(elapsed, 15000u);
  ASSERT_EQ(g_boxes.size(), 1u);
  EXPECT_EQ(g_boxes[0], kMsgTimedOut);
}

TEST_F(Runner, RestoresTheCursorBeforeAnyMessage) {
  HCURSOR arrow = LoadCursorA(nullptr, IDC_ARROW);
  SetCursor(arrow);
  AfxSetMessageBoxHook([](HWND, LPCSTR text, LPCSTR, UINT) {
    g_boxes.push_back(GetCursor() == LoadCursorA(nullptr, IDC_ARROW) ? "arrow" : text);
    return IDOK;
  });
  Run("out:x");
  CHotspotDlg::RunCommand("Z:\\no\\such\\program.exe", report);
  EXPECT_EQ(GetCursor(), arrow);
  EXPECT_EQ(g_boxes, std::vector<std::string>{"arrow"});
}

struct CursorWatch {
  DWORD mainThread;
  HCURSOR seen;
};

// Sharing the runner's input state, a second thread sees the cursor the runner has set.
DWORD WINAPI WatchCursor(LPVOID pv) {
  auto watch = static_cast<CursorWatch*>(pv);
  MSG msg;
  PeekMessageA(&msg, nullptr, 0, 0, PM_NOREMOVE);
  if (!AttachThreadInput(GetCurrentThreadId(), watch->mainThread, TRUE)) return 1;
  Sleep(700);
  watch->seen = GetCursor();
  AttachThreadInput(GetCurrentThreadId(), watch->mainThread, FALSE);
  return 0;
}

TEST_F(Runner, ShowsTheHourglassWhileTheCommandRuns) {
  SetCursor(LoadCursorA(nullptr, IDC_ARROW));
  CursorWatch watch = {GetCurrentThreadId(), nullptr};
  HANDLE hThread = CreateThread(nullptr, 0, WatchCursor, &watch, 0, nullptr);
  ASSERT_NE(hThread, nullptr);
  Sleep(100);
  Run("sleep:1500");
  EXPECT_EQ(WaitForSingleObject(hThread, 10000), WAIT_OBJECT_0);
  DWORD code = 1;
  GetExitCodeThread(hThread, &code);
  CloseHandle(hThread);
  ASSERT_EQ(code, 0u) << "AttachThreadInput";
  EXPECT_EQ(watch.seen, LoadCursorA(nullptr, IDC_WAIT));
  EXPECT_EQ(GetCursor(), LoadCursorA(nullptr, IDC_ARROW));
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

TEST_F(Runner, ReleasesEveryHandleOnEveryPath) {
  Run("out:warm");
  CHotspotDlg::RunCommand("Z:\\no\\such\\program.exe", report);
  Run("hang", false, 50);
  DWORD before = HandleGauge();
  g_boxes.clear();
  for (int i = 0; i < 200; ++i) {
    switch (i % 4) {
      case 0: case 1: Run("out:ok"); break;
      case 2: CHotspotDlg::RunCommand("Z:\\no\\such\\program.exe", report); break;
      case 3: Run("hang", false, 30); break;
    }
  }
  DWORD after = HandleGauge();
  EXPECT_LE(after, before);
  EXPECT_EQ(g_boxes.size(), 100u);

  // The gauge sees one more handle of each kind the runner owns.
  CHandle hProcess(OpenProcess(SYNCHRONIZE, FALSE, GetCurrentProcessId()));
  ASSERT_NE(hProcess, nullptr);
  DWORD withProcess = HandleGauge();
  EXPECT_GT(withProcess, after) << "a process handle";
  CHandle hJob(CreateJobObjectA(nullptr, nullptr));
  ASSERT_NE(hJob, nullptr);
  EXPECT_GT(HandleGauge(), withProcess) << "a job handle";
}

UINT g_type;

// What reaches MessageBoxA for each kind of box the program may ask the framework for.
TEST(AfxMessageBox, GetsTheFrameworksIconOnlyWhereTheCallerChoseNone) {
  AfxSetMessageBoxHook([](HWND, LPCSTR, LPCSTR, UINT type) {
    g_type = type;
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
    g_type = ~0u;
    AfxMessageBox("x", c[0]);
    EXPECT_EQ(g_type, c[1]) << "asked for " << std::hex << c[0];
  }
  AfxSetMessageBoxHook(nullptr);
}

// The command lines as the panel runs them, through cmd.exe, against the system's netsh.
TEST_F(Runner, HostedNetworkCommandsChangeTheSimulatorsState) {
  TempFolder folder;
  ASSERT_TRUE(SetEnvironmentVariableA("VENTORA_NETSH_DIR", folder.path().c_str()));

  auto run = [this](const char* line) {
    memset(report, 0, sizeof report);
    CHotspotDlg::RunCommand(line, report);
    return std::string(report);
  };
  std::string status = run(kCmdShowStatus);
  EXPECT_EQ(status.find(kMarkerAdapterEnabled), std::string::npos) << status;
  EXPECT_EQ(status.find(kMarkerHotspotStarted), std::string::npos) << status;

  run(kCmdAllow);
  run(kCmdStart);
  status = run(kCmdShowStatus);
  EXPECT_NE(status.find(kMarkerAdapterEnabled), std::string::npos) << status;
  EXPECT_NE(status.find(kMarkerHotspotStarted), std::string::npos) << status;

  run(kCmdStop);
  status = run(kCmdShowStatus);
  EXPECT_NE(status.find(kMarkerAdapterEnabled), std::string::npos) << status;
  EXPECT_EQ(status.find(kMarkerHotspotStarted), std::string::npos) << status;
  EXPECT_TRUE(g_boxes.empty());
  EXPECT_TRUE(SetEnvironmentVariableA("VENTORA_NETSH_DIR", nullptr));
}

}  // namespace

// Timings under Wine, each the program side by side with the bare command it runs, interleaved,
// as a ratio of medians. Run in a folder holding Ventora.exe, against the system's netsh simulator
// (tools/bench.sh sets both up); the only argument is the number of runs of each side.
#include <windows.h>

#include <stdio.h>
#include <stdlib.h>
#include <string.h>

#include <algorithm>
#include <string>
#include <vector>

#include "command/commands.h"
#include "command/handle.h"
#include "resource.h"
#include "tools/bench/bench_hook.h"
#include "tools/drive/app_windows.h"
#include "ui/HotspotDlg.h"

namespace {

const int kWarmUps = 3;
const int kDefaultRuns = 41;
const DWORD kWindowTimeoutMs = 30000;

LARGE_INTEGER g_frequency;
HANDLE g_hApp;  // the Ventora being driven, ended should the bench stop early
int g_boxesFromRunner;

double NowMs() {
  LARGE_INTEGER now;
  QueryPerformanceCounter(&now);
  return 1000.0 * static_cast<double>(now.QuadPart) / static_cast<double>(g_frequency.QuadPart);
}

[[noreturn]] void Stop(const std::string& message) {
  fprintf(stderr, "bench: %s\n", message.c_str());
  if (g_hApp) TerminateProcess(g_hApp, 1);
  ExitProcess(1);
}

[[noreturn]] void Fail(const char* what) {
  DWORD error = GetLastError();
  Stop(std::string(what) + " failed (error " + std::to_string(error) + ")");
}

// The program's GBK texts, readable on the UTF-8 terminal the script runs in.
std::string Utf8(const char* gbk) {
  int n = MultiByteToWideChar(936, 0, gbk, -1, nullptr, 0);
  if (!n) return gbk;
  std::wstring wide(n, L'\0');
  if (!MultiByteToWideChar(936, 0, gbk, -1, &wide[0], n)) return gbk;
  int m = WideCharToMultiByte(CP_UTF8, 0, wide.c_str(), -1, nullptr, 0, nullptr, nullptr);
  if (!m) return gbk;
  std::string text(m, '\0');
  if (!WideCharToMultiByte(CP_UTF8, 0, wide.c_str(), -1, &text[0], m, nullptr, nullptr))
    return gbk;
  text.resize(m - 1);
  return text;
}

double Median(std::vector<double> v) {
  std::sort(v.begin(), v.end());
  size_t n = v.size();
  return n % 2 ? v[n / 2] : (v[n / 2 - 1] + v[n / 2]) / 2;
}

// The child as the runner starts it, without the runner's job, suspension and timer: hidden, the
// same pipe on both output handles, read to the end, then waited for. The time at the end of the
// output, where the runner returns, goes to *pAtEof.
double RunBare(const char* commandLine, const char* folder, double* pAtEof = nullptr) {
  std::string line = commandLine;
  SECURITY_ATTRIBUTES sa = {sizeof sa, nullptr, TRUE};
  double start = NowMs();
  CHandle read, write;
  if (!CreatePipe(read.Out(), write.Out(), &sa, 0)) Fail("CreatePipe");
  if (!SetHandleInformation(read, HANDLE_FLAG_INHERIT, 0)) Fail("SetHandleInformation");
  STARTUPINFOA si = {};
  si.cb = sizeof si;
  si.dwFlags = STARTF_USESHOWWINDOW | STARTF_USESTDHANDLES;
  si.wShowWindow = SW_HIDE;
  si.hStdOutput = write;
  si.hStdError = write;
  PROCESS_INFORMATION pi;
  if (!CreateProcessA(nullptr, &line[0], nullptr, nullptr, TRUE, CREATE_NO_WINDOW, nullptr, folder, &si, &pi))
    Fail("CreateProcess of the bare command");
  CHandle process(pi.hProcess), thread(pi.hThread);
  // Only the child holds a write end now, so the reads end when it exits.
  write.Close();
  char chunk[1024];
  DWORD n;
  size_t total = 0;
  while (ReadFile(read, chunk, sizeof chunk, &n, nullptr)) total += n;
  if (GetLastError() != ERROR_BROKEN_PIPE) Fail("ReadFile");
  if (pAtEof) *pAtEof = NowMs() - start;
  if (WaitForSingleObject(process, INFINITE) != WAIT_OBJECT_0) Fail("WaitForSingleObject");
  double elapsed = NowMs() - start;
  if (total == 0) Stop(std::string(commandLine) + " wrote nothing");
  return elapsed;
}

// The hook in Ventora wakes the bench as a dialog of it is activated, just before the dialog
// shows; from there a one-call poll each millisecond sees it show. Polling all along, or a hook
// on every message, costs Wine's single server enough to slow the program being timed.
HANDLE g_hMapping, g_hActivated;
BenchTimes* g_pTimes;
HMODULE g_hHookDll;
HOOKPROC g_pfnHook;

bool IsDialog(HWND hWnd, bool bBox) {
  char szClass[16];
  if (!hWnd || !GetClassNameA(hWnd, szClass, sizeof szClass) || strcmp(szClass, "#32770") != 0)
    return false;
  return IsMessageBox(hWnd) == bBox;
}

// Waits for a dialog of the kind to show; *pAt gets the time it did, *pCreatedAt the time
// Ventora created its first window since ResetTimes.
HWND WaitShown(bool bBox, double* pAt, double* pCreatedAt = nullptr) {
  HWND hWnd;
  do {
    DWORD wait = WaitForSingleObject(g_hActivated, kWindowTimeoutMs);
    if (wait == WAIT_FAILED) Fail("WaitForSingleObject");
    if (wait != WAIT_OBJECT_0) return nullptr;
    hWnd = g_pTimes->hActivated;
  } while (!IsDialog(hWnd, bBox));
  for (DWORD start = GetTickCount(); !IsWindowVisible(hWnd); Sleep(1))
    if (GetTickCount() - start > kWindowTimeoutMs) return nullptr;
  *pAt = NowMs();
  if (pCreatedAt)
    *pCreatedAt = 1000.0 * static_cast<double>(g_pTimes->createdAt) /
                  static_cast<double>(g_frequency.QuadPart);
  return hWnd;
}

void ResetTimes() {
  g_pTimes->createdAt = 0;
  g_pTimes->hActivated = nullptr;
  if (!ResetEvent(g_hActivated)) Fail("ResetEvent");
}

class CTimedApp {
 public:
  explicit CTimedApp(const std::string& strFolder) : m_strFolder(strFolder) {}
  // A hook still set goes with the thread it is on.
  ~CTimedApp() { g_hApp = nullptr; }
  CTimedApp(const CTimedApp&) = delete;
  CTimedApp& operator=(const CTimedApp&) = delete;

  // Starts Ventora and returns the time from the start until its panel shows. It starts
  // suspended, for the hook to be on its thread before any window exists.
  double Start() {
    ResetTimes();
    double start = NowMs(), at;
    if (!m_app.Start(m_strFolder + "\\Ventora.exe", m_strFolder, true)) Stop(m_app.error());
    g_hApp = m_app.process();
    m_hHook = SetWindowsHookExA(WH_CBT, g_pfnHook, g_hHookDll, m_app.threadId());
    if (!m_hHook) Fail("SetWindowsHookEx");
    if (!m_app.Resume()) Stop(m_app.error());
    m_hPanel = WaitShown(false, &at);
    if (!m_hPanel) Fail("waiting for the panel");
    return at - start;
  }

  // Presses the view button and returns the time until the report's box shows; then closes it.
  // *pBoxMs gets the part from the box's creation on.
  double ViewStatus(double* pBoxMs) {
    ResetTimes();
    double start = NowMs(), at, createdAt;
    if (!PressButton(m_hPanel, IDC_SHOW_STATUS)) Fail("PostMessage of the click");
    HWND hBox = WaitShown(true, &at, &createdAt);
    if (!hBox) Fail("waiting for the report's box");
    *pBoxMs = at - createdAt;
    if (!m_app.Dismiss(hBox, IDOK)) Stop(m_app.error());
    return at - start;
  }

  void Close() {
    if (!UnhookWindowsHookEx(m_hHook)) Fail("UnhookWindowsHookEx");
    m_hHook = nullptr;
    // The panel is the one the hook saw, not one the driver waited for.
    if (!PostMessageA(m_hPanel, WM_CLOSE, 0, 0)) Fail("PostMessage of WM_CLOSE");
    DWORD dwCode;
    if (!m_app.WaitExit(&dwCode, kWindowTimeoutMs)) Stop(m_app.error());
  }

 private:
  std::string m_strFolder;
  CAppProcess m_app;
  HWND m_hPanel = nullptr;
  HHOOK m_hHook = nullptr;
};

// The mapping and event the hook reports through, and the hook itself from bench_hook.dll
// beside this program.
void PrepareHook() {
  // Kept open to the end, not just mapped: Wine forgets the name once the last handle goes.
  g_hMapping = CreateFileMappingA(INVALID_HANDLE_VALUE, nullptr, PAGE_READWRITE, 0,
                                  sizeof(BenchTimes), kBenchTimesName);
  if (!g_hMapping) Fail("CreateFileMapping");
  g_pTimes = static_cast<BenchTimes*>(MapViewOfFile(g_hMapping, FILE_MAP_WRITE, 0, 0,
                                                    sizeof(BenchTimes)));
  if (!g_pTimes) Fail("MapViewOfFile");
  g_hActivated = CreateEventA(nullptr, FALSE, FALSE, kBenchActivatedName);
  if (!g_hActivated) Fail("CreateEvent");

  char path[MAX_PATH];
  DWORD length = GetModuleFileNameA(nullptr, path, sizeof path);
  if (!length || length >= sizeof path) Fail("GetModuleFileName");
  std::string dll(path, length);
  dll = dll.substr(0, dll.find_last_of('\\') + 1) + "bench_hook.dll";
  g_hHookDll = LoadLibraryA(dll.c_str());
  if (!g_hHookDll) Fail(dll.c_str());
  g_pfnHook = reinterpret_cast<HOOKPROC>(
      reinterpret_cast<void (*)()>(GetProcAddress(g_hHookDll, kBenchHookProc)));
  if (!g_pfnHook) Fail("GetProcAddress of the hook");
}

void ReleaseHook() {
  if (!FreeLibrary(g_hHookDll) || !UnmapViewOfFile(g_pTimes) || !CloseHandle(g_hMapping) ||
      !CloseHandle(g_hActivated))
    Fail("releasing the hook");
}

int CountBox(HWND, LPCSTR text, LPCSTR, UINT) {
  fprintf(stderr, "bench: the runner reported: %s\n", Utf8(text).c_str());
  ++g_boxesFromRunner;
  return IDOK;
}

struct Pair {
  std::vector<double> program, bare;
};

// Runs both sides `runs` times after a few unrecorded warm-ups, alternating which goes first.
template <typename Program, typename Bare>
Pair Interleave(int runs, Program program, Bare bare) {
  Pair pair;
  for (int i = -kWarmUps; i < runs; ++i) {
    double a, b;
    if (i % 2) {
      a = program();
      b = bare();
    } else {
      b = bare();
      a = program();
    }
    if (i < 0) continue;
    pair.program.push_back(a);
    pair.bare.push_back(b);
  }
  return pair;
}

void Print(const char* figure, const char* programSide, const char* bareSide, const Pair& pair,
           double goal) {
  double a = Median(pair.program), b = Median(pair.bare), ratio = a / b;
  printf("%-16s %.3f  (%s %.2f ms / %s %.2f ms, medians of %zu each)", figure, ratio, programSide,
         a, bareSide, b, pair.program.size());
  if (goal > 0)
    printf("  goal <= %.2f: %s\n", goal, ratio <= goal ? "met" : "NOT met");
  else
    printf("  no goal\n");
  fflush(stdout);
}

}  // namespace

int main(int argc, char** argv) {
  int runs = argc > 1 ? atoi(argv[1]) : kDefaultRuns;
  if (runs < 1) runs = kDefaultRuns;
  if (!QueryPerformanceFrequency(&g_frequency)) Fail("QueryPerformanceFrequency");
  char folder[MAX_PATH];
  DWORD length = GetCurrentDirectoryA(sizeof folder, folder);
  if (!length || length >= sizeof folder) Fail("GetCurrentDirectory");

  // The bare side starts where the runner does.
  char systemFolder[MAX_PATH];
  length = GetSystemDirectoryA(systemFolder, sizeof systemFolder);
  if (!length || length >= sizeof systemFolder) Fail("GetSystemDirectory");

  PrepareHook();
  AfxSetMessageBoxHook(CountBox);

  // The bare side's time at the end of its output, where the runner returns without waiting.
  std::vector<double> bareEof;
  const std::string netshLine =
      "\"" + std::string(systemFolder) + "\\netsh.exe\" wlan show hostednetwork";
  char report[REPORT_SIZE];
  Pair latency = Interleave(
      runs,
      [&] {
        memset(report, 0, sizeof report);
        double start = NowMs();
        CHotspotDlg::RunCommand(netshLine.c_str(), report);
        double elapsed = NowMs() - start;
        if (!report[0] || g_boxesFromRunner) Stop("RunCommand brought no report");
        return elapsed;
      },
      [&] {
        double atEof, elapsed = RunBare(netshLine.c_str(), systemFolder, &atEof);
        bareEof.push_back(atEof);
        return elapsed;
      });
  Print("command latency", "RunCommand", "CreateProcess+pipe+wait", latency, 1.05);
  bareEof.erase(bareEof.begin(), bareEof.begin() + kWarmUps);
  printf("%-16s %.3f  (against the bare side at the end of its output, before its wait: %.2f ms)\n",
         "", Median(latency.program) / Median(bareEof), Median(bareEof));

  Pair click;
  std::vector<double> boxMs;
  {
    CTimedApp app(folder);
    app.Start();
    click = Interleave(
        runs,
        [&] {
          double boxPart, elapsed = app.ViewStatus(&boxPart);
          boxMs.push_back(boxPart);
          return elapsed;
        },
        [&] { return RunBare(kCmdShowStatus, systemFolder); });
    app.Close();
  }
  Print("click to report", "click-to-box", "cmd /c netsh status", click, 1.10);
  boxMs.erase(boxMs.begin(), boxMs.begin() + kWarmUps);
  double box = Median(boxMs);
  printf("%-16s %.3f  without the box's own time, from its creation to showing: %.2f ms\n", "",
         (Median(click.program) - box) / Median(click.bare), box);

  Pair startUp = Interleave(
      runs,
      [&] {
        CTimedApp app(folder);
        double elapsed = app.Start();
        app.Close();
        return elapsed;
      },
      [&] { return RunBare(kCmdShowStatus, systemFolder); });
  Print("start-up", "start-to-panel", "cmd /c netsh status", startUp, 0);
  printf("windows timed by a CBT hook in Ventora that wakes the bench on their activation, then"
         " by 1 ms polling until they show\n");
  ReleaseHook();
  return 0;
}

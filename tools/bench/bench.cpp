// Timings under Wine, each the program side by side with the bare command it runs, interleaved,
// as a ratio of medians; the view click and the start-up are also held against the floor,
// bench_floor.exe beside this program, which does only their work. Run in a folder holding Ventora.exe, against
// the system's netsh simulator (tools/bench.sh sets both up); the only argument is the number of
// runs of each side.
#include <windows.h>

#include <stdio.h>
#include <stdlib.h>
#include <string.h>

#include <algorithm>
#include <functional>
#include <string>
#include <vector>

#include "command/commands.h"
#include "command/handle.h"
#include "command/netsh_line.h"
#include "resource.h"
#include "tools/bench/bare_command.h"
#include "tools/bench/bench_hook.h"
#include "tools/drive/app_windows.h"
#include "ui/HotspotDlg.h"

namespace {

const int kWarmUps = 3;
const int kDefaultRuns = 41;
const DWORD kWindowTimeoutMs = 30000;

LARGE_INTEGER g_frequency;
std::vector<HANDLE> g_apps;  // the programs being driven, ended should the bench stop early
int g_boxesFromRunner;

double NowMs() {
  LARGE_INTEGER now;
  QueryPerformanceCounter(&now);
  return 1000.0 * static_cast<double>(now.QuadPart) / static_cast<double>(g_frequency.QuadPart);
}

[[noreturn]] void Stop(const std::string& message) {
  fprintf(stderr, "bench: %s\n", message.c_str());
  for (HANDLE hApp : g_apps) TerminateProcess(hApp, 1);
  ExitProcess(1);
}

[[noreturn]] void Fail(const char* what) {
  DWORD error = GetLastError();
  Stop(std::string(what) + " failed (error " + std::to_string(error) + ")");
}

// The program's GBK texts, readable on the UTF-8 terminal the script runs in.
std::string Utf8(const char* gbk) { return Narrow(Widen(gbk), CP_UTF8); }

// The q-quantile, interpolated between the two nearest runs.
double Quantile(std::vector<double> v, double q) {
  std::sort(v.begin(), v.end());
  double at = q * static_cast<double>(v.size() - 1);
  size_t below = static_cast<size_t>(at);
  if (below + 1 >= v.size()) return v.back();
  return v[below] + (at - static_cast<double>(below)) * (v[below + 1] - v[below]);
}

double Median(const std::vector<double>& v) { return Quantile(v, 0.5); }

// The bare command, waited for after its output ends; the time at that end, where the runner
// returns, goes to *pAtEof.
double RunBare(const char* commandLine, const char* folder, double* pAtEof = nullptr) {
  char head[64];
  CHandle process;
  const char* call;
  double start = NowMs();
  long long total = RunToEnd(commandLine, folder, head, sizeof head, &process, &call);
  if (total < 0) Fail((std::string(call) + " of the bare command").c_str());
  if (pAtEof) *pAtEof = NowMs() - start;
  DWORD wait = WaitForSingleObject(process, kWindowTimeoutMs);
  if (wait == WAIT_TIMEOUT) Stop(std::string(commandLine) + " did not end");
  if (wait != WAIT_OBJECT_0) Fail("WaitForSingleObject");
  double elapsed = NowMs() - start;
  if (total == 0) Stop(std::string(commandLine) + " wrote nothing");
  return elapsed;
}

// The hook in the program wakes the bench as a dialog of it is activated, just before the dialog
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

// Waits for a dialog of the kind to show; *pAt gets the time it did, *pCreatedAt the time the
// program created its first window since ResetTimes. Stops the bench should the program end.
HWND WaitShown(bool bBox, HANDLE hApp, const std::string& strName, double* pAt,
               double* pCreatedAt = nullptr) {
  HWND hWnd;
  do {
    HANDLE handles[] = {g_hActivated, hApp};
    DWORD wait = WaitForMultipleObjects(2, handles, FALSE, kWindowTimeoutMs);
    if (wait == WAIT_FAILED) Fail("WaitForMultipleObjects");
    if (wait == WAIT_OBJECT_0 + 1) {
      DWORD dwCode = 0;
      GetExitCodeProcess(hApp, &dwCode);
      Stop(strName + " ended with code " + std::to_string(dwCode));
    }
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

// From here on the hook reports the windows of process dwPid only.
void ResetTimes(DWORD dwPid) {
  g_pTimes->dwPid = dwPid;
  g_pTimes->createdAt = 0;
  g_pTimes->hActivated = nullptr;
  if (!ResetEvent(g_hActivated)) Fail("ResetEvent");
}

// Ventora or the floor, timed alike: started through the window driver, its panel clicked, its
// box waited for through the hook.
class CTimedApp {
 public:
  CTimedApp(const std::string& strName, const std::string& strExe, const std::string& strFolder)
      : m_strName(strName), m_strExe(strExe), m_strFolder(strFolder) {}
  // A hook still set goes with the thread it is on.
  ~CTimedApp() {
    g_apps.erase(std::remove(g_apps.begin(), g_apps.end(), m_app.Process()), g_apps.end());
  }
  CTimedApp(const CTimedApp&) = delete;
  CTimedApp& operator=(const CTimedApp&) = delete;

  // Starts the program and returns the time from the start until its panel shows. It starts
  // suspended, for the hook to be on its thread before any window exists.
  double Start() {
    double start = NowMs(), at;
    if (!m_app.Start(m_strExe, m_strFolder, true)) Stop(m_app.Error());
    g_apps.push_back(m_app.Process());
    ResetTimes(m_app.Pid());
    m_hHook = SetWindowsHookExA(WH_CBT, g_pfnHook, g_hHookDll, m_app.ThreadId());
    if (!m_hHook) Fail("SetWindowsHookEx");
    if (!m_app.Resume()) Stop(m_app.Error());
    m_hPanel = WaitShown(false, m_app.Process(), m_strName, &at);
    if (!m_hPanel) Fail(("waiting for the panel of " + m_strName).c_str());
    return at - start;
  }

  // Presses the view button and returns the time until the report's box shows; then closes it.
  // *pBoxMs gets the part from the box's creation on; the box's text is kept for report().
  double ViewStatus(double* pBoxMs = nullptr) {
    ResetTimes(m_app.Pid());
    double start = NowMs(), at, createdAt;
    if (!PressButton(m_hPanel, IDC_SHOW_STATUS)) Fail("PostMessage of the click");
    HWND hBox = WaitShown(true, m_app.Process(), m_strName, &at, &createdAt);
    if (!hBox) Fail(("waiting for the box of " + m_strName).c_str());
    if (pBoxMs) *pBoxMs = at - createdAt;
    m_strReport = MessageBoxText(hBox);
    if (!m_app.Dismiss(hBox, IDOK)) Stop(m_app.Error());
    return at - start;
  }

  void Close() {
    if (!UnhookWindowsHookEx(m_hHook)) Fail("UnhookWindowsHookEx");
    m_hHook = nullptr;
    // The panel is the one the hook saw, not one the driver waited for.
    if (!PostMessageA(m_hPanel, WM_CLOSE, 0, 0)) Fail("PostMessage of WM_CLOSE");
    DWORD dwCode;
    if (!m_app.WaitExit(&dwCode, kWindowTimeoutMs)) Stop(m_app.Error());
  }

  const std::string& report() const { return m_strReport; }

 private:
  std::string m_strName, m_strExe, m_strFolder, m_strReport;
  CAppProcess m_app;
  HWND m_hPanel = nullptr;
  HHOOK m_hHook = nullptr;
};

// A file of the bench's own, beside this program.
std::string BesideBench(const char* name) {
  char path[MAX_PATH];
  DWORD length = GetModuleFileNameA(nullptr, path, sizeof path);
  if (!length || length >= sizeof path) Fail("GetModuleFileName");
  std::string strPath(path, length);
  return strPath.substr(0, strPath.find_last_of('\\') + 1) + name;
}

// The mapping and event the hook reports through, and the hook itself from bench_hook.dll.
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

  std::string dll = BesideBench("bench_hook.dll");
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

int CountBox(HWND, LPCWSTR text, LPCWSTR, UINT) {
  fprintf(stderr, "bench: the runner reported: %s\n", Narrow(text, CP_UTF8).c_str());
  ++g_boxesFromRunner;
  return IDOK;
}

using Side = std::function<double()>;

// Runs every side `runs` times after a few unrecorded warm-ups, each round starting one side
// later than the one before, and returns each side's times in the order of the sides.
std::vector<std::vector<double>> Interleave(int runs, const std::vector<Side>& sides) {
  std::vector<std::vector<double>> times(sides.size());
  std::vector<double> round(sides.size());
  for (int i = -kWarmUps; i < runs; ++i) {
    for (size_t k = 0; k < sides.size(); ++k) {
      size_t side = (static_cast<size_t>(i + kWarmUps) + k) % sides.size();
      round[side] = sides[side]();
    }
    if (i < 0) continue;
    for (size_t side = 0; side < sides.size(); ++side) times[side].push_back(round[side]);
  }
  return times;
}

// "name 12.34 ms (IQR 11.90-12.80)": the median and the middle half of the runs.
std::string Describe(const char* name, const std::vector<double>& v) {
  char text[160];
  snprintf(text, sizeof text, "%s %.2f ms (IQR %.2f-%.2f)", name, Median(v), Quantile(v, 0.25),
           Quantile(v, 0.75));
  return text;
}

// The ratio of the medians, each side with its spread, and the verdict against goal (none when
// goal is 0).
void Print(const char* figure, const char* programSide, const char* bareSide,
           const std::vector<double>& program, const std::vector<double>& bare, double goal) {
  double ratio = Median(program) / Median(bare);
  printf("%-16s %.3f  (%s / %s, medians of %zu each)", figure, ratio,
         Describe(programSide, program).c_str(), Describe(bareSide, bare).c_str(),
         program.size());
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

  // The program, started as Explorer starts it, has no console, and each of its commands makes
  // one without a window; the bench gives its own up so that its bare commands run alike. Its
  // output is a file (tools/wine.sh), which outlives the console.
  if (!FreeConsole()) Fail("FreeConsole");

  // The bare side starts where the runner does.
  char systemFolder[MAX_PATH];
  length = GetSystemDirectoryA(systemFolder, sizeof systemFolder);
  if (!length || length >= sizeof systemFolder) Fail("GetSystemDirectory");

  PrepareHook();
  AfxSetMessageBoxHook(CountBox);

  // The command line the program runs for its status report, through the interpreter; the
  // latency is measured on netsh alone, without it.
  char statusLine[COMMAND_SIZE];
  if (!ComposeNetshLine(statusLine, sizeof statusLine, systemFolder, {kNetshShowStatus}))
    Stop("the status command line does not fit");
  // The bare side's time at the end of its output, where the runner returns without waiting.
  std::vector<double> bareEof;
  const std::string netshLine =
      "\"" + std::string(systemFolder) + "\\netsh.exe\" " + kNetshShowStatus;
  wchar_t report[REPORT_SIZE];
  auto latency = Interleave(
      runs,
      {[&] {
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
       }});
  Print("command latency", "RunCommand", "CreateProcess+pipe+wait", latency[0], latency[1], 1.05);
  bareEof.erase(bareEof.begin(), bareEof.begin() + kWarmUps);
  printf("%-16s %.3f  (against the bare side at the end of its output, before its wait: %.2f ms)\n",
         "", Median(latency[0]) / Median(bareEof), Median(bareEof));

  const std::string ventora = std::string(folder) + "\\Ventora.exe";
  std::vector<std::vector<double>> click;
  std::vector<double> boxMs, floorBoxMs;
  {
    CTimedApp app("Ventora", ventora, folder);
    CTimedApp floor("the floor", BesideBench("bench_floor.exe"), folder);
    app.Start();
    floor.Start();
    click = Interleave(runs, {[&] {
                                double boxPart, elapsed = app.ViewStatus(&boxPart);
                                boxMs.push_back(boxPart);
                                return elapsed;
                              },
                              [&] { return RunBare(statusLine, systemFolder); },
                              [&] {
                                double boxPart, elapsed = floor.ViewStatus(&boxPart);
                                floorBoxMs.push_back(boxPart);
                                return elapsed;
                              }});
    if (app.report() != floor.report())
      Stop("the floor's box differs from the program's: " + Utf8(floor.report().c_str()));
    app.Close();
    floor.Close();
  }
  Print("click to report", "click-to-box", "cmd /c netsh status", click[0], click[1], 1.10);
  boxMs.erase(boxMs.begin(), boxMs.begin() + kWarmUps);
  double box = Median(boxMs);
  floorBoxMs.erase(floorBoxMs.begin(), floorBoxMs.begin() + kWarmUps);
  printf("%-16s %.3f  without the box's own time, from its creation to showing: %.2f ms (the"
         " floor's: %.2f ms)\n", "", (Median(click[0]) - box) / Median(click[1]), box,
         Median(floorBoxMs));
  // Each round's two clicks ran close together: the spread of their ratios is the noise the
  // ratio of medians is judged against.
  std::vector<double> pairs;
  for (size_t i = 0; i < click[0].size(); ++i) pairs.push_back(click[0][i] / click[2][i]);
  double low = Quantile(pairs, 0.25), high = Quantile(pairs, 0.75);
  printf("%-16s %.3f  (%s / %s, medians of %zu each)  goal: within noise of 1.00, 1.00 within"
         " the IQR of the rounds' ratios, %.3f-%.3f: %s\n",
         "click / floor", Median(click[0]) / Median(click[2]),
         Describe("click-to-box", click[0]).c_str(), Describe("floor", click[2]).c_str(),
         click[0].size(), low, high, low <= 1.0 && 1.0 <= high ? "met" : "NOT met");

  auto startUp = Interleave(runs, {[&] {
                                     CTimedApp app("Ventora", ventora, folder);
                                     double elapsed = app.Start();
                                     app.Close();
                                     return elapsed;
                                   },
                                   [&] { return RunBare(statusLine, systemFolder); },
                                   [&] {
                                     CTimedApp floor("the floor", BesideBench("bench_floor.exe"),
                                                     folder);
                                     double elapsed = floor.Start();
                                     floor.Close();
                                     return elapsed;
                                   }});
  Print("start-up", "start-to-panel", "cmd /c netsh status", startUp[0], startUp[1], 0);
  Print("start-up/floor", "start-to-panel", "floor", startUp[0], startUp[2], 1.05);
  printf("windows timed by a CBT hook in the program that wakes the bench on their activation,"
         " then by 1 ms polling until they show; the floor: bench_floor.exe, which only runs the"
         " bare status command as the runner starts it, within a deadline as the runner's, once"
         " before its window shows and once for each click, and shows the click's output with"
         " MessageBoxA\n");
  ReleaseHook();
  return 0;
}

// A CBT hook that Windows loads into the program being timed. It reports window creation and
// activation only, so the program pays a few calls per window instead of the bench's polling.
#include <windows.h>

#include "tools/bench/bench_hook.h"

namespace {

HANDLE g_hMapping, g_hActivated;
BenchTimes* g_pTimes;

// Opened on first use, so that the bench's own copy, loaded only to name the hook, opens nothing.
bool Open() {
  if (g_pTimes) return true;
  if (!g_hMapping) g_hMapping = OpenFileMappingA(FILE_MAP_WRITE, FALSE, kBenchTimesName);
  if (!g_hActivated) g_hActivated = OpenEventA(EVENT_MODIFY_STATE, FALSE, kBenchActivatedName);
  if (g_hMapping && g_hActivated)
    g_pTimes = static_cast<BenchTimes*>(MapViewOfFile(g_hMapping, FILE_MAP_WRITE, 0, 0,
                                                      sizeof(BenchTimes)));
  return g_pTimes != nullptr;
}

}  // namespace

extern "C" __declspec(dllexport) LRESULT CALLBACK BenchCbtHook(int code, WPARAM wParam,
                                                                 LPARAM lParam) {
  if ((code == HCBT_CREATEWND || code == HCBT_ACTIVATE) && Open() &&
      g_pTimes->dwPid == GetCurrentProcessId()) {
    if (code == HCBT_ACTIVATE) {
      g_pTimes->hActivated = reinterpret_cast<HWND>(wParam);
      SetEvent(g_hActivated);
    } else if (!g_pTimes->createdAt) {
      LARGE_INTEGER now;
      QueryPerformanceCounter(&now);
      g_pTimes->createdAt = now.QuadPart;
    }
  }
  return CallNextHookEx(nullptr, code, wParam, lParam);
}

BOOL WINAPI DllMain(HINSTANCE, DWORD reason, LPVOID pvReserved) {
  // At process exit the system reclaims everything; only an unload by FreeLibrary cleans up.
  if (reason == DLL_PROCESS_DETACH && !pvReserved) {
    if (g_pTimes) UnmapViewOfFile(g_pTimes);
    if (g_hMapping) CloseHandle(g_hMapping);
    if (g_hActivated) CloseHandle(g_hActivated);
  }
  return TRUE;
}

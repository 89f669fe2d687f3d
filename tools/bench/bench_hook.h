// Shared by the bench and the hook it puts into the Ventora it times: a named mapping holding
// one BenchTimes, and a named event set each time a top-level window of the program the bench
// waits on is activated.
#pragma once

#include <windows.h>

inline constexpr char kBenchTimesName[] = "VentoraBenchTimes";
inline constexpr char kBenchActivatedName[] = "VentoraBenchActivated";
inline constexpr char kBenchHookProc[] = "BenchCbtHook";

struct BenchTimes {
  // The process whose windows are reported; the others' go unreported.
  volatile DWORD dwPid;
  // QueryPerformanceCounter at the first window it created since the bench zeroed it.
  volatile LONGLONG createdAt;
  // The window last activated; activation comes just before a new window shows.
  HWND volatile hActivated;
};

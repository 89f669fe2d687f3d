// Passed straight on, in a file of their own so that a test can link stand-ins that fail.
#include "command/system_calls.h"

UINT CallGetSystemDirectoryW(LPWSTR lpBuffer, UINT uSize) {
  return ::GetSystemDirectoryW(lpBuffer, uSize);
}

BOOL CallCreatePipe(PHANDLE phReadPipe, PHANDLE phWritePipe, LPSECURITY_ATTRIBUTES lpAttributes,
                    DWORD nSize) {
  return ::CreatePipe(phReadPipe, phWritePipe, lpAttributes, nSize);
}

BOOL CallCreateTimerQueueTimer(PHANDLE phNewTimer, HANDLE hTimerQueue,
                               WAITORTIMERCALLBACK pfnCallback, PVOID pvParameter,
                               DWORD dwDueTime, DWORD dwPeriod, ULONG uFlags) {
  return ::CreateTimerQueueTimer(phNewTimer, hTimerQueue, pfnCallback, pvParameter, dwDueTime,
                                 dwPeriod, uFlags);
}

// The calls the runner's failure paths hang on, which Windows may fail and Wine never does.
#pragma once

#include <windows.h>

UINT CallGetSystemDirectoryW(LPWSTR lpBuffer, UINT uSize);
BOOL CallCreatePipe(PHANDLE phReadPipe, PHANDLE phWritePipe, LPSECURITY_ATTRIBUTES lpAttributes,
                    DWORD nSize);
BOOL CallCreateTimerQueueTimer(PHANDLE phNewTimer, HANDLE hTimerQueue,
                               WAITORTIMERCALLBACK pfnCallback, PVOID pvParameter,
                               DWORD dwDueTime, DWORD dwPeriod, ULONG uFlags);

// Hooked into the panel's thread by a test: asked by a posted message, it tells the DPI
// awareness the program's thread runs with (a DPI_AWARENESS) by setting the event named
// "VentoraDpiAwarenessN-PID" after it and the program's process.
#include <windows.h>

extern "C" __declspec(dllexport) LRESULT CALLBACK DpiProbeHook(int code, WPARAM wParam,
                                                                LPARAM lParam) {
  static const UINT kProbe = RegisterWindowMessageA("VentoraDpiProbe");
  const MSG* pMsg = reinterpret_cast<const MSG*>(lParam);
  if (code == HC_ACTION && wParam == PM_REMOVE && kProbe && pMsg->message == kProbe) {
    char szName[64];
    wsprintfA(szName, "VentoraDpiAwareness%d-%lu",
              static_cast<int>(GetAwarenessFromDpiAwarenessContext(GetThreadDpiAwarenessContext())),
              GetCurrentProcessId());
    if (HANDLE hEvent = OpenEventA(EVENT_MODIFY_STATE, FALSE, szName)) {
      SetEvent(hEvent);
      CloseHandle(hEvent);
    }
  }
  return CallNextHookEx(nullptr, code, wParam, lParam);
}

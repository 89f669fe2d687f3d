// The process entry of a program built on the framework.
#include <mbctype.h>

#include "afxwin.h"

// Multibyte texts follow the system's ANSI code page; this runs before any static object is built.
__attribute__((constructor(101))) static void InitMultibyteCodePage() { _setmbcp(_MB_CP_ANSI); }

// The program runs as administrator: every function with a buffer on its stack is guarded, and
// copies whose sizes the compiler knows are checked.
#if !defined(__SSP_STRONG__) || !defined(_FORTIFY_SOURCE) || _FORTIFY_SOURCE < 2
#error "built without -fstack-protector-strong and -D_FORTIFY_SOURCE=2"
#endif

// The stack guards' value, which their run time sets up only when it is still zero.
extern "C" void* __stack_chk_guard;

// Seeded before the guards' run time sets it up, like the Microsoft compiler's security cookie,
// from kernel32 alone, which every process has from the system folder. The run time's own set-up
// asks CryptoAPI, which may load a provider DLL before WinMain has restricted the DLL search,
// where a DLL of that name beside the program would be found first. Not guarded itself: the
// guard changes under it.
__attribute__((constructor(101), no_stack_protector)) static void InitStackGuard() {
  FILETIME now;
  LARGE_INTEGER counter;
  ::GetSystemTimeAsFileTime(&now);
  ::QueryPerformanceCounter(&counter);
  UINT_PTR mix = (static_cast<UINT_PTR>(now.dwHighDateTime) << 16) ^ now.dwLowDateTime ^
                  counter.LowPart ^ (static_cast<UINT_PTR>(counter.HighPart) << 8) ^
                  ::GetCurrentProcessId() ^ (static_cast<UINT_PTR>(::GetCurrentThreadId()) << 12) ^
                  ::GetTickCount() ^ reinterpret_cast<UINT_PTR>(&now);
  __stack_chk_guard = reinterpret_cast<void*>(mix ? mix : 0x2B992DDF);
}

namespace {

// Limits where DLLs load from to the system folder, or where Windows cannot, takes at least the
// current folder out of the search. False when neither could be set.
bool RestrictDllSearch() {
  // Looked up at run time: Windows 7 has it only with its 2011 loader update.
  using PfnSetDefaultDllDirectories = BOOL(WINAPI*)(DWORD);
  HMODULE hKernel = ::GetModuleHandleA("kernel32.dll");
  auto pfnSet = hKernel ? reinterpret_cast<PfnSetDefaultDllDirectories>(reinterpret_cast<void*>(
                              ::GetProcAddress(hKernel, "SetDefaultDllDirectories")))
                        : nullptr;
  if (pfnSet && pfnSet(LOAD_LIBRARY_SEARCH_SYSTEM32)) return true;
  return ::SetDllDirectoryA("") != FALSE;
}

// Declares the program aware of the system's DPI, before any window exists: on a display scaled
// to 125-200 %, Windows then draws its dialogs, laid out in dialog units, at the display's DPI
// instead of stretching a 96-DPI picture of their Chinese text into a blur. Looked up at run
// time: Windows 10 has the context call from 1703 on, Windows 7 and 8 only SetProcessDPIAware.
// Where neither takes, as where the user's compatibility settings chose already, the program
// runs all the same.
void DeclareDpiAware() {
  using PfnSetProcessDpiAwarenessContext = BOOL(WINAPI*)(DPI_AWARENESS_CONTEXT);
  HMODULE hUser = ::GetModuleHandleA("user32.dll");
  auto pfnSet = hUser ? reinterpret_cast<PfnSetProcessDpiAwarenessContext>(
                            reinterpret_cast<void*>(
                                ::GetProcAddress(hUser, "SetProcessDpiAwarenessContext")))
                      : nullptr;
  if (!pfnSet || !pfnSet(DPI_AWARENESS_CONTEXT_SYSTEM_AWARE)) ::SetProcessDPIAware();
}

}  // namespace

int WINAPI WinMain(HINSTANCE hInstance, HINSTANCE hPrevInstance, LPSTR lpCmdLine, int nCmdShow) {
  // Running as administrator, the program must not load a DLL planted in a folder a user can
  // write to, such as the downloads folder it was started from; without that, it does not run.
  if (!RestrictDllSearch()) return 1;
  DeclareDpiAware();
  return AfxWinMain(hInstance, hPrevInstance, lpCmdLine, nCmdShow);
}

// The process entry of a program built on the framework.
#include "appmodul.h"

#include <mbctype.h>

#include "afxwin.h"

// Multibyte texts follow the system's ANSI code page; this runs before any static object is built.
__attribute__((constructor(101))) static void InitMultibyteCodePage() { _setmbcp(_MB_CP_ANSI); }

bool AfxRestrictDllSearch() {
  // Looked up at run time: Windows 7 has it only with its 2011 loader update.
  using PfnSetDefaultDllDirectories = BOOL(WINAPI*)(DWORD);
  HMODULE hKernel = ::GetModuleHandleA("kernel32.dll");
  auto pfnSet = hKernel ? reinterpret_cast<PfnSetDefaultDllDirectories>(reinterpret_cast<void*>(
                              ::GetProcAddress(hKernel, "SetDefaultDllDirectories")))
                        : nullptr;
  if (pfnSet && pfnSet(LOAD_LIBRARY_SEARCH_SYSTEM32)) return true;
  return ::SetDllDirectoryA("") != FALSE;
}

int WINAPI WinMain(HINSTANCE hInstance, HINSTANCE hPrevInstance, LPSTR lpCmdLine, int nCmdShow) {
  // Running as administrator, the program must not load a DLL planted in a folder a user can
  // write to, such as the downloads folder it was started from; without that, it does not run.
  if (!AfxRestrictDllSearch()) return 1;
  return AfxWinMain(hInstance, hPrevInstance, lpCmdLine, nCmdShow);
}

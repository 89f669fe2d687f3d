// The process entry of a program built on the framework.
#include <mbctype.h>

#include "afxwin.h"

// Multibyte texts follow the system's ANSI code page; this runs before any static object is built.
__attribute__((constructor(101))) static void InitMultibyteCodePage() { _setmbcp(_MB_CP_ANSI); }

int WINAPI WinMain(HINSTANCE hInstance, HINSTANCE hPrevInstance, LPSTR lpCmdLine, int nCmdShow) {
  return AfxWinMain(hInstance, hPrevInstance, lpCmdLine, nCmdShow);
}

// A DLL that exists only in the test program's folder.
#include <windows.h>

extern "C" __declspec(dllexport) int AppFolderOnly() { return 42; }

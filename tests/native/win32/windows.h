// The few Win32 types that framework/afxstr.h takes from <windows.h>, so that CString builds
// and runs natively under the sanitizers.
#pragma once

typedef int BOOL;
typedef char* LPSTR;
typedef const char* LPCSTR;

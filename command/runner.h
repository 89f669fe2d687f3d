// Running one command line hidden and collecting what it writes: the one way the program acts on
// the machine. Tells what happened and leaves telling the user to the caller.
#pragma once

#include <windows.h>

#include "command/commands.h"

enum class RunResult { Done, PipeFailed, ProcessFailed, TimedOut };

// The system folder, in UTF-8, where the commands' programs live and where they run; false when
// Windows does not say or it does not fit.
bool GetSystemFolder(char (&szFolder)[FOLDER_SIZE]);

// Runs the command line, a UTF-8 text whose first token names the program by its full path,
// hidden and without a console window, in the system folder, with the program's environment
// but the system's own folders and programs (CCommandEnvironment). Collects what it writes to
// standard output and error, up to 1023 bytes cut on a whole character of the code page it wrote
// in (UTF-8 or the OEM one), until the output ends or dwTimeoutMs have passed: the command and
// what it started are then ended where Windows lets them be, the read ends all the same, and the
// result is TimedOut, the report cut wherever the output stopped. Unless it could not start,
// szReport then holds that output decoded. An empty line starts nothing.
RunResult RunHidden(LPCSTR lpszCommandLine, wchar_t (&szReport)[REPORT_SIZE], DWORD dwTimeoutMs);

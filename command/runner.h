// Running one command line hidden and collecting what it writes: the one way the program acts on
// the machine. Tells what happened and leaves telling the user to the caller.
#pragma once

#include <windows.h>

#include <stddef.h>

enum class RunResult { Done, PipeFailed, ProcessFailed, TimedOut };

// The system folder, where the commands' programs live and where they run; false when Windows
// does not say or it does not fit.
bool GetSystemFolder(char (&szFolder)[MAX_PATH]);

// Runs the command line, whose first token names the program by its full path, hidden and
// without a console window, in the system folder. Appends what it writes to standard output
// and error to the zero-terminated text in pReport (size bytes) until the output ends, or until
// dwTimeoutMs have passed: the command and what it started are then ended where Windows lets
// them be, and the read ends all the same. An empty line starts nothing.
RunResult RunHidden(LPCSTR lpszCommandLine, char* pReport, size_t size, DWORD dwTimeoutMs);

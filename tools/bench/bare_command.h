// A command started as the program's runner starts it, without the runner's job, suspension and
// time limit: the bench's bare side and the floor both run it this way, the floor within a
// deadline of its own.
#pragma once

#include <windows.h>

#include <stddef.h>

#include "command/handle.h"

// Starts lpszCommandLine hidden and without a console window, with one pipe on both its output handles and lpszFolder as its
// current folder, and reads the output to its end without waiting for the child, whose handle
// goes to *pProcess. The first cbText - 1 bytes go to pText, terminated; returns the count of
// all. On a failed call returns -1 and names the call in *ppszCall, with the call's error left
// for GetLastError.
long long RunToEnd(LPCSTR lpszCommandLine, LPCSTR lpszFolder, char* pText, size_t cbText,
                   CHandle* pProcess, LPCSTR* ppszCall);

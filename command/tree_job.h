// The job that lets the runner end a command together with everything the command started.
#pragma once

#include <windows.h>

// A new job holding the suspended process, so that whatever it starts joins it too; null where
// the process cannot be put in one. On Windows 7 that is so for a program that already runs
// inside a job (started by Task Scheduler, by some launchers, by the compatibility assistant),
// which cannot put its child into a job of its own. The caller closes the handle.
HANDLE CreateTreeJob(HANDLE hProcess);

// The environment the commands run with: the program's own, but with the system's own value for
// every variable that names a system folder or the program to run.
#pragma once

#include <stddef.h>
#include <wchar.h>

// A variable that Windows defines for every process, with the value the system gives it; a null
// value when none could be had.
struct SystemVariable {
  const wchar_t* name;
  const wchar_t* value;
};

// Writes into path (size units) the PATH an elevated command gets, made of the system's own
// folders only: systemDir, windowsDir, Wbem and Windows PowerShell. netsh loads its helpers by
// name, and a DLL missing from the system folder is looked for along PATH, where a user may have
// put folders of their own. Returns false, having written nothing, when a folder is not a full
// path or it does not fit.
bool ComposeSystemPath(const wchar_t* systemDir, const wchar_t* windowsDir, wchar_t* path,
                       size_t size);

// Writes into out (size units) a value read from the system's registry with each %NAME% in it
// replaced by the value of that name among known, whatever its case, never from the program's
// own environment, which the user sets. Returns false, having written nothing, when it names
// another variable or one without a value, a % stands alone, or it does not fit.
bool ExpandSystemValue(const wchar_t* text, const SystemVariable* known, size_t count,
                       wchar_t* out, size_t size);

// The environment block inherited, a run of zero-terminated "NAME=value" entries ended by an
// empty one, with every entry named as one of the count system variables, whatever its case,
// left out, and each of those that has a value put where a sorted block has it. Written into
// block when it has room for the whole (size units); returns the units the whole takes, its last
// terminator included. count is at most 64.
size_t ComposeEnvironment(const wchar_t* inherited, const SystemVariable* system, size_t count,
                          wchar_t* block, size_t size);

// The environment the commands run with: the program's own, but with the system's own PATH.
#pragma once

#include <stddef.h>
#include <wchar.h>

// Writes into path (size units) the PATH an elevated command gets, made of the system's own
// folders only: systemDir, the Windows folder (systemDir's parent, where Windows keeps it),
// Wbem and Windows PowerShell. netsh loads its helpers by name, and a DLL missing from the
// system folder is looked for along PATH, where a user may have put folders of their own.
// Returns false, having written nothing, when systemDir has no parent or it does not fit.
bool ComposeSystemPath(const wchar_t* systemDir, wchar_t* path, size_t size);

// The environment block inherited, a run of zero-terminated "NAME=value" entries ended by an
// empty one, with every PATH entry, whatever its case, left out and "PATH=" path put where a
// sorted block has it. Written into block when it has room for the whole (size units); returns
// the units the whole takes, its last terminator included.
size_t ComposeEnvironment(const wchar_t* inherited, const wchar_t* path, wchar_t* block,
                          size_t size);

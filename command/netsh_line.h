// The one shape of every command line the program runs: the system's netsh, started by its full
// path through the system's command interpreter, both in the system folder.
#pragma once

#include <stddef.h>

#include <initializer_list>

// Writes into line (size bytes)
//   "DIR\cmd.exe" /d /v:off /s /c ""DIR\netsh.exe" ARGS"
// where DIR is systemDir and ARGS the pieces joined as they are. Named by full path, netsh is
// found by no search that PATH or PATHEXT could steer; /d skips the AutoRun commands of the
// registry, /v:off keeps a ! in ARGS as text, and /s makes the interpreter take off exactly the
// outer pair of quotes. Returns false, having written nothing, when systemDir is empty or the
// line does not fit with its terminator.
bool ComposeNetshLine(char* line, size_t size, const char* systemDir,
                      std::initializer_list<const char*> args);

// Appending a command's output to its report, as text, within the report's fixed size.
#pragma once

#include <stddef.h>

// Appends the chunk's bytes up to its first zero byte (all of them if it has none) to the
// zero-terminated text in report, a buffer of size bytes. Text that does not fit is dropped,
// and the cut never leaves the first half of a GBK double-byte character at the end. Once
// something was cut, nothing more is taken. Returns false when something was dropped.
bool AppendReport(char* report, size_t size, const char* chunk, size_t count);

// True when a status report holds the marker's characters anywhere in its text, starting at the
// start of a character.
bool ReportHasMarker(const char* report, const char* marker);

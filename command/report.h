// Appending a command's output to its report, as text, within the report's fixed size, and
// finding a marker in the decoded report.
#pragma once

#include <stddef.h>
#include <wchar.h>

#include "command/utf8.h"

// How many bytes the character that starts at text takes in the code page the text is written
// in, given that left bytes (at least one) stand from there on; more than left when the
// character is cut short. The runner gives the system's own rule; tests give GBK's and UTF-8's.
typedef size_t (*CharWidth)(const char* text, size_t left);

// The longest prefix of text[0..limit) that ends on a character boundary. In a double-byte code
// page trail bytes share their range with lead bytes, so boundaries are found from the start.
size_t WholeCharacters(const char* text, size_t limit, CharWidth width);

// Appends the chunk's bytes up to its first zero byte (all of them if it has none) to the
// zero-terminated text in report, a buffer of size bytes. What does not fit is dropped. Returns
// false when something was dropped: the caller then appends nothing more, since what followed a
// cut would not follow the text.
bool AppendReport(char* report, size_t size, const char* chunk, size_t count);

// netsh writes in its console's code page: the OEM one, unless the user gave the consoles one of
// their own, as the widespread tip for a UTF-8 prompt gives them 65001. So a report that is
// UTF-8 (but for a character broken off where it was cut) is taken for UTF-8, as real GBK text
// practically never is, and any other for the OEM code page, whose rule oemWidth is. Where the report was cut, it then ends after its last
// whole character of that code page. Returns true for UTF-8.
bool SettleReportCodePage(char* report, bool bCut, CharWidth oemWidth);

// True when the decoded report holds the marker, which is not empty, anywhere. In UTF-16 a
// character of the basic plane, as every marker's first is, can only match where a character
// starts.
bool ReportHasMarker(const wchar_t* report, const wchar_t* marker);

// UTF-8's rules, for the report a command writes and for the entries the user types.
#pragma once

#include <stddef.h>

// UTF-8's rule: a lead byte tells the length; a sequence stops early at a byte that cannot go on
// with it, and a byte that begins none stands alone.
size_t Utf8CharWidth(const char* text, size_t left);

// True when the first length bytes of text are UTF-8; where bMayBreakOff, a character broken
// off at the end, as where a report was cut, counts too.
bool IsUtf8(const char* text, size_t length, bool bMayBreakOff);

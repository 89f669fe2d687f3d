// Composing the line that gives the hosted network its name and key, from the user's entries.
#pragma once

#include <stddef.h>

enum class SettingsCheck {
  Ok,
  EmptyName,
  EmptyKey,
  UnsafeCharacter,    // a double quote, a percent sign or a control character
  TrailingBackslash,  // a name or key whose last character is a backslash
  TooLong,            // the line would not fit in the command buffer with its terminator
};

// Checks the entries in that order and, when they pass, writes into line (size bytes) the
// command line that runs the system's netsh from systemDir with the set-name-and-key words: the
// name in double quotes, " key=" and the key in double quotes. The quotes make the interpreter
// hand blanks, & | < > ^ ! to netsh as text; a quote or a percent sign would break out of them,
// so those are refused; so is a backslash as the last character, which would turn the closing
// quote into text. The line's length counts the system folder twice. line is written only on Ok.
SettingsCheck ComposeSettingsLine(const char* systemDir, const char* name, const char* key,
                                  char* line, size_t size);

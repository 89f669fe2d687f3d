// Composing the line that gives the hosted network its name and key, from the user's entries.
#pragma once

#include <stddef.h>

enum class SettingsCheck {
  Ok,
  EmptyName,
  EmptyKey,
  UnsafeCharacter,    // a double quote, a percent sign, a control character, or no UTF-8
  TrailingBackslash,  // a name or key whose last character is a backslash
  TooLong,            // the line is longer than a command line may be
};

// The longest command line, in code page 936's bytes (LengthInGbkBytes).
inline constexpr size_t COMMAND_LIMIT_GBK_BYTES = 511;

// The bytes a UTF-8 text takes in code page 936: one for an ASCII character, two for every other
// character of the basic plane, and four, as GB18030 gives it, for one beyond it.
size_t LengthInGbkBytes(const char* utf8);

// Checks the entries, UTF-8 texts, in that order and, when they pass, writes into line (size
// bytes) the command line that runs the system's netsh from systemDir with the set-name-and-key
// words: the name in double quotes, " key=" and the key in double quotes. The quotes make the
// interpreter hand blanks, & | < > ^ ! to netsh as text; a quote or a percent sign would break
// out of them, so those are refused; so is a backslash as the last character, which would turn
// the closing quote into text. In UTF-8 no byte of a longer character is one of these. The
// line, which counts the system folder twice, may take COMMAND_LIMIT_GBK_BYTES and must fit the
// buffer with its terminator. line is written only on Ok.
SettingsCheck ComposeSettingsLine(const char* systemDir, const char* name, const char* key,
                                  char* line, size_t size);

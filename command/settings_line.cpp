#include "command/settings_line.h"

#include <string.h>

#include "command/commands.h"
#include "command/gbk.h"

namespace {

bool IsUnsafe(const char* text) {
  for (const unsigned char* p = reinterpret_cast<const unsigned char*>(text); *p; ++p) {
    if (*p == '"' || *p == '%' || *p < 0x20) return true;
  }
  return false;
}

// A backslash just before the closing quote would make the quote literal text. Judged on
// characters: 0x5C as the trail byte of a double-byte character is no backslash.
bool EndsWithBackslash(const char* text) {
  size_t length = strlen(text);
  return length > 0 && text[length - 1] == '\\' &&
         WholeCharacters(text, length - 1) == length - 1;
}

char* Put(char* out, const char* text, size_t length) {
  memcpy(out, text, length);
  return out + length;
}

}  // namespace

SettingsCheck ComposeSettingsLine(const char* name, const char* key, char* line, size_t size) {
  if (*name == '\0') return SettingsCheck::EmptyName;
  if (*key == '\0') return SettingsCheck::EmptyKey;
  if (IsUnsafe(name) || IsUnsafe(key)) return SettingsCheck::UnsafeCharacter;
  if (EndsWithBackslash(name) || EndsWithBackslash(key)) return SettingsCheck::TrailingBackslash;

  const size_t prefix = sizeof kCmdSetPrefix - 1, keyWord = sizeof kCmdSetKey - 1;
  const size_t nameLength = strlen(name), keyLength = strlen(key);
  // Compared piece by piece, so that no sum can wrap around.
  size_t need = prefix + keyWord + 4 + 1;
  if (size < need || nameLength > size - need || keyLength > size - need - nameLength)
    return SettingsCheck::TooLong;

  char* out = Put(line, kCmdSetPrefix, prefix);
  *out++ = '"';
  out = Put(out, name, nameLength);
  *out++ = '"';
  out = Put(out, kCmdSetKey, keyWord);
  *out++ = '"';
  out = Put(out, key, keyLength);
  *out++ = '"';
  *out = '\0';
  return SettingsCheck::Ok;
}

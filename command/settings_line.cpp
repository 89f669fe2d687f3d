#include "command/settings_line.h"

#include <string.h>

#include "command/commands.h"
#include "command/gbk.h"
#include "command/netsh_line.h"

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

}  // namespace

SettingsCheck ComposeSettingsLine(const char* systemDir, const char* name, const char* key,
                                  char* line, size_t size) {
  if (*name == '\0') return SettingsCheck::EmptyName;
  if (*key == '\0') return SettingsCheck::EmptyKey;
  if (IsUnsafe(name) || IsUnsafe(key)) return SettingsCheck::UnsafeCharacter;
  if (EndsWithBackslash(name) || EndsWithBackslash(key)) return SettingsCheck::TrailingBackslash;
  if (!ComposeNetshLine(line, size, systemDir,
                        {kNetshSetPrefix, "\"", name, "\"", kNetshSetKey, "\"", key, "\""}))
    return SettingsCheck::TooLong;
  return SettingsCheck::Ok;
}

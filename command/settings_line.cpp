#include "command/settings_line.h"

#include <string.h>

#include "command/commands.h"
#include "command/netsh_line.h"
#include "command/utf8.h"

namespace {

// Bytes that are not UTF-8 would reach netsh as no character the user typed.
bool IsUnsafe(const char* text) {
  for (const unsigned char* p = reinterpret_cast<const unsigned char*>(text); *p; ++p) {
    if (*p == '"' || *p == '%' || *p < 0x20) return true;
  }
  return !IsUtf8(text, strlen(text), false);
}

// A backslash just before the closing quote would make the quote literal text.
bool EndsWithBackslash(const char* text) {
  size_t length = strlen(text);
  return length > 0 && text[length - 1] == '\\';
}

}  // namespace

size_t LengthInGbkBytes(const char* utf8) {
  size_t length = 0;
  for (const unsigned char* p = reinterpret_cast<const unsigned char*>(utf8); *p; ++p) {
    if (*p < 0x80) ++length;
    else if (*p >= 0xF0) length += 4;
    else if (*p >= 0xC0) length += 2;
  }
  return length;
}

SettingsCheck ComposeSettingsLine(const char* systemDir, const char* name, const char* key,
                                  char* line, size_t size) {
  if (*name == '\0') return SettingsCheck::EmptyName;
  if (*key == '\0') return SettingsCheck::EmptyKey;
  if (IsUnsafe(name) || IsUnsafe(key)) return SettingsCheck::UnsafeCharacter;
  if (EndsWithBackslash(name) || EndsWithBackslash(key)) return SettingsCheck::TrailingBackslash;
  // Composed aside, so that a refused line leaves the buffer as it was. Within the limit a line
  // takes at most one and a half UTF-8 bytes for each character counted.
  char composed[2 * COMMAND_LIMIT_GBK_BYTES + 1];
  if (!ComposeNetshLine(composed, sizeof composed, systemDir,
                        {kNetshSetPrefix, "\"", name, "\"", kNetshSetKey, "\"", key, "\""}) ||
      LengthInGbkBytes(composed) > COMMAND_LIMIT_GBK_BYTES || strlen(composed) >= size)
    return SettingsCheck::TooLong;
  memcpy(line, composed, strlen(composed) + 1);
  return SettingsCheck::Ok;
}

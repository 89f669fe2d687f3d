// GBK's character rule for the tests that run where Windows' IsDBCSLeadByteEx is not at hand: a
// byte 0x81-0xFE leads a double-byte character, whose trail byte may lie in the same range or
// in ASCII's (0x5C, the backslash, is the trail byte of many characters).
#pragma once

#include <stddef.h>

inline size_t GbkCharWidth(const char* text, size_t) {
  unsigned char c = static_cast<unsigned char>(*text);
  return c >= 0x81 && c <= 0xFE ? 2 : 1;
}

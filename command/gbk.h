// The GBK (code page 936) character rule shared by everything that cuts or judges text by bytes.
#pragma once

#include <stddef.h>

// A byte in this range begins a double-byte character; trail bytes share the range with lead
// bytes and with ASCII (0x5C, the backslash, is the trail byte of many characters).
inline bool IsGbkLeadByte(unsigned char c) { return c >= 0x81 && c <= 0xFE; }

// The longest prefix of text[0..limit) that ends on a character boundary. Trail bytes share
// their range with lead bytes, so the boundaries are found by walking from the start.
inline size_t WholeCharacters(const char* text, size_t limit) {
  size_t i = 0;
  while (i < limit) {
    size_t width = IsGbkLeadByte(static_cast<unsigned char>(text[i])) ? 2 : 1;
    if (i + width > limit) break;
    i += width;
  }
  return i;
}

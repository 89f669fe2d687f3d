#include "command/utf8.h"

size_t Utf8CharWidth(const char* text, size_t left) {
  unsigned char lead = static_cast<unsigned char>(text[0]);
  size_t length = lead < 0xC2 || lead > 0xF4 ? 1 : lead < 0xE0 ? 2 : lead < 0xF0 ? 3 : 4;
  for (size_t i = 1; i < length; ++i) {
    if (i == left) return length;  // the rest is still to come
    if ((static_cast<unsigned char>(text[i]) & 0xC0) != 0x80) return i;
  }
  return length;
}

bool IsUtf8(const char* text, size_t length, bool bMayBreakOff) {
  const unsigned char* p = reinterpret_cast<const unsigned char*>(text);
  for (size_t i = 0; i < length;) {
    unsigned char lead = p[i];
    if (lead < 0x80) {
      ++i;
      continue;
    }
    // The second byte's range rules out overlong forms, surrogates and what lies past U+10FFFF.
    size_t more;
    unsigned char low = 0x80, high = 0xBF;
    if (lead >= 0xC2 && lead <= 0xDF) {
      more = 1;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
      more = 2;
      if (lead == 0xE0) low = 0xA0;
      if (lead == 0xED) high = 0x9F;
    } else if (lead >= 0xF0 && lead <= 0xF4) {
      more = 3;
      if (lead == 0xF0) low = 0x90;
      if (lead == 0xF4) high = 0x8F;
    } else {
      return false;
    }
    for (size_t k = 1; k <= more; ++k, low = 0x80, high = 0xBF) {
      if (i + k == length) return bMayBreakOff;
      if (p[i + k] < low || p[i + k] > high) return false;
    }
    i += more + 1;
  }
  return true;
}

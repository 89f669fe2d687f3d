#include "command/report.h"

#include <string.h>

size_t Utf8CharWidth(const char* text, size_t left) {
  unsigned char lead = static_cast<unsigned char>(text[0]);
  size_t length = lead < 0xC2 || lead > 0xF4 ? 1 : lead < 0xE0 ? 2 : lead < 0xF0 ? 3 : 4;
  for (size_t i = 1; i < length; ++i) {
    if (i == left) return length;  // the rest is still to come
    if ((static_cast<unsigned char>(text[i]) & 0xC0) != 0x80) return i;
  }
  return length;
}

size_t WholeCharacters(const char* text, size_t limit, CharWidth width) {
  size_t i = 0;
  while (i < limit) {
    size_t step = width(text + i, limit - i);
    if (step == 0 || step > limit - i) break;
    i += step;
  }
  return i;
}

bool AppendReport(char* report, size_t size, const char* chunk, size_t count) {
  if (size == 0) return count == 0;
  const void* zero = memchr(chunk, 0, count);
  size_t length = zero ? static_cast<const char*>(zero) - chunk : count;
  size_t used = strnlen(report, size - 1);
  size_t room = size - 1 - used;
  bool bWhole = length <= room;
  if (!bWhole) length = room;
  memcpy(report + used, chunk, length);
  report[used + length] = '\0';
  return bWhole;
}

bool IsUtf8(const char* text, size_t length) {
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
      if (i + k == length) return true;
      if (p[i + k] < low || p[i + k] > high) return false;
    }
    i += more + 1;
  }
  return true;
}

bool SettleReportCodePage(char* report, bool bCut, CharWidth oemWidth) {
  size_t length = strlen(report);
  bool bUtf8 = IsUtf8(report, length);
  if (bCut) report[WholeCharacters(report, length, bUtf8 ? Utf8CharWidth : oemWidth)] = '\0';
  return bUtf8;
}

bool ReportHasMarker(const wchar_t* report, const wchar_t* marker) {
  // An empty marker, as a failed conversion leaves, is found nowhere, not everywhere.
  return *marker != L'\0' && wcsstr(report, marker) != nullptr;
}

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

bool AppendReport(char* report, size_t size, const char* chunk, size_t count, CharWidth width) {
  if (size == 0) return count == 0;
  const void* zero = memchr(chunk, 0, count);
  size_t length = zero ? static_cast<const char*>(zero) - chunk : count;
  size_t used = strnlen(report, size - 1);
  size_t room = size - 1 - used;
  if (length <= room) {
    memcpy(report + used, chunk, length);
    report[used + length] = '\0';
    return true;
  }
  // Cut within the whole text, so that a character begun by an earlier chunk is judged right.
  memcpy(report + used, chunk, room);
  report[WholeCharacters(report, size - 1, width)] = '\0';
  return false;
}

bool ReportHasMarker(const wchar_t* report, const wchar_t* marker) {
  // An empty marker, as a failed conversion leaves, is found nowhere, not everywhere.
  return *marker != L'\0' && wcsstr(report, marker) != nullptr;
}

#include "command/report.h"

#include <string.h>

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

bool SettleReportCodePage(char* report, bool bCut, CharWidth oemWidth) {
  size_t length = strlen(report);
  bool bUtf8 = IsUtf8(report, length, bCut);
  if (bCut) report[WholeCharacters(report, length, bUtf8 ? Utf8CharWidth : oemWidth)] = '\0';
  return bUtf8;
}

bool ReportHasMarker(const wchar_t* report, const wchar_t* marker) {
  // An empty marker, as a failed conversion leaves, is found nowhere, not everywhere.
  return *marker != L'\0' && wcsstr(report, marker) != nullptr;
}

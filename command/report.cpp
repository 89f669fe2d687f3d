#include "command/report.h"

#include <string.h>

#include "command/gbk.h"

bool AppendReport(char* report, size_t size, const char* chunk, size_t count) {
  if (size == 0) return count == 0;
  const void* zero = memchr(chunk, 0, count);
  size_t length = zero ? static_cast<const char*>(zero) - chunk : count;
  size_t used = strnlen(report, size - 1);
  size_t room = size - 1 - used;
  // A cut leaves at most one byte free, and a byte there would follow the dropped ones: so a
  // full report takes only the trail byte of a character begun at its end.
  if (room <= 1 && WholeCharacters(report, used) == used) room = 0;
  if (length <= room) {
    memcpy(report + used, chunk, length);
    report[used + length] = '\0';
    return true;
  }
  // Cut within the whole text, so that a character begun by an earlier chunk is judged right.
  memcpy(report + used, chunk, room);
  report[WholeCharacters(report, size - 1)] = '\0';
  return false;
}

bool ReportHasMarker(const char* report, const char* marker) {
  const size_t length = strlen(marker);
  // Only where a character begins: the bytes of a marker may also stand across the middle of
  // two other characters.
  for (const char* p = report; *p; ++p) {
    if (strncmp(p, marker, length) == 0) return true;
    if (IsGbkLeadByte(static_cast<unsigned char>(*p)) && p[1]) ++p;
  }
  return false;
}

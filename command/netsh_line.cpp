#include "command/netsh_line.h"

#include <string.h>

namespace {

const char kInterpreter[] = "\\cmd.exe\" /d /v:off /s /c \"\"";
const char kNetsh[] = "\\netsh.exe\" ";

}  // namespace

bool ComposeNetshLine(char* line, size_t size, const char* systemDir,
                      std::initializer_list<const char*> args) {
  if (*systemDir == '\0') return false;
  const char* head[] = {"\"", systemDir, kInterpreter, systemDir, kNetsh};
  // Measured piece by piece against what is left, so that no sum can wrap around.
  size_t need = 2;  // the closing quote and the terminator
  if (size < need) return false;
  auto fits = [&need, size](const char* piece) {
    size_t length = strlen(piece);
    if (length > size - need) return false;
    need += length;
    return true;
  };
  for (const char* piece : head)
    if (!fits(piece)) return false;
  for (const char* piece : args)
    if (!fits(piece)) return false;

  char* out = line;
  auto put = [&out](const char* piece) {
    size_t length = strlen(piece);
    memcpy(out, piece, length);
    out += length;
  };
  for (const char* piece : head) put(piece);
  for (const char* piece : args) put(piece);
  put("\"");
  *out = '\0';
  return true;
}

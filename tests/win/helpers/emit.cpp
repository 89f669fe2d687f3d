// A child for the runner's tests: writes, waits and hangs as its arguments say, in order.
//   out:TEXT  err:TEXT  hex:BYTES  fill:N  sleep:MS  hang  spawn-hang
#include <windows.h>

#include <stdlib.h>
#include <string.h>

namespace {

void Write(DWORD which, const void* data, DWORD size) {
  DWORD written;
  WriteFile(GetStdHandle(which), data, size, &written, nullptr);
}

// Leaves a grandchild that holds the output open and hangs, then exits itself.
void SpawnHang() {
  char self[MAX_PATH], line[MAX_PATH + 16];
  GetModuleFileNameA(nullptr, self, sizeof self);
  wsprintfA(line, "\"%s\" hang", self);
  STARTUPINFOA si = {};
  si.cb = sizeof si;
  PROCESS_INFORMATION pi;
  if (CreateProcessA(nullptr, line, nullptr, nullptr, TRUE, 0, nullptr, nullptr, &si, &pi)) {
    CloseHandle(pi.hThread);
    CloseHandle(pi.hProcess);
  }
}

}  // namespace

int main(int argc, char** argv) {
  for (int i = 1; i < argc; ++i) {
    const char* arg = argv[i];
    if (!strncmp(arg, "out:", 4)) {
      Write(STD_OUTPUT_HANDLE, arg + 4, strlen(arg + 4));
    } else if (!strncmp(arg, "err:", 4)) {
      Write(STD_ERROR_HANDLE, arg + 4, strlen(arg + 4));
    } else if (!strncmp(arg, "hex:", 4)) {
      char bytes[256];
      DWORD n = 0;
      for (const char* p = arg + 4; p[0] && p[1] && n < sizeof bytes; p += 2) {
        char pair[3] = {p[0], p[1], 0};
        bytes[n++] = static_cast<char>(strtoul(pair, nullptr, 16));
      }
      Write(STD_OUTPUT_HANDLE, bytes, n);
    } else if (!strncmp(arg, "fill:", 5)) {
      for (long left = atol(arg + 5); left > 0; left -= 26)
        Write(STD_OUTPUT_HANDLE, "abcdefghijklmnopqrstuvwxyz", left < 26 ? left : 26);
    } else if (!strncmp(arg, "sleep:", 6)) {
      Sleep(atol(arg + 6));
    } else if (!strcmp(arg, "hang")) {
      Sleep(INFINITE);
    } else if (!strcmp(arg, "spawn-hang")) {
      SpawnHang();
    }
  }
  return 0;
}

// A child for the runner's tests: writes, waits and hangs as its arguments say, in order.
//   out:TEXT  err:TEXT  hex:BYTES  fill:N  sleep:MS  hang
//   trace:PATH: makes the file PATH, as the first thing a command of the tests does
//   flood: writes without pause until the output is closed
//   spawn-hang, spawn-flood: starts a grandchild that holds the output and hangs or floods it,
//   and writes " spawned:PID" before the grandchild writes anything
#include <windows.h>

#include <stdlib.h>
#include <string.h>

namespace {

void Write(DWORD dwWhich, const void* pData, DWORD dwSize) {
  DWORD dwWritten;
  WriteFile(GetStdHandle(dwWhich), pData, dwSize, &dwWritten, nullptr);
}

// Leaves a grandchild that holds the output open and does what the verb says, and says which it
// is; suspended until then, so that its output comes after.
void Spawn(const char* pszVerb) {
  char szSelf[MAX_PATH], szLine[MAX_PATH + 16];
  GetModuleFileNameA(nullptr, szSelf, sizeof szSelf);
  wsprintfA(szLine, "\"%s\" %s", szSelf, pszVerb);
  STARTUPINFOA si = {};
  si.cb = sizeof si;
  PROCESS_INFORMATION pi;
  if (CreateProcessA(nullptr, szLine, nullptr, nullptr, TRUE, CREATE_SUSPENDED, nullptr, nullptr,
                     &si, &pi)) {
    char szPid[32];
    Write(STD_OUTPUT_HANDLE, szPid, wsprintfA(szPid, " spawned:%lu", pi.dwProcessId));
    if (ResumeThread(pi.hThread) == static_cast<DWORD>(-1)) TerminateProcess(pi.hProcess, 1);
    CloseHandle(pi.hThread);
    CloseHandle(pi.hProcess);
  }
}

// In large writes, so that the pipe stays full and every read completes at once.
void Flood() {
  static char szBlock[65536];
  memset(szBlock, 'f', sizeof szBlock);
  DWORD dwWritten;
  while (WriteFile(GetStdHandle(STD_OUTPUT_HANDLE), szBlock, sizeof szBlock, &dwWritten, nullptr)) {
  }
}

}  // namespace

int main(int argc, char** argv) {
  for (int i = 1; i < argc; ++i) {
    const char* pszArg = argv[i];
    if (!strncmp(pszArg, "trace:", 6)) {
      HANDLE hFile = CreateFileA(pszArg + 6, GENERIC_WRITE, 0, nullptr, CREATE_NEW, 0, nullptr);
      if (hFile != INVALID_HANDLE_VALUE) CloseHandle(hFile);
    } else if (!strncmp(pszArg, "out:", 4)) {
      Write(STD_OUTPUT_HANDLE, pszArg + 4, strlen(pszArg + 4));
    } else if (!strncmp(pszArg, "err:", 4)) {
      Write(STD_ERROR_HANDLE, pszArg + 4, strlen(pszArg + 4));
    } else if (!strncmp(pszArg, "hex:", 4)) {
      char szBytes[256];
      DWORD dwCount = 0;
      for (const char* p = pszArg + 4; p[0] && p[1] && dwCount < sizeof szBytes; p += 2) {
        char szPair[3] = {p[0], p[1], 0};
        szBytes[dwCount++] = static_cast<char>(strtoul(szPair, nullptr, 16));
      }
      Write(STD_OUTPUT_HANDLE, szBytes, dwCount);
    } else if (!strncmp(pszArg, "fill:", 5)) {
      for (long nLeft = atol(pszArg + 5); nLeft > 0; nLeft -= 26)
        Write(STD_OUTPUT_HANDLE, "abcdefghijklmnopqrstuvwxyz", nLeft < 26 ? nLeft : 26);
    } else if (!strncmp(pszArg, "sleep:", 6)) {
      Sleep(atol(pszArg + 6));
    } else if (!strcmp(pszArg, "hang")) {
      Sleep(INFINITE);
    } else if (!strcmp(pszArg, "flood")) {
      Flood();
    } else if (!strncmp(pszArg, "spawn-", 6)) {
      Spawn(pszArg + 6);
    }
  }
  return 0;
}

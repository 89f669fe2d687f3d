#include "tools/bench/bare_command.h"

#include <string.h>

long long RunToEnd(LPCSTR lpszCommandLine, LPCSTR lpszFolder, char* pText, size_t cbText,
                   CHandle* pProcess, LPCSTR* ppszCall) {
  // CreateProcessA wants a line it may write to.
  char szLine[1024];
  *ppszCall = "copying the command line";
  if (strlen(lpszCommandLine) >= sizeof szLine) {
    SetLastError(ERROR_INSUFFICIENT_BUFFER);
    return -1;
  }
  strcpy(szLine, lpszCommandLine);
  SECURITY_ATTRIBUTES sa = {sizeof sa, nullptr, TRUE};
  CHandle read, write;
  *ppszCall = "CreatePipe";
  if (!CreatePipe(read.Out(), write.Out(), &sa, 0)) return -1;
  *ppszCall = "SetHandleInformation";
  if (!SetHandleInformation(read, HANDLE_FLAG_INHERIT, 0)) return -1;
  STARTUPINFOA si = {};
  si.cb = sizeof si;
  si.dwFlags = STARTF_USESHOWWINDOW | STARTF_USESTDHANDLES;
  si.wShowWindow = SW_HIDE;
  si.hStdOutput = write;
  si.hStdError = write;
  PROCESS_INFORMATION pi;
  *ppszCall = "CreateProcess";
  if (!CreateProcessA(nullptr, szLine, nullptr, nullptr, TRUE, CREATE_NO_WINDOW, nullptr,
                      lpszFolder, &si, &pi))
    return -1;
  pProcess->Close();
  *pProcess->Out() = pi.hProcess;
  CHandle thread(pi.hThread);
  // Only the child holds a write end now, so the reads end when it exits.
  write.Close();
  char chunk[1024];
  DWORD n;
  long long total = 0;
  size_t used = 0;
  if (cbText) pText[0] = '\0';
  while (ReadFile(read, chunk, sizeof chunk, &n, nullptr)) {
    total += n;
    size_t take = cbText > used + 1 ? cbText - 1 - used : 0;
    if (take > n) take = n;
    memcpy(pText + used, chunk, take);
    used += take;
    if (cbText) pText[used] = '\0';
  }
  *ppszCall = "ReadFile";
  return GetLastError() == ERROR_BROKEN_PIPE ? total : -1;
}

// Planted where a command must never be looked for: when run, leaves NAME.ran beside itself.
#include <windows.h>

int main() {
  char szPath[MAX_PATH + 8];
  DWORD dwLength = GetModuleFileNameA(nullptr, szPath, MAX_PATH);
  if (dwLength == 0 || dwLength >= MAX_PATH) return 1;
  lstrcatA(szPath, ".ran");
  HANDLE hFile = CreateFileA(szPath, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
  if (hFile == INVALID_HANDLE_VALUE) return 1;
  CloseHandle(hFile);
  return 0;
}

// Stands in for netsh where a test needs a status report the simulator would never give:
// writes report.txt from the current folder and logs its arguments to netsh.log, as netsh.exe.
#include <windows.h>

#include <stdio.h>

int main(int argc, char** argv) {
  if (FILE* log = fopen("netsh.log", "ab")) {
    for (int i = 1; i < argc; ++i) fprintf(log, i > 1 ? " %s" : "%s", argv[i]);
    fputs("\r\n", log);
    fclose(log);
  }
  FILE* report = fopen("report.txt", "rb");
  if (!report) return 1;
  char buffer[4096];
  size_t n;
  DWORD written;
  while ((n = fread(buffer, 1, sizeof buffer, report)) > 0)
    WriteFile(GetStdHandle(STD_OUTPUT_HANDLE), buffer, static_cast<DWORD>(n), &written, nullptr);
  fclose(report);
  return 0;
}

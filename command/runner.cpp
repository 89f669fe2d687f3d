#include "command/runner.h"

#include "command/command_environment.h"
#include "command/deadline.h"
#include "command/handle.h"
#include "command/report.h"
#include "command/system_calls.h"

namespace {

// The OEM code page's rule, for a report that is not UTF-8: GBK's on a Chinese Windows, UTF-8's
// with the system's UTF-8 option.
size_t OemCharWidth(const char* text, size_t left) {
  if (::GetOEMCP() == CP_UTF8) return Utf8CharWidth(text, left);
  return ::IsDBCSLeadByteEx(::GetOEMCP(), static_cast<BYTE>(*text)) ? 2 : 1;
}

bool GetWideSystemFolder(wchar_t (&szFolder)[MAX_PATH]) {
  UINT cchFolder = CallGetSystemDirectoryW(szFolder, MAX_PATH);
  return cchFolder != 0 && cchFolder < MAX_PATH;
}

}  // namespace

bool GetSystemFolder(char (&szFolder)[FOLDER_SIZE]) {
  wchar_t szWide[MAX_PATH];
  return GetWideSystemFolder(szWide) &&
         ::WideCharToMultiByte(CP_UTF8, 0, szWide, -1, szFolder, sizeof szFolder, nullptr,
                               nullptr) > 0;
}

RunResult RunHidden(LPCSTR lpszCommandLine, wchar_t (&szReport)[REPORT_SIZE], DWORD dwTimeoutMs) {
  // Started through the wide call, so that every character of the line reaches the command.
  wchar_t szLine[COMMAND_SIZE];
  if (*lpszCommandLine == '\0' ||
      !::MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, lpszCommandLine, -1, szLine,
                             COMMAND_SIZE))
    return RunResult::ProcessFailed;
  // The interpreter looks for a command in its current folder before the path: started in ours,
  // a netsh.* planted beside the program would run as administrator.
  wchar_t szSystemDir[MAX_PATH];
  if (!GetWideSystemFolder(szSystemDir)) return RunResult::ProcessFailed;
  // Started as administrator, the command must not take the user's folders along.
  CCommandEnvironment environment(szSystemDir);
  if (!environment.Block()) return RunResult::ProcessFailed;

  SECURITY_ATTRIBUTES sa = {sizeof sa, nullptr, TRUE};
  CHandle readEnd, writeEnd;
  if (!CallCreatePipe(readEnd.Out(), writeEnd.Out(), &sa, 0)) return RunResult::PipeFailed;
  // The child needs only the write end; were this to fail, a read end in the child is harmless.
  ::SetHandleInformation(readEnd, HANDLE_FLAG_INHERIT, 0);

  STARTUPINFOW si = {};
  si.cb = sizeof si;
  si.dwFlags = STARTF_USESHOWWINDOW | STARTF_USESTDHANDLES;
  si.wShowWindow = SW_HIDE;
  si.hStdOutput = writeEnd;
  si.hStdError = writeEnd;
  PROCESS_INFORMATION pi = {};
  // Suspended, so that nothing it starts can escape the job before it is in it, and nothing of
  // it runs before its deadline is set. Its console has no window: Windows 11's default
  // terminal shows a console that is only asked to hide.
  if (!::CreateProcessW(nullptr, szLine, nullptr, nullptr, TRUE,
                        CREATE_SUSPENDED | CREATE_NO_WINDOW | CREATE_UNICODE_ENVIRONMENT,
                        environment.Block(), szSystemDir, &si, &pi))
    return RunResult::ProcessFailed;
  CHandle process(pi.hProcess), thread(pi.hThread);
  // From now on only the child holds a write end: the reads end when the last holder exits.
  writeEnd.Close();

  // Where the deadline cannot be set, nothing of the command has run, nor will.
  CDeadline deadline(process);
  if (!deadline.Arm(dwTimeoutMs) || ::ResumeThread(thread) == static_cast<DWORD>(-1)) {
    deadline.EndCommand(ERROR_PROCESS_ABORTED);
    return RunResult::ProcessFailed;
  }
  thread.Close();

  // Read to the end even once the report is full, so that the child never blocks on the pipe;
  // but not past the deadline: outside a job, what the command started may write for ever, and
  // then every read completes before a cancel can find it pending.
  char szBytes[REPORT_SIZE] = {};
  bool bWhole = true;
  char chunk[1024];
  DWORD dwRead;
  while (!deadline.Passed()) {
    if (!::ReadFile(readEnd, chunk, sizeof chunk, &dwRead, nullptr)) {
      // The output ended, unless the time was up first and the deadline ended the read.
      deadline.CatchEnd();
      break;
    }
    if (bWhole) bWhole = AppendReport(szBytes, sizeof szBytes, chunk, dwRead);
  }
  deadline.Disarm();
  // Ended by the deadline, the output stops wherever it was, as where it was cut.
  const bool bTimedOut = deadline.Passed();

  bool bUtf8 = SettleReportCodePage(szBytes, !bWhole || bTimedOut, OemCharWidth);
  // Each byte gives at most one UTF-16 unit, and four bytes two: the text always fits.
  if (!::MultiByteToWideChar(bUtf8 ? CP_UTF8 : CP_OEMCP, 0, szBytes, -1, szReport, REPORT_SIZE))
    szReport[0] = L'\0';
  return bTimedOut ? RunResult::TimedOut : RunResult::Done;
}

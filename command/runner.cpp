#include "command/runner.h"

#include <stdlib.h>

#include "command/environment.h"
#include "command/handle.h"
#include "command/report.h"
#include "command/system_calls.h"
#include "command/tree_job.h"

namespace {

const DWORD kRetryEndMs = 1000;

// Shared with the timer's thread: what to end, what to wake, and whether it had to.
struct Deadline {
  HANDLE hJob;      // the command and everything it started, where the job could hold them
  HANDLE hProcess;  // else the command alone
  HANDLE hReader;   // the thread that waits on the pipe
  volatile LONG bExpired;
};

// Ends the command and, where the job holds them, everything it started.
void EndCommand(HANDLE hJob, HANDLE hProcess, UINT uExitCode) {
  if (!hJob || !::TerminateJobObject(hJob, uExitCode)) ::TerminateProcess(hProcess, uExitCode);
}

void CALLBACK OnDeadline(PVOID pvDeadline, BOOLEAN) {
  auto pDeadline = static_cast<Deadline*>(pvDeadline);
  ::InterlockedExchange(&pDeadline->bExpired, 1);
  EndCommand(pDeadline->hJob, pDeadline->hProcess, ERROR_TIMEOUT);
  // Outside a job, what the command started lives on and may hold the pipe's write end: the
  // pending read is cancelled so that it ends all the same. A read not yet begun is caught by
  // the next firing.
  ::CancelSynchronousIo(pDeadline->hReader);
}

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

// The program's environment with the system's own PATH, for one command; null when it cannot
// be had.
class CCommandEnvironment {
 public:
  explicit CCommandEnvironment(const wchar_t* pszSystemDir) {
    wchar_t szPath[4 * MAX_PATH + 64];
    if (!ComposeSystemPath(pszSystemDir, szPath, ARRAYSIZE(szPath))) return;
    LPWCH pInherited = ::GetEnvironmentStringsW();
    if (!pInherited) return;
    size_t cchBlock = ComposeEnvironment(pInherited, szPath, nullptr, 0);
    m_pBlock = static_cast<wchar_t*>(malloc(cchBlock * sizeof(wchar_t)));
    if (m_pBlock) ComposeEnvironment(pInherited, szPath, m_pBlock, cchBlock);
    ::FreeEnvironmentStringsW(pInherited);
  }
  ~CCommandEnvironment() { free(m_pBlock); }
  CCommandEnvironment(const CCommandEnvironment&) = delete;
  CCommandEnvironment& operator=(const CCommandEnvironment&) = delete;

  LPVOID Block() const { return m_pBlock; }

 private:
  wchar_t* m_pBlock = nullptr;
};

// The deadline's timer, deleted once any firing of it has ended.
class CDeadlineTimer {
 public:
  CDeadlineTimer() = default;
  ~CDeadlineTimer() { Delete(); }
  CDeadlineTimer(const CDeadlineTimer&) = delete;
  CDeadlineTimer& operator=(const CDeadlineTimer&) = delete;

  HANDLE* Out() { return &m_hTimer; }
  void Delete() {
    if (m_hTimer) ::DeleteTimerQueueTimer(nullptr, m_hTimer, INVALID_HANDLE_VALUE);
    m_hTimer = nullptr;
  }

 private:
  HANDLE m_hTimer = nullptr;
};

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
  // Started as administrator, the command must not take the user's PATH along.
  CCommandEnvironment environment(szSystemDir);
  if (!environment.Block()) return RunResult::ProcessFailed;
  // The deadline cancels this thread's read; without that, the command could have no limit.
  CHandle reader;
  if (!::DuplicateHandle(::GetCurrentProcess(), ::GetCurrentThread(), ::GetCurrentProcess(),
                         reader.Out(), 0, FALSE, DUPLICATE_SAME_ACCESS))
    return RunResult::ProcessFailed;

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

  CHandle job(CreateTreeJob(process));
  Deadline deadline = {job, process, reader, 0};
  CDeadlineTimer timer;
  // Once past the deadline it fires every second until the read ends: a process caught still
  // starting up may outlive one termination, and a read may begin after a cancel. Made while the
  // command is still suspended, so that where it cannot be, nothing of the command has run.
  if (!CallCreateTimerQueueTimer(timer.Out(), nullptr, OnDeadline, &deadline, dwTimeoutMs,
                                 kRetryEndMs, WT_EXECUTEDEFAULT) ||
      ::ResumeThread(thread) == static_cast<DWORD>(-1)) {
    EndCommand(job, process, ERROR_PROCESS_ABORTED);
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
  while (!deadline.bExpired && ::ReadFile(readEnd, chunk, sizeof chunk, &dwRead, nullptr))
    if (bWhole) bWhole = AppendReport(szBytes, sizeof szBytes, chunk, dwRead);

  // Waits for a deadline that is firing right now, so that its verdict is final.
  timer.Delete();
  bool bUtf8 = SettleReportCodePage(szBytes, !bWhole, OemCharWidth);
  // Each byte gives at most one UTF-16 unit, and four bytes two: the text always fits.
  if (!::MultiByteToWideChar(bUtf8 ? CP_UTF8 : CP_OEMCP, 0, szBytes, -1, szReport, REPORT_SIZE))
    szReport[0] = L'\0';
  return deadline.bExpired ? RunResult::TimedOut : RunResult::Done;
}

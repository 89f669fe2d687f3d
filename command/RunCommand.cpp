#include <windows.h>

#include "command/handle.h"
#include "command/report.h"
#include "ui/HotspotDlg.h"

namespace {

const DWORD kRetryEndMs = 1000;

enum class RunResult { Done, PipeFailed, ProcessFailed, TimedOut };

// Shared with the timer's thread: what to end, and whether it had to.
struct Deadline {
  HANDLE hJob;      // the child and everything it starts, when the job could hold them
  HANDLE hProcess;  // else the child alone
  volatile LONG bExpired;
};

void CALLBACK OnDeadline(PVOID pvDeadline, BOOLEAN) {
  auto pDeadline = static_cast<Deadline*>(pvDeadline);
  ::InterlockedExchange(&pDeadline->bExpired, 1);
  // Ending every process that holds the pipe's write end ends the read below.
  if (!pDeadline->hJob || !::TerminateJobObject(pDeadline->hJob, ERROR_TIMEOUT))
    ::TerminateProcess(pDeadline->hProcess, ERROR_TIMEOUT);
}

RunResult RunHidden(LPCSTR lpszCommandLine, char* pReport, size_t size, DWORD dwTimeoutMs) {
  // The interpreter looks for a command in its current folder before the path: started in ours,
  // a netsh.* planted beside the program would run as administrator. Nothing runs without it.
  char szSystemDir[MAX_PATH];
  UINT cchSystemDir = ::GetSystemDirectoryA(szSystemDir, sizeof szSystemDir);
  if (cchSystemDir == 0 || cchSystemDir >= sizeof szSystemDir) return RunResult::ProcessFailed;

  SECURITY_ATTRIBUTES sa = {sizeof sa, nullptr, TRUE};
  CHandle readEnd, writeEnd;
  if (!::CreatePipe(readEnd.Out(), writeEnd.Out(), &sa, 0)) return RunResult::PipeFailed;
  // The child needs only the write end; were this to fail, a read end in the child is harmless.
  ::SetHandleInformation(readEnd, HANDLE_FLAG_INHERIT, 0);

  STARTUPINFOA si = {};
  si.cb = sizeof si;
  si.dwFlags = STARTF_USESHOWWINDOW | STARTF_USESTDHANDLES;
  si.wShowWindow = SW_HIDE;
  si.hStdOutput = writeEnd;
  si.hStdError = writeEnd;
  PROCESS_INFORMATION pi = {};
  // Started suspended, so that nothing it starts can escape the job before it is in it.
  // CreateProcessA converts the line into a copy of its own and never writes to it.
  if (!::CreateProcessA(nullptr, const_cast<LPSTR>(lpszCommandLine), nullptr, nullptr, TRUE,
                        CREATE_SUSPENDED, nullptr, szSystemDir, &si, &pi))
    return RunResult::ProcessFailed;
  CHandle process(pi.hProcess), thread(pi.hThread);
  // From now on only the child holds a write end: the reads end when the last holder exits.
  writeEnd.Close();

  CHandle job(::CreateJobObjectA(nullptr, nullptr));
  Deadline deadline = {job && ::AssignProcessToJobObject(job, process) ? (HANDLE)job : nullptr,
                       process, 0};
  if (::ResumeThread(thread) == static_cast<DWORD>(-1)) {
    ::TerminateProcess(process, ERROR_PROCESS_ABORTED);
    return RunResult::ProcessFailed;
  }
  thread.Close();

  HANDLE hTimer = nullptr;
  // Once past the deadline it fires every second until the read ends: a process caught still
  // starting up may outlive one termination. Without a timer the command has no time limit.
  if (!::CreateTimerQueueTimer(&hTimer, nullptr, OnDeadline, &deadline, dwTimeoutMs,
                               kRetryEndMs, WT_EXECUTEDEFAULT))
    hTimer = nullptr;

  // Read to the end even once the report is full, so that the child never blocks on the pipe.
  char chunk[1024];
  DWORD dwRead;
  while (::ReadFile(readEnd, chunk, sizeof chunk, &dwRead, nullptr))
    AppendReport(pReport, size, chunk, dwRead);

  // Waits for a deadline that is firing right now, so that `deadline` outlives it.
  if (hTimer) ::DeleteTimerQueueTimer(nullptr, hTimer, INVALID_HANDLE_VALUE);
  return deadline.bExpired ? RunResult::TimedOut : RunResult::Done;
}

}  // namespace

void CHotspotDlg::RunCommand(LPCSTR lpszCommandLine, char (&szReport)[REPORT_SIZE],
                             DWORD dwTimeoutMs) {
  RunResult result;
  {
    CWaitCursor wait;
    result = RunHidden(lpszCommandLine, szReport, sizeof szReport, dwTimeoutMs);
  }
  switch (result) {
    case RunResult::PipeFailed: AfxMessageBox(kMsgPipeFailed, MB_OK, 0); break;
    case RunResult::ProcessFailed: AfxMessageBox(kMsgProcessFailed, MB_OK, 0); break;
    case RunResult::TimedOut: AfxMessageBox(kMsgTimedOut, MB_OK, 0); break;
    case RunResult::Done: break;
  }
}

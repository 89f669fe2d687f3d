#include "command/runner.h"

#include "command/handle.h"
#include "command/report.h"
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

}  // namespace

bool GetSystemFolder(char (&szFolder)[MAX_PATH]) {
  UINT cchFolder = ::GetSystemDirectoryA(szFolder, sizeof szFolder);
  return cchFolder != 0 && cchFolder < sizeof szFolder;
}

RunResult RunHidden(LPCSTR lpszCommandLine, char* pReport, size_t size, DWORD dwTimeoutMs) {
  if (*lpszCommandLine == '\0') return RunResult::ProcessFailed;
  // The interpreter looks for a command in its current folder before the path: started in ours,
  // a netsh.* planted beside the program would run as administrator.
  char szSystemDir[MAX_PATH];
  if (!GetSystemFolder(szSystemDir)) return RunResult::ProcessFailed;
  // The deadline cancels this thread's read; without that, the command could have no limit.
  CHandle reader;
  if (!::DuplicateHandle(::GetCurrentProcess(), ::GetCurrentThread(), ::GetCurrentProcess(),
                         reader.Out(), 0, FALSE, DUPLICATE_SAME_ACCESS))
    return RunResult::ProcessFailed;

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
  // Suspended, so that nothing it starts can escape the job before it is in it. Its console has
  // no window: Windows 11's default terminal shows a console that is only asked to hide.
  // CreateProcessA converts the line into a copy of its own and never writes to it.
  if (!::CreateProcessA(nullptr, const_cast<LPSTR>(lpszCommandLine), nullptr, nullptr, TRUE,
                        CREATE_SUSPENDED | CREATE_NO_WINDOW, nullptr, szSystemDir, &si, &pi))
    return RunResult::ProcessFailed;
  CHandle process(pi.hProcess), thread(pi.hThread);
  // From now on only the child holds a write end: the reads end when the last holder exits.
  writeEnd.Close();

  CHandle job(CreateTreeJob(process));
  if (::ResumeThread(thread) == static_cast<DWORD>(-1)) {
    ::TerminateProcess(process, ERROR_PROCESS_ABORTED);
    return RunResult::ProcessFailed;
  }
  thread.Close();

  Deadline deadline = {job, process, reader, 0};
  HANDLE hTimer = nullptr;
  // Once past the deadline it fires every second until the read ends: a process caught still
  // starting up may outlive one termination, and a read may begin after a cancel. A command
  // that could have no limit is ended at once.
  if (!::CreateTimerQueueTimer(&hTimer, nullptr, OnDeadline, &deadline, dwTimeoutMs, kRetryEndMs,
                               WT_EXECUTEDEFAULT)) {
    EndCommand(job, process, ERROR_PROCESS_ABORTED);
    return RunResult::ProcessFailed;
  }

  // Read to the end even once the report is full, so that the child never blocks on the pipe.
  char chunk[1024];
  DWORD dwRead;
  while (::ReadFile(readEnd, chunk, sizeof chunk, &dwRead, nullptr))
    AppendReport(pReport, size, chunk, dwRead);

  // Waits for a deadline that is firing right now, so that `deadline` outlives it.
  ::DeleteTimerQueueTimer(nullptr, hTimer, INVALID_HANDLE_VALUE);
  return deadline.bExpired ? RunResult::TimedOut : RunResult::Done;
}

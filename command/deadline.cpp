#include "command/deadline.h"

#include "command/system_calls.h"
#include "command/tree_job.h"

namespace {

const DWORD kRetryEndMs = 1000;

}  // namespace

CDeadline::CDeadline(HANDLE hProcess) : m_hProcess(hProcess), m_job(CreateTreeJob(hProcess)) {}

bool CDeadline::Arm(DWORD dwTimeoutMs) {
  // The timer cancels this thread's read; without that, the command could have no limit.
  if (!::DuplicateHandle(::GetCurrentProcess(), ::GetCurrentThread(), ::GetCurrentProcess(),
                         m_reader.Out(), 0, FALSE, DUPLICATE_SAME_ACCESS))
    return false;
  // Once the time is up it fires every second until the read ends: a process caught still
  // starting up may outlive one termination, and a read may begin after a cancel.
  return CallCreateTimerQueueTimer(&m_hTimer, nullptr, OnTimer, this, dwTimeoutMs, kRetryEndMs,
                                   WT_EXECUTEDEFAULT) != FALSE;
}

void CDeadline::Disarm() {
  if (m_hTimer) ::DeleteTimerQueueTimer(nullptr, m_hTimer, INVALID_HANDLE_VALUE);
  m_hTimer = nullptr;
}

void CDeadline::EndCommand(UINT uExitCode) {
  if (!m_job || !::TerminateJobObject(m_job, uExitCode)) ::TerminateProcess(m_hProcess, uExitCode);
}

void CALLBACK CDeadline::OnTimer(PVOID pvDeadline, BOOLEAN) {
  auto pDeadline = static_cast<CDeadline*>(pvDeadline);
  // A read that has ended already, the output with it, is left as it ended.
  if (::InterlockedCompareExchange(&pDeadline->m_state, kPassed, kRunning) == kEnded) return;
  pDeadline->EndCommand(ERROR_TIMEOUT);
  // Outside a job, what the command started lives on and may hold the pipe's write end: the
  // pending read is cancelled so that it ends all the same. A read not yet begun is caught by
  // the next firing.
  ::CancelSynchronousIo(pDeadline->m_reader);
}

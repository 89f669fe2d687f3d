// How long one command may keep its output open.
#pragma once

#include <windows.h>

#include "command/handle.h"

// The deadline of one command, made while the command is still suspended: a timer that, once the
// time is up, ends the command and everything it started where Windows lets them be ended, and
// ends the read of its output. Deleted, its timer with it, on every path.
class CDeadline {
 public:
  // For the suspended process hProcess, which the caller owns; the job it makes to end the
  // command's whole tree is its own.
  explicit CDeadline(HANDLE hProcess);
  ~CDeadline() { Disarm(); }
  CDeadline(const CDeadline&) = delete;
  CDeadline& operator=(const CDeadline&) = delete;

  // Sets the timer, for the read on this thread; false when it cannot be set, and then the
  // command must not run.
  bool Arm(DWORD dwTimeoutMs);
  // Deletes the timer, once a firing of it under way has ended, so that what it did is final.
  void Disarm();
  // Ends the command and what it started now, as the timer does.
  void EndCommand(UINT uExitCode);

  // For the reader, once its read has ended: unless the time was up first, the timer does
  // nothing more from then on, and the output ended by itself.
  void CatchEnd() { ::InterlockedCompareExchange(&m_state, kEnded, kRunning); }
  // The time was up before the read had ended: the read goes no further, and the command was
  // ended.
  bool Passed() const { return m_state == kPassed; }

 private:
  enum : LONG { kRunning, kEnded, kPassed };

  static void CALLBACK OnTimer(PVOID pvDeadline, BOOLEAN);

  HANDLE m_hProcess;
  CHandle m_job;     // the command and everything it started, where a job could hold them
  CHandle m_reader;  // the thread that reads the command's output
  HANDLE m_hTimer = nullptr;
  volatile LONG m_state = kRunning;
};

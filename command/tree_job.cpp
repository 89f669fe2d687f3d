// On its own in its file, so that a test can link its own CreateTreeJob in its place.
#include "command/tree_job.h"

HANDLE CreateTreeJob(HANDLE hProcess) {
  HANDLE hJob = ::CreateJobObjectA(nullptr, nullptr);
  if (hJob && !::AssignProcessToJobObject(hJob, hProcess)) {
    ::CloseHandle(hJob);
    hJob = nullptr;
  }
  return hJob;
}

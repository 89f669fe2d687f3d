// Where a program on the framework may load DLLs from once its start-up has run.
#include <gtest/gtest.h>
#include <windows.h>

#include <string>

#include "test_support.h"

namespace {

// The probe lies beside this program, and so does the DLL, which this program finds by name.
TEST(Startup, DllBesideTheProgramDoesNotLoadByNameOnceStartUpHasRun) {
  HMODULE hHere = LoadLibraryA("app_folder_only.dll");
  ASSERT_NE(hHere, nullptr) << "without the restriction the program's folder is searched";
  FreeLibrary(hHere);

  std::string strLine = "\"" + WindowsPath(STARTUP_PROBE_PATH) + "\"";
  STARTUPINFOA si = {};
  si.cb = sizeof si;
  PROCESS_INFORMATION pi = {};
  ASSERT_TRUE(CreateProcessA(nullptr, &strLine[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                             &si, &pi))
      << "error " << GetLastError();
  CloseHandle(pi.hThread);
  EXPECT_EQ(WaitForSingleObject(pi.hProcess, 30000), WAIT_OBJECT_0);
  DWORD dwCode = ~0u;
  EXPECT_TRUE(GetExitCodeProcess(pi.hProcess, &dwCode));
  TerminateProcess(pi.hProcess, 99);
  CloseHandle(pi.hProcess);
  EXPECT_EQ(dwCode, 0u) << "1: found by name, 2: not by its path, 3: no system DLL";
}

}  // namespace

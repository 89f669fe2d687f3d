// A program on the framework whose start-up is the program's own; CTest runs it and reads its
// exit code: 0 when, once start-up has run, a DLL that lies beside it does not load by its bare
// name while a system DLL does; 1 when the DLL beside it loads; 2 when the system DLL does not;
// 3 when the DLL is not beside it at all, so that the test would prove nothing.
#include <initializer_list>

#include "afxwin.h"

class CStartupTest : public CWinApp {
 public:
  BOOL InitInstance() override {
    const char kBeside[] = "app_folder_only.dll";
    HMODULE hBeside = LoadLibraryA(kBeside);
    HMODULE hSystem = LoadLibraryA("version.dll");
    HMODULE hThere = LoadLibraryExA(kBeside, nullptr, LOAD_LIBRARY_SEARCH_APPLICATION_DIR);
    m_nResult = hBeside ? 1 : !hSystem ? 2 : !hThere ? 3 : 0;
    for (HMODULE hModule : {hBeside, hSystem, hThere})
      if (hModule) FreeLibrary(hModule);
    return FALSE;
  }
  int ExitInstance() override { return m_nResult; }

 private:
  int m_nResult = -1;
};

CStartupTest theApp;

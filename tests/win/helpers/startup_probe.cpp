// A program on the framework, started as the program is: its exit code tells where DLLs loaded
// from once its start-up had run. 0: a DLL beside it did not load by its bare name, but did by
// its full path, and a system DLL did by its name; 1, 2, 3: the first of those that went wrong.
#include <string>

#include "afxwin.h"

namespace {

const char kDll[] = "app_folder_only.dll";

int Probe() {
  if (HMODULE hModule = LoadLibraryA(kDll)) {
    FreeLibrary(hModule);
    return 1;
  }
  char szPath[MAX_PATH];
  DWORD dwLength = GetModuleFileNameA(nullptr, szPath, sizeof szPath);
  if (dwLength == 0 || dwLength >= sizeof szPath) return 2;
  std::string strPath(szPath, dwLength);
  HMODULE hByPath = LoadLibraryA((strPath.substr(0, strPath.rfind('\\') + 1) + kDll).c_str());
  if (!hByPath) return 2;
  FreeLibrary(hByPath);
  return LoadLibraryA("version.dll") ? 0 : 3;
}

class CProbeApp : public CWinApp {
 public:
  BOOL InitInstance() override {
    m_nResult = Probe();
    return FALSE;
  }
  int ExitInstance() override { return m_nResult; }

 private:
  int m_nResult = -1;
};

CProbeApp theApp;

}  // namespace

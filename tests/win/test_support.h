// Helpers shared by the tests that run under Wine.
#pragma once

#include <windows.h>

#include <string>

// The Windows form of a path of the build tree, which Wine shows as drive Z:.
std::string WindowsPath(const char* pszUnixPath);

// A fresh folder under the temporary folder, removed with everything in it at the end of scope.
class CTempFolder {
 public:
  CTempFolder();
  ~CTempFolder();
  CTempFolder(const CTempFolder&) = delete;
  CTempFolder& operator=(const CTempFolder&) = delete;
  const std::string& Path() const { return m_strPath; }
  std::string operator/(const std::string& strName) const { return m_strPath + "\\" + strName; }

 private:
  std::string m_strPath;
};

// The path of a file in the system folder, where the program's commands run.
std::string InSystemFolder(const std::string& strName);

std::string ReadFileText(const std::string& strPath);
bool FileExists(const std::string& strPath);

// The process emit.exe's spawn-hang started, as the report names it; 0 when it names none.
DWORD SpawnedPid(const std::string& strReport);
// True when the process has ended, or ends within the limit.
bool EndsWithin(DWORD dwPid, DWORD dwTimeoutMs);

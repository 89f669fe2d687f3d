#include "test_support.h"

#include <gtest/gtest.h>
#include <stdlib.h>

std::string WindowsPath(const char* pszUnixPath) {
  std::string strPath = std::string("Z:") + pszUnixPath;
  for (char& ch : strPath)
    if (ch == '/') ch = '\\';
  return strPath;
}

CTempFolder::CTempFolder() {
  char szBase[MAX_PATH];
  DWORD dwBase = GetTempPathA(sizeof szBase, szBase);
  if (dwBase == 0 || dwBase >= sizeof szBase) {
    ADD_FAILURE() << "no temporary folder: error " << GetLastError();
    return;
  }
  // Made in one step, which fails on a name that exists: a name reserved as a file and then
  // made a folder could be taken in between by a test running beside this one.
  static LONG s_nMade;
  for (int nAttempt = 0; nAttempt < 100; ++nAttempt) {
    std::string strName = std::string(szBase) + "vt" + std::to_string(GetCurrentProcessId()) +
                          "-" + std::to_string(InterlockedIncrement(&s_nMade));
    if (CreateDirectoryA(strName.c_str(), nullptr)) {
      m_strPath = strName;
      return;
    }
    if (GetLastError() != ERROR_ALREADY_EXISTS) break;
  }
  ADD_FAILURE() << "no temporary folder made: error " << GetLastError();
}

static void RemoveTree(const std::string& strPath) {
  WIN32_FIND_DATAA data;
  HANDLE hFind = FindFirstFileA((strPath + "\\*").c_str(), &data);
  if (hFind != INVALID_HANDLE_VALUE) {
    do {
      std::string strName = data.cFileName;
      if (strName == "." || strName == "..") continue;
      std::string strFull = strPath + "\\" + strName;
      if (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
        RemoveTree(strFull);
      else
        DeleteFileA(strFull.c_str());
    } while (FindNextFileA(hFind, &data));
    FindClose(hFind);
  }
  RemoveDirectoryA(strPath.c_str());
}

CTempFolder::~CTempFolder() {
  if (!m_strPath.empty()) RemoveTree(m_strPath);
}

std::string InSystemFolder(const std::string& strName) {
  char szFolder[MAX_PATH];
  UINT nLength = GetSystemDirectoryA(szFolder, sizeof szFolder);
  EXPECT_TRUE(nLength > 0 && nLength < sizeof szFolder);
  return std::string(szFolder) + "\\" + strName;
}

std::string ReadFileText(const std::string& strPath) {
  std::string strText;
  HANDLE hFile = CreateFileA(strPath.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE,
                             nullptr, OPEN_EXISTING, 0, nullptr);
  if (hFile == INVALID_HANDLE_VALUE) return strText;
  char szBuffer[4096];
  DWORD dwRead;
  while (ReadFile(hFile, szBuffer, sizeof szBuffer, &dwRead, nullptr) && dwRead)
    strText.append(szBuffer, dwRead);
  CloseHandle(hFile);
  return strText;
}

bool FileExists(const std::string& strPath) {
  return GetFileAttributesA(strPath.c_str()) != INVALID_FILE_ATTRIBUTES;
}

DWORD SpawnedPid(const std::string& strReport) {
  size_t nAt = strReport.find("spawned:");
  return nAt == std::string::npos ? 0 : strtoul(strReport.c_str() + nAt + 8, nullptr, 10);
}

bool EndsWithin(DWORD dwPid, DWORD dwTimeoutMs) {
  HANDLE hProcess = dwPid ? OpenProcess(SYNCHRONIZE, FALSE, dwPid) : nullptr;
  if (!hProcess) return dwPid != 0 && GetLastError() == ERROR_INVALID_PARAMETER;
  bool bEnded = WaitForSingleObject(hProcess, dwTimeoutMs) == WAIT_OBJECT_0;
  CloseHandle(hProcess);
  return bEnded;
}

namespace {

// Every test program checks first that it runs on the code pages its run is for: a prefix or a
// locale that gave others would otherwise let a run for the UTF-8 option pass on GBK.
class CCodePages : public testing::Environment {
 public:
  void SetUp() override {
    char szExpected[16] = "";
    DWORD dwLength = GetEnvironmentVariableA("VENTORA_CODE_PAGE", szExpected, sizeof szExpected);
    ASSERT_TRUE(dwLength > 0 && dwLength < sizeof szExpected) << "VENTORA_CODE_PAGE is not set";
    UINT nExpected = strtoul(szExpected, nullptr, 10);
    ASSERT_EQ(GetACP(), nExpected) << "the ANSI code page";
    ASSERT_EQ(GetOEMCP(), nExpected) << "the OEM code page";
  }
};

testing::Environment* const g_pCodePages = testing::AddGlobalTestEnvironment(new CCodePages);

}  // namespace

#include "command/command_environment.h"

#include <stdlib.h>
#include <wchar.h>

#include "command/environment.h"

namespace {

const wchar_t kSessionEnvironment[] =
    L"SYSTEM\\CurrentControlSet\\Control\\Session Manager\\Environment";
const wchar_t kCurrentVersion[] = L"SOFTWARE\\Microsoft\\Windows\\CurrentVersion";
const wchar_t kProfileList[] = L"SOFTWARE\\Microsoft\\Windows NT\\CurrentVersion\\ProfileList";

// Where Windows keeps a variable's value, under HKLM. A 32-bit program reads the values that
// Windows gives 32-bit programs, as ProgramFiles naming "Program Files (x86)" on a 64-bit
// Windows. The variables that name the 64-bit programs' folders, which only a 64-bit Windows
// defines, are read from its 64-bit registry, whose folders are those 64-bit programs get.
struct Source {
  const wchar_t* pszName;
  const wchar_t* pszKey;
  const wchar_t* pszValue;
  bool b64BitSystems;  // read from the 64-bit registry, and only on a 64-bit Windows
};

const Source kSources[] = {
    {L"ALLUSERSPROFILE", kProfileList, L"ProgramData", false},
    {L"CommonProgramFiles", kCurrentVersion, L"CommonFilesDir", false},
    {L"CommonProgramFiles(x86)", kCurrentVersion, L"CommonFilesDir (x86)", false},
    {L"CommonProgramW6432", kCurrentVersion, L"CommonFilesDir", true},
    {L"PATHEXT", kSessionEnvironment, L"PATHEXT", false},
    {L"ProgramData", kProfileList, L"ProgramData", false},
    {L"ProgramFiles", kCurrentVersion, L"ProgramFilesDir", false},
    {L"ProgramFiles(x86)", kCurrentVersion, L"ProgramFilesDir (x86)", false},
    {L"ProgramW6432", kCurrentVersion, L"ProgramFilesDir", true},
};

// The variables taken from the system's folders, and then those of kSources.
const size_t kFolderVariables = 5;
const size_t kVariables = kFolderVariables + ARRAYSIZE(kSources);

// One open key of the registry, closed by its owner.
class CRegKey {
 public:
  CRegKey(HKEY hParent, LPCWSTR lpszKey, REGSAM samDesired) {
    if (::RegOpenKeyExW(hParent, lpszKey, 0, samDesired, &m_hKey) != ERROR_SUCCESS)
      m_hKey = nullptr;
  }
  ~CRegKey() {
    if (m_hKey) ::RegCloseKey(m_hKey);
  }
  CRegKey(const CRegKey&) = delete;
  CRegKey& operator=(const CRegKey&) = delete;

  // The value as a text, left unexpanded; false when it is missing, no text or too long.
  bool QueryText(LPCWSTR lpszValue, wchar_t (&szText)[MAX_PATH]) const {
    DWORD cbText = sizeof szText;
    return m_hKey && ::RegGetValueW(m_hKey, nullptr, lpszValue,
                                    RRF_RT_REG_SZ | RRF_RT_REG_EXPAND_SZ | RRF_NOEXPAND,
                                    nullptr, szText, &cbText) == ERROR_SUCCESS;
  }

 private:
  HKEY m_hKey = nullptr;
};

bool Is64BitSystem() {
#ifdef _WIN64
  return true;
#else
  BOOL bWow64 = FALSE;
  return ::IsWow64Process(::GetCurrentProcess(), &bWow64) && bWow64;
#endif
}

}  // namespace

CCommandEnvironment::CCommandEnvironment(const wchar_t* pszSystemDir) {
  wchar_t szWindows[MAX_PATH];
  UINT cchWindows = ::GetSystemWindowsDirectoryW(szWindows, MAX_PATH);
  wchar_t szPath[4 * MAX_PATH + 64], szComSpec[MAX_PATH + 8];
  const size_t cchSystemDir = wcslen(pszSystemDir);
  if (cchWindows == 0 || cchWindows >= MAX_PATH || cchSystemDir >= MAX_PATH ||
      !ComposeSystemPath(pszSystemDir, szWindows, szPath, ARRAYSIZE(szPath)))
    return;
  wmemcpy(szComSpec, pszSystemDir, cchSystemDir);
  wmemcpy(szComSpec + cchSystemDir, L"\\cmd.exe", 9);
  // The drive of a Windows folder on a share has no letter to give.
  wchar_t szDrive[] = {szWindows[0], szWindows[1], L'\0'};

  SystemVariable variables[kVariables] = {
      {L"ComSpec", szComSpec},
      {L"PATH", szPath},
      {L"SystemDrive", szWindows[1] == L':' ? szDrive : nullptr},
      {L"SystemRoot", szWindows},
      {L"windir", szWindows},
  };
  // The registry's texts may name the system's folders, as "%SystemDrive%\ProgramData".
  wchar_t szValues[ARRAYSIZE(kSources)][MAX_PATH];
  const bool b64BitSystem = Is64BitSystem();
  for (size_t i = 0; i < ARRAYSIZE(kSources); ++i) {
    const Source& source = kSources[i];
    wchar_t szText[MAX_PATH];
    bool bHad = (b64BitSystem || !source.b64BitSystems) &&
                CRegKey(HKEY_LOCAL_MACHINE, source.pszKey,
                        KEY_QUERY_VALUE | (source.b64BitSystems ? KEY_WOW64_64KEY : 0))
                    .QueryText(source.pszValue, szText) &&
                ExpandSystemValue(szText, variables, kFolderVariables, szValues[i], MAX_PATH);
    variables[kFolderVariables + i] = {source.pszName, bHad ? szValues[i] : nullptr};
  }

  LPWCH pInherited = ::GetEnvironmentStringsW();
  if (!pInherited) return;
  size_t cchBlock = ComposeEnvironment(pInherited, variables, kVariables, nullptr, 0);
  m_pBlock = static_cast<wchar_t*>(malloc(cchBlock * sizeof(wchar_t)));
  if (m_pBlock) ComposeEnvironment(pInherited, variables, kVariables, m_pBlock, cchBlock);
  ::FreeEnvironmentStringsW(pInherited);
}

CCommandEnvironment::~CCommandEnvironment() { free(m_pBlock); }

#include "app_windows.h"

#include <string.h>

namespace {

const char kPanelTitle[] = "Ventora";
const DWORD kPollMs = 20;

struct CSearch {
  DWORD dwPid;
  const char* lpszTitle;
  HWND hFound;
};

BOOL CALLBACK Match(HWND hWnd, LPARAM lParam) {
  auto pSearch = reinterpret_cast<CSearch*>(lParam);
  DWORD dwPid = 0;
  char szClass[16];
  if (!GetWindowThreadProcessId(hWnd, &dwPid) || dwPid != pSearch->dwPid ||
      !IsWindowVisible(hWnd) || !GetClassNameA(hWnd, szClass, sizeof szClass) ||
      strcmp(szClass, "#32770") != 0)
    return TRUE;
  bool bMatch = pSearch->lpszTitle
                    ? WindowText(hWnd) == Widen(pSearch->lpszTitle) && !IsMessageBox(hWnd)
                    : IsMessageBox(hWnd);
  if (!bMatch) return TRUE;
  pSearch->hFound = hWnd;
  return FALSE;
}

}  // namespace

std::wstring Widen(const std::string& strText, UINT nCodePage) {
  int cch = MultiByteToWideChar(nCodePage, 0, strText.data(), static_cast<int>(strText.size()),
                                nullptr, 0);
  std::wstring strWide(cch, L'\0');
  if (cch > 0)
    MultiByteToWideChar(nCodePage, 0, strText.data(), static_cast<int>(strText.size()),
                        &strWide[0], cch);
  return strWide;
}

std::string Narrow(const std::wstring& strText, UINT nCodePage) {
  int cb = WideCharToMultiByte(nCodePage, 0, strText.data(), static_cast<int>(strText.size()),
                               nullptr, 0, nullptr, nullptr);
  std::string strNarrow(cb, '\0');
  if (cb > 0)
    WideCharToMultiByte(nCodePage, 0, strText.data(), static_cast<int>(strText.size()),
                        &strNarrow[0], cb, nullptr, nullptr);
  return strNarrow;
}

std::wstring WindowText(HWND hWnd) {
  std::wstring strText(GetWindowTextLengthW(hWnd) + 1, L'\0');
  strText.resize(GetWindowTextW(hWnd, &strText[0], static_cast<int>(strText.size())));
  return strText;
}

bool IsMessageBox(HWND hWnd) { return GetDlgItem(hWnd, 0xFFFF) != nullptr; }

HWND FindAppWindow(DWORD dwPid, const char* lpszTitle) {
  CSearch search = {dwPid, lpszTitle, nullptr};
  EnumWindows(Match, reinterpret_cast<LPARAM>(&search));
  return search.hFound;
}

HWND WaitForAppWindow(DWORD dwPid, const char* lpszTitle, DWORD dwTimeoutMs) {
  for (DWORD dwStart = GetTickCount(); GetTickCount() - dwStart < dwTimeoutMs; Sleep(kPollMs))
    if (HWND hFound = FindAppWindow(dwPid, lpszTitle)) return hFound;
  return nullptr;
}

bool WaitWindowGone(HWND hWnd, DWORD dwTimeoutMs) {
  for (DWORD dwStart = GetTickCount(); GetTickCount() - dwStart < dwTimeoutMs; Sleep(kPollMs))
    if (!IsWindow(hWnd) || !IsWindowVisible(hWnd)) return true;
  return false;
}

bool PressButton(HWND hDlg, int nId) {
  return PostMessageA(hDlg, WM_COMMAND, MAKEWPARAM(nId, BN_CLICKED),
                      reinterpret_cast<LPARAM>(GetDlgItem(hDlg, nId))) != 0;
}

std::string MessageBoxText(HWND hBox) {
  HWND hText = GetDlgItem(hBox, 0xFFFF);
  return hText ? Narrow(WindowText(hText)) : "";
}

CAppProcess::~CAppProcess() { End(); }

void CAppProcess::End() {
  if (!m_pi.hProcess) return;
  if (WaitForSingleObject(m_pi.hProcess, 0) == WAIT_TIMEOUT) {
    TerminateProcess(m_pi.hProcess, 1);
    WaitForSingleObject(m_pi.hProcess, kDefaultTimeoutMs);
  }
  CloseHandle(m_pi.hThread);
  CloseHandle(m_pi.hProcess);
  m_pi = {};
  m_hPanel = nullptr;
}

bool CAppProcess::Fail(const std::string& strWhat, bool bWithCode) const {
  m_strError = strWhat;
  if (bWithCode) m_strError += " failed (error " + std::to_string(GetLastError()) + ")";
  return false;
}

void CAppProcess::SetEnv(const std::string& strName, const std::string& strValue) {
  m_vecEnv.emplace_back(strName, strValue);
}

// This process's environment with the set variables replaced, as CreateProcessA takes it.
std::vector<char> CAppProcess::Environment() const {
  std::vector<char> block;
  if (char* pStrings = GetEnvironmentStringsA()) {
    for (const char* p = pStrings; *p; p += strlen(p) + 1) {
      bool bReplaced = false;
      for (const auto& var : m_vecEnv)
        bReplaced = bReplaced || (_strnicmp(p, var.first.c_str(), var.first.size()) == 0 &&
                                  p[var.first.size()] == '=');
      if (!bReplaced) block.insert(block.end(), p, p + strlen(p) + 1);
    }
    FreeEnvironmentStringsA(pStrings);
  }
  for (const auto& var : m_vecEnv) {
    std::string strEntry = var.first + "=" + var.second;
    block.insert(block.end(), strEntry.c_str(), strEntry.c_str() + strEntry.size() + 1);
  }
  block.push_back('\0');
  return block;
}

bool CAppProcess::Start(const std::string& strExe, const std::string& strFolder,
                        bool bSuspended) {
  End();
  std::wstring strLine = Widen("\"" + strExe + "\"");
  std::vector<char> environment = Environment();
  STARTUPINFOW si = {};
  si.cb = sizeof si;
  // No console of its own and none inherited, as when started from Explorer: a command it
  // starts shown would show a console window of its own.
  DWORD dwFlags = DETACHED_PROCESS | (bSuspended ? CREATE_SUSPENDED : 0);
  if (!CreateProcessW(nullptr, &strLine[0], nullptr, nullptr, FALSE, dwFlags, environment.data(),
                      Widen(strFolder).c_str(), &si, &m_pi)) {
    m_pi = {};
    return Fail("CreateProcess of " + strExe);
  }
  return true;
}

bool CAppProcess::Resume() {
  return ResumeThread(m_pi.hThread) != static_cast<DWORD>(-1) || Fail("ResumeThread");
}

bool CAppProcess::StartAndWait(const std::string& strExe, const std::string& strFolder) {
  return Start(strExe, strFolder) && WaitForPanel();
}

// A program that has ended, or that shows a message box where a dialog was awaited, will not
// show it: the wait ends at once with what the program did instead.
HWND CAppProcess::WaitForWindow(const char* lpszTitle, DWORD dwTimeoutMs) const {
  const std::string strAwaited = lpszTitle ? std::string("the window ") + lpszTitle : "a box";
  for (DWORD dwStart = GetTickCount();; Sleep(kPollMs)) {
    if (HWND hFound = FindAppWindow(m_pi.dwProcessId, lpszTitle)) return hFound;
    DWORD dwCode;
    if (WaitForSingleObject(m_pi.hProcess, 0) == WAIT_OBJECT_0 &&
        GetExitCodeProcess(m_pi.hProcess, &dwCode)) {
      char szCode[16];
      wsprintfA(szCode, "0x%lX", dwCode);
      Fail("the program ended with exit code " + std::string(szCode) + " while waiting for " +
               strAwaited,
           false);
      return nullptr;
    }
    if (HWND hBox = lpszTitle ? FindAppWindow(m_pi.dwProcessId, nullptr) : nullptr) {
      Fail("the box \"" + MessageBoxText(hBox) + "\" showed while waiting for " + strAwaited,
           false);
      return nullptr;
    }
    if (GetTickCount() - dwStart >= dwTimeoutMs) {
      Fail("waiting for " + strAwaited, false);
      return nullptr;
    }
  }
}

HWND CAppProcess::WaitForPanel(DWORD dwTimeoutMs) {
  return m_hPanel = WaitForWindow(kPanelTitle, dwTimeoutMs);
}

HWND CAppProcess::WaitForDialog(const char* lpszTitle, DWORD dwTimeoutMs) const {
  return WaitForWindow(lpszTitle, dwTimeoutMs);
}

HWND CAppProcess::WaitForBox(DWORD dwTimeoutMs) const {
  return WaitForWindow(nullptr, dwTimeoutMs);
}

bool CAppProcess::Click(int nId) const { return PressButton(m_hPanel, nId); }

bool CAppProcess::Dismiss(HWND hDlg, int nId, DWORD dwTimeoutMs) {
  if (!PressButton(hDlg, nId)) return Fail("PostMessage of a click");
  return WaitWindowGone(hDlg, dwTimeoutMs) || Fail("waiting for a window to close", false);
}

std::string CAppProcess::TakeBox(DWORD dwTimeoutMs) {
  HWND hBox = WaitForBox(dwTimeoutMs);
  if (!hBox) return "";
  std::string strText = MessageBoxText(hBox);
  return Dismiss(hBox, IDOK, dwTimeoutMs) ? strText : "";
}

bool CAppProcess::Close(DWORD dwTimeoutMs) {
  if (!PostMessageA(m_hPanel, WM_CLOSE, 0, 0)) return Fail("PostMessage of WM_CLOSE");
  DWORD dwCode;
  return WaitExit(&dwCode, dwTimeoutMs);
}

bool CAppProcess::WaitExit(DWORD* pdwCode, DWORD dwTimeoutMs) {
  if (!m_pi.hProcess) return Fail("waiting for a program never started", false);
  DWORD dwWait = WaitForSingleObject(m_pi.hProcess, dwTimeoutMs);
  if (dwWait == WAIT_FAILED) return Fail("WaitForSingleObject");
  if (dwWait != WAIT_OBJECT_0) return Fail("waiting for the program to end", false);
  return GetExitCodeProcess(m_pi.hProcess, pdwCode) || Fail("GetExitCodeProcess");
}

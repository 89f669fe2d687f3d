#include "panel_driver.h"

#include <gtest/gtest.h>

namespace {

struct Search {
  DWORD pid;
  HWND hExclude;
  const char* title;  // null: a message box
  HWND hFound;
};

bool IsMessageBox(HWND hWnd) { return GetDlgItem(hWnd, 0xFFFF) != nullptr; }

BOOL CALLBACK FindWindowOf(HWND hWnd, LPARAM lParam) {
  auto s = reinterpret_cast<Search*>(lParam);
  DWORD pid;
  GetWindowThreadProcessId(hWnd, &pid);
  char cls[32];
  if (pid != s->pid || hWnd == s->hExclude || !IsWindowVisible(hWnd) ||
      !GetClassNameA(hWnd, cls, sizeof cls) || strcmp(cls, "#32770") != 0)
    return TRUE;
  char title[256] = "";
  GetWindowTextA(hWnd, title, sizeof title);
  bool match = s->title ? strcmp(title, s->title) == 0 && !IsMessageBox(hWnd) : IsMessageBox(hWnd);
  if (!match) return TRUE;
  s->hFound = hWnd;
  return FALSE;
}

HWND WaitForWindow(DWORD pid, HWND hExclude, const char* title, DWORD timeoutMs) {
  for (DWORD start = GetTickCount(); GetTickCount() - start < timeoutMs; Sleep(20)) {
    Search s = {pid, hExclude, title, nullptr};
    EnumWindows(FindWindowOf, reinterpret_cast<LPARAM>(&s));
    if (s.hFound) return s.hFound;
  }
  return nullptr;
}

}  // namespace

PanelProcess::PanelProcess(const char* netshPath, const std::string& report) {
  EXPECT_TRUE(CopyFileA(WindowsPath(VENTORA_EXE).c_str(), (m_folder / "Ventora.exe").c_str(), FALSE));
  EXPECT_TRUE(CopyFileA(WindowsPath(netshPath).c_str(), (m_folder / "netsh.exe").c_str(), FALSE));
  if (!report.empty()) {
    HANDLE h = CreateFileA((m_folder / "report.txt").c_str(), GENERIC_WRITE, 0, nullptr,
                           CREATE_ALWAYS, 0, nullptr);
    DWORD written;
    EXPECT_TRUE(WriteFile(h, report.data(), static_cast<DWORD>(report.size()), &written, nullptr));
    CloseHandle(h);
  }
}

PanelProcess::~PanelProcess() {
  if (m_pi.hProcess) {
    if (WaitForSingleObject(m_pi.hProcess, 0) == WAIT_TIMEOUT) {
      TerminateProcess(m_pi.hProcess, 1);
      WaitForSingleObject(m_pi.hProcess, 5000);
    }
    CloseHandle(m_pi.hProcess);
    CloseHandle(m_pi.hThread);
  }
}

bool PanelProcess::Start() {
  std::string line = "\"" + (m_folder / "Ventora.exe") + "\"";
  STARTUPINFOA si = {};
  si.cb = sizeof si;
  if (!CreateProcessA(nullptr, &line[0], nullptr, nullptr, FALSE, 0, nullptr,
                      m_folder.path().c_str(), &si, &m_pi)) {
    ADD_FAILURE() << "CreateProcess: " << GetLastError();
    return false;
  }
  m_hPanel = WaitForWindow(m_pi.dwProcessId, nullptr, "Ventora", 30000);
  return m_hPanel != nullptr;
}

std::string PanelProcess::Caption(int id) const {
  char text[256] = "";
  GetDlgItemTextA(m_hPanel, id, text, sizeof text);
  return text;
}

void PanelProcess::Click(int id) const {
  PostMessageA(m_hPanel, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED),
               reinterpret_cast<LPARAM>(GetDlgItem(m_hPanel, id)));
}

HWND PanelProcess::WaitForBox(DWORD timeoutMs) const {
  return WaitForWindow(m_pi.dwProcessId, m_hPanel, nullptr, timeoutMs);
}

HWND PanelProcess::WaitForDialog(const char* title, DWORD timeoutMs) const {
  return WaitForWindow(m_pi.dwProcessId, m_hPanel, title, timeoutMs);
}

std::string PanelProcess::BoxText(HWND hBox) {
  HWND hText = GetDlgItem(hBox, 0xFFFF);
  std::string text(GetWindowTextLengthA(hText) + 1, '\0');
  text.resize(GetWindowTextA(hText, &text[0], static_cast<int>(text.size())));
  return text;
}

bool PanelProcess::WaitGone(HWND hWnd, DWORD timeoutMs) {
  for (DWORD start = GetTickCount(); GetTickCount() - start < timeoutMs; Sleep(20))
    if (!IsWindow(hWnd) || !IsWindowVisible(hWnd)) return true;
  return false;
}

bool PanelProcess::CloseBox(HWND hBox) {
  PostMessageA(hBox, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
  return WaitGone(hBox);
}

std::string PanelProcess::TakeBox() const {
  HWND hBox = WaitForBox();
  if (!hBox) return "";
  std::string text = BoxText(hBox);
  EXPECT_TRUE(CloseBox(hBox));
  return text;
}

bool PanelProcess::WaitExit(DWORD* pCode, DWORD timeoutMs) {
  if (WaitForSingleObject(m_pi.hProcess, timeoutMs) != WAIT_OBJECT_0) return false;
  return GetExitCodeProcess(m_pi.hProcess, pCode) != 0;
}

std::vector<std::string> PanelProcess::Commands() const {
  std::vector<std::string> lines;
  std::string log = ReadFileText(m_folder / "netsh.log"), line;
  for (char c : log) {
    if (c == '\n') {
      lines.push_back(line);
      line.clear();
    } else if (c != '\r') {
      line += c;
    }
  }
  if (!line.empty()) lines.push_back(line);
  return lines;
}

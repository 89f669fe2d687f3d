#include "panel_driver.h"

#include <gtest/gtest.h>

namespace {

void WriteText(const std::string& path, const std::string& text) {
  HANDLE h = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
  DWORD written = 0;
  EXPECT_TRUE(WriteFile(h, text.data(), static_cast<DWORD>(text.size()), &written, nullptr));
  EXPECT_EQ(written, text.size());
  CloseHandle(h);
}

const char* const kDecoys[] = {"netsh.bat", "netsh.cmd", "netsh.exe"};

}  // namespace

PanelProcess::PanelProcess(const std::string& report) {
  EXPECT_TRUE(CopyFileA(WindowsPath(VENTORA_EXE).c_str(), (m_folder / "Ventora.exe").c_str(), FALSE));
  // Inherited by the program, its interpreter and the simulator.
  EXPECT_TRUE(SetEnvironmentVariableA("VENTORA_NETSH_DIR", m_netshState.path().c_str()));
  if (!report.empty()) WriteText(m_netshState / "canned-report.txt", report);
}

void PanelProcess::PlantNetshDecoys() const {
  for (const char* script : {"netsh.bat", "netsh.cmd"})
    WriteText(m_folder / script, std::string("@echo ran>\"%~dp0") + script + ".ran\"\r\n");
  EXPECT_TRUE(CopyFileA(WindowsPath(DECOY_PATH).c_str(), (m_folder / "netsh.exe").c_str(), FALSE));
}

std::vector<std::string> PanelProcess::Ran() const {
  std::vector<std::string> ran;
  for (const char* decoy : kDecoys)
    if (FileExists(m_folder / decoy + ".ran")) ran.push_back(decoy);
  return ran;
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
  m_hPanel = WaitForAppWindow(m_pi.dwProcessId, nullptr, "Ventora", 30000);
  return m_hPanel != nullptr;
}

std::string PanelProcess::Caption(int id) const {
  char text[256] = "";
  GetDlgItemTextA(m_hPanel, id, text, sizeof text);
  return text;
}

void PanelProcess::Click(int id) const { EXPECT_TRUE(PressButton(m_hPanel, id)); }

HWND PanelProcess::WaitForBox(DWORD timeoutMs) const {
  return WaitForAppWindow(m_pi.dwProcessId, m_hPanel, nullptr, timeoutMs);
}

HWND PanelProcess::WaitForDialog(const char* title, DWORD timeoutMs) const {
  return WaitForAppWindow(m_pi.dwProcessId, m_hPanel, title, timeoutMs);
}

bool PanelProcess::CloseBox(HWND hBox) {
  return PressButton(hBox, IDOK) && WaitWindowGone(hBox, 20000);
}

std::string PanelProcess::TakeBox() const {
  HWND hBox = WaitForBox();
  if (!hBox) return "";
  std::string text = MessageBoxText(hBox);
  EXPECT_TRUE(CloseBox(hBox));
  return text;
}

bool PanelProcess::WaitExit(DWORD* pCode, DWORD timeoutMs) {
  if (WaitForSingleObject(m_pi.hProcess, timeoutMs) != WAIT_OBJECT_0) return false;
  return GetExitCodeProcess(m_pi.hProcess, pCode) != 0;
}

std::vector<std::string> PanelProcess::Commands() const {
  std::vector<std::string> lines;
  std::string log = ReadFileText(m_netshState / "netsh.log"), line;
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

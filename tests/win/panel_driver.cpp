#include "panel_driver.h"

#include <gtest/gtest.h>

namespace {

void WriteText(const std::string& strPath, const std::string& strText) {
  HANDLE hFile = CreateFileA(strPath.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0,
                             nullptr);
  ASSERT_NE(hFile, INVALID_HANDLE_VALUE) << strPath << ": " << GetLastError();
  DWORD dwWritten = 0;
  EXPECT_TRUE(WriteFile(hFile, strText.data(), static_cast<DWORD>(strText.size()), &dwWritten,
                        nullptr));
  EXPECT_EQ(dwWritten, strText.size());
  CloseHandle(hFile);
}

const char* const kDecoys[] = {"netsh.bat", "netsh.cmd", "netsh.exe"};

std::vector<std::string> ReadLines(const std::string& strPath) {
  std::vector<std::string> lines;
  std::string strText = ReadFileText(strPath), strLine;
  for (char c : strText) {
    if (c == '\n') {
      lines.push_back(strLine);
      strLine.clear();
    } else if (c != '\r') {
      strLine += c;
    }
  }
  if (!strLine.empty()) lines.push_back(strLine);
  return lines;
}

}  // namespace

CPanelProcess::CPanelProcess(const std::string& strReport, UINT nConsoleCodePage) {
  EXPECT_TRUE(CopyFileA(WindowsPath(VENTORA_EXE).c_str(), (m_folder / "Ventora.exe").c_str(),
                        FALSE));
  // Passed on by the program and its interpreter to the simulator.
  SetEnv("VENTORA_NETSH_DIR", m_netshState.Path());
  if (nConsoleCodePage) SetEnv("VENTORA_CONSOLE_CODE_PAGE", std::to_string(nConsoleCodePage));
  // Converted only where the code page differs, so that GBK gets the bytes as given.
  const UINT nCodePage = nConsoleCodePage ? nConsoleCodePage : GetOEMCP();
  if (!strReport.empty())
    WriteText(m_netshState / "canned-report.txt",
              nCodePage == 936 ? strReport : Narrow(Widen(strReport), nCodePage));
}

void CPanelProcess::RenameProgram(const std::string& strName) {
  EXPECT_TRUE(MoveFileW(Widen(m_folder / m_strExe).c_str(), Widen(m_folder / strName).c_str()))
      << strName;
  m_strExe = strName;
}

void CPanelProcess::PlantNetshDecoys() {
  for (const char* lpszScript : {"netsh.bat", "netsh.cmd"})
    WriteText(m_folder / lpszScript, std::string("@echo ran>\"%~dp0") + lpszScript + ".ran\"\r\n");
  EXPECT_TRUE(CopyFileA(WindowsPath(DECOY_PATH).c_str(), (m_folder / "netsh.exe").c_str(), FALSE));
  char szPath[4096] = "";
  DWORD dwPath = GetEnvironmentVariableA("PATH", szPath, sizeof szPath);
  EXPECT_LT(dwPath, sizeof szPath);
  SetEnv("PATH", m_folder.Path() + ";" + szPath);
  SetEnv("PATHEXT", ".BAT;.CMD");
}

std::vector<std::string> CPanelProcess::Ran() const {
  std::vector<std::string> ran;
  for (const char* lpszDecoy : kDecoys)
    if (FileExists(m_folder / lpszDecoy + ".ran")) ran.push_back(lpszDecoy);
  return ran;
}

bool CPanelProcess::Start() {
  bool bStarted = StartAndWait(m_folder / m_strExe, m_folder.Path());
  EXPECT_TRUE(bStarted) << Error();
  return bStarted;
}

std::string CPanelProcess::Caption(int nId) const {
  HWND hControl = GetDlgItem(Panel(), nId);
  EXPECT_NE(hControl, nullptr) << "control " << nId;
  return hControl ? Narrow(WindowText(hControl)) : "";
}

std::vector<std::string> CPanelProcess::Commands() const {
  return ReadLines(m_netshState / "netsh.log");
}

std::vector<std::string> CPanelProcess::Callers() const {
  return ReadLines(m_netshState / "netsh.caller.log");
}

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

}  // namespace

CPanelProcess::CPanelProcess(const std::string& strReport) {
  EXPECT_TRUE(CopyFileA(WindowsPath(VENTORA_EXE).c_str(), (m_folder / "Ventora.exe").c_str(),
                        FALSE));
  // Passed on by the program and its interpreter to the simulator.
  SetEnv("VENTORA_NETSH_DIR", m_netshState.Path());
  if (!strReport.empty()) WriteText(m_netshState / "canned-report.txt", strReport);
}

void CPanelProcess::PlantNetshDecoys() const {
  for (const char* lpszScript : {"netsh.bat", "netsh.cmd"})
    WriteText(m_folder / lpszScript, std::string("@echo ran>\"%~dp0") + lpszScript + ".ran\"\r\n");
  EXPECT_TRUE(CopyFileA(WindowsPath(DECOY_PATH).c_str(), (m_folder / "netsh.exe").c_str(), FALSE));
}

std::vector<std::string> CPanelProcess::Ran() const {
  std::vector<std::string> ran;
  for (const char* lpszDecoy : kDecoys)
    if (FileExists(m_folder / lpszDecoy + ".ran")) ran.push_back(lpszDecoy);
  return ran;
}

bool CPanelProcess::Start() {
  bool bStarted = StartAndWait(m_folder / "Ventora.exe", m_folder.Path());
  EXPECT_TRUE(bStarted) << Error();
  return bStarted;
}

std::string CPanelProcess::Caption(int nId) const {
  char szText[256] = "";
  EXPECT_NE(GetDlgItemTextA(Panel(), nId, szText, sizeof szText), 0u) << "control " << nId;
  return szText;
}

std::vector<std::string> CPanelProcess::Commands() const {
  std::vector<std::string> lines;
  std::string strLog = ReadFileText(m_netshState / "netsh.log"), strLine;
  for (char c : strLog) {
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

// The hosted-network simulator as installed in the system folder, run as a child process with a
// fresh state folder per test.
#include <gtest/gtest.h>
#include <windows.h>

#include <fstream>
#include <string>

#include "test_support.h"
#include "tests/hex.h"
#include "tools/drive/app_windows.h"

namespace {

struct Result {
  DWORD dwCode = ~0u;
  std::string strOut;  // in GBK, from the OEM code page the simulator writes in
};

bool Has(const std::string& strText, const std::string& strPart) {
  return strText.find(strPart) != std::string::npos;
}

class NetshSim : public testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(SetEnvironmentVariableA("VENTORA_NETSH_DIR", m_folder.Path().c_str()));
  }
  void TearDown() override { SetEnvironmentVariableA("VENTORA_NETSH_DIR", nullptr); }

  // Runs a whole command line, a GBK text, and collects its standard output and error.
  Result RunLine(const std::string& strLine, const char* pszCurrentFolder = nullptr) {
    Result result;
    SECURITY_ATTRIBUTES sa = {sizeof sa, nullptr, TRUE};
    HANDLE hRead = nullptr, hWrite = nullptr;
    if (!CreatePipe(&hRead, &hWrite, &sa, 1 << 16)) {
      ADD_FAILURE() << "CreatePipe " << GetLastError();
      return result;
    }
    EXPECT_TRUE(SetHandleInformation(hRead, HANDLE_FLAG_INHERIT, 0));
    STARTUPINFOW si = {};
    si.cb = sizeof si;
    si.dwFlags = STARTF_USESTDHANDLES;
    si.hStdOutput = si.hStdError = hWrite;
    PROCESS_INFORMATION pi = {};
    std::wstring strBuffer = Widen(strLine);
    std::wstring strFolder = pszCurrentFolder ? Widen(pszCurrentFolder) : L"";
    BOOL bStarted = CreateProcessW(nullptr, &strBuffer[0], nullptr, nullptr, TRUE, CREATE_NO_WINDOW,
                                   nullptr, pszCurrentFolder ? strFolder.c_str() : nullptr, &si,
                                   &pi);
    DWORD dwError = GetLastError();
    EXPECT_TRUE(bStarted) << strLine << ": error " << dwError;
    EXPECT_TRUE(CloseHandle(hWrite));
    if (bStarted) {
      // The reports are far smaller than the pipe, so the child never waits for the reader.
      if (WaitForSingleObject(pi.hProcess, 30000) != WAIT_OBJECT_0) {
        ADD_FAILURE() << strLine << ": hangs";
        TerminateProcess(pi.hProcess, 99);
        EXPECT_EQ(WaitForSingleObject(pi.hProcess, 30000), WAIT_OBJECT_0) << strLine;
      }
      EXPECT_TRUE(GetExitCodeProcess(pi.hProcess, &result.dwCode));
      CloseHandle(pi.hThread);
      CloseHandle(pi.hProcess);
      char szChunk[4096];
      DWORD dwGot = 0;
      while (ReadFile(hRead, szChunk, sizeof szChunk, &dwGot, nullptr) && dwGot > 0)
        result.strOut.append(szChunk, dwGot);
      result.strOut = Narrow(Widen(result.strOut, GetOEMCP()));
    }
    CloseHandle(hRead);
    return result;
  }
  Result Run(const std::string& strArgs) { return RunLine("\"" + m_strSim + "\" " + strArgs); }

  std::string State() const { return ReadFileText(m_folder / "hostednetwork.state"); }
  void SetState(const std::string& strText) {
    std::ofstream(m_folder / "hostednetwork.state", std::ios::binary) << strText;
  }

  CTempFolder m_folder;
  std::string m_strSim = InSystemFolder("netsh.exe");
};

TEST_F(NetshSim, StatusReportHoldsTheMarkersOfItsStateOnly) {
  struct Case {
    const char* pszState;
    bool bAllowed, bRunning;
  } cases[] = {
      {nullptr, false, false},
      {"mode=disallow\r\nrunning=0\r\n", false, false},
      {"mode=disallow\r\nrunning=1\r\n", false, true},
      {"mode=allow\r\nrunning=0\r\n", true, false},
      {"mode=allow\r\nrunning=1\r\n", true, true},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.pszState ? c.pszState : "no state file");
    if (c.pszState) SetState(c.pszState);
    Result r = Run("wlan show hostednetwork");
    EXPECT_EQ(r.dwCode, 0u);
    EXPECT_EQ(Has(r.strOut, "已启用"), c.bAllowed);
    EXPECT_EQ(Has(r.strOut, "已禁用"), !c.bAllowed);
    EXPECT_EQ(Has(r.strOut, "已启动"), c.bRunning);
    EXPECT_EQ(Has(r.strOut, "未启动"), !c.bRunning);
    EXPECT_EQ(Has(r.strOut, "BSSID"), c.bRunning);
    for (size_t i = r.strOut.find('\n'); i != std::string::npos; i = r.strOut.find('\n', i + 1))
      ASSERT_TRUE(i > 0 && r.strOut[i - 1] == '\r') << "bare LF at " << i;
  }
}

// A line of real netsh's report: the label, the blanks before its colon, the colon and the value.
std::string Field(const char* pszLabel, size_t nBlanks, const char* pszValue) {
  return std::string("    ") + pszLabel + std::string(nBlanks, ' ') + ":" + pszValue + "\r\n";
}

TEST_F(NetshSim, StatusReportIsRealNetshsTextByteForByte) {
  const std::string strSettings = "\r\n承载网络设置\r\n" + std::string(23, '-') + "\r\n";
  const std::string strStatus = "\r\n承载网络状态\r\n" + std::string(21, '-') + "\r\n";
  const struct {
    std::string strState;  // none when empty
    std::string strReport;
  } cases[] = {
      {"", strSettings + Field("模式", 19, " 已禁用") + Field("设置", 14, " <未配置>") +
                    strStatus + Field("状态", 17, " 未启动") + "\r\n"},
      {"mode=allow\r\nrunning=0\r\ndriver=unsupported\r\nssid=" + Hex("我的 net") + "\r\n",
       strSettings + Field("模式", 19, " 已启用") + Field("SSID 名称", 14, "“我的 net”") +
           Field("最多客户端数", 2, " 100") + Field("身份验证", 9, " WPA2 - 个人") +
           Field("密码", 17, " CCMP") + strStatus + Field("状态", 17, " 不可用") + "\r\n"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.strState);
    if (!c.strState.empty()) SetState(c.strState);
    Result r = Run("wlan show hostednetwork");
    EXPECT_EQ(r.dwCode, 0u);
    EXPECT_EQ(r.strOut, c.strReport);
  }
}

TEST_F(NetshSim, ModeGovernsStartAndDisallowStops) {
  const struct {
    const char* pszArgs;
    DWORD dwCode;
    const char* pszSays;
  } steps[] = {
      {"wlan start hostednetwork", 1,
       "无法启动承载网络。\r\n组或资源的状态不是执行请求操作的正确状态。"},
      {"wlan show hostednetwork", 0, "未启动"},
      {"WLAN Set HostedNetwork MODE=Allow", 0, "承载网络模式已设置为允许。"},
      {"wlan start hostednetwork", 0, "已启动承载网络。"},
      {"wlan show hostednetwork", 0, "已启动"},
      {"wlan set hostednetwork mode=disallow", 0, "承载网络模式已设置为禁止。"},
      {"wlan show hostednetwork", 0, "未启动"},
      {"wlan stop hostednetwork", 0, "已停止承载网络。"},
      {"wlan set hostednetwork mode=allow", 0, "允许"},
      {"wlan start hostednetwork", 0, "已启动承载网络。"},
      {"wlan stop hostednetwork", 0, "已停止承载网络。"},
      {"wlan show hostednetwork", 0, "未启动"},
  };
  std::string strLog;
  for (const auto& s : steps) {
    strLog += s.pszArgs + std::string("\r\n");
    std::string strBefore = State();
    Result r = Run(s.pszArgs);
    EXPECT_EQ(r.dwCode, s.dwCode) << s.pszArgs;
    EXPECT_TRUE(Has(r.strOut, s.pszSays)) << s.pszArgs;
    if (s.dwCode != 0) {
      EXPECT_EQ(State(), strBefore) << s.pszArgs;
    }
  }
  EXPECT_FALSE(FileExists(m_folder / "hostednetwork.state.tmp"));
  EXPECT_EQ(ReadFileText(m_folder / "netsh.log"), strLog);
}

// Most current laptops' drivers have no hosted network: it can be allowed, never started.
TEST_F(NetshSim, AdapterWithoutHostedNetworkIsUnavailableAndCannotStart) {
  EXPECT_TRUE(Has(Run("wlan show drivers").strOut, "    支持的承载网络  : 是\r\n"));
  const std::string strState =
      "mode=allow\r\nrunning=0\r\ndriver=unsupported\r\nssid=\r\nkey=\r\n";
  SetState(strState);
  EXPECT_TRUE(Has(Run("wlan show drivers").strOut, "    支持的承载网络  : 否\r\n"));
  Result r = Run("wlan start hostednetwork");
  EXPECT_EQ(r.dwCode, 1u);
  EXPECT_EQ(r.strOut, "无法启动承载网络。\r\n组或资源的状态不是执行请求操作的正确状态。\r\n\r\n");
  EXPECT_EQ(Run("wlan stop hostednetwork").strOut, "已停止承载网络。\r\n\r\n");
  EXPECT_EQ(Run("wlan set hostednetwork mode=allow").dwCode, 0u);
  EXPECT_EQ(State(), strState);
  EXPECT_TRUE(Has(Run("wlan show hostednetwork").strOut, "    状态                 : 不可用\r\n"));
}

TEST_F(NetshSim, NameOrKeyOfAWrongLengthIsRefusedAndTheOldPairKept) {
  const std::string strSsid32(32, 's'), strKey63(63, 'k'), strWang = "网";
  std::string strWang16, strWang32;
  for (int i = 0; i < 16; ++i) strWang16 += strWang;
  strWang32 = strWang16 + strWang16;
  struct Case {
    std::string strSsid, strKey;
    bool bAccepted;
  } cases[] = {
      {"A", "", true},          {strSsid32, "", true},
      {"", "", false},          {strSsid32 + "s", "", false},
      {strWang16, "", true},    {strWang16 + strWang, "", false},  // 32 and 34 bytes
      {"", "12345678", true},   {"", strKey63, true},
      {"", "1234567", false},   {"", strKey63 + "k", false},
      {"", strWang32, true},    {"", strWang16.substr(0, 14), false},  // 32 and 7 characters
      {"Good", "short", false}, {"Good", "longenough", true},
  };
  const std::string strBase =
      "mode=allow\r\nrunning=1\r\nssid=" + Hex("Base") + "\r\nkey=" + Hex("basekey1") + "\r\n";
  for (const Case& c : cases) {
    std::string strArgs = "wlan set hostednetwork";
    if (!c.strSsid.empty() || c.strKey.empty()) strArgs += " ssid=" + c.strSsid;
    if (!c.strKey.empty()) strArgs += " key=" + c.strKey + " keyUsage=persistent";
    SCOPED_TRACE(strArgs);
    SetState(strBase);
    Result r = Run(strArgs);
    EXPECT_EQ(r.dwCode, c.bAccepted ? 0u : 1u);
    if (!c.bAccepted) {
      EXPECT_EQ(State(), strBase);
      EXPECT_TRUE(Has(r.strOut, "无法设置承载网络属性。"));
      continue;
    }
    std::string strStored =
        "mode=allow\r\nrunning=1\r\nssid=" + Hex(c.strSsid.empty() ? "Base" : c.strSsid) +
        "\r\nkey=" + Hex(c.strKey.empty() ? "basekey1" : c.strKey) + "\r\n";
    EXPECT_EQ(State(), strStored);
  }
}

// The program's own lines pass the name through cmd.exe: see the settings tests.
TEST_F(NetshSim, QuotedNameArrivesIntact) {
  const std::string strName = "my net & 网络|<>^";
  Result r = Run("wlan set hostednetwork ssid=\"" + strName + "\" key=12345678");
  EXPECT_EQ(r.dwCode, 0u) << r.strOut;
  EXPECT_TRUE(Has(Run("wlan show hostednetwork").strOut, ":“" + strName + "”\r\n"));
  // The log is UTF-8 whatever the code pages.
  EXPECT_TRUE(Has(ReadFileText(m_folder / "netsh.log"),
                  Narrow(Widen("ssid=" + strName + " key=12345678\r\n"), CP_UTF8)));
}

TEST_F(NetshSim, UnknownCommandsAreRefusedAndLogged) {
  std::string strLog;
  for (const char* pszArgs :
       {"", "wlan", "lan show hostednetwork", "wlan show hostednetwork extra", "wlan show hosted",
        "wlan set hostednetwork", "wlan set hostednetwork ssid",
        "wlan set hostednetwork mode=maybe", "wlan set hostednetwork color=red",
        "wlan set hostednetwork ssid=a ssid=b", "wlan set hostednetwork keyUsage=persistent"}) {
    strLog += pszArgs + std::string("\r\n");
    Result r = Run(pszArgs);
    EXPECT_EQ(r.dwCode, 1u) << pszArgs;
    EXPECT_TRUE(Has(r.strOut, std::string("找不到下列命令: ") + pszArgs + "。\r\n")) << pszArgs;
  }
  EXPECT_FALSE(FileExists(m_folder / "hostednetwork.state"));
  EXPECT_EQ(ReadFileText(m_folder / "netsh.log"), strLog);
}

TEST_F(NetshSim, KeepsItsFilesInTheNamedFolderElseInTheCurrentOne) {
  CTempFolder current;
  EXPECT_EQ(Run("wlan set hostednetwork mode=allow").dwCode, 0u);
  EXPECT_TRUE(FileExists(m_folder / "hostednetwork.state"));
  EXPECT_FALSE(FileExists(current / "netsh.log"));
  ASSERT_TRUE(SetEnvironmentVariableA("VENTORA_NETSH_DIR", nullptr));
  EXPECT_EQ(
      RunLine("\"" + m_strSim + "\" wlan set hostednetwork mode=allow", current.Path().c_str())
          .dwCode,
      0u);
  EXPECT_EQ(ReadFileText(current / "netsh.log"), "wlan set hostednetwork mode=allow\r\n");
  EXPECT_TRUE(FileExists(current / "hostednetwork.state"));
}

TEST_F(NetshSim, AnswersNoSoonerThanTheDelayItIsGiven) {
  ASSERT_TRUE(SetEnvironmentVariableA("VENTORA_SIM_DELAY_MS", "400"));
  ULONGLONG ullStart = GetTickCount64();
  Result r = Run("wlan show hostednetwork");
  ULONGLONG ullElapsed = GetTickCount64() - ullStart;
  EXPECT_TRUE(SetEnvironmentVariableA("VENTORA_SIM_DELAY_MS", nullptr));
  EXPECT_EQ(r.dwCode, 0u);
  EXPECT_GE(ullElapsed, 400u);
}

}  // namespace

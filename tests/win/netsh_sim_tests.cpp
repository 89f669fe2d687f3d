// The hosted-network simulator as installed in the system folder, run as a child process with a
// fresh state folder per test.
#include <gtest/gtest.h>
#include <windows.h>

#include <fstream>
#include <string>

#include "test_support.h"
#include "tests/hex.h"

namespace {

struct Result {
  DWORD code = ~0u;
  std::string out;
};

bool Has(const std::string& text, const std::string& part) {
  return text.find(part) != std::string::npos;
}

class NetshSim : public testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(SetEnvironmentVariableA("VENTORA_NETSH_DIR", folder_.path().c_str()));
  }
  void TearDown() override { SetEnvironmentVariableA("VENTORA_NETSH_DIR", nullptr); }

  // Runs a whole command line and collects its standard output and error.
  Result RunLine(const std::string& line, const char* currentFolder = nullptr) {
    Result result;
    SECURITY_ATTRIBUTES inherit = {sizeof inherit, NULL, TRUE};
    HANDLE read = NULL, write = NULL;
    if (!CreatePipe(&read, &write, &inherit, 1 << 16)) {
      ADD_FAILURE() << "CreatePipe " << GetLastError();
      return result;
    }
    EXPECT_TRUE(SetHandleInformation(read, HANDLE_FLAG_INHERIT, 0));
    STARTUPINFOA startup = {};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESTDHANDLES;
    startup.hStdOutput = startup.hStdError = write;
    PROCESS_INFORMATION process = {};
    std::string buffer = line;
    BOOL started = CreateProcessA(NULL, &buffer[0], NULL, NULL, TRUE, CREATE_NO_WINDOW, NULL,
                                  currentFolder, &startup, &process);
    DWORD error = GetLastError();
    EXPECT_TRUE(started) << line << ": error " << error;
    EXPECT_TRUE(CloseHandle(write));
    if (started) {
      // The reports are far smaller than the pipe, so the child never waits for the reader.
      if (WaitForSingleObject(process.hProcess, 30000) != WAIT_OBJECT_0) {
        ADD_FAILURE() << line << ": hangs";
        TerminateProcess(process.hProcess, 99);
        WaitForSingleObject(process.hProcess, INFINITE);
      }
      EXPECT_TRUE(GetExitCodeProcess(process.hProcess, &result.code));
      CloseHandle(process.hThread);
      CloseHandle(process.hProcess);
      char chunk[4096];
      DWORD got = 0;
      while (ReadFile(read, chunk, sizeof chunk, &got, NULL) && got > 0)
        result.out.append(chunk, got);
    }
    CloseHandle(read);
    return result;
  }
  Result Run(const std::string& args) { return RunLine("\"" + sim_ + "\" " + args); }

  std::string State() const { return ReadFileText(folder_ / "hostednetwork.state"); }
  void SetState(const std::string& text) {
    std::ofstream(folder_ / "hostednetwork.state", std::ios::binary) << text;
  }

  TempFolder folder_;
  std::string sim_ = InSystemFolder("netsh.exe");
};

// The cases are named after the target, so that `ctest -R netsh_sim` selects them.
using netsh_sim = NetshSim;

TEST_F(netsh_sim, StatusReportHoldsTheMarkersOfItsStateOnly) {
  struct Case {
    const char* state;
    bool allowed, running;
  } cases[] = {
      {NULL, false, false},
      {"mode=disallow\r\nrunning=0\r\n", false, false},
      {"mode=disallow\r\nrunning=1\r\n", false, true},
      {"mode=allow\r\nrunning=0\r\n", true, false},
      {"mode=allow\r\nrunning=1\r\n", true, true},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.state ? c.state : "no state file");
    if (c.state) SetState(c.state);
    Result r = Run("wlan show hostednetwork");
    EXPECT_EQ(r.code, 0u);
    EXPECT_EQ(Has(r.out, "已启用"), c.allowed);
    EXPECT_EQ(Has(r.out, "已禁用"), !c.allowed);
    EXPECT_EQ(Has(r.out, "已启动"), c.running);
    EXPECT_EQ(Has(r.out, "未启动"), !c.running);
    EXPECT_EQ(Has(r.out, "BSSID"), c.running);
    for (size_t i = r.out.find('\n'); i != std::string::npos; i = r.out.find('\n', i + 1))
      ASSERT_TRUE(i > 0 && r.out[i - 1] == '\r') << "bare LF at " << i;
  }
}

TEST_F(netsh_sim, ModeGovernsStartAndDisallowStops) {
  const struct {
    const char* args;
    DWORD code;
    const char* says;
  } steps[] = {
      {"wlan start hostednetwork", 1,
       "无法启动承载网络。\r\n组或资源的状态不是执行请求操作的正确状态。"},
      {"wlan show hostednetwork", 0, "未启动"},
      {"WLAN Set HostedNetwork MODE=Allow", 0, "承载网络模式已设置为允许。"},
      {"wlan start hostednetwork", 0, "已启动承载网络。"},
      {"wlan show hostednetwork", 0, "已启动"},
      {"wlan set hostednetwork mode=disallow", 0, "承载网络模式已设置为禁止。"},
      {"wlan show hostednetwork", 0, "未启动"},
      {"wlan stop hostednetwork", 0, "承载网络未启动。"},
      {"wlan set hostednetwork mode=allow", 0, "允许"},
      {"wlan start hostednetwork", 0, "已启动承载网络。"},
      {"wlan stop hostednetwork", 0, "已停止承载网络。"},
      {"wlan show hostednetwork", 0, "未启动"},
  };
  std::string log;
  for (const auto& s : steps) {
    log += s.args + std::string("\r\n");
    std::string before = State();
    Result r = Run(s.args);
    EXPECT_EQ(r.code, s.code) << s.args;
    EXPECT_TRUE(Has(r.out, s.says)) << s.args;
    if (s.code != 0) {
      EXPECT_EQ(State(), before) << s.args;
    }
  }
  EXPECT_FALSE(FileExists(folder_ / "hostednetwork.state.tmp"));
  EXPECT_EQ(ReadFileText(folder_ / "netsh.log"), log);
}

TEST_F(netsh_sim, NameAndKeyLengthsAreChecked) {
  const std::string s32(32, 's'), k63(63, 'k'), wang = "网";
  std::string wang16, wang32;
  for (int i = 0; i < 16; ++i) wang16 += wang;
  wang32 = wang16 + wang16;
  struct Case {
    std::string ssid, key;
    bool accepted;
  } cases[] = {
      {"A", "", true},          {s32, "", true},
      {"", "", false},          {s32 + "s", "", false},
      {wang16, "", true},       {wang16 + wang, "", false},  // 32 and 34 bytes
      {"", "12345678", true},   {"", k63, true},
      {"", "1234567", false},   {"", k63 + "k", false},
      {"", wang32, true},       {"", wang16.substr(0, 14), false},  // 32 and 7 characters
      {"Good", "short", false}, {"Good", "longenough", true},
  };
  const std::string base =
      "mode=allow\r\nrunning=1\r\nssid=" + Hex("Base") + "\r\nkey=" + Hex("basekey1") + "\r\n";
  for (const Case& c : cases) {
    std::string args = "wlan set hostednetwork";
    if (!c.ssid.empty() || c.key.empty()) args += " ssid=" + c.ssid;
    if (!c.key.empty()) args += " key=" + c.key + " keyUsage=persistent";
    SCOPED_TRACE(args);
    SetState(base);
    Result r = Run(args);
    EXPECT_EQ(r.code, c.accepted ? 0u : 1u);
    if (!c.accepted) {
      EXPECT_EQ(State(), base);
      EXPECT_TRUE(Has(r.out, "无法设置承载网络属性。"));
      continue;
    }
    std::string stored =
        "mode=allow\r\nrunning=1\r\nssid=" + Hex(c.ssid.empty() ? "Base" : c.ssid) +
        "\r\nkey=" + Hex(c.key.empty() ? "basekey1" : c.key) + "\r\n";
    EXPECT_EQ(State(), stored);
  }
}

TEST_F(netsh_sim, QuotedNameArrivesIntactAlsoThroughCmd) {
  const std::string name = "my net & 网络|<>^";
  for (const std::string& prefix :
       {"\"" + sim_ + "\"", std::string("C:\\Windows\\System32\\cmd.exe /c netsh")}) {
    SCOPED_TRACE(prefix);
    Result r = RunLine(prefix + " wlan set hostednetwork ssid=\"" + name + "\" key=12345678");
    EXPECT_EQ(r.code, 0u) << r.out;
    EXPECT_TRUE(Has(RunLine(prefix + " wlan show hostednetwork").out, "\"" + name + "\"\r\n"));
    EXPECT_TRUE(Has(ReadFileText(folder_ / "netsh.log"), "ssid=" + name + " key=12345678\r\n"));
    EXPECT_TRUE(DeleteFileA((folder_ / "netsh.log").c_str()));
  }
}

TEST_F(netsh_sim, UnknownCommandsAreRefused) {
  std::string log;
  for (const char* args :
       {"", "wlan", "lan show hostednetwork", "wlan show hostednetwork extra", "wlan show hosted",
        "wlan set hostednetwork", "wlan set hostednetwork ssid",
        "wlan set hostednetwork mode=maybe", "wlan set hostednetwork color=red",
        "wlan set hostednetwork ssid=a ssid=b", "wlan set hostednetwork keyUsage=persistent"}) {
    log += args + std::string("\r\n");
    Result r = Run(args);
    EXPECT_EQ(r.code, 1u) << args;
    EXPECT_TRUE(Has(r.out, std::string("下列命令没有找到: ") + args + "。\r\n")) << args;
  }
  EXPECT_FALSE(FileExists(folder_ / "hostednetwork.state"));
  EXPECT_EQ(ReadFileText(folder_ / "netsh.log"), log);
}

TEST_F(netsh_sim, KeepsItsFilesInTheNamedFolderElseInTheCurrentOne) {
  TempFolder current;
  EXPECT_EQ(Run("wlan set hostednetwork mode=allow").code, 0u);
  EXPECT_TRUE(FileExists(folder_ / "hostednetwork.state"));
  EXPECT_FALSE(FileExists(current / "netsh.log"));
  ASSERT_TRUE(SetEnvironmentVariableA("VENTORA_NETSH_DIR", nullptr));
  EXPECT_EQ(RunLine("\"" + sim_ + "\" wlan set hostednetwork mode=allow", current.path().c_str()).code,
            0u);
  EXPECT_EQ(ReadFileText(current / "netsh.log"), "wlan set hostednetwork mode=allow\r\n");
  EXPECT_TRUE(FileExists(current / "hostednetwork.state"));
}

TEST_F(netsh_sim, DelayIsHonoured) {
  ASSERT_TRUE(SetEnvironmentVariableA("VENTORA_SIM_DELAY_MS", "400"));
  ULONGLONG start = GetTickCount64();
  Result r = Run("wlan show hostednetwork");
  ULONGLONG elapsed = GetTickCount64() - start;
  EXPECT_TRUE(SetEnvironmentVariableA("VENTORA_SIM_DELAY_MS", NULL));
  EXPECT_EQ(r.code, 0u);
  EXPECT_GE(elapsed, 400u);
}

}  // namespace

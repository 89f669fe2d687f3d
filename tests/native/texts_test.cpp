// The texts reach the program as GBK bytes; these are the bytes a Chinese Windows expects.
#include <gtest/gtest.h>

#include <string>
#include <utility>

#include "command/commands.h"
#include "command/netsh_line.h"
#include "tests/hex.h"
#include "ui/texts.h"

namespace {

struct Text {
  const char* pszName;
  CGbkText text;
  const char* pszGbk;
};

TEST(Texts, AreGbkBytes) {
  const Text texts[] = {
      {"adapter marker", kMarkerAdapterEnabled, "d2 d1 c6 f4 d3 c3"},
      {"started marker", kMarkerHotspotStarted, "d2 d1 c6 f4 b6 af"},
      {"pipe failed", kMsgPipeFailed, "b9 dc b5 c0 20 b4 b4 bd a8 ca a7 b0 dc"},
      {"process failed", kMsgProcessFailed, "c3 fc c1 ee cc e1 ca be b7 fb 20 d4 cb d0 d0 ca a7 b0 dc"},
      {"timed out", kMsgTimedOut, "c3 fc c1 ee 20 d4 cb d0 d0 b3 ac ca b1"},
      {"enable adapter", kCaptionEnableAdapter, "c6 f4 d3 c3 d0 e9 c4 e2 cd f8 bf a8"},
      {"disable adapter", kCaptionDisableAdapter, "bd fb d3 c3 d0 e9 c4 e2 cd f8 bf a8"},
      {"start hotspot", kCaptionStartHotspot, "bf aa c6 f4 ce de cf df c8 c8 b5 e3"},
      {"stop hotspot", kCaptionStopHotspot, "b9 d8 b1 d5 ce de cf df c8 c8 b5 e3"},
      {"empty name", kMsgEmptyName, "c7 eb ca e4 c8 eb ce de cf df c8 c8 b5 e3 b5 c4 c3 fb b3 c6"},
      {"empty key", kMsgEmptyKey, "c7 eb ca e4 c8 eb ce de cf df c8 c8 b5 e3 b5 c4 c3 dc c2 eb"},
      {"trailing backslash", kMsgTrailingBackslash,
       "c8 c8 b5 e3 c3 fb b3 c6 ba cd c3 dc c2 eb b2 bb c4 dc d2 d4 b7 b4 d0 b1 b8 dc bd e1 ce b2"},
      {"too long", kMsgTooLong, "c8 c8 b5 e3 c3 fb b3 c6 ba cd c3 dc c2 eb cc ab b3 a4"},
      {"unsafe character", kMsgUnsafeCharacter,
       "c8 c8 b5 e3 c3 fb b3 c6 ba cd c3 dc c2 eb d6 d0 b2 bb c4 dc ba ac d3 d0 cb ab d2 fd ba c5 "
       "a1 a2 b0 d9 b7 d6 ba c5 a1 a2 bf d8 d6 c6 d7 d6 b7 fb bb f2 ce de d0 a7 d7 d6 b7 fb"},
  };
  for (const Text& t : texts) EXPECT_EQ(Hex(t.text.Bytes(), " "), t.pszGbk) << t.pszName;
}

// Every command runs the system's netsh by its full path through the system's interpreter, with
// AutoRun skipped, delayed expansion off and only the outer quotes taken off.
TEST(Texts, CommandLinesRunTheSystemsNetshThroughTheSystemsInterpreter) {
  const std::string strDir = "D:\\WINNT\\system32";
  const std::string strHead = "\"" + strDir + "\\cmd.exe\" /d /v:off /s /c \"\"" + strDir +
                              "\\netsh.exe\" wlan ";
  const std::pair<const char*, std::string> lines[] = {
      {kNetshShowStatus, "show hostednetwork"},
      {kNetshAllow, "set hostednetwork mode=allow"},
      {kNetshDisallow, "set hostednetwork mode=disallow"},
      {kNetshStart, "start hostednetwork"},
      {kNetshStop, "stop hostednetwork"},
  };
  for (const auto& line : lines) {
    char szLine[COMMAND_SIZE];
    ASSERT_TRUE(ComposeNetshLine(szLine, sizeof szLine, strDir.c_str(), {line.first}));
    EXPECT_EQ(szLine, strHead + line.second + "\"");
  }
  EXPECT_STREQ(kNetshSetPrefix, "wlan set hostednetwork ssid=");
  EXPECT_STREQ(kNetshSetKey, " key=");
}

}  // namespace

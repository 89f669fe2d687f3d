// The texts reach the program as GBK bytes; these are the bytes a Chinese Windows expects.
#include <gtest/gtest.h>

#include <string.h>

#include <string>

#include "command/commands.h"
#include "ui/texts.h"

namespace {

std::string Hex(const char* text) {
  static const char digits[] = "0123456789ABCDEF";
  std::string out;
  for (const unsigned char* p = reinterpret_cast<const unsigned char*>(text); *p; ++p) {
    if (!out.empty()) out += ' ';
    out += digits[*p >> 4];
    out += digits[*p & 15];
  }
  return out;
}

struct Text {
  const char* name;
  const char* text;
  const char* gbk;
};

TEST(Texts, AreGbkBytes) {
  const Text texts[] = {
      {"adapter marker", kMarkerAdapterEnabled, "D2 D1 C6 F4 D3 C3"},
      {"started marker", kMarkerHotspotStarted, "D2 D1 C6 F4 B6 AF"},
      {"pipe failed", kMsgPipeFailed, "B9 DC B5 C0 20 B4 B4 BD A8 CA A7 B0 DC"},
      {"process failed", kMsgProcessFailed, "C3 FC C1 EE CC E1 CA BE B7 FB 20 D4 CB D0 D0 CA A7 B0 DC"},
      {"timed out", kMsgTimedOut, "C3 FC C1 EE 20 D4 CB D0 D0 B3 AC CA B1"},
      {"enable adapter", kCaptionEnableAdapter, "C6 F4 D3 C3 D0 E9 C4 E2 CD F8 BF A8"},
      {"disable adapter", kCaptionDisableAdapter, "BD FB D3 C3 D0 E9 C4 E2 CD F8 BF A8"},
      {"start hotspot", kCaptionStartHotspot, "BF AA C6 F4 CE DE CF DF C8 C8 B5 E3"},
      {"stop hotspot", kCaptionStopHotspot, "B9 D8 B1 D5 CE DE CF DF C8 C8 B5 E3"},
      {"empty name", kMsgEmptyName, "C7 EB CA E4 C8 EB CE DE CF DF C8 C8 B5 E3 B5 C4 C3 FB B3 C6"},
      {"empty key", kMsgEmptyKey, "C7 EB CA E4 C8 EB CE DE CF DF C8 C8 B5 E3 B5 C4 C3 DC C2 EB"},
      {"trailing backslash", kMsgTrailingBackslash,
       "C8 C8 B5 E3 C3 FB B3 C6 BA CD C3 DC C2 EB B2 BB C4 DC D2 D4 B7 B4 D0 B1 B8 DC BD E1 CE B2"},
      {"too long", kMsgTooLong, "C8 C8 B5 E3 C3 FB B3 C6 BA CD C3 DC C2 EB CC AB B3 A4"},
      {"unsafe character", kMsgUnsafeCharacter,
       "C8 C8 B5 E3 C3 FB B3 C6 BA CD C3 DC C2 EB D6 D0 B2 BB C4 DC BA AC D3 D0 CB AB D2 FD BA C5 "
       "A1 A2 B0 D9 B7 D6 BA C5 BB F2 BF D8 D6 C6 D7 D6 B7 FB"},
  };
  for (const Text& t : texts) EXPECT_EQ(Hex(t.text), t.gbk) << t.name;
}

TEST(Texts, CommandLinesAreTheFixedOnes) {
  const std::string netsh = "C:\\Windows\\System32\\cmd.exe /c netsh wlan ";
  EXPECT_EQ(kCmdShowStatus, netsh + "show hostednetwork");
  EXPECT_EQ(kCmdAllow, netsh + "set hostednetwork mode=allow");
  EXPECT_EQ(kCmdDisallow, netsh + "set hostednetwork mode=disallow");
  EXPECT_EQ(kCmdStart, netsh + "start hostednetwork");
  EXPECT_EQ(kCmdStop, netsh + "stop hostednetwork");
  EXPECT_EQ(strlen(kCmdSetPrefix), 65u);
  EXPECT_STREQ(kCmdSetKey, " key=");
}

}  // namespace

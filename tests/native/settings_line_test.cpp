#include <gtest/gtest.h>

#include <string.h>

#include <string>

#include "command/commands.h"
#include "command/settings_line.h"

namespace {

const char kSystemDir[] = "C:\\Windows\\system32";
const std::string kPrefix =
    "\"C:\\Windows\\system32\\cmd.exe\" /d /v:off /s /c \"\"C:\\Windows\\system32\\netsh.exe\" "
    "wlan set hostednetwork ssid=";

SettingsCheck Compose(const std::string& strName, const std::string& strKey,
                      std::string* pstrLine) {
  char szBuffer[COMMAND_SIZE + 8];
  memset(szBuffer, 'X', sizeof szBuffer);
  SettingsCheck check =
      ComposeSettingsLine(kSystemDir, strName.c_str(), strKey.c_str(), szBuffer, COMMAND_SIZE);
  for (size_t i = COMMAND_SIZE; i < sizeof szBuffer; ++i) EXPECT_EQ(szBuffer[i], 'X');
  if (pstrLine) *pstrLine = check == SettingsCheck::Ok ? szBuffer : "";
  return check;
}

TEST(ComposeSettingsLine, QuotesBothValuesAndPassesEverythingElseAsTyped) {
  std::string strLine;
  ASSERT_EQ(Compose("my net & co|<x>^", "pass word", &strLine), SettingsCheck::Ok);
  EXPECT_EQ(strLine, kPrefix + "\"my net & co|<x>^\" key=\"pass word\"\"");
  // Out of the assertions, whose text of their arguments is in GBK, which has no 😀.
  const std::string strName = u8"无线热点😀";
  const std::string strLineExpected = kPrefix + u8"\"无线热点😀\" key=\"密码12345678!\"\"";
  ASSERT_EQ(Compose(strName, u8"密码12345678!", &strLine), SettingsCheck::Ok);
  EXPECT_EQ(strLine, strLineExpected);
  ASSERT_EQ(Compose(u8"深淺", u8"a\\b\\\\c淺", &strLine), SettingsCheck::Ok);
  EXPECT_EQ(strLine, kPrefix + u8"\"深淺\" key=\"a\\b\\\\c淺\"\"");
}

struct CheckCase {
  const char* pszName;
  const char* pszKey;
  SettingsCheck expected;
};

void PrintTo(const CheckCase& c, std::ostream* os) {
  *os << testing::PrintToString(c.pszName) << ", " << testing::PrintToString(c.pszKey);
}

class Checks : public testing::TestWithParam<CheckCase> {};

TEST_P(Checks, RefuseBeforeWritingAnything) {
  char szBuffer[COMMAND_SIZE];
  memset(szBuffer, 'X', sizeof szBuffer);
  EXPECT_EQ(ComposeSettingsLine(kSystemDir, GetParam().pszName, GetParam().pszKey, szBuffer,
                                sizeof szBuffer),
            GetParam().expected);
  EXPECT_EQ(szBuffer[0], 'X');
}

INSTANTIATE_TEST_SUITE_P(
    InOrder, Checks,
    testing::Values(CheckCase{"", "", SettingsCheck::EmptyName},
                    CheckCase{"", "12345678", SettingsCheck::EmptyName},
                    CheckCase{"net", "", SettingsCheck::EmptyKey},
                    CheckCase{"a\"b", "12345678", SettingsCheck::UnsafeCharacter},
                    CheckCase{"net", "ab\"&calc", SettingsCheck::UnsafeCharacter},
                    CheckCase{"%PATH%", "12345678", SettingsCheck::UnsafeCharacter},
                    CheckCase{"net", "50%off!!", SettingsCheck::UnsafeCharacter},
                    CheckCase{"a\tb", "12345678", SettingsCheck::UnsafeCharacter},
                    CheckCase{"net", "1234\n5678", SettingsCheck::UnsafeCharacter},
                    CheckCase{"\x1f", "12345678", SettingsCheck::UnsafeCharacter},
                    CheckCase{"MyWiFi\\", "secret123", SettingsCheck::TrailingBackslash},
                    CheckCase{"net", "abcdefg\\", SettingsCheck::TrailingBackslash},
                    // UTF-8 E4 B8 AD 5C: no byte of a character can pass for the backslash.
                    CheckCase{u8"中\\", "12345678", SettingsCheck::TrailingBackslash},
                    CheckCase{"net", u8"😀\\", SettingsCheck::TrailingBackslash},
                    CheckCase{"a%\\", "12345678", SettingsCheck::UnsafeCharacter},
                    // No UTF-8: a GBK name, a character broken off; counted, they would fit.
                    CheckCase{"\xC8\xC8\xB5\xE3", "12345678", SettingsCheck::UnsafeCharacter},
                    CheckCase{"net", "1234567\xE5\x90", SettingsCheck::UnsafeCharacter},
                    CheckCase{"", "key\\", SettingsCheck::EmptyName}));

// The system folder's path stands twice in the line and counts against its 511 characters, as
// code page 936 counts them: two for a Chinese character, four for one beyond the basic plane.
TEST(ComposeSettingsLine, LineOf511CharactersAsGbkCountsThemFitsAndOneMoreDoesNot) {
  const size_t nFixed = kPrefix.size() + strlen(" key=") + 4 + 1;
  const size_t nRoom = COMMAND_LIMIT_GBK_BYTES - nFixed - 8;  // for the name, with a key of 8
  const std::string strKey(8, 'k');
  std::string strName(nRoom % 4, 'n'), strLine;
  for (size_t i = 0; i < nRoom / 4; ++i) strName += i % 2 ? u8"中中" : u8"😀";
  ASSERT_EQ(LengthInGbkBytes(strName.c_str()), nRoom);
  ASSERT_EQ(Compose(strName, strKey, &strLine), SettingsCheck::Ok);
  EXPECT_EQ(LengthInGbkBytes(strLine.c_str()), COMMAND_LIMIT_GBK_BYTES);
  EXPECT_EQ(Compose(strName + "n", strKey, &strLine), SettingsCheck::TooLong);
  EXPECT_EQ(Compose("n", strKey + strName, &strLine), SettingsCheck::TooLong);
  EXPECT_EQ(Compose(std::string(100000, 'n'), std::string(100000, 'k'), &strLine),
            SettingsCheck::TooLong);
  EXPECT_EQ(Compose(std::string(100000, 'n'), "k\\", &strLine), SettingsCheck::TrailingBackslash);
}

// Nor is a line without the system folder, which would start a cmd.exe of the current drive.
TEST(ComposeSettingsLine, TinyBufferOrNoSystemFolderIsRefusedNotWritten) {
  char szBuffer[8] = "X";
  EXPECT_EQ(ComposeSettingsLine(kSystemDir, "n", "k", szBuffer, sizeof szBuffer),
            SettingsCheck::TooLong);
  char szLine[COMMAND_SIZE] = "X";
  EXPECT_EQ(ComposeSettingsLine("", "n", "k", szLine, sizeof szLine), SettingsCheck::TooLong);
  // Within the limit but not within this buffer.
  EXPECT_EQ(ComposeSettingsLine(kSystemDir, "n", "k", szLine, kPrefix.size()),
            SettingsCheck::TooLong);
  EXPECT_STREQ(szBuffer, "X");
  EXPECT_STREQ(szLine, "X");
}

}  // namespace

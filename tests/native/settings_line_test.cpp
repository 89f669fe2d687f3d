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
  ASSERT_EQ(Compose("无线热点", "密码12345678!", &strLine), SettingsCheck::Ok);
  EXPECT_EQ(strLine, kPrefix + "\"无线热点\" key=\"密码12345678!\"\"");
  // 淺 is 0x9C 0x5C: a backslash byte that ends a character is no backslash.
  ASSERT_EQ(Compose("深淺", "a\\b\\\\c淺", &strLine), SettingsCheck::Ok);
  EXPECT_EQ(strLine, kPrefix + "\"深淺\" key=\"a\\b\\\\c淺\"\"");
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
                    CheckCase{"net", "深\\", SettingsCheck::TrailingBackslash},
                    CheckCase{"淺\\", "12345678", SettingsCheck::TrailingBackslash},
                    CheckCase{"a%\\", "12345678", SettingsCheck::UnsafeCharacter},
                    CheckCase{"", "key\\", SettingsCheck::EmptyName}));

// The system folder's path stands twice in the line and counts against its 511 characters.
TEST(ComposeSettingsLine, LineOfExactly511CharactersFitsAndOneMoreDoesNot) {
  const size_t nFixed = kPrefix.size() + strlen(" key=") + 4 + 1;
  const size_t nRoom = COMMAND_SIZE - 1 - nFixed;
  std::string strLine;
  ASSERT_EQ(Compose(std::string(nRoom - 8, 'n'), std::string(8, 'k'), &strLine), SettingsCheck::Ok);
  EXPECT_EQ(strLine.size(), COMMAND_SIZE - 1);
  EXPECT_EQ(Compose(std::string(nRoom - 7, 'n'), std::string(8, 'k'), &strLine),
            SettingsCheck::TooLong);
  EXPECT_EQ(Compose(std::string(1, 'n'), std::string(nRoom, 'k'), &strLine),
            SettingsCheck::TooLong);
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
  EXPECT_STREQ(szBuffer, "X");
  EXPECT_STREQ(szLine, "X");
}

}  // namespace

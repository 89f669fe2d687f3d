#include <gtest/gtest.h>

#include <string.h>

#include <string>

#include "command/commands.h"
#include "command/settings_line.h"

namespace {

const std::string kPrefix = "C:\\Windows\\System32\\cmd.exe /c netsh wlan set hostednetwork ssid=";

SettingsCheck Compose(const std::string& name, const std::string& key, std::string* line) {
  char buffer[COMMAND_SIZE + 8];
  memset(buffer, 'X', sizeof buffer);
  SettingsCheck check = ComposeSettingsLine(name.c_str(), key.c_str(), buffer, COMMAND_SIZE);
  for (size_t i = COMMAND_SIZE; i < sizeof buffer; ++i) EXPECT_EQ(buffer[i], 'X');
  if (line) *line = check == SettingsCheck::Ok ? buffer : "";
  return check;
}

TEST(ComposeSettingsLine, QuotesBothValuesAndPassesEverythingElseAsTyped) {
  std::string line;
  ASSERT_EQ(Compose("my net & co|<x>^", "pass word", &line), SettingsCheck::Ok);
  EXPECT_EQ(line, kPrefix + "\"my net & co|<x>^\" key=\"pass word\"");
  ASSERT_EQ(Compose("无线热点", "密码12345678", &line), SettingsCheck::Ok);
  EXPECT_EQ(line, kPrefix + "\"无线热点\" key=\"密码12345678\"");
  // 淺 is 0x9C 0x5C: a backslash byte that ends a character is no backslash.
  ASSERT_EQ(Compose("深淺", "a\\b\\\\c淺", &line), SettingsCheck::Ok);
  EXPECT_EQ(line, kPrefix + "\"深淺\" key=\"a\\b\\\\c淺\"");
}

struct CheckCase {
  const char* name;
  const char* key;
  SettingsCheck expected;
};

void PrintTo(const CheckCase& c, std::ostream* os) {
  *os << testing::PrintToString(c.name) << ", " << testing::PrintToString(c.key);
}

class Checks : public testing::TestWithParam<CheckCase> {};

TEST_P(Checks, RefuseBeforeWritingAnything) {
  char buffer[COMMAND_SIZE];
  memset(buffer, 'X', sizeof buffer);
  EXPECT_EQ(ComposeSettingsLine(GetParam().name, GetParam().key, buffer, sizeof buffer),
            GetParam().expected);
  EXPECT_EQ(buffer[0], 'X');
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

TEST(ComposeSettingsLine, LineOfExactly511CharactersFitsAndOneMoreDoesNot) {
  const size_t fixed = kPrefix.size() + strlen(" key=") + 4;
  const size_t room = COMMAND_SIZE - 1 - fixed;
  std::string line;
  ASSERT_EQ(Compose(std::string(room - 8, 'n'), std::string(8, 'k'), &line), SettingsCheck::Ok);
  EXPECT_EQ(line.size(), COMMAND_SIZE - 1);
  EXPECT_EQ(Compose(std::string(room - 7, 'n'), std::string(8, 'k'), &line),
            SettingsCheck::TooLong);
  EXPECT_EQ(Compose(std::string(1, 'n'), std::string(room, 'k'), &line), SettingsCheck::TooLong);
  EXPECT_EQ(Compose(std::string(100000, 'n'), std::string(100000, 'k'), &line),
            SettingsCheck::TooLong);
  EXPECT_EQ(Compose(std::string(100000, 'n'), "k\\", &line), SettingsCheck::TrailingBackslash);
}

TEST(ComposeSettingsLine, TinyBufferIsRefusedNotOverrun) {
  char buffer[8];
  EXPECT_EQ(ComposeSettingsLine("n", "k", buffer, sizeof buffer), SettingsCheck::TooLong);
}

}  // namespace

#include <gtest/gtest.h>

#include <string.h>

#include <memory>
#include <string>

#include "command/commands.h"
#include "command/report.h"
#include "tests/gbk_rule.h"
#include "tests/hex.h"

namespace {

// A report buffer as the runner holds one.
struct CReport {
  char m_szText[REPORT_SIZE] = {};
  bool Append(const std::string& strChunk) {
    return AppendReport(m_szText, sizeof m_szText, strChunk.data(), strChunk.size());
  }
};

TEST(AppendReport, JoinsPiecesInOrderAndAZeroByteEndsOnlyItsOwnChunk) {
  CReport r;
  EXPECT_TRUE(r.Append("承载网络"));
  EXPECT_TRUE(r.Append(""));
  EXPECT_TRUE(r.Append(std::string("\r\n状态\0xy", 9)));
  EXPECT_TRUE(r.Append(": 已启动\r\n"));
  EXPECT_STREQ(r.m_szText, "承载网络\r\n状态: 已启动\r\n");
}

TEST(AppendReport, StopsAtCapacityAndNeverWritesPastIt) {
  char szBuffer[REPORT_SIZE + 16];
  memset(szBuffer, 'X', sizeof szBuffer);
  szBuffer[0] = '\0';
  std::string strChunk(700, 'a');
  EXPECT_TRUE(AppendReport(szBuffer, REPORT_SIZE, strChunk.data(), strChunk.size()));
  EXPECT_FALSE(AppendReport(szBuffer, REPORT_SIZE, strChunk.data(), strChunk.size()));
  EXPECT_FALSE(AppendReport(szBuffer, REPORT_SIZE, "b", 1));
  EXPECT_EQ(strlen(szBuffer), REPORT_SIZE - 1);
  for (size_t i = REPORT_SIZE; i < sizeof szBuffer; ++i) ASSERT_EQ(szBuffer[i], 'X') << i;
}

struct Rule {
  const char* pszName;
  CharWidth oemWidth;        // the rule of the system's OEM code page
  std::string strCharacter;  // one character of several bytes in the code page netsh wrote in
  bool bUtf8;                // whether that is UTF-8
};

void PrintTo(const Rule& r, std::ostream* os) { *os << r.pszName; }

class Cut : public testing::TestWithParam<Rule> {};

// The cut must fall between characters of the code page the text is in, judged from the start
// of the whole text: a GBK trail byte may look like a lead byte, so only a walk from the start
// tells them apart.
TEST_P(Cut, NeverLeavesPartOfACharacterWhereverTheChunksSplitIt) {
  const std::string& strChar = GetParam().strCharacter;
  for (size_t nAscii = 0; nAscii < 4; ++nAscii) {
    for (size_t nSplit = 0; nSplit < strChar.size(); ++nSplit) {
      CReport r;
      std::string strText(nAscii, 'a');
      while (strText.size() < REPORT_SIZE) strText += strChar;
      // The first chunk ends inside a character, so the second finishes it.
      size_t nFirst = REPORT_SIZE - 200 + nSplit;
      EXPECT_TRUE(r.Append(strText.substr(0, nFirst)));
      EXPECT_FALSE(r.Append(strText.substr(nFirst)));
      EXPECT_EQ(SettleReportCodePage(r.m_szText, true, GetParam().oemWidth), GetParam().bUtf8);
      size_t nLength = strlen(r.m_szText);
      EXPECT_EQ((nLength - nAscii) % strChar.size(), 0u) << nAscii << " ascii, split " << nSplit;
      EXPECT_GT(nLength + strChar.size(), REPORT_SIZE - 1);
      EXPECT_EQ(std::string(r.m_szText), strText.substr(0, nLength));
    }
  }
}

// A text that stops in the middle of a character, in a buffer of exactly its size, so that
// AddressSanitizer sees a walk that looks past it for the rest.
TEST_P(Cut, TextEndingInALoneLeadByteEndsBeforeItWithoutReadingPast) {
  const std::string strText = "ab" + GetParam().strCharacter + GetParam().strCharacter.substr(0, 1);
  std::unique_ptr<char[]> pText(new char[strText.size()]);
  memcpy(pText.get(), strText.data(), strText.size());
  EXPECT_EQ(IsUtf8(pText.get(), strText.size(), true), GetParam().bUtf8);
  EXPECT_EQ(WholeCharacters(pText.get(), strText.size(),
                            GetParam().bUtf8 ? Utf8CharWidth : GetParam().oemWidth),
            strText.size() - 1);

  CReport r;
  ASSERT_TRUE(r.Append(std::string(REPORT_SIZE - 1 - strText.size(), 'x')));
  EXPECT_TRUE(AppendReport(r.m_szText, sizeof r.m_szText, pText.get(), strText.size()));
  EXPECT_FALSE(r.Append(GetParam().strCharacter.substr(1)));
  SettleReportCodePage(r.m_szText, true, GetParam().oemWidth);
  EXPECT_EQ(strlen(r.m_szText), REPORT_SIZE - 2);
}

// A Chinese Windows (OEM code page 936) and one with the UTF-8 option (65001); on the first,
// netsh writes UTF-8 where the user gave the consoles that code page.
INSTANTIATE_TEST_SUITE_P(
    CodePages, Cut,
    testing::Values(Rule{"Gbk", GbkCharWidth, "启", false},  // C6 F4: its trail byte leads too
                    Rule{"Utf8OnAGbkSystem", GbkCharWidth, u8"启", true},
                    Rule{"Utf8Bmp", Utf8CharWidth, u8"启", true},
                    Rule{"Utf8BeyondTheBasicPlane", Utf8CharWidth, u8"😀", true}),
    [](const testing::TestParamInfo<Rule>& info) { return info.param.pszName; });

// GBK's double bytes break UTF-8's rules at once; UTF-8's own forbidden forms are not UTF-8. A
// character broken off at the end counts where the text was cut, not in an entry typed whole.
TEST(IsUtf8, TellsUtf8FromGbkAndAllowsACharacterBrokenOffAtTheEndOnlyWhereAsked) {
  struct {
    std::string strText;
    bool bUtf8, bWhereCut;
  } cases[] = {{"    SSID : x\r\n", true, true},
               {"承载网络设置 : 已启用", false, false},
               {u8"承载网络设置 : 已启用", true, true},
               {"\xF0\x9F\x98\x80", true, true},
               {"a\xE5\x90", false, true},
               {"a\xE5\x90" "a", false, false},
               {"\x80", false, false},
               {"\xC0\x80", false, false},
               {"\xE0\x80\x80", false, false},
               {"\xED\xA0\x80", false, false},
               {"\xF4\x90\x80\x80", false, false},
               {"\xF5\x80", false, false}};
  for (const auto& c : cases) {
    EXPECT_EQ(IsUtf8(c.strText.data(), c.strText.size(), false), c.bUtf8) << Hex(c.strText, " ");
    EXPECT_EQ(IsUtf8(c.strText.data(), c.strText.size(), true), c.bWhereCut)
        << Hex(c.strText, " ");
  }
}

// Bytes that begin no character, or a sequence broken off, stand alone, so that a cut never
// swallows the ASCII that follows them.
TEST(Utf8CharWidth, TakesWholeSequencesAndLetsBrokenOnesStandAlone) {
  struct {
    const char* pszText;
    size_t nLeft, nWidth;
  } cases[] = {{"a", 1, 1},          {"\xC3\xA9", 2, 2}, {"\xE5\x90\xAF", 3, 3},
               {"\xF0\x9F\x98\x80", 4, 4}, {"\xE5\x90", 2, 3}, {"\xE5" "a", 2, 1},
               {"\xE5\x90" "a", 3, 2},     {"\x80", 1, 1},     {"\xC0\x80", 2, 1},
               {"\xFF\x80", 2, 1}};
  for (const auto& c : cases)
    EXPECT_EQ(Utf8CharWidth(c.pszText, c.nLeft), c.nWidth) << testing::PrintToString(c.pszText);
}

// A marker whose conversion failed is empty: it must not count as found in every report.
TEST(ReportHasMarker, FindsAMarkerAnywhereButNeverAnEmptyOne) {
  EXPECT_TRUE(ReportHasMarker(L"状态 : 已启动\r\n", L"已启动"));
  EXPECT_FALSE(ReportHasMarker(L"状态 : 已启\r\n", L"已启动"));
  EXPECT_FALSE(ReportHasMarker(L"状态 : 已启动\r\n", L""));
}

}  // namespace

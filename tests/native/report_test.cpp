#include <gtest/gtest.h>

#include <string.h>

#include <string>

#include "command/commands.h"
#include "command/report.h"

namespace {

// A report buffer as the panel's handlers hold one.
struct CReport {
  char m_szText[REPORT_SIZE] = {};
  bool Append(const std::string& strChunk) {
    return AppendReport(m_szText, sizeof m_szText, strChunk.data(), strChunk.size());
  }
};

TEST(AppendReport, JoinsPiecesInOrderWithNothingBetween) {
  CReport r;
  EXPECT_TRUE(r.Append("承载网络"));
  EXPECT_TRUE(r.Append(""));
  EXPECT_TRUE(r.Append("\r\n状态: 已启动\r\n"));
  EXPECT_STREQ(r.m_szText, "承载网络\r\n状态: 已启动\r\n");
}

TEST(AppendReport, ZeroByteEndsOnlyItsOwnChunk) {
  CReport r;
  r.Append(std::string("ab\0cd", 5));
  r.Append("ef");
  EXPECT_STREQ(r.m_szText, "abef");
  r.Append(std::string("\0gh", 3));
  EXPECT_STREQ(r.m_szText, "abef");
}

TEST(AppendReport, ADoubleByteCharacterSplitAcrossChunksIsKept) {
  CReport r;
  std::string strName = "已启用";
  r.Append(strName.substr(0, 3));
  r.Append(strName.substr(3));
  EXPECT_STREQ(r.m_szText, "已启用");
}

TEST(AppendReport, StopsAtCapacityAndNeverWritesPastIt) {
  char szBuffer[REPORT_SIZE + 16];
  memset(szBuffer, 'X', sizeof szBuffer);
  szBuffer[0] = '\0';
  std::string strChunk(700, 'a');
  EXPECT_TRUE(AppendReport(szBuffer, REPORT_SIZE, strChunk.data(), strChunk.size()));
  EXPECT_FALSE(AppendReport(szBuffer, REPORT_SIZE, strChunk.data(), strChunk.size()));
  EXPECT_EQ(strlen(szBuffer), REPORT_SIZE - 1);
  for (size_t i = REPORT_SIZE; i < sizeof szBuffer; ++i) ASSERT_EQ(szBuffer[i], 'X') << i;
}

// The cut must fall between characters, judged from the start of the whole text: a trail byte
// may look like a lead byte, so only a walk from the start tells them apart.
TEST(AppendReport, CutNeverLeavesHalfACharacter) {
  for (size_t nAscii = 0; nAscii < 4; ++nAscii) {
    CReport r;
    r.Append(std::string(nAscii, 'a'));
    std::string strWide;
    while (strWide.size() < REPORT_SIZE) strWide += "启";  // B6 AF... and C6 F4: trail >= 0x81
    EXPECT_FALSE(r.Append(strWide));
    size_t nLength = strlen(r.m_szText);
    EXPECT_EQ((nLength - nAscii) % 2, 0u) << "ascii prefix " << nAscii;
    EXPECT_GE(nLength, REPORT_SIZE - 2);
  }
}

TEST(AppendReport, FullReportTakesNothingMore) {
  CReport r;
  r.Append(std::string(REPORT_SIZE - 1, 'a'));
  EXPECT_FALSE(r.Append("b"));
  EXPECT_EQ(strlen(r.m_szText), REPORT_SIZE - 1);
}

// A cut before a double-byte character leaves one byte free; what follows must not slip in there.
TEST(AppendReport, NothingFollowsACut) {
  CReport r;
  r.Append(std::string(REPORT_SIZE - 4, 'a'));
  EXPECT_FALSE(r.Append("已启"));
  EXPECT_FALSE(r.Append("b"));
  EXPECT_EQ(std::string(r.m_szText), std::string(REPORT_SIZE - 4, 'a') + "已");
}

struct MarkerCase {
  const char* pszReport;
  bool bAdapter, bStarted;
};

void PrintTo(const MarkerCase& c, std::ostream* os) { *os << testing::PrintToString(c.pszReport); }

class Markers : public testing::TestWithParam<MarkerCase> {};

TEST_P(Markers, EachIsFoundOnItsOwnAtACharacterStartAnywhereInTheText) {
  EXPECT_EQ(ReportHasMarker(GetParam().pszReport, kMarkerAdapterEnabled), GetParam().bAdapter);
  EXPECT_EQ(ReportHasMarker(GetParam().pszReport, kMarkerHotspotStarted), GetParam().bStarted);
}

INSTANTIATE_TEST_SUITE_P(
    StatusReports, Markers,
    testing::Values(MarkerCase{"    模式 : 已启用\r\n    状态 : 已启动\r\n", true, true},
                    MarkerCase{"    模式 : 已启用\r\n    状态 : 未启动\r\n", true, false},
                    MarkerCase{"    模式 : 已禁用\r\n    状态 : 已启动\r\n", false, true},
                    MarkerCase{"Mode : Allowed\r\nStatus : Started\r\n", false, false},
                    MarkerCase{"已启", false, false}, MarkerCase{"", false, false},
                    MarkerCase{"x已启动已启用", true, true},
                    // Names whose bytes hold a marker from the middle of a character on:
                    // B0D2 D1C6 F4D3 C3A1 and B0D2 D1C6 F4B6 AF40.
                    MarkerCase{"    SSID 名称 : \"耙哑粲谩\"\r\n", false, false},
                    MarkerCase{"    SSID 名称 : \"耙哑舳疈\"\r\n", false, false},
                    MarkerCase{"a耙哑粲谩已启用", true, false}));

}  // namespace

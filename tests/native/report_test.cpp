#include <gtest/gtest.h>

#include <string.h>

#include <string>

#include "command/commands.h"
#include "command/report.h"

namespace {

struct Report {
  char text[REPORT_SIZE] = {};
  bool Append(const std::string& chunk) {
    return AppendReport(text, sizeof text, chunk.data(), chunk.size());
  }
};

TEST(AppendReport, JoinsPiecesInOrderWithNothingBetween) {
  Report r;
  EXPECT_TRUE(r.Append("承载网络"));
  EXPECT_TRUE(r.Append(""));
  EXPECT_TRUE(r.Append("\r\n状态: 已启动\r\n"));
  EXPECT_STREQ(r.text, "承载网络\r\n状态: 已启动\r\n");
}

TEST(AppendReport, ZeroByteEndsOnlyItsOwnChunk) {
  Report r;
  r.Append(std::string("ab\0cd", 5));
  r.Append("ef");
  EXPECT_STREQ(r.text, "abef");
  r.Append(std::string("\0gh", 3));
  EXPECT_STREQ(r.text, "abef");
}

TEST(AppendReport, ADoubleByteCharacterSplitAcrossChunksIsKept) {
  Report r;
  std::string name = "已启用";
  r.Append(name.substr(0, 3));
  r.Append(name.substr(3));
  EXPECT_STREQ(r.text, "已启用");
}

TEST(AppendReport, StopsAtCapacityAndNeverWritesPastIt) {
  char buffer[REPORT_SIZE + 16];
  memset(buffer, 'X', sizeof buffer);
  buffer[0] = '\0';
  std::string chunk(700, 'a');
  EXPECT_TRUE(AppendReport(buffer, REPORT_SIZE, chunk.data(), chunk.size()));
  EXPECT_FALSE(AppendReport(buffer, REPORT_SIZE, chunk.data(), chunk.size()));
  EXPECT_EQ(strlen(buffer), REPORT_SIZE - 1);
  for (size_t i = REPORT_SIZE; i < sizeof buffer; ++i) ASSERT_EQ(buffer[i], 'X') << i;
}

// The cut must fall between characters, judged from the start of the whole text: a trail byte
// may look like a lead byte, so only a walk from the start tells them apart.
TEST(AppendReport, CutNeverLeavesHalfACharacter) {
  for (size_t ascii = 0; ascii < 4; ++ascii) {
    Report r;
    r.Append(std::string(ascii, 'a'));
    std::string wide;
    while (wide.size() < REPORT_SIZE) wide += "启";  // B6 AF... and C6 F4: trail >= 0x81
    EXPECT_FALSE(r.Append(wide));
    size_t length = strlen(r.text);
    EXPECT_EQ((length - ascii) % 2, 0u) << "ascii prefix " << ascii;
    EXPECT_GE(length, REPORT_SIZE - 2);
  }
}

TEST(AppendReport, FullReportTakesNothingMore) {
  Report r;
  r.Append(std::string(REPORT_SIZE - 1, 'a'));
  EXPECT_FALSE(r.Append("b"));
  EXPECT_EQ(strlen(r.text), REPORT_SIZE - 1);
}

// A cut before a double-byte character leaves one byte free; what follows must not slip in there.
TEST(AppendReport, NothingFollowsACut) {
  Report r;
  r.Append(std::string(REPORT_SIZE - 4, 'a'));
  EXPECT_FALSE(r.Append("已启"));
  EXPECT_FALSE(r.Append("b"));
  EXPECT_EQ(std::string(r.text), std::string(REPORT_SIZE - 4, 'a') + "已");
}

struct MarkerCase {
  const char* report;
  bool adapter, started;
};

void PrintTo(const MarkerCase& c, std::ostream* os) { *os << testing::PrintToString(c.report); }

class Markers : public testing::TestWithParam<MarkerCase> {};

TEST_P(Markers, EachIsFoundOnItsOwnAnywhereInTheText) {
  EXPECT_EQ(ReportHasMarker(GetParam().report, kMarkerAdapterEnabled), GetParam().adapter);
  EXPECT_EQ(ReportHasMarker(GetParam().report, kMarkerHotspotStarted), GetParam().started);
}

INSTANTIATE_TEST_SUITE_P(
    StatusReports, Markers,
    testing::Values(MarkerCase{"    模式 : 已启用\r\n    状态 : 已启动\r\n", true, true},
                    MarkerCase{"    模式 : 已启用\r\n    状态 : 未启动\r\n", true, false},
                    MarkerCase{"    模式 : 已禁用\r\n    状态 : 已启动\r\n", false, true},
                    MarkerCase{"Mode : Allowed\r\nStatus : Started\r\n", false, false},
                    MarkerCase{"已启", false, false}, MarkerCase{"", false, false},
                    MarkerCase{"x已启动已启用", true, true}));

}  // namespace

// Appends the input, cut into chunks, to one report and checks the report after every append
// against what the chunks offered, as the runner does, until the first cut; then settles its
// code page as the runner does. The first byte picks the OEM code page's rule (even: GBK, odd:
// UTF-8); then each chunk is one length byte and up to that many bytes.
#include <stddef.h>
#include <stdint.h>
#include <string.h>

#include <memory>
#include <string>

#include "command/commands.h"
#include "command/report.h"
#include "fuzz_check.h"
#include "tests/gbk_rule.h"

namespace {

constexpr size_t kCanarySize = 64;
constexpr char kCanary = '\xA5';

// Whether a character of the text as written ends at nAt: a sequence broken off by what follows
// is a whole character there, though alone at the end of a text it would look cut short.
bool IsBoundary(const std::string& strText, size_t nAt, CharWidth width) {
  size_t i = 0;
  while (i < nAt) i += width(strText.data() + i, strText.size() - i);
  return i == nAt;
}

bool StartsWith(const std::string& strText, const std::string& strPrefix) {
  return strText.compare(0, strPrefix.size(), strPrefix) == 0;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  char szBuffer[REPORT_SIZE + kCanarySize];
  memset(szBuffer, kCanary, sizeof szBuffer);
  szBuffer[0] = '\0';

  if (size == 0) return 0;
  const CharWidth oemWidth = data[0] % 2 ? Utf8CharWidth : GbkCharWidth;
  std::string strOffered;  // every chunk's bytes up to its first zero byte, in order
  bool bWhole = true;
  size_t nAt = 1;
  while (bWhole && nAt < size) {
    size_t nCount = data[nAt++];
    if (nCount > size - nAt) nCount = size - nAt;
    // A copy of exactly the chunk's size, so that reading past it is caught.
    std::unique_ptr<char[]> pChunk(new char[nCount]);
    memcpy(pChunk.get(), data + nAt, nCount);
    nAt += nCount;

    const std::string strBefore = szBuffer;
    const std::string strPiece(pChunk.get(), strnlen(pChunk.get(), nCount));
    strOffered += strPiece;
    bWhole = AppendReport(szBuffer, REPORT_SIZE, pChunk.get(), nCount);

    for (size_t i = REPORT_SIZE; i < sizeof szBuffer; ++i) CHECK(szBuffer[i] == kCanary);
    CHECK(memchr(szBuffer, 0, REPORT_SIZE) != nullptr);
    const std::string strText = szBuffer;
    // Only what does not fit is dropped.
    CHECK(strText == (bWhole ? strBefore + strPiece : strOffered.substr(0, REPORT_SIZE - 1)));
  }

  const std::string strKept = szBuffer;
  const bool bUtf8 = SettleReportCodePage(szBuffer, !bWhole, oemWidth);
  for (size_t i = REPORT_SIZE; i < sizeof szBuffer; ++i) CHECK(szBuffer[i] == kCanary);
  CHECK(bUtf8 == IsUtf8(strKept.data(), strKept.size(), !bWhole));
  const std::string strText = szBuffer;
  if (bWhole) {
    CHECK(strText == strKept);
    return 0;
  }
  // Cut: the report is full up to its last whole character of the code page it is in.
  const CharWidth width = bUtf8 ? Utf8CharWidth : oemWidth;
  CHECK(StartsWith(strKept, strText));
  CHECK(strText.size() >= REPORT_SIZE - 4);
  CHECK(IsBoundary(strOffered, strText.size(), width));
  // The next character does not fit in the room left, as far as the room shows it.
  const size_t nRoom = REPORT_SIZE - 1 - strText.size();
  CHECK(nRoom == 0 || width(strOffered.data() + strText.size(), nRoom) > nRoom);
  return 0;
}

// Appends the input, cut into chunks, to one report and checks the report after every append
// against what the chunks offered. Each chunk is one length byte and up to that many bytes.
#include <stddef.h>
#include <stdint.h>
#include <string.h>

#include <memory>
#include <string>

#include "command/commands.h"
#include "command/report.h"
#include "fuzz_check.h"

namespace {

constexpr size_t kCanarySize = 64;
constexpr char kCanary = '\xA5';

bool EndsOnWholeCharacter(const std::string& text) {
  size_t i = 0;
  while (i < text.size()) {
    unsigned char c = text[i];
    i += c >= 0x81 && c <= 0xFE ? 2 : 1;
  }
  return i == text.size();
}

bool StartsWith(const std::string& text, const std::string& prefix) {
  return text.compare(0, prefix.size(), prefix) == 0;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  char buffer[REPORT_SIZE + kCanarySize];
  memset(buffer, kCanary, sizeof buffer);
  buffer[0] = '\0';

  std::string offered;  // every chunk's bytes up to its first zero byte, in order
  bool cut = false;
  size_t at = 0;
  while (at < size) {
    size_t count = data[at++];
    if (count > size - at) count = size - at;
    // A copy of exactly the chunk's size, so that reading past it is caught.
    std::unique_ptr<char[]> chunk(new char[count]);
    memcpy(chunk.get(), data + at, count);
    at += count;

    const std::string before = buffer;
    const std::string piece(chunk.get(), strnlen(chunk.get(), count));
    offered += piece;
    const bool whole = AppendReport(buffer, REPORT_SIZE, chunk.get(), count);

    for (size_t i = REPORT_SIZE; i < sizeof buffer; ++i) CHECK(buffer[i] == kCanary);
    CHECK(memchr(buffer, 0, REPORT_SIZE) != nullptr);
    const std::string text = buffer;
    CHECK(text.size() <= REPORT_SIZE - 1);
    CHECK(StartsWith(offered, text));
    if (whole) {
      CHECK(text == before + piece);
    } else {
      cut = true;
      // Only what does not fit is dropped: the report is full up to its last whole character.
      CHECK(text.size() < before.size() + piece.size());
      CHECK(text.size() >= REPORT_SIZE - 2);
    }
    if (cut) CHECK(EndsOnWholeCharacter(text));
  }
  return 0;
}

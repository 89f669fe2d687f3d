// Composes the settings line from a name and a key taken from the input (the name up to the
// first zero byte, the key after it up to the next) and checks the outcome against the rules.
#include <stddef.h>
#include <stdint.h>
#include <string.h>

#include <algorithm>
#include <memory>
#include <string>

#include "command/commands.h"
#include "command/settings_line.h"
#include "fuzz_check.h"

namespace {

constexpr size_t kCanarySize = 64;
constexpr char kCanary = '\xA5';

bool IsUnsafe(const std::string& text) {
  return std::any_of(text.begin(), text.end(), [](char c) {
    return c == '"' || c == '%' || static_cast<unsigned char>(c) < 0x20;
  });
}

// Walks whole GBK characters (a lead byte 0x81-0xFE takes the next byte with it) and asks
// whether the last one is a backslash.
bool EndsWithBackslash(const std::string& text) {
  size_t last = std::string::npos;
  for (size_t i = 0; i < text.size(); ++i) {
    last = i;
    if (static_cast<unsigned char>(text[i]) >= 0x81 && static_cast<unsigned char>(text[i]) <= 0xFE)
      ++i;
  }
  return last == text.size() - 1 && text[last] == '\\';
}

std::string Line(const std::string& name, const std::string& key) {
  return std::string(kCmdSetPrefix) + '"' + name + '"' + " key=" + '"' + key + '"';
}

// What the composition must answer for a line buffer of size bytes.
SettingsCheck Expected(const std::string& name, const std::string& key, size_t size) {
  if (name.empty()) return SettingsCheck::EmptyName;
  if (key.empty()) return SettingsCheck::EmptyKey;
  if (IsUnsafe(name) || IsUnsafe(key)) return SettingsCheck::UnsafeCharacter;
  if (EndsWithBackslash(name) || EndsWithBackslash(key)) return SettingsCheck::TrailingBackslash;
  if (Line(name, key).size() > size - 1) return SettingsCheck::TooLong;
  return SettingsCheck::Ok;
}

bool IsKnown(SettingsCheck check) {
  switch (check) {
    case SettingsCheck::Ok:
    case SettingsCheck::EmptyName:
    case SettingsCheck::EmptyKey:
    case SettingsCheck::UnsafeCharacter:
    case SettingsCheck::TrailingBackslash:
    case SettingsCheck::TooLong: return true;
  }
  return false;
}

// Exact-size copies, so that reading past a terminator is caught.
std::unique_ptr<char[]> CString(const std::string& text) {
  std::unique_ptr<char[]> copy(new char[text.size() + 1]);
  memcpy(copy.get(), text.c_str(), text.size() + 1);
  return copy;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const char* begin = reinterpret_cast<const char*>(data);
  const std::string name(begin, strnlen(begin, size));
  std::string key;
  if (name.size() < size) {
    const char* rest = begin + name.size() + 1;
    key.assign(rest, strnlen(rest, size - name.size() - 1));
  }
  auto cName = CString(name), cKey = CString(key);

  char line[COMMAND_SIZE + kCanarySize];
  memset(line, kCanary, sizeof line);
  const SettingsCheck check = ComposeSettingsLine(cName.get(), cKey.get(), line, COMMAND_SIZE);
  CHECK(IsKnown(check));
  CHECK(check == Expected(name, key, COMMAND_SIZE));
  for (size_t i = COMMAND_SIZE; i < sizeof line; ++i) CHECK(line[i] == kCanary);
  if (check == SettingsCheck::Ok) {
    const std::string text = line;
    CHECK(text == Line(name, key));
    CHECK(text.size() <= COMMAND_SIZE - 1);
    CHECK(text.find('%') == std::string::npos);
    CHECK(std::count(text.begin(), text.end(), '"') == 4);
  } else {
    for (size_t i = 0; i < COMMAND_SIZE; ++i) CHECK(line[i] == kCanary);
  }

  // The size limit is exact whatever the buffer: a line that just fits is taken, one byte less
  // is refused without a write. Heap buffers of those sizes catch any byte written past them.
  const size_t fit = Line(name, key).size() + 1;
  for (size_t bufferSize : {fit, fit - 1}) {
    std::unique_ptr<char[]> exact(new char[bufferSize]);
    memset(exact.get(), kCanary, bufferSize);
    const SettingsCheck atSize =
        ComposeSettingsLine(cName.get(), cKey.get(), exact.get(), bufferSize);
    CHECK(atSize == Expected(name, key, bufferSize));
    if (atSize == SettingsCheck::Ok) CHECK(exact.get() == Line(name, key));
  }
  return 0;
}

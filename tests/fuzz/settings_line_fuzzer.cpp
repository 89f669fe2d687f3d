// Composes the settings line for a fixed system folder from a name and a key taken from the input (the name up to the
// first zero byte, the key after it up to the next) and checks the outcome against the rules.
#include <stddef.h>
#include <stdint.h>
#include <string.h>

#include <algorithm>
#include <memory>
#include <string>

#include "command/commands.h"
#include "command/settings_line.h"
#include "command/utf8.h"
#include "fuzz_check.h"

namespace {

constexpr size_t kCanarySize = 64;
constexpr char kCanary = '\xA5';

// Bytes that are not UTF-8 stand for no character typed.
bool IsUnsafe(const std::string& strText) {
  return std::any_of(strText.begin(), strText.end(),
                     [](char ch) {
                       return ch == '"' || ch == '%' || static_cast<unsigned char>(ch) < 0x20;
                     }) ||
         !IsUtf8(strText.data(), strText.size(), false);
}

// The entries are UTF-8, where no byte of a longer character is a backslash.
bool EndsWithBackslash(const std::string& strText) {
  return !strText.empty() && strText.back() == '\\';
}

// Code page 936's count: ASCII one, another character two, one beyond the basic plane (a lead
// byte 0xF0 or above) four; continuation bytes add nothing.
size_t Counted(const std::string& strText) {
  size_t n = 0;
  for (unsigned char ch : strText) n += ch < 0x80 ? 1 : ch >= 0xF0 ? 4 : ch >= 0xC0 ? 2 : 0;
  return n;
}

const char kSystemDir[] = "C:\\Windows\\system32";

std::string Line(const std::string& strName, const std::string& strKey) {
  const std::string strDir = kSystemDir;
  return '"' + strDir + "\\cmd.exe\" /d /v:off /s /c \"\"" + strDir + "\\netsh.exe\" " +
         kNetshSetPrefix + '"' + strName + '"' + " key=" + '"' + strKey + '"' + '"';
}

// What the composition must answer for a line buffer of nSize bytes.
SettingsCheck Expected(const std::string& strName, const std::string& strKey, size_t nSize) {
  if (strName.empty()) return SettingsCheck::EmptyName;
  if (strKey.empty()) return SettingsCheck::EmptyKey;
  if (IsUnsafe(strName) || IsUnsafe(strKey)) return SettingsCheck::UnsafeCharacter;
  if (EndsWithBackslash(strName) || EndsWithBackslash(strKey))
    return SettingsCheck::TrailingBackslash;
  const std::string strLine = Line(strName, strKey);
  if (Counted(strLine) > COMMAND_LIMIT_GBK_BYTES || strLine.size() > nSize - 1)
    return SettingsCheck::TooLong;
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
std::unique_ptr<char[]> ExactCopy(const std::string& strText) {
  std::unique_ptr<char[]> pCopy(new char[strText.size() + 1]);
  memcpy(pCopy.get(), strText.c_str(), strText.size() + 1);
  return pCopy;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const char* pszBegin = reinterpret_cast<const char*>(data);
  const std::string strName(pszBegin, strnlen(pszBegin, size));
  std::string strKey;
  if (strName.size() < size) {
    const char* pszRest = pszBegin + strName.size() + 1;
    strKey.assign(pszRest, strnlen(pszRest, size - strName.size() - 1));
  }
  auto pName = ExactCopy(strName), pKey = ExactCopy(strKey);

  char szLine[COMMAND_SIZE + kCanarySize];
  memset(szLine, kCanary, sizeof szLine);
  const SettingsCheck check =
      ComposeSettingsLine(kSystemDir, pName.get(), pKey.get(), szLine, COMMAND_SIZE);
  CHECK(IsKnown(check));
  CHECK(check == Expected(strName, strKey, COMMAND_SIZE));
  for (size_t i = COMMAND_SIZE; i < sizeof szLine; ++i) CHECK(szLine[i] == kCanary);
  if (check == SettingsCheck::Ok) {
    const std::string strText = szLine;
    CHECK(strText == Line(strName, strKey));
    CHECK(strText.size() <= COMMAND_SIZE - 1);
    CHECK(strText.find('%') == std::string::npos);
    // The interpreter's path, the outer pair, netsh's path and the two entries.
    CHECK(std::count(strText.begin(), strText.end(), '"') == 10);
  } else {
    for (size_t i = 0; i < COMMAND_SIZE; ++i) CHECK(szLine[i] == kCanary);
  }

  // The size limit is exact whatever the buffer: a line that just fits is taken, one byte less
  // is refused without a write. Heap buffers of those sizes catch any byte written past them.
  const size_t nFit = Line(strName, strKey).size() + 1;
  for (size_t nBufferSize : {nFit, nFit - 1}) {
    std::unique_ptr<char[]> pExact(new char[nBufferSize]);
    memset(pExact.get(), kCanary, nBufferSize);
    const SettingsCheck atSize =
        ComposeSettingsLine(kSystemDir, pName.get(), pKey.get(), pExact.get(), nBufferSize);
    CHECK(atSize == Expected(strName, strKey, nBufferSize));
    if (atSize == SettingsCheck::Ok) CHECK(pExact.get() == Line(strName, strKey));
  }
  return 0;
}

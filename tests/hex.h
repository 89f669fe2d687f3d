// Bytes as pairs of lower-case hex digits, for tests that compare or show binary text.
#pragma once

#include <string>
#include <string_view>

inline std::string Hex(std::string_view svBytes, std::string_view svSeparator = "") {
  static const char kDigits[] = "0123456789abcdef";
  std::string strHex;
  for (unsigned char c : svBytes) {
    if (!strHex.empty()) strHex += svSeparator;
    strHex += {kDigits[c >> 4], kDigits[c & 15]};
  }
  return strHex;
}

// The program's own texts: captions, messages and markers, written in the sources as UTF-8 and
// compiled to code page 936 (GBK) bytes, whatever the system's code pages are.
#pragma once

// A type of their own, so that no GBK text can be taken for one of the UTF-8 texts (command
// lines, entries) that plain char strings carry; the framework converts it where it hands it to
// Windows. Needs no <windows.h>, so that the portable code names its markers with it.
class CGbkText {
 public:
  explicit constexpr CGbkText(const char* pszGbk) : m_pszGbk(pszGbk) {}
  // The GBK bytes, zero-terminated; null for no text.
  constexpr const char* Bytes() const { return m_pszGbk; }

 private:
  const char* m_pszGbk;
};

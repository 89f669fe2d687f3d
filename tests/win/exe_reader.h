// Reads a program file the way Windows finds things in it: the headers, the imported DLLs and
// the resources, decoded into plain values for the exe checks to compare.
#pragma once

#include <string.h>
#include <windows.h>

#include <algorithm>
#include <ostream>
#include <string>
#include <string_view>
#include <tuple>
#include <vector>

// Bounds-checked little-endian reads; running off the end sets m_bBad and yields zeros.
class CByteReader {
 public:
  explicit CByteReader(std::string_view svBytes) : m_svBytes(svBytes) {}

  template <typename T>
  T Read() {
    T value{};
    if (m_nPos + sizeof value > m_svBytes.size()) {
      m_bBad = true;
      m_nPos = m_svBytes.size();
      return value;
    }
    memcpy(&value, m_svBytes.data() + m_nPos, sizeof value);
    m_nPos += sizeof value;
    return value;
  }
  template <typename T>
  T ReadAt(size_t nOffset) {
    m_nPos = nOffset;
    return Read<T>();
  }
  // UTF-16 up to its terminator; the first unit when already read.
  std::wstring ReadText();
  std::wstring ReadText(WORD wFirst);
  // A name or an ordinal, as dialog templates hold menus and window classes; "#n" for ordinals.
  std::wstring ReadNameOrOrdinal();
  void Align() { m_nPos = std::min((m_nPos + 3) & ~size_t{3}, m_svBytes.size()); }
  size_t Left() const { return m_svBytes.size() - m_nPos; }

  std::string_view m_svBytes;
  size_t m_nPos = 0;
  bool m_bBad = false;
};

struct PeSection {
  std::string strName;
  DWORD dwCharacteristics;
  std::string_view svBytes;  // as mapped
};

struct PeHeaders {
  WORD wMachine = 0, wMagic = 0, wSubsystem = 0;
  WORD wCharacteristics = 0, wDllCharacteristics = 0;
  DWORD dwRelocationBytes = 0;
  std::vector<std::string> vecImports;  // the DLLs' names as the file spells them
  std::vector<PeSection> vecSections;
  std::string_view svImage;             // the whole image as mapped
};

using ResourceEntry = std::tuple<std::string, std::string, WORD>;  // type, name, language
// "#n" for an integer id, as ResourceEntry holds them.
std::string ResourceIdText(LPCSTR pszId);

// Position and size in dialog units.
struct Box {
  int x, y, cx, cy;
};
bool operator==(const Box& a, const Box& b);
void PrintTo(const Box& box, std::ostream* os);

struct DialogControl {
  DWORD dwId;
  std::wstring strClass, strText;
  DWORD dwStyle;
  Box box;
  DWORD dwExStyle = 0, dwHelpId = 0;
  WORD wExtraBytes = 0;
};
bool operator==(const DialogControl& a, const DialogControl& b);
void PrintTo(const DialogControl& control, std::ostream* os);

struct DialogTemplate {
  bool bExtended = false;
  DWORD dwHelpId = 0, dwExStyle = 0, dwStyle = 0;
  Box box{};
  std::wstring strMenu, strClass, strCaption;
  WORD wPointSize = 0, wWeight = 0;
  BYTE bItalic = 0, bCharset = 0;
  std::wstring strFace;
  std::vector<DialogControl> vecControls;
  size_t nBytesLeft = 0;  // after the last control: none, or the template was misread
  bool bTruncated = false;
};
DialogTemplate DecodeDialog(std::string_view svBytes);

// One node of a VS_VERSIONINFO tree; a node's length covers its children.
struct VersionNode {
  std::wstring strKey;
  WORD wType = 0, wValueLength = 0;
  std::string_view svValue;
  std::vector<VersionNode> vecChildren;
};
// The whole block as one tree; false when a length disagrees with what it holds or the root
// does not span the block exactly.
bool DecodeVersion(std::string_view svBytes, VersionNode& root);
// A text node's value up to its terminator.
std::wstring VersionText(const VersionNode& node);

#pragma pack(push, 2)
struct IconGroupEntry {
  BYTE bWidth, bHeight, bColours, bReserved;
  WORD wPlanes, wBitCount;
  DWORD dwBytes;
  WORD wId;
};
#pragma pack(pop)

struct IconGroup {
  WORD wReserved = 0, wType = 0;
  std::vector<IconGroupEntry> vecEntries;
  bool bTruncated = false;
};
IconGroup DecodeIconGroup(std::string_view svBytes);

// A 32-bit icon image: its header, then the colour rows and the mask rows, both stored bottom
// row first; coordinates here count rows from the top, as the picture is seen.
class CIconImage {
 public:
  explicit CIconImage(std::string_view svBytes);
  bool IsComplete() const;  // the header's size's colour and mask bytes are all there
  RGBQUAD Pixel(int x, int y) const;
  bool IsMasked(int x, int y) const;

  BITMAPINFOHEADER m_info{};

 private:
  std::string_view m_svBytes;
  int m_nWidth = 0, m_nHeight = 0;
  size_t m_nMaskStride = 0;
};

// The program file loaded as resources, laid out as when it runs.
class CExeFile {
 public:
  explicit CExeFile(const std::string& strPath);
  ~CExeFile();
  CExeFile(const CExeFile&) = delete;
  CExeFile& operator=(const CExeFile&) = delete;

  HMODULE Module() const { return m_hModule; }
  DWORD Error() const { return m_dwError; }
  PeHeaders ReadHeaders() const;
  std::vector<ResourceEntry> ListResources() const;
  // The resource's bytes in the given language; empty when there is none.
  std::string_view Resource(LPCSTR pszType, int nId, WORD wLanguage) const;

 private:
  HMODULE m_hModule = nullptr;
  DWORD m_dwError = 0;
};

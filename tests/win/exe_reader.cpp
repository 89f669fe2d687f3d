#include "exe_reader.h"

#include <gtest/gtest.h>

std::wstring CByteReader::ReadText(WORD wFirst) {
  std::wstring str;
  for (WORD w = wFirst; w != 0 && !m_bBad; w = Read<WORD>()) str += static_cast<wchar_t>(w);
  return str;
}

std::wstring CByteReader::ReadText() { return ReadText(Read<WORD>()); }

std::wstring CByteReader::ReadNameOrOrdinal() {
  WORD wFirst = Read<WORD>();
  if (wFirst == 0xFFFF) return L"#" + std::to_wstring(Read<WORD>());
  return ReadText(wFirst);
}

std::string ResourceIdText(LPCSTR pszId) {
  return IS_INTRESOURCE(pszId) ? "#" + std::to_string(reinterpret_cast<ULONG_PTR>(pszId)) : pszId;
}

bool operator==(const Box& a, const Box& b) {
  return std::tie(a.x, a.y, a.cx, a.cy) == std::tie(b.x, b.y, b.cx, b.cy);
}

void PrintTo(const Box& box, std::ostream* os) {
  *os << "at " << box.x << "," << box.y << " size " << box.cx << "x" << box.cy;
}

bool operator==(const DialogControl& a, const DialogControl& b) {
  auto fields = [](const DialogControl& c) {
    return std::tie(c.dwId, c.strClass, c.strText, c.dwStyle, c.box, c.dwExStyle, c.dwHelpId,
                    c.wExtraBytes);
  };
  return fields(a) == fields(b);
}

void PrintTo(const DialogControl& c, std::ostream* os) {
  *os << "{id " << c.dwId << ", class " << testing::PrintToString(c.strClass) << ", text "
      << testing::PrintToString(c.strText) << ", style 0x" << std::hex << c.dwStyle << std::dec
      << ", " << testing::PrintToString(c.box) << ", exstyle 0x" << std::hex << c.dwExStyle
      << std::dec << ", help " << c.dwHelpId << ", extra " << c.wExtraBytes << "}";
}

DialogTemplate DecodeDialog(std::string_view svBytes) {
  CByteReader r(svBytes);
  DialogTemplate d;
  d.bExtended = r.ReadAt<WORD>(0) == 1 && r.Read<WORD>() == 0xFFFF;
  if (d.bExtended) {
    d.dwHelpId = r.Read<DWORD>();
    d.dwExStyle = r.Read<DWORD>();
    d.dwStyle = r.Read<DWORD>();
  } else {
    r.m_nPos = 0;
    d.dwStyle = r.Read<DWORD>();
    d.dwExStyle = r.Read<DWORD>();
  }
  WORD wCount = r.Read<WORD>();
  auto readBox = [&r] {
    Box box;
    box.x = r.Read<SHORT>();
    box.y = r.Read<SHORT>();
    box.cx = r.Read<SHORT>();
    box.cy = r.Read<SHORT>();
    return box;
  };
  d.box = readBox();
  d.strMenu = r.ReadNameOrOrdinal();
  d.strClass = r.ReadNameOrOrdinal();
  d.strCaption = r.ReadText();
  if (d.dwStyle & DS_SETFONT) {
    d.wPointSize = r.Read<WORD>();
    if (d.bExtended) {
      d.wWeight = r.Read<WORD>();
      d.bItalic = r.Read<BYTE>();
      d.bCharset = r.Read<BYTE>();
    }
    d.strFace = r.ReadText();
  }
  for (WORD i = 0; i < wCount && !r.m_bBad; ++i) {
    r.Align();
    DialogControl c{};
    if (d.bExtended) {
      c.dwHelpId = r.Read<DWORD>();
      c.dwExStyle = r.Read<DWORD>();
      c.dwStyle = r.Read<DWORD>();
      c.box = readBox();
      c.dwId = r.Read<DWORD>();
    } else {
      c.dwStyle = r.Read<DWORD>();
      c.dwExStyle = r.Read<DWORD>();
      c.box = readBox();
      c.dwId = r.Read<WORD>();
    }
    c.strClass = r.ReadNameOrOrdinal();
    c.strText = r.ReadNameOrOrdinal();
    c.wExtraBytes = r.Read<WORD>();
    r.m_nPos = std::min(r.m_nPos + c.wExtraBytes, svBytes.size());
    d.vecControls.push_back(c);
  }
  d.nBytesLeft = r.Left();
  d.bTruncated = r.m_bBad;
  return d;
}

namespace {

// Reads the node at r.m_nPos, which must end by nLimit, and leaves r.m_nPos at its end.
bool ReadVersionNode(CByteReader& r, size_t nLimit, VersionNode& node) {
  size_t nStart = r.m_nPos;
  size_t nEnd = nStart + r.Read<WORD>();
  node.wValueLength = r.Read<WORD>();
  node.wType = r.Read<WORD>();
  node.strKey = r.ReadText();
  r.Align();
  size_t nValueBytes = node.wType == 1 ? node.wValueLength * 2u : node.wValueLength;
  if (r.m_bBad || nEnd > nLimit || r.m_nPos + nValueBytes > nEnd) return false;
  node.svValue = r.m_svBytes.substr(r.m_nPos, nValueBytes);
  r.m_nPos += nValueBytes;
  for (r.Align(); r.m_nPos < nEnd; r.Align()) {
    node.vecChildren.emplace_back();
    if (!ReadVersionNode(r, nEnd, node.vecChildren.back())) return false;
  }
  bool bEndsInPadding = r.m_nPos - nEnd < 4;
  r.m_nPos = nEnd;
  return bEndsInPadding;
}

}  // namespace

bool DecodeVersion(std::string_view svBytes, VersionNode& root) {
  CByteReader r(svBytes);
  return ReadVersionNode(r, svBytes.size(), root) && r.m_nPos == svBytes.size();
}

std::wstring VersionText(const VersionNode& node) {
  std::wstring str(node.svValue.size() / 2, L'\0');
  if (!str.empty()) memcpy(&str[0], node.svValue.data(), str.size() * 2);
  return str.substr(0, str.find(L'\0'));
}

IconGroup DecodeIconGroup(std::string_view svBytes) {
  CByteReader r(svBytes);
  IconGroup group;
  group.wReserved = r.Read<WORD>();
  group.wType = r.Read<WORD>();
  WORD wCount = r.Read<WORD>();
  for (WORD i = 0; i < wCount && !r.m_bBad; ++i)
    group.vecEntries.push_back(r.Read<IconGroupEntry>());
  group.bTruncated = r.m_bBad || r.Left() != 0;
  return group;
}

CIconImage::CIconImage(std::string_view svBytes) : m_svBytes(svBytes) {
  m_info = CByteReader(svBytes).Read<BITMAPINFOHEADER>();
  m_nWidth = m_info.biWidth;
  m_nHeight = m_info.biHeight / 2;  // the colour rows, then as many mask rows
  m_nMaskStride = (m_nWidth + 31) / 32 * 4;
}

bool CIconImage::IsComplete() const {
  if (m_info.biSize != sizeof m_info || m_info.biBitCount != 32 || m_nWidth <= 0 || m_nHeight <= 0)
    return false;
  size_t nBytes = sizeof m_info + size_t(m_nWidth) * m_nHeight * 4 + m_nMaskStride * m_nHeight;
  return m_svBytes.size() == nBytes;
}

RGBQUAD CIconImage::Pixel(int x, int y) const {
  size_t nOffset = sizeof m_info + (size_t(m_nHeight - 1 - y) * m_nWidth + x) * 4;
  return CByteReader(m_svBytes).ReadAt<RGBQUAD>(nOffset);
}

bool CIconImage::IsMasked(int x, int y) const {
  size_t nMask = sizeof m_info + size_t(m_nWidth) * m_nHeight * 4;
  BYTE bBits =
      CByteReader(m_svBytes).ReadAt<BYTE>(nMask + (m_nHeight - 1 - y) * m_nMaskStride + x / 8);
  return bBits & (0x80 >> (x % 8));
}

CExeFile::CExeFile(const std::string& strPath) {
  m_hModule = LoadLibraryExA(strPath.c_str(), nullptr,
                             LOAD_LIBRARY_AS_DATAFILE | LOAD_LIBRARY_AS_IMAGE_RESOURCE);
  if (!m_hModule) m_dwError = GetLastError();
}

CExeFile::~CExeFile() {
  if (m_hModule) FreeLibrary(m_hModule);
}

// LOAD_LIBRARY_AS_IMAGE_RESOURCE lays the sections out as when the program runs: an address in
// the image is its offset from the base, which the loader marks in the handle's low bits.
PeHeaders CExeFile::ReadHeaders() const {
  PeHeaders pe;
  if (!m_hModule) return pe;
  auto pBase =
      reinterpret_cast<const char*>(reinterpret_cast<ULONG_PTR>(m_hModule) & ~ULONG_PTR{3});
  CByteReader r({pBase, sizeof(IMAGE_DOS_HEADER)});
  auto dos = r.Read<IMAGE_DOS_HEADER>();
  if (dos.e_magic != IMAGE_DOS_SIGNATURE) return pe;
  size_t nNt = dos.e_lfanew;
  r.m_svBytes = {pBase, nNt + sizeof(IMAGE_NT_HEADERS64)};  // the larger kind; both in page one
  if (r.ReadAt<DWORD>(nNt) != IMAGE_NT_SIGNATURE) return pe;
  auto file = r.Read<IMAGE_FILE_HEADER>();
  pe.wMachine = file.Machine;
  pe.wCharacteristics = file.Characteristics;
  size_t nOptional = r.m_nPos;
  pe.wMagic = r.Read<WORD>();
  IMAGE_DATA_DIRECTORY imports{};
  auto take = [&](const auto& optional) {
    pe.wSubsystem = optional.Subsystem;
    pe.wDllCharacteristics = optional.DllCharacteristics;
    pe.dwRelocationBytes = optional.DataDirectory[IMAGE_DIRECTORY_ENTRY_BASERELOC].Size;
    imports = optional.DataDirectory[IMAGE_DIRECTORY_ENTRY_IMPORT];
    r.m_svBytes = {pBase, optional.SizeOfImage};
  };
  if (pe.wMagic == IMAGE_NT_OPTIONAL_HDR32_MAGIC)
    take(r.ReadAt<IMAGE_OPTIONAL_HEADER32>(nOptional));
  if (pe.wMagic == IMAGE_NT_OPTIONAL_HDR64_MAGIC)
    take(r.ReadAt<IMAGE_OPTIONAL_HEADER64>(nOptional));
  for (size_t d = imports.VirtualAddress; d != 0; d += sizeof(IMAGE_IMPORT_DESCRIPTOR)) {
    auto import = r.ReadAt<IMAGE_IMPORT_DESCRIPTOR>(d);
    if (r.m_bBad || import.Name == 0 || import.Name >= r.m_svBytes.size()) break;
    std::string_view svRest = r.m_svBytes.substr(import.Name);
    pe.vecImports.emplace_back(svRest.substr(0, svRest.find('\0')));
  }
  pe.svImage = r.m_svBytes;
  size_t nSection = nOptional + file.SizeOfOptionalHeader;
  for (WORD i = 0; i < file.NumberOfSections; ++i, nSection += sizeof(IMAGE_SECTION_HEADER)) {
    auto section = r.ReadAt<IMAGE_SECTION_HEADER>(nSection);
    if (r.m_bBad) break;
    const char* pszName = reinterpret_cast<const char*>(section.Name);
    size_t nMapped = std::min<size_t>(section.Misc.VirtualSize, section.SizeOfRawData);
    pe.vecSections.push_back({std::string(pszName, strnlen(pszName, sizeof section.Name)),
                              section.Characteristics,
                              pe.svImage.substr(std::min<size_t>(section.VirtualAddress,
                                                                 pe.svImage.size()),
                                                nMapped)});
  }
  return pe;
}

namespace {

BOOL CALLBACK AddLanguage(HMODULE, LPCSTR pszType, LPCSTR pszName, WORD wLanguage, LONG_PTR lOut) {
  reinterpret_cast<std::vector<ResourceEntry>*>(lOut)->emplace_back(
      ResourceIdText(pszType), ResourceIdText(pszName), wLanguage);
  return TRUE;
}

BOOL CALLBACK AddName(HMODULE hModule, LPCSTR pszType, LPSTR pszName, LONG_PTR lOut) {
  return EnumResourceLanguagesA(hModule, pszType, pszName, AddLanguage, lOut);
}

BOOL CALLBACK AddType(HMODULE hModule, LPSTR pszType, LONG_PTR lOut) {
  return EnumResourceNamesA(hModule, pszType, AddName, lOut);
}

}  // namespace

std::vector<ResourceEntry> CExeFile::ListResources() const {
  std::vector<ResourceEntry> vecFound;
  if (m_hModule && !EnumResourceTypesA(m_hModule, AddType, reinterpret_cast<LONG_PTR>(&vecFound)))
    ADD_FAILURE() << "EnumResourceTypesA: error " << GetLastError();
  std::sort(vecFound.begin(), vecFound.end());
  return vecFound;
}

std::string_view CExeFile::Resource(LPCSTR pszType, int nId, WORD wLanguage) const {
  HRSRC hFound = FindResourceExA(m_hModule, pszType, MAKEINTRESOURCEA(nId), wLanguage);
  if (!hFound) return {};
  HGLOBAL hLoaded = LoadResource(m_hModule, hFound);
  const void* pData = hLoaded ? LockResource(hLoaded) : nullptr;
  if (!pData) return {};
  return {static_cast<const char*>(pData), SizeofResource(m_hModule, hFound)};
}

// Checks of the program file itself: the machine it runs on, the DLLs it needs, and every
// resource byte for byte, found the way Windows finds them.
#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <sstream>
#include <string>
#include <string_view>
#include <tuple>
#include <vector>

#include "exe_reader.h"
#include "resource.h"

#ifndef VENTORA_EXE_MACHINE
#define VENTORA_EXE_MACHINE \
  (sizeof(void*) == 8 ? IMAGE_FILE_MACHINE_AMD64 : IMAGE_FILE_MACHINE_I386)
#endif
#ifndef VENTORA_EXE_SUITE
#define VENTORA_EXE_SUITE exe_built
#endif

namespace {

const WORD kChinese = MAKELANGID(LANG_CHINESE, SUBLANG_CHINESE_SIMPLIFIED);

// The build hands over a Unix path; Wine shows the Unix root as drive Z:.
std::string ExePath() {
  std::string strPath = VENTORA_EXE_PATH;
  if (strPath.empty() || strPath[0] != '/') return strPath;
  std::replace(strPath.begin(), strPath.end(), '/', '\\');
  return "Z:" + strPath;
}

std::string Lower(std::string str) {
  std::transform(str.begin(), str.end(), str.begin(),
                 [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
  return str;
}

const std::wstring kButton = L"#128", kEdit = L"#129", kStatic = L"#130";
const DWORD kChild = WS_CHILD | WS_VISIBLE;

// The project's version as the version block spells it: "1, 0, 0, 0".
const std::wstring kVersionText = std::to_wstring(VENTORA_VERSION_MAJOR) + L", " +
                                  std::to_wstring(VENTORA_VERSION_MINOR) + L", " +
                                  std::to_wstring(VENTORA_VERSION_PATCH) + L", 0";

struct VersionString {
  std::wstring strKey, strText;
  WORD wLength;  // in UTF-16 units with the terminator; 0 for an empty value, as rc writes it
};
bool operator==(const VersionString& a, const VersionString& b) {
  return std::tie(a.strKey, a.strText, a.wLength) == std::tie(b.strKey, b.strText, b.wLength);
}
void PrintTo(const VersionString& s, std::ostream* os) {
  *os << testing::PrintToString(s.strKey) << " = " << testing::PrintToString(s.strText)
      << " (length " << s.wLength << ")";
}

const std::vector<VersionString> kVersionStrings = {
    {L"Comments", L"", 0},
    {L"CompanyName", L"", 0},
    {L"FileDescription", L"Ventora", 8},
    {L"FileVersion", kVersionText, static_cast<WORD>(kVersionText.size() + 1)},
    {L"InternalName", L"Ventora", 8},
    {L"LegalCopyright", L"Copyright (C) 2026 Ventora", 27},
    {L"LegalTrademarks", L"", 0},
    {L"OriginalFilename", L"Ventora.EXE", 12},
    {L"PrivateBuild", L"", 0},
    {L"ProductName", L"Ventora", 8},
    {L"ProductVersion", kVersionText, static_cast<WORD>(kVersionText.size() + 1)},
    {L"SpecialBuild", L"", 0},
};

// Our own copy of what ships, so that an edit of the committed file shows here.
const char kManifest[] =
    "<?xml version=\"1.0\" encoding=\"UTF-8\" standalone=\"yes\"?>\r\n"
    "<assembly xmlns=\"urn:schemas-microsoft-com:asm.v1\" manifestVersion=\"1.0\">\r\n"
    "<assemblyIdentity version=\"1.0.0.0\" processorArchitecture=\"X86\" "
    "name=\"Ventora.Hotspot\" type=\"win32\"/>\r\n"
    "<trustInfo xmlns=\"urn:schemas-microsoft-com:asm.v3\">\r\n"
    "<security>\r\n"
    "<requestedPrivileges>\r\n"
    "<requestedExecutionLevel level=\"requireAdministrator\" uiAccess=\"false\"/>\r\n"
    "</requestedPrivileges>\r\n"
    "</security>\r\n"
    "</trustInfo>\r\n"
    "</assembly>\r\n";

class ExeFile : public testing::Test {
 protected:
  void SetUp() override {
    ASSERT_NE(m_exe.Module(), nullptr) << ExePath() << ": error " << m_exe.Error();
  }

  // The resource's bytes in Chinese (PRC); empty when there is none.
  std::string_view Resource(LPCSTR pszType, int nId) {
    return m_exe.Resource(pszType, nId, kChinese);
  }

  CExeFile m_exe{ExePath()};
};

using VENTORA_EXE_SUITE = ExeFile;

TEST_F(VENTORA_EXE_SUITE, IsAGuiProgramForTheExpectedMachine) {
  PeHeaders pe = m_exe.ReadHeaders();
  EXPECT_EQ(pe.wMachine, VENTORA_EXE_MACHINE);
  EXPECT_EQ(pe.wMagic, pe.wMachine == IMAGE_FILE_MACHINE_I386 ? IMAGE_NT_OPTIONAL_HDR32_MAGIC
                                                              : IMAGE_NT_OPTIONAL_HDR64_MAGIC);
  EXPECT_EQ(pe.wSubsystem, IMAGE_SUBSYSTEM_WINDOWS_GUI);
}

// What the checkers of elevated programs ask of a program that can give it: ASLR with the
// relocations it needs, no data that can be run or is shared, stack guards and checked copies
// (their run time's messages are in the file only when they are linked in), and no SEH.
TEST_F(VENTORA_EXE_SUITE, IsHardened) {
  PeHeaders pe = m_exe.ReadHeaders();
  EXPECT_TRUE(pe.wDllCharacteristics & IMAGE_DLLCHARACTERISTICS_DYNAMIC_BASE);
  EXPECT_TRUE(pe.wDllCharacteristics & IMAGE_DLLCHARACTERISTICS_NX_COMPAT);
  EXPECT_FALSE(pe.wCharacteristics & IMAGE_FILE_RELOCS_STRIPPED);
  EXPECT_GT(pe.dwRelocationBytes, 0u);
  if (pe.wMachine == IMAGE_FILE_MACHINE_AMD64) {
    EXPECT_TRUE(pe.wDllCharacteristics & IMAGE_DLLCHARACTERISTICS_HIGH_ENTROPY_VA);
  }
  ASSERT_FALSE(pe.vecSections.empty());
  for (const PeSection& section : pe.vecSections) {
    EXPECT_FALSE((section.dwCharacteristics & IMAGE_SCN_MEM_WRITE) &&
                 (section.dwCharacteristics & IMAGE_SCN_MEM_EXECUTE))
        << section.strName;
    EXPECT_FALSE(section.dwCharacteristics & IMAGE_SCN_MEM_SHARED) << section.strName;
  }
  EXPECT_NE(pe.svImage.find("*** stack smashing detected ***"), std::string_view::npos);
  EXPECT_NE(pe.svImage.find("*** buffer overflow detected ***"), std::string_view::npos);
  if (pe.wMachine != IMAGE_FILE_MACHINE_I386) return;

  // A 32-bit image says it registers no exception handlers on the stack, so that none can be
  // forged; its code must then never write the head of the handler chain, fs:[0].
  EXPECT_TRUE(pe.wDllCharacteristics & IMAGE_DLLCHARACTERISTICS_NO_SEH);
  // mov fs:[0], eax; mov fs:[0], r32; mov dword fs:[0], imm32; pop dword fs:[0]
  const std::string_view zero("\0\0\0\0", 4);
  for (const PeSection& section : pe.vecSections) {
    if (!(section.dwCharacteristics & IMAGE_SCN_MEM_EXECUTE)) continue;
    std::string_view code = section.svBytes;
    for (size_t i = 0; i + 7 <= code.size(); ++i) {
      if (code[i] != '\x64') continue;
      auto op = static_cast<unsigned char>(code[i + 1]);
      auto modrm = static_cast<unsigned char>(code[i + 2]);
      bool bWrite = (op == 0xA3 && code.substr(i + 2, 4) == zero) ||
                    ((op == 0x89 || op == 0xC7 || op == 0x8F) && (modrm & 0xC7) == 0x05 &&
                     code.substr(i + 3, 4) == zero);
      EXPECT_FALSE(bWrite) << section.strName << " at offset " << i;
    }
  }
}

// Statically linked: nothing from the toolchain (libstdc++, libgcc, libwinpthread) to ship.
TEST_F(VENTORA_EXE_SUITE, ImportsOnlySystemDlls) {
  std::vector<std::string> vecSystem;
  std::istringstream list(VENTORA_SYSTEM_DLLS);
  for (std::string strDll; list >> strDll;) vecSystem.push_back(Lower(strDll));
  ASSERT_FALSE(vecSystem.empty());
  PeHeaders pe = m_exe.ReadHeaders();
  EXPECT_FALSE(pe.vecImports.empty());
  std::vector<std::string> vecOthers;
  for (const std::string& strDll : pe.vecImports) {
    if (std::find(vecSystem.begin(), vecSystem.end(), Lower(strDll)) == vecSystem.end())
      vecOthers.push_back(strDll);
  }
  EXPECT_EQ(vecOthers, std::vector<std::string>{});
}

// Also rules out a second manifest, such as the toolchain's default one.
TEST_F(VENTORA_EXE_SUITE, HoldsExactlyTheseResourcesAllInChinese) {
  std::vector<ResourceEntry> expected = {
      {ResourceIdText(RT_ICON), "#1", kChinese},
      {ResourceIdText(RT_DIALOG), "#" + std::to_string(IDD_HOTSPOT_DIALOG), kChinese},
      {ResourceIdText(RT_DIALOG), "#" + std::to_string(IDD_SETTINGS_DIALOG), kChinese},
      {ResourceIdText(RT_GROUP_ICON), "#" + std::to_string(IDR_MAINFRAME), kChinese},
      {ResourceIdText(RT_VERSION), "#1", kChinese},
      {ResourceIdText(RT_MANIFEST), "#1", kChinese},
  };
  std::sort(expected.begin(), expected.end());
  EXPECT_EQ(m_exe.ListResources(), expected);
}

TEST_F(VENTORA_EXE_SUITE, IconGroupNamesOne48PixelImage) {
  IconGroup group = DecodeIconGroup(Resource(RT_GROUP_ICON, IDR_MAINFRAME));
  EXPECT_FALSE(group.bTruncated);
  EXPECT_EQ(group.wReserved, 0);
  EXPECT_EQ(group.wType, 1);  // icons, not cursors
  ASSERT_EQ(group.vecEntries.size(), 1u);
  const IconGroupEntry& entry = group.vecEntries[0];
  EXPECT_EQ(entry.bWidth, 48);
  EXPECT_EQ(entry.bHeight, 48);
  EXPECT_EQ(entry.bColours, 0);
  EXPECT_EQ(entry.wPlanes, 1);
  EXPECT_EQ(entry.wBitCount, 32);
  EXPECT_EQ(entry.dwBytes, 9640u);
  EXPECT_EQ(entry.wId, 1);
}

TEST_F(VENTORA_EXE_SUITE, IconImageHasAlphaAndAMaskThatAgrees) {
  std::string_view svImage = Resource(RT_ICON, 1);
  CIconImage image(svImage);
  ASSERT_TRUE(image.IsComplete()) << svImage.size() << " bytes";
  EXPECT_EQ(image.m_info.biWidth, 48);
  EXPECT_EQ(image.m_info.biHeight, 96);  // colour and mask
  EXPECT_EQ(image.m_info.biCompression, static_cast<DWORD>(BI_RGB));

  // The mask must agree with the alpha channel, for whatever draws the icon without alpha.
  for (int y = 0; y < 48; ++y) {
    for (int x = 0; x < 48; ++x)
      ASSERT_EQ(image.IsMasked(x, y), image.Pixel(x, y).rgbReserved == 0)
          << "pixel " << x << "," << y;
  }
  EXPECT_EQ(image.Pixel(0, 0).rgbReserved, 0) << "a corner";
  EXPECT_EQ(image.Pixel(24, 24).rgbReserved, 255) << "the middle";

  HICON hIcon = CreateIconFromResourceEx(reinterpret_cast<PBYTE>(const_cast<char*>(svImage.data())),
                                         svImage.size(), TRUE, 0x00030000, 48, 48, LR_DEFAULTCOLOR);
  EXPECT_NE(hIcon, nullptr) << "error " << GetLastError();
  if (hIcon) DestroyIcon(hIcon);
}

// The green mast stands on its foot: its base bar low in the picture, its tip high, and the
// dark square where each would be were the rows stored the wrong way up.
TEST_F(VENTORA_EXE_SUITE, IconIsUpright) {
  CIconImage image(Resource(RT_ICON, 1));
  ASSERT_TRUE(image.IsComplete());
  auto isGreen = [&image](int x, int y) {
    RGBQUAD px = image.Pixel(x, y);
    return px.rgbGreen > 0xC0 && px.rgbRed < 0x60 && px.rgbReserved == 255;
  };
  const int kFootY = 39, kTipY = 19;
  EXPECT_TRUE(isGreen(24, kFootY)) << "the mast's foot";
  EXPECT_TRUE(isGreen(24, kTipY)) << "the mast's tip";
  EXPECT_FALSE(isGreen(24, 47 - kFootY)) << "above the tip";
  EXPECT_FALSE(isGreen(24, 47 - kTipY)) << "between the legs";
}

TEST_F(VENTORA_EXE_SUITE, PanelTemplateHoldsItsFrameAndButtons) {
  DialogTemplate d = DecodeDialog(Resource(RT_DIALOG, IDD_HOTSPOT_DIALOG));
  EXPECT_TRUE(d.bExtended);
  EXPECT_EQ(d.dwStyle, 0x90C800C0u);
  EXPECT_EQ(d.dwStyle, static_cast<DWORD>(WS_POPUP | WS_VISIBLE | WS_CAPTION | WS_SYSMENU |
                                          DS_MODALFRAME | DS_SETFONT));
  EXPECT_EQ(d.dwExStyle, static_cast<DWORD>(WS_EX_APPWINDOW));
  EXPECT_EQ(d.dwHelpId, 0u);
  EXPECT_EQ(d.box, (Box{0, 0, 151, 185}));
  EXPECT_EQ(d.strMenu, L"");
  EXPECT_EQ(d.strClass, L"");
  EXPECT_EQ(d.strCaption, L"Ventora");
  EXPECT_EQ(d.wPointSize, 10);
  EXPECT_EQ(d.wWeight, 0);
  EXPECT_EQ(d.bItalic, 0);
  EXPECT_EQ(d.bCharset, 1);
  EXPECT_EQ(d.strFace, L"宋体");

  const DWORD button = kChild | WS_TABSTOP | BS_CENTER | BS_VCENTER;
  const std::vector<DialogControl> expected = {
      {IDOK, kButton, L"确定", kChild | WS_TABSTOP | BS_DEFPUSHBUTTON, {94, 162, 50, 16}},
      {IDC_SHOW_STATUS, kButton, L"查看虚拟网卡", button, {36, 20, 80, 20}},
      {IDC_TOGGLE_ADAPTER, kButton, L"启用虚拟网卡", button, {36, 55, 80, 20}},
      {IDC_CONFIGURE, kButton, L"设置无线热点", button, {36, 90, 80, 20}},
      {IDC_TOGGLE_HOTSPOT, kButton, L"开启无线热点", button, {36, 125, 80, 20}},
  };
  EXPECT_EQ(d.vecControls, expected);
  EXPECT_FALSE(d.bTruncated);
  EXPECT_EQ(d.nBytesLeft, 0u);
}

TEST_F(VENTORA_EXE_SUITE, SettingsTemplateHoldsItsFrameAndFields) {
  DialogTemplate d = DecodeDialog(Resource(RT_DIALOG, IDD_SETTINGS_DIALOG));
  EXPECT_FALSE(d.bExtended);
  EXPECT_EQ(d.dwStyle, 0x80C800C0u);
  EXPECT_EQ(d.dwStyle,
            static_cast<DWORD>(WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME | DS_SETFONT));
  EXPECT_EQ(d.dwExStyle, 0u);
  EXPECT_EQ(d.box, (Box{0, 0, 153, 87}));
  EXPECT_EQ(d.strMenu, L"");
  EXPECT_EQ(d.strClass, L"");
  EXPECT_EQ(d.strCaption, L"设置虚拟网卡");
  EXPECT_EQ(d.wPointSize, 10);
  EXPECT_EQ(d.strFace, L"宋体");

  const DWORD edit = kChild | WS_BORDER | WS_TABSTOP | ES_AUTOHSCROLL;
  const DWORD label = kChild | SS_LEFT | WS_GROUP;
  const std::vector<DialogControl> expected = {
      {IDOK, kButton, L"确定", kChild | WS_TABSTOP | BS_DEFPUSHBUTTON, {61, 66, 40, 14}},
      {IDCANCEL, kButton, L"取消", kChild | WS_TABSTOP, {106, 66, 40, 14}},
      {IDC_SSID, kEdit, L"", edit, {53, 17, 79, 12}},
      {IDC_KEY, kEdit, L"", edit, {53, 40, 79, 12}},
      {IDC_SSID_LABEL, kStatic, L"热点名称", label, {16, 19, 33, 8}},
      {IDC_KEY_LABEL, kStatic, L"热点密码", label, {16, 42, 33, 8}},
  };
  EXPECT_EQ(d.vecControls, expected);
  EXPECT_FALSE(d.bTruncated);
  EXPECT_EQ(d.nBytesLeft, 0u);
}

// The tree's shape and every string with its length, read from the raw block.
TEST_F(VENTORA_EXE_SUITE, VersionBlockHoldsTheStringsInOrderAndOneTranslation) {
  VersionNode root;
  ASSERT_TRUE(DecodeVersion(Resource(RT_VERSION, 1), root));
  EXPECT_EQ(root.strKey, L"VS_VERSION_INFO");
  EXPECT_EQ(root.wType, 0);
  ASSERT_EQ(root.svValue.size(), sizeof(VS_FIXEDFILEINFO));
  ASSERT_EQ(root.vecChildren.size(), 2u);

  const VersionNode& strings = root.vecChildren[0];
  EXPECT_EQ(strings.strKey, L"StringFileInfo");
  ASSERT_EQ(strings.vecChildren.size(), 1u);
  const VersionNode& table = strings.vecChildren[0];
  EXPECT_EQ(table.strKey, L"080404b0");
  std::vector<VersionString> vecFound;
  for (const VersionNode& s : table.vecChildren) {
    EXPECT_EQ(s.wType, 1) << testing::PrintToString(s.strKey);
    vecFound.push_back({s.strKey, VersionText(s), s.wValueLength});
  }
  EXPECT_EQ(vecFound, kVersionStrings);

  const VersionNode& vars = root.vecChildren[1];
  EXPECT_EQ(vars.strKey, L"VarFileInfo");
  ASSERT_EQ(vars.vecChildren.size(), 1u);
  EXPECT_EQ(vars.vecChildren[0].strKey, L"Translation");
  EXPECT_EQ(vars.vecChildren[0].wType, 0);
  EXPECT_EQ(vars.vecChildren[0].svValue, std::string_view("\x04\x08\xb0\x04", 4));
}

// The fixed part, as Windows itself reads it from the file.
TEST_F(VENTORA_EXE_SUITE, FixedVersionAsWindowsReadsIt) {
  std::string strPath = ExePath();
  std::wstring wstrPath(strPath.begin(), strPath.end());
  DWORD dwSize = GetFileVersionInfoSizeW(wstrPath.c_str(), nullptr);
  ASSERT_GT(dwSize, 0u) << "error " << GetLastError();
  std::vector<char> block(dwSize);
  ASSERT_TRUE(GetFileVersionInfoW(wstrPath.c_str(), 0, dwSize, block.data()));

  void* pValue = nullptr;
  UINT nLength = 0;
  ASSERT_TRUE(VerQueryValueW(block.data(), L"\\", &pValue, &nLength));
  ASSERT_EQ(nLength, sizeof(VS_FIXEDFILEINFO));
  const auto& fixed = *static_cast<const VS_FIXEDFILEINFO*>(pValue);
  const DWORD dwVersionMS = MAKELONG(VENTORA_VERSION_MINOR, VENTORA_VERSION_MAJOR);
  const DWORD dwVersionLS = MAKELONG(0, VENTORA_VERSION_PATCH);
  EXPECT_EQ(fixed.dwSignature, 0xFEEF04BDu);
  EXPECT_EQ(fixed.dwFileVersionMS, dwVersionMS);
  EXPECT_EQ(fixed.dwFileVersionLS, dwVersionLS);
  EXPECT_EQ(fixed.dwProductVersionMS, dwVersionMS);
  EXPECT_EQ(fixed.dwProductVersionLS, dwVersionLS);
  EXPECT_EQ(fixed.dwFileFlagsMask, 0x3Fu);
  EXPECT_EQ(fixed.dwFileFlags, 0u);
  EXPECT_EQ(fixed.dwFileOS, static_cast<DWORD>(VOS__WINDOWS32));
  EXPECT_EQ(fixed.dwFileType, static_cast<DWORD>(VFT_APP));
  EXPECT_EQ(fixed.dwFileSubtype, 0u);
  EXPECT_EQ(fixed.dwFileDateMS | fixed.dwFileDateLS, 0u);
}

TEST_F(VENTORA_EXE_SUITE, ManifestIsTheCommittedFile) {
  EXPECT_EQ(Resource(RT_MANIFEST, 1), std::string_view(kManifest, sizeof kManifest - 1));
}

}  // namespace

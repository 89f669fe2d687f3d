// Checks of the program file itself: the machine it runs on, the DLLs it needs, and every
// resource byte for byte, found the way Windows finds them.
#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <cstring>
#include <string>
#include <string_view>
#include <tuple>
#include <vector>

#include "resource.h"

#ifndef VENTORA_EXE_MACHINE
#define VENTORA_EXE_MACHINE (sizeof(void *) == 8 ? IMAGE_FILE_MACHINE_AMD64 : IMAGE_FILE_MACHINE_I386)
#endif
#ifndef VENTORA_EXE_SUITE
#define VENTORA_EXE_SUITE exe_built
#endif

namespace {

const WORD kChinese = MAKELANGID(LANG_CHINESE, SUBLANG_CHINESE_SIMPLIFIED);

// The build hands over a Unix path; Wine shows the Unix root as drive Z:.
std::string exePath() {
  std::string path = VENTORA_EXE_PATH;
  if (path.empty() || path[0] != '/') return path;
  std::replace(path.begin(), path.end(), '/', '\\');
  return "Z:" + path;
}

std::wstring widen(const std::string &s) { return std::wstring(s.begin(), s.end()); }

// Bounds-checked little-endian reads; running off the end sets `bad` and yields zeros.
struct Reader {
  std::string_view bytes;
  size_t pos = 0;
  bool bad = false;

  template <typename T> T read() {
    T value{};
    if (pos + sizeof value > bytes.size()) {
      bad = true;
      pos = bytes.size();
      return value;
    }
    std::memcpy(&value, bytes.data() + pos, sizeof value);
    pos += sizeof value;
    return value;
  }
  template <typename T> T at(size_t offset) {
    pos = offset;
    return read<T>();
  }
  std::wstring text(WORD first) {
    std::wstring s;
    for (WORD c = first; c != 0 && !bad; c = read<WORD>()) s += static_cast<wchar_t>(c);
    return s;
  }
  std::wstring text() { return text(read<WORD>()); }
  // A name or an ordinal, as dialog templates hold menus and window classes; "#n" for ordinals.
  std::wstring nameOrOrdinal() {
    WORD first = read<WORD>();
    if (first == 0xFFFF) return L"#" + std::to_wstring(read<WORD>());
    return text(first);
  }
  void align() { pos = std::min((pos + 3) & ~size_t{3}, bytes.size()); }
  size_t left() const { return bytes.size() - pos; }
};

struct PeFile {
  WORD machine = 0, magic = 0, subsystem = 0;
  std::vector<std::string> imports;
};

// Reads a module loaded with LOAD_LIBRARY_AS_IMAGE_RESOURCE, which lays the sections out as
// when the program runs: an address in the image is its offset from the base.
PeFile readPe(HMODULE module) {
  auto base = reinterpret_cast<const char *>(reinterpret_cast<ULONG_PTR>(module) & ~ULONG_PTR{3});
  PeFile pe;
  Reader r{{base, sizeof(IMAGE_DOS_HEADER)}};
  auto dos = r.read<IMAGE_DOS_HEADER>();
  if (dos.e_magic != IMAGE_DOS_SIGNATURE) return pe;
  size_t nt = dos.e_lfanew;
  r.bytes = {base, nt + sizeof(IMAGE_NT_HEADERS64)};  // the larger kind; both lie in the first page
  if (r.at<DWORD>(nt) != IMAGE_NT_SIGNATURE) return pe;
  pe.machine = r.read<IMAGE_FILE_HEADER>().Machine;
  size_t optional = r.pos;
  pe.magic = r.read<WORD>();
  IMAGE_DATA_DIRECTORY imports{};
  auto take = [&](const auto &o) {
    pe.subsystem = o.Subsystem;
    imports = o.DataDirectory[IMAGE_DIRECTORY_ENTRY_IMPORT];
    r.bytes = {base, o.SizeOfImage};
  };
  if (pe.magic == IMAGE_NT_OPTIONAL_HDR32_MAGIC) take(r.at<IMAGE_OPTIONAL_HEADER32>(optional));
  if (pe.magic == IMAGE_NT_OPTIONAL_HDR64_MAGIC) take(r.at<IMAGE_OPTIONAL_HEADER64>(optional));
  for (size_t d = imports.VirtualAddress; d != 0; d += sizeof(IMAGE_IMPORT_DESCRIPTOR)) {
    auto import = r.at<IMAGE_IMPORT_DESCRIPTOR>(d);
    if (r.bad || import.Name == 0 || import.Name >= r.bytes.size()) break;
    std::string_view rest = r.bytes.substr(import.Name);
    pe.imports.emplace_back(rest.substr(0, rest.find('\0')));
  }
  return pe;
}

using ResourceEntry = std::tuple<std::string, std::string, WORD>;  // type, name, language

std::string idText(LPCSTR id) {
  return IS_INTRESOURCE(id) ? "#" + std::to_string(reinterpret_cast<ULONG_PTR>(id)) : id;
}

BOOL CALLBACK addLanguage(HMODULE, LPCSTR type, LPCSTR name, WORD language, LONG_PTR out) {
  reinterpret_cast<std::vector<ResourceEntry> *>(out)->emplace_back(idText(type), idText(name),
                                                                    language);
  return TRUE;
}
BOOL CALLBACK addName(HMODULE module, LPCSTR type, LPSTR name, LONG_PTR out) {
  return EnumResourceLanguagesA(module, type, name, addLanguage, out);
}
BOOL CALLBACK addType(HMODULE module, LPSTR type, LONG_PTR out) {
  return EnumResourceNamesA(module, type, addName, out);
}

// Position and size in dialog units.
struct Box {
  int x, y, cx, cy;
};
bool operator==(const Box &a, const Box &b) {
  return std::tie(a.x, a.y, a.cx, a.cy) == std::tie(b.x, b.y, b.cx, b.cy);
}
void PrintTo(const Box &b, std::ostream *os) {
  *os << "at " << b.x << "," << b.y << " size " << b.cx << "x" << b.cy;
}

struct Control {
  DWORD id;
  std::wstring windowClass, text;
  DWORD style;
  Box box;
  DWORD exStyle = 0, helpId = 0;
  WORD extraBytes = 0;
};
bool operator==(const Control &a, const Control &b) {
  auto fields = [](const Control &c) {
    return std::tie(c.id, c.windowClass, c.text, c.style, c.box, c.exStyle, c.helpId,
                    c.extraBytes);
  };
  return fields(a) == fields(b);
}
void PrintTo(const Control &c, std::ostream *os) {
  *os << "{id " << c.id << ", class " << testing::PrintToString(c.windowClass) << ", text "
      << testing::PrintToString(c.text) << ", style 0x" << std::hex << c.style << std::dec
      << ", " << testing::PrintToString(c.box) << ", exstyle 0x" << std::hex << c.exStyle
      << std::dec << ", help " << c.helpId << ", extra " << c.extraBytes << "}";
}

struct Dialog {
  bool extended = false;
  DWORD helpId = 0, exStyle = 0, style = 0;
  Box box{};
  std::wstring menu, windowClass, caption;
  WORD pointSize = 0, weight = 0;
  BYTE italic = 0, charset = 0;
  std::wstring face;
  std::vector<Control> controls;
  size_t bytesLeft = 0;  // after the last control: none, or the template was misread
  bool truncated = false;
};

Dialog decodeDialog(std::string_view bytes) {
  Reader r{bytes};
  Dialog d;
  d.extended = r.at<WORD>(0) == 1 && r.read<WORD>() == 0xFFFF;
  r.pos = 0;
  if (d.extended) {
    r.pos = 4;
    d.helpId = r.read<DWORD>();
    d.exStyle = r.read<DWORD>();
    d.style = r.read<DWORD>();
  } else {
    d.style = r.read<DWORD>();
    d.exStyle = r.read<DWORD>();
  }
  WORD count = r.read<WORD>();
  auto readBox = [&r] {
    Box b;
    b.x = r.read<SHORT>();
    b.y = r.read<SHORT>();
    b.cx = r.read<SHORT>();
    b.cy = r.read<SHORT>();
    return b;
  };
  d.box = readBox();
  d.menu = r.nameOrOrdinal();
  d.windowClass = r.nameOrOrdinal();
  d.caption = r.text();
  if (d.style & DS_SETFONT) {
    d.pointSize = r.read<WORD>();
    if (d.extended) {
      d.weight = r.read<WORD>();
      d.italic = r.read<BYTE>();
      d.charset = r.read<BYTE>();
    }
    d.face = r.text();
  }
  for (WORD i = 0; i < count && !r.bad; ++i) {
    r.align();
    Control c{};
    if (d.extended) {
      c.helpId = r.read<DWORD>();
      c.exStyle = r.read<DWORD>();
      c.style = r.read<DWORD>();
      c.box = readBox();
      c.id = r.read<DWORD>();
    } else {
      c.style = r.read<DWORD>();
      c.exStyle = r.read<DWORD>();
      c.box = readBox();
      c.id = r.read<WORD>();
    }
    c.windowClass = r.nameOrOrdinal();
    c.text = r.nameOrOrdinal();
    c.extraBytes = r.read<WORD>();
    r.pos = std::min(r.pos + c.extraBytes, bytes.size());
    d.controls.push_back(c);
  }
  d.bytesLeft = r.left();
  d.truncated = r.bad;
  return d;
}

// One node of a VS_VERSIONINFO tree; a node's length covers its children.
struct VersionNode {
  std::wstring key;
  WORD type = 0, valueLength = 0;
  std::string_view value;
  std::vector<VersionNode> children;
};

// Reads the node at r.pos, which must end by `limit`, and leaves r.pos at its end.
bool readVersionNode(Reader &r, size_t limit, VersionNode &node) {
  size_t start = r.pos;
  size_t end = start + r.read<WORD>();
  node.valueLength = r.read<WORD>();
  node.type = r.read<WORD>();
  node.key = r.text();
  r.align();
  size_t valueBytes = node.type == 1 ? node.valueLength * 2u : node.valueLength;
  if (r.bad || end > limit || r.pos + valueBytes > end) return false;
  node.value = r.bytes.substr(r.pos, valueBytes);
  r.pos += valueBytes;
  for (r.align(); r.pos < end; r.align()) {
    node.children.emplace_back();
    if (!readVersionNode(r, end, node.children.back())) return false;
  }
  bool endsInPadding = r.pos - end < 4;
  r.pos = end;
  return endsInPadding;
}

std::wstring versionText(const VersionNode &node) {
  std::wstring s(node.value.size() / 2, L'\0');
  std::memcpy(&s[0], node.value.data(), s.size() * 2);
  return s.substr(0, s.find(L'\0'));
}

const std::wstring kButton = L"#128", kEdit = L"#129", kStatic = L"#130";
const DWORD kChild = WS_CHILD | WS_VISIBLE;

struct VersionString {
  std::wstring key, text;
  WORD length;  // in UTF-16 units with the terminator; 0 for an empty value, as rc writes it
};
bool operator==(const VersionString &a, const VersionString &b) {
  return std::tie(a.key, a.text, a.length) == std::tie(b.key, b.text, b.length);
}
void PrintTo(const VersionString &s, std::ostream *os) {
  *os << testing::PrintToString(s.key) << " = " << testing::PrintToString(s.text) << " (length "
      << s.length << ")";
}

const std::vector<VersionString> kVersionStrings = {
    {L"Comments", L"", 0},
    {L"CompanyName", L"", 0},
    {L"FileDescription", L"Ventora", 8},
    {L"FileVersion", L"1, 0, 0, 0", 11},
    {L"InternalName", L"Ventora", 8},
    {L"LegalCopyright", L"Copyright (C) 2026 Ventora", 27},
    {L"LegalTrademarks", L"", 0},
    {L"OriginalFilename", L"Ventora.EXE", 12},
    {L"PrivateBuild", L"", 0},
    {L"ProductName", L"Ventora", 8},
    {L"ProductVersion", L"1, 0, 0, 0", 11},
    {L"SpecialBuild", L"", 0},
};

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
    module_ = LoadLibraryExA(exePath().c_str(), nullptr,
                             LOAD_LIBRARY_AS_DATAFILE | LOAD_LIBRARY_AS_IMAGE_RESOURCE);
    ASSERT_NE(module_, nullptr) << exePath() << ": error " << GetLastError();
  }
  void TearDown() override {
    if (module_) FreeLibrary(module_);
  }

  // The resource's bytes in Chinese (PRC); empty when there is none.
  std::string_view resource(LPCSTR type, int id) {
    HRSRC found = FindResourceExA(module_, type, MAKEINTRESOURCEA(id), kChinese);
    if (!found) return {};
    HGLOBAL loaded = LoadResource(module_, found);
    return {static_cast<const char *>(LockResource(loaded)), SizeofResource(module_, found)};
  }

  HMODULE module_ = nullptr;
};

using VENTORA_EXE_SUITE = ExeFile;

TEST_F(VENTORA_EXE_SUITE, IsAGuiProgramForTheExpectedMachine) {
  PeFile pe = readPe(module_);
  EXPECT_EQ(pe.machine, VENTORA_EXE_MACHINE);
  EXPECT_EQ(pe.magic, pe.machine == IMAGE_FILE_MACHINE_I386 ? IMAGE_NT_OPTIONAL_HDR32_MAGIC
                                                             : IMAGE_NT_OPTIONAL_HDR64_MAGIC);
  EXPECT_EQ(pe.subsystem, IMAGE_SUBSYSTEM_WINDOWS_GUI);
}

// Statically linked: nothing from the toolchain (libstdc++, libgcc, libwinpthread) to ship.
TEST_F(VENTORA_EXE_SUITE, ImportsOnlySystemDlls) {
  const std::vector<std::string> system = {"kernel32.dll", "user32.dll",   "gdi32.dll",
                                           "advapi32.dll", "shell32.dll",  "comctl32.dll",
                                           "msvcrt.dll"};
  PeFile pe = readPe(module_);
  EXPECT_FALSE(pe.imports.empty());
  std::vector<std::string> others;
  for (std::string dll : pe.imports) {
    std::transform(dll.begin(), dll.end(), dll.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    if (std::find(system.begin(), system.end(), dll) == system.end()) others.push_back(dll);
  }
  EXPECT_EQ(others, std::vector<std::string>{});
}

// Also rules out a second manifest, such as the toolchain's default one.
TEST_F(VENTORA_EXE_SUITE, HoldsExactlyTheseResourcesAllInChinese) {
  std::vector<ResourceEntry> found;
  EnumResourceTypesA(module_, addType, reinterpret_cast<LONG_PTR>(&found));
  std::sort(found.begin(), found.end());
  std::vector<ResourceEntry> expected = {
      {idText(RT_ICON), "#1", kChinese},
      {idText(RT_DIALOG), "#" + std::to_string(IDD_HOTSPOT_DIALOG), kChinese},
      {idText(RT_DIALOG), "#" + std::to_string(IDD_SETTINGS_DIALOG), kChinese},
      {idText(RT_GROUP_ICON), "#" + std::to_string(IDR_MAINFRAME), kChinese},
      {idText(RT_VERSION), "#1", kChinese},
      {idText(RT_MANIFEST), "#1", kChinese},
  };
  std::sort(expected.begin(), expected.end());
  EXPECT_EQ(found, expected);
}

TEST_F(VENTORA_EXE_SUITE, IconIsOne48PixelImageWithAlpha) {
#pragma pack(push, 2)
  struct GroupEntry {
    BYTE width, height, colours, reserved;
    WORD planes, bitCount;
    DWORD bytes;
    WORD id;
  };
#pragma pack(pop)
  Reader group{resource(RT_GROUP_ICON, IDR_MAINFRAME)};
  ASSERT_EQ(group.bytes.size(), 6 + sizeof(GroupEntry));
  EXPECT_EQ(group.read<WORD>(), 0);
  EXPECT_EQ(group.read<WORD>(), 1);  // icons, not cursors
  EXPECT_EQ(group.read<WORD>(), 1);
  auto entry = group.read<GroupEntry>();
  EXPECT_EQ(entry.width, 48);
  EXPECT_EQ(entry.height, 48);
  EXPECT_EQ(entry.colours, 0);
  EXPECT_EQ(entry.planes, 1);
  EXPECT_EQ(entry.bitCount, 32);
  EXPECT_EQ(entry.bytes, 9640u);
  EXPECT_EQ(entry.id, 1);

  std::string_view image = resource(RT_ICON, 1);
  ASSERT_EQ(image.size(), 9640u);
  auto info = Reader{image}.read<BITMAPINFOHEADER>();
  EXPECT_EQ(info.biSize, 40u);
  EXPECT_EQ(info.biWidth, 48);
  EXPECT_EQ(info.biHeight, 96);  // colour and mask
  EXPECT_EQ(info.biBitCount, 32);
  EXPECT_EQ(info.biCompression, static_cast<DWORD>(BI_RGB));

  // The mask must agree with the alpha channel, for whatever draws the icon without alpha.
  auto pixels = reinterpret_cast<const BYTE *>(image.data()) + 40;
  auto mask = pixels + 48 * 48 * 4;
  for (int row = 0; row < 48; ++row) {
    for (int x = 0; x < 48; ++x) {
      bool clear = pixels[(row * 48 + x) * 4 + 3] == 0;
      bool masked = mask[row * 8 + x / 8] & (0x80 >> (x % 8));
      ASSERT_EQ(masked, clear) << "pixel " << x << "," << 47 - row;
    }
  }
  EXPECT_EQ(pixels[3], 0) << "a corner";
  EXPECT_EQ(pixels[(24 * 48 + 24) * 4 + 3], 255) << "the middle";

  HICON icon = CreateIconFromResourceEx(
      reinterpret_cast<PBYTE>(const_cast<char *>(image.data())), image.size(), TRUE, 0x00030000,
      48, 48, LR_DEFAULTCOLOR);
  EXPECT_NE(icon, nullptr);
  if (icon) DestroyIcon(icon);
}

TEST_F(VENTORA_EXE_SUITE, HotspotDialogTemplate) {
  Dialog d = decodeDialog(resource(RT_DIALOG, IDD_HOTSPOT_DIALOG));
  EXPECT_TRUE(d.extended);
  EXPECT_EQ(d.style, 0x90C800C0u);
  EXPECT_EQ(d.style, static_cast<DWORD>(WS_POPUP | WS_VISIBLE | WS_CAPTION | WS_SYSMENU |
                                        DS_MODALFRAME | DS_SETFONT));
  EXPECT_EQ(d.exStyle, static_cast<DWORD>(WS_EX_APPWINDOW));
  EXPECT_EQ(d.helpId, 0u);
  EXPECT_EQ(d.box, (Box{0, 0, 151, 185}));
  EXPECT_EQ(d.menu, L"");
  EXPECT_EQ(d.windowClass, L"");
  EXPECT_EQ(d.caption, L"Ventora");
  EXPECT_EQ(d.pointSize, 10);
  EXPECT_EQ(d.weight, 0);
  EXPECT_EQ(d.italic, 0);
  EXPECT_EQ(d.charset, 1);
  EXPECT_EQ(d.face, L"宋体");

  const DWORD button = kChild | WS_TABSTOP | BS_CENTER | BS_VCENTER;
  const std::vector<Control> expected = {
      {IDOK, kButton, L"确定", kChild | WS_TABSTOP | BS_DEFPUSHBUTTON, {94, 162, 50, 16}},
      {IDC_SHOW_STATUS, kButton, L"查看虚拟网卡", button, {36, 20, 80, 20}},
      {IDC_TOGGLE_ADAPTER, kButton, L"启用虚拟网卡", button, {36, 55, 80, 20}},
      {IDC_CONFIGURE, kButton, L"设置无线热点", button, {36, 90, 80, 20}},
      {IDC_TOGGLE_HOTSPOT, kButton, L"开启无线热点", button, {36, 125, 80, 20}},
  };
  EXPECT_EQ(d.controls, expected);
  EXPECT_FALSE(d.truncated);
  EXPECT_EQ(d.bytesLeft, 0u);
}

TEST_F(VENTORA_EXE_SUITE, SettingsDialogTemplate) {
  Dialog d = decodeDialog(resource(RT_DIALOG, IDD_SETTINGS_DIALOG));
  EXPECT_FALSE(d.extended);
  EXPECT_EQ(d.style, 0x80C800C0u);
  EXPECT_EQ(d.style,
            static_cast<DWORD>(WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME | DS_SETFONT));
  EXPECT_EQ(d.exStyle, 0u);
  EXPECT_EQ(d.box, (Box{0, 0, 153, 87}));
  EXPECT_EQ(d.menu, L"");
  EXPECT_EQ(d.windowClass, L"");
  EXPECT_EQ(d.caption, L"设置虚拟网卡");
  EXPECT_EQ(d.pointSize, 10);
  EXPECT_EQ(d.face, L"宋体");

  const DWORD edit = kChild | WS_BORDER | WS_TABSTOP | ES_AUTOHSCROLL;
  const DWORD label = kChild | SS_LEFT | WS_GROUP;
  const std::vector<Control> expected = {
      {IDOK, kButton, L"确定", kChild | WS_TABSTOP | BS_DEFPUSHBUTTON, {61, 66, 40, 14}},
      {IDCANCEL, kButton, L"取消", kChild | WS_TABSTOP, {106, 66, 40, 14}},
      {IDC_SSID, kEdit, L"", edit, {53, 17, 79, 12}},
      {IDC_KEY, kEdit, L"", edit, {53, 40, 79, 12}},
      {IDC_SSID_LABEL, kStatic, L"热点名称", label, {16, 19, 33, 8}},
      {IDC_KEY_LABEL, kStatic, L"热点密码", label, {16, 42, 33, 8}},
  };
  EXPECT_EQ(d.controls, expected);
  EXPECT_FALSE(d.truncated);
  EXPECT_EQ(d.bytesLeft, 0u);
}

// The block's own layout: node kinds, the order of the strings and their lengths.
TEST_F(VENTORA_EXE_SUITE, VersionBlockLayout) {
  Reader r{resource(RT_VERSION, 1)};
  VersionNode root;
  ASSERT_TRUE(readVersionNode(r, r.bytes.size(), root));
  EXPECT_EQ(r.pos, r.bytes.size()) << "the root's length is the block's";
  EXPECT_EQ(root.key, L"VS_VERSION_INFO");
  EXPECT_EQ(root.type, 0);
  ASSERT_EQ(root.value.size(), sizeof(VS_FIXEDFILEINFO));
  ASSERT_EQ(root.children.size(), 2u);

  const VersionNode &strings = root.children[0];
  EXPECT_EQ(strings.key, L"StringFileInfo");
  ASSERT_EQ(strings.children.size(), 1u);
  const VersionNode &table = strings.children[0];
  EXPECT_EQ(table.key, L"080404b0");
  std::vector<VersionString> found;
  for (const VersionNode &s : table.children) {
    EXPECT_EQ(s.type, 1) << testing::PrintToString(s.key);
    found.push_back({s.key, versionText(s), s.valueLength});
  }
  EXPECT_EQ(found, kVersionStrings);

  const VersionNode &vars = root.children[1];
  EXPECT_EQ(vars.key, L"VarFileInfo");
  ASSERT_EQ(vars.children.size(), 1u);
  EXPECT_EQ(vars.children[0].key, L"Translation");
  EXPECT_EQ(vars.children[0].type, 0);
  EXPECT_EQ(vars.children[0].value, std::string_view("\x04\x08\xb0\x04", 4));
}

// What Windows itself reads from the file.
TEST_F(VENTORA_EXE_SUITE, VersionAsWindowsReadsIt) {
  std::wstring path = widen(exePath());
  DWORD size = GetFileVersionInfoSizeW(path.c_str(), nullptr);
  ASSERT_GT(size, 0u);
  std::vector<char> block(size);
  ASSERT_TRUE(GetFileVersionInfoW(path.c_str(), 0, size, block.data()));

  void *value = nullptr;
  UINT length = 0;
  ASSERT_TRUE(VerQueryValueW(block.data(), L"\\", &value, &length));
  ASSERT_EQ(length, sizeof(VS_FIXEDFILEINFO));
  const auto &fixed = *static_cast<const VS_FIXEDFILEINFO *>(value);
  EXPECT_EQ(fixed.dwSignature, 0xFEEF04BDu);
  EXPECT_EQ(fixed.dwFileVersionMS, 0x00010000u);
  EXPECT_EQ(fixed.dwFileVersionLS, 0u);
  EXPECT_EQ(fixed.dwProductVersionMS, 0x00010000u);
  EXPECT_EQ(fixed.dwProductVersionLS, 0u);
  EXPECT_EQ(fixed.dwFileFlagsMask, 0x3Fu);
  EXPECT_EQ(fixed.dwFileFlags, 0u);
  EXPECT_EQ(fixed.dwFileOS, static_cast<DWORD>(VOS__WINDOWS32));
  EXPECT_EQ(fixed.dwFileType, static_cast<DWORD>(VFT_APP));
  EXPECT_EQ(fixed.dwFileSubtype, 0u);
  EXPECT_EQ(fixed.dwFileDateMS | fixed.dwFileDateLS, 0u);

  ASSERT_TRUE(VerQueryValueW(block.data(), L"\\VarFileInfo\\Translation", &value, &length));
  ASSERT_EQ(length, 4u);
  EXPECT_EQ(static_cast<const WORD *>(value)[0], 0x0804);
  EXPECT_EQ(static_cast<const WORD *>(value)[1], 0x04B0);

  for (const VersionString &expected : kVersionStrings) {
    std::wstring key = L"\\StringFileInfo\\080404b0\\" + expected.key;
    ASSERT_TRUE(VerQueryValueW(block.data(), key.c_str(), &value, &length))
        << testing::PrintToString(key);
    std::wstring text = length ? static_cast<const wchar_t *>(value) : L"";
    EXPECT_EQ((VersionString{expected.key, text, static_cast<WORD>(length)}), expected);
  }
}

TEST_F(VENTORA_EXE_SUITE, ManifestIsTheCommittedFile) {
  EXPECT_EQ(resource(RT_MANIFEST, 1), std::string_view(kManifest, sizeof kManifest - 1));
}

}  // namespace

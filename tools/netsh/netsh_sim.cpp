// A stand-in for netsh's hosted-network commands: Wine's netsh has no wlan context. It answers in
// Chinese in its console's code page, as netsh does: the OEM one, GBK on a Chinese Windows and
// UTF-8 with Windows' UTF-8 option, unless the consoles were given their own. It keeps the
// network's state (in GBK) and its logs (in UTF-8, whatever the code pages) in the folder named
// by VENTORA_NETSH_DIR, else in the current folder. Installed as the Wine prefix's own netsh.exe.
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <windows.h>
// After windows.h, which they need.
#include <tlhelp32.h>
#include <winternl.h>

#include "system_variables.h"

namespace {

// The files' paths, in the state folder.
char g_szStateFile[MAX_PATH];
char g_szStateTemp[MAX_PATH];
char g_szLogFile[MAX_PATH];
char g_szCallerLog[MAX_PATH];
// For tests only: a status report no state could give. When this file is in the state folder,
// "show hostednetwork" answers its bytes as they are.
char g_szCannedReport[MAX_PATH];

// Its texts and its state are GBK, so arguments are converted to GBK whatever the ANSI code page
// is.
const UINT kGbk = 936;

const size_t kSsidMax = 32;  // bytes
const size_t kKeyMin = 8;    // characters
const size_t kKeyMax = 63;
const size_t kKeyBytes = 2 * kKeyMax;

struct State {
  bool bAllowed = false;
  bool bRunning = false;
  // False for an adapter whose driver has no hosted network, as on most current laptops.
  bool bDriverSupported = true;
  char szSsid[kSsidMax + 1] = {};
  char szKey[kKeyBytes + 1] = {};
};

// netsh writes in its console's output code page: the OEM one, unless the user gave the consoles
// their own (HKCU\Console\CodePage). Wine's console takes no such setting, so a test names the
// code page it stands for here.
UINT ConsoleCodePage() {
  char text[16];
  DWORD n = GetEnvironmentVariableA("VENTORA_CONSOLE_CODE_PAGE", text, sizeof text);
  UINT nCodePage = n > 0 && n < sizeof text ? strtoul(text, nullptr, 10) : 0;
  if (nCodePage == 0) nCodePage = GetConsoleOutputCP();
  return nCodePage ? nCodePage : GetOEMCP();
}

// Buffered standard output. Written with WriteFile so that no CRT text mode touches the CR LF.
class COutput {
 public:
  COutput() : m_hOutput(GetStdHandle(STD_OUTPUT_HANDLE)), m_nCodePage(ConsoleCodePage()) {}
  ~COutput() { Flush(); }
  COutput(const COutput&) = delete;
  COutput& operator=(const COutput&) = delete;

  // A GBK text of whole characters, written in the console's code page.
  void Put(const char* text, size_t size) {
    if (m_nCodePage == kGbk) {
      PutBytes(text, size);
      return;
    }
    // A GBK byte gives at most one UTF-16 unit, and a unit at most three bytes of UTF-8.
    wchar_t* wide = static_cast<wchar_t*>(malloc(size * sizeof(wchar_t) + 1));
    char* oem = static_cast<char*>(malloc(3 * size + 1));
    int units = wide && oem && size ? MultiByteToWideChar(kGbk, 0, text, static_cast<int>(size),
                                                          wide, static_cast<int>(size))
                                    : 0;
    int bytes = units ? WideCharToMultiByte(m_nCodePage, 0, wide, units, oem,
                                            static_cast<int>(3 * size), nullptr, nullptr)
                      : 0;
    if (size && !bytes) m_bFailed = true;
    PutBytes(oem, bytes);
    free(wide);
    free(oem);
  }
  void PutBytes(const char* text, size_t size) {
    while (size > 0) {
      size_t room = sizeof m_szBuffer - m_nUsed;
      size_t n = size < room ? size : room;
      memcpy(m_szBuffer + m_nUsed, text, n);
      m_nUsed += n;
      text += n;
      size -= n;
      if (m_nUsed == sizeof m_szBuffer) Flush();
    }
  }
  void Put(const char* text) { Put(text, strlen(text)); }
  void Line(const char* text) {
    Put(text);
    Put("\r\n", 2);
  }

  void Flush() {
    const char* p = m_szBuffer;
    // No standard output (a parent without handles) is no error: the effect still happens.
    while (m_nUsed > 0 && m_hOutput != nullptr && m_hOutput != INVALID_HANDLE_VALUE && !m_bFailed) {
      DWORD written = 0;
      if (!WriteFile(m_hOutput, p, static_cast<DWORD>(m_nUsed), &written, nullptr) ||
          written == 0) {
        m_bFailed = true;
        break;
      }
      p += written;
      m_nUsed -= written;
    }
    m_nUsed = 0;
  }
  bool Failed() const { return m_bFailed; }

 private:
  HANDLE m_hOutput;
  UINT m_nCodePage;
  char m_szBuffer[4096];
  size_t m_nUsed = 0;
  bool m_bFailed = false;
};

bool EqualsIgnoreCase(const char* a, const char* b) {
  for (; *a && *b; ++a, ++b) {
    char x = *a >= 'A' && *a <= 'Z' ? *a - 'A' + 'a' : *a;
    char y = *b >= 'A' && *b <= 'Z' ? *b - 'A' + 'a' : *b;
    if (x != y) return false;
  }
  return *a == *b;
}

// The words after the program name, in GBK, and as the log keeps them, in UTF-8. The CRT splits
// the wide command line, as the real netsh's does, so a GBK trail byte is never taken for a
// backslash or a quote.
class CWords {
 public:
  CWords(int argc, wchar_t** argv) {
    m_nCount = argc > 1 ? argc - 1 : 0;
    m_ppszWords = static_cast<char**>(calloc(m_nCount + 1, sizeof(char*)));
    m_ppszUtf8 = static_cast<char**>(calloc(m_nCount + 1, sizeof(char*)));
    if (m_ppszWords == nullptr || m_ppszUtf8 == nullptr) {
      m_nCount = 0;
      m_bOk = false;
      return;
    }
    for (int i = 0; i < m_nCount; ++i) {
      if (!Convert(argv[i + 1], kGbk, &m_ppszWords[i]) ||
          !Convert(argv[i + 1], CP_UTF8, &m_ppszUtf8[i])) {
        m_bOk = false;
        return;
      }
    }
  }
  ~CWords() {
    for (int i = 0; i < m_nCount; ++i) {
      free(m_ppszWords[i]);
      free(m_ppszUtf8[i]);
    }
    free(m_ppszWords);
    free(m_ppszUtf8);
  }
  CWords(const CWords&) = delete;
  CWords& operator=(const CWords&) = delete;

  bool Ok() const { return m_bOk; }
  int Count() const { return m_nCount; }
  const char* operator[](int i) const { return m_ppszWords[i]; }
  bool Is(int i, const char* keyword) const {
    return i < m_nCount && EqualsIgnoreCase(m_ppszWords[i], keyword);
  }

  // The words in UTF-8 joined by single blanks, then CR LF; null when out of memory.
  char* JoinLine() const {
    size_t size = 3;
    for (int i = 0; i < m_nCount; ++i) size += strlen(m_ppszUtf8[i]) + 1;
    char* line = static_cast<char*>(malloc(size));
    if (line == nullptr) return nullptr;
    char* p = line;
    for (int i = 0; i < m_nCount; ++i) {
      if (i > 0) *p++ = ' ';
      size_t n = strlen(m_ppszUtf8[i]);
      memcpy(p, m_ppszUtf8[i], n);
      p += n;
    }
    memcpy(p, "\r\n", 3);
    return line;
  }

 private:
  static bool Convert(const wchar_t* w, UINT nCodePage, char** ppsz) {
    int size = WideCharToMultiByte(nCodePage, 0, w, -1, nullptr, 0, nullptr, nullptr);
    return size > 0 && (*ppsz = static_cast<char*>(malloc(size))) != nullptr &&
           WideCharToMultiByte(nCodePage, 0, w, -1, *ppsz, size, nullptr, nullptr) == size;
  }

  char** m_ppszWords = nullptr;
  char** m_ppszUtf8 = nullptr;
  int m_nCount = 0;
  bool m_bOk = true;
};

// Characters, not bytes: a GBK lead byte and its trail byte are one character.
size_t CountChars(const char* text) {
  size_t n = 0;
  for (const char* p = text; *p; ++p, ++n) {
    if (IsDBCSLeadByteEx(kGbk, static_cast<BYTE>(*p)) && p[1] != '\0') ++p;
  }
  return n;
}

bool WriteAll(HANDLE file, const char* data, DWORD size) {
  while (size > 0) {
    DWORD written = 0;
    if (!WriteFile(file, data, size, &written, nullptr) || written == 0) return false;
    data += written;
    size -= written;
  }
  return true;
}

// FILE_APPEND_DATA alone makes each write land at the end, even with another netsh writing.
bool AppendToFile(const char* path, const char* text) {
  HANDLE file = CreateFileA(path, FILE_APPEND_DATA, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                            OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return false;
  bool ok = WriteAll(file, text, static_cast<DWORD>(strlen(text)));
  return CloseHandle(file) && ok;
}

bool AppendLog(const CWords& words) {
  char* line = words.JoinLine();
  if (line == nullptr) return false;
  bool ok = AppendToFile(g_szLogFile, line);
  free(line);
  return ok;
}

// The command line and the current folder of the process that started this one, read from its
// process block, in UTF-8 with a tab between them; false when they cannot be read.
bool ReadParentCommandLine(char* text, int size) {
  DWORD self = GetCurrentProcessId(), parent = 0;
  HANDLE snapshot = CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0);
  if (snapshot == INVALID_HANDLE_VALUE) return false;
  PROCESSENTRY32 entry = {};
  entry.dwSize = sizeof entry;
  for (BOOL more = Process32First(snapshot, &entry); more; more = Process32Next(snapshot, &entry))
    if (entry.th32ProcessID == self) parent = entry.th32ParentProcessID;
  CloseHandle(snapshot);
  HANDLE process = parent ? OpenProcess(PROCESS_QUERY_INFORMATION | PROCESS_VM_READ, FALSE, parent)
                          : nullptr;
  if (process == nullptr) return false;
  PROCESS_BASIC_INFORMATION info;
  PEB peb;
  RTL_USER_PROCESS_PARAMETERS parameters;
  // winternl.h leaves the current folder in its reserved fields: a UNICODE_STRING (a path that
  // ends in a backslash) after the console's and the standard handles.
  struct Parameters {
    BYTE reserved[16];
    PVOID reserved2[5];
    UNICODE_STRING folder;
  } folder;
  wchar_t line[4096];
  bool ok = NtQueryInformationProcess(process, ProcessBasicInformation, &info, sizeof info,
                                      nullptr) == 0 &&
            ReadProcessMemory(process, info.PebBaseAddress, &peb, sizeof peb, nullptr) &&
            ReadProcessMemory(process, peb.ProcessParameters, &parameters, sizeof parameters,
                              nullptr) &&
            ReadProcessMemory(process, peb.ProcessParameters, &folder, sizeof folder, nullptr) &&
            parameters.CommandLine.Length + folder.folder.Length + 2u < sizeof line &&
            ReadProcessMemory(process, parameters.CommandLine.Buffer, line,
                              parameters.CommandLine.Length, nullptr) &&
            ReadProcessMemory(process, folder.folder.Buffer,
                              line + parameters.CommandLine.Length / sizeof(wchar_t) + 1,
                              folder.folder.Length, nullptr);
  CloseHandle(process);
  if (!ok) return false;
  size_t at = parameters.CommandLine.Length / sizeof(wchar_t);
  line[at] = L'\t';
  line[at + 1 + folder.folder.Length / sizeof(wchar_t)] = L'\0';
  return WideCharToMultiByte(CP_UTF8, 0, line, -1, text, size, nullptr, nullptr) > 0;
}

// One of this netsh's variables in UTF-8: "?" when it cannot be read, and false when it is not
// set. Along PATH netsh would look for a helper DLL missing from the system folder.
bool ReadVariable(const char* name, char* text, int size) {
  wchar_t wideName[64], value[8192];
  MultiByteToWideChar(CP_UTF8, 0, name, -1, wideName, sizeof wideName / sizeof wideName[0]);
  DWORD n = GetEnvironmentVariableW(wideName, value, sizeof value / sizeof value[0]);
  if (n == 0 && GetLastError() == ERROR_ENVVAR_NOT_FOUND) return false;
  if (n == 0 || n >= sizeof value / sizeof value[0] ||
      WideCharToMultiByte(CP_UTF8, 0, value, -1, text, size, nullptr, nullptr) == 0)
    strcpy(text, "?");
  return true;
}

// Whether netsh's console has a window a user could see. Wine's console host, made without a
// window, may still answer with a message-only window, which can never show: only a window of
// the desktop counts. user32 is loaded for that case alone, so that other runs start as before.
bool ConsoleHasWindow() {
  HWND window = GetConsoleWindow();
  if (!window) return false;
  HMODULE user32 = LoadLibraryExW(L"user32.dll", nullptr, LOAD_LIBRARY_SEARCH_SYSTEM32);
  if (!user32) return true;
  using PfnGetAncestor = HWND(WINAPI*)(HWND, UINT);
  using PfnGetDesktopWindow = HWND(WINAPI*)();
  auto getAncestor = reinterpret_cast<PfnGetAncestor>(
      reinterpret_cast<void*>(GetProcAddress(user32, "GetAncestor")));
  auto getDesktopWindow = reinterpret_cast<PfnGetDesktopWindow>(
      reinterpret_cast<void*>(GetProcAddress(user32, "GetDesktopWindow")));
  return !getAncestor || !getDesktopWindow || getAncestor(window, GA_PARENT) == getDesktopWindow();
}

// For tests: how this netsh was started, as its parent's command line, whether its console has
// a window, its parent's current folder, its own PATH, and each of kSystemVariables as
// NAME=VALUE, or NAME alone where it is not set; tab-separated, a line each run.
bool AppendCallerLog() {
  char caller[12 * 1024], line[64 * 1024], value[24 * 1024];
  if (!ReadParentCommandLine(caller, sizeof caller)) strcpy(caller, "?\t?");
  if (!ReadVariable("PATH", value, sizeof value)) value[0] = '\0';
  char* folder = strchr(caller, '\t');
  *folder++ = '\0';
  int length = snprintf(line, sizeof line, "%s\t%s\t%s\t%s", caller,
                        ConsoleHasWindow() ? "console window" : "no console window", folder,
                        value);
  for (const char* name : kSystemVariables) {
    bool set = ReadVariable(name, value, sizeof value);
    if (length > 0 && length < static_cast<int>(sizeof line))
      length += snprintf(line + length, sizeof line - length, "\t%s%s%s", name, set ? "=" : "",
                         set ? value : "");
  }
  if (length <= 0 || length + 3 > static_cast<int>(sizeof line)) return false;
  strcpy(line + length, "\r\n");
  return AppendToFile(g_szCallerLog, line);
}

// Values are stored as hex: a name may hold any byte, a line end included.
void PutHex(char*& p, const char* name, const char* value) {
  static const char digits[] = "0123456789abcdef";
  size_t n = strlen(name);
  memcpy(p, name, n);
  p += n;
  for (const char* v = value; *v; ++v) {
    *p++ = digits[static_cast<BYTE>(*v) >> 4];
    *p++ = digits[static_cast<BYTE>(*v) & 15];
  }
  *p++ = '\r';
  *p++ = '\n';
}

int HexDigit(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

bool GetHex(const char* hex, size_t nHexSize, char* out, size_t nOutMax) {
  if (nHexSize % 2 != 0 || nHexSize / 2 > nOutMax) return false;
  for (size_t i = 0; i < nHexSize; i += 2) {
    int hi = HexDigit(hex[i]), lo = HexDigit(hex[i + 1]);
    if (hi < 0 || lo < 0 || (hi == 0 && lo == 0)) return false;
    *out++ = static_cast<char>(hi << 4 | lo);
  }
  *out = '\0';
  return true;
}

bool ParseState(const char* text, size_t size, State* state) {
  const char* end = text + size;
  for (const char* line = text; line < end;) {
    const char* eol = static_cast<const char*>(memchr(line, '\n', end - line));
    const char* next = eol ? eol + 1 : end;
    if (!eol) eol = end;
    if (eol > line && eol[-1] == '\r') --eol;
    size_t n = eol - line;
    auto is = [&](const char* word) { return n == strlen(word) && memcmp(line, word, n) == 0; };
    auto starts = [&](const char* word) {
      return n >= strlen(word) && memcmp(line, word, strlen(word)) == 0;
    };
    if (is("mode=allow") || is("mode=disallow")) {
      state->bAllowed = is("mode=allow");
    } else if (is("running=1") || is("running=0")) {
      state->bRunning = is("running=1");
    } else if (is("driver=supported") || is("driver=unsupported")) {
      state->bDriverSupported = is("driver=supported");
    } else if (starts("ssid=")) {
      if (!GetHex(line + 5, n - 5, state->szSsid, kSsidMax)) return false;
    } else if (starts("key=")) {
      if (!GetHex(line + 4, n - 4, state->szKey, kKeyBytes)) return false;
    } else if (n != 0) {
      return false;
    }
    line = next;
  }
  return true;
}

// No file is the state of a machine whose hosted network was never set up.
bool LoadState(State* state) {
  // FILE_SHARE_DELETE lets another netsh replace the file while this one reads it.
  HANDLE file = CreateFileA(g_szStateFile, GENERIC_READ,
                            FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                            OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return GetLastError() == ERROR_FILE_NOT_FOUND;
  char text[1024];
  DWORD size = 0;
  bool ok = ReadFile(file, text, sizeof text, &size, nullptr) != 0;
  if (!CloseHandle(file)) ok = false;
  // A full buffer means a file longer than any state this program writes.
  return ok && size < sizeof text && ParseState(text, size, state);
}

bool SaveState(const State& state) {
  char text[512];
  char* p = text;
  const char* mode = state.bAllowed ? "mode=allow\r\n" : "mode=disallow\r\n";
  memcpy(p, mode, strlen(mode));
  p += strlen(mode);
  memcpy(p, state.bRunning ? "running=1\r\n" : "running=0\r\n", 11);
  p += 11;
  // Written only when unsupported, so that every other state keeps the file it always had.
  if (!state.bDriverSupported) {
    memcpy(p, "driver=unsupported\r\n", 20);
    p += 20;
  }
  PutHex(p, "ssid=", state.szSsid);
  PutHex(p, "key=", state.szKey);

  // The whole file is written aside and moved over the old one, so that a reader never sees half.
  HANDLE file = CreateFileA(g_szStateTemp, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                            FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return false;
  bool ok = WriteAll(file, text, static_cast<DWORD>(p - text));
  if (!CloseHandle(file)) ok = false;
  for (int attempt = 0; ok; ++attempt) {
    if (MoveFileExA(g_szStateTemp, g_szStateFile,
                    MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH))
      return true;
    DWORD error = GetLastError();
    // A reader that opened the file without FILE_SHARE_DELETE holds it for a moment.
    if (attempt == 50 || (error != ERROR_ACCESS_DENIED && error != ERROR_SHARING_VIOLATION))
      ok = false;
    else
      Sleep(20);
  }
  DeleteFileA(g_szStateTemp);
  return false;
}

// A line of the report: a label, the blanks that stand between it and its colon in real netsh's
// output, the colon and the value.
void PutField(COutput& out, const char* label, int blanks, const char* value) {
  out.Put(label);
  for (int i = 0; i < blanks; ++i) out.Put(" ", 1);
  out.Put(":");
  out.Line(value);
}

// The settings block and the first lines of the status block are real netsh's, byte for byte
// (Windows 10 1809 and 19043), uneven blanks included.
void ShowHostedNetwork(const State& state, COutput& out) {
  out.Line("");
  out.Line("承载网络设置");
  out.Line("-----------------------");
  PutField(out, "    模式", 19, state.bAllowed ? " 已启用" : " 已禁用");
  // The settings count as never made while the network has no name.
  if (state.szSsid[0] == '\0') {
    PutField(out, "    设置", 14, " <未配置>");
  } else {
    char name[sizeof state.szSsid + 8];
    snprintf(name, sizeof name, "“%s”", state.szSsid);
    PutField(out, "    SSID 名称", 14, name);
    PutField(out, "    最多客户端数", 2, " 100");
    PutField(out, "    身份验证", 9, " WPA2 - 个人");
    PutField(out, "    密码", 17, " CCMP");
  }
  out.Line("");
  out.Line("承载网络状态");
  out.Line("---------------------");
  const char* status = !state.bDriverSupported ? " 不可用" : state.bRunning ? " 已启动" : " 未启动";
  PutField(out, "    状态", 17, status);
  // No paste of the stopped and started states was found: their status words and the started
  // state's lines are the simulator's own, aligned with the status line.
  if (state.bDriverSupported && state.bRunning) {
    PutField(out, "    BSSID", 16, " 02:1a:2b:3c:4d:5e");
    PutField(out, "    无线电类型", 11, " 802.11n");
    PutField(out, "    频道", 17, " 6");
    PutField(out, "    客户端数", 13, " 0");
  }
  out.Line("");
}

// Real netsh lists the driver's many properties; only the hosted-network line is real netsh's
// here, the interface and driver lines stand for the rest.
void ShowDrivers(const State& state, COutput& out) {
  out.Line("");
  out.Line("接口名称: WLAN");
  out.Line("");
  out.Line("    驱动程序                  : Ventora 模拟无线网卡");
  PutField(out, "    支持的承载网络", 2, state.bDriverSupported ? " 是" : " 否");
  out.Line("");
}

enum Exit { kOk = 0, kRefused = 1 };

void ReportNotFound(const CWords& words, COutput& out) {
  out.Put("找不到下列命令: ");
  for (int i = 0; i < words.Count(); ++i) {
    if (i > 0) out.Put(" ");
    out.Put(words[i]);
  }
  out.Line("。");
  out.Line("");
}

// One "set": mode=, ssid=, key= and keyUsage= in any order, each at most once.
struct SetRequest {
  const char* pszMode = nullptr;
  const char* pszSsid = nullptr;
  const char* pszKey = nullptr;
  const char* pszUsage = nullptr;
};

bool ParseSet(const CWords& words, int first, SetRequest* request) {
  for (int i = first; i < words.Count(); ++i) {
    const char* word = words[i];
    const char* eq = strchr(word, '=');
    char name[16];
    size_t n = eq ? eq - word : sizeof name;
    if (n >= sizeof name) return false;
    memcpy(name, word, n);
    name[n] = '\0';
    const char** slot = EqualsIgnoreCase(name, "mode")       ? &request->pszMode
                        : EqualsIgnoreCase(name, "ssid")     ? &request->pszSsid
                        : EqualsIgnoreCase(name, "key")      ? &request->pszKey
                        : EqualsIgnoreCase(name, "keyUsage") ? &request->pszUsage
                                                             : nullptr;
    if (slot == nullptr || *slot != nullptr) return false;
    *slot = eq + 1;
  }
  const char* mode = request->pszMode;
  const char* usage = request->pszUsage;
  return (mode || request->pszSsid || request->pszKey) &&
         (!mode || EqualsIgnoreCase(mode, "allow") || EqualsIgnoreCase(mode, "disallow")) &&
         (!usage || EqualsIgnoreCase(usage, "persistent") || EqualsIgnoreCase(usage, "temporary"));
}

// Both lengths are checked before anything changes, so a refused pair leaves the old one. No paste
// of real netsh's length errors was found: these texts are the simulator's own.
bool CheckLengths(const SetRequest& request, COutput& out) {
  const char* ssid = request.pszSsid;
  bool bBadSsid = ssid && (ssid[0] == '\0' || strlen(ssid) > kSsidMax);
  size_t nKeyChars = request.pszKey ? CountChars(request.pszKey) : 0;
  bool bBadKey = request.pszKey && (nKeyChars < kKeyMin || nKeyChars > kKeyMax);
  if (!bBadSsid && !bBadKey) return true;
  out.Line("无法设置承载网络属性。");
  if (bBadSsid) out.Line("SSID 的长度必须为 1 到 32 个字节。");
  if (bBadKey) out.Line("密钥的长度必须为 8 到 63 个字符。");
  out.Line("");
  return false;
}

void ApplySet(const SetRequest& request, State* state) {
  if (request.pszMode) {
    state->bAllowed = EqualsIgnoreCase(request.pszMode, "allow");
    if (!state->bAllowed) state->bRunning = false;
  }
  if (request.pszSsid) strcpy(state->szSsid, request.pszSsid);
  if (request.pszKey) strcpy(state->szKey, request.pszKey);
}

void ReportSet(const SetRequest& request, COutput& out) {
  if (request.pszMode) {
    out.Line(EqualsIgnoreCase(request.pszMode, "allow") ? "承载网络模式已设置为允许。"
                                                        : "承载网络模式已设置为禁止。");
  }
  if (request.pszSsid) out.Line("已成功更改承载网络的 SSID。");
  if (request.pszKey) out.Line("已成功更改托管网络的用户密钥密码。");
  out.Line("");
}

bool PlaceFile(char* path, const char* folder, const char* name) {
  int n = folder[0] ? snprintf(path, MAX_PATH, "%s\\%s", folder, name)
                    : snprintf(path, MAX_PATH, "%s", name);
  return n > 0 && n < MAX_PATH;
}

bool PlaceFiles() {
  char folder[MAX_PATH] = "";
  DWORD n = GetEnvironmentVariableA("VENTORA_NETSH_DIR", folder, sizeof folder);
  if (n >= sizeof folder) return false;
  return PlaceFile(g_szStateFile, folder, "hostednetwork.state") &&
         PlaceFile(g_szStateTemp, folder, "hostednetwork.state.tmp") &&
         PlaceFile(g_szLogFile, folder, "netsh.log") &&
         PlaceFile(g_szCallerLog, folder, "netsh.caller.log") &&
         PlaceFile(g_szCannedReport, folder, "canned-report.txt");
}

// False when there is no canned report; its bytes go out as they are.
bool ShowCannedReport(COutput& out) {
  HANDLE file = CreateFileA(g_szCannedReport, GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                            FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return false;
  char chunk[4096];
  DWORD got = 0;
  while (ReadFile(file, chunk, sizeof chunk, &got, nullptr) && got > 0) out.PutBytes(chunk, got);
  CloseHandle(file);
  return true;
}

void DelayForTests() {
  char text[16];
  DWORD n = GetEnvironmentVariableA("VENTORA_SIM_DELAY_MS", text, sizeof text);
  if (n == 0 || n >= sizeof text) return;
  char* end = nullptr;
  unsigned long ms = strtoul(text, &end, 10);
  if (*end == '\0' && ms > 0) Sleep(ms > 600000 ? 600000 : static_cast<DWORD>(ms));
}

Exit Run(const CWords& words, COutput& out) {
  bool drivers = words.Is(0, "wlan") && words.Is(1, "show") && words.Is(2, "drivers") &&
                 words.Count() == 3;
  if (!words.Is(0, "wlan") || (!words.Is(2, "hostednetwork") && !drivers)) {
    ReportNotFound(words, out);
    return kRefused;
  }
  SetRequest request;
  bool show = words.Is(1, "show") && words.Is(2, "hostednetwork") && words.Count() == 3;
  bool set = words.Is(1, "set") && ParseSet(words, 3, &request);
  bool start = words.Is(1, "start") && words.Count() == 3;
  bool stop = words.Is(1, "stop") && words.Count() == 3;
  if (!show && !drivers && !set && !start && !stop) {
    ReportNotFound(words, out);
    return kRefused;
  }

  State state;
  if (!LoadState(&state)) {
    out.Line("无法读取承载网络状态。");
    out.Line("");
    return kRefused;
  }
  if (show) {
    if (!ShowCannedReport(out)) ShowHostedNetwork(state, out);
    return kOk;
  }
  if (drivers) {
    ShowDrivers(state, out);
    return kOk;
  }

  if (set) {
    if (!CheckLengths(request, out)) return kRefused;
    ApplySet(request, &state);
  } else if (start) {
    if (!state.bAllowed || !state.bDriverSupported) {
      out.Line("无法启动承载网络。");
      out.Line("组或资源的状态不是执行请求操作的正确状态。");
      out.Line("");
      return kRefused;
    }
    state.bRunning = true;
  } else if (stop) {
    // Said even where the network was not running; then there is nothing to save.
    if (!state.bRunning) {
      out.Line("已停止承载网络。");
      out.Line("");
      return kOk;
    }
    state.bRunning = false;
  }

  if (!SaveState(state)) {
    out.Line("无法保存承载网络状态。");
    out.Line("");
    return kRefused;
  }
  if (set) {
    ReportSet(request, out);
  } else {
    out.Line(start ? "已启动承载网络。" : "已停止承载网络。");
    out.Line("");
  }
  return kOk;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  CWords words(argc, argv);
  COutput out;
  if (!words.Ok()) {
    out.Line("内存不足。");
    return kRefused;
  }
  if (!PlaceFiles()) {
    out.Line("VENTORA_NETSH_DIR 太长。");
    return kRefused;
  }
  // The log is the tests' record of what was asked, so it is written before anything can fail.
  if (!AppendLog(words)) out.Line("无法写入 netsh.log。");
  if (!AppendCallerLog()) out.Line("无法写入 netsh.caller.log。");
  DelayForTests();
  Exit result = Run(words, out);
  out.Flush();
  return out.Failed() ? kRefused : result;
}

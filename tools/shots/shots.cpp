// Takes the documentation's pictures of the real program: run in a fresh folder holding
// Ventora.exe, with the system's netsh simulator keeping its state there, it saves panel.bmp,
// settings.bmp and report.bmp there, each the window as the screen shows it, frame included.
#include <windows.h>

#include <stdio.h>
#include <string.h>

#include <string>

#include "command/commands.h"
#include "resource.h"
#include "tools/drive/app_windows.h"

namespace {

const DWORD kTimeoutMs = 30000;
// Time for a window, once idle, to reach the screen; Wine hands its drawing to X on its own time.
const DWORD kSettleMs = 500;
const char kSettingsTitle[] = "设置虚拟网卡";

bool Report(const char* what) {
  fprintf(stderr, "shots: %s failed (error %lu)\n", what, GetLastError());
  return false;
}

class Gdi {
 public:
  explicit Gdi(HGDIOBJ h) : m_h(h) {}
  ~Gdi() {
    if (m_h) DeleteObject(m_h);
  }
  Gdi(const Gdi&) = delete;
  Gdi& operator=(const Gdi&) = delete;
  operator HGDIOBJ() const { return m_h; }

 private:
  HGDIOBJ m_h;
};

class ScreenDC {
 public:
  ScreenDC() : m_hdc(GetDC(nullptr)) {}
  ~ScreenDC() {
    if (m_hdc) ReleaseDC(nullptr, m_hdc);
  }
  ScreenDC(const ScreenDC&) = delete;
  ScreenDC& operator=(const ScreenDC&) = delete;
  operator HDC() const { return m_hdc; }

 private:
  HDC m_hdc;
};

class MemoryDC {
 public:
  explicit MemoryDC(HDC hdc) : m_hdc(CreateCompatibleDC(hdc)) {}
  ~MemoryDC() {
    if (m_hdc) DeleteDC(m_hdc);
  }
  MemoryDC(const MemoryDC&) = delete;
  MemoryDC& operator=(const MemoryDC&) = delete;
  operator HDC() const { return m_hdc; }

 private:
  HDC m_hdc;
};

class File {
 public:
  explicit File(const char* path)
      : m_h(CreateFileA(path, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr)) {}
  ~File() {
    if (m_h != INVALID_HANDLE_VALUE) CloseHandle(m_h);
  }
  File(const File&) = delete;
  File& operator=(const File&) = delete;
  bool Ok() const { return m_h != INVALID_HANDLE_VALUE; }
  bool Write(const void* data, DWORD size) {
    DWORD written;
    return WriteFile(m_h, data, size, &written, nullptr) && written == size;
  }

 private:
  HANDLE m_h;
};

// Brings the window up, lets it paint, and copies its part of the screen into a .bmp file.
bool Capture(HWND hWnd, const char* path) {
  // Without a window manager Wine draws captions inactive, and may redraw one so as it settles
  // after showing; the user's window is active.
  Sleep(kSettleMs);
  DWORD_PTR result;
  if (!SendMessageTimeoutA(hWnd, WM_NCACTIVATE, TRUE, 0, SMTO_NORMAL, kTimeoutMs, &result))
    return Report("WM_NCACTIVATE");
  if (!RedrawWindow(hWnd, nullptr, nullptr,
                    RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN | RDW_UPDATENOW))
    return Report("RedrawWindow");
  // Answered once everything sent before it, the painting included, is done.
  if (!SendMessageTimeoutA(hWnd, WM_NULL, 0, 0, SMTO_NORMAL, kTimeoutMs, &result))
    return Report("waiting for the window to be idle");
  Sleep(kSettleMs);

  RECT r;
  if (!GetWindowRect(hWnd, &r)) return Report("GetWindowRect");
  const LONG width = r.right - r.left, height = r.bottom - r.top;
  ScreenDC screen;
  if (!screen) return Report("GetDC");
  MemoryDC memory(screen);
  if (!memory) return Report("CreateCompatibleDC");
  BITMAPINFOHEADER header = {};
  header.biSize = sizeof header;
  header.biWidth = width;
  header.biHeight = height;  // bottom-up, as a .bmp file stores it
  header.biPlanes = 1;
  header.biBitCount = 24;
  header.biCompression = BI_RGB;
  void* pBits = nullptr;
  Gdi dib(CreateDIBSection(screen, reinterpret_cast<BITMAPINFO*>(&header), DIB_RGB_COLORS, &pBits,
                           nullptr, 0));
  if (!dib) return Report("CreateDIBSection");
  HGDIOBJ hOld = SelectObject(memory, dib);
  if (!hOld || hOld == HGDI_ERROR) return Report("SelectObject");
  bool copied = BitBlt(memory, 0, 0, width, height, screen, r.left, r.top, SRCCOPY) != 0;
  SelectObject(memory, hOld);
  if (!copied) return Report("BitBlt");
  GdiFlush();

  const DWORD stride = (width * 3 + 3) & ~3u, imageSize = stride * height;
  BITMAPFILEHEADER file = {};
  file.bfType = 0x4D42;  // "BM"
  file.bfOffBits = sizeof file + sizeof header;
  file.bfSize = file.bfOffBits + imageSize;
  header.biSizeImage = imageSize;
  File out(path);
  if (!out.Ok()) return Report(path);
  if (!out.Write(&file, sizeof file) || !out.Write(&header, sizeof header) ||
      !out.Write(pBits, imageSize))
    return Report(path);
  printf("%s: %ldx%ld at %ld,%ld\n", path, width, height, r.left, r.top);
  return true;
}

HWND WaitFor(DWORD pid, HWND hExclude, const char* title) {
  HWND hWnd = WaitForAppWindow(pid, hExclude, title, kTimeoutMs);
  if (!hWnd) fprintf(stderr, "shots: no %s came\n", title ? title : "message box");
  return hWnd;
}

bool Press(HWND hDlg, int id) { return PressButton(hDlg, id) || Report("PostMessage"); }

class App {
 public:
  App() = default;
  App(const App&) = delete;
  App& operator=(const App&) = delete;
  ~App() {
    if (!m_pi.hProcess) return;
    if (WaitForSingleObject(m_pi.hProcess, 0) == WAIT_TIMEOUT) TerminateProcess(m_pi.hProcess, 1);
    CloseHandle(m_pi.hThread);
    CloseHandle(m_pi.hProcess);
  }

  bool Start() {
    char line[] = "Ventora.exe";
    STARTUPINFOA si = {};
    si.cb = sizeof si;
    if (!CreateProcessA(nullptr, line, nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &m_pi))
      return Report("CreateProcess of Ventora.exe");
    m_hPanel = WaitFor(m_pi.dwProcessId, nullptr, "Ventora");
    return m_hPanel != nullptr;
  }

  HWND panel() const { return m_hPanel; }

  HWND WaitForBox() const { return WaitFor(m_pi.dwProcessId, m_hPanel, nullptr); }

  // Presses a panel button and returns the box that follows.
  HWND ClickForBox(int id) const { return Press(m_hPanel, id) ? WaitForBox() : nullptr; }

  HWND ClickForDialog(int id, const char* title) const {
    if (!Press(m_hPanel, id)) return nullptr;
    return WaitFor(m_pi.dwProcessId, m_hPanel, title);
  }

  static bool Dismiss(HWND hDlg, int id) {
    return Press(hDlg, id) &&
           (WaitWindowGone(hDlg, kTimeoutMs) || Report("waiting for a window to close"));
  }

  bool Close() {
    if (!PostMessageA(m_hPanel, WM_CLOSE, 0, 0)) return Report("PostMessage of WM_CLOSE");
    return WaitForSingleObject(m_pi.hProcess, kTimeoutMs) == WAIT_OBJECT_0 ||
           Report("waiting for Ventora to end");
  }

 private:
  PROCESS_INFORMATION m_pi = {};
  HWND m_hPanel = nullptr;
};

int CALLBACK FontFound(const LOGFONTA*, const TEXTMETRICA*, DWORD, LPARAM lParam) {
  *reinterpret_cast<bool*>(lParam) = true;
  return 0;
}

// Wine draws the frames' close box and menu glyphs with Marlett; without it they show letters.
bool HasMarlett() {
  ScreenDC hdc;
  if (!hdc) return Report("GetDC");
  LOGFONTA font = {};
  font.lfCharSet = DEFAULT_CHARSET;
  strcpy(font.lfFaceName, "Marlett");
  bool bFound = false;
  EnumFontFamiliesExA(hdc, &font, FontFound, reinterpret_cast<LPARAM>(&bFound), 0);
  if (!bFound) fprintf(stderr, "shots: Wine has no Marlett font (Debian's fonts-wine)\n");
  return bFound;
}

bool TakeShots() {
  if (!HasMarlett()) return false;
  App app;
  if (!app.Start() || !Capture(app.panel(), "panel.bmp")) return false;

  HWND hDlg = app.ClickForDialog(IDC_CONFIGURE, kSettingsTitle);
  if (!hDlg) return false;
  if (!SetDlgItemTextA(hDlg, IDC_SSID, "Ventora") || !SetDlgItemTextA(hDlg, IDC_KEY, "12345678"))
    return Report("SetDlgItemText");
  if (!Capture(hDlg, "settings.bmp") || !App::Dismiss(hDlg, IDOK)) return false;
  HWND hBox = app.WaitForBox();
  if (!hBox || !App::Dismiss(hBox, IDOK)) return false;

  // Allowed and started first, so that the report shows the named network running.
  for (int id : {IDC_TOGGLE_ADAPTER, IDC_TOGGLE_HOTSPOT}) {
    hBox = app.ClickForBox(id);
    if (!hBox || !App::Dismiss(hBox, IDOK)) return false;
  }
  hBox = app.ClickForBox(IDC_SHOW_STATUS);
  if (!hBox) return false;
  std::string report = MessageBoxText(hBox);
  if (report.find(kMarkerAdapterEnabled) == std::string::npos ||
      report.find(kMarkerHotspotStarted) == std::string::npos ||
      report.find("\"Ventora\"") == std::string::npos) {
    fprintf(stderr, "shots: the report does not show Ventora allowed and started:\n%s\n",
            report.c_str());
    return false;
  }
  return Capture(hBox, "report.bmp") && App::Dismiss(hBox, IDOK) && app.Close();
}

}  // namespace

int main() { return TakeShots() ? 0 : 1; }

// Takes the documentation's pictures of the real program: run in a fresh folder holding
// Ventora.exe, with the system's netsh simulator keeping its state there, it saves panel.bmp,
// settings.bmp and report.bmp there, each the window as the screen shows it, frame included.
// "shots panel FILE" takes only the panel, into FILE; "shots report FILE" the view button's
// report box with the panel around it, in whatever state the simulator is in.
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

bool Report(const char* lpszWhat) {
  fprintf(stderr, "shots: %s failed (error %lu)\n", lpszWhat, GetLastError());
  return false;
}

class CGdiObject {
 public:
  explicit CGdiObject(HGDIOBJ h) : m_h(h) {}
  ~CGdiObject() {
    if (m_h) DeleteObject(m_h);
  }
  CGdiObject(const CGdiObject&) = delete;
  CGdiObject& operator=(const CGdiObject&) = delete;
  operator HGDIOBJ() const { return m_h; }

 private:
  HGDIOBJ m_h;
};

class CScreenDC {
 public:
  CScreenDC() : m_hdc(GetDC(nullptr)) {}
  ~CScreenDC() {
    if (m_hdc) ReleaseDC(nullptr, m_hdc);
  }
  CScreenDC(const CScreenDC&) = delete;
  CScreenDC& operator=(const CScreenDC&) = delete;
  operator HDC() const { return m_hdc; }

 private:
  HDC m_hdc;
};

class CMemoryDC {
 public:
  explicit CMemoryDC(HDC hdc) : m_hdc(CreateCompatibleDC(hdc)) {}
  ~CMemoryDC() {
    if (m_hdc) DeleteDC(m_hdc);
  }
  CMemoryDC(const CMemoryDC&) = delete;
  CMemoryDC& operator=(const CMemoryDC&) = delete;
  operator HDC() const { return m_hdc; }

 private:
  HDC m_hdc;
};

class CBmpFile {
 public:
  explicit CBmpFile(const char* path)
      : m_h(CreateFileA(path, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr)) {}
  ~CBmpFile() {
    if (m_h != INVALID_HANDLE_VALUE) CloseHandle(m_h);
  }
  CBmpFile(const CBmpFile&) = delete;
  CBmpFile& operator=(const CBmpFile&) = delete;
  bool Ok() const { return m_h != INVALID_HANDLE_VALUE; }
  bool Write(const void* data, DWORD size) {
    DWORD written;
    return WriteFile(m_h, data, size, &written, nullptr) && written == size;
  }

 private:
  HANDLE m_h;
};

// Brings the window up, lets it paint, and copies its part of the screen into a .bmp file.
// The window as it shows, with hOwner around it when given, so the picture shows where the
// window stands over its owner.
bool Capture(HWND hWnd, const char* path, HWND hOwner = nullptr) {
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

  RECT r, rcOwner;
  if (!GetWindowRect(hWnd, &r)) return Report("GetWindowRect");
  if (hOwner && (!GetWindowRect(hOwner, &rcOwner) || !UnionRect(&r, &r, &rcOwner)))
    return Report("GetWindowRect of the owner");
  const LONG width = r.right - r.left, height = r.bottom - r.top;
  CScreenDC screen;
  if (!screen) return Report("GetDC");
  CMemoryDC memory(screen);
  if (!memory) return Report("CreateCompatibleDC");
  BITMAPINFOHEADER header = {};
  header.biSize = sizeof header;
  header.biWidth = width;
  header.biHeight = height;  // bottom-up, as a .bmp file stores it
  header.biPlanes = 1;
  header.biBitCount = 24;
  header.biCompression = BI_RGB;
  void* pBits = nullptr;
  CGdiObject dib(CreateDIBSection(screen, reinterpret_cast<BITMAPINFO*>(&header), DIB_RGB_COLORS,
                                  &pBits, nullptr, 0));
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
  CBmpFile out(path);
  if (!out.Ok()) return Report(path);
  if (!out.Write(&file, sizeof file) || !out.Write(&header, sizeof header) ||
      !out.Write(pBits, imageSize))
    return Report(path);
  printf("%s: %ldx%ld at %ld,%ld\n", path, width, height, r.left, r.top);
  return true;
}

// The driver's last failure, said once.
bool ReportApp(const CAppProcess& app) {
  fprintf(stderr, "shots: %s\n", app.Error().c_str());
  return false;
}

HWND Came(HWND hWnd, const char* lpszWhat) {
  if (!hWnd) fprintf(stderr, "shots: no %s came\n", lpszWhat);
  return hWnd;
}

int CALLBACK FontFound(const LOGFONTA*, const TEXTMETRICA*, DWORD, LPARAM lParam) {
  *reinterpret_cast<bool*>(lParam) = true;
  return 0;
}

// Wine draws the frames' close box and menu glyphs with Marlett; without it they show letters.
bool HasMarlett() {
  CScreenDC hdc;
  if (!hdc) return Report("GetDC");
  LOGFONTA font = {};
  font.lfCharSet = DEFAULT_CHARSET;
  strcpy(font.lfFaceName, "Marlett");
  bool bFound = false;
  EnumFontFamiliesExA(hdc, &font, FontFound, reinterpret_cast<LPARAM>(&bFound), 0);
  if (!bFound) fprintf(stderr, "shots: Wine has no Marlett font (Debian's fonts-wine)\n");
  return bFound;
}

enum class Only { Everything, Panel, Report };

bool TakeShots(Only only, const char* lpszFile) {
  if (!HasMarlett()) return false;
  char szFolder[MAX_PATH];
  DWORD dwLength = GetCurrentDirectoryA(sizeof szFolder, szFolder);
  if (!dwLength || dwLength >= sizeof szFolder) return Report("GetCurrentDirectory");
  const std::string strFolder(szFolder, dwLength);
  CAppProcess app;
  if (!app.StartAndWait(strFolder + "\\Ventora.exe", strFolder)) return ReportApp(app);
  if (only == Only::Panel) return (Capture(app.Panel(), lpszFile) && app.Close()) || ReportApp(app);
  if (only == Only::Report) {
    if (!app.Click(IDC_SHOW_STATUS)) return Report("PostMessage");
    HWND hBox = Came(app.WaitForBox(), "message box");
    if (!hBox || !Capture(hBox, lpszFile, app.Panel())) return false;
    return (app.Dismiss(hBox, IDOK) && app.Close()) || ReportApp(app);
  }
  if (!Capture(app.Panel(), "panel.bmp")) return false;

  if (!app.Click(IDC_CONFIGURE)) return Report("PostMessage");
  HWND hDlg = Came(app.WaitForDialog(kSettingsTitle), kSettingsTitle);
  if (!hDlg) return false;
  if (!SetDlgItemTextW(hDlg, IDC_SSID, L"Ventora") ||
      !SetDlgItemTextW(hDlg, IDC_KEY, L"12345678"))
    return Report("SetDlgItemText");
  if (!Capture(hDlg, "settings.bmp", app.Panel())) return false;
  if (!app.Dismiss(hDlg, IDOK)) return ReportApp(app);
  HWND hBox = Came(app.WaitForBox(), "message box");
  if (!hBox || !app.Dismiss(hBox, IDOK)) return hBox && ReportApp(app);

  // Allowed and started first, so that the report shows the named network running.
  for (int nId : {IDC_TOGGLE_ADAPTER, IDC_TOGGLE_HOTSPOT, IDC_SHOW_STATUS}) {
    if (!app.Click(nId)) return Report("PostMessage");
    hBox = Came(app.WaitForBox(), "message box");
    if (!hBox) return false;
    if (nId != IDC_SHOW_STATUS && !app.Dismiss(hBox, IDOK)) return ReportApp(app);
  }
  std::string strReport = MessageBoxText(hBox);
  if (strReport.find(kMarkerAdapterEnabled.Bytes()) == std::string::npos ||
      strReport.find(kMarkerHotspotStarted.Bytes()) == std::string::npos ||
      strReport.find("“Ventora”") == std::string::npos) {
    fprintf(stderr, "shots: the report does not show Ventora allowed and started:\n%s\n",
            strReport.c_str());
    return false;
  }
  if (!Capture(hBox, "report.bmp")) return false;
  return (app.Dismiss(hBox, IDOK) && app.Close()) || ReportApp(app);
}

}  // namespace

int main(int argc, char** argv) {
  if (argc == 1) return TakeShots(Only::Everything, nullptr) ? 0 : 1;
  if (argc == 3 && (!strcmp(argv[1], "panel") || !strcmp(argv[1], "report")))
    return TakeShots(!strcmp(argv[1], "panel") ? Only::Panel : Only::Report, argv[2]) ? 0 : 1;
  fprintf(stderr, "usage: shots [panel FILE | report FILE]\n");
  return 2;
}

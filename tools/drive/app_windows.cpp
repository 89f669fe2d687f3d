#include "app_windows.h"

namespace {

struct Search {
  DWORD pid;
  HWND hExclude;
  const char* title;
  HWND hFound;
};

// A message box's text is its control 0xFFFF.
bool IsMessageBox(HWND hWnd) { return GetDlgItem(hWnd, 0xFFFF) != nullptr; }

BOOL CALLBACK Match(HWND hWnd, LPARAM lParam) {
  auto s = reinterpret_cast<Search*>(lParam);
  DWORD pid = 0;
  char cls[16];
  if (!GetWindowThreadProcessId(hWnd, &pid) || pid != s->pid || hWnd == s->hExclude ||
      !IsWindowVisible(hWnd) || !GetClassNameA(hWnd, cls, sizeof cls) ||
      strcmp(cls, "#32770") != 0)
    return TRUE;
  char title[256] = "";
  GetWindowTextA(hWnd, title, sizeof title);
  bool match = s->title ? strcmp(title, s->title) == 0 && !IsMessageBox(hWnd) : IsMessageBox(hWnd);
  if (!match) return TRUE;
  s->hFound = hWnd;
  return FALSE;
}

}  // namespace

HWND WaitForAppWindow(DWORD pid, HWND hExclude, const char* title, DWORD timeoutMs) {
  for (DWORD start = GetTickCount(); GetTickCount() - start < timeoutMs; Sleep(20)) {
    Search s = {pid, hExclude, title, nullptr};
    EnumWindows(Match, reinterpret_cast<LPARAM>(&s));
    if (s.hFound) return s.hFound;
  }
  return nullptr;
}

bool WaitWindowGone(HWND hWnd, DWORD timeoutMs) {
  for (DWORD start = GetTickCount(); GetTickCount() - start < timeoutMs; Sleep(20))
    if (!IsWindow(hWnd) || !IsWindowVisible(hWnd)) return true;
  return false;
}

bool PressButton(HWND hDlg, int id) {
  return PostMessageA(hDlg, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED),
                      reinterpret_cast<LPARAM>(GetDlgItem(hDlg, id))) != 0;
}

std::string MessageBoxText(HWND hBox) {
  HWND hText = GetDlgItem(hBox, 0xFFFF);
  std::string text(GetWindowTextLengthA(hText) + 1, '\0');
  text.resize(GetWindowTextA(hText, &text[0], static_cast<int>(text.size())));
  return text;
}

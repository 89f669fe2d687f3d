#include "afxwin.h"

#include <stdlib.h>
#include <string.h>

namespace {

CWinApp* g_pApp;
AFX_MESSAGEBOX_HOOK g_pfnMessageBoxHook;
// The message boxes' title: the application's name, or the program's file name without its type.
wchar_t g_szTitle[MAX_PATH];

const AFX_MSGMAP_ENTRY* FindEntry(const AFX_MSGMAP* pMap, UINT message, WPARAM wParam) {
  for (; pMap; pMap = pMap->pfnGetBaseMap ? pMap->pfnGetBaseMap() : nullptr) {
    for (const AFX_MSGMAP_ENTRY* p = pMap->lpEntries; p->pfn || p->pfnQuery; ++p) {
      if (p->nMessage != message) continue;
      if (message != WM_COMMAND || (p->nID == LOWORD(wParam) && p->nCode == HIWORD(wParam)))
        return p;
    }
  }
  return nullptr;
}

// Over the owner, or over the work area of the window's monitor, and never off that work area.
void CenterWindow(HWND hWnd, HWND hOwner) {
  MONITORINFO monitor = {};
  monitor.cbSize = sizeof monitor;
  RECT rect;
  if (!::GetWindowRect(hWnd, &rect) ||
      !::GetMonitorInfoA(::MonitorFromWindow(hOwner ? hOwner : hWnd, MONITOR_DEFAULTTONEAREST),
                         &monitor))
    return;
  const RECT& work = monitor.rcWork;
  RECT over = work;
  if (hOwner && !::GetWindowRect(hOwner, &over)) return;
  int width = rect.right - rect.left, height = rect.bottom - rect.top;
  int x = over.left + (over.right - over.left - width) / 2;
  int y = over.top + (over.bottom - over.top - height) / 2;
  if (x + width > work.right) x = work.right - width;
  if (y + height > work.bottom) y = work.bottom - height;
  if (x < work.left) x = work.left;
  if (y < work.top) y = work.top;
  // Left where the template put it when it cannot move: still shown, only not centred.
  ::SetWindowPos(hWnd, nullptr, x, y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

// The program's file name without its type, read in UTF-16: in an ANSI path the second byte of
// a double-byte character may be 0x5C, as in 淺, and a name may hold characters that the ANSI
// code page lacks.
void TitleFromFileName(wchar_t (&szTitle)[MAX_PATH]) {
  wchar_t path[MAX_PATH];
  DWORD length = ::GetModuleFileNameW(nullptr, path, MAX_PATH);
  if (length == 0 || length >= MAX_PATH) return;
  const wchar_t* name = wcsrchr(path, L'\\');
  lstrcpynW(szTitle, name ? name + 1 : path, MAX_PATH);
  if (wchar_t* dot = wcsrchr(szTitle, L'.')) *dot = L'\0';
}

// Without an icon of the caller's choosing, a box that informs warns and a box that asks asks.
UINT WithDefaultIcon(UINT nType) {
  if (nType & MB_ICONMASK) return nType;
  switch (nType & MB_TYPEMASK) {
    case MB_OK:
    case MB_OKCANCEL: return nType | MB_ICONEXCLAMATION;
    case MB_YESNO:
    case MB_YESNOCANCEL: return nType | MB_ICONQUESTION;
    default: return nType;
  }
}

}  // namespace

CA2W::CA2W(LPCSTR psz, UINT nCodePage) {
  int cch = ::MultiByteToWideChar(nCodePage, 0, psz, -1, nullptr, 0);
  if (cch <= 0) return;
  m_psz = static_cast<LPWSTR>(malloc(cch * sizeof(wchar_t)));
  if (m_psz && ::MultiByteToWideChar(nCodePage, 0, psz, -1, m_psz, cch) != cch) {
    free(m_psz);
    m_psz = nullptr;
  }
}

// The program's texts are GBK whatever the system's code pages are.
CA2W::CA2W(CGbkText text) : CA2W(text.Bytes(), 936) {}

CA2W::~CA2W() { free(m_psz); }

CW2A::CW2A(LPCWSTR psz, UINT nCodePage) {
  // Windows takes the flag for UTF-8 and GB18030 only, and fails the call for any other.
  DWORD dwFlags = nCodePage == CP_UTF8 ? WC_ERR_INVALID_CHARS : 0;
  int cb = ::WideCharToMultiByte(nCodePage, dwFlags, psz, -1, nullptr, 0, nullptr, nullptr);
  if (cb <= 0) return;
  m_psz = static_cast<LPSTR>(malloc(cb));
  if (m_psz &&
      ::WideCharToMultiByte(nCodePage, dwFlags, psz, -1, m_psz, cb, nullptr, nullptr) != cb) {
    free(m_psz);
    m_psz = nullptr;
  }
}

CW2A::~CW2A() { free(m_psz); }

const AFX_MSGMAP* CCmdTarget::GetThisMessageMap() {
  static const AFX_MSGMAP_ENTRY entries[] = {{0, 0, 0, nullptr, nullptr}};
  static const AFX_MSGMAP map = {nullptr, entries};
  return &map;
}

LRESULT CWnd::Default() {
  m_bDefault = true;
  return 0;
}

bool CWnd::OnWndMsg(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult) {
  (void)lParam;
  const AFX_MSGMAP_ENTRY* pEntry = FindEntry(GetMessageMap(), message, wParam);
  if (!pEntry) return false;

  // A handler may run a modal loop that dispatches further messages to this window.
  bool bOuterDefault = m_bDefault;
  m_bDefault = false;
  *pResult = 0;
  if (pEntry->pfnQuery) {
    *pResult = reinterpret_cast<LRESULT>((this->*pEntry->pfnQuery)());
  } else {
    (this->*pEntry->pfn)();
  }
  bool bHandled = !m_bDefault;
  m_bDefault = bOuterDefault;
  return bHandled;
}

bool DDX_Text(CDataExchange* pDX, int nIDC, CString& value) {
  HWND hCtrl = ::GetDlgItem(pDX->m_pDlgWnd->m_hWnd, nIDC);
  if (!pDX->m_bSaveAndValidate) {
    ::SetWindowTextW(hCtrl, CA2W(value, CP_UTF8));
    return true;
  }
  int length = ::GetWindowTextLengthW(hCtrl);
  auto text = static_cast<LPWSTR>(malloc((length + 1) * sizeof(wchar_t)));
  if (!text) return false;
  text[0] = L'\0';
  ::GetWindowTextW(hCtrl, text, length + 1);
  CW2A utf8(text, CP_UTF8);
  free(text);
  if (utf8.Failed()) return false;
  value = utf8;
  return true;
}

BEGIN_MESSAGE_MAP(CDialog, CCmdTarget)
  ON_COMMAND(IDOK, OnOK)
  ON_COMMAND(IDCANCEL, OnCancel)
END_MESSAGE_MAP()

INT_PTR CDialog::DoModal() {
  // A dialog without a parent belongs to the main window, which it disables while it is up.
  CWnd* pOwner = m_pParentWnd ? m_pParentWnd : AfxGetMainWnd();
  HWND hOwner = pOwner && pOwner != this ? pOwner->m_hWnd : nullptr;
  HINSTANCE hInstance = AfxFindResourceHandle(MAKEINTRESOURCEA(m_nIDTemplate), RT_DIALOG);
  // A wide dialog, whose edit fields take every character typed.
  INT_PTR result = ::DialogBoxParamW(hInstance, MAKEINTRESOURCEW(m_nIDTemplate), hOwner,
                                     DialogProc, reinterpret_cast<LPARAM>(this));
  m_hWnd = nullptr;
  return result;
}

BOOL CDialog::OnInitDialog() {
  UpdateData(FALSE);
  return TRUE;
}

BOOL CDialog::UpdateData(BOOL bSaveAndValidate) {
  CDataExchange dx(this, bSaveAndValidate);
  DoDataExchange(&dx);
  return TRUE;
}

void CDialog::OnOK() {
  UpdateData(TRUE);
  EndDialog(IDOK);
}

void CDialog::OnCancel() { EndDialog(IDCANCEL); }

INT_PTR CALLBACK CDialog::DialogProc(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_INITDIALOG) {
    auto pDlg = reinterpret_cast<CDialog*>(lParam);
    pDlg->m_hWnd = hWnd;
    ::SetWindowLongPtrW(hWnd, DWLP_USER, lParam);
    // A dialog that comes up hidden and that its own start-up leaves where it was is centred,
    // unless it is owned by a window that it does not block.
    RECT before, after;
    bool bPlace =
        !(::GetWindowLongA(hWnd, GWL_STYLE) & WS_VISIBLE) && ::GetWindowRect(hWnd, &before);
    BOOL bResult = pDlg->OnInitDialog();
    if (bPlace && ::GetWindowRect(hWnd, &after) && ::EqualRect(&before, &after)) {
      HWND hOwner = ::GetWindow(hWnd, GW_OWNER);
      if (!hOwner || !::IsWindowEnabled(hOwner)) CenterWindow(hWnd, hOwner);
    }
    return bResult;
  }
  auto pDlg = reinterpret_cast<CDialog*>(::GetWindowLongPtrW(hWnd, DWLP_USER));
  LRESULT result;
  if (!pDlg || !pDlg->OnWndMsg(message, wParam, lParam, &result)) return FALSE;
  // The dialog manager takes a drag icon as the procedure's own result.
  if (message == WM_QUERYDRAGICON) return result;
  ::SetWindowLongPtrW(hWnd, DWLP_MSGRESULT, result);
  return TRUE;
}

CPaintDC::CPaintDC(CWnd* pWnd) : m_hWnd(pWnd->m_hWnd) { m_hDC = ::BeginPaint(m_hWnd, &m_ps); }

CPaintDC::~CPaintDC() {
  if (m_hDC) ::EndPaint(m_hWnd, &m_ps);
}

BEGIN_MESSAGE_MAP(CWinApp, CCmdTarget)
END_MESSAGE_MAP()

CWinApp::CWinApp(CGbkText appName) : m_appName(appName) { g_pApp = this; }

CWinApp* AfxGetApp() { return g_pApp; }

CWnd* AfxGetMainWnd() { return g_pApp ? g_pApp->m_pMainWnd : nullptr; }

HINSTANCE AfxFindResourceHandle(LPCSTR, LPCSTR) {
  return g_pApp && g_pApp->m_hInstance ? g_pApp->m_hInstance : ::GetModuleHandleA(nullptr);
}

int AfxWinMain(HINSTANCE hInstance, HINSTANCE, LPSTR, int) {
  CWinApp* pApp = AfxGetApp();
  if (!pApp) return -1;
  pApp->m_hInstance = hInstance;
  if (pApp->m_appName.Bytes())
    lstrcpynW(g_szTitle, CA2W(pApp->m_appName), MAX_PATH);
  else
    TitleFromFileName(g_szTitle);
  // A dialog application does its whole work inside InitInstance.
  pApp->InitInstance();
  return pApp->ExitInstance();
}

int AfxMessageBox(CGbkText text, UINT nType, UINT nIDHelp) {
  return AfxMessageBox(CA2W(text), nType, nIDHelp);
}

int AfxMessageBox(LPCWSTR lpszText, UINT nType, UINT) {
  CWnd* pMainWnd = AfxGetMainWnd();
  HWND hOwner = pMainWnd ? pMainWnd->m_hWnd : nullptr;
  LPCWSTR title = g_szTitle[0] ? g_szTitle : nullptr;
  nType = WithDefaultIcon(nType);
  if (g_pfnMessageBoxHook) return g_pfnMessageBoxHook(hOwner, lpszText, title, nType);
  return ::MessageBoxW(hOwner, lpszText, title, nType);
}

AFX_MESSAGEBOX_HOOK AfxSetMessageBoxHook(AFX_MESSAGEBOX_HOOK pfnHook) {
  AFX_MESSAGEBOX_HOOK previous = g_pfnMessageBoxHook;
  g_pfnMessageBoxHook = pfnHook;
  return previous;
}

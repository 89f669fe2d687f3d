#include "afxwin.h"

#include <string.h>

namespace {

CWinApp* g_pApp;
AFX_MESSAGEBOX_HOOK g_pfnMessageBoxHook;

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

// The part of a path after its last backslash, found by characters: the second byte of a
// double-byte character may be 0x5C, as in 淺.
const char* FileNameOf(const char* path) {
  const char* name = path;
  for (const char* p = path; *p; p = ::CharNextA(p))
    if (*p == '\\') name = p + 1;
  return name;
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

void DDX_Text(CDataExchange* pDX, int nIDC, CString& value) {
  HWND hCtrl = ::GetDlgItem(pDX->m_pDlgWnd->m_hWnd, nIDC);
  if (!pDX->m_bSaveAndValidate) {
    ::SetWindowTextA(hCtrl, value);
    return;
  }
  int length = ::GetWindowTextLengthA(hCtrl);
  LPSTR buffer = value.GetBuffer(length);
  if (!buffer) return;
  buffer[0] = '\0';
  ::GetWindowTextA(hCtrl, buffer, length + 1);
  value.ReleaseBuffer();
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
  INT_PTR result = ::DialogBoxParamA(hInstance, MAKEINTRESOURCEA(m_nIDTemplate), hOwner,
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
    ::SetWindowLongPtrA(hWnd, DWLP_USER, lParam);
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
  auto pDlg = reinterpret_cast<CDialog*>(::GetWindowLongPtrA(hWnd, DWLP_USER));
  LRESULT result;
  if (!pDlg || !pDlg->OnWndMsg(message, wParam, lParam, &result)) return FALSE;
  // The dialog manager takes a drag icon as the procedure's own result.
  if (message == WM_QUERYDRAGICON) return result;
  ::SetWindowLongPtrA(hWnd, DWLP_MSGRESULT, result);
  return TRUE;
}

CPaintDC::CPaintDC(CWnd* pWnd) : m_hWnd(pWnd->m_hWnd) { m_hDC = ::BeginPaint(m_hWnd, &m_ps); }

CPaintDC::~CPaintDC() {
  if (m_hDC) ::EndPaint(m_hWnd, &m_ps);
}

BEGIN_MESSAGE_MAP(CWinApp, CCmdTarget)
END_MESSAGE_MAP()

CWinApp::CWinApp(LPCSTR lpszAppName) : m_pszAppName(lpszAppName) { g_pApp = this; }

CWinApp* AfxGetApp() { return g_pApp; }

CWnd* AfxGetMainWnd() { return g_pApp ? g_pApp->m_pMainWnd : nullptr; }

HINSTANCE AfxFindResourceHandle(LPCSTR, LPCSTR) {
  return g_pApp && g_pApp->m_hInstance ? g_pApp->m_hInstance : ::GetModuleHandleA(nullptr);
}

int AfxWinMain(HINSTANCE hInstance, HINSTANCE, LPSTR, int) {
  CWinApp* pApp = AfxGetApp();
  if (!pApp) return -1;
  pApp->m_hInstance = hInstance;
  if (!pApp->m_pszAppName) {
    char path[MAX_PATH];
    DWORD length = ::GetModuleFileNameA(nullptr, path, sizeof path);
    if (length > 0 && length < sizeof path) {
      lstrcpynA(pApp->m_szModuleName, FileNameOf(path), sizeof pApp->m_szModuleName);
      if (char* dot = strrchr(pApp->m_szModuleName, '.')) *dot = '\0';
    }
    pApp->m_pszAppName = pApp->m_szModuleName;
  }
  // A dialog application does its whole work inside InitInstance.
  pApp->InitInstance();
  return pApp->ExitInstance();
}

int AfxMessageBox(LPCSTR lpszText, UINT nType, UINT) {
  CWnd* pMainWnd = AfxGetMainWnd();
  HWND hOwner = pMainWnd ? pMainWnd->m_hWnd : nullptr;
  const char* title = g_pApp && g_pApp->m_pszAppName ? g_pApp->m_pszAppName : nullptr;
  nType = WithDefaultIcon(nType);
  if (g_pfnMessageBoxHook) return g_pfnMessageBoxHook(hOwner, lpszText, title, nType);
  return ::MessageBoxA(hOwner, lpszText, title, nType);
}

AFX_MESSAGEBOX_HOOK AfxSetMessageBoxHook(AFX_MESSAGEBOX_HOOK pfnHook) {
  AFX_MESSAGEBOX_HOOK previous = g_pfnMessageBoxHook;
  g_pfnMessageBoxHook = pfnHook;
  return previous;
}

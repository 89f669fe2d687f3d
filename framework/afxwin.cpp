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
    return pDlg->OnInitDialog();
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
      const char* name = strrchr(path, '\\');
      lstrcpynA(pApp->m_szModuleName, name ? name + 1 : path, sizeof pApp->m_szModuleName);
      if (char* dot = strrchr(pApp->m_szModuleName, '.')) *dot = '\0';
    }
    pApp->m_pszAppName = pApp->m_szModuleName;
  }
  // A dialog application does its whole work inside InitInstance.
  pApp->InitInstance();
  return pApp->ExitInstance();
}

int AfxMessageBox(LPCSTR lpszText, UINT nType, UINT nIDHelp) {
  if (g_pfnMessageBoxHook) return g_pfnMessageBoxHook(lpszText, nType, nIDHelp);
  CWnd* pMainWnd = AfxGetMainWnd();
  const char* title = g_pApp && g_pApp->m_pszAppName ? g_pApp->m_pszAppName : nullptr;
  return ::MessageBoxA(pMainWnd ? pMainWnd->m_hWnd : nullptr, lpszText, title, nType);
}

AFX_MESSAGEBOX_HOOK AfxSetMessageBoxHook(AFX_MESSAGEBOX_HOOK pfnHook) {
  AFX_MESSAGEBOX_HOOK previous = g_pfnMessageBoxHook;
  g_pfnMessageBoxHook = pfnHook;
  return previous;
}

// The small application framework the program is written against: an application object, modal
// dialogs with message maps and data exchange, and message boxes, on plain Win32.
//
// The program's own texts are CGbkText, in code page 936 whatever the system's code pages are;
// every plain char text is UTF-8. The framework hands every text to Windows through the wide
// functions, so that they read right with Windows' UTF-8 option too. Code page 936 is on every
// Windows since Vista.
#pragma once

#include <windows.h>

#include "afxstr.h"
#include "gbktext.h"

// A text converted to UTF-16 from a code page, for as long as the object lives; empty when it
// cannot be converted.
class CA2W {
 public:
  CA2W(LPCSTR psz, UINT nCodePage);
  explicit CA2W(CGbkText text);
  ~CA2W();
  CA2W(const CA2W&) = delete;
  CA2W& operator=(const CA2W&) = delete;
  operator LPCWSTR() const { return m_psz ? m_psz : L""; }

 private:
  LPWSTR m_psz = nullptr;
};

// A UTF-16 text converted to a code page, for as long as the object lives; empty, and Failed(),
// when it cannot be converted. To UTF-8, a text that is not whole UTF-16 (a lone surrogate)
// cannot be: it fails rather than lose the character unseen.
class CW2A {
 public:
  CW2A(LPCWSTR psz, UINT nCodePage);
  ~CW2A();
  CW2A(const CW2A&) = delete;
  CW2A& operator=(const CW2A&) = delete;
  operator LPCSTR() const { return m_psz ? m_psz : ""; }
  bool Failed() const { return m_psz == nullptr; }

 private:
  LPSTR m_psz = nullptr;
};

class CCmdTarget;

// Handlers take no arguments; the drag-icon query is the one that returns something.
typedef void (CCmdTarget::*AFX_PMSG)();
typedef HCURSOR (CCmdTarget::*AFX_PMSG_QUERY)();

struct AFX_MSGMAP_ENTRY {
  UINT nMessage;
  UINT nCode;  // WM_COMMAND: the notification code
  UINT nID;    // WM_COMMAND: the control id
  AFX_PMSG pfn;
  AFX_PMSG_QUERY pfnQuery;
};

struct AFX_MSGMAP {
  const AFX_MSGMAP* (*pfnGetBaseMap)();
  const AFX_MSGMAP_ENTRY* lpEntries;
};

#define DECLARE_MESSAGE_MAP()                     \
 protected:                                       \
  static const AFX_MSGMAP* GetThisMessageMap();   \
  const AFX_MSGMAP* GetMessageMap() const override;

#define BEGIN_MESSAGE_MAP(theClass, baseClass)                                          \
  const AFX_MSGMAP* theClass::GetMessageMap() const { return GetThisMessageMap(); }     \
  const AFX_MSGMAP* theClass::GetThisMessageMap() {                                     \
    using ThisClass [[maybe_unused]] = theClass;                                        \
    using TheBaseClass = baseClass;                                                     \
    static const AFX_MSGMAP_ENTRY _messageEntries[] = {
#define END_MESSAGE_MAP()                                                               \
  {0, 0, 0, nullptr, nullptr}                                                           \
  };                                                                                    \
  static const AFX_MSGMAP messageMap = {&TheBaseClass::GetThisMessageMap, _messageEntries}; \
  return &messageMap;                                                                   \
  }

#define AFX_VV(fn) static_cast<AFX_PMSG>(static_cast<void (ThisClass::*)()>(&ThisClass::fn))

#define ON_WM_PAINT() {WM_PAINT, 0, 0, AFX_VV(OnPaint), nullptr},
#define ON_WM_QUERYDRAGICON() \
  {WM_QUERYDRAGICON, 0, 0, nullptr, static_cast<AFX_PMSG_QUERY>(&ThisClass::OnQueryDragIcon)},
#define ON_COMMAND(id, fn) {WM_COMMAND, 0, (id), AFX_VV(fn), nullptr},
#define ON_BN_CLICKED(id, fn) {WM_COMMAND, BN_CLICKED, (id), AFX_VV(fn), nullptr},

class CCmdTarget {
 public:
  virtual ~CCmdTarget() = default;
  virtual const AFX_MSGMAP* GetMessageMap() const { return GetThisMessageMap(); }

 protected:
  static const AFX_MSGMAP* GetThisMessageMap();
};

// One window handle; the object does not destroy the window it names.
class CWnd : public CCmdTarget {
 public:
  HWND m_hWnd = nullptr;

  BOOL SetDlgItemText(int nID, CGbkText text) {
    return ::SetDlgItemTextW(m_hWnd, nID, CA2W(text));
  }
  LRESULT SendMessage(UINT message, WPARAM wParam = 0, LPARAM lParam = 0) {
    return ::SendMessageW(m_hWnd, message, wParam, lParam);
  }
  BOOL IsIconic() const { return ::IsIconic(m_hWnd); }
  BOOL GetClientRect(LPRECT lpRect) const { return ::GetClientRect(m_hWnd, lpRect); }

  // Hands the message being handled to the default handling once the handler returns.
  LRESULT Default();

 protected:
  // Looks the message up in the map chain and calls its handler; false when none takes it.
  bool OnWndMsg(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult);

 private:
  bool m_bDefault = false;
};

class CDataExchange {
 public:
  CDataExchange(CWnd* pDlgWnd, BOOL bSaveAndValidate)
      : m_bSaveAndValidate(bSaveAndValidate), m_pDlgWnd(pDlgWnd) {}
  BOOL m_bSaveAndValidate;  // TRUE: from the controls into the fields
  CWnd* m_pDlgWnd;
};

// The control's text as UTF-8, so that every character typed reaches the field. False, the
// field left as it was, when the text cannot be read whole, as one holding a lone surrogate.
bool DDX_Text(CDataExchange* pDX, int nIDC, CString& value);

// A modal dialog on a template of the application's resources.
class CDialog : public CWnd {
 public:
  explicit CDialog(UINT nIDTemplate, CWnd* pParentWnd = nullptr)
      : m_nIDTemplate(nIDTemplate), m_pParentWnd(pParentWnd) {}

  // IDOK or IDCANCEL as the dialog ended, or -1 when it could not be shown.
  INT_PTR DoModal();
  virtual BOOL OnInitDialog();
  BOOL UpdateData(BOOL bSaveAndValidate = TRUE);
  BOOL EndDialog(int nResult) { return ::EndDialog(m_hWnd, nResult); }

 protected:
  virtual void DoDataExchange(CDataExchange*) {}
  virtual void OnOK();
  virtual void OnCancel();

  DECLARE_MESSAGE_MAP()

 private:
  static INT_PTR CALLBACK DialogProc(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam);

  UINT m_nIDTemplate;
  CWnd* m_pParentWnd;
};

// BeginPaint and EndPaint around one WM_PAINT.
class CPaintDC {
 public:
  explicit CPaintDC(CWnd* pWnd);
  ~CPaintDC();
  CPaintDC(const CPaintDC&) = delete;
  CPaintDC& operator=(const CPaintDC&) = delete;

  HDC GetSafeHdc() const { return m_hDC; }
  BOOL DrawIcon(int x, int y, HICON hIcon) { return ::DrawIcon(m_hDC, x, y, hIcon); }

  HDC m_hDC;

 private:
  HWND m_hWnd;
  PAINTSTRUCT m_ps;
};

// The hourglass for as long as the object lives; the previous cursor comes back after.
class CWaitCursor {
 public:
  CWaitCursor() : m_hPrevious(::SetCursor(::LoadCursorA(nullptr, IDC_WAIT))) {}
  ~CWaitCursor() { ::SetCursor(m_hPrevious); }
  CWaitCursor(const CWaitCursor&) = delete;
  CWaitCursor& operator=(const CWaitCursor&) = delete;

 private:
  HCURSOR m_hPrevious;
};

class CWinApp : public CCmdTarget {
 public:
  // The name titles the message boxes; without one, the program's file name serves.
  explicit CWinApp(CGbkText appName = CGbkText(nullptr));

  virtual BOOL InitInstance() { return FALSE; }
  virtual int ExitInstance() { return 0; }
  // 3-D dialog controls are the system's own on every Windows this runs on.
  BOOL Enable3dControls() { return TRUE; }

  CWnd* m_pMainWnd = nullptr;
  HINSTANCE m_hInstance = nullptr;
  CGbkText m_appName;

  DECLARE_MESSAGE_MAP()
};

CWinApp* AfxGetApp();
CWnd* AfxGetMainWnd();
HINSTANCE AfxFindResourceHandle(LPCSTR lpszName, LPCSTR lpszType);
int AfxWinMain(HINSTANCE hInstance, HINSTANCE hPrevInstance, LPSTR lpCmdLine, int nCmdShow);

// A box of type nType owned by the main window and titled with the application's name; a box
// with no icon flag gets the exclamation icon (OK, OK/Cancel) or the question icon (yes/no).
// The text is one of the program's, or one already decoded.
int AfxMessageBox(CGbkText text, UINT nType = MB_OK, UINT nIDHelp = 0);
int AfxMessageBox(LPCWSTR lpszText, UINT nType = MB_OK, UINT nIDHelp = 0);

// Tests watch the message boxes through this hook, which takes what MessageBoxW would, instead
// of showing them; it returns the previous hook. Null restores the real boxes.
typedef int (*AFX_MESSAGEBOX_HOOK)(HWND hOwner, LPCWSTR lpszText, LPCWSTR lpszCaption,
                                   UINT nType);
AFX_MESSAGEBOX_HOOK AfxSetMessageBoxHook(AFX_MESSAGEBOX_HOOK pfnHook);

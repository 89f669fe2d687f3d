// The panel's side of running a command: the hourglass while it runs, and what the user is told.
#include "command/netsh_line.h"
#include "command/runner.h"
#include "ui/HotspotDlg.h"
#include "ui/texts.h"

namespace {

// The panel could not answer while the command ran: keys pressed and clicks made meanwhile would
// otherwise close the report box unread or press a button again.
void DropInputMadeMeanwhile() {
  MSG msg;
  const UINT ranges[][2] = {{WM_KEYFIRST, WM_KEYLAST},
                            {WM_MOUSEFIRST, WM_MOUSELAST},
                            {WM_NCMOUSEMOVE, WM_NCXBUTTONDBLCLK}};
  for (const auto& range : ranges)
    while (::PeekMessageA(&msg, nullptr, range[0], range[1], PM_REMOVE)) {
    }
}

}  // namespace

LPCSTR CHotspotDlg::NetshLine(LPCSTR lpszNetshWords, char (&szLine)[COMMAND_SIZE]) {
  char szSystemDir[FOLDER_SIZE];
  if (!GetSystemFolder(szSystemDir) ||
      !ComposeNetshLine(szLine, sizeof szLine, szSystemDir, {lpszNetshWords}))
    szLine[0] = '\0';
  return szLine;
}

void CHotspotDlg::RunCommand(LPCSTR lpszCommandLine, wchar_t (&szReport)[REPORT_SIZE],
                             DWORD dwTimeoutMs) {
  RunResult result;
  {
    CWaitCursor wait;
    result = RunHidden(lpszCommandLine, szReport, dwTimeoutMs);
    DropInputMadeMeanwhile();
  }
  switch (result) {
    case RunResult::PipeFailed: AfxMessageBox(kMsgPipeFailed, MB_OK, 0); break;
    case RunResult::ProcessFailed: AfxMessageBox(kMsgProcessFailed, MB_OK, 0); break;
    case RunResult::TimedOut: AfxMessageBox(kMsgTimedOut, MB_OK, 0); break;
    case RunResult::Done: break;
  }
}

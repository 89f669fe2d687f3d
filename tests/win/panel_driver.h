// The window driver set up for one test: a real Ventora.exe copied into a fresh folder and run
// against the system's netsh simulator, which keeps its state and log in a folder of its own.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

#include "test_support.h"
#include "tools/drive/app_windows.h"

class CPanelProcess : public CAppProcess {
 public:
  // strReport, if given, is what the simulator answers to every status command: a GBK text,
  // which it writes in its console's code page, as netsh writes. That is the OEM code page,
  // unless nConsoleCodePage names the one the user gave the consoles.
  explicit CPanelProcess(const std::string& strReport = std::string(), UINT nConsoleCodePage = 0);
  // The program holds its own file open: it ends before its folder is removed.
  ~CPanelProcess() { End(); }

  // Gives the program's file another name, before Start.
  void RenameProgram(const std::string& strName);

  // Puts beside Ventora.exe a netsh.bat, a netsh.cmd and a netsh.exe that each leave a file
  // when run, and makes that folder the first on the program's PATH with only .BAT and .CMD in
  // its PATHEXT, as any user may set them; Ran() lists the decoys that ran.
  void PlantNetshDecoys();
  std::vector<std::string> Ran() const;

  // Starts the program and waits for its panel; false if it does not show within the limit.
  bool Start();

  // A control's text, in GBK.
  std::string Caption(int nId) const;
  // The netsh commands run so far, one per line, as netsh got them, in UTF-8.
  std::vector<std::string> Commands() const;
  // For each of them, in UTF-8, the command line netsh's caller was started with, a tab, whether
  // netsh's console had a window ("console window" or "no console window"), a tab, the
  // caller's current folder, a tab, and netsh's PATH.
  std::vector<std::string> Callers() const;

 private:
  CTempFolder m_folder;
  std::string m_strExe = "Ventora.exe";
  CTempFolder m_netshState;
};

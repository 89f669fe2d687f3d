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
  // strReport, if given, is what the simulator answers to every status command.
  explicit CPanelProcess(const std::string& strReport = std::string());

  // Puts beside Ventora.exe a netsh.bat, a netsh.cmd and a netsh.exe that each leave a file
  // when run; Ran() lists the ones that did.
  void PlantNetshDecoys() const;
  std::vector<std::string> Ran() const;

  // Starts the program and waits for its panel; false if it does not show within the limit.
  bool Start();

  std::string Caption(int nId) const;
  // The netsh commands run so far, one per line, as netsh got them.
  std::vector<std::string> Commands() const;

 private:
  CTempFolder m_folder;
  CTempFolder m_netshState;
};

// Drives a real Ventora.exe from outside: started from a fresh folder, running the system's netsh
// simulator with a state folder of its own, its windows found by process, its buttons pressed and
// its message boxes read and closed.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

#include "test_support.h"
#include "tools/drive/app_windows.h"

class PanelProcess {
 public:
  // report, if given, is what the simulator answers to every status command.
  explicit PanelProcess(const std::string& report = std::string());
  ~PanelProcess();

  // Puts beside Ventora.exe a netsh.bat, a netsh.cmd and a netsh.exe that each leave a file
  // when run; Ran() lists the ones that did.
  void PlantNetshDecoys() const;
  std::vector<std::string> Ran() const;

  // Starts the program and waits for its panel; false if it does not show within the limit.
  bool Start();
  HWND panel() const { return m_hPanel; }

  std::string Caption(int id) const;
  void Click(int id) const;
  // The message box the program shows next, or null when none comes within the limit.
  HWND WaitForBox(DWORD timeoutMs = 20000) const;
  // A dialog of the program other than the panel and its message boxes.
  HWND WaitForDialog(const char* title, DWORD timeoutMs = 20000) const;
  // Presses the box's OK and waits for it to go.
  static bool CloseBox(HWND hBox);
  // True when the process ends within the limit; the exit code goes to *pCode.
  bool WaitExit(DWORD* pCode, DWORD timeoutMs = 20000);
  // The netsh commands run so far, one per line, as netsh got them.
  std::vector<std::string> Commands() const;
  // The text of the shown box, then closes it; "" when no box came.
  std::string TakeBox() const;

 private:
  TempFolder m_folder;
  TempFolder m_netshState;
  PROCESS_INFORMATION m_pi = {};
  HWND m_hPanel = nullptr;
};

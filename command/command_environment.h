// The environment block an elevated command starts with.
#pragma once

#include <windows.h>

// The program's environment, with the system's own value for every variable that names a system
// folder or the program to run, whatever the user set: an elevated program inherits the user's
// variables (HKCU\Environment, which the user writes without administrator rights), and Windows
// expands such variables with the process's own values when it loads code, as Winsock's
// providers and COM servers registered with them. Each value is taken from where only an
// administrator writes; a variable whose value cannot be had is left out, not inherited.
class CCommandEnvironment {
 public:
  explicit CCommandEnvironment(const wchar_t* pszSystemDir);
  ~CCommandEnvironment();
  CCommandEnvironment(const CCommandEnvironment&) = delete;
  CCommandEnvironment& operator=(const CCommandEnvironment&) = delete;

  // For CreateProcessW with CREATE_UNICODE_ENVIRONMENT; null when the block could not be made.
  LPVOID Block() const { return m_pBlock; }

 private:
  wchar_t* m_pBlock = nullptr;
};

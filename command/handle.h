// One kernel handle, closed by its owner.
#pragma once

#include <windows.h>

class CHandle {
 public:
  explicit CHandle(HANDLE h = nullptr) : m_h(h) {}
  ~CHandle() { Close(); }
  CHandle(const CHandle&) = delete;
  CHandle& operator=(const CHandle&) = delete;

  operator HANDLE() const { return m_h; }
  // For a call that hands out a new handle; the one held before must be closed already.
  HANDLE* Out() { return &m_h; }
  void Close() {
    if (m_h) ::CloseHandle(m_h);
    m_h = nullptr;
  }

 private:
  HANDLE m_h;
};

// CString: the growable char string that dialog fields are exchanged through, in UTF-8.
#pragma once

#include <windows.h>

class CString {
 public:
  CString() = default;
  CString(LPCSTR psz);
  CString(const CString& other);
  ~CString();
  CString& operator=(const CString& other);
  CString& operator=(LPCSTR psz);

  int GetLength() const { return m_nLength; }
  operator LPCSTR() const { return m_pchData ? m_pchData : ""; }

 private:
  char* m_pchData = nullptr;
  int m_nLength = 0;
};

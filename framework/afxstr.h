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

  // Room for nMinBufLength chars and a terminator, or null when memory is short (the string is
  // then left empty); ReleaseBuffer takes the new length, or measures it when given -1.
  LPSTR GetBuffer(int nMinBufLength);
  void ReleaseBuffer(int nNewLength = -1);

 private:
  char* m_pchData = nullptr;
  int m_nLength = 0;
};

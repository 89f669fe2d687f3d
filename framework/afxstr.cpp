#include "afxstr.h"

#include <stdlib.h>
#include <string.h>

CString::CString(LPCSTR psz) { *this = psz; }

CString::CString(const CString& other) { *this = static_cast<LPCSTR>(other); }

CString::~CString() { free(m_pchData); }

CString& CString::operator=(const CString& other) {
  if (this != &other) *this = static_cast<LPCSTR>(other);
  return *this;
}

CString& CString::operator=(LPCSTR psz) {
  int length = psz ? static_cast<int>(strlen(psz)) : 0;
  // psz may point into this string's own buffer, so it is copied before that is freed.
  char* data = static_cast<char*>(malloc(length + 1));
  if (data) memcpy(data, psz ? psz : "", length + 1);
  free(m_pchData);
  m_pchData = data;
  m_nLength = data ? length : 0;
  return *this;
}

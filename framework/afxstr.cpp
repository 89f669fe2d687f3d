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

LPSTR CString::GetBuffer(int nMinBufLength) {
  if (nMinBufLength < m_nLength) nMinBufLength = m_nLength;
  char* data = static_cast<char*>(realloc(m_pchData, nMinBufLength + 1));
  if (!data) {
    free(m_pchData);
    m_pchData = nullptr;
    m_nLength = 0;
    return nullptr;
  }
  data[m_nLength] = '\0';
  m_pchData = data;
  return data;
}

void CString::ReleaseBuffer(int nNewLength) {
  if (!m_pchData) return;
  m_nLength = nNewLength < 0 ? static_cast<int>(strlen(m_pchData)) : nNewLength;
  m_pchData[m_nLength] = '\0';
}

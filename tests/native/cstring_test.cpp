// CString natively, under ASan: a buffer one byte short is caught where it is written.
#include <gtest/gtest.h>

#include <string.h>

#include <string>

#include "framework/afxstr.h"

namespace {

// Fills every char GetBuffer promised and the terminator after them, as GetWindowTextA does.
void Fill(CString& str, int nLength, char ch) {
  LPSTR p = str.GetBuffer(nLength);
  ASSERT_NE(p, nullptr);
  memset(p, ch, nLength);
  p[nLength] = '\0';
  str.ReleaseBuffer();
}

TEST(CString, GetBufferHasRoomForTheCharactersAndTheTerminator) {
  for (int n : {0, 1, 15, 16, 256}) {
    CString str;
    Fill(str, n, 'x');
    EXPECT_EQ(str.GetLength(), n);
    EXPECT_EQ(std::string(str), std::string(n, 'x'));
  }
  CString str = "short";
  Fill(str, 40, 'y');
  EXPECT_EQ(std::string(str), std::string(40, 'y'));
}

}  // namespace

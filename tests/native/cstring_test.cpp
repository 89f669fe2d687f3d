// CString natively, under ASan: a text read after its buffer was freed is caught.
#include <gtest/gtest.h>

#include <string>

#include "framework/afxstr.h"

namespace {

// A string given its own text, or a part of it, copies it before letting its buffer go.
TEST(CString, AssignedFromItsOwnTextKeepsIt) {
  CString str = "hosted network";
  str = static_cast<LPCSTR>(str) + 7;
  EXPECT_EQ(std::string(str), "network");
  EXPECT_EQ(str.GetLength(), 7);
  str = str;
  CString copy(str);
  EXPECT_EQ(std::string(copy), "network");
  str = nullptr;
  EXPECT_EQ(std::string(str), "");
  EXPECT_EQ(str.GetLength(), 0);
}

}  // namespace

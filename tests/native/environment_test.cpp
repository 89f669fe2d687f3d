#include <gtest/gtest.h>

#include <string>

#include "command/environment.h"

namespace {

const wchar_t kSystemPath[] =
    L"C:\\Windows\\system32;C:\\Windows;C:\\Windows\\system32\\Wbem;"
    L"C:\\Windows\\system32\\WindowsPowerShell\\v1.0";

TEST(ComposeSystemPath, NamesTheSystemsOwnFoldersOnly) {
  wchar_t szPath[200];
  ASSERT_TRUE(ComposeSystemPath(L"C:\\Windows\\system32", szPath, 200));
  EXPECT_EQ(std::wstring(szPath), kSystemPath);
  // Exactly the room it needs, and one unit less.
  const size_t nSize = std::wstring(kSystemPath).size() + 1;
  EXPECT_TRUE(ComposeSystemPath(L"C:\\Windows\\system32", szPath, nSize));
  szPath[0] = L'X';
  EXPECT_FALSE(ComposeSystemPath(L"C:\\Windows\\system32", szPath, nSize - 1));
  for (const wchar_t* pszDir : {L"C:\\system32", L"system32", L"\\system32", L"C:\\Windows\\"})
    EXPECT_FALSE(ComposeSystemPath(pszDir, szPath, 200));
  EXPECT_EQ(szPath[0], L'X');
}

// A block as a run of entries, each ended by a zero, and the empty entry that ends the block.
std::wstring Block(std::initializer_list<std::wstring> entries) {
  std::wstring strBlock;
  for (const std::wstring& strEntry : entries) strBlock += strEntry + L'\0';
  return strBlock + L'\0';
}

std::wstring Compose(const std::wstring& strInherited) {
  size_t nUnits = ComposeEnvironment(strInherited.c_str(), L"S", nullptr, 0);
  std::wstring strBlock(nUnits + 1, L'X');
  EXPECT_EQ(ComposeEnvironment(strInherited.c_str(), L"S", &strBlock[0], nUnits - 1), nUnits);
  EXPECT_EQ(strBlock, std::wstring(nUnits + 1, L'X')) << "written without room";
  EXPECT_EQ(ComposeEnvironment(strInherited.c_str(), L"S", &strBlock[0], nUnits), nUnits);
  EXPECT_EQ(strBlock[nUnits], L'X');
  return strBlock.substr(0, nUnits);
}

// Every PATH the user may have set, in whatever case, gives way to the system's, which stands
// where a sorted block has it; everything else passes as it is, in its order.
TEST(ComposeEnvironment, ReplacesEveryPathOfTheUsersWithTheSystemsAndKeepsTheRest) {
  EXPECT_EQ(Compose(Block({L"=C:=C:\\Users\\u", L"ALLUSERSPROFILE=C:\\ProgramData",
                           L"Path=C:\\Users\\u\\AppData\\Local\\Microsoft\\WindowsApps",
                           L"PATHEXT=.BAT;.CMD", L"path=C:\\Users\\u\\bin", L"PAT=1",
                           L"TEMP=C:\\Users\\u\\AppData\\Local\\Temp"})),
            Block({L"=C:=C:\\Users\\u", L"ALLUSERSPROFILE=C:\\ProgramData", L"PATH=S",
                   L"PATHEXT=.BAT;.CMD", L"PAT=1", L"TEMP=C:\\Users\\u\\AppData\\Local\\Temp"}));
  EXPECT_EQ(Compose(Block({L"APPDATA=a", L"TMP=t"})), Block({L"APPDATA=a", L"PATH=S", L"TMP=t"}));
  EXPECT_EQ(Compose(Block({L"A=1", L"PAT=x=y"})), Block({L"A=1", L"PAT=x=y", L"PATH=S"}));
  EXPECT_EQ(Compose(Block({})), Block({L"PATH=S"}));
}

}  // namespace

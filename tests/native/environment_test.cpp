#include <gtest/gtest.h>

#include <string>

#include "command/environment.h"

namespace {

const wchar_t kSystemPath[] =
    L"C:\\Windows\\system32;C:\\Windows;C:\\Windows\\system32\\Wbem;"
    L"C:\\Windows\\system32\\WindowsPowerShell\\v1.0";

TEST(ComposeSystemPath, NamesTheSystemsOwnFoldersOnly) {
  wchar_t szPath[200];
  ASSERT_TRUE(ComposeSystemPath(L"C:\\Windows\\system32", L"C:\\Windows", szPath, 200));
  EXPECT_EQ(std::wstring(szPath), kSystemPath);
  ASSERT_TRUE(ComposeSystemPath(L"D:\\W\\System32", L"\\\\srv\\w", szPath, 200));
  EXPECT_EQ(std::wstring(szPath),
            L"D:\\W\\System32;\\\\srv\\w;D:\\W\\System32\\Wbem;"
            L"D:\\W\\System32\\WindowsPowerShell\\v1.0");
  // Exactly the room it needs, and one unit less.
  const size_t nSize = std::wstring(kSystemPath).size() + 1;
  EXPECT_TRUE(ComposeSystemPath(L"C:\\Windows\\system32", L"C:\\Windows", szPath, nSize));
  szPath[0] = L'X';
  EXPECT_FALSE(ComposeSystemPath(L"C:\\Windows\\system32", L"C:\\Windows", szPath, nSize - 1));
  // A folder that is not a full path would be looked for from the current one.
  for (const wchar_t* pszDir : {L"", L"C:", L"C:Windows", L"Windows", L"\\Windows", L"\\\\"}) {
    EXPECT_FALSE(ComposeSystemPath(L"C:\\Windows\\system32", pszDir, szPath, 200));
    EXPECT_FALSE(ComposeSystemPath(pszDir, L"C:\\Windows", szPath, 200));
  }
  EXPECT_EQ(szPath[0], L'X');
}

const SystemVariable kFolders[] = {{L"SystemDrive", L"C:"}, {L"SystemRoot", L"C:\\Windows"},
                                   {L"windir", nullptr}};

std::wstring Expand(const wchar_t* pszText, size_t nSize = 100) {
  wchar_t szOut[100];
  szOut[0] = L'X';
  return ExpandSystemValue(pszText, kFolders, 3, szOut, nSize) ? szOut
                                                                : L"failed, " + std::wstring(1, szOut[0]);
}

// A registry value names the system's folders by their variables, which must not be taken from
// the program's environment, where a user sets them.
TEST(ExpandSystemValue, TakesTheSystemsFoldersOnly) {
  EXPECT_EQ(Expand(L"%SystemDrive%\\ProgramData"), L"C:\\ProgramData");
  EXPECT_EQ(Expand(L"%systemroot%\\system32\\cmd.exe;%SYSTEMDRIVE%"),
            L"C:\\Windows\\system32\\cmd.exe;C:");
  EXPECT_EQ(Expand(L".COM;.EXE"), L".COM;.EXE");
  EXPECT_EQ(Expand(L"%SystemDrive%\\x", 6), L"C:\\x");
  for (const wchar_t* pszText : {L"%USERPROFILE%\\x", L"%windir%", L"%SystemDrive", L"100%",
                                 L"%SystemDriv%", L"%SystemDrive%\\xyz"})
    EXPECT_EQ(Expand(pszText, 6), L"failed, X") << pszText;
}

// A block as a run of entries, each ended by a zero, and the empty entry that ends the block.
std::wstring Block(std::initializer_list<std::wstring> entries) {
  std::wstring strBlock;
  for (const std::wstring& strEntry : entries) strBlock += strEntry + L'\0';
  return strBlock + L'\0';
}

const SystemVariable kSystem[] = {
    {L"windir", L"C:\\W"},       {L"PATH", L"S"},
    {L"ProgramFiles(x86)", L"X"}, {L"ProgramFiles", L"P"},
    {L"ComSpec", L"C:\\W\\cmd.exe"}, {L"ProgramW6432", nullptr},
};

std::wstring Compose(const std::wstring& strInherited) {
  size_t nUnits = ComposeEnvironment(strInherited.c_str(), kSystem, 6, nullptr, 0);
  std::wstring strBlock(nUnits + 1, L'X');
  EXPECT_EQ(ComposeEnvironment(strInherited.c_str(), kSystem, 6, &strBlock[0], nUnits - 1),
            nUnits);
  EXPECT_EQ(strBlock, std::wstring(nUnits + 1, L'X')) << "written without room";
  EXPECT_EQ(ComposeEnvironment(strInherited.c_str(), kSystem, 6, &strBlock[0], nUnits), nUnits);
  EXPECT_EQ(strBlock[nUnits], L'X');
  return strBlock.substr(0, nUnits);
}

// Every value the user may have set for one of the system's variables, in whatever case, gives
// way to the system's, which stands where a sorted block has it; one without a system value is
// left out; everything else passes as it is, in its order.
TEST(ComposeEnvironment, GivesTheSystemsVariablesTheSystemsValuesAndKeepsTheRest) {
  EXPECT_EQ(
      Compose(Block({L"=C:=C:\\Users\\u", L"ALLUSERSPROFILE=C:\\ProgramData",
                     L"COMSPEC=C:\\Users\\u\\cmd.exe", L"Path=C:\\Users\\u\\WindowsApps",
                     L"PATHEXT=.BAT;.CMD", L"path=C:\\Users\\u\\bin", L"PAT=1",
                     L"programfiles=C:\\Users\\u", L"ProgramFilesX=1", L"ProgramW6432=C:\\u",
                     L"TEMP=C:\\Users\\u\\Temp", L"WINDIR=C:\\Users\\u\\w", L"windir2=1"})),
      Block({L"=C:=C:\\Users\\u", L"ALLUSERSPROFILE=C:\\ProgramData", L"ComSpec=C:\\W\\cmd.exe",
             L"PATH=S", L"PATHEXT=.BAT;.CMD", L"PAT=1", L"ProgramFiles=P",
             L"ProgramFiles(x86)=X", L"ProgramFilesX=1", L"TEMP=C:\\Users\\u\\Temp",
             L"windir=C:\\W", L"windir2=1"}));
  EXPECT_EQ(Compose(Block({L"APPDATA=a", L"TMP=t"})),
            Block({L"APPDATA=a", L"ComSpec=C:\\W\\cmd.exe", L"PATH=S", L"ProgramFiles=P",
                   L"ProgramFiles(x86)=X", L"TMP=t", L"windir=C:\\W"}));
  EXPECT_EQ(Compose(Block({})), Block({L"ComSpec=C:\\W\\cmd.exe", L"PATH=S", L"ProgramFiles=P",
                                       L"ProgramFiles(x86)=X", L"windir=C:\\W"}));
}

}  // namespace

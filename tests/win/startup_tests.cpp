// Where the program may load DLLs from once it has started.
#include <gtest/gtest.h>
#include <windows.h>

#include <string>

#include "appmodul.h"

namespace {

const char kDll[] = "app_folder_only.dll";

std::string BesideThisProgram(const char* pszName) {
  char szPath[MAX_PATH];
  DWORD dwLength = GetModuleFileNameA(nullptr, szPath, sizeof szPath);
  EXPECT_TRUE(dwLength > 0 && dwLength < sizeof szPath);
  std::string strFolder(szPath, dwLength);
  return strFolder.substr(0, strFolder.rfind('\\') + 1) + pszName;
}

// A module once loaded is found again by its name, so each load is undone before the next.
TEST(Startup, DllBesideTheProgramIsNotFoundByNameAfterTheRestriction) {
  HMODULE hBefore = LoadLibraryA(kDll);
  ASSERT_NE(hBefore, nullptr) << "without the restriction the program's folder is searched";
  ASSERT_TRUE(FreeLibrary(hBefore));
  ASSERT_EQ(GetModuleHandleA(kDll), nullptr);

  ASSERT_TRUE(AfxRestrictDllSearch());
  HMODULE hByName = LoadLibraryA(kDll);
  EXPECT_EQ(hByName, nullptr);
  if (hByName) FreeLibrary(hByName);

  HMODULE hByPath = LoadLibraryA(BesideThisProgram(kDll).c_str());
  EXPECT_NE(hByPath, nullptr) << "the DLL itself loads";
  if (hByPath) FreeLibrary(hByPath);
  EXPECT_NE(LoadLibraryA("version.dll"), nullptr) << "system DLLs still load by name";
}

}  // namespace

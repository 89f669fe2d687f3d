#include "test_support.h"

#include <gtest/gtest.h>

std::string WindowsPath(const char* unixPath) {
  std::string path = std::string("Z:") + unixPath;
  for (char& c : path)
    if (c == '/') c = '\\';
  return path;
}

TempFolder::TempFolder() {
  char base[MAX_PATH], name[MAX_PATH];
  EXPECT_NE(GetTempPathA(sizeof base, base), 0u);
  EXPECT_NE(GetTempFileNameA(base, "vt", 0, name), 0u);
  DeleteFileA(name);
  EXPECT_TRUE(CreateDirectoryA(name, nullptr)) << name;
  m_path = name;
}

static void RemoveTree(const std::string& path) {
  WIN32_FIND_DATAA data;
  HANDLE hFind = FindFirstFileA((path + "\\*").c_str(), &data);
  if (hFind != INVALID_HANDLE_VALUE) {
    do {
      std::string name = data.cFileName;
      if (name == "." || name == "..") continue;
      std::string full = path + "\\" + name;
      if (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
        RemoveTree(full);
      else
        DeleteFileA(full.c_str());
    } while (FindNextFileA(hFind, &data));
    FindClose(hFind);
  }
  RemoveDirectoryA(path.c_str());
}

TempFolder::~TempFolder() { RemoveTree(m_path); }

std::string InSystemFolder(const std::string& name) {
  char folder[MAX_PATH];
  UINT length = GetSystemDirectoryA(folder, sizeof folder);
  EXPECT_TRUE(length > 0 && length < sizeof folder);
  return std::string(folder) + "\\" + name;
}

std::string ReadFileText(const std::string& path) {
  std::string text;
  HANDLE h = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                         OPEN_EXISTING, 0, nullptr);
  if (h == INVALID_HANDLE_VALUE) return text;
  char buffer[4096];
  DWORD n;
  while (ReadFile(h, buffer, sizeof buffer, &n, nullptr) && n) text.append(buffer, n);
  CloseHandle(h);
  return text;
}

bool FileExists(const std::string& path) {
  return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

// Helpers shared by the tests that run under Wine.
#pragma once

#include <windows.h>

#include <string>

// The Windows form of a path of the build tree, which Wine shows as drive Z:.
std::string WindowsPath(const char* unixPath);

// A fresh folder under the temporary folder, removed with everything in it at the end of scope.
class TempFolder {
 public:
  TempFolder();
  ~TempFolder();
  TempFolder(const TempFolder&) = delete;
  TempFolder& operator=(const TempFolder&) = delete;
  const std::string& path() const { return m_path; }
  std::string operator/(const std::string& name) const { return m_path + "\\" + name; }

 private:
  std::string m_path;
};

// The current folder changed for the length of a scope.
class CurrentFolder {
 public:
  explicit CurrentFolder(const std::string& path);
  ~CurrentFolder();

 private:
  char m_previous[MAX_PATH];
};

std::string ReadFileText(const std::string& path);
bool FileExists(const std::string& path);

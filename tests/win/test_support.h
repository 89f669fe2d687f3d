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

// The path of a file in the system folder, where the program's commands run.
std::string InSystemFolder(const std::string& name);

std::string ReadFileText(const std::string& path);
bool FileExists(const std::string& path);

#include "command/environment.h"

#include <string.h>

namespace {

const wchar_t kPathName[] = L"PATH";

wchar_t Upper(wchar_t ch) { return ch >= L'a' && ch <= L'z' ? ch - L'a' + L'A' : ch; }

// Compares an entry's name with PATH as Windows sorts names, ignoring case.
int CompareWithPath(const wchar_t* entry) {
  size_t i = 0;
  for (; entry[i] != L'=' && entry[i] != L'\0'; ++i) {
    if (kPathName[i] == L'\0') return 1;
    if (Upper(entry[i]) != kPathName[i]) return Upper(entry[i]) < kPathName[i] ? -1 : 1;
  }
  return kPathName[i] == L'\0' ? 0 : -1;
}

// Counts the units of a block and, given where, writes them there.
struct Writer {
  wchar_t* block;
  size_t used;
  void Put(const wchar_t* text, size_t length) {
    if (block) wmemcpy(block + used, text, length);
    used += length;
  }
};

size_t Compose(const wchar_t* inherited, const wchar_t* path, wchar_t* block) {
  Writer out = {block, 0};
  bool bPathPut = false;
  auto putPath = [&]() {
    out.Put(L"PATH=", 5);
    out.Put(path, wcslen(path) + 1);
    bPathPut = true;
  };
  for (const wchar_t* entry = inherited; *entry; entry += wcslen(entry) + 1) {
    // Entries whose name starts with '=', the folders of the drives, stand first and stay so.
    int order = entry[0] == L'=' ? -1 : CompareWithPath(entry);
    if (order == 0) continue;
    if (order > 0 && !bPathPut) putPath();
    out.Put(entry, wcslen(entry) + 1);
  }
  if (!bPathPut) putPath();
  out.Put(L"", 1);
  return out.used;
}

}  // namespace

bool ComposeSystemPath(const wchar_t* systemDir, wchar_t* path, size_t size) {
  const wchar_t* last = wcsrchr(systemDir, L'\\');
  // A parent that is a bare drive would stand for that drive's current folder.
  if (!last || last == systemDir || last[-1] == L':' || last[1] == L'\0') return false;
  const size_t dirLength = wcslen(systemDir), windowsLength = last - systemDir;
  const wchar_t* tails[] = {L"\\Wbem", L"\\WindowsPowerShell\\v1.0"};
  size_t need = 3 * dirLength + windowsLength + wcslen(tails[0]) + wcslen(tails[1]) + 3 + 1;
  if (need > size) return false;
  wchar_t* out = path;
  auto put = [&out](const wchar_t* text, size_t length) {
    wmemcpy(out, text, length);
    out += length;
  };
  put(systemDir, dirLength);
  put(L";", 1);
  put(systemDir, windowsLength);
  for (const wchar_t* tail : tails) {
    put(L";", 1);
    put(systemDir, dirLength);
    put(tail, wcslen(tail));
  }
  *out = L'\0';
  return true;
}

size_t ComposeEnvironment(const wchar_t* inherited, const wchar_t* path, wchar_t* block,
                          size_t size) {
  size_t units = Compose(inherited, path, nullptr);
  if (block && units <= size) Compose(inherited, path, block);
  return units;
}

#include "command/environment.h"

#include <stdint.h>
#include <string.h>

namespace {

wchar_t Upper(wchar_t ch) { return ch >= L'a' && ch <= L'z' ? ch - L'a' + L'A' : ch; }

// Compares two names, each ended by '=' or its terminator, as Windows sorts them, ignoring case;
// a name that is the start of another comes first.
int CompareNames(const wchar_t* a, const wchar_t* b) {
  for (;; ++a, ++b) {
    bool bEndA = *a == L'=' || *a == L'\0', bEndB = *b == L'=' || *b == L'\0';
    if (bEndA || bEndB) return bEndA == bEndB ? 0 : bEndA ? -1 : 1;
    if (Upper(*a) != Upper(*b)) return Upper(*a) < Upper(*b) ? -1 : 1;
  }
}

bool SameName(const wchar_t* name, size_t length, const wchar_t* other) {
  if (wcslen(other) != length) return false;
  for (size_t i = 0; i < length; ++i)
    if (Upper(name[i]) != Upper(other[i])) return false;
  return true;
}

// A full path: a drive's root and what lies under it, or a share's.
bool IsFullPath(const wchar_t* folder) {
  return (folder[0] != L'\0' && folder[1] == L':' && folder[2] == L'\\') ||
         (folder[0] == L'\\' && folder[1] == L'\\' && folder[2] != L'\0');
}

// Counts the units of a text and, given where, writes them there.
struct Writer {
  wchar_t* out;
  size_t used;
  void Put(const wchar_t* text, size_t length) {
    if (out) wmemcpy(out + used, text, length);
    used += length;
  }
  void Put(const wchar_t* text) { Put(text, wcslen(text)); }
};

size_t Compose(const wchar_t* inherited, const SystemVariable* system, size_t count,
               wchar_t* block) {
  Writer writer = {block, 0};
  uint64_t put = 0;
  // Puts, smallest first, each system variable that has a value and sorts before the entry;
  // all that are left when entry is null.
  auto putBefore = [&](const wchar_t* entry) {
    for (;;) {
      size_t next = count;
      for (size_t i = 0; i < count; ++i)
        if (!(put >> i & 1) && (!entry || CompareNames(system[i].name, entry) < 0) &&
            (next == count || CompareNames(system[i].name, system[next].name) < 0))
          next = i;
      if (next == count) return;
      put |= uint64_t{1} << next;
      if (!system[next].value) continue;
      writer.Put(system[next].name);
      writer.Put(L"=", 1);
      writer.Put(system[next].value, wcslen(system[next].value) + 1);
    }
  };
  for (const wchar_t* entry = inherited; *entry; entry += wcslen(entry) + 1) {
    // Entries whose name starts with '=', the folders of the drives, stand first and stay so.
    if (entry[0] != L'=') {
      bool bSystems = false;
      for (size_t i = 0; i < count && !bSystems; ++i)
        bSystems = CompareNames(entry, system[i].name) == 0;
      if (bSystems) continue;
      putBefore(entry);
    }
    writer.Put(entry, wcslen(entry) + 1);
  }
  putBefore(nullptr);
  writer.Put(L"", 1);
  return writer.used;
}

// The units the expansion of text takes, its terminator included, written to out when given;
// 0 when it cannot be expanded.
size_t Expand(const wchar_t* text, const SystemVariable* known, size_t count, wchar_t* out) {
  Writer writer = {out, 0};
  for (const wchar_t* p = text; *p;) {
    const wchar_t* percent = wcschr(p, L'%');
    if (!percent) {
      writer.Put(p);
      break;
    }
    writer.Put(p, percent - p);
    const wchar_t* name = percent + 1;
    const wchar_t* close = wcschr(name, L'%');
    if (!close) return 0;
    const wchar_t* value = nullptr;
    for (size_t i = 0; i < count && !value; ++i)
      if (SameName(name, close - name, known[i].name)) value = known[i].value;
    if (!value) return 0;
    writer.Put(value);
    p = close + 1;
  }
  writer.Put(L"", 1);
  return writer.used;
}

}  // namespace

bool ComposeSystemPath(const wchar_t* systemDir, const wchar_t* windowsDir, wchar_t* path,
                       size_t size) {
  if (!IsFullPath(systemDir) || !IsFullPath(windowsDir)) return false;
  const wchar_t* tails[] = {L"\\Wbem", L"\\WindowsPowerShell\\v1.0"};
  size_t need = 3 * wcslen(systemDir) + wcslen(windowsDir) + wcslen(tails[0]) +
                wcslen(tails[1]) + 3 + 1;
  if (need > size) return false;
  Writer writer = {path, 0};
  writer.Put(systemDir);
  writer.Put(L";", 1);
  writer.Put(windowsDir);
  for (const wchar_t* tail : tails) {
    writer.Put(L";", 1);
    writer.Put(systemDir);
    writer.Put(tail);
  }
  writer.Put(L"", 1);
  return true;
}

bool ExpandSystemValue(const wchar_t* text, const SystemVariable* known, size_t count,
                       wchar_t* out, size_t size) {
  size_t units = Expand(text, known, count, nullptr);
  if (units == 0 || units > size) return false;
  Expand(text, known, count, out);
  return true;
}

size_t ComposeEnvironment(const wchar_t* inherited, const SystemVariable* system, size_t count,
                          wchar_t* block, size_t size) {
  size_t units = Compose(inherited, system, count, nullptr);
  if (block && units <= size) Compose(inherited, system, count, block);
  return units;
}

#include "app/single_instance.h"

#include <cstdint>
#include <cstring>
#include <cwchar>

namespace quillorb {
namespace {

std::wstring FullPath(const std::wstring& path) {
  DWORD n = GetFullPathNameW(path.c_str(), 0, nullptr, nullptr);
  if (n == 0) return path;
  std::wstring full(n, L'\0');
  n = GetFullPathNameW(path.c_str(), n, full.data(), nullptr);
  full.resize(n);
  return full;
}

std::wstring LongPath(const std::wstring& path) {
  DWORD n = GetLongPathNameW(path.c_str(), nullptr, 0);
  if (n == 0) return path;  // not there (any more): the full path has to do
  std::wstring longPath(n, L'\0');
  n = GetLongPathNameW(path.c_str(), longPath.data(), n);
  longPath.resize(n);
  return longPath;
}

std::wstring UpperCase(const std::wstring& text) {
  if (text.empty()) return text;
  std::wstring upper(text.size(), L'\0');
  const int n =
      LCMapStringW(LOCALE_INVARIANT, LCMAP_UPPERCASE, text.c_str(), static_cast<int>(text.size()),
                   upper.data(), static_cast<int>(upper.size()));
  return n > 0 ? upper : text;
}

std::wstring ProcessFolder(DWORD pid) {
  win::Handle process(OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, pid));
  if (!process) return {};
  std::wstring path(32768, L'\0');
  DWORD size = static_cast<DWORD>(path.size());
  if (!QueryFullProcessImageNameW(process.get(), 0, path.data(), &size)) return {};
  path.resize(size);
  const size_t slash = path.find_last_of(L"\\/");
  return slash == std::wstring::npos ? std::wstring() : path.substr(0, slash + 1);
}

struct Search {
  const std::wstring* key;
  HWND found;
};

BOOL CALLBACK MatchWindow(HWND window, LPARAM lp) {
  auto* search = reinterpret_cast<Search*>(lp);
  char className[32] = {};
  GetClassNameA(window, className, sizeof className);
  if (std::strcmp(className, "TForm_Main") != 0) return TRUE;
  DWORD pid = 0;
  GetWindowThreadProcessId(window, &pid);
  if (pid == GetCurrentProcessId()) return TRUE;
  const std::wstring folder = ProcessFolder(pid);
  if (folder.empty() || FolderKey(folder) != *search->key) return TRUE;
  search->found = window;
  return FALSE;
}

// "<volume serial>-<file index>" of the folder, empty when it cannot be opened.
std::wstring FolderIdentity(const std::wstring& folder) {
  // FILE_FLAG_BACKUP_SEMANTICS opens a folder; no access is asked for, only its information.
  win::FileHandle handle(CreateFileW(folder.c_str(), 0,
                                     FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                     nullptr, OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr));
  BY_HANDLE_FILE_INFORMATION info{};
  if (!handle || !GetFileInformationByHandle(handle.get(), &info)) return {};
  wchar_t text[40] = {};
  std::swprintf(text, 40, L"%08lX-%08lX%08lX",
                static_cast<unsigned long>(info.dwVolumeSerialNumber),
                static_cast<unsigned long>(info.nFileIndexHigh),
                static_cast<unsigned long>(info.nFileIndexLow));
  return text;
}

}  // namespace

std::wstring FolderKey(const std::wstring& folder) {
  const std::wstring identity = FolderIdentity(folder);
  if (!identity.empty()) return L"ID:" + identity;
  std::wstring path = LongPath(FullPath(folder));
  for (wchar_t& c : path) {
    if (c == L'/') c = L'\\';
  }
  if (path.empty() || path.back() != L'\\') path += L'\\';
  return UpperCase(path);
}

std::wstring FolderMutexName(const std::wstring& key) {
  uint64_t hash = 14695981039346656037ull;
  for (wchar_t c : key) {
    hash ^= static_cast<uint16_t>(c);
    hash *= 1099511628211ull;
  }
  wchar_t hex[17] = {};
  std::swprintf(hex, 17, L"%016llX", static_cast<unsigned long long>(hash));
  return std::wstring(L"Local\\Quillorb-") + hex;
}

std::wstring ProgramFolderW() {
  std::wstring path(MAX_PATH, L'\0');
  for (;;) {
    const DWORD n = GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size()));
    if (n == 0) return {};
    if (n < path.size()) {
      path.resize(n);
      break;
    }
    path.resize(path.size() * 2);
  }
  const size_t slash = path.find_last_of(L"\\/");
  return slash == std::wstring::npos ? std::wstring() : path.substr(0, slash + 1);
}

FolderInstance::FolderInstance(const std::wstring& key)
    : mutex_(CreateMutexW(nullptr, FALSE, FolderMutexName(key).c_str())) {
  first_ = !(mutex_ && GetLastError() == ERROR_ALREADY_EXISTS);
}

bool BringRunningStripToFront(const std::wstring& key, DWORD timeoutMs) {
  const DWORD start = GetTickCount();
  for (;;) {
    Search search{&key, nullptr};
    EnumWindows(&MatchWindow, reinterpret_cast<LPARAM>(&search));
    if (search.found) {
      if (IsIconic(search.found)) ShowWindow(search.found, SW_RESTORE);
      SetForegroundWindow(search.found);
      return true;
    }
    // The other one holds the mutex but may not show its window yet.
    if (GetTickCount() - start >= timeoutMs) return false;
    Sleep(20);
  }
}

}  // namespace quillorb

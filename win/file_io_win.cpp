// Windows implementation of the file layer: ANSI paths, as the rest of the program uses.
#include "model/file_io.h"

#include <windows.h>

#include "model/profile.h"
#include "win/handles.h"

namespace quillorb {
namespace {

// The system's text for an error code, without the trailing line end.
std::string SystemReason(DWORD code) {
  char* text = nullptr;
  DWORD length = FormatMessageA(
      FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
      nullptr, code, 0, reinterpret_cast<char*>(&text), 0, nullptr);
  std::string reason;
  if (length != 0 && text != nullptr) reason.assign(text, length);
  if (text != nullptr) LocalFree(text);
  while (!reason.empty() && (reason.back() == '\r' || reason.back() == '\n' ||
                             reason.back() == ' ' || reason.back() == '.')) {
    reason.pop_back();
  }
  if (reason.empty()) reason = "error " + std::to_string(code);
  return reason;
}

void SetError(std::string* error, const char* what, const std::string& path, DWORD code) {
  if (error) *error = std::string(what) + " \"" + path + "\": " + SystemReason(code);
}

// Creates a new file beside `path` under a name nobody else uses.
HANDLE CreateTempBeside(const std::string& path, std::string& temp) {
  static unsigned counter = 0;
  const DWORD pid = GetCurrentProcessId();
  for (int attempt = 0; attempt < 100; ++attempt) {
    temp = path + "." + std::to_string(pid) + "-" + std::to_string(counter++) + ".tmp";
    HANDLE h = CreateFileA(temp.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                           FILE_ATTRIBUTE_NORMAL, nullptr);
    if (h != INVALID_HANDLE_VALUE || GetLastError() != ERROR_FILE_EXISTS) return h;
  }
  return INVALID_HANDLE_VALUE;
}

}  // namespace

ReadStatus ReadWholeFile(const std::string& path, std::string& bytes, std::string* error) {
  bytes.clear();
  win::FileHandle file(CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE,
                                   nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!file) {
    DWORD code = GetLastError();
    SetError(error, "Cannot open", path, code);
    return (code == ERROR_FILE_NOT_FOUND || code == ERROR_PATH_NOT_FOUND) ? ReadStatus::Missing
                                                                          : ReadStatus::Failed;
  }
  LARGE_INTEGER size{};
  if (!GetFileSizeEx(file.get(), &size)) {
    SetError(error, "Cannot read", path, GetLastError());
    return ReadStatus::Failed;
  }
  if (size.QuadPart > 0x7FFFFFFF) {
    SetError(error, "Cannot read", path, ERROR_FILE_TOO_LARGE);
    return ReadStatus::Failed;
  }
  bytes.resize(static_cast<size_t>(size.QuadPart));
  size_t done = 0;
  while (done < bytes.size()) {
    DWORD got = 0;
    if (!ReadFile(file.get(), bytes.data() + done, static_cast<DWORD>(bytes.size() - done), &got,
                  nullptr)) {
      SetError(error, "Cannot read", path, GetLastError());
      bytes.clear();
      return ReadStatus::Failed;
    }
    if (got == 0) break;  // the file shrank while we read it
    done += got;
  }
  bytes.resize(done);
  return ReadStatus::Ok;
}

bool FileExists(const std::string& path) {
  DWORD attributes = GetFileAttributesA(path.c_str());
  return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
}

bool ReplaceFileContents(const std::string& path, std::string_view bytes, std::string* error) {
  std::string temp;
  win::FileHandle file(CreateTempBeside(path, temp));
  if (!file) {
    SetError(error, "Cannot create", path, GetLastError());
    return false;
  }
  auto fail = [&](const char* what) {
    DWORD code = GetLastError();
    file.reset();
    DeleteFileA(temp.c_str());
    SetError(error, what, path, code);
    return false;
  };
  while (!bytes.empty()) {
    const DWORD chunk = bytes.size() > 0x10000000 ? 0x10000000 : static_cast<DWORD>(bytes.size());
    DWORD written = 0;
    if (!WriteFile(file.get(), bytes.data(), chunk, &written, nullptr)) return fail("Cannot write");
    if (written == 0) {
      SetLastError(ERROR_WRITE_FAULT);
      return fail("Cannot write");
    }
    bytes.remove_prefix(written);
  }
  if (!FlushFileBuffers(file.get())) return fail("Cannot write");
  if (!CloseHandle(file.release())) return fail("Cannot write");
  // Replaces the target in one step. ReplaceFileA is not used: some implementations of it briefly
  // leave no file at the target.
  if (!MoveFileExA(temp.c_str(), path.c_str(),
                   MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
    return fail("Cannot replace");
  }
  return true;
}

bool CopyToNewFile(const std::string& from, const std::string& to, std::string* error) {
  if (CopyFileA(from.c_str(), to.c_str(), TRUE)) return true;
  const DWORD code = GetLastError();
  if (error) *error = "Cannot copy \"" + from + "\" to \"" + to + "\": " + SystemReason(code);
  return false;
}

int RemoveStaleTemporaryFiles(const std::string& folder) {
  // Only names of the pattern CreateTempBeside makes for our own files: nothing else is touched.
  WIN32_FIND_DATAA found{};
  HANDLE find = FindFirstFileA((folder + "*.tmp").c_str(), &found);
  if (find == INVALID_HANDLE_VALUE) return 0;
  int removed = 0;
  do {
    if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) continue;
    if (IsOwnTemporaryFileName(found.cFileName) &&
        DeleteFileA((folder + found.cFileName).c_str())) {
      ++removed;
    }
  } while (FindNextFileA(find, &found));
  FindClose(find);
  return removed;
}

}  // namespace quillorb

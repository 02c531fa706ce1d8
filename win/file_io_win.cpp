// Windows implementation of the file layer: paths opened through the wide functions.
#include "model/file_io.h"

#include <windows.h>

#include "win/handles.h"
#include "win/utf8.h"

namespace quillorb {
namespace {

using win::WideToUtf8;

// The path for the wide functions. From MAX_PATH on (less the room CreateDirectory keeps for a
// file name) a path needs the "\\?\" form, which the system takes without any rewriting: so it is
// made from the full path, with backslashes only.
std::wstring WidePath(const Path& path) {
  std::wstring wide = win::Wide(path);
  if (wide.size() < MAX_PATH - 12 || wide.rfind(L"\\\\?\\", 0) == 0) return wide;
  DWORD n = GetFullPathNameW(wide.c_str(), 0, nullptr, nullptr);
  if (n == 0) return wide;
  std::wstring full(n, L'\0');
  n = GetFullPathNameW(wide.c_str(), n, full.data(), nullptr);
  full.resize(n);
  if (full.rfind(L"\\\\", 0) == 0) return L"\\\\?\\UNC\\" + full.substr(2);
  return L"\\\\?\\" + full;
}

// The system's text for an error code, without the trailing line end.
Utf8 SystemReason(DWORD code) {
  wchar_t* text = nullptr;
  const DWORD length = FormatMessageW(
      FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
      nullptr, code, 0, reinterpret_cast<wchar_t*>(&text), 0, nullptr);
  const win::LocalMemory owned(text);
  std::string reason;
  if (length != 0 && text != nullptr) reason = WideToUtf8(std::wstring_view(text, length));
  while (!reason.empty() && (reason.back() == '\r' || reason.back() == '\n' ||
                             reason.back() == ' ' || reason.back() == '.')) {
    reason.pop_back();
  }
  if (reason.empty()) reason = "error " + std::to_string(code);
  return Utf8(reason);
}

void SetError(Utf8* error, const char* what, const Path& path, DWORD code) {
  if (error) *error = Utf8(what) + " \"" + path.Text() + "\": " + SystemReason(code);
}

}  // namespace

Path PathFromAnsi(const std::string& ansi) {
  std::wstring wide;
  if (!ansi.empty()) {
    const int size = static_cast<int>(ansi.size());
    const int n = MultiByteToWideChar(CP_ACP, 0, ansi.data(), size, nullptr, 0);
    wide.resize(static_cast<size_t>(n));
    MultiByteToWideChar(CP_ACP, 0, ansi.data(), size, wide.data(), n);
  }
  return win::PathFromWide(wide);
}

ReadStatus ReadWholeFileRaw(const Path& path, std::string& bytes, Utf8* error) {
  bytes.clear();
  win::FileHandle file(CreateFileW(WidePath(path).c_str(), GENERIC_READ,
                                   FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
                                   FILE_ATTRIBUTE_NORMAL, nullptr));
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

bool FileExists(const Path& path) {
  DWORD attributes = GetFileAttributesW(WidePath(path).c_str());
  return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
}

namespace {

// The steps of a save on Windows, through the wide functions.
class WindowsSaveSteps final : public SaveSteps {
 public:
  bool IsReadOnly(const Path& target) override {
    // Windows refuses to move a file over a read-only one; Wine lets it through.
    const DWORD attributes = GetFileAttributesW(WidePath(target).c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_READONLY) &&
           !(attributes & FILE_ATTRIBUTE_DIRECTORY);
  }
  bool Create(const Path& target, Path& temp) override {
    static unsigned counter = 0;
    const DWORD pid = GetCurrentProcessId();
    for (int attempt = 0; attempt < 100; ++attempt) {
      temp = Path::FromUtf8(target.Utf8() + "." + std::to_string(pid) + "-" +
                            std::to_string(counter++) + ".tmp");
      file_.reset(CreateFileW(WidePath(temp).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                              FILE_ATTRIBUTE_NORMAL, nullptr));
      if (file_) return true;
      if (GetLastError() != ERROR_FILE_EXISTS) break;
    }
    return Failed();
  }
  bool Write(std::string_view bytes) override {
    while (!bytes.empty()) {
      const DWORD chunk = bytes.size() > 0x10000000 ? 0x10000000 : static_cast<DWORD>(bytes.size());
      DWORD written = 0;
      if (!WriteFile(file_.get(), bytes.data(), chunk, &written, nullptr)) return Failed();
      if (written == 0) return Failed(ERROR_WRITE_FAULT);
      bytes.remove_prefix(written);
    }
    return true;
  }
  bool Flush() override { return FlushFileBuffers(file_.get()) || Failed(); }
  bool Close() override { return CloseHandle(file_.release()) || Failed(); }
  bool Replace(const Path& temp, const Path& target) override {
    // ReplaceFileW is not used: some implementations of it briefly leave no file at the target.
    return MoveFileExW(WidePath(temp).c_str(), WidePath(target).c_str(),
                       MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH) ||
           Failed();
  }
  bool Delete(const Path& temp) override { return DeleteFileW(WidePath(temp).c_str()) || Failed(); }
  Utf8 Reason() const override { return SystemReason(code_); }

 private:
  bool Failed(DWORD code = GetLastError()) {
    code_ = code;
    return false;
  }
  win::FileHandle file_;
  DWORD code_ = 0;
};

}  // namespace

std::unique_ptr<SaveSteps> SystemSaveSteps() {
  return std::make_unique<WindowsSaveSteps>();
}

bool CopyToNewFile(const Path& from, const Path& to, Utf8* error) {
  if (CopyFileW(WidePath(from).c_str(), WidePath(to).c_str(), TRUE)) return true;
  const DWORD code = GetLastError();
  if (error) {
    *error = "Cannot copy \"" + from.Text() + "\" to \"" + to.Text() + "\": " + SystemReason(code);
  }
  SetLastError(code);
  return false;
}

bool RemoveFile(const Path& path) {
  if (DeleteFileW(WidePath(path).c_str())) return true;
  const DWORD code = GetLastError();
  return code == ERROR_FILE_NOT_FOUND || code == ERROR_PATH_NOT_FOUND;
}

std::vector<Path> FileNamesIn(const Path& folder) {
  std::vector<Path> names;
  WIN32_FIND_DATAW found{};
  const win::FindHandle find(FindFirstFileW(WidePath(folder + "*").c_str(), &found));
  if (!find) return names;
  do {
    if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) continue;
    Path name = win::PathFromWide(found.cFileName);
    // A name with a lone surrogate has no UTF-8 form.
    if (win::Wide(name) == found.cFileName) names.push_back(std::move(name));
  } while (FindNextFileW(find.get(), &found));
  return names;
}

}  // namespace quillorb

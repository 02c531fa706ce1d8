// Host implementation of the file layer (POSIX), used by the native tests and the fuzz targets.
#include "model/file_io.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <cstring>
#include <utility>

namespace quillorb {
namespace {

// The host's messages are taken as UTF-8, as the host's paths are.
Utf8 Reason(int err) {
  return Utf8(std::strerror(err));
}

void SetError(Utf8* error, const char* what, const Path& path, int err) {
  if (error) *error = Utf8(what) + " \"" + path.Text() + "\": " + Reason(err);
}

// Writes all of `bytes`, retrying short writes and interruptions.
bool WriteAll(int fd, std::string_view bytes) {
  while (!bytes.empty()) {
    ssize_t n = ::write(fd, bytes.data(), bytes.size());
    if (n < 0) {
      if (errno == EINTR) continue;
      return false;
    }
    bytes.remove_prefix(static_cast<size_t>(n));
  }
  return true;
}

}  // namespace

Path PathFromAnsi(const std::string& ansi) {
  // The host has no ANSI code page: the tests' names are ASCII.
  return Path::FromUtf8(ansi);
}

ReadStatus ReadWholeFileRaw(const Path& path, std::string& bytes, Utf8* error) {
  bytes.clear();
  int fd = ::open(path.Utf8().c_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0) {
    const int err = errno;
    SetError(error, "Cannot open", path, err);
    return (err == ENOENT || err == ENOTDIR) ? ReadStatus::Missing : ReadStatus::Failed;
  }
  struct stat st {};
  const bool statted = ::fstat(fd, &st) == 0;
  if (!statted || !S_ISREG(st.st_mode)) {
    SetError(error, "Cannot read", path, statted ? EISDIR : errno);
    ::close(fd);
    return ReadStatus::Failed;
  }
  bytes.reserve(static_cast<size_t>(st.st_size));
  char buffer[65536];
  for (;;) {
    ssize_t n = ::read(fd, buffer, sizeof buffer);
    if (n < 0) {
      if (errno == EINTR) continue;
      SetError(error, "Cannot read", path, errno);
      ::close(fd);
      bytes.clear();
      return ReadStatus::Failed;
    }
    if (n == 0) break;
    bytes.append(buffer, static_cast<size_t>(n));
  }
  ::close(fd);
  return ReadStatus::Ok;
}

bool FileExists(const Path& path) {
  struct stat st {};
  return ::stat(path.Utf8().c_str(), &st) == 0 && !S_ISDIR(st.st_mode);
}

namespace {

// The steps of a save on a POSIX file system.
class PosixSaveSteps final : public SaveSteps {
 public:
  ~PosixSaveSteps() override {
    if (fd_ >= 0) ::close(fd_);
  }
  bool IsReadOnly(const Path& target) override {
    // A rename would replace a file nobody may write to.
    struct stat st {};
    return ::stat(target.Utf8().c_str(), &st) == 0 && S_ISREG(st.st_mode) &&
           (st.st_mode & (S_IWUSR | S_IWGRP | S_IWOTH)) == 0;
  }
  bool Create(const Path& target, Path& temp) override {
    static std::atomic<unsigned> counter{0};
    // A name of our own beside the target, so that the final rename stays on one file system.
    for (int attempt = 0; attempt < 100; ++attempt) {
      temp = Path::FromUtf8(target.Utf8() + "." + std::to_string(::getpid()) + "-" +
                            std::to_string(counter++) + ".tmp");
      fd_ = ::open(temp.Utf8().c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0644);
      if (fd_ >= 0) return true;
      if (errno != EEXIST) break;
    }
    return Failed();
  }
  bool Write(std::string_view bytes) override { return WriteAll(fd_, bytes) || Failed(); }
  bool Flush() override { return ::fsync(fd_) == 0 || Failed(); }
  bool Close() override { return ::close(std::exchange(fd_, -1)) == 0 || Failed(); }
  bool Replace(const Path& temp, const Path& target) override {
    return ::rename(temp.Utf8().c_str(), target.Utf8().c_str()) == 0 || Failed();
  }
  bool Delete(const Path& temp) override { return ::unlink(temp.Utf8().c_str()) == 0 || Failed(); }
  Utf8 Reason() const override { return quillorb::Reason(err_); }

 private:
  bool Failed() {
    err_ = errno;
    return false;
  }
  int fd_ = -1;
  int err_ = 0;
};

}  // namespace

std::unique_ptr<SaveSteps> SystemSaveSteps() {
  return std::make_unique<PosixSaveSteps>();
}

bool CopyToNewFile(const Path& from, const Path& to, Utf8* error) {
  std::string bytes;
  Utf8 reason;
  if (ReadWholeFileRaw(from, bytes, &reason) != ReadStatus::Ok) {
    if (error) *error = reason;
    return false;
  }
  const int fd = ::open(to.Utf8().c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0644);
  int err = fd < 0 ? errno : 0;
  if (fd >= 0) {
    if (!WriteAll(fd, bytes)) err = errno;
    if (::close(fd) != 0 && err == 0) err = errno;
    if (err != 0) ::unlink(to.Utf8().c_str());
  }
  if (err != 0 && error) {
    *error = "Cannot copy \"" + from.Text() + "\" to \"" + to.Text() + "\": " + Reason(err);
  }
  return err == 0;
}

bool RemoveFile(const Path& path) {
  return ::unlink(path.Utf8().c_str()) == 0 || errno == ENOENT;
}

std::vector<Path> FileNamesIn(const Path& folder) {
  std::vector<Path> names;
  DIR* dir = ::opendir(folder.empty() ? "." : folder.Utf8().c_str());
  if (!dir) return names;
  while (const dirent* entry = ::readdir(dir)) {
    struct stat st {};
    if (::stat((folder.Utf8() + entry->d_name).c_str(), &st) == 0 && S_ISREG(st.st_mode)) {
      names.push_back(Path::FromUtf8(entry->d_name));
    }
  }
  ::closedir(dir);
  return names;
}

}  // namespace quillorb

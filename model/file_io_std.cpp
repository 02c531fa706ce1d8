// Host implementation of the file layer (POSIX), used by the native tests and the fuzz targets.
#include "model/file_io.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <cstring>

namespace quillorb {
namespace {

std::string Reason(int err) {
  return std::strerror(err);
}

void SetError(std::string* error, const std::string& what, const std::string& path, int err) {
  if (error) *error = what + " \"" + path + "\": " + Reason(err);
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

ReadStatus ReadWholeFileRaw(const std::string& path, std::string& bytes, std::string* error) {
  bytes.clear();
  int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
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

bool FileExists(const std::string& path) {
  struct stat st {};
  return ::stat(path.c_str(), &st) == 0 && !S_ISDIR(st.st_mode);
}

bool ReplaceFileContents(const std::string& path, std::string_view bytes, std::string* error) {
  static std::atomic<unsigned> counter{0};
  // A rename would replace a file nobody may write to: such a file is the player's to keep.
  struct stat target {};
  if (::stat(path.c_str(), &target) == 0 && S_ISREG(target.st_mode) &&
      (target.st_mode & (S_IWUSR | S_IWGRP | S_IWOTH)) == 0) {
    if (error) *error = "Cannot replace \"" + path + "\": the file is read-only";
    return false;
  }
  // A name of our own beside the target, so that the final rename stays on one file system.
  std::string temp;
  int fd = -1;
  for (int attempt = 0; attempt < 100 && fd < 0; ++attempt) {
    temp = path + "." + std::to_string(::getpid()) + "-" + std::to_string(counter++) + ".tmp";
    fd = ::open(temp.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0644);
    if (fd < 0 && errno != EEXIST) break;
  }
  if (fd < 0) {
    SetError(error, "Cannot create", path, errno);
    return false;
  }
  if (!WriteAll(fd, bytes) || ::fsync(fd) != 0) {
    int err = errno;
    ::close(fd);
    ::unlink(temp.c_str());
    SetError(error, "Cannot write", path, err);
    return false;
  }
  if (::close(fd) != 0) {
    int err = errno;
    ::unlink(temp.c_str());
    SetError(error, "Cannot write", path, err);
    return false;
  }
  if (::rename(temp.c_str(), path.c_str()) != 0) {
    int err = errno;
    ::unlink(temp.c_str());
    SetError(error, "Cannot replace", path, err);
    return false;
  }
  return true;
}

bool CopyToNewFile(const std::string& from, const std::string& to, std::string* error) {
  std::string bytes;
  std::string reason;
  if (ReadWholeFileRaw(from, bytes, &reason) != ReadStatus::Ok) {
    if (error) *error = reason;
    return false;
  }
  const int fd = ::open(to.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0644);
  int err = fd < 0 ? errno : 0;
  if (fd >= 0) {
    if (!WriteAll(fd, bytes)) err = errno;
    if (::close(fd) != 0 && err == 0) err = errno;
    if (err != 0) ::unlink(to.c_str());
  }
  if (err != 0 && error) *error = "Cannot copy \"" + from + "\" to \"" + to + "\": " + Reason(err);
  return err == 0;
}

bool RemoveFile(const std::string& path) {
  return ::unlink(path.c_str()) == 0 || errno == ENOENT;
}

std::vector<std::string> FileNamesIn(const std::string& folder) {
  std::vector<std::string> names;
  DIR* dir = ::opendir(folder.empty() ? "." : folder.c_str());
  if (!dir) return names;
  while (const dirent* entry = ::readdir(dir)) {
    struct stat st {};
    if (::stat((folder + entry->d_name).c_str(), &st) == 0 && S_ISREG(st.st_mode)) {
      names.emplace_back(entry->d_name);
    }
  }
  ::closedir(dir);
  return names;
}

}  // namespace quillorb

#include "model/file_io.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <string>
#include <vector>

#ifdef _WIN32
#include <windows.h>
#else
#include <sys/resource.h>
#include <csignal>
#endif

namespace quillorb {
namespace {

namespace fs = std::filesystem;
using namespace std::string_literals;

class FileIo : public ::testing::Test {
 protected:
  void SetUp() override {
    const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
    dir_ = fs::temp_directory_path() / ("quillorb-file-io-"s + info->name());
    fs::remove_all(dir_);
    fs::create_directories(dir_);
  }
  void TearDown() override {
    std::error_code ignored;
    fs::remove_all(dir_, ignored);
  }

  std::string PathOf(const std::string& name) const { return (dir_ / name).string(); }

  std::vector<std::string> Entries() const {
    std::vector<std::string> names;
    for (const auto& entry : fs::directory_iterator(dir_)) {
      names.push_back(entry.path().filename().string());
    }
    return names;
  }

  // The path form of the file layer: UTF-8, with the system's separator.
  static std::string Utf8(const fs::path& path) {
    const std::u8string text = path.u8string();
    return std::string(text.begin(), text.end());
  }
  static std::string Folder(const fs::path& path) {
    return Utf8(path) + static_cast<char>(fs::path::preferred_separator);
  }

  std::string Read(const std::string& path) const {
    std::string bytes;
    EXPECT_EQ(ReadWholeFile(path, bytes), ReadStatus::Ok) << path;
    return bytes;
  }

  fs::path dir_;
};

TEST_F(FileIo, ReplacesAndReadsBack) {
  const std::string path = PathOf("quillorb.ini");
  EXPECT_FALSE(FileExists(path));
  std::string error;
  ASSERT_TRUE(ReplaceFileContents(path, "[a]\r\nk=1\r\n", &error)) << error;
  EXPECT_TRUE(FileExists(path));
  const std::string binary = "\0[b]\r\n\xff\nx=2"s + std::string(200000, 'z');
  ASSERT_TRUE(ReplaceFileContents(path, binary, &error)) << error;
  EXPECT_EQ(Read(path), binary);
  ASSERT_TRUE(ReplaceFileContents(path, ""));
  EXPECT_EQ(Read(path), "");
  EXPECT_EQ(Entries(), std::vector<std::string>{"quillorb.ini"});
}

TEST_F(FileIo, MissingAndUnreadable) {
  std::string bytes = "stale";
  EXPECT_EQ(ReadWholeFile(PathOf("none.ini"), bytes), ReadStatus::Missing);
  EXPECT_EQ(bytes, "");
  EXPECT_EQ(ReadWholeFile(PathOf("no-folder/none.ini"), bytes), ReadStatus::Missing);
  fs::create_directory(dir_ / "folder");
  std::string error;
  EXPECT_EQ(ReadWholeFile(PathOf("folder"), bytes, &error), ReadStatus::Failed);
  EXPECT_EQ(error.rfind("Cannot ", 0), 0u) << error;
  EXPECT_NE(error.find("\"" + PathOf("folder") + "\": "), std::string::npos) << error;
  EXPECT_FALSE(FileExists(PathOf("folder")));
}

TEST_F(FileIo, CopiesOnlyToANewFileAndNamesBothOtherwise) {
  const std::string from = PathOf("quillorb.ini");
  const std::string to = PathOf("quillorb - Dave.ini");
  ASSERT_TRUE(ReplaceFileContents(from, "[Reagent]\r\nReagent0=7\r\n"));
  std::string error;
  ASSERT_TRUE(CopyToNewFile(from, to, &error)) << error;
  EXPECT_EQ(Read(to), "[Reagent]\r\nReagent0=7\r\n");
  ASSERT_TRUE(ReplaceFileContents(to, "mine"));
  EXPECT_FALSE(CopyToNewFile(from, to, &error));  // an existing file stays as it is
  EXPECT_EQ(Read(to), "mine");
  EXPECT_EQ(error.rfind("Cannot copy \"" + from + "\" to \"" + to + "\": ", 0), 0u) << error;
  error.clear();
  EXPECT_FALSE(CopyToNewFile(PathOf("none.ini"), PathOf("new.ini"), &error));
  EXPECT_NE(error.find(PathOf("none.ini")), std::string::npos) << error;
  EXPECT_FALSE(FileExists(PathOf("new.ini")));
}

TEST_F(FileIo, FailedReplaceNamesTheFileAndLeavesNoTrace) {
  std::string error;
  const std::string noFolder = PathOf("no-folder/quillorb.ini");
  EXPECT_FALSE(ReplaceFileContents(noFolder, "x", &error));
  EXPECT_NE(error.find(noFolder), std::string::npos) << error;

  fs::create_directory(dir_ / "folder");
  fs::create_directory(dir_ / "folder" / "inside");
  const std::string folder = PathOf("folder");
  error.clear();
  EXPECT_FALSE(ReplaceFileContents(folder, "x", &error));
  EXPECT_NE(error.find(folder), std::string::npos) << error;
  EXPECT_TRUE(fs::is_directory(dir_ / "folder" / "inside"));
  EXPECT_EQ(Entries(), std::vector<std::string>{"folder"});
}

TEST_F(FileIo, FailedReplaceKeepsTheOldFile) {
  const std::string path = PathOf("quillorb.ini");
  const std::string old = "[Reagent]\r\nReagent0=12\r\n";
  ASSERT_TRUE(ReplaceFileContents(path, old));
  std::string error;
  bool replaced = true;
#ifdef _WIN32
  // The target is held open without sharing delete access, so it cannot be replaced.
  HANDLE h = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                         FILE_ATTRIBUTE_NORMAL, nullptr);
  ASSERT_NE(h, INVALID_HANDLE_VALUE);
  replaced = ReplaceFileContents(path, "new", &error);
  CloseHandle(h);
#else
  // The tests may run as root, which file modes do not stop: a file size limit makes the write
  // of the new contents fail half-way instead.
  rlimit saved{};
  ASSERT_EQ(getrlimit(RLIMIT_FSIZE, &saved), 0);
  auto previous = std::signal(SIGXFSZ, SIG_IGN);
  rlimit small = saved;
  small.rlim_cur = 4096;
  ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &small), 0);
  replaced = ReplaceFileContents(path, std::string(100000, 'n'), &error);
  setrlimit(RLIMIT_FSIZE, &saved);
  std::signal(SIGXFSZ, previous);
#endif
  EXPECT_FALSE(replaced);
  EXPECT_NE(error.find(path), std::string::npos) << error;
  EXPECT_EQ(Read(path), old);
  EXPECT_EQ(Entries(), std::vector<std::string>{"quillorb.ini"});
}

// Folders whose names the ANSI code page cannot spell, and folders past MAX_PATH, are reached by
// every function; names come back from the listing as the system has them.
TEST_F(FileIo, UnicodeAndLongFoldersAreReached) {
  const fs::path cyrillic = dir_ / fs::path(u8"\u0416\u0443\u043A");
  fs::path deep = cyrillic;
  for (char c : {'a', 'b', 'c'}) deep /= std::string(100, c);
  fs::create_directories(deep);
  // The standard library under Wine cannot list a folder past MAX_PATH, so the fixture could not
  // remove the tree: its long names are shortened first, the innermost first, whatever happens.
  struct Shorten {
    fs::path deepest, top;
    ~Shorten() {
      std::error_code ignored;
      for (fs::path p = deepest; p != top; p = p.parent_path()) {
        fs::rename(p, p.parent_path() / "s", ignored);
      }
    }
  } shorten{deep, cyrillic};
  const std::string bjorn =
      "quillorb - Bj\xC3\xB6"
      "rn.ini";
  for (const fs::path& folder : {cyrillic, deep}) {
    const std::string dir = Folder(folder);
    std::string error;
    ASSERT_TRUE(ReplaceFileContents(dir + bjorn, "[a]\r\n", &error)) << error;
    EXPECT_TRUE(fs::exists(folder / fs::path(u8"quillorb - Bj\u00F6rn.ini"))) << dir;
    EXPECT_TRUE(FileExists(dir + bjorn));
    EXPECT_EQ(Read(dir + bjorn), "[a]\r\n");
    EXPECT_TRUE(CopyToNewFile(dir + bjorn, dir + "copy.ini"));
    EXPECT_FALSE(CopyToNewFile(dir + bjorn, dir + "copy.ini"));
    ASSERT_TRUE(ReplaceFileContents(dir + "users.ini.12-3.tmp", ""));
    EXPECT_EQ(RemoveStaleTemporaryFiles(dir), 1);
    std::vector<std::string> names = FileNamesIn(dir);
    std::sort(names.begin(), names.end());
    EXPECT_EQ(names, (std::vector<std::string>{"copy.ini", bjorn}));
    EXPECT_TRUE(RemoveFile(dir + "copy.ini"));
    EXPECT_TRUE(RemoveFile(dir + "copy.ini"));  // already gone
    EXPECT_FALSE(FileExists(dir + "copy.ini"));
  }
}

// A file the player made read-only is kept and reported as read-only (a rename would replace it).
TEST_F(FileIo, ReadOnlyFileIsKeptAndReportedAsSuch) {
  const std::string path = PathOf("users.ini");
  ASSERT_TRUE(ReplaceFileContents(path, "[User]\r\nLast=Bob\r\n"));
#ifdef _WIN32
  ASSERT_TRUE(SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_READONLY));
#else
  const fs::perms writable =
      fs::perms::owner_write | fs::perms::group_write | fs::perms::others_write;
  fs::permissions(path, writable, fs::perm_options::remove);
#endif
  std::string error;
  EXPECT_FALSE(ReplaceFileContents(path, "[User]\r\nLast=\r\n", &error));
#ifdef _WIN32
  EXPECT_EQ(GetLastError(), DWORD{ERROR_FILE_READ_ONLY});
  SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_NORMAL);
#else
  fs::permissions(path, writable, fs::perm_options::add);
#endif
  EXPECT_NE(error.find("read-only"), std::string::npos) << error;
  EXPECT_EQ(Read(path), "[User]\r\nLast=Bob\r\n");
  EXPECT_EQ(Entries(), std::vector<std::string>{"users.ini"});
}

// Text saved as UTF-16 (with its byte-order mark, either order) is unreadable, not 8-bit text.
TEST_F(FileIo, Utf16TextIsUnreadable) {
  const std::string path = PathOf("spells.txt");
  for (const std::string& text : {"\xFF\xFES\0p\0"s, "\xFE\xFF\0S\0p"s}) {
    ASSERT_TRUE(ReplaceFileContents(path, text));
    std::string bytes = "stale";
    EXPECT_EQ(ReadWholeFile(path, bytes), ReadStatus::Failed);
    EXPECT_EQ(bytes, "");
  }
  ASSERT_TRUE(ReplaceFileContents(path, "\xFF\xFF"));  // two bytes of 8-bit text
  EXPECT_EQ(Read(path), "\xFF\xFF");
}

}  // namespace
}  // namespace quillorb

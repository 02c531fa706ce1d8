#include "model/file_io.h"

#include <gtest/gtest.h>

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

}  // namespace
}  // namespace quillorb

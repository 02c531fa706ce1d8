#include "model/file_io.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <memory>
#include <filesystem>
#include <string>
#include <vector>

#include "model/catalogue.h"
#include "model/profile.h"

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

  Path PathOf(const std::string& name) const { return Path::FromUtf8((dir_ / name).string()); }

  std::vector<std::string> Entries() const {
    std::vector<std::string> names;
    for (const auto& entry : fs::directory_iterator(dir_)) {
      names.push_back(entry.path().filename().string());
    }
    return names;
  }

  // A folder in the path form of the file layer, with the system's separator.
  static Path Folder(const fs::path& path) {
    const std::u8string text = path.u8string();
    return Path::FromUtf8(std::string(text.begin(), text.end()) +
                          static_cast<char>(fs::path::preferred_separator));
  }
  // Where `text` holds `part`.
  static size_t Find(const Utf8& text, const Utf8& part) { return text.str().find(part.str()); }

  std::string Read(const Path& path) const {
    std::string bytes;
    EXPECT_EQ(ReadWholeFile(path, bytes), ReadStatus::Ok) << path;
    return bytes;
  }

  fs::path dir_;
};

TEST_F(FileIo, ReplacesAndReadsBack) {
  const Path path = PathOf("quillorb.ini");
  EXPECT_FALSE(FileExists(path));
  Utf8 error;
  ASSERT_TRUE(ReplaceFileContents(path, "[a]\r\nk=1\r\n", &error)) << error;
  EXPECT_TRUE(FileExists(path));
  const std::string binary = "\0[b]\r\n\xff\nx=2"s + std::string(200000, 'z');
  ASSERT_TRUE(ReplaceFileContents(path, binary, &error)) << error;
  std::string bytes;
  EXPECT_EQ(ReadWholeFileRaw(path, bytes), ReadStatus::Ok);
  EXPECT_EQ(bytes, binary);
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
  Utf8 error;
  EXPECT_EQ(ReadWholeFile(PathOf("folder"), bytes, &error), ReadStatus::Failed);
  EXPECT_EQ(error.str().rfind("Cannot ", 0), 0u) << error;
  EXPECT_NE(Find(error, "\"" + PathOf("folder").Text() + "\": "), std::string::npos) << error;
  EXPECT_FALSE(FileExists(PathOf("folder")));
}

TEST_F(FileIo, CopiesOnlyToANewFileAndNamesBothOtherwise) {
  const Path from = PathOf("quillorb.ini");
  const Path to = PathOf("quillorb - Dave.ini");
  ASSERT_TRUE(ReplaceFileContents(from, "[Reagent]\r\nReagent0=7\r\n"));
  Utf8 error;
  ASSERT_TRUE(CopyToNewFile(from, to, &error)) << error;
  EXPECT_EQ(Read(to), "[Reagent]\r\nReagent0=7\r\n");
  ASSERT_TRUE(ReplaceFileContents(to, "mine"));
  EXPECT_FALSE(CopyToNewFile(from, to, &error));  // an existing file stays as it is
  EXPECT_EQ(Read(to), "mine");
  EXPECT_EQ(Find(error, "Cannot copy \"" + from.Text() + "\" to \"" + to.Text() + "\": "), 0u)
      << error;
  error = Utf8();
  EXPECT_FALSE(CopyToNewFile(PathOf("none.ini"), PathOf("new.ini"), &error));
  EXPECT_NE(Find(error, PathOf("none.ini").Text()), std::string::npos) << error;
  EXPECT_FALSE(FileExists(PathOf("new.ini")));
}

TEST_F(FileIo, FailedReplaceNamesTheFileAndLeavesNoTrace) {
  Utf8 error;
  const Path noFolder = PathOf("no-folder/quillorb.ini");
  EXPECT_FALSE(ReplaceFileContents(noFolder, "x", &error));
  EXPECT_NE(Find(error, noFolder.Text()), std::string::npos) << error;

  fs::create_directory(dir_ / "folder");
  fs::create_directory(dir_ / "folder" / "inside");
  const Path folder = PathOf("folder");
  error = Utf8();
  EXPECT_FALSE(ReplaceFileContents(folder, "x", &error));
  EXPECT_NE(Find(error, folder.Text()), std::string::npos) << error;
  EXPECT_TRUE(fs::is_directory(dir_ / "folder" / "inside"));
  EXPECT_EQ(Entries(), std::vector<std::string>{"folder"});
}

TEST_F(FileIo, FailedReplaceKeepsTheOldFile) {
  const Path path = PathOf("quillorb.ini");
  const std::string old = "[Reagent]\r\nReagent0=12\r\n";
  ASSERT_TRUE(ReplaceFileContents(path, old));
  Utf8 error;
  bool replaced = true;
#ifdef _WIN32
  // The target is held open without sharing delete access, so it cannot be replaced.
  HANDLE h = CreateFileA(path.Utf8().c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
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
  EXPECT_NE(Find(error, path.Text()), std::string::npos) << error;
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
  const Path bjorn = Path::FromUtf8(
      "quillorb - Bj\xC3\xB6"
      "rn.ini");
  for (const fs::path& folder : {cyrillic, deep}) {
    const Path dir = Folder(folder);
    Utf8 error;
    ASSERT_TRUE(ReplaceFileContents(dir + bjorn, "[a]\r\n", &error)) << error;
    EXPECT_TRUE(fs::exists(folder / fs::path(u8"quillorb - Bj\u00F6rn.ini"))) << dir;
    EXPECT_TRUE(FileExists(dir + bjorn));
    EXPECT_EQ(Read(dir + bjorn), "[a]\r\n");
    EXPECT_TRUE(CopyToNewFile(dir + bjorn, dir + "copy.ini"));
    EXPECT_FALSE(CopyToNewFile(dir + bjorn, dir + "copy.ini"));
    ASSERT_TRUE(ReplaceFileContents(dir + "users.ini.12-3.tmp", ""));
    EXPECT_EQ(RemoveStaleTemporaryFiles(dir), 1);
    std::vector<Path> names = FileNamesIn(dir);
    std::sort(names.begin(), names.end());
    EXPECT_EQ(names, (std::vector<Path>{Path::FromUtf8("copy.ini"), bjorn}));
    EXPECT_TRUE(RemoveFile(dir + "copy.ini"));
    EXPECT_TRUE(RemoveFile(dir + "copy.ini"));  // already gone
    EXPECT_FALSE(FileExists(dir + "copy.ini"));
  }
}

// A file the player made read-only is kept and reported as read-only (a rename would replace it).
TEST_F(FileIo, ReadOnlyFileIsKeptAndReportedAsSuch) {
  const Path path = PathOf("users.ini");
  ASSERT_TRUE(ReplaceFileContents(path, "[User]\r\nLast=Bob\r\n"));
#ifdef _WIN32
  ASSERT_TRUE(SetFileAttributesA(path.Utf8().c_str(), FILE_ATTRIBUTE_READONLY));
#else
  const fs::perms writable =
      fs::perms::owner_write | fs::perms::group_write | fs::perms::others_write;
  fs::permissions(path.Utf8(), writable, fs::perm_options::remove);
#endif
  Utf8 error;
  EXPECT_FALSE(ReplaceFileContents(path, "[User]\r\nLast=\r\n", &error));
#ifdef _WIN32
  SetFileAttributesA(path.Utf8().c_str(), FILE_ATTRIBUTE_NORMAL);
#else
  fs::permissions(path.Utf8(), writable, fs::perm_options::add);
#endif
  EXPECT_NE(Find(error, "read-only"), std::string::npos) << error;
  EXPECT_EQ(Read(path), "[User]\r\nLast=Bob\r\n");
  EXPECT_EQ(Entries(), std::vector<std::string>{"users.ini"});
}

// What each encoding a text editor offers comes to, for every file read as text (the catalogue
// shown here; the profile and users.ini are read the same way): 8-bit text, UTF-8 among it, is
// read as it is; a file with a NUL byte anywhere or a UTF-16 mark is unreadable, and the catalogue
// keeps the spells it had.
TEST_F(FileIo, EveryEncodingHasOneOutcome) {
  auto utf16 = [](std::string_view text, bool bigEndian, bool mark) {
    std::string bytes = mark ? (bigEndian ? "\xFE\xFF" : "\xFF\xFE") : "";
    for (char c : text) bytes += bigEndian ? std::string{'\0', c} : std::string{c, '\0'};
    return bytes;
  };
  const std::string text = "Spell\tRune\r\nClumsy\tUus Jux\r\n";
  const struct {
    const char* encoding;
    std::string bytes;
    const char* unreadableBecause;  // nullptr: read as it is
  } cases[] = {
      {"ANSI", "Spell\r\nCl\xE9msy\tUus\r\n", nullptr},
      {"UTF-8", "Spell\r\nCl\xC3\xA9msy\tUus\r\n", nullptr},
      {"UTF-8 with mark", "\xEF\xBB\xBF" + text, nullptr},
      {"empty", "", nullptr},
      {"two 0xFF bytes", "\xFF\xFF", nullptr},
      {"UTF-16LE with mark", utf16(text, false, true), "UTF-16"},
      {"UTF-16BE with mark", utf16(text, true, true), "UTF-16"},
      {"UTF-16LE", utf16(text, false, false), "NUL"},
      {"UTF-16BE", utf16(text, true, false), "NUL"},
      {"a lone NUL", "\0"s, "NUL"},
      {"ANSI with a NUL at the end", text + '\0', "NUL"},
  };
  const Path path = PathOf("spells.txt");
  for (const auto& c : cases) {
    SCOPED_TRACE(c.encoding);
    ASSERT_TRUE(ReplaceFileContents(path, c.bytes));
    std::string bytes = "stale";
    Utf8 error;
    const ReadStatus status = ReadWholeFile(path, bytes, &error);
    SpellTable spells{};
    spells[0].Name = "kept";
    const CatalogueRead catalogue = ReadCatalogue(path, spells);
    if (c.unreadableBecause == nullptr) {
      EXPECT_EQ(status, ReadStatus::Ok);
      EXPECT_EQ(bytes, c.bytes);
      EXPECT_EQ(catalogue, CatalogueRead::Ok);
    } else {
      EXPECT_EQ(status, ReadStatus::Failed);
      EXPECT_EQ(bytes, "");
      EXPECT_EQ(Find(error, "Cannot read \"" + path.Text() + "\": "), 0u) << error;
      EXPECT_NE(Find(error, Utf8(c.unreadableBecause)), std::string::npos) << error;
      EXPECT_EQ(catalogue, CatalogueRead::Unreadable);
      EXPECT_EQ(spells[0].Name, "kept");
    }
  }
}

// The steps of a save, in the order they ran.
enum class Step { Create, Write, Flush, Close, Replace, Delete };

// This system's steps, watched before each one runs; the steps in `failing` fail instead (a write
// after writing half, a close after closing).
class WatchedSteps final : public SaveSteps {
 public:
  WatchedSteps(std::vector<Step> failing, std::function<void(Step, const Path&)> watch)
      : failing_(std::move(failing)), watch_(std::move(watch)) {}

  bool IsReadOnly(const Path& target) override { return real_->IsReadOnly(target); }
  bool Create(const Path& target, Path& temp) override {
    if (Fails(Step::Create)) return false;
    const bool created = real_->Create(target, temp);
    temp_ = temp;
    return created;
  }
  bool Write(std::string_view bytes) override {
    if (!Fails(Step::Write)) return real_->Write(bytes);
    real_->Write(bytes.substr(0, bytes.size() / 2));
    return false;
  }
  bool Flush() override { return !Fails(Step::Flush) && real_->Flush(); }
  bool Close() override {
    const bool fails = Fails(Step::Close);
    return real_->Close() && !fails;
  }
  bool Replace(const Path& temp, const Path& target) override {
    return !Fails(Step::Replace) && real_->Replace(temp, target);
  }
  bool Delete(const Path& temp) override { return !Fails(Step::Delete) && real_->Delete(temp); }
  Utf8 Reason() const override { return injected_ ? Utf8("injected") : real_->Reason(); }

  std::vector<Step> ran;

 private:
  bool Fails(Step step) {
    ran.push_back(step);
    watch_(step, temp_);
    injected_ = std::find(failing_.begin(), failing_.end(), step) != failing_.end();
    return injected_;
  }
  std::unique_ptr<SaveSteps> real_ = SystemSaveSteps();
  std::vector<Step> failing_;
  std::function<void(Step, const Path&)> watch_;
  Path temp_;
  bool injected_ = false;
};

// A save that fails at any one of its steps leaves the old file as it was and no temporary file;
// until the move, the old file is untouched and the new bytes stand whole in a file of our own
// beside it. Only a temporary file that cannot be deleted stays, until the next start.
TEST_F(FileIo, ASaveFailingAtAnyStepKeepsTheOldFile) {
  using enum Step;
  const std::string name = "quillorb - Bob.ini";
  const Path path = PathOf(name);
  const std::string old = "[Reagent]\r\nReagent0=12\r\n";
  const std::string next = "[Reagent]\r\n" + std::string(300000, 'n');
  const struct {
    const char* failure;
    std::vector<Step> failing;
    const char* what;  // nullptr: the save goes through
    std::vector<Step> ran;
  } cases[] = {
      {"none", {}, nullptr, {Create, Write, Flush, Close, Replace}},
      {"create", {Create}, "Cannot create", {Create}},
      {"write", {Write}, "Cannot write", {Create, Write, Close, Delete}},
      {"flush", {Flush}, "Cannot write", {Create, Write, Flush, Close, Delete}},
      {"close", {Close}, "Cannot write", {Create, Write, Flush, Close, Delete}},
      {"replace", {Replace}, "Cannot replace", {Create, Write, Flush, Close, Replace, Delete}},
      {"replace, delete",
       {Replace, Delete},
       "Cannot replace",
       {Create, Write, Flush, Close, Replace, Delete}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.failure);
    ASSERT_TRUE(ReplaceFileContents(path, old));
    WatchedSteps steps(c.failing, [&](Step step, const Path& temp) {
      std::string target;
      EXPECT_EQ(ReadWholeFileRaw(path, target), ReadStatus::Ok);
      EXPECT_EQ(target, old) << "before step " << static_cast<int>(step);
      if (step == Create) return;
      const fs::path tempPath(std::u8string(temp.Utf8().begin(), temp.Utf8().end()));
      EXPECT_EQ(tempPath.parent_path(), dir_);
      EXPECT_TRUE(IsOwnTemporaryFileName(tempPath.filename().string())) << temp;
      EXPECT_TRUE(FileExists(temp));
      std::string written;
      if (step == Replace) {
        EXPECT_EQ(ReadWholeFileRaw(temp, written), ReadStatus::Ok);
        EXPECT_EQ(written, next);
      }
    });
    Utf8 error;
    const bool saved = ReplaceFileContents(steps, path, next, &error);
    EXPECT_EQ(saved, c.what == nullptr);
    EXPECT_EQ(steps.ran, c.ran);
    EXPECT_EQ(Read(path), saved ? next : old);
    if (!saved) {
      EXPECT_EQ(error, Utf8(c.what) + " \"" + path.Text() + "\": injected");
    }
    if (c.failing.size() == 2) {
      EXPECT_EQ(RemoveStaleTemporaryFiles(Folder(dir_)), 1);
    }
    EXPECT_EQ(Entries(), std::vector<std::string>{name});
  }
}

}  // namespace
}  // namespace quillorb

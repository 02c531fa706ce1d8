// Runs the same reads and writes through the platform's private-profile functions and through
// IniDocument, on the same files, and compares what comes back and what lands on disk.
//
// Under Wine the platform re-serialises the whole file on every write (blank lines dropped, lines
// re-spelt "key=value", leading blanks of written values removed), while Windows edits the file as
// text. Bytes are therefore compared only for files that both leave in the same shape; for the
// rest the values read back from both files are compared.
#include "model/ini_file.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <chrono>
#include <cstdio>
#include <string>
#include <vector>

namespace quillorb {
namespace {

using namespace std::string_literals;

struct Write {
  std::string section, key, value;
};

struct Key {
  std::string section, key;
};

class IniDifferential : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    char temp[MAX_PATH];
    ASSERT_NE(GetTempPathA(MAX_PATH, temp), 0u);
    folder_ = std::string(temp) + "quillorb-ini-" + std::to_string(GetCurrentProcessId()) + "\\";
    CreateDirectoryA(folder_.c_str(), nullptr);
  }
  static void TearDownTestSuite() {
    for (const std::string& file : files_) DeleteFileA(file.c_str());
    RemoveDirectoryA(folder_.c_str());
  }

  // Every case gets a file name of its own, so the platform's profile cache never serves an
  // earlier case's contents.
  static std::string NewFile() {
    files_.push_back(folder_ + "case" + std::to_string(files_.size()) + ".ini");
    return files_.back();
  }

  static std::string FileWith(const std::string& bytes) {
    std::string path = NewFile();
    HANDLE h = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                           FILE_ATTRIBUTE_NORMAL, nullptr);
    EXPECT_NE(h, INVALID_HANDLE_VALUE);
    DWORD written = 0;
    WriteFile(h, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
    CloseHandle(h);
    return path;
  }

  static std::string Contents(const std::string& path) {
    WritePrivateProfileStringA(nullptr, nullptr, nullptr, path.c_str());  // flushes the cache
    std::string bytes;
    HANDLE h = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                           OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (h == INVALID_HANDLE_VALUE) return "<missing>";
    char buffer[65536];
    DWORD got = 0;
    while (ReadFile(h, buffer, sizeof buffer, &got, nullptr) && got > 0) bytes.append(buffer, got);
    CloseHandle(h);
    return bytes;
  }

  static std::string PlatformRead(const std::string& path, const std::string& section,
                                  const std::string& key, const std::string& def) {
    char buffer[1024];
    GetPrivateProfileStringA(section.c_str(), key.c_str(), def.c_str(), buffer, sizeof buffer,
                             path.c_str());
    return buffer;
  }

  // The platform and IniDocument must read the same value from `bytes`.
  static std::string ExpectSameRead(const std::string& bytes, const std::string& section,
                                    const std::string& key, const std::string& def = "<default>") {
    std::string ours = IniDocument(bytes).ReadString(section, key, def);
    EXPECT_EQ(PlatformRead(FileWith(bytes), section, key, def), ours)
        << "[" << section << "] " << key << " in " << ::testing::PrintToString(bytes);
    return ours;
  }

  // Applies `writes` key by key through the platform and through IniDocument, starting from
  // `initial` (no file when nullptr). Returns {platform's file, ours}.
  static std::pair<std::string, std::string> ApplyBoth(const char* initial,
                                                       const std::vector<Write>& writes) {
    std::string path = initial ? FileWith(initial) : NewFile();
    IniDocument ini(initial ? initial : "");
    for (const Write& w : writes) {
      EXPECT_TRUE(WritePrivateProfileStringA(w.section.c_str(), w.key.c_str(), w.value.c_str(),
                                             path.c_str()));
      ini.WriteString(w.section, w.key, w.value);
    }
    return {Contents(path), ini.Serialize()};
  }

  static void ExpectSameBytes(const char* initial, const std::vector<Write>& writes) {
    auto [platform, ours] = ApplyBoth(initial, writes);
    EXPECT_EQ(ours, platform) << "starting from "
                              << ::testing::PrintToString(initial ? initial : "");
  }

  // For files the two leave in different shapes: every key in `keys` must read the same.
  static std::string ExpectSameValues(const char* initial, const std::vector<Write>& writes,
                                      const std::vector<Key>& keys) {
    auto [platform, ours] = ApplyBoth(initial, writes);
    for (const Key& k : keys) {
      EXPECT_EQ(IniDocument(ours).ReadString(k.section, k.key, "<default>"),
                IniDocument(platform).ReadString(k.section, k.key, "<default>"))
          << "[" << k.section << "] " << k.key
          << "\nplatform: " << ::testing::PrintToString(platform)
          << "\nours: " << ::testing::PrintToString(ours);
    }
    return ours;
  }

  static inline std::string folder_;
  static inline std::vector<std::string> files_;
};

// From Wine's kernel32 profile tests.
constexpr char kWineFile[] =
    "[section1]\r\nname1=val1\r\nname2=\"val2\"\r\nname3\r\nname4=a\r\n[section2]\r\n";

TEST_F(IniDifferential, ReadsAgree) {
  EXPECT_EQ(ExpectSameRead(kWineFile, "section1", "name1"), "val1");
  EXPECT_EQ(ExpectSameRead(kWineFile, "section1", "NaMe1"), "val1");
  EXPECT_EQ(ExpectSameRead(kWineFile, "SECTION1", "name2"), "val2");
  EXPECT_EQ(ExpectSameRead(kWineFile, "section1", "name3"), "<default>");
  EXPECT_EQ(ExpectSameRead(kWineFile, "section1", "name4"), "a");
  EXPECT_EQ(ExpectSameRead(kWineFile, "section2", "DoesntExist", ""), "");
  EXPECT_EQ(ExpectSameRead(kWineFile, "section3", "name1"), "<default>");
  EXPECT_EQ(PlatformRead(folder_ + "nonexistent.ini", "section1", "name1", "default"), "default");

  const std::string shapes =
      "[s]\r\n"
      "  spaced key  =  spaced value  \r\n"
      "a=x=y\r\n"
      "dq=\"Ultima Online - \"\r\n"
      "sq='q'\r\n"
      "lone=\"\r\n"
      "odd=\"a'\r\n"
      "empty=\r\n"
      "[not a section\r\n"
      "dup=first\r\n"
      "dup=second\r\n"
      "[t]]x]\r\n"
      "k=t\r\n"
      "[S]\r\n"
      "later=hidden\r\n"
      "  [ Spaced Section ]  \r\n"
      "k=spaced\r\n";
  EXPECT_EQ(ExpectSameRead(shapes, "S", "SPACED KEY"), "spaced value");
  EXPECT_EQ(ExpectSameRead(shapes, "s", "a"), "x=y");
  EXPECT_EQ(ExpectSameRead(shapes, "s", "dq"), "Ultima Online - ");
  EXPECT_EQ(ExpectSameRead(shapes, "s", "sq"), "q");
  EXPECT_EQ(ExpectSameRead(shapes, "s", "lone"), "\"");
  EXPECT_EQ(ExpectSameRead(shapes, "s", "odd"), "\"a'");
  EXPECT_EQ(ExpectSameRead(shapes, "s", "empty"), "");
  EXPECT_EQ(ExpectSameRead(shapes, "s", "dup"), "first");
  EXPECT_EQ(ExpectSameRead(shapes, "t]]x", "k"), "t");
  EXPECT_EQ(ExpectSameRead(shapes, "s", "later"), "<default>");
  EXPECT_EQ(ExpectSameRead(shapes, "spaced section", "k"), "spaced");

  const std::string binary = "\0\x01\r\n[s]\r\nk=ab\0cd\r\n\xff=\0\r\nz=1"s;
  EXPECT_EQ(ExpectSameRead(binary, "s", "k"), "ab");
  EXPECT_EQ(ExpectSameRead(binary, "s", "z"), "1");

  const std::string longValues = "[l]\r\nv=" + std::string(1500, 'v') + "\r\nq=\"" +
                                 std::string(1200, 'q') + "\"\r\nexact=" + std::string(1023, 'e') +
                                 "\r\n";
  EXPECT_EQ(ExpectSameRead(longValues, "l", "v"), std::string(1023, 'v'));
  EXPECT_EQ(ExpectSameRead(longValues, "l", "q"), std::string(1023, 'q'));
  EXPECT_EQ(ExpectSameRead(longValues, "l", "exact"), std::string(1023, 'e'));
}

TEST_F(IniDifferential, LineEnds) {
  for (const std::string& eol : {"\n"s, "\r\n"s, "\r\n\r\n"s, "\n\n"s}) {
    const std::string file = "[a]" + eol + "k=1" + eol + "[b]" + eol + "k=2" + eol + "j=3";
    EXPECT_EQ(ExpectSameRead(file, "a", "k"), "1");
    EXPECT_EQ(ExpectSameRead(file, "b", "j"), "3");
  }
  const std::string mixed = "[a]\r\nk=1\n[b]\r\n\nk=2\n";
  EXPECT_EQ(ExpectSameRead(mixed, "b", "k"), "2");

  // CR-only: Wine rewrites the file with CR LF line ends, Windows keeps the lines it does not
  // change.
  const std::string crOnly = "[a]\rk=1\r[b]\rk=2\r";
  EXPECT_EQ(ExpectSameRead(crOnly, "b", "k"), "2");
  EXPECT_EQ(ExpectSameValues(crOnly.c_str(), {{"a", "k", "5"}, {"b", "new", "6"}},
                             {{"a", "k"}, {"b", "k"}, {"b", "new"}}),
            "[a]\rk=5\r[b]\rk=2\rnew=6\r\n");
}

TEST_F(IniDifferential, KnownDifferencesFromThePlatform) {
  // GetPrivateProfileStringA strips trailing blanks from the default; the profile's caption
  // default "Ultima Online - " must keep its final blank, so IniDocument returns it as given.
  EXPECT_EQ(PlatformRead(FileWith(kWineFile), "Config", "Caption", "Ultima Online - "),
            "Ultima Online -");
  EXPECT_EQ(IniDocument(kWineFile).ReadString("Config", "Caption", "Ultima Online - "),
            "Ultima Online - ");

  // GetPrivateProfileIntA reads up to the first non-digit and wraps large values; the profile
  // takes only whole numbers and gives the default otherwise.
  struct IntCase {
    const char* value;
    UINT platform;
    int32_t ours;
  };
  const IntCase cases[] = {
      {"-1", 0xFFFFFFFFu, -1}, {"+1", 1, 1},   {"0x70", 112, 112}, {"12", 12, 12},
      {"12abc", 12, 77},       {"abc", 0, 77}, {"", 77, 77},       {"42A94967297", 42, 77},
      {"4294967297", 1, 77},
  };
  for (const IntCase& c : cases) {
    const std::string file = "[Test]\r\nProfileInt=" + std::string(c.value) + "\r\n";
    EXPECT_EQ(GetPrivateProfileIntA("Test", "ProfileInt", 77, FileWith(file).c_str()), c.platform)
        << c.value;
    EXPECT_EQ(IniDocument(file).ReadInt("Test", "ProfileInt", 77), c.ours) << c.value;
  }
}

TEST_F(IniDifferential, WritesAgreeByteForByte) {
  // From Wine's kernel32 profile tests.
  ExpectSameBytes(nullptr, {{"App1", "key1", "string1"},
                            {"App1", "key2", "string2"},
                            {"App1", "key3", "string3"},
                            {"App2", "key4", "string4"},
                            {"App3", "key5", "string5"},
                            {"App3", "empty", ""}});
  ExpectSameBytes("[s]\r\nname1=val1\r\nname2=\r\nname4=val4\r\n", {{"s", "name5", "val5"}});

  const char* file = "[Reagent]\r\nReagent0=1\r\nReagent1=2\r\n[Config]\r\nTop=5\r\n";
  ExpectSameBytes(file, {{"reagent", "REAGENT1", "9"}});  // in place, name kept
  ExpectSameBytes(file, {{"Reagent", "Reagent2", "3"}});  // end of a middle section
  ExpectSameBytes(file, {{"Macro", "KEY0", "112"}});      // new section at the end
  ExpectSameBytes(file, {{"Config", "Top", "5"}});        // unchanged
  ExpectSameBytes(file, {{"Config", "Caption", "\"Ultima Online - \""}});
  ExpectSameBytes("[a]\r\nk=1\r\n[b]\r\nk=2\r\n[A]\r\nk=3\r\n",
                  {{"a", "k", "4"}, {"A", "j", "5"}, {"B", "j", "6"}});
  ExpectSameBytes("[a]\r\nk=1", {{"a", "j", "2"}});
  ExpectSameBytes("[a]\r\nk=1", {{"b", "j", "2"}});
}

TEST_F(IniDifferential, WritesKeepForeignLines) {
  // Blank lines, comments, indentation and odd line ends: Windows keeps them where they are, Wine
  // rewrites the file, so the values read back are compared, and our bytes are checked exactly.
  std::string ours = ExpectSameValues(
      "; profile\r\n[Config]\r\n  Top = 5  \r\n\r\n[Reagent]\r\nReagent0=1\r\n\r\n",
      {{"Config", "Top", "6"}, {"Config", "Left", "7"}, {"Reagent", "Reagent1", " 8"}},
      {{"Config", "Top"}, {"Config", "Left"}, {"Reagent", "Reagent0"}, {"Reagent", "Reagent1"}});
  EXPECT_EQ(ours,
            "; profile\r\n[Config]\r\nTop=6\r\nLeft=7\r\n\r\n[Reagent]\r\nReagent0=1\r\n"
            "Reagent1= 8\r\n\r\n");

  ours = ExpectSameValues("[a]\nk=1\n\n[b]\nk=2\n", {{"a", "j", "3"}, {"b", "k", "4"}},
                          {{"a", "k"}, {"a", "j"}, {"b", "k"}});
  EXPECT_EQ(ours, "[a]\nk=1\nj=3\r\n\n[b]\nk=4\n");

  ours = ExpectSameValues("[a]\r\nk=1\n; note\r\n\n[b]\nk=2", {{"a", "j", "3"}, {"c", "x", "y"}},
                          {{"a", "k"}, {"a", "j"}, {"b", "k"}, {"c", "x"}});
  EXPECT_EQ(ours, "[a]\r\nk=1\n; note\r\nj=3\r\n\n[b]\nk=2\r\n[c]\r\nx=y\r\n");
}

// The save order of a full profile: 11 sections, 588 keys.
std::vector<Write> ProfileWrites(int variant) {
  std::vector<Write> w;
  auto num = [](int n) { return std::to_string(n); };
  for (int r = 0; r < 8; ++r) {
    w.push_back({"Reagent", "Reagent" + num(r), num(r * 10 + variant)});
    w.push_back({"BankReagent", "BankReagent" + num(r), num(r * 100 + variant)});
    w.push_back({"ReagentCost", "ReagentCost" + num(r), variant ? "0.100000001490116" : "6.5"});
    w.push_back({"ReagentUsed", "ReagentUsed" + num(r), num(variant)});
  }
  w.push_back({"Config", "AdjustRegsInBackpack", "30"});
  for (int p = 0; p < 4; ++p) {
    for (int s = 0; s < 8; ++s) w.push_back({"UserSpell", "Spell" + num(p * 10 + s), num(s)});
  }
  for (const char* key : {"AlwaysOnTop", "EnableSpellCasting", "Inscription", "Top", "Left"}) {
    w.push_back({"Config", key, num(variant)});
  }
  const std::string caption = variant ? "\"UO - Mage \"" : "\"Ultima Online - \"";
  w.push_back({"Config", "Caption", caption});
  for (int k = 0; k < 5; ++k) w.push_back({"Config", "Captions" + num(k), caption});
  for (int i = 0; i < 64; ++i) {
    w.push_back({"Cast", "Spell" + num(i), variant ? "\"Kal Ort Por\"" : "\"\""});
    w.push_back({"SpellBook", "Spell" + num(i), num((i + variant) % 2)});
    w.push_back({"DangerSpell", "DangerSpell" + num(i), num(variant & 1)});
    w.push_back({"SpellCount", "SpellCount" + num(i), num(i * variant)});
  }
  for (int i = 0; i < 64; ++i) {
    w.push_back({"Macro", "ALT" + num(i), "0"});
    w.push_back({"Macro", "CTRL" + num(i), "1"});
    w.push_back({"Macro", "SHIFT" + num(i), num(variant & 1)});
    w.push_back({"Macro", "KEY" + num(i), num(112 + (i + variant) % 12)});
  }
  return w;
}

TEST_F(IniDifferential, FullProfileWrittenAndRewritten) {
  const std::vector<Write> first = ProfileWrites(0);
  const std::vector<Write> second = ProfileWrites(1);
  ASSERT_EQ(first.size(), 588u);  // 8 x 4 reagent, 12 config, 32 page, 64 x 8 spell keys

  const std::string path = NewFile();
  IniDocument ini;
  auto start = std::chrono::steady_clock::now();
  for (const Write& w : first) {
    WritePrivateProfileStringA(w.section.c_str(), w.key.c_str(), w.value.c_str(), path.c_str());
  }
  auto end = std::chrono::steady_clock::now();
  for (const Write& w : first) ini.WriteString(w.section, w.key, w.value);
  const std::string created = Contents(path);
  EXPECT_EQ(ini.Serialize(), created);
  std::printf("platform: %zu key-by-key writes took %.0f ms\n", first.size(),
              std::chrono::duration<double, std::milli>(end - start).count());

  // The save path of the profile store: load the file, write every key, serialise.
  IniDocument reloaded(created);
  for (const Write& w : second) {
    WritePrivateProfileStringA(w.section.c_str(), w.key.c_str(), w.value.c_str(), path.c_str());
    reloaded.WriteString(w.section, w.key, w.value);
  }
  const std::string rewritten = Contents(path);
  EXPECT_EQ(reloaded.Serialize(), rewritten);
  for (const Write& w : second) {
    EXPECT_EQ(reloaded.ReadString(w.section, w.key, "<default>"),
              PlatformRead(path, w.section, w.key, "<default>"))
        << w.section << "/" << w.key;
  }
}

}  // namespace
}  // namespace quillorb

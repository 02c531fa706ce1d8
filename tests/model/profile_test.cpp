// The profile store on its own: what ReadProfile makes of a file and what WriteProfile writes,
// the names that may become file names, our own temporary files, and the booking side of Cast.
#include "model/profile.h"

#include <gtest/gtest.h>

#include <cmath>

#include <algorithm>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <limits>
#include <string>
#include <vector>

#include "model/file_io.h"

namespace quillorb {
namespace {

std::vector<std::string> Lines(const std::string& text) {
  std::vector<std::string> lines;
  size_t start = 0;
  for (size_t at; (at = text.find("\r\n", start)) != std::string::npos; start = at + 2) {
    lines.push_back(text.substr(start, at - start));
  }
  return lines;
}

struct Loaded {
  ProfileSettings settings;
  SpellTable spells{};
};

Loaded Load(const std::string& file, char separator = '.') {
  Loaded l;
  for (TSpell& s : l.spells) s.Key = 49;  // the catalogue's key
  ReadProfile(IniDocument(file), l.settings, l.spells, separator);
  return l;
}

TEST(ProfileStore, WrittenFromScratchInTheUsualOrder) {
  IniDocument ini;
  SpellTable spells{};
  ProfileSettings s;
  s.ReagentCost[1] = 0.1f;
  WriteProfile(ini, s, spells, '.');
  std::vector<std::string> sections, config;
  std::string current;
  for (const std::string& line : Lines(ini.Serialize())) {
    if (line.front() == '[') {
      current = line.substr(1, line.size() - 2);
      sections.push_back(current);
    } else if (current == "Config") {
      config.push_back(line.substr(0, line.find('=')));
    }
  }
  EXPECT_EQ(sections, (std::vector<std::string>{
                          "Reagent", "BankReagent", "ReagentCost", "ReagentUsed", "Config",
                          "UserSpell", "Cast", "SpellBook", "DangerSpell", "SpellCount", "Macro"}));
  EXPECT_EQ(config,
            (std::vector<std::string>{"AdjustRegsInBackpack", "AlwaysOnTop", "EnableSpellCasting",
                                      "Inscription", "Top", "Left", "Caption", "Captions0",
                                      "Captions1", "Captions2", "Captions3", "Captions4",
                                      "ClientProgram", "ClassicUOFolder", "WarnCasts"}));
  const std::string text = ini.Serialize();
  for (const char* line :
       {"\r\nReagentCost1=0.100000001490116\r\n", "\r\nCaption=\"Ultima Online - \"\r\n",
        "\r\nSpell37=0\r\n", "\r\nKEY63=49\r\n", "\r\nWarnCasts=5\r\n",
        "[Macro]\r\nALT0=1\r\nCTRL0=1\r\n"}) {
    EXPECT_NE(text.find(line), std::string::npos) << line;
  }
}

TEST(ProfileStore, ValuesReadAsTheStoreRules) {
  const Loaded l = Load(
      "[Reagent]\r\nReagent0=abc\r\nReagent1=$10\r\nReagent2=0x10\r\n"
      "[ReagentCost]\r\nReagentCost0=abc\r\nReagentCost1=\r\nReagentCost2=7.25\r\n"
      "ReagentCost3=3.40282346638529E38\r\nReagentCost4=1E39\r\nReagentCost5=-0\r\n"
      "[UserSpell]\r\nSpell00=64\r\nSpell01=-1\r\nSpell02=63\r\nSpell37=5\r\n"
      "[Config]\r\nAlwaysOnTop=2\r\nCaption=\"  x  \"\r\nWarnCasts=-3\r\n"
      "[Macro]\r\nKEY5=0x70\r\nALT5=0\r\nKEY6=65636\r\n");
  const ProfileSettings& s = l.settings;
  EXPECT_EQ(s.BackpackReagent[0], 0);   // not a number: the default
  EXPECT_EQ(s.BackpackReagent[1], 16);  // "$10" is hexadecimal
  EXPECT_EQ(s.BackpackReagent[2], 16);
  // An unreadable or empty price takes its default, not 0; the largest float as written reads
  // back as itself; a value beyond the float range takes the default.
  EXPECT_EQ(s.ReagentCost[0], 6.5f);
  EXPECT_EQ(s.ReagentCost[1], 8.5f);
  EXPECT_EQ(s.ReagentCost[2], 7.25f);
  EXPECT_EQ(s.ReagentCost[3], std::numeric_limits<float>::max());
  EXPECT_EQ(s.ReagentCost[4], 6.5f);
  EXPECT_FALSE(std::signbit(s.ReagentCost[5]));  // "-0" is 0, which is written "0"
  // Slot values outside 0..63 never reach the spell table.
  EXPECT_EQ(s.UserSpell[0][0], 0);
  EXPECT_EQ(s.UserSpell[0][1], 0);
  EXPECT_EQ(s.UserSpell[0][2], 63);
  EXPECT_EQ(s.UserSpell[3][7], 5);
  EXPECT_TRUE(s.AlwaysOnTop);
  EXPECT_EQ(s.ClientCaption, "  x  ");
  EXPECT_EQ(s.ClientCaptions[4], "Ultima Online - ");
  EXPECT_EQ(s.WarnCasts, 0);  // below the range: off
  EXPECT_EQ(Load("[Config]\r\nWarnCasts=x\r\n").settings.WarnCasts, 5);
  EXPECT_EQ(Load("[Config]\r\nWarnCasts=5000\r\n").settings.WarnCasts, 999);
  // The profile's macro keys over the catalogue's; what it lacks stays as the catalogue had it.
  EXPECT_EQ(l.spells[5].Key, 0x70);
  EXPECT_FALSE(l.spells[5].Alt);
  EXPECT_EQ(l.spells[6].Key, 100);  // the low 16 bits
  EXPECT_EQ(l.spells[7].Key, 49);
  EXPECT_TRUE(l.spells[7].Alt);
}

// A hand-edited or damaged profile brings no count outside the range the ledger keeps it in, so
// none is written back as it came (a bank of -2147483648, say).
TEST(ProfileStore, CountsAreReadIntoTheirRanges) {
  const Loaded l = Load(
      "[Reagent]\r\nReagent0=-1\r\nReagent1=1000\r\nReagent2=999\r\n"
      "[BankReagent]\r\nBankReagent0=-2147483648\r\nBankReagent1=10000\r\nBankReagent2=9999\r\n"
      "[ReagentUsed]\r\nReagentUsed0=-5\r\nReagentUsed1=2147483647\r\nReagentUsed2=10000\r\n"
      "[SpellCount]\r\nSpellCount0=-2147483648\r\nSpellCount1=10001\r\nSpellCount2=10000\r\n");
  const ProfileSettings& s = l.settings;
  const std::pair<ReagentCounts, int32_t> counts[] = {
      {s.BackpackReagent, 999}, {s.BankReagent, 9999}, {s.ReagentUsed, 10000}};
  for (const auto& [read, max] : counts) {
    EXPECT_EQ(read[0], 0) << max;
    EXPECT_EQ(read[1], max);
    EXPECT_EQ(read[2], max);
  }
  EXPECT_EQ(l.spells[0].CastCount, 0);
  EXPECT_EQ(l.spells[1].CastCount, 10000);
  EXPECT_EQ(l.spells[2].CastCount, 10000);
}

TEST(ProfileStore, EveryValueWrittenReadsBackAsItself) {
  Loaded first;
  first.settings.ReagentCost = {
      std::numeric_limits<float>::max(),        0.1f,        1e-30f, -2.5f,
      std::numeric_limits<float>::denorm_min(), 123456.789f, 0,      6.5f};
  first.settings.BackpackReagent[3] = 999;
  first.settings.ClientCaptions[2] = " a \"b\" ";
  first.settings.ClientProgram = "shard client.exe";
  first.settings.ClassicUOFolder = "C:\\Games\\ClassicUO ";
  first.settings.UserSpell[2][4] = 63;
  first.settings.WarnCasts = 12;
  first.spells[9].CastText = " Kal Ort Por ";
  first.spells[9].Key = 0xFFFF;
  for (char separator : {'.', ','}) {
    IniDocument ini;
    WriteProfile(ini, first.settings, first.spells, separator);
    const Loaded back = Load(ini.Serialize(), separator);
    EXPECT_EQ(std::memcmp(back.settings.ReagentCost.data(), first.settings.ReagentCost.data(),
                          sizeof first.settings.ReagentCost),
              0)
        << separator;
    EXPECT_EQ(back.settings.BackpackReagent, first.settings.BackpackReagent);
    EXPECT_EQ(back.settings.ClientCaptions, first.settings.ClientCaptions);
    EXPECT_EQ(back.settings.ClientProgram, "shard client.exe");
    EXPECT_EQ(back.settings.ClassicUOFolder, first.settings.ClassicUOFolder);
    EXPECT_EQ(back.settings.UserSpell, first.settings.UserSpell);
    EXPECT_EQ(back.settings.WarnCasts, 12);
    EXPECT_EQ(back.spells[9].CastText, " Kal Ort Por ");
    EXPECT_EQ(back.spells[9].Key, 0xFFFF);
  }
}

TEST(ProfileStore, UsersIniReadsBackAsTheCharacterWritten) {
  const struct {
    std::string name;
    std::string line;  // the line written for it
  } cases[] = {
      {"Bob", "Last=Bob"},  // plain, as it always was
      {"", "Last="},
      {"Sir Bob", "Last=Sir Bob"},
      {"x ", "Last=\"x \""},  // the reader trims blanks and removes one pair of quotes
      {" x", "Last=\" x\""},
      {"'x'", "Last=\"'x'\""},
      {"\"x\"", "Last=\"\"x\"\""},
      {"x'", "Last=x'"},
  };
  for (const auto& c : cases) {
    for (const std::string& before :
         {std::string(), std::string("[User]\r\nLast=\"x \"\r\nMore=1\r\n")}) {
      IniDocument users(before);
      WriteLastUser(users, c.name);
      const std::string bytes = users.Serialize();
      EXPECT_EQ(ReadLastUser(IniDocument(bytes)), c.name) << bytes;
      EXPECT_NE(bytes.find("[User]\r\n" + c.line + "\r\n"), std::string::npos) << bytes;
    }
  }
}

TEST(ProfileNames, OnlyPlainFileNamePartsAreCharacterNames) {
  for (const char* good : {"", "Bob", "Sir Bob the 3rd", "a.b", "\x83\x5C"}) {
    EXPECT_TRUE(IsPlainCharacterName(good, [](unsigned char c) { return c == 0x83; })) << good;
  }
  for (const char* bad : {"..\\..\\x", "../x", "a/b", "a\\b", "..", "x..", "C:x", "a*", "a?", "a\"",
                          "a<", "a>", "a|", "a\tb", "\x7F", "\x83\x5C"}) {
    EXPECT_FALSE(IsPlainCharacterName(bad)) << bad;
  }
}

TEST(ProfileNames, OnlyOurOwnTemporaryFilesAreStale) {
  for (const char* ours : {"quillorb.ini.12-0.tmp", "users.ini.7-3.tmp", "spells.txt.1-10.tmp",
                           "quillorb - Bob.ini.4000-2.tmp", "QUILLORB.INI.1-1.tmp"}) {
    EXPECT_TRUE(IsOwnTemporaryFileName(ours)) << ours;
  }
  for (const char* theirs : {"quillorb.ini.tmp", "quillorb.ini.12.tmp", "quillorb.ini.-1.tmp",
                             "quillorb.ini.1-.tmp", "other.ini.1-2.tmp", "quillorb - .ini.1-2.tmp",
                             "quillorb.ini.1-2.tmp.txt", "x.1-2.tmp", ".1-2.tmp", "quillorb.ini"}) {
    EXPECT_FALSE(IsOwnTemporaryFileName(theirs)) << theirs;
  }
  namespace fs = std::filesystem;
  const fs::path dir = fs::temp_directory_path() / "quillorb-stale-temp";
  fs::remove_all(dir);
  fs::create_directories(dir);
  for (const char* name :
       {"quillorb.ini.12-0.tmp", "users.ini.7-3.tmp", "mine.tmp", "quillorb.ini"}) {
    std::ofstream(dir / name) << "x";
  }
  EXPECT_EQ(RemoveStaleTemporaryFiles(Path::FromUtf8(dir.string() + "/")), 2);
  std::vector<std::string> left;
  for (const auto& entry : fs::directory_iterator(dir))
    left.push_back(entry.path().filename().string());
  std::sort(left.begin(), left.end());
  EXPECT_EQ(left, (std::vector<std::string>{"mine.tmp", "quillorb.ini"}));
  fs::remove_all(dir);
}

// ------------------------------------------------------------------ Cast: the booking side

class FakeCaster final : public GameCaster {
 public:
  explicit FakeCaster(GameCast result) : result_(result) {}
  GameCast CastIntoGame(const TSpell&) override {
    ++calls;
    return result_;
  }
  int calls = 0;

 private:
  GameCast result_;
};

TEST(Cast, BooksOnlyWhatReachedTheGameOrWasMeantToBeBookedOnly) {
  TSpell spell;
  spell.Reagent = {1, 0, 0, 0, 0, 0, 0, 2};
  struct Case {
    GameCast game;
    CastMode mode;
    bool result;
    bool booked;
    int calls;
  };
  for (const Case& c : {Case{GameCast::NotCast, CastMode::IntoGame, false, false, 1},
                        Case{GameCast::Cast, CastMode::IntoGame, true, true, 1},
                        Case{GameCast::CastAssistantBooks, CastMode::IntoGame, true, false, 1},
                        Case{GameCast::NotCast, CastMode::BookOnly, true, true, 0}}) {
    FakeCaster caster(c.game);
    TSpell s = spell;
    ReagentCounts stock{5, 5, 5, 5, 5, 5, 5, 1};
    ReagentCounts used{};
    EXPECT_EQ(s.Cast(c.mode, stock, used, &caster), c.result);
    EXPECT_EQ(caster.calls, c.calls);
    EXPECT_EQ(s.CastCount, c.booked ? 1 : 0);
    EXPECT_EQ(stock[7], c.booked ? 0 : 1);  // clamped at 0
    EXPECT_EQ(used[7], c.booked ? 2 : 0);
    s.InSpellBook = false;
    EXPECT_FALSE(s.Cast(c.mode, stock, used, &caster));
  }
  // Without a caster nothing reaches the game; a stored mode other than 0 books only.
  TSpell s = spell;
  ReagentCounts stock{}, used{};
  EXPECT_FALSE(s.Cast(CastMode::IntoGame, stock, used, nullptr));
  EXPECT_EQ(CastModeFromValue(0), CastMode::IntoGame);
  EXPECT_EQ(CastModeFromValue(1), CastMode::BookOnly);
  EXPECT_EQ(CastModeFromValue(7), CastMode::BookOnly);
}

}  // namespace
}  // namespace quillorb

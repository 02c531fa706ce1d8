// Profile load and save: the program's own path (the catalogue and one in-memory pass over the
// profile file, as TForm_Main::LoadProfile / SaveProfile do) against the same keys read and written
// one by one through GetPrivateProfileStringA / WritePrivateProfileStringA, with the catalogue
// through plain file reads and writes. Both paths run the program's ReadProfile / WriteProfile;
// only where the keys are kept differs. Both run side by side, alternately, in one process.
//
// Wine keeps recently used profile files parsed in memory and serves later reads from there. So
// that the platform path pays for reading the file as a program start does, every repetition of
// both paths works on a fresh copy of the files under a new name; the copies are made outside the
// timed part. The platform save ends with WritePrivateProfileStringA(NULL, NULL, NULL, file), which
// flushes the cached file to disk.
#include <windows.h>

#include <cstdio>
#include <exception>
#include <string>
#include <string_view>
#include <vector>

#include "bench/bench_util.h"
#include "model/catalogue.h"
#include "model/file_io.h"
#include "model/ini_file.h"
#include "model/profile.h"
#include "model/text.h"

namespace {

using namespace quillorb;

constexpr int kRepetitions = 11;
constexpr double kTargetFactor = 100.0;
constexpr char kSeparator = '.';

// A character that has played a while: every key has a value of its own.
void MakeCharacter(SpellTable& spells, ProfileSettings& s) {
  static const char* const kWords[] = {"Flam", "Grav", "Corp", "Por", "Nox", "Sanct", "Xen", "Ort"};
  for (int i = 0; i < kSpellCount; ++i) {
    TSpell& spell = spells[static_cast<size_t>(i)];
    spell.CastText = "In " + std::string(kWords[i % 8]) + " " + kWords[(i * 3 + 1) % 8] +
                     (i % 3 ? "!" : " ... " + spell.Name);
    spell.InSpellBook = i % 9 != 4;
    spell.Danger = i % 8 == 5 || i % 11 == 0;
    spell.CastCount = (i * 137) % 2300;
    spell.Alt = i % 2 == 0;
    spell.Ctrl = i % 3 != 0;
    spell.Shift = i % 5 == 0;
    spell.Key =
        static_cast<uint16_t>(i < 36 ? '0' + i % 10 : 0x70 + i % 12);  // digits, then F keys
  }
  s.BackpackReagent = {143, 87, 212, 65, 301, 99, 450, 120};
  s.BankReagent = {2500, 1800, 3120, 990, 4100, 1250, 7800, 2650};
  s.ReagentCost = {5.5f, 7.25f, 3.1f, 2.9f, 6.75f, 3.3f, 2.2f, 4.05f};
  s.ReagentUsed = {1234, 876, 2101, 1455, 3022, 998, 4870, 2210};
  s.AdjustRegsInBackpack = 50;
  for (int p = 0; p < kUserPages; ++p) {
    for (int slot = 0; slot < kSlotsPerPage; ++slot) {
      s.UserSpell[static_cast<size_t>(p)][static_cast<size_t>(slot)] = (p * 19 + slot * 7) % 64;
    }
  }
  s.AlwaysOnTop = true;
  s.EnableSpellCasting = false;
  s.Inscription = true;
  s.Top = 712;
  s.Left = 318;
  s.ClientCaption = "Ultima Online - Alaric";
  s.ClientCaptions = {"Ultima Online - Alaric", "Ultima Online - Brenna", "Ultima Online - Cedric",
                      "Ultima Online - ", "Ultima Online - "};
}

bool SameSpells(const SpellTable& a, const SpellTable& b) {
  for (size_t i = 0; i < a.size(); ++i) {
    const TSpell& x = a[i];
    const TSpell& y = b[i];
    if (x.Name != y.Name || x.Rune != y.Rune || x.CastText != y.CastText || x.Alt != y.Alt ||
        x.Ctrl != y.Ctrl || x.Shift != y.Shift || x.Key != y.Key || x.Reagent != y.Reagent ||
        x.Mana != y.Mana || x.InSpellBook != y.InSpellBook || x.Danger != y.Danger ||
        x.CastCount != y.CastCount) {
      return false;
    }
  }
  return true;
}

bool SameSettings(const ProfileSettings& a, const ProfileSettings& b) {
  return a.BackpackReagent == b.BackpackReagent && a.BankReagent == b.BankReagent &&
         a.ReagentCost == b.ReagentCost && a.ReagentUsed == b.ReagentUsed &&
         a.AdjustRegsInBackpack == b.AdjustRegsInBackpack && a.UserSpell == b.UserSpell &&
         a.AlwaysOnTop == b.AlwaysOnTop && a.EnableSpellCasting == b.EnableSpellCasting &&
         a.Inscription == b.Inscription && a.Top == b.Top && a.Left == b.Left &&
         a.ClientCaption == b.ClientCaption && a.ClientCaptions == b.ClientCaptions;
}

// ------------------------------------------------------------------ the program's own path

void OursLoad(const std::string& profilePath, const std::string& catalogue, SpellTable& spells,
              ProfileSettings& s) {
  const Path profile = Path::FromUtf8(profilePath);
  if (ReadCatalogue(Path::FromUtf8(catalogue), spells) != CatalogueRead::Ok)
    throw std::runtime_error("catalogue");
  IniDocument ini;
  std::string bytes;
  if (ReadWholeFile(profile, bytes) == ReadStatus::Ok) ini = IniDocument(bytes);
  ReadProfile(ini, s, spells, kSeparator);
}

void OursSave(const std::string& profilePath, const std::string& catalogue,
              const SpellTable& spells, const ProfileSettings& s) {
  const Path profile = Path::FromUtf8(profilePath);
  IniDocument ini;
  std::string bytes;
  if (ReadWholeFile(profile, bytes) == ReadStatus::Ok) ini = IniDocument(bytes);
  WriteProfile(ini, s, spells, kSeparator);
  if (!ReplaceFileContents(profile, ini.Serialize())) throw std::runtime_error("profile save");
  if (!WriteCatalogue(Path::FromUtf8(catalogue), spells))
    throw std::runtime_error("catalogue save");
}

// ------------------------------------------------------------------ key by key through the
// platform

// The profile's keys behind GetPrivateProfileStringA / WritePrivateProfileStringA, one call per
// key: ReadProfile and WriteProfile run on them exactly as on the program's IniDocument.
class PlatformProfile final : public ProfileKeys {
 public:
  explicit PlatformProfile(const std::string& file) : file_(file) {}

  std::string ReadString(std::string_view section, std::string_view key,
                         std::string_view def) const override {
    char buffer[1024];
    GetPrivateProfileStringA(std::string(section).c_str(), std::string(key).c_str(),
                             std::string(def).c_str(), buffer, sizeof buffer, file_.c_str());
    return buffer;
  }
  int32_t ReadInt(std::string_view section, std::string_view key, int32_t def) const override {
    return ParseInt(ReadString(section, key, "")).value_or(def);
  }
  void WriteString(std::string_view section, std::string_view key,
                   std::string_view value) override {
    if (!WritePrivateProfileStringA(std::string(section).c_str(), std::string(key).c_str(),
                                    std::string(value).c_str(), file_.c_str())) {
      throw std::runtime_error("WritePrivateProfileStringA failed");
    }
  }
  void Flush() const { WritePrivateProfileStringA(nullptr, nullptr, nullptr, file_.c_str()); }

 private:
  std::string file_;
};

// The catalogue as a list of lines read from a plain file.
void PlatformReadCatalogue(const std::string& path, SpellTable& spells) {
  std::string bytes;
  if (!bench::ReadAll(path, bytes)) throw std::runtime_error("catalogue");
  std::vector<std::string> lines;
  size_t start = 0;
  for (size_t i = 0; i <= bytes.size(); ++i) {
    if (i == bytes.size() || bytes[i] == '\r' || bytes[i] == '\n') {
      if (i < bytes.size() || start < i) lines.push_back(bytes.substr(start, i - start));
      if (i + 1 < bytes.size() && bytes[i] == '\r' && bytes[i + 1] == '\n') ++i;
      start = i + 1;
    }
  }
  for (int i = 0; i < kSpellCount; ++i) {
    if (lines.size() > static_cast<size_t>(i) + 1) {
      spells[static_cast<size_t>(i)].FromLine(lines[static_cast<size_t>(i) + 1]);
    }
  }
}

void PlatformWriteCatalogue(const std::string& path, const SpellTable& spells) {
  std::string text = "Spell\tRune\tALT\tCTRL\tSHIFT\tKEY\tBP\tBM\tGL\tGS\tMR\tNS\tSA\tSS\tmana\r\n";
  for (const TSpell& spell : spells) text += spell.ToLine() + "\r\n";
  bench::WriteOrThrow(path, text);
}

// The program's own key layout (ReadProfile), each key through the platform.
void PlatformLoad(const std::string& profile, const std::string& catalogue, SpellTable& spells,
                  ProfileSettings& s) {
  PlatformReadCatalogue(catalogue, spells);
  ReadProfile(PlatformProfile(profile), s, spells, kSeparator);
}

// The program's own key layout (WriteProfile), each key through the platform.
void PlatformSave(const std::string& profile, const std::string& catalogue,
                  const SpellTable& spells, const ProfileSettings& s) {
  PlatformProfile keys(profile);
  WriteProfile(keys, s, spells, kSeparator);
  keys.Flush();
  PlatformWriteCatalogue(catalogue, spells);
}

// ------------------------------------------------------------------ the run

struct Files {
  std::string profile;
  std::string catalogue;
};

// A fresh pair of files holding `profileBytes` and `catalogueBytes`, under names not used before.
Files FreshCopy(const std::string& folder, const std::string& profileBytes,
                const std::string& catalogueBytes) {
  static int counter = 0;
  ++counter;
  Files f{folder + "quillorb - rep" + std::to_string(counter) + ".ini",
          folder + "spells" + std::to_string(counter) + ".txt"};
  bench::WriteOrThrow(f.profile, profileBytes);
  bench::WriteOrThrow(f.catalogue, catalogueBytes);
  return f;
}

void PrintRow(const char* what, const bench::Stats& s) {
  std::printf("  %-46s median %9.3f ms   min %9.3f   max %9.3f   (n=%zu)\n", what, s.median / 1000,
              s.min / 1000, s.max / 1000, s.count);
}

bool Compare(const char* what, const bench::Stats& ours, const bench::Stats& platform) {
  const double factor = platform.median / ours.median;
  const bool met = factor >= kTargetFactor;
  std::printf("  %s: ours is %.0f times faster (target at least %.0f)   %s\n", what, factor,
              kTargetFactor, bench::Verdict(met));
  return met;
}

int Run() {
  const std::string folder = bench::NewTempFolder("profile");
  SpellTable character;
  if (ReadCatalogue(Path::FromUtf8(bench::BinDir() + "spells.txt"), character) !=
      CatalogueRead::Ok) {
    std::printf("spells.txt not found beside the bench\n");
    return 1;
  }
  ProfileSettings settings;
  MakeCharacter(character, settings);
  IniDocument fresh;
  WriteProfile(fresh, settings, character, kSeparator);
  const std::string profileBytes = fresh.Serialize();
  const std::string catalogueBytes = CatalogueText(character);
  std::printf("Profile: %zu bytes, 11 sections, %d keys; catalogue: %zu bytes, 65 lines\n",
              profileBytes.size(), 8 * 4 + 12 + 32 + 64 * 8, catalogueBytes.size());
  std::printf(
      "Every repetition uses a fresh copy of both files under a new name (copy not timed);\n"
      "the platform save ends with WritePrivateProfileStringA(NULL, NULL, NULL, file).\n");

  // The values the program starts from before a load: the constructor defaults.
  const SpellTable blank{};
  std::vector<double> oursLoad, platformLoad, platformLoadCached;
  std::vector<double> saves[2][2];  // [every value changes, nothing changes][ours, platform]
  IniDocument defaults;
  WriteProfile(defaults, ProfileSettings{}, blank, kSeparator);
  const std::string defaultBytes = defaults.Serialize();
  const std::string defaultCatalogue = CatalogueText(blank);
  bool loadsAgree = true;
  bool savesAgree = true;

  // One untimed round of each first, so that code and the file cache are warm for both.
  for (int rep = -1; rep < kRepetitions; ++rep) {
    // One load of `f` by `load` into the defaults, timed into `samples`: whether it read the
    // character.
    const auto timedLoad = [&](const Files& f, auto load, std::vector<double>& samples) {
      SpellTable spells = blank;
      ProfileSettings s;
      const double us = bench::TimeUs([&] { load(f.profile, f.catalogue, spells, s); });
      if (rep >= 0) samples.push_back(us);
      return SameSpells(spells, character) && SameSettings(s, settings);
    };
    {
      const Files f = FreshCopy(folder, profileBytes, catalogueBytes);
      loadsAgree = timedLoad(f, OursLoad, oursLoad) && loadsAgree;
    }
    {
      const Files f = FreshCopy(folder, profileBytes, catalogueBytes);
      loadsAgree = timedLoad(f, PlatformLoad, platformLoad) && loadsAgree;
      // The same file again: Wine answers from the profile it keeps parsed.
      timedLoad(f, PlatformLoad, platformLoadCached);
    }
    // A save writes the character over a profile and catalogue holding the defaults (as after a
    // first start), so that every key's value changes; Wine skips writes that change nothing, so
    // the same save over the character's own files is timed apart.
    for (int scenario = 0; scenario < 2; ++scenario) {
      const std::string& startProfile = scenario == 0 ? defaultBytes : profileBytes;
      const std::string& startCatalogue = scenario == 0 ? defaultCatalogue : catalogueBytes;
      for (int path = 0; path < 2; ++path) {
        Files f = FreshCopy(folder, startProfile, startCatalogue);
        const double us = bench::TimeUs([&] {
          (path == 0 ? OursSave : PlatformSave)(f.profile, f.catalogue, character, settings);
        });
        if (rep >= 0) saves[scenario][path].push_back(us);
        SpellTable spells = blank;
        ProfileSettings s;
        OursLoad(f.profile, f.catalogue, spells, s);
        savesAgree = savesAgree && SameSpells(spells, character) && SameSettings(s, settings);
      }
    }
  }
  bench::RemoveFolder(folder);

  const auto ol = bench::Summarize(oursLoad), pl = bench::Summarize(platformLoad),
             plc = bench::Summarize(platformLoadCached);
  const auto os = bench::Summarize(saves[0][0]), ps = bench::Summarize(saves[0][1]),
             osSame = bench::Summarize(saves[1][0]), psSame = bench::Summarize(saves[1][1]);
  std::printf("\nLoad (catalogue read + every profile key):\n");
  PrintRow("ours (ReadCatalogue + IniDocument + ReadProfile)", ol);
  PrintRow("platform (GetPrivateProfileStringA per key)", pl);
  PrintRow("platform, same file read again (Wine's cache)", plc);
  const bool loadMet = Compare("load", ol, pl);
  std::printf("\nSave, every value changed (every profile key + catalogue write):\n");
  PrintRow("ours (IniDocument + ReplaceFileContents x2)", os);
  PrintRow("platform (WritePrivateProfileStringA per key)", ps);
  const bool saveMet = Compare("save", os, ps);
  std::printf("\nSave, no value changed (for information):\n");
  PrintRow("ours", osSame);
  PrintRow("platform", psSame);
  std::printf("  ratio %.0f\n", psSame.median / osSame.median);
  std::printf("\nBoth paths read the same values: %s; every save reads back as written: %s\n",
              loadsAgree ? "yes" : "NO", savesAgree ? "yes" : "NO");
  std::printf("Profile targets: %s\n", bench::Verdict(loadMet && saveMet));
  // A missed target is a figure, not a failure; values that disagree are.
  return loadsAgree && savesAgree ? 0 : 1;
}

}  // namespace

int main() {
  return bench::RunMain("profile_bench", Run);
}

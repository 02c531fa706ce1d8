// The character profile: every section and key of a profile file, read from and written to an
// in-memory INI document in the order the program has always used.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>

#include "model/ini_file.h"
#include "model/path.h"
#include "model/spell.h"

namespace quillorb {

inline constexpr int kUserPages = 4;  // tabs A..D
inline constexpr int kSlotsPerPage = 8;
inline constexpr int kCaptionSlots = 5;
inline constexpr ReagentPrices kDefaultReagentCost = {6.5f, 8.5f, 3.5f, 3.5f,
                                                      6.5f, 3.5f, 2.5f, 4.5f};
inline constexpr std::string_view kDefaultClientCaption = "Ultima Online - ";
// A cast that leaves its spell with fewer casts than this is told in the game; 0: never.
inline constexpr int32_t kDefaultWarnCasts = 5;
inline constexpr int32_t kMaxWarnCasts = 999;  // the backpack counters' ceiling

using UserSlotPages = std::array<std::array<int32_t, kSlotsPerPage>, kUserPages>;

// What a profile holds besides the spell table.
struct ProfileSettings {
  ReagentCounts BackpackReagent{};
  ReagentCounts BankReagent{};
  ReagentPrices ReagentCost = kDefaultReagentCost;
  ReagentCounts ReagentUsed{};
  int32_t AdjustRegsInBackpack = 30;
  UserSlotPages UserSpell{};
  bool AlwaysOnTop = true;
  bool EnableSpellCasting = true;
  bool Inscription = false;
  int32_t Top = 0;
  int32_t Left = 0;
  std::string ClientCaption{kDefaultClientCaption};
  std::array<std::string, kCaptionSlots> ClientCaptions{
      std::string(kDefaultClientCaption), std::string(kDefaultClientCaption),
      std::string(kDefaultClientCaption), std::string(kDefaultClientCaption),
      std::string(kDefaultClientCaption)};
  // The file name of the program the player confirmed as the game client found by the caption
  // above ("shardclient.exe", say; ANSI, as the file holds it); empty: none.
  std::string ClientProgram;
  // The open-source client's folder, for writing its macros (ANSI; empty: none chosen).
  std::string ClassicUOFolder;
  int32_t WarnCasts = kDefaultWarnCasts;
};

// Where a profile's keys are kept: the program keeps them in an IniDocument; a comparison (the
// profile benchmark) keeps them behind the platform's private-profile functions, so that both run
// the one key layout below.
class ProfileKeys {
 public:
  // The value, or `def` when the key is missing.
  virtual std::string ReadString(std::string_view section, std::string_view key,
                                 std::string_view def) const = 0;
  // The value as a whole number; missing, empty or not wholly a number -> `def`.
  virtual int32_t ReadInt(std::string_view section, std::string_view key, int32_t def) const = 0;
  virtual void WriteString(std::string_view section, std::string_view key,
                           std::string_view value) = 0;

 protected:
  ~ProfileKeys() = default;
};

// Reads every key; a missing or unreadable value gives its default. The spells' macro keys
// default to the values they already hold (those of the catalogue). Counts are held to their
// ranges: the backpack to 0..kBackpackMax, the bank to 0..kBankFieldMax, the reagents used and
// the casts to 0..kCountCeiling. Slot values outside 0..63 become 0; an unreadable price takes
// that reagent's default price.
void ReadProfile(const ProfileKeys& keys, ProfileSettings& settings, SpellTable& spells,
                 char decimalSeparator);
void ReadProfile(const IniDocument& ini, ProfileSettings& settings, SpellTable& spells,
                 char decimalSeparator);

// Writes every key in the order of a key-by-key save, so that a file written from scratch has its
// sections and keys in the usual order.
void WriteProfile(ProfileKeys& keys, const ProfileSettings& settings, const SpellTable& spells,
                  char decimalSeparator);
void WriteProfile(IniDocument& ini, const ProfileSettings& settings, const SpellTable& spells,
                  char decimalSeparator);

// The files in the program's folder (which ends with its separator); `user` is the character's
// name as the program keeps it (ANSI), empty for the default character.
Path ProfileFileName(const Path& programDir, const std::string& user);
Path SpellFileName(const Path& programDir);
Path UsersFileName(const Path& programDir);

// Whether a character name may become part of a file name in the program's folder: no path
// separators, no "..", none of : * ? " < > | and no control characters. The empty name (the
// default character) is fine. `isLeadByte` tells the lead bytes of double-byte characters of the
// ANSI code page, whose trail bytes may look like '\\' or '|' without being them.
bool IsPlainCharacterName(std::string_view name, bool (*isLeadByte)(unsigned char) = nullptr);

// Whether `name` (a file name without folder) is one of the temporary files a save of ours leaves
// when it is killed mid-write: one of our files' names followed by ".<process>-<count>.tmp".
bool IsOwnTemporaryFileName(std::string_view name);

// users.ini: section "User", key "Last". WriteLastUser writes the name so that ReadLastUser gives
// it back as it is.
std::string ReadLastUser(const IniDocument& users);
void WriteLastUser(IniDocument& users, const std::string& user);

}  // namespace quillorb

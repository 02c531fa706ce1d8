// The spell record: catalogue data, the player's macro key and per-character data of one spell,
// with the small ledger computations that the rest of the program relies on.
#pragma once

#include <array>
#include <cstdint>
#include <limits>
#include <optional>
#include <string>

namespace quillorb {

inline constexpr int kReagentCount = 8;  // BP BM GL GS MR NS SA SS
// Whether a stored macro key can be pressed in the game: only virtual keys 1..254 are. 0 (no key)
// and the widened codes of characters 0x80..0xFF (0xFF80..0xFFFF) are never injected.
constexpr bool IsInjectableKey(uint16_t key) {
  return key >= 1 && key <= 254;
}
// The reagents' two-letter codes, in reagent order.
inline constexpr const char* kReagentCodes[kReagentCount] = {"BP", "BM", "GL", "GS",
                                                             "MR", "NS", "SA", "SS"};
// Their names as the game shows them.
inline constexpr const char* kReagentNames[kReagentCount] = {
    "Black Pearl",   "Blood Moss", "Garlic",        "Ginseng",
    "Mandrake Root", "Nightshade", "Sulfurous Ash", "Spider's Silk"};
inline constexpr int kSpellCount = 64;  // index i: circle i / 8 + 1, spell i % 8 + 1
inline constexpr int32_t kCountCeiling = 10000;
// The casts left of a spell that needs no reagent: it can always be cast. It is more than any
// stock allows (at most kCountCeiling), so that "fewer than N casts left" never holds for it.
inline constexpr int32_t kUnlimitedCasts = std::numeric_limits<int32_t>::max();

using ReagentCounts = std::array<int32_t, kReagentCount>;
using ReagentPrices = std::array<float, kReagentCount>;

// How far a cast goes. Stored and passed as 0 or 1; any other stored value books only.
enum class CastMode : uint8_t {
  IntoGame = 0,  // cast into the game client, then book unless the assistant will report it
  BookOnly = 1,  // book the reagents and the count; the game client is not touched
};
constexpr CastMode CastModeFromValue(int value) {
  return value == 0 ? CastMode::IntoGame : CastMode::BookOnly;
}

class TSpell;

// What a cast into the game came to.
enum class GameCast {
  NotCast,             // nothing reached the game: nothing is booked
  Cast,                // the keys reached the game: book it here
  CastAssistantBooks,  // the keys reached the game and the assistant will report (and book) it
};

// The casting into the game client (the Win32 casting pipeline), handed to TSpell::Cast by the
// one who casts.
class GameCaster {
 public:
  virtual GameCast CastIntoGame(const TSpell& spell) = 0;

 protected:
  ~GameCaster() = default;
};

class TSpell {
 public:
  TSpell() = default;

  // Takes the next tab-separated column off `line`. The last column is returned again and again.
  static std::string GetToken(std::string& line);
  // GetToken read as a decimal integer; 0 when it is not one.
  static int32_t GetIntToken(std::string& line);

  void FromLine(std::string line);
  std::string ToLine() const;
  void Assign(const TSpell& source) { *this = source; }
  // Everything but the cast count, which stays the ledger's (for settings edited on a copy while
  // casts were booked).
  void AssignSettings(const TSpell& source) {
    const int32_t casts = CastCount;
    *this = source;
    CastCount = casts;
  }

  float GetCost(const ReagentPrices& prices) const;
  // "Name (Rune) <cost>gp / <mana>mana"; `decimalSeparator` is the user's locale separator.
  std::string GetInfo(const ReagentPrices& prices, char decimalSeparator = '.') const;
  // How many casts `stock` allows, at most kCountCeiling; kUnlimitedCasts when the spell needs no
  // reagent.
  int32_t CastsLeft(const ReagentCounts& stock) const;
  // Whether a cast takes any reagent (a count other than 0).
  bool NeedsReagents() const;
  // The reagent that limits CastsLeft (the first in reagent order of equally scarce ones), or -1
  // for a spell that needs none.
  int ScarcestReagent(const ReagentCounts& stock) const;
  void AddReagents(ReagentCounts& counts, int32_t sign) const;
  void IncCount();
  void DecCount();
  void Undo(ReagentCounts& stock, ReagentCounts& used);

  // Casts the spell into the game client through `game` (IntoGame; nullptr: nothing reaches the
  // game) or only books it (BookOnly, `game` unused): the reagents leave `stock` and join `used`,
  // and the cast is counted. False when nothing happened (not in the spellbook, or nothing reached
  // the game).
  bool Cast(CastMode mode, ReagentCounts& stock, ReagentCounts& used, GameCaster* game);

  std::string Name;
  std::string Rune;
  std::string CastText;
  bool Alt = true;
  bool Ctrl = true;
  bool Shift = true;
  uint16_t Key = 49;  // the key 1
  ReagentCounts Reagent{};
  int32_t Mana = 10;
  bool InSpellBook = true;
  bool Danger = false;
  int32_t CastCount = 0;
};

using SpellTable = std::array<TSpell, kSpellCount>;

// The warning for the game after a cast has left `spell` with fewer than `below` casts (the
// figure of its slot's label), naming the scarcest reagent: "Clumsy: 2 casts left (Nightshade 2)".
// Nothing when it has that many, when `below` is 0 or less (warnings off), or when the spell
// needs no reagents.
std::optional<std::string> LowCastsWarning(const TSpell& spell, const ReagentCounts& stock,
                                           int32_t below);

}  // namespace quillorb

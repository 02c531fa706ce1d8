// The spell record: catalogue data, the player's macro key and per-character data of one spell,
// with the small ledger computations that the rest of the program relies on.
#pragma once

#include <array>
#include <cstdint>
#include <string>

namespace quillorb {

inline constexpr int kReagentCount = 8;  // BP BM GL GS MR NS SA SS
inline constexpr int kSpellCount = 64;   // index i: circle i / 8 + 1, spell i % 8 + 1
inline constexpr int32_t kCountCeiling = 10000;

using ReagentCounts = std::array<int32_t, kReagentCount>;
using ReagentPrices = std::array<float, kReagentCount>;

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

  float GetCost(const ReagentPrices& prices) const;
  // "Name (Rune) <cost>gp / <mana>mana"; `decimalSeparator` is the user's locale separator.
  std::string GetInfo(const ReagentPrices& prices, char decimalSeparator = '.') const;
  int32_t CastsLeft(const ReagentCounts& stock) const;
  void AddReagents(ReagentCounts& counts, int32_t sign) const;
  void IncCount();
  void DecCount();
  void Undo(ReagentCounts& stock, ReagentCounts& used);

  // Casts the spell into the game client (CastMode 0) or only books it (any other mode): the
  // reagents leave `stock` and join `used`, and the cast is counted. False when nothing happened.
  // Defined by the casting pipeline (client/cast.cpp), which needs the window system.
  bool Cast(uint8_t CastMode, ReagentCounts& stock, ReagentCounts& used);

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

}  // namespace quillorb

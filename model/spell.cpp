#include "model/spell.h"

#include <algorithm>
#include <limits>

#include "model/text.h"

namespace quillorb {
namespace {

// A catalogue line is one row of tab-separated columns; a tab, CR or LF inside a text field would
// split it, so such characters are written as blanks.
std::string ColumnText(const std::string& text) {
  std::string out = text;
  std::replace_if(
      out.begin(), out.end(), [](char c) { return c == '\t' || c == '\r' || c == '\n'; }, ' ');
  return out;
}

// A double as the nearest float: from the midpoint above the largest float on (hand-edited
// prices), the infinity that the rounding gives, where a plain conversion would be undefined.
float ToFloat(double value) {
  constexpr double kFloatOverflow = 0x1.ffffffp127;
  constexpr float kInfinity = std::numeric_limits<float>::infinity();
  if (value >= kFloatOverflow) return kInfinity;
  if (value <= -kFloatOverflow) return -kInfinity;
  return static_cast<float>(value);
}

int32_t Clamp(int64_t value) {
  return static_cast<int32_t>(std::clamp<int64_t>(value, 0, kCountCeiling));
}

}  // namespace

std::string TSpell::GetToken(std::string& line) {
  const size_t tab = line.find('\t');
  if (tab == std::string::npos) return line;
  std::string token = line.substr(0, tab);
  line.erase(0, tab + 1);
  return token;
}

int32_t TSpell::GetIntToken(std::string& line) {
  return ParseInt(GetToken(line)).value_or(0);
}

void TSpell::FromLine(std::string line) {
  Name = GetToken(line);
  Rune = GetToken(line);
  Alt = GetToken(line) != "0";
  Ctrl = GetToken(line) != "0";
  Shift = GetToken(line) != "0";
  Key = static_cast<uint16_t>(GetIntToken(line));
  for (int32_t& r : Reagent) r = GetIntToken(line);
  Mana = GetIntToken(line);
}

std::string TSpell::ToLine() const {
  std::string line = ColumnText(Name);
  line += '\t';
  line += ColumnText(Rune);
  for (bool flag : {Alt, Ctrl, Shift}) {
    line += '\t';
    line += flag ? '1' : '0';
  }
  line += '\t';
  line += FormatInt(Key);
  for (int32_t r : Reagent) {
    line += '\t';
    line += FormatInt(r);
  }
  line += '\t';
  line += FormatInt(Mana);
  return line;
}

float TSpell::GetCost(const ReagentPrices& prices) const {
  float sum = 0;
  for (int i = 0; i < kReagentCount; ++i) {
    sum = ToFloat(static_cast<double>(sum) +
                  static_cast<double>(Reagent[i]) * static_cast<double>(prices[i]));
  }
  return sum;
}

std::string TSpell::GetInfo(const ReagentPrices& prices, char decimalSeparator) const {
  return Name + " (" + Rune + ") " +
         FormatGeneral(static_cast<double>(GetCost(prices)), decimalSeparator) + "gp / " +
         FormatInt(Mana) + "mana";
}

int32_t TSpell::CastsLeft(const ReagentCounts& stock) const {
  if (!NeedsReagents()) return kUnlimitedCasts;
  int64_t best = kCountCeiling;
  for (int i = 0; i < kReagentCount; ++i) {
    if (Reagent[i] == 0) continue;
    // 64-bit, so that odd catalogue values (INT32_MIN / -1) cannot overflow.
    best = std::min(best, int64_t{stock[i]} / Reagent[i]);
  }
  return static_cast<int32_t>(best);
}

bool TSpell::NeedsReagents() const {
  return std::any_of(Reagent.begin(), Reagent.end(), [](int32_t need) { return need != 0; });
}

int TSpell::ScarcestReagent(const ReagentCounts& stock) const {
  int scarcest = -1;
  int64_t fewest = 0;
  for (int i = 0; i < kReagentCount; ++i) {
    if (Reagent[i] <= 0) continue;
    const int64_t casts = int64_t{stock[i]} / Reagent[i];
    if (scarcest < 0 || casts < fewest) {
      scarcest = i;
      fewest = casts;
    }
  }
  return scarcest;
}

void TSpell::AddReagents(ReagentCounts& counts, int32_t sign) const {
  if (!InSpellBook) return;
  for (int i = 0; i < kReagentCount; ++i) {
    counts[i] = Clamp(int64_t{counts[i]} + int64_t{Reagent[i]} * sign);
  }
}

void TSpell::IncCount() {
  if (CastCount < kCountCeiling) ++CastCount;
}

void TSpell::DecCount() {
  if (CastCount > 0) --CastCount;
}

bool TSpell::Cast(CastMode mode, ReagentCounts& stock, ReagentCounts& used, GameCaster* game) {
  if (!InSpellBook) return false;
  if (mode == CastMode::IntoGame) {
    const GameCast cast = game ? game->CastIntoGame(*this) : GameCast::NotCast;
    if (cast == GameCast::NotCast) return false;
    if (cast == GameCast::CastAssistantBooks) return true;  // the assistant's report books it
  }
  AddReagents(stock, -1);
  AddReagents(used, +1);
  IncCount();
  return true;
}

void TSpell::Undo(ReagentCounts& stock, ReagentCounts& used) {
  if (!InSpellBook) return;
  DecCount();
  AddReagents(stock, +1);
  AddReagents(used, -1);
}

std::optional<std::string> LowCastsWarning(const TSpell& spell, const ReagentCounts& stock,
                                           int32_t below) {
  const int r = spell.ScarcestReagent(stock);
  const int32_t left = spell.CastsLeft(stock);
  if (below <= 0 || r < 0 || left >= below) return std::nullopt;
  return spell.Name + ": " + FormatInt(left) + (left == 1 ? " cast left (" : " casts left (") +
         kReagentNames[r] + " " + FormatInt(stock[static_cast<size_t>(r)]) + ")";
}

}  // namespace quillorb

// Reads arbitrary bytes as a profile, writes what was read into a new file and reads that again:
// the second read must give exactly the settings and spells of the first (every value the store
// writes must read back as itself, prices to the bit).
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string_view>

#include "model/profile.h"

namespace {

using quillorb::ProfileSettings;
using quillorb::SpellTable;

bool SameProfileFields(const quillorb::TSpell& a, const quillorb::TSpell& b) {
  return a.Alt == b.Alt && a.Ctrl == b.Ctrl && a.Shift == b.Shift && a.Key == b.Key &&
         a.CastCount == b.CastCount && a.CastText == b.CastText && a.InSpellBook == b.InSpellBook &&
         a.Danger == b.Danger;
}

bool Same(const ProfileSettings& a, const ProfileSettings& b) {
  // Prices compare as bits: a price must come back exactly, not merely close.
  return a.BackpackReagent == b.BackpackReagent && a.BankReagent == b.BankReagent &&
         std::memcmp(a.ReagentCost.data(), b.ReagentCost.data(), sizeof a.ReagentCost) == 0 &&
         a.ReagentUsed == b.ReagentUsed && a.AdjustRegsInBackpack == b.AdjustRegsInBackpack &&
         a.UserSpell == b.UserSpell && a.AlwaysOnTop == b.AlwaysOnTop &&
         a.EnableSpellCasting == b.EnableSpellCasting && a.Inscription == b.Inscription &&
         a.Top == b.Top && a.Left == b.Left && a.ClientCaption == b.ClientCaption &&
         a.ClientCaptions == b.ClientCaptions;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size == 0) return 0;
  // The first byte picks the decimal separator: '.' or ','.
  const char separator = (data[0] & 1) ? ',' : '.';
  const std::string_view bytes(reinterpret_cast<const char*>(data) + 1, size - 1);

  const quillorb::IniDocument ini(bytes);
  ProfileSettings first;
  SpellTable firstSpells{};
  quillorb::ReadProfile(ini, first, firstSpells, separator);
  for (const auto& page : first.UserSpell) {
    for (int32_t slot : page) {
      if (slot < 0 || slot >= quillorb::kSpellCount) abort();
    }
  }

  quillorb::IniDocument written;
  quillorb::WriteProfile(written, first, firstSpells, separator);
  const quillorb::IniDocument reread(written.Serialize());
  ProfileSettings second;
  SpellTable secondSpells{};
  quillorb::ReadProfile(reread, second, secondSpells, separator);

  if (!Same(first, second)) abort();
  for (size_t i = 0; i < firstSpells.size(); ++i) {
    if (!SameProfileFields(firstSpells[i], secondSpells[i])) abort();
  }
  return 0;
}

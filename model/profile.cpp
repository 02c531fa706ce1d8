#include "model/profile.h"

#include <algorithm>
#include <cmath>
#include <limits>

#include "model/bank_moves.h"
#include "model/text.h"

namespace quillorb {
namespace {

std::string Indexed(std::string_view name, int index) {
  std::string key(name);
  key += std::to_string(index);
  return key;
}

// "Spell" followed by the page digit and the slot digit: Spell00 .. Spell37.
std::string SlotKey(int page, int slot) {
  std::string key = "Spell";
  key += static_cast<char>('0' + page);
  key += static_cast<char>('0' + slot);
  return key;
}

std::string Quoted(std::string_view text) {
  std::string out;
  out.reserve(text.size() + 2);
  out += '"';
  out += text;
  out += '"';
  return out;
}

// The program's own store.
class DocumentKeys final : public ProfileKeys {
 public:
  explicit DocumentKeys(const IniDocument& ini) : ini_(ini) {}
  explicit DocumentKeys(IniDocument& ini) : ini_(ini), writable_(&ini) {}
  std::string ReadString(std::string_view section, std::string_view key,
                         std::string_view def) const override {
    return ini_.ReadString(section, key, def);
  }
  int32_t ReadInt(std::string_view section, std::string_view key, int32_t def) const override {
    return ini_.ReadInt(section, key, def);
  }
  void WriteString(std::string_view section, std::string_view key,
                   std::string_view value) override {
    writable_->WriteString(section, key, value);
  }

 private:
  const IniDocument& ini_;
  IniDocument* writable_ = nullptr;  // WriteProfile's document
};

// A count in the range the ledger keeps it in (a hand-edited or damaged file may hold anything).
int32_t ReadCount(const ProfileKeys& keys, std::string_view section, const std::string& key,
                  int32_t max) {
  return std::clamp(keys.ReadInt(section, key, 0), 0, max);
}

bool ReadBool(const ProfileKeys& keys, std::string_view section, const std::string& key, bool def) {
  return keys.ReadInt(section, key, def ? 1 : 0) != 0;
}

float ReadPrice(const ProfileKeys& keys, int r, char decimalSeparator) {
  const float fallback = kDefaultReagentCost[static_cast<size_t>(r)];
  // A missing key reads as "", which is no number either.
  auto value =
      ParseDecimal(keys.ReadString("ReagentCost", Indexed("ReagentCost", r), ""), decimalSeparator);
  // Rounded to 32 bits: what lies below the midpoint between the largest float and the next power
  // of two becomes the largest float (it is written as 3.40282346638529E38, a little above it).
  constexpr double kFloatOverflow = 0x1.ffffffp127;
  if (!value || !(std::fabs(*value) < kFloatOverflow)) return fallback;
  // "-0" is a price of 0: kept as -0 it would be written "0" and read back as another value.
  if (*value == 0) return 0.0f;
  return static_cast<float>(*value);
}

void WriteBool(ProfileKeys& keys, std::string_view section, const std::string& key, bool value) {
  keys.WriteString(section, key, value ? "1" : "0");
}

void WriteInt(ProfileKeys& keys, std::string_view section, const std::string& key, int64_t value) {
  keys.WriteString(section, key, FormatInt(value));
}

}  // namespace

void ReadProfile(const IniDocument& ini, ProfileSettings& settings, SpellTable& spells,
                 char decimalSeparator) {
  ReadProfile(DocumentKeys(ini), settings, spells, decimalSeparator);
}

void WriteProfile(IniDocument& ini, const ProfileSettings& settings, const SpellTable& spells,
                  char decimalSeparator) {
  DocumentKeys keys(ini);
  WriteProfile(keys, settings, spells, decimalSeparator);
}

void ReadProfile(const ProfileKeys& ini, ProfileSettings& s, SpellTable& spells,
                 char decimalSeparator) {
  for (int r = 0; r < kReagentCount; ++r) {
    const auto ri = static_cast<size_t>(r);
    s.BackpackReagent[ri] = ReadCount(ini, "Reagent", Indexed("Reagent", r), kBackpackMax);
    s.BankReagent[ri] = ReadCount(ini, "BankReagent", Indexed("BankReagent", r), kBankFieldMax);
    s.ReagentUsed[ri] = ReadCount(ini, "ReagentUsed", Indexed("ReagentUsed", r), kCountCeiling);
  }
  for (int r = 0; r < kReagentCount; ++r) {
    s.ReagentCost[static_cast<size_t>(r)] = ReadPrice(ini, r, decimalSeparator);
  }
  s.AdjustRegsInBackpack = ini.ReadInt("Config", "AdjustRegsInBackpack", 30);
  s.EnableSpellCasting = ReadBool(ini, "Config", "EnableSpellCasting", true);
  for (int i = 0; i < kSpellCount; ++i) {
    TSpell& spell = spells[static_cast<size_t>(i)];
    spell.Alt = ReadBool(ini, "Macro", Indexed("ALT", i), spell.Alt);
    spell.Ctrl = ReadBool(ini, "Macro", Indexed("CTRL", i), spell.Ctrl);
    spell.Shift = ReadBool(ini, "Macro", Indexed("SHIFT", i), spell.Shift);
    spell.Key = static_cast<uint16_t>(ini.ReadInt("Macro", Indexed("KEY", i), spell.Key) & 0xFFFF);
    spell.CastCount = ReadCount(ini, "SpellCount", Indexed("SpellCount", i), kCountCeiling);
  }
  for (int p = 0; p < kUserPages; ++p) {
    for (int slot = 0; slot < kSlotsPerPage; ++slot) {
      int32_t value = ini.ReadInt("UserSpell", SlotKey(p, slot), 0);
      if (value < 0 || value >= kSpellCount) value = 0;
      s.UserSpell[static_cast<size_t>(p)][static_cast<size_t>(slot)] = value;
    }
  }
  s.AlwaysOnTop = ReadBool(ini, "Config", "AlwaysOnTop", true);
  s.Inscription = ReadBool(ini, "Config", "Inscription", false);
  s.Top = ini.ReadInt("Config", "Top", 0);
  s.Left = ini.ReadInt("Config", "Left", 0);
  s.ClientCaption = ini.ReadString("Config", "Caption", kDefaultClientCaption);
  for (int k = 0; k < kCaptionSlots; ++k) {
    s.ClientCaptions[static_cast<size_t>(k)] =
        ini.ReadString("Config", Indexed("Captions", k), kDefaultClientCaption);
  }
  s.ClientProgram = ini.ReadString("Config", "ClientProgram", "");
  s.ClassicUOFolder = ini.ReadString("Config", "ClassicUOFolder", "");
  s.WarnCasts = std::clamp(ini.ReadInt("Config", "WarnCasts", kDefaultWarnCasts), 0, kMaxWarnCasts);
  for (int i = 0; i < kSpellCount; ++i) {
    TSpell& spell = spells[static_cast<size_t>(i)];
    spell.CastText = ini.ReadString("Cast", Indexed("Spell", i), "");
    spell.InSpellBook = ReadBool(ini, "SpellBook", Indexed("Spell", i), true);
    spell.Danger = ReadBool(ini, "DangerSpell", Indexed("DangerSpell", i), false);
  }
}

void WriteProfile(ProfileKeys& ini, const ProfileSettings& s, const SpellTable& spells,
                  char decimalSeparator) {
  for (int r = 0; r < kReagentCount; ++r) {
    const auto ri = static_cast<size_t>(r);
    WriteInt(ini, "Reagent", Indexed("Reagent", r), s.BackpackReagent[ri]);
    WriteInt(ini, "BankReagent", Indexed("BankReagent", r), s.BankReagent[ri]);
    ini.WriteString("ReagentCost", Indexed("ReagentCost", r),
                    FormatGeneral(static_cast<double>(s.ReagentCost[ri]), decimalSeparator));
    WriteInt(ini, "ReagentUsed", Indexed("ReagentUsed", r), s.ReagentUsed[ri]);
  }
  WriteInt(ini, "Config", "AdjustRegsInBackpack", s.AdjustRegsInBackpack);
  for (int p = 0; p < kUserPages; ++p) {
    for (int slot = 0; slot < kSlotsPerPage; ++slot) {
      WriteInt(ini, "UserSpell", SlotKey(p, slot),
               s.UserSpell[static_cast<size_t>(p)][static_cast<size_t>(slot)]);
    }
  }
  WriteBool(ini, "Config", "AlwaysOnTop", s.AlwaysOnTop);
  WriteBool(ini, "Config", "EnableSpellCasting", s.EnableSpellCasting);
  WriteBool(ini, "Config", "Inscription", s.Inscription);
  WriteInt(ini, "Config", "Top", s.Top);
  WriteInt(ini, "Config", "Left", s.Left);
  ini.WriteString("Config", "Caption", Quoted(s.ClientCaption));
  for (int k = 0; k < kCaptionSlots; ++k) {
    ini.WriteString("Config", Indexed("Captions", k),
                    Quoted(s.ClientCaptions[static_cast<size_t>(k)]));
  }
  ini.WriteString("Config", "ClientProgram", s.ClientProgram);
  ini.WriteString("Config", "ClassicUOFolder", Quoted(s.ClassicUOFolder));
  WriteInt(ini, "Config", "WarnCasts", s.WarnCasts);
  for (int i = 0; i < kSpellCount; ++i) {
    const TSpell& spell = spells[static_cast<size_t>(i)];
    ini.WriteString("Cast", Indexed("Spell", i), Quoted(spell.CastText));
    WriteBool(ini, "SpellBook", Indexed("Spell", i), spell.InSpellBook);
    WriteBool(ini, "DangerSpell", Indexed("DangerSpell", i), spell.Danger);
    WriteInt(ini, "SpellCount", Indexed("SpellCount", i), spell.CastCount);
  }
  for (int i = 0; i < kSpellCount; ++i) {
    const TSpell& spell = spells[static_cast<size_t>(i)];
    WriteBool(ini, "Macro", Indexed("ALT", i), spell.Alt);
    WriteBool(ini, "Macro", Indexed("CTRL", i), spell.Ctrl);
    WriteBool(ini, "Macro", Indexed("SHIFT", i), spell.Shift);
    WriteInt(ini, "Macro", Indexed("KEY", i), spell.Key);
  }
}

Path ProfileFileName(const Path& programDir, const std::string& user) {
  if (user.empty()) return programDir + "quillorb.ini";
  return programDir + "quillorb - " + PathFromAnsi(user) + ".ini";
}

Path SpellFileName(const Path& programDir) {
  return programDir + "spells.txt";
}

Path UsersFileName(const Path& programDir) {
  return programDir + "users.ini";
}

bool IsPlainCharacterName(std::string_view name, bool (*isLeadByte)(unsigned char)) {
  if (name.find("..") != std::string_view::npos) return false;
  for (size_t i = 0; i < name.size(); ++i) {
    const auto c = static_cast<unsigned char>(name[i]);
    if (isLeadByte && isLeadByte(c) && i + 1 < name.size()) {
      ++i;  // a double-byte character: its trail byte is no character of its own
      continue;
    }
    if (c < 0x20 || c == 0x7F) return false;
    if (std::string_view("\\/:*?\"<>|").find(static_cast<char>(c)) != std::string_view::npos) {
      return false;
    }
  }
  return true;
}

bool IsOwnTemporaryFileName(std::string_view name) {
  // <file>.<digits>-<digits>.tmp
  constexpr std::string_view kTmp = ".tmp";
  if (name.size() < kTmp.size() || name.substr(name.size() - kTmp.size()) != kTmp) return false;
  name.remove_suffix(kTmp.size());
  auto takeDigits = [&name](char before) {
    size_t n = 0;
    while (n < name.size() && name[name.size() - 1 - n] >= '0' && name[name.size() - 1 - n] <= '9')
      ++n;
    if (n == 0 || n == name.size() || name[name.size() - 1 - n] != before) return false;
    name.remove_suffix(n + 1);
    return true;
  };
  if (!takeDigits('-') || !takeDigits('.')) return false;
  auto lower = [](std::string_view s) {
    std::string out(s);
    for (char& c : out) {
      if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    }
    return out;
  };
  const std::string file = lower(name);
  if (file == "quillorb.ini" || file == "users.ini" || file == "spells.txt") return true;
  constexpr std::string_view kPrefix = "quillorb - ";
  constexpr std::string_view kIni = ".ini";
  return file.size() > kPrefix.size() + kIni.size() &&
         file.compare(0, kPrefix.size(), kPrefix) == 0 &&
         file.compare(file.size() - kIni.size(), kIni.size(), kIni) == 0;
}

std::string ReadLastUser(const IniDocument& users) {
  return users.ReadString("User", "Last", "");
}

void WriteLastUser(IniDocument& users, const std::string& user) {
  // Plain, as it always was, unless the reader would change the name: it trims blanks and removes
  // one pair of quotes around a value, so such a name is written inside quotes of its own.
  users.WriteString("User", "Last", user);
  if (ReadLastUser(users) != user) users.WriteString("User", "Last", Quoted(user));
}

}  // namespace quillorb

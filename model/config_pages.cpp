#include "model/config_pages.h"

#include <algorithm>

#include "model/client_caption.h"
#include "model/text.h"

namespace quillorb {
namespace {

constexpr const char* kBook = "BOOK";
constexpr const char* kDanger = "DANGER";
constexpr const char* kModifiers[3] = {"ALT", "CTRL", "SHIFT"};

const std::string& Cell(const CellTable& table, size_t row, size_t col) {
  static const std::string kEmpty;
  if (row >= table.size() || col >= table[row].size()) return kEmpty;
  return table[row][col];
}

CellTable SpellTable65(std::vector<std::string> header) {
  const size_t columns = header.size();
  CellTable table(kSpellCount + 1, std::vector<std::string>(columns));
  table[0] = std::move(header);
  return table;
}

// A macro file line never holds a line break of its own (a key or name of CR or LF would shift
// every later entry).
std::string LineText(std::string text) {
  std::replace_if(
      text.begin(), text.end(), [](char c) { return c == '\r' || c == '\n'; }, ' ');
  return text;
}

int DigitAt(std::string_view text, size_t at) {
  if (at >= text.size() || text[at] < '1' || text[at] > '8') return -1;
  return text[at] - '0';
}

}  // namespace

std::string SpellNumber(int index) {
  return std::to_string(index / 8 + 1) + "-" + std::to_string(index % 8 + 1);
}

std::string SpellLabel(int index, const std::string& name) {
  return SpellNumber(index) + " " + name;
}

std::string UserSlotTitle(int row) {
  return std::string(1, static_cast<char>('A' + row / kSlotsPerPage)) + "-" +
         std::to_string(row % kSlotsPerPage + 1);
}

std::string KeyText(uint16_t key) {
  if (key >= kFirstFunctionKey && key <= kLastFunctionKey) {
    return "F" + std::to_string(key - kFirstFunctionKey + 1);
  }
  const auto low = static_cast<char>(key & 0xFF);
  return low == 0 ? std::string() : std::string(1, low);
}

uint16_t KeyFromText(std::string_view text) {
  if (text.empty()) return 0;
  if (text.size() == 1) {
    // Signed 8-bit, widened: 0x80..0xFF become 0xFF80..0xFFFF.
    return static_cast<uint16_t>(static_cast<int16_t>(static_cast<signed char>(text[0])));
  }
  const std::optional<int32_t> n = ParseInt(text.substr(1));
  if (!n) return 0;
  return static_cast<uint16_t>(*n + (kFirstFunctionKey - 1));
}

std::optional<std::string> CapturedKeyText(unsigned virtualKey, unsigned mappedChar) {
  if (virtualKey >= kFirstFunctionKey && virtualKey <= kLastFunctionKey) {
    return KeyText(static_cast<uint16_t>(virtualKey));
  }
  // Delete clears the cell: the spell has no key (0, the file's line then begins with a blank).
  if (virtualKey == kDeleteKey) return std::string();
  const auto c = static_cast<unsigned char>(mappedChar & 0xFF);
  // Backspace, Tab, Escape and the like: no control byte may reach a cell or the macro file.
  if (c < 0x20 || c == 0x7F) return std::nullopt;
  return std::string(1, static_cast<char>(c));
}

int32_t UserSlotFromText(std::string_view text) {
  const int circle = DigitAt(text, 0);
  const int slot = DigitAt(text, 2);
  if (circle < 0 || slot < 0) return 0;
  return (circle - 1) * 8 + (slot - 1);
}

int32_t ManaFromText(std::string_view text) {
  return ParseInt(text).value_or(kDefaultMana);
}

std::string SingleLineText(std::string_view text) {
  std::string out(text);
  std::replace_if(
      out.begin(), out.end(), [](char c) { return c == '\t' || c == '\r' || c == '\n'; }, ' ');
  return out;
}

std::string ToggledCell(const std::string& cell, const std::string& on) {
  return cell.empty() ? on : std::string();
}

std::vector<std::string> DistinctCaptions(const std::vector<std::string>& items) {
  std::vector<std::string> distinct;
  for (const std::string& item : items) {
    if (!IsBlankCaption(item) &&
        std::find(distinct.begin(), distinct.end(), item) == distinct.end()) {
      distinct.push_back(item);
    }
  }
  return distinct;
}

void UpdateCaptionList(std::vector<std::string>& items, const std::string& text) {
  items = DistinctCaptions(items);
  if (!IsBlankCaption(text) && std::find(items.begin(), items.end(), text) == items.end()) {
    items.insert(items.begin(), text);
  }
  if (items.size() > static_cast<size_t>(kCaptionSlots)) items.resize(kCaptionSlots);
}

ConfigPageTexts FillPageTexts(const ConfigData& data) {
  ConfigPageTexts p;
  p.SpellLabels.reserve(kSpellCount);
  p.Spellbook = SpellTable65({"Spell", "Spellbook", "DANGER"});
  p.Casting = SpellTable65({"Spell", "Casting"});
  p.Reagent = SpellTable65({"Spell", "BP", "BM", "GL", "GS", "MR", "NS", "SA", "SS"});
  p.Macro = SpellTable65({"Spell", "ALT", "CTRL", "SHIFT", "KEY"});
  p.Info = SpellTable65({"Spell", "Name", "Rune", "Mana"});
  for (int i = 0; i < kSpellCount; ++i) {
    const TSpell& s = data.Spells[static_cast<size_t>(i)];
    const auto row = static_cast<size_t>(i + 1);
    std::string label = SpellLabel(i, s.Name);
    p.Spellbook[row] = {label, s.InSpellBook ? kBook : "", s.Danger ? kDanger : ""};
    p.Casting[row] = {label, s.CastText};
    std::vector<std::string>& reagents = p.Reagent[row];
    reagents[0] = label;
    for (int k = 0; k < kReagentCount; ++k) {
      if (s.Reagent[static_cast<size_t>(k)] != 0)
        reagents[static_cast<size_t>(k + 1)] = kReagentCodes[k];
    }
    p.Macro[row] = {label, s.Alt ? kModifiers[0] : "", s.Ctrl ? kModifiers[1] : "",
                    s.Shift ? kModifiers[2] : "", KeyText(s.Key)};
    p.Info[row] = {SpellNumber(i), s.Name, s.Rune, FormatInt(s.Mana)};
    p.SpellLabels.push_back(std::move(label));
  }
  p.User.assign(kUserSlots + 1, std::vector<std::string>(2));
  p.User[0] = {"Tab", "Spell"};
  for (int r = 0; r < kUserSlots; ++r) {
    const int32_t index = data.UserSlot[static_cast<size_t>(r / kSlotsPerPage)]
                                       [static_cast<size_t>(r % kSlotsPerPage)];
    // A slot outside the spells (a damaged profile) shows an empty cell.
    std::string label =
        index >= 0 && index < kSpellCount ? p.SpellLabels[static_cast<size_t>(index)] : "";
    p.User[static_cast<size_t>(r + 1)] = {UserSlotTitle(r), std::move(label)};
  }
  return p;
}

void ApplyPageTexts(const ConfigPageTexts& p, ConfigData& data) {
  for (int i = 0; i < kSpellCount; ++i) {
    TSpell& s = data.Spells[static_cast<size_t>(i)];
    const auto row = static_cast<size_t>(i + 1);
    s.Name = SingleLineText(Cell(p.Info, row, 1));
    s.Rune = SingleLineText(Cell(p.Info, row, 2));
    s.Mana = ManaFromText(Cell(p.Info, row, 3));
    s.CastText = SingleLineText(Cell(p.Casting, row, 1));
    s.InSpellBook = !Cell(p.Spellbook, row, 1).empty();
    s.Danger = !Cell(p.Spellbook, row, 2).empty();
    for (size_t k = 0; k < kReagentCount; ++k) {
      // A marked cell keeps the count the catalogue gives (2 of a reagent stays 2); a newly
      // marked one needs 1.
      s.Reagent[k] = Cell(p.Reagent, row, k + 1).empty() ? 0 : std::max(s.Reagent[k], 1);
    }
    s.Alt = Cell(p.Macro, row, 1) == kModifiers[0];
    s.Ctrl = Cell(p.Macro, row, 2) == kModifiers[1];
    s.Shift = Cell(p.Macro, row, 3) == kModifiers[2];
    s.Key = KeyFromText(Cell(p.Macro, row, 4));
  }
  for (int r = 0; r < kUserSlots; ++r) {
    data.UserSlot[static_cast<size_t>(r / kSlotsPerPage)][static_cast<size_t>(r % kSlotsPerPage)] =
        UserSlotFromText(Cell(p.User, static_cast<size_t>(r + 1), 1));
  }
}

std::string MacroFileText(const SpellTable& spells) {
  std::string text;
  text.reserve(kSpellCount * 48);
  for (const TSpell& s : spells) {
    text += LineText(KeyText(s.Key));
    for (bool flag : {s.Ctrl, s.Alt, s.Shift}) text += flag ? " 1" : " 0";
    text += "\r\nCastSpell ";
    text += LineText(s.Name);
    text += "\r\n########\r\n";
  }
  text += "V 1 1 1\r\nPaste\r\n########\r\n";
  return text;
}

}  // namespace quillorb

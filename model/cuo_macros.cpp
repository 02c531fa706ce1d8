#include "model/cuo_macros.h"

#include <algorithm>
#include <charconv>
#include <tuple>

#include "model/config_pages.h"
#include "model/text.h"

namespace quillorb {
namespace {

constexpr int32_t kSdlF1 = 1073741882;   // F1..F12
constexpr int32_t kSdlF13 = 1073741928;  // F13..F24
constexpr uint16_t kF12 = 0x7B;
constexpr size_t kMostListed = 8;  // names listed in one line of a message, the rest counted

// A macro's key chord as the client compares it.
struct Chord {
  int32_t key = 0;
  bool alt = false;
  bool ctrl = false;
  bool shift = false;
  bool operator==(const Chord&) const = default;
};

char Lower(char c) {
  return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

std::string Lowered(std::string_view text) {
  std::string out(text);
  std::transform(out.begin(), out.end(), out.begin(), Lower);
  return out;
}

// A whole number as the client reads one: blanks around, an optional sign, decimal digits.
std::optional<int64_t> ParseWhole(const std::string* text, int64_t low, int64_t high) {
  if (!text) return std::nullopt;
  std::string_view digits = TrimBlanks(*text);
  if (!digits.empty() && digits.front() == '+') digits.remove_prefix(1);
  int64_t value = 0;
  const auto [end, ec] = std::from_chars(digits.data(), digits.data() + digits.size(), value);
  if (ec != std::errc() || end != digits.data() + digits.size() || digits.empty()) {
    return std::nullopt;
  }
  if (value < low || value > high) return std::nullopt;
  return value;
}

// "True" or "False" in any letter case, blanks around, as the client reads a flag.
std::optional<bool> ParseFlag(const std::string* text) {
  if (!text) return std::nullopt;
  const std::string flag = Lowered(TrimBlanks(*text));
  if (flag == "true") return true;
  if (flag == "false") return false;
  return std::nullopt;
}

std::string Flag(bool on) {
  return on ? "True" : "False";
}

std::string Quote(const std::string& text) {
  return "\"" + text + "\"";
}

// "a, b, c and 4 more".
std::string Listed(const std::vector<std::string>& items) {
  std::string text;
  for (size_t i = 0; i < items.size() && i < kMostListed; ++i) {
    if (i > 0) text += ", ";
    text += items[i];
  }
  if (items.size() > kMostListed) {
    text += " and " + std::to_string(items.size() - kMostListed) + " more";
  }
  return text;
}

std::string SpellName(const CuoSpells& spells, int spell) {
  const std::string& name = spells[static_cast<size_t>(spell)].name;
  return name.empty() ? SpellNumber(spell) : name;
}

std::string SpellChord(const CuoSpells& spells, int spell) {
  const CuoSpell& s = spells[static_cast<size_t>(spell)];
  return ChordText(s.keyText, s.alt, s.ctrl, s.shift);
}

bool EndsWith(std::string_view text, std::string_view end) {
  return text.size() >= end.size() && text.substr(text.size() - end.size()) == end;
}

// A macro of the list as the merge sees it.
struct MacroInfo {
  Chord chord;
  int ourSpell = -1;  // the spell of one of Quillorb's macros; -1: the player's own
};

const XmlElement* FirstChild(const XmlElement& element, std::string_view name) {
  for (const XmlElement& child : element.children) {
    if (child.name == name) return &child;
  }
  return nullptr;
}

// Reads one macro as the client does; an empty `error` on success.
MacroInfo ReadMacro(const XmlElement& macro, std::string& error) {
  MacroInfo info;
  const std::string* nameAttribute = macro.Attribute("name");
  const std::string name = Quote(nameAttribute ? *nameAttribute : std::string());
  const std::optional<int64_t> key = ParseWhole(macro.Attribute("key"), INT32_MIN, INT32_MAX);
  const std::optional<bool> alt = ParseFlag(macro.Attribute("alt"));
  const std::optional<bool> ctrl = ParseFlag(macro.Attribute("ctrl"));
  const std::optional<bool> shift = ParseFlag(macro.Attribute("shift"));
  const char* missing = !key ? "key" : !alt ? "alt" : !ctrl ? "ctrl" : !shift ? "shift" : nullptr;
  if (missing) {
    error = "The macro " + name + " has no readable \"" + missing + "\".";
    return info;
  }
  info.chord = {static_cast<int32_t>(*key), *alt, *ctrl, *shift};
  std::vector<std::pair<int64_t, int64_t>> actions;  // code, subcode
  if (const XmlElement* list = FirstChild(macro, "actions")) {
    for (const XmlElement& action : list->children) {
      if (action.name != "action") continue;
      const auto code = ParseWhole(action.Attribute("code"), INT32_MIN, INT32_MAX);
      const auto subcode = ParseWhole(action.Attribute("subcode"), INT32_MIN, INT32_MAX);
      const auto menu = ParseWhole(action.Attribute("submenutype"), INT8_MIN, INT8_MAX);
      missing = !code ? "code" : !subcode ? "subcode" : !menu ? "submenutype" : nullptr;
      if (missing) {
        error = "An action of the macro " + name + " has no readable \"" + missing + "\".";
        return info;
      }
      actions.emplace_back(*code, *subcode);
    }
  }
  // Quillorb's own: its mark, and the one action it wrote (a macro the player has added actions
  // to is the player's now).
  const int spell =
      actions.size() == 1 ? static_cast<int>(actions[0].second) - kCuoFirstSpellSubcode : -1;
  if (spell >= 0 && spell < kSpellCount && actions[0].first == kCuoCastSpellCode && nameAttribute &&
      EndsWith(*nameAttribute, kCuoMacroMark)) {
    info.ourSpell = spell;
  }
  return info;
}

std::string MacroName(const CuoSpells& spells, int spell) {
  return SpellName(spells, spell) + std::string(kCuoMacroMark);
}

// Quillorb's macro for `spell` on `chord` made right: a new one when `macro` is empty.
void ShapeMacro(XmlElement& macro, const MacroInfo& was, int spell, const Chord& chord,
                const CuoSpells& spells) {
  const bool fresh = macro.name.empty();
  if (fresh) {
    macro.name = "macro";
    macro.attributes = {
        {"name", ""},         {"key", ""}, {"mousebutton", "0"}, {"wheelscroll", "False"},
        {"wheelup", "False"}, {"alt", ""}, {"ctrl", ""},         {"shift", ""}};
    XmlElement action{
        "action",
        {{"code", std::to_string(kCuoCastSpellCode)}, {"subcode", ""}, {"submenutype", "1"}},
        {},
        {}};
    macro.children = {XmlElement{"actions", {}, {std::move(action)}, {}}};
  }
  // Only what differs is written, so that a value the client reads the same stays as it is.
  const std::string name = MacroName(spells, spell);
  if (fresh || *macro.Attribute("name") != name) macro.SetAttribute("name", name);
  if (fresh || was.chord.key != chord.key) macro.SetAttribute("key", std::to_string(chord.key));
  if (fresh || was.chord.alt != chord.alt) macro.SetAttribute("alt", Flag(chord.alt));
  if (fresh || was.chord.ctrl != chord.ctrl) macro.SetAttribute("ctrl", Flag(chord.ctrl));
  if (fresh || was.chord.shift != chord.shift) macro.SetAttribute("shift", Flag(chord.shift));
  if (fresh) {
    macro.children[0].children[0].SetAttribute("subcode",
                                               std::to_string(kCuoFirstSpellSubcode + spell));
  }
}

}  // namespace

std::optional<int32_t> SdlKeycode(uint16_t key) {
  if (key >= kFirstFunctionKey && key <= kF12) return kSdlF1 + (key - kFirstFunctionKey);
  if (key > kF12 && key <= kLastFunctionKey) return kSdlF13 + (key - kF12 - 1);
  if (key >= 'A' && key <= 'Z') return key - 'A' + 'a';
  if (key >= 0x20 && key <= 0x7E) return key;
  return std::nullopt;
}

std::string ChordText(const std::string& keyText, bool alt, bool ctrl, bool shift) {
  std::string text;
  if (ctrl) text += "Ctrl+";
  if (alt) text += "Alt+";
  if (shift) text += "Shift+";
  return text + (keyText == " " ? "Space" : keyText);
}

CuoMerge MergeCuoMacros(const XmlElement* existing, const CuoSpells& spells,
                        CuoConflictChoice choice) {
  CuoMerge merge;
  merge.choice = choice;
  if (existing && existing->name != "macros") {
    merge.error =
        "Its first element is <" + existing->name + ">, where ClassicUO expects <macros>.";
    return merge;
  }

  // The chord each spell wants; one spell per chord, the first in spell order.
  std::array<std::optional<Chord>, kSpellCount> wanted{};
  for (int i = 0; i < kSpellCount; ++i) {
    const CuoSpell& s = spells[static_cast<size_t>(i)];
    if (s.key == 0) continue;
    const std::optional<int32_t> keycode = SdlKeycode(s.key);
    if (!keycode) {
      merge.noKeycode.push_back(i);
      continue;
    }
    const Chord chord{*keycode, s.alt, s.ctrl, s.shift};
    const auto earlier = std::find(wanted.begin(), wanted.begin() + i, chord);
    if (earlier != wanted.begin() + i) {
      merge.sameKeys.emplace_back(i, static_cast<int>(earlier - wanted.begin()));
      continue;
    }
    wanted[static_cast<size_t>(i)] = chord;
  }

  merge.document = existing ? *existing : XmlElement{"macros", {}, {}, {}};
  std::vector<XmlElement>& list = merge.document.children;
  std::vector<MacroInfo> infos(list.size());
  for (size_t m = 0; m < list.size(); ++m) {
    if (list[m].name != "macro") continue;
    infos[m] = ReadMacro(list[m], merge.error);
    if (!merge.error.empty()) return merge;
    if (infos[m].ourSpell < 0) ++merge.others;
  }

  // The player's own macros on a wanted chord.
  for (int i = 0; i < kSpellCount; ++i) {
    auto& chord = wanted[static_cast<size_t>(i)];
    if (!chord) continue;
    bool met = false;
    for (size_t m = 0; m < list.size(); ++m) {
      if (list[m].name != "macro" || infos[m].ourSpell >= 0 || !(infos[m].chord == *chord)) {
        continue;
      }
      if (!met) {
        const std::string* name = list[m].Attribute("name");
        merge.conflicts.push_back({i, name ? *name : std::string()});
        met = true;
      }
      if (choice == CuoConflictChoice::TakeOurs) {
        list[m].SetAttribute("key", "0");
        infos[m].chord.key = 0;
      }
    }
    if (met && choice == CuoConflictChoice::KeepTheirs) chord.reset();
  }

  // Quillorb's macros from before: the first one of each wanted spell is brought up to date where
  // it stands, every other one goes.
  std::array<bool, kSpellCount> placed{};
  std::vector<XmlElement> merged;
  merged.reserve(list.size() + kSpellCount);
  for (size_t m = 0; m < list.size(); ++m) {
    const int spell = list[m].name == "macro" ? infos[m].ourSpell : -1;
    if (spell < 0) {
      merged.push_back(std::move(list[m]));
      continue;
    }
    const auto s = static_cast<size_t>(spell);
    if (!wanted[s] || placed[s]) {
      ++merge.removed;
      continue;
    }
    placed[s] = true;
    XmlElement macro = list[m];
    ShapeMacro(macro, infos[m], spell, *wanted[s], spells);
    (macro == list[m] ? merge.unchanged : merge.updated).push_back(spell);
    merged.push_back(std::move(macro));
  }
  for (int i = 0; i < kSpellCount; ++i) {
    const auto s = static_cast<size_t>(i);
    if (!wanted[s] || placed[s]) continue;
    XmlElement macro;
    ShapeMacro(macro, {}, i, *wanted[s], spells);
    merged.push_back(std::move(macro));
    merge.added.push_back(i);
  }
  list = std::move(merged);
  std::sort(merge.updated.begin(), merge.updated.end());
  std::sort(merge.unchanged.begin(), merge.unchanged.end());
  merge.changed = existing ? !(merge.document == *existing) : !merge.added.empty();
  return merge;
}

std::string CuoConflictQuestion(const CuoMerge& merge, const CuoSpells& spells) {
  std::string text;
  for (const CuoConflict& c : merge.conflicts) {
    text += SpellChord(spells, c.spell) + " starts your " + Quote(c.theirs) +
            "; Quillorb wants it for " + SpellName(spells, c.spell) + ".\n";
  }
  return text +
         "\nKeep mine: those spells get no macro.\nUse Quillorb's: your macros stay in the list, "
         "without a key.";
}

std::string CuoMergeSummary(const CuoMerge& merge, const CuoSpells& spells) {
  std::vector<std::string> lines;
  const size_t written = merge.added.size() + merge.updated.size();
  if (!merge.changed) {
    lines.push_back("The macros were already as the spell bar needs them: nothing was written.");
  } else {
    lines.push_back("Written: " + std::to_string(written) + " macros (" +
                    std::to_string(merge.added.size()) + " new, " +
                    std::to_string(merge.updated.size()) + " changed).");
  }
  if (!merge.unchanged.empty() && merge.changed) {
    lines.push_back("Already right: " + std::to_string(merge.unchanged.size()) + ".");
  }
  if (merge.removed > 0) {
    lines.push_back("Removed: " + std::to_string(merge.removed) +
                    " macros of an earlier write that no spell needs any more.");
  }
  std::vector<std::string> items;
  for (const CuoConflict& c : merge.conflicts) {
    items.push_back(merge.choice == CuoConflictChoice::KeepTheirs
                        ? SpellName(spells, c.spell) + " (" + SpellChord(spells, c.spell) +
                              " starts your " + Quote(c.theirs) + ")"
                        : Quote(c.theirs) + " (" + SpellChord(spells, c.spell) + ", now " +
                              SpellName(spells, c.spell) + ")");
  }
  if (!items.empty()) {
    lines.push_back(merge.choice == CuoConflictChoice::KeepTheirs
                        ? "Kept yours, no macro for: " + Listed(items) + "."
                        : "Yours now without a key: " + Listed(items) + ".");
  }
  items.clear();
  for (int spell : merge.noKeycode) {
    items.push_back(SpellName(spells, spell) + " (" + SpellChord(spells, spell) + ")");
  }
  if (!items.empty()) {
    lines.push_back("Not written, ClassicUO has no key for: " + Listed(items) + ".");
  }
  items.clear();
  for (const auto& [spell, earlier] : merge.sameKeys) {
    items.push_back(SpellName(spells, spell) + " (" + SpellChord(spells, spell) + ", as " +
                    SpellName(spells, earlier) + ")");
  }
  if (!items.empty()) {
    lines.push_back("Not written, the same keys as an earlier spell: " + Listed(items) + ".");
  }
  if (merge.others > 0) {
    lines.push_back("Your own macros: " + std::to_string(merge.others) +
                    (merge.choice == CuoConflictChoice::TakeOurs && !merge.conflicts.empty()
                         ? ", otherwise as they were."
                         : ", as they were."));
  }
  std::string text;
  for (const std::string& line : lines) text += line + "\n";
  if (!text.empty()) text.pop_back();
  return text;
}

std::string CuoCharacter::Name() const {
  // "0x<serial>_<name>"
  if (folder.size() > 3 && folder[0] == '0' && (folder[1] == 'x' || folder[1] == 'X')) {
    const size_t underscore = folder.find('_', 2);
    const auto isHex = [](char c) {
      return (c >= '0' && c <= '9') || (Lower(c) >= 'a' && Lower(c) <= 'f');
    };
    if (underscore != std::string::npos && underscore > 2 && underscore + 1 < folder.size() &&
        std::all_of(folder.begin() + 2, folder.begin() + static_cast<long>(underscore), isHex)) {
      return folder.substr(underscore + 1);
    }
  }
  return folder;
}

std::string CuoCharacter::Line() const {
  return account + " / " + server + " / " + Name();
}

void OrderCuoCharacters(std::vector<CuoCharacter>& characters, std::string_view current) {
  const std::string wanted = Lowered(current);
  const auto key = [&](const CuoCharacter& c) {
    const std::string name = Lowered(c.Name());
    return std::make_tuple(name != wanted, Lowered(c.account), Lowered(c.server), name);
  };
  std::stable_sort(characters.begin(), characters.end(),
                   [&](const CuoCharacter& a, const CuoCharacter& b) { return key(a) < key(b); });
}

}  // namespace quillorb

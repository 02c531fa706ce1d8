// The configuration dialog's working copy and the text rules of its pages: how the copy is shown
// in the cells of the grids (FillPages) and how the cells are read back (ApplyPages), the key
// capture of the Macro page, the caption list, and the macro file for the game's macro setup.
// Everything here is plain text work; the dialog only moves the texts in and out of its controls.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "model/profile.h"
#include "model/spell.h"

namespace quillorb {

// What the dialog edits: a copy of the main window's data, handed back only on OK.
struct ConfigData {
  ReagentPrices ReagentCost{5.0f, 5.0f, 5.0f, 5.0f, 5.0f, 5.0f, 5.0f, 5.0f};
  UserSlotPages UserSlot{};
  std::string ClientCaption{kDefaultClientCaption};
  SpellTable Spells{};
  bool AlwaysOnTop = true;
  bool EnableSpellCasting = true;
  // Casts left below which a cast is told in the game (0: never).
  int32_t WarnCasts = kDefaultWarnCasts;
  // The game window captions offered, the one used last first (UpdateCaptionList).
  std::vector<std::string> ClientCaptions{};
  // The open-source client's folder, where its macros are written (ANSI, as the profile keeps it).
  std::string ClassicUOFolder{};
};

inline constexpr int kUserSlots = kUserPages * kSlotsPerPage;  // rows 1..32 of the User List
inline constexpr int kDefaultMana = 10;
inline constexpr uint16_t kFirstFunctionKey = 0x70;  // F1
inline constexpr uint16_t kDeleteKey = 0x2E;         // the Delete key's virtual-key code
inline constexpr uint16_t kLastFunctionKey = 0x87;   // F24

// Cells of one grid, [row][column]; row 0 is the header, row i + 1 spell i (or user slot i).
using CellTable = std::vector<std::vector<std::string>>;

// The texts of the six grids and the spell chooser's list.
struct ConfigPageTexts {
  std::vector<std::string> SpellLabels;  // item i: the label of spell i
  CellTable User;                        // 33 x 2: "Tab", "Spell"
  CellTable Spellbook;                   // 65 x 3
  CellTable Casting;                     // 65 x 2
  CellTable Reagent;                     // 65 x 9
  CellTable Macro;                       // 65 x 5
  CellTable Info;                        // 65 x 4
};

// "3-4 Name": circle, slot and name of spell i; the number part alone with an empty name
// shows "3-4 ".
std::string SpellNumber(int index);
std::string SpellLabel(int index, const std::string& name);
// "A-1" .. "D-8" for user slot r = 0..31.
std::string UserSlotTitle(int row);

// The KEY column's text of a macro key: F1..F24 for 0x70..0x87, otherwise the character of the
// low 8 bits, nothing when they are 0.
std::string KeyText(uint16_t key);
// The key a KEY cell stands for. One character: its code as a signed 8-bit value widened to 16
// bits (so 0x80..0xFF give 0xFF80..0xFFFF, as files have always stored them). Empty: 0. Longer:
// the F-key form, the number after the first character + 0x6F; an unreadable number gives 0.
uint16_t KeyFromText(std::string_view text);
// The KEY cell's new text for a key press: F1..F24 for their virtual keys, the empty text for
// Delete, else the character the keyboard gives for the key (`mappedChar`, its low 8 bits), or
// nothing (the cell stays) when that is no character or a control character.
std::optional<std::string> CapturedKeyText(unsigned virtualKey, unsigned mappedChar);

// The spell index a User List cell names: its first character is the circle 1..8, its third
// the slot 1..8. Anything else (too short, not a digit, a 0 or a 9) gives 0.
int32_t UserSlotFromText(std::string_view text);
// A Mana cell: a whole number, or 10 when the cell is not one.
int32_t ManaFromText(std::string_view text);
// A Name, Rune or Casting cell as it may be stored: tabs, CRs and LFs become blanks, so that
// nothing typed or pasted can split a catalogue column, a profile line or a macro file line.
std::string SingleLineText(std::string_view text);

// A toggle cell: `on` when it is empty, empty otherwise.
std::string ToggledCell(const std::string& cell, const std::string& on);

// The caption list as offered: each text once, in order, blank ones left out.
std::vector<std::string> DistinctCaptions(const std::vector<std::string>& items);
// The caption list after OK: distinct, and a text that is no item (exact, case-sensitive) and not
// blank goes in first; the list keeps at most kCaptionSlots items, the last ones drop out. An
// item already there stays put.
void UpdateCaptionList(std::vector<std::string>& items, const std::string& text);

// The working copy in the grids' texts.
ConfigPageTexts FillPageTexts(const ConfigData& data);
// The grids' texts back into the working copy: names, runes, mana, casting words, spellbook and
// danger flags, reagents, macro keys and user slots. Missing rows or cells read as empty. A
// marked reagent cell keeps the spell's count (at least 1), an empty one sets 0.
void ApplyPageTexts(const ConfigPageTexts& pages, ConfigData& data);

// spellmacro.txt: three lines per spell (key line, "CastSpell " + name, "########") and the
// closing paste entry, 195 lines, each ended by CR LF.
std::string MacroFileText(const SpellTable& spells);
inline constexpr char kMacroFileName[] = "spellmacro.txt";

}  // namespace quillorb

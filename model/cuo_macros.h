// The macros Quillorb writes for the open-source game client (ClassicUO). That client keeps a
// character's macros in its own file, macros.xml: a root <macros> of <macro> elements, each with a
// key chord (an SDL keycode and the Alt, Ctrl and Shift flags) and <actions>. A click on a spell
// slot presses the spell's key chord, so the client must hold a macro on that chord that casts
// the spell. Here: the virtual key to SDL keycode mapping, the merge of the spells' macros into the
// player's list (the player's own macros kept as they are), what the player is told about it, and
// the client's character folders as the player picks one.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "model/spell.h"
#include "model/xml_tree.h"

namespace quillorb {

inline constexpr char kCuoMacrosFileName[] = "macros.xml";
inline constexpr char kCuoMacrosBackupName[] = "macros.xml.bak";
// The end of the name of every macro Quillorb writes ("Magic Arrow [Quillorb]"): how it knows its
// own macros again.
inline constexpr std::string_view kCuoMacroMark = " [Quillorb]";
// The client's action "cast spell" and the sub-code of spell index 0 (Clumsy); index i is 62 + i.
inline constexpr int kCuoCastSpellCode = 15;
inline constexpr int kCuoFirstSpellSubcode = 62;

// The SDL keycode the client sees for a macro key: a letter is its lower-case ASCII code, a digit
// or another printable character its own code, F1..F12 and F13..F24 their two runs of SDL codes.
// nullopt for no key and for keys the client has no keycode for (characters outside ASCII,
// control keys).
std::optional<int32_t> SdlKeycode(uint16_t key);

// "Ctrl+Alt+Shift+5", "F5": a key chord as the player reads it, from the key's text.
std::string ChordText(const std::string& keyText, bool alt, bool ctrl, bool shift);

// One spell as its macro is written: the name and the key chord of the spell bar, with the key's
// text as the Macro page shows it (both UTF-8).
struct CuoSpell {
  std::string name;
  std::string keyText;
  uint16_t key = 0;
  bool alt = false;
  bool ctrl = false;
  bool shift = false;
};
using CuoSpells = std::array<CuoSpell, kSpellCount>;

// What happens to the player's own macro that is on the chord of a spell.
enum class CuoConflictChoice {
  KeepTheirs,  // theirs stays; the spell gets no macro
  TakeOurs,    // theirs stays in the list without a key; the spell's macro takes the chord
};

struct CuoConflict {
  int spell = 0;
  std::string theirs;  // the name of the player's macro on the spell's chord
};

// The merge of the spells' macros into a character's macro list.
struct CuoMerge {
  // Not empty: the list cannot be read as the client reads it (why, in the player's words), and
  // nothing may be written.
  std::string error;
  XmlElement document;   // the merged list
  bool changed = false;  // whether it differs from the list as it was (or there was none)
  CuoConflictChoice choice = CuoConflictChoice::KeepTheirs;
  std::vector<int> added;      // spells whose macro is new
  std::vector<int> updated;    // spells whose macro of an earlier write changed
  std::vector<int> unchanged;  // spells whose macro was already right
  std::vector<CuoConflict> conflicts;
  std::vector<int> noKeycode;                 // spells whose key the client has no keycode for
  std::vector<std::pair<int, int>> sameKeys;  // a spell, and the earlier spell with its chord
  int removed = 0;  // Quillorb's macros no spell needs any more (no key, a duplicate)
  int others = 0;   // the player's own macros, kept
};

// Merges the spells' macros into `existing` (the parsed macros.xml; nullptr when there is none).
// Every spell with a key the client knows gets one macro on its chord that casts it, and no chord
// gets two. Quillorb's macros from an earlier write (its mark, one "cast spell" action) are updated
// where they stand; those no spell needs go. Every other macro stays exactly as it was, except
// that with TakeOurs one on a spell's chord loses its key. The list must be one the client can
// load: a root <macros>, and in every macro the attributes key, alt, ctrl and shift and in every
// action code, subcode and submenutype, as numbers and True/False.
CuoMerge MergeCuoMacros(const XmlElement* existing, const CuoSpells& spells,
                        CuoConflictChoice choice);

// The question before a write that meets the player's own macros on spells' chords (under the
// headline kCuoConflictHeadline, with the answers "Keep mine" and "Use Quillorb's").
inline constexpr char kCuoConflictHeadline[] = "These keys already start macros of your own";
std::string CuoConflictQuestion(const CuoMerge& merge, const CuoSpells& spells);
// What a write did (or would leave as it is), for the player.
std::string CuoMergeSummary(const CuoMerge& merge, const CuoSpells& spells);

// A character folder of the client: Data\Profiles\<account>\<server>\<folder>. Its names, UTF-8.
struct CuoCharacter {
  std::string account;
  std::string server;
  std::string folder;
  // The character's name: the folder's name without the "0x<serial>_" that newer clients put
  // before it.
  std::string Name() const;
  // "account / server / character", a line of the character list.
  std::string Line() const;
  bool operator==(const CuoCharacter&) const = default;
};
// The characters named `current` first (letters compared without regard to case), then the rest
// by account, server and name.
void OrderCuoCharacters(std::vector<CuoCharacter>& characters, std::string_view current);

}  // namespace quillorb

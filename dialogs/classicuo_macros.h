// The ClassicUO macros dialog: writes the spell bar's key chords as macros into a character's
// macros.xml of the open-source game client, so that a click on a slot casts there. The player
// names the client's folder (a running client's is offered), picks the character, and writes; the
// player's own macros stay as they were, and one on a spell's chord is taken only when the player
// says so. It refuses, writing nothing, while that character is logged in to a running client,
// when the file cannot be read as the client reads it, and when the folder cannot be written.
#pragma once

#include <windows.h>

#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "model/cuo_macros.h"
#include "model/path.h"
#include "win/button.h"
#include "win/dialog.h"
#include "win/edit.h"
#include "win/list_box.h"
#include "win/static_text.h"

namespace quillorb {

inline constexpr char kCuoMacrosClass[] = "TForm_CuoMacros";

// What the dialog is opened with.
struct CuoMacrosRequest {
  Path folder;     // the client's folder; empty: a running client's is offered
  Utf8 character;  // the strip's character, whose namesakes are listed first
  CuoSpells spells;
};

// The spells as their macros are written: names and key texts from the ANSI code page to UTF-8.
CuoSpells CuoSpellsOf(const SpellTable& spells);

class TForm_CuoMacros : public win::Dialog {
 public:
  enum ControlId : int {
    kIdFolderLabel = 10,
    kIdFolder = 11,
    kIdBrowse = 12,
    kIdListLabel = 13,
    kIdList = 14,
    kIdStatus = 15,
    kIdWrite = 16,
  };
  static constexpr int kClientWidth = 380;
  static constexpr int kClientHeight = 262;

  // Builds the hidden dialog in a copy of `font` and lists the characters of the folder.
  TForm_CuoMacros(HWND owner, HFONT font, CuoMacrosRequest request);
  // Runs the dialog; the folder as the field holds it at the end.
  Path Execute();

  // The characters of the folder in the field, into the list; the first one selected.
  void FillCharacters();
  void Button_BrowseClick();
  // Writes the macros of the selected character; tells the player what came of it.
  void Button_WriteClick();

  // The folder in the field, with its trailing separator.
  Path Folder() const;
  // The characters as listed.
  const std::vector<CuoCharacter>& Characters() const { return characters_; }

  // How the dialog asks and tells; the tests replace them.
  std::function<int(const Utf8& text, UINT flags)> Message;
  // The choice for the player's macros on spells' chords; nullopt: cancel, nothing is written.
  std::function<std::optional<CuoConflictChoice>(const Utf8& question)> AskConflicts;
  std::function<std::optional<Path>()> AskFolder;

  std::unique_ptr<win::StaticText> Label_Folder;
  std::unique_ptr<win::Edit> Edit_Folder;
  std::unique_ptr<win::Button> Button_Browse;
  std::unique_ptr<win::StaticText> Label_List;
  std::unique_ptr<win::ListBox> ListBox_Characters;
  std::unique_ptr<win::StaticText> Label_Status;
  std::unique_ptr<win::Button> Button_Write;
  std::unique_ptr<win::Button> Button_Close;

 private:
  // Why nothing may be written for `character` now, or nothing.
  std::optional<Utf8> Refusal(const CuoCharacter& character) const;

  CuoMacrosRequest request_;
  std::vector<CuoCharacter> characters_;
};

}  // namespace quillorb

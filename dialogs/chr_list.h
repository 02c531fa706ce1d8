// Unit_ChrList: the character list. It lists the character profiles of the program's folder, adds
// a character by copying the current one's profile file to a new name, deletes one by deleting
// its file, and hands the chosen character back on OK (CharacterChoice). It knows nothing of the
// profiles' contents.
#pragma once

#include <windows.h>

#include <functional>
#include <memory>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "model/path.h"
#include "win/bevel.h"
#include "win/button.h"
#include "win/dialog.h"
#include "win/graphic.h"
#include "win/list_box.h"
#include "win/static_text.h"

namespace quillorb {

inline constexpr char kChrListClass[] = "TForm_ChrList";

// The current character on entry, the chosen one on OK.
struct CharacterChoice {
  std::string name;  // ANSI; empty for the default profile
  bool operator==(const CharacterChoice&) const = default;
};

// The profile files of a folder as the character list sees them.
struct CharacterFiles {
  // The character names (ANSI), sorted without regard to case.
  std::vector<std::string> names;
  // The file names of profiles whose character names the ANSI code page cannot spell: names are
  // kept in it (users.ini, the window titles), so these cannot be used.
  std::vector<Path> unusable;
};
// The profiles in `folder` (ending with its separator).
CharacterFiles ListCharacters(const Path& folder);

class TForm_ChrList : public win::Dialog {
 public:
  enum ControlId : int { kIdList = 10, kIdAdd = 11, kIdDel = 12, kIdLabel1 = 13 };
  static constexpr int kClientWidth = 290;
  static constexpr int kClientHeight = 251;

  // Builds the hidden dialog over the profiles of `programDir` (with its trailing separator), drawn
  // in a copy of `font`, with `current` as the current character; runs FormCreate.
  TForm_ChrList(HWND owner, HFONT font, Path programDir, const CharacterChoice& current = {});
  // Runs the dialog: the chosen character on OK, nothing on Cancel.
  std::optional<CharacterChoice> Execute();

  void FormCreate();
  void FormShow();
  void OKBtnClick();
  void ListBox_ChrDblClick();
  void Button_AddClick();
  void Button_DelClick();

  // The current character as the list names it ("(default)" for the default profile); the chosen
  // one after OK.
  std::string CurChr;

  // How the dialog asks and tells; the tests replace them. AskName gives the name as typed; names
  // are kept in the ANSI code page, so one with letters it lacks is refused.
  std::function<std::optional<Utf8>()> AskName;
  std::function<int(const Utf8& text, UINT flags)> Message;
  // Saves the current character's profile when Add finds no file of it to copy (on a first run,
  // say); false when that failed (the caller has reported it).
  std::function<bool()> SaveCurrentProfile;
  // The profiles left out of the list because they cannot be used (file names). Once the dialog
  // shows, one message says why; the names it told are added to `Told`, and names already in it
  // are not told again (the main window keeps it for the run).
  std::vector<Path> Unusable;
  std::set<Path>* Told = nullptr;

  std::unique_ptr<win::Bevel> Bevel1;
  std::unique_ptr<win::Label> Label_Cur;
  std::unique_ptr<win::Label> Label_CurChr;
  std::unique_ptr<win::Bevel> Bevel2;
  std::unique_ptr<win::StaticText> Label1;
  std::unique_ptr<win::ListBox> ListBox_Chr;
  std::unique_ptr<win::Button> Button_Add;
  std::unique_ptr<win::Button> Button_Del;
  std::unique_ptr<win::Button> OKBtn;
  std::unique_ptr<win::Button> CancelBtn;

 protected:
  void DoShow() override { FormShow(); }
  LRESULT OnMessage(UINT msg, WPARAM wp, LPARAM lp) override;

 private:
  // Posted by FormShow, so that the message about unusable profiles shows over the dialog.
  static constexpr UINT kTellUnusable = WM_APP + 1;
  void TellUnusable();
  Path ProfileOf(const std::string& entry) const;
  // CurChr becomes the selected entry; with none selected it stays as it was.
  void TakeSelection();

  Path programDir_;
};

}  // namespace quillorb

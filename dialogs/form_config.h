// Unit_Config: the configuration dialog. It edits a copy of the main window's data (ConfigData,
// handed in at creation and handed back by Execute only on OK) on eight pages: reagent prices and
// always-on-top, the spells of the user pages A..D, spellbook and dangerous spells, the player's
// own spellcasting words, the reagents, the macro keys (with the macro file export) and the spell
// information, and an About page. Every edit lives in the controls until ApplyPages reads them.
#pragma once

#include <windows.h>

#include <array>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "controls/ctrl_grid.h"
#include "controls/num_edit.h"
#include "dialogs/about_picture.h"
#include "model/config_pages.h"
#include "model/path.h"
#include "win/button.h"
#include "win/check_box.h"
#include "win/combo_box.h"
#include "win/dialog.h"
#include "win/edit.h"
#include "win/graphic.h"
#include "win/group_box.h"
#include "win/page_control.h"
#include "win/string_grid.h"

namespace quillorb {

inline constexpr char kConfigDialogClass[] = "TForm_Config";

// Child window identifiers, so that the tests (and other programs) find the controls.
enum ConfigControlId : int {
  kIdPageControl1 = 200,
  kIdNumEditPriceFirst = 210,  // NumEdit1 .. NumEdit8: 210..217
  kIdCheckBoxOnTop = 220,
  kIdComboBoxCaption = 221,
  kIdNumEditWarnCasts = 222,
  kIdCtrlGridUser = 230,
  kIdComboBoxSpell = 231,
  kIdStringGridSpellbook = 232,
  kIdCheckBoxEnableSpellCast = 233,
  kIdStringGridCasting = 234,
  kIdStringGridReagent = 235,
  kIdStringGridMacro = 236,
  kIdButton3 = 237,
  kIdStringGridInfo = 238,
  kIdMemo1 = 239,
  kIdButtonClassicUo = 240,
};

// Pages in tab order.
enum ConfigPage : int {
  kPageGeneral,
  kPageUserList,
  kPageSpellbook,
  kPageCasting,
  kPageReagents,
  kPageMacro,
  kPageInfo,
  kPageAbout,
  kConfigPageCount
};

class TForm_Config : public win::Dialog, public ConfigData {
 public:
  static constexpr int kClientWidth = 422;
  static constexpr int kClientHeight = 297;

  // What the dialog takes from the main window at creation (none of it owned, all optional; the
  // font and the atlas must live as long as the dialog).
  struct Resources {
    HFONT castingFont = nullptr;  // the font of the Spell Casting grid
    std::array<HBITMAP, kReagentCount> reagentPictures{};
    HBITMAP spellAtlas = nullptr;  // the 320 x 320 spell icons, for the About picture
  };

  // Creates the hidden dialog over a copy of `data` (FormCreate runs). Destroy it after use.
  TForm_Config(HWND owner, const Resources& resources, const ConfigData& data = {});
  // Runs the dialog: the edited copy on OK, nothing on Cancel.
  std::optional<ConfigData> Execute();

  void FormCreate(const Resources& resources);
  // The working copy into the controls (the whole of FormShow).
  void FillPages();
  // The controls into the working copy.
  void ApplyPages();

  // ComboBox_Caption's items (ClientCaptions as last filled or updated by OK).
  std::vector<std::string> CaptionList() const;
  void SetCaptionList(const std::vector<std::string>& items);

  // Why the caption field's text is refused (a sentence for the player); empty when it is kept.
  Utf8 CaptionRefusal() const;

  // Event handlers. Button1Click (OK) refuses a caption CaptionRefusal refuses, and the dialog
  // goes on; otherwise it applies the pages and ends the dialog.
  void Button1Click();
  void Button3Click();
  // "ClassicUO...": the macros of the open-source client, from the pages as they stand.
  void Button_ClassicUoClick();
  void StringGrid_SpellbookDblClick();
  void StringGrid_SpellbookKeyDown(WORD& key);
  void StringGrid_ReagentDblClick();
  void StringGrid_ReagentKeyDown(WORD& key);
  void StringGrid_MacroDblClick();
  void StringGrid_MacroKeyDown(WORD& key);

  // Where the macro file goes: the program's folder (with its trailing separator).
  Path MacroFolder;
  Path MacroFilePath() const { return MacroFolder + kMacroFileName; }
  // The current character (ANSI), whose namesakes the ClassicUO macros dialog lists first.
  std::string Character;

  // ---- Controls.
  std::unique_ptr<win::PageControl> PageControl1;
  std::array<win::TabSheet*, kConfigPageCount> TabSheets{};  // in tab order
  std::unique_ptr<win::Button> Button1;                      // OK
  std::unique_ptr<win::Button> Button2;                      // Cancel

  // General.
  std::unique_ptr<win::GroupBox> GroupBox1;
  std::array<std::unique_ptr<win::Image>, kReagentCount> ReagentImages;  // Image2 .. Image_SS
  std::array<std::unique_ptr<TNumEdit>, kReagentCount> PriceEdits;       // NumEdit1 .. NumEdit8
  std::unique_ptr<win::CheckBox> CheckBox_OnTop;
  std::unique_ptr<win::Label> Label_WarnCasts;  // "Warn in the game below"
  std::unique_ptr<TNumEdit> NumEdit_WarnCasts;
  std::unique_ptr<win::Label> Label_WarnCastsUnit;  // "casts"
  std::unique_ptr<win::Label> Label1;
  std::unique_ptr<win::ComboBox> ComboBox_Caption;
  // User List.
  std::unique_ptr<win::Label> Label7;
  std::unique_ptr<TCtrlGrid> CtrlGrid_User;
  std::unique_ptr<win::ComboBox> ComboBox_Spell;
  // Spellbook && Danger.
  std::unique_ptr<win::Label> Label2;
  std::unique_ptr<win::StringGrid> StringGrid_Spellbook;
  // Spell Casting.
  std::unique_ptr<win::Label> Label5;
  std::unique_ptr<win::CheckBox> CheckBoxEnableSpellCast;
  std::unique_ptr<win::StringGrid> StringGrid_Casting;
  // Reagents.
  std::unique_ptr<win::Label> Label3;
  std::unique_ptr<win::StringGrid> StringGrid_Reagent;
  // Macro.
  std::unique_ptr<win::Label> Label4;
  std::unique_ptr<win::StringGrid> StringGrid_Macro;
  std::unique_ptr<win::Button> Button3;
  std::unique_ptr<win::Button> Button_ClassicUo;
  // Spell Information.
  std::unique_ptr<win::Label> Label6;
  std::unique_ptr<win::StringGrid> StringGrid_Info;
  // About.
  std::unique_ptr<win::Image> Image1;
  std::unique_ptr<win::Edit> Memo1;

  TNumEdit& PriceEdit(int reagent) const { return *PriceEdits[static_cast<size_t>(reagent)]; }
  // The controls of a page other than General are made when it first shows (opening the dialog
  // costs only what the player sees); CreatePage makes them at once.
  void CreatePage(int page);
  bool PageCreated(int page) const { return created_[static_cast<size_t>(page)]; }

 protected:
  void DoShow() override { FillPages(); }
  win::PageControl* Pages() override { return PageControl1.get(); }
  // At a new DPI: the About picture drawn again, the casting font made for it.
  void DpiChanged() override;

 private:
  void CreateControls();
  // The filled texts into the controls of one page.
  void FillPage(int page);
  // The texts of every grid as they stand.
  ConfigPageTexts PageTexts() const;

  HFONT castingFont_ = nullptr;  // the owner's, until a change of DPI makes it the form's
  std::optional<win::FontDesc> castingDesc_;  // that font as designed, while it is the owner's
  HBITMAP spellAtlas_ = nullptr;              // not owned; the owner's lives longer than the dialog
  std::array<bool, kConfigPageCount> created_{true};  // General is made with the dialog
  bool filled_ = false;
  ConfigPageTexts texts_;  // what FillPages wrote, kept for the pages not made yet
};

}  // namespace quillorb

// The main window: a 640 x 60 strip that stays on top of the game client, with the reagent
// counters on the left and the spell bar on the right. It owns all of the program's data.
// Its work is kept by job: the controls, start-up, the strip's dialogs and the message dispatch
// in form_main.cpp, the spell bar and its casts in spell_bar.cpp, the counters in
// counter_strip.cpp, loading and saving the character in profile_session.cpp; the assistant
// program is spoken to by its AssistantSession, the game client by its CastPipeline.
#pragma once

#include <windows.h>

#include <array>
#include <bitset>
#include <memory>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "app/spell_art.h"
#include "client/assistant_session.h"
#include "client/cast.h"
#include "controls/num_edit.h"
#include "model/profile.h"
#include "model/spell.h"
#include "win/form.h"
#include "win/graphic.h"
#include "win/panel.h"
#include "win/tab_set.h"

namespace quillorb {

inline constexpr int kTabPages = 12;  // A..D, then the eight circles
inline constexpr int kClientWidth = 640;
inline constexpr int kClientHeight = 60;
// Posted to itself behind a burst of the assistant's reports: the counters show their values.
inline constexpr UINT kRefreshCountersMessage = WM_APP + 1;

// Child window identifiers, so that other programs (and the tests) can find the controls.
enum ControlId : int {
  kIdPanel1 = 100,
  kIdTabSet1 = 101,
  kIdNumEditFirst = 110,  // NumEdit_BP .. NumEdit_SS: 110..117
};

class TForm_Main : public win::Form, private CastHost, private AssistantHost {
 public:
  TForm_Main();
  ~TForm_Main() override;

  // Creates the window and its controls, then runs FormCreate.
  void Create();
  // Shows the window (FormShow).
  void Show(int showCommand = SW_SHOWNORMAL);

  // Event handlers and operations.
  void FormCreate();
  void FormShow();
  void FormDestroy();
  void SetUser(const std::string& name);
  void ApplyTopmost();
  void LoadProfile();
  // Writes the profile file, then spells.txt. False when the profile file could not be written
  // (`error` says which file and why); a catalogue that cannot be written is reported, and kept in
  // memory for the next save.
  bool SaveProfile(Utf8* error = nullptr);
  // Closing: users.ini, the profile and spells.txt are saved; after a failed save the player is
  // asked (Retry / Close anyway / Cancel). False when the player keeps Quillorb running.
  bool FormCloseQuery();
  void Timer1Timer();
  void NumEdit_BPEnter();

  // The reagent ledger on screen.
  void ReadCounters();
  void WriteCounters();
  // WriteCounters for an assistant's report: while more posted messages wait, the counters' texts
  // and the casts-left labels follow once after them.
  void WriteReportedCounters();
  void RefreshSlotLabels();
  void UpdateSlotLabel(win::Label& label, int slot);
  void NumEdit_GLChange();

  // The spell bar and the counter strip.
  void BuildSpellBar();
  // Composes page `page` of BarBitmap unless it is up to date, drawing the icons it needs.
  void ComposeBarPage(int page);
  void PaintBox1Paint(HDC dc);
  void TabSet1Click();
  void DrawReagentIcon(win::Image& image, int index);
  void CastSlot(int slot);
  void ShowSpellInfo(int slot);
  void PaintBox2Click(win::GraphicControl& sender);
  void PaintBox2DblClick(win::GraphicControl& sender);
  void PaintBox2MouseDown(win::GraphicControl& sender, const win::MouseEvent& e);
  void PaintBox2MouseMove(win::GraphicControl& sender);
  // Whether the mouse message being handled happened over one of the spell bar's slots.
  bool SlotUnderCursor() const;
  // Whether `window` is the game client a cast would go to, or a window it owns.
  bool IsGameWindow(HWND window) const;
  void SpeedButton_UndoClick();
  // The dialogs of the strip's buttons.
  void SpeedButton_bankClick();
  void SpeedButton_SaveClick();
  void SpeedButton_GraphClick();
  // Opens the configuration dialog on a copy of the data; OK takes the copy back, all but the cast
  // counts, which casts reported meanwhile may have changed.
  void SpeedButton_ConfigClick();
  // Image2MouseDown .. Image_SSMouseDown: the picture's tag is its reagent.
  void ReagentImageMouseDown(win::GraphicControl& sender, const win::MouseEvent& e);
  // The spell index in a slot of the current page.
  int32_t SlotSpell(int slot) const;

  // The assistant program (Assistant): the count request, its time-out, and the assistant's
  // reports.
  void SpeedButton_CountClick();
  void Timer_CountReagentTimer();
  void OnAssistReagentCount(WPARAM wp, LPARAM lp);
  void OnAssistSpellCast(WPARAM wp, LPARAM lp);
  // A counter change from the published assistant API (WM_USER+301).
  void OnAssistCounterChanged(WPARAM wp, LPARAM lp);
  // Links with an assistant found at creation; unlinks at shutdown.
  void LinkAssistant();
  void UnlinkAssistant();
  // After a booked cast of spell `index`: the warning in the game when it has fewer than
  // WarnCasts casts left. `now`: the cast went into the game client just now.
  void WarnOfLowCasts(int index, bool now);

  int CurrentPage() const { return TabSet1 ? TabSet1->TabIndex() : 0; }

  // ---- Data, in the order the program has always kept it.
  ReagentCounts BackpackReagent{};
  ReagentCounts BankReagent{};
  ReagentPrices ReagentCost{};
  int32_t AdjustRegsInBackpack = 0;
  ReagentCounts ReagentUsed{};
  std::array<std::array<int32_t, kSlotsPerPage>, kTabPages> SpellSlot{};
  bool CountersUpdating = false;
  bool CountersRefreshPosted = false;
  bool AlwaysOnTop = false;
  std::string CurrentUser;  // ANSI, as users.ini holds it
  Path ProfileFileName;
  Path SpellFileName;
  std::string ClientCaption;
  std::vector<std::string> ClientCaptions;
  std::string ClientProgram;    // the game client's program the player confirmed (ANSI file name)
  std::string ClassicUOFolder;  // ANSI, as the profile holds it
  int32_t WarnCasts = kDefaultWarnCasts;
  SpellTable Spells{};
  // The assistant's window (AssistantWindow), the published API's registration and the count
  // request's ticks.
  AssistantSession Assistant{*this};
  int32_t UndoSpell = -1;
  bool UndoLastWasCast = false;
  win::Bitmap BarBitmap;
  std::bitset<kTabPages> BarPagesComposed;  // the pages of BarBitmap that are up to date

  // ---- Controls.
  std::unique_ptr<win::PaintBox> PaintBox1;
  std::array<std::unique_ptr<win::Label>, 8> SlotLabels;    // Label1 .. Label8
  std::array<std::unique_ptr<win::PaintBox>, 8> SlotBoxes;  // PaintBox2 .. PaintBox9
  std::unique_ptr<win::TabSet> TabSet1;
  std::unique_ptr<win::Panel> Panel1;
  std::array<std::unique_ptr<win::Image>, kReagentCount> ReagentImages;  // Image2 .. Image_SS
  std::array<std::unique_ptr<TNumEdit>, kReagentCount> Counters;         // NumEdit_BP .. NumEdit_SS
  std::unique_ptr<win::SpeedButton> SpeedButton_Count;
  std::unique_ptr<win::SpeedButton> SpeedButton_bank;
  std::unique_ptr<win::SpeedButton> SpeedButton_Config;
  std::unique_ptr<win::SpeedButton> SpeedButton_Undo;
  std::unique_ptr<win::SpeedButton> SpeedButton_Inscription;
  std::unique_ptr<win::SpeedButton> SpeedButton_Save;
  std::unique_ptr<win::SpeedButton> SpeedButton_Graph;
  std::unique_ptr<win::SpeedButton> SpeedButton_Casting;
  SpellAtlases ImageSrc;  // ImageSrc1 and ImageSrc2: the spell icons, normal and greyed
  std::unique_ptr<ReagentIconList> ImageList_Reagent;
  std::unique_ptr<win::Label> Label_ConfigDialogFont;
  std::unique_ptr<win::Timer> Timer1;
  std::unique_ptr<win::Timer> Timer_CountReagent;

  // Named access to the controls that share a handler.
  win::Label& Label(int slot) { return *SlotLabels[static_cast<size_t>(slot)]; }
  win::PaintBox& SlotBox(int slot) { return *SlotBoxes[static_cast<size_t>(slot)]; }
  TNumEdit& NumEdit(int reagent) { return *Counters[static_cast<size_t>(reagent)]; }
  win::Image& ReagentImage(int reagent) { return *ReagentImages[static_cast<size_t>(reagent)]; }
  HFONT ConfigDialogFont() const { return Label_ConfigDialogFont->Font(); }

 protected:
  // The message dispatch: the assistant's reports, closing, and the rest to the form.
  LRESULT OnMessage(UINT msg, WPARAM wp, LPARAM lp) override;
  // At a new DPI: the window's icons, the spell icons, the bar and the reagent pictures.
  void DpiChanged() override;

 private:
  // What the casting pipeline asks of the main window.
  bool RuneCastingDown() const override;
  HWND AssistantHandle() override;
  ClientSearch GameWindowSearch() const override;
  void TrustClientProgram(const std::string& program) override;
  HWND QuestionOwner() const override;
  void CastNotDelivered(CastFailure why) override;
  // What the assistant session asks of it.
  void TakeReportedCount(int reagent, int32_t count) override;
  void BookReportedCast(int index) override;
  void ShowCounting(bool counting) override;
  void ShowStatus(const char* text) override;
  HWND GameClient() override;
  void ShowCountSource(CountSource source) override;

  void CreateControls();
  void SetIcons();
  // app/profile_session.cpp: loading and saving the character, and the question after a failed
  // save.
  enum class SaveStep { LastUser, Profile, Catalogue };
  enum class SaveFor { Switch, SameCharacter, Close };
  // Writes one file; false with `error` (the file and the system's reason) when it failed.
  bool WriteStep(SaveStep step, Utf8& error);
  Utf8 SaveQuestionText(SaveStep step, SaveFor purpose, const Utf8& error) const;
  // Writes the file until it works or the player answers otherwise: true to go on (saved, or
  // "Switch anyway" / "Close anyway"), false for Cancel.
  bool SaveStepOrAsk(SaveStep step, SaveFor purpose);
  // Before the character list's choice `next` becomes current. False: stay as it is.
  bool SaveBeforeSwitch(const std::string& next);
  // For the character list's Add when the current profile has no file yet.
  bool SaveCopySource();
  // At the end of the session, when FormCloseQuery has not saved: failures are only reported.
  void SaveAtShutdown();
  ProfileSettings CurrentSettings() const;
  POINT WindowTopLeft() const;
  // The character users.ini names, "" for the default one or one whose name is refused.
  std::string LastUserOfUsersFile();

  Path programDir_;
  char decimalSeparator_ = '.';
  win::Icon icon_;
  win::Icon largeIcon_;            // above 96 DPI
  SpellAtlases previousImageSrc_;  // of the scale before the last change
  bool destroyed_ = false;
  bool catalogueUnreadable_ = false;
  bool profileUnreadable_ = false;  // the current profile file exists but could not be read
  bool keepUsersFile_ = false;      // users.ini could not be read
  bool lastUserRefused_ = false;    // users.ini named a refused character; none chosen since
  bool catalogueUnsaved_ = false;   // the spells in memory differ from spells.txt
  bool shutdownSaved_ = false;      // FormCloseQuery has saved everything
  bool saveQuestionOpen_ = false;
  bool closing_ = false;
  // The profiles the character list has said it cannot use (told once a run).
  std::set<Path> unusableProfilesTold_;
  // Where the mouse stood when Panel1 was given a notice instead of the spell information: the
  // notice stays until the mouse really moves over a slot again.
  std::optional<POINT> panelNoticeAt_;
  // Which window came to the front last, for finding the game client when several are open.
  ForegroundHistory clientHistory_;
  // The casting pipeline of the spell bar's casts, asking this window what it needs.
  CastPipeline caster_{this};
};

}  // namespace quillorb

// Loading the character (users.ini names it; spells.txt and its profile hold it) and saving it:
// before a change of character, for the character list's copy, and when Quillorb ends. A save
// that fails never leaves the player stuck: the question after it says which
// file could not be written, why, and what is lost without it, and offers Retry, going on anyway
// (switch or close) and Cancel.
#include <string>

#include "app/form_main.h"
#include "dialogs/messages.h"
#include "dialogs/save_question.h"
#include "model/catalogue.h"
#include "model/characters.h"
#include "model/file_io.h"
#include "win/app.h"
#include "win/file_error.h"
#include "win/screen_place.h"

namespace quillorb {
namespace {

Utf8 Who(const std::string& user) {
  return user.empty() ? Utf8("the default character") : win::AnsiToUtf8(user);
}

// The file as it stands, so that a rewrite keeps the lines the program does not know. False, with
// the reason, when the file exists but cannot be read as text (another program holds it, it was
// saved as UTF-16 meanwhile): it is not written over then.
bool ReadForRewrite(const Path& path, IniDocument& ini, Utf8& error) {
  std::string bytes;
  const ReadStatus status = ReadWholeFile(path, bytes, &error);
  if (status == ReadStatus::Ok) ini = IniDocument(bytes);
  return status != ReadStatus::Failed;
}

// `pattern` with a character's name.
void ShowNameError(const wchar_t* pattern, const std::string& name) {
  win::ShowErrorBox(FormatWithFile(pattern, win::AnsiToWide(name)));
}

}  // namespace

// ------------------------------------------------------------------ loading

std::string TForm_Main::LastUserOfUsersFile() {
  // A users.ini that exists but cannot be read, or that names a character whose name cannot be
  // part of a file name, is reported once and left as it is at shutdown (a refused name only
  // until the player chooses a character).
  const Path usersFile = UsersFileName(programDir_);
  IniDocument users;
  std::string bytes;
  Utf8 error;
  const ReadStatus status = ReadWholeFile(usersFile, bytes, &error);
  if (status == ReadStatus::Ok) users = IniDocument(bytes);
  if (status == ReadStatus::Failed) {
    keepUsersFile_ = true;
    win::ShowFileError(kUsersReadError, error);
  }
  const std::string name = ReadLastUser(users);
  if (IsPlainCharacterName(name, [](unsigned char c) { return IsDBCSLeadByte(c) != FALSE; })) {
    return name;
  }
  lastUserRefused_ = true;
  ShowNameError(kRefusedNameError, name);
  return std::string();
}

void TForm_Main::SetUser(const std::string& name) {
  CurrentUser = name;
  ProfileFileName = quillorb::ProfileFileName(programDir_, name);
  SpellFileName = quillorb::SpellFileName(programDir_);
  const std::string title = name.empty() ? "Quillorb" : "Quillorb - " + name;
  SetText(title);
  win::SetApplicationTitle(title);
}

void TForm_Main::LoadProfile() {
  Utf8 error;
  // Spells that could not be saved are kept: the file holds an older state of them.
  if (!catalogueUnsaved_) {
    catalogueUnreadable_ =
        ReadCatalogue(SpellFileName, Spells, &error) == CatalogueRead::Unreadable;
    // Reported; the profile itself is still loaded, so nothing of it is lost at the next save.
    if (catalogueUnreadable_) win::ShowFileError(kCatalogueReadError, error);
  }
  IniDocument ini;
  std::string bytes;
  const ReadStatus status = ReadWholeFile(ProfileFileName, bytes, &error);
  if (status == ReadStatus::Ok) ini = IniDocument(bytes);
  // A profile that exists but cannot be read (locked by another program, say) is reported; the
  // defaults are used, and the file is not overwritten with them at the next save.
  profileUnreadable_ = status == ReadStatus::Failed;
  if (profileUnreadable_) win::ShowFileError(kProfileReadError, error);

  ProfileSettings s;
  ReadProfile(ini, s, Spells, decimalSeparator_);
  BackpackReagent = s.BackpackReagent;
  BankReagent = s.BankReagent;
  ReagentUsed = s.ReagentUsed;
  ReagentCost = s.ReagentCost;
  AdjustRegsInBackpack = s.AdjustRegsInBackpack;
  SpeedButton_Casting->SetDown(s.EnableSpellCasting);
  for (int p = 0; p < kUserPages; ++p)
    SpellSlot[static_cast<size_t>(p)] = s.UserSpell[static_cast<size_t>(p)];
  AlwaysOnTop = s.AlwaysOnTop;
  SpeedButton_Inscription->SetDown(s.Inscription);
  const POINT at = win::TopLeftOnAMonitor(hwnd(), s.Left, s.Top);
  SetWindowPos(hwnd(), nullptr, at.x, at.y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
  ClientCaption = s.ClientCaption;
  ClientCaptions.assign(s.ClientCaptions.begin(), s.ClientCaptions.end());
  ClientProgram = s.ClientProgram;
  ClassicUOFolder = s.ClassicUOFolder;
  WarnCasts = s.WarnCasts;
}

POINT TForm_Main::WindowTopLeft() const {
  // A minimized window reports a parking position far off the screen: keep the normal one.
  WINDOWPLACEMENT placement{};
  placement.length = sizeof placement;
  if (IsIconic(hwnd()) && GetWindowPlacement(hwnd(), &placement)) {
    return POINT{placement.rcNormalPosition.left, placement.rcNormalPosition.top};
  }
  RECT r{};
  GetWindowRect(hwnd(), &r);
  return POINT{r.left, r.top};
}

ProfileSettings TForm_Main::CurrentSettings() const {
  ProfileSettings s;
  s.BackpackReagent = BackpackReagent;
  s.BankReagent = BankReagent;
  s.ReagentCost = ReagentCost;
  s.ReagentUsed = ReagentUsed;
  s.AdjustRegsInBackpack = AdjustRegsInBackpack;
  for (int p = 0; p < kUserPages; ++p)
    s.UserSpell[static_cast<size_t>(p)] = SpellSlot[static_cast<size_t>(p)];
  s.AlwaysOnTop = AlwaysOnTop;
  s.EnableSpellCasting = SpeedButton_Casting->Down();
  s.Inscription = SpeedButton_Inscription->Down();
  POINT topLeft = WindowTopLeft();
  s.Top = topLeft.y;
  s.Left = topLeft.x;
  s.ClientCaption = ClientCaption;
  for (size_t k = 0; k < s.ClientCaptions.size(); ++k) {
    s.ClientCaptions[k] = k < ClientCaptions.size() ? ClientCaptions[k] : std::string();
  }
  s.ClientProgram = ClientProgram;
  s.ClassicUOFolder = ClassicUOFolder;
  s.WarnCasts = WarnCasts;
  return s;
}

// ------------------------------------------------------------------ saving

bool TForm_Main::WriteStep(SaveStep step, Utf8& error) {
  switch (step) {
    case SaveStep::LastUser: {
      // A users.ini that could not be read, or that names a refused character the player has not
      // replaced by a choice of their own, is left as it is.
      if (keepUsersFile_ || lastUserRefused_) return true;
      const Path usersFile = UsersFileName(programDir_);
      IniDocument users;
      if (!ReadForRewrite(usersFile, users, error)) return false;
      WriteLastUser(users, CurrentUser);
      return ReplaceFileContents(usersFile, users.Serialize(), &error);
    }
    case SaveStep::Profile: {
      ReadCounters();
      // A profile that could not be read is not overwritten with the defaults used instead.
      if (profileUnreadable_) return true;
      IniDocument ini;
      if (!ReadForRewrite(ProfileFileName, ini, error)) return false;
      WriteProfile(ini, CurrentSettings(), Spells, decimalSeparator_);
      return ReplaceFileContents(ProfileFileName, ini.Serialize(), &error);
    }
    case SaveStep::Catalogue:
      // A catalogue that could not be read is not overwritten with spells it never gave us.
      if (catalogueUnreadable_) return true;
      // Until it is written, the spells in memory are the only copy: a change of character keeps
      // them instead of reading the old file again.
      catalogueUnsaved_ = !WriteCatalogue(SpellFileName, Spells, &error);
      return !catalogueUnsaved_;
  }
  return true;
}

Utf8 TForm_Main::SaveQuestionText(SaveStep step, SaveFor purpose, const Utf8& error) const {
  const Utf8 who = Who(CurrentUser);
  Utf8 headline;
  Utf8 lost;
  switch (step) {
    case SaveStep::LastUser:
      headline = "users.ini could not be saved.";
      lost = "the next start may open another character than " + who + ".";
      break;
    case SaveStep::Profile:
      headline = "The profile of " + who + " could not be saved.";
      lost = FileExists(ProfileFileName)
                 ? "what changed for " + who +
                       " since the last save is lost: reagents, bank, used reagents and casts, "
                       "spell pages and settings."
                 : who +
                       " has never been saved: all of its reagents, casts, spell pages and "
                       "settings are lost.";
      break;
    case SaveStep::Catalogue:
      headline = "The spell catalogue could not be saved.";
      lost =
          "the changes to the spells since the last save are lost: names, words of power, "
          "reagents and mana (each character's macro keys stay in its profile).";
      break;
  }
  Utf8 text = headline + "\n" + error + "\n\n";
  if (purpose == SaveFor::Switch) text += "Switch anyway: " + lost + "\n";
  if (purpose == SaveFor::Close) text += "Close anyway: " + lost + "\n";
  text += "Retry: save again, for example once another program has let the file go.\n";
  switch (purpose) {
    case SaveFor::Switch:
      text += "Cancel: stay with " + who + "; nothing is lost.";
      break;
    case SaveFor::SameCharacter:
      text += "Cancel: " + who +
              " stays as it is and is saved again at the next change of character or at the end.";
      break;
    case SaveFor::Close:
      text += "Cancel: Quillorb keeps running; nothing is lost.";
      break;
  }
  return text;
}

bool TForm_Main::SaveStepOrAsk(SaveStep step, SaveFor purpose) {
  for (;;) {
    Utf8 error;
    if (WriteStep(step, error)) return true;
    const char* goOn = purpose == SaveFor::Switch  ? "&Switch anyway"
                       : purpose == SaveFor::Close ? "&Close anyway"
                                                   : "";
    saveQuestionOpen_ = true;
    const SaveAnswer answer = AskAfterFailedSave(
        hwnd(), ConfigDialogFont(), {win::Wide(SaveQuestionText(step, purpose, error)), goOn});
    saveQuestionOpen_ = false;
    if (answer != SaveAnswer::Retry) return answer == SaveAnswer::GoOn;
  }
}

bool TForm_Main::SaveBeforeSwitch(const std::string& next) {
  if (!SaveStepOrAsk(SaveStep::Profile,
                     next == CurrentUser ? SaveFor::SameCharacter : SaveFor::Switch)) {
    return false;
  }
  // The catalogue is shared by all characters: one that cannot be written is kept in memory and
  // does not stop the change.
  Utf8 error;
  if (!WriteStep(SaveStep::Catalogue, error)) win::ShowFileError(kCatalogueKeptError, error);
  // The player has chosen a character: users.ini names it again at the end.
  lastUserRefused_ = false;
  return true;
}

bool TForm_Main::SaveProfile(Utf8* error) {
  Utf8 reason;
  if (!WriteStep(SaveStep::Profile, reason)) {
    if (error) *error = reason;
    return false;
  }
  if (!WriteStep(SaveStep::Catalogue, reason)) win::ShowFileError(kCatalogueKeptError, reason);
  return true;
}

bool TForm_Main::SaveCopySource() {
  Utf8 error;
  if (SaveProfile(&error)) return true;
  win::ShowFileError(kCopySourceError, error);
  return false;
}

bool TForm_Main::FormCloseQuery() {
  for (SaveStep step : {SaveStep::LastUser, SaveStep::Profile, SaveStep::Catalogue}) {
    if (!SaveStepOrAsk(step, SaveFor::Close)) return false;
  }
  shutdownSaved_ = true;
  return true;
}

void TForm_Main::SaveAtShutdown() {
  if (shutdownSaved_) return;
  shutdownSaved_ = true;
  // The session is ending: nothing can be asked any more, only reported.
  const struct {
    SaveStep step;
    const char* what;
  } steps[] = {{SaveStep::LastUser, kUsersWriteError},
               {SaveStep::Profile, kProfileWriteError},
               {SaveStep::Catalogue, kCatalogueWriteError}};
  for (const auto& s : steps) {
    Utf8 error;
    if (!WriteStep(s.step, error)) win::ShowFileError(s.what, error);
  }
}

}  // namespace quillorb

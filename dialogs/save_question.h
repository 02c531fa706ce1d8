// The question after a failed save: which file could not be written and why, and what is lost if
// the player goes on without it. Retry saves again; the go-on button ("Switch anyway", "Close
// anyway") gives the unsaved data up; Cancel (also Escape and the close box) keeps everything as
// it is. Without a go-on caption only Retry and Cancel are offered.
#pragma once

#include <windows.h>

#include <memory>
#include <string>

#include "win/button.h"
#include "win/dialog.h"
#include "win/graphic.h"
#include "win/child_window.h"

namespace quillorb {

inline constexpr char kSaveQuestionClass[] = "TSaveQuestion";

// What the question says and offers.
struct SaveQuestion {
  std::wstring text;        // lines end with "\n"
  std::string goOnCaption;  // "&Switch anyway", say; empty: only Retry and Cancel
};
enum class SaveAnswer { Retry, GoOn, Cancel };

class TSaveQuestion : public win::Dialog {
 public:
  enum ControlId : int { kIdText = 10, kIdRetry = IDRETRY, kIdGoOn = IDCONTINUE };
  // The answers ShowModal gives.
  static constexpr int kRetry = IDRETRY;
  static constexpr int kGoOn = IDCONTINUE;
  static constexpr int kCancel = win::kModalCancel;
  static constexpr int kClientWidth = 440;

  // Builds the hidden dialog in a copy of `font`, sized to the question's text.
  TSaveQuestion(HWND owner, HFONT font, const SaveQuestion& question);
  // Runs the question.
  SaveAnswer Execute();

  std::unique_ptr<win::PaintBox> Icon;
  // A read-only multi-line edit without a frame: it breaks a long path inside its words where a
  // static text would cut it off, and the player can select and copy what it says.
  std::unique_ptr<win::ChildWindow> Text;
  std::unique_ptr<win::Button> RetryBtn;  // first in the tab order, the default button
  std::unique_ptr<win::Button> GoOnBtn;   // nullptr without a go-on caption
  std::unique_ptr<win::Button> CancelBtn;

 protected:
  // The text measured again at the new scale, the buttons below it.
  void DpiChanged() override { Layout(); }

 private:
  void Layout();
};

// Runs the question with a warning sound.
SaveAnswer AskAfterFailedSave(HWND owner, HFONT font, const SaveQuestion& question);

}  // namespace quillorb

// The edit controls every numeric field is built from, over the system EDIT control:
// - TCustomEditEx: keyboard navigation. Enter, Tab and Escape can move the focus on, Escape can
//   restore the text the field had when it was entered, and four events report those keys and the
//   arrow keys. The keys are taken where the dialog message handling asks the focused control
//   which keys it wants (WM_GETDLGCODE), so the form's message loop must use IsDialogMessage.
// - TNumEdit: a bounded number (the logic is NumericField) with a typed-character filter (a
//   refused character beeps); bare while focused, formatted with Prefix and Suffix otherwise, in
//   the user's decimal separator; no input method.
// - TEditEx: TCustomEditEx with nothing of its own.
#pragma once

#include <cstdint>
#include <functional>
#include <string>

#include "model/numeric_field.h"
#include "win/edit.h"

namespace quillorb {

class TCustomEditEx : public win::Edit {
 public:
  TCustomEditEx(HWND parent, int id, int left, int top, int width, int height);

  // The text changed since the last focus entry or Escape reset.
  bool Modified = false;
  bool EnterKeyToExit = false;
  bool EscToReset = false;
  bool TabKeyToExit = true;
  // Select the whole text at focus entry.
  bool AutoSelect = true;
  // The text as it stood at the last focus entry.
  std::string EntryText;

  bool EscToExit() const { return escToExit_; }
  // true also sets EscToReset; false leaves it.
  void SetEscToExit(bool exit);

  // Key = the virtual-key code 37..40; the handler's changes to it are ignored.
  std::function<void(TCustomEditEx& sender, char& key)> OnCursorKey;
  std::function<void(TCustomEditEx& sender)> OnEnterKey;
  // CanReset and CanExit come preset from EscToReset and EscToExit.
  std::function<void(TCustomEditEx& sender, bool& canReset, bool& canExit)> OnEscapeKey;
  std::function<void(TCustomEditEx& sender)> OnTabKey;

  // Moves the focus to the next control of the top-level window that can take it and has no
  // child windows, in tab order (tab stops not consulted), wrapping; stays when there is none.
  void SelectNextControl();

 protected:
  LRESULT OnEditMessage(UINT msg, WPARAM wp, LPARAM lp) override;
  void DoEnter() override;
  void DoChange() override;

  virtual void DoCursorKey(char key);
  virtual void DoEnterKey();
  // Returns whether the control claims the key (false: the form treats Escape as usual).
  virtual bool DoEscapeKey();
  virtual void DoTabKey();

 private:
  // The answer to WM_GETDLGCODE for a key-down addressed to this control.
  LRESULT DialogCodeForKey(WPARAM vk, WPARAM wp, LPARAM lp);
  bool escToExit_ = false;
};

class TNumEdit : public TCustomEditEx, private NumericField {
 public:
  using NumericField::kDefaultMax;

  TNumEdit(HWND parent, int id, int left, int top, int width, int height);

  // Plain settings: a write re-clamps and redraws nothing.
  using NumericField::EnableNegative;
  using NumericField::Max;
  using NumericField::Min;
  using NumericField::RefuseAboveMax;

  using NumericField::Integer;
  using NumericField::Real;
  // Assigned values are clamped to 0..Max (Min and EnableNegative are not consulted); the text
  // follows.
  void SetInteger(int32_t value);
  void SetReal(double value);
  // For a burst of assignments: the value at once, the text at the next FlushText (or when the
  // field is entered), since each replacement of an edit's text is slow.
  void SetIntegerLater(int32_t value);
  void FlushText();

  using NumericField::NumDecimals;
  void SetNumDecimals(int32_t decimals);
  // Follows the user's decimal separator (read again whenever the text is made or typed into).
  using NumericField::DecimalSeparator;
  using NumericField::Prefix;
  void SetPrefix(std::string prefix);
  using NumericField::Suffix;
  void SetSuffix(std::string suffix);
  using NumericField::ClearStart;
  using NumericField::FormatString;
  void SetClearStart(bool clear);
  using NumericField::BlankPending;
  using NumericField::Editing;

 protected:
  LRESULT OnEditMessage(UINT msg, WPARAM wp, LPARAM lp) override;
  void DoEnter() override;
  void DoExit() override;
  void DoChange() override;

 private:
  // A field with decimals shows the user's decimal separator: the player may change it while the
  // program runs.
  void FollowDecimalSeparator();
  void RefreshText();

  bool textStale_ = false;
};

class TEditEx : public TCustomEditEx {
 public:
  using TCustomEditEx::TCustomEditEx;
};

}  // namespace quillorb

// A modal dialog: a form that runs its own message loop while its owner is disabled, until a
// button with a modal result is clicked, the dialog is closed (cancel), or the loop is told to
// end. Enter presses the focused push button, or the default button when no button has the focus;
// Escape presses the cancel button; Tab and the arrow keys move between the controls; Ctrl+Tab
// and Ctrl+Shift+Tab move through the pages of a dialog with a page control, where Tab goes round
// the page tabs, the shown page's controls and the buttons below (TabOrder).
#pragma once

#include <windows.h>

#include <functional>
#include <string>
#include <vector>

#include "win/button.h"
#include "win/form.h"

namespace win {

class PageControl;

// Whether IsDialogMessage may handle a character message for `target` (a window of `dialog`).
// Looking for an accelerator, Wine walks the dialog's windows from `target` until it comes back
// to it, never entering a hidden or disabled window: for a window below such an ancestor, a
// character that is no accelerator (Alt+X, say) makes the walk go round for ever.
bool AcceleratorSearchEnds(HWND dialog, HWND target);
// IsDialogMessageA, except for character messages whose accelerator search would not end
// (those are left to the caller to dispatch).
bool DialogMessage(HWND dialog, MSG& msg);
// The windows Tab visits in `dialog`, in order: its visible, enabled tab stops in Z order, the
// controls inside a window that hosts controls (WS_EX_CONTROLPARENT: a page, a page control)
// right after it. A page control is a tab stop itself and comes before its page's controls; the
// system's walk skips such a window, so that Tab never came back to the page tabs.
std::vector<HWND> TabOrder(HWND dialog);

inline constexpr int kModalNone = 0;  // still running
inline constexpr int kModalOk = IDOK;
inline constexpr int kModalCancel = IDCANCEL;

class Dialog : public Form {
 public:
  Dialog() = default;

  // Shows the dialog and runs it until it has a modal result; returns that result. The dialog is
  // hidden again afterwards (not destroyed). A WM_QUIT that arrives meanwhile ends the run with
  // kModalCancel and is posted again for the outer loop.
  int ShowModal();
  bool Running() const { return running_; }
  int ModalResult() const { return modalResult_; }
  // A non-zero result ends the modal run.
  void SetModalResult(int result) { modalResult_ = result; }

  // Runs when the modal run has its result, while the dialog is still shown and active (for
  // example to hand the activation to another window before the dialog hides, so that the owner
  // is not activated in between).
  std::function<void(int result)> OnEnd;

  // The buttons on the dialog, in tab order.
  std::vector<Button*> Buttons() const;
  Button* DefaultButton() const;
  Button* CancelButton() const;

 protected:
  // Creates the hidden dialog window owned by `owner` (which may be nullptr), with a dialog
  // border (no resizing, no minimise or maximise box) and a client area of exactly
  // clientWidth x clientHeight at 96 DPI, at the scale of the owner's monitor.
  void CreateModalForm(const char* className, const std::string& caption, HWND owner,
                       int clientWidth, int clientHeight, DWORD extraExStyle = 0);
  // Called right before the dialog becomes visible.
  virtual void DoShow() {}
  // A message of the modal run before the dialog's own key handling; true: it was handled.
  // Ctrl+Tab and Ctrl+Shift+Tab go to the dialog's page control, when it has one.
  virtual bool PreviewKey(const MSG& msg);
  // The page control Ctrl+Tab moves through (none by default).
  virtual PageControl* Pages() { return nullptr; }
  LRESULT OnMessage(UINT msg, WPARAM wp, LPARAM lp) override;

 private:
  bool HandleDialogKey(const MSG& msg);
  // Tab and Shift+Tab in a dialog with pages: along TabOrder, round and round.
  bool HandleTabKey(const MSG& msg);
  void PressCancel();
  Button* ButtonOf(HWND window) const;
  HWND FirstTabStop() const;
  // The focused button shows the default frame; without a focused button the default one does.
  void UpdateDefaultFrame(HWND focus) const;

  int modalResult_ = kModalNone;
  bool running_ = false;
  HWND lastFocus_ = nullptr;
};

}  // namespace win

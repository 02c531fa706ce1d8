// TCtrlGrid: a string grid whose cells can be edited through ordinary windowed controls (a combo
// box, say) instead of the grid's own editor. The owner registers a control for a pattern of
// cells (AddControl); whenever the current cell matches a pattern and is wholly on screen, the
// control is laid exactly over the cell with the cell's text, and when it is left its text goes
// back into the cell. Enter in the grid moves the focus into the control (an empty cell first
// gets the registered default text); Enter in the control writes the cell and gives the focus
// back to the grid, where the control is laid over the current cell again.
//
// The registered controls must be children of the grid's parent. They stay hidden except while
// laid over a cell, and their key-press and exit handlers are the grid's from registration on
// (the handlers they had are kept and still called). At most kMaxCtrls can be registered; there
// is no unregistering.
//
// Long texts: a control is handed at most kMaxControlText characters of a cell (cut at a
// character boundary) and read back with the same limit; a cell whose control text was not changed
// keeps its whole text, so passing over a long cell never shortens it.
#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include "model/grid_model.h"
#include "win/hosted_control.h"
#include "win/string_grid.h"

namespace quillorb {

// One registered control.
struct TCtrl {
  // The cells it applies to: an index, -1 for every one, or -k (k >= 2) for the index
  // count + 1 - k (-2 the last column or row), matched against the current counts.
  int32_t CellCol = 0;
  int32_t CellRow = 0;
  win::HostedControl* CellControl = nullptr;          // not owned; may be none
  win::HostedControl::KeyPressEvent SavedOnKeyPress;  // the control's own handlers at registration
  win::HostedControl::ExitEvent SavedOnExit;
  std::string DefaultText;  // put into an empty cell when the control is opened with Enter
};

class TCtrlGrid : public win::StringGrid {
 public:
  static constexpr int32_t kMaxCtrls = 32;
  // 254: what a 255-byte buffer holds besides its terminating zero.
  static constexpr int kMaxControlText = 254;

  TCtrlGrid(HWND parent, int id, int left, int top, int width, int height);
  ~TCtrlGrid() override;

  // Registered controls are shown at all. Changing it moves or hides nothing already shown.
  bool ShowControl = true;

  win::HostedControl* ActiveCtrl() const { return activeCtrl_; }
  int32_t CtrlCount() const { return ctrlCount_; }
  int32_t ActiveCol() const { return activeCol_; }
  int32_t ActiveRow() const { return activeRow_; }
  const TCtrl& Ctrl(int32_t index) const { return ctrls_[index]; }

  // Registers `control` (may be nullptr) for the cells (col, row) with the default text `text`.
  // A registration beyond kMaxCtrls shows a message box (the application's title as caption)
  // and changes nothing.
  void AddControl(int32_t col, int32_t row, win::HostedControl* control, const std::string& text);
  // The first registration, in order, matching the cell against the current counts; -1: none.
  int32_t FindCtrl(int32_t col, int32_t row) const;
  win::HostedControl* ControlAt(int32_t col, int32_t row) const;
  std::string DefaultTextAt(int32_t col, int32_t row) const;
  // A control is registered for the cell, the grid is editable (GridEditing) and ShowControl.
  bool CanShowControl(int32_t col, int32_t row) const;
  // Lays the cell's control over it with its text, when it may show and the cell is wholly
  // visible; the grid's own editor is closed meanwhile.
  void ShowControlAt(int32_t col, int32_t row);
  // Takes the shown control's text into its cell and hides it; a focus inside it goes back to
  // the grid.
  void HideControl();
  // HideControl, then ShowControlAt (a control already over that cell and still wholly visible
  // is only moved, so that it keeps its text and the focus).
  void PlaceControl(int32_t col, int32_t row);

  // Installed on every registered control.
  void ControlKeyPress(win::HostedControl& sender, char& key);
  void ControlExit(win::HostedControl& sender);

 protected:
  bool SelectCell(int col, int row) override;
  void KeyDown(WORD& key, unsigned shift) override;
  void TopLeftChanged() override;
  void ColWidthsChanged() override;
  void RowHeightsChanged() override;
  bool CanEditShow() const override;
  void DoEnter() override;
  void DoExit(HWND next) override;
  bool WantsReturn() const override { return true; }

 private:
  // Enter in the grid (or a click into the shown control): fill an empty cell's default text
  // and move the focus into the control.
  void OpenActiveControl();
  // Lays the active control over its cell in the parent's coordinates.
  void MoveActiveControl(int32_t col, int32_t row);

  win::HostedControl* activeCtrl_ = nullptr;
  int32_t ctrlCount_ = 0;
  int32_t activeCol_ = 0;
  int32_t activeRow_ = 0;
  TCtrl ctrls_[kMaxCtrls];
  std::string handedText_;  // what the active control was given
  bool hiding_ = false;     // inside HideControl
  // Shared with the handlers installed on the registered controls; cleared when the grid goes.
  std::shared_ptr<TCtrlGrid*> alive_;
};

}  // namespace quillorb

#include "controls/ctrl_grid.h"

#include <string>

#include "win/app.h"
#include "win/dialog_util.h"

namespace quillorb {
namespace {

// "CtrlGrid: <n> controls are already registered."
constexpr wchar_t kTooManyBefore[] = L"CtrlGrid:コントロールが既に";
constexpr wchar_t kTooManyAfter[] = L"個登録されています。";

// At most `limit` bytes of `text`, never ending inside a double-byte character of the ANSI code
// page.
std::string CutText(const std::string& text, size_t limit) {
  if (text.size() <= limit) return text;
  size_t end = 0;
  while (end < limit) {
    const size_t step = IsDBCSLeadByte(static_cast<BYTE>(text[end])) ? 2 : 1;
    if (end + step > limit) break;
    end += step;
  }
  return text.substr(0, end);
}

}  // namespace

TCtrlGrid::TCtrlGrid(HWND parent, int id, int left, int top, int width, int height)
    : win::StringGrid(parent, id, left, top, width, height),
      alive_(std::make_shared<TCtrlGrid*>(this)) {}

TCtrlGrid::~TCtrlGrid() {
  activeCtrl_ = nullptr;
  // The registered controls keep the handlers installed on them; from now on those do nothing.
  *alive_ = nullptr;
}

void TCtrlGrid::AddControl(int32_t col, int32_t row, win::HostedControl* control,
                           const std::string& text) {
  if (ctrlCount_ >= kMaxCtrls) {
    const std::wstring message =
        std::wstring(kTooManyBefore) + std::to_wstring(kMaxCtrls) + kTooManyAfter;
    const std::wstring caption = win::AnsiToWide(win::ApplicationTitle());
    HWND owner = hwnd() ? GetAncestor(hwnd(), GA_ROOT) : GetActiveWindow();
    win::ShowMessage(owner, message.c_str(), MB_OK, caption.c_str());
    return;
  }
  TCtrl& entry = ctrls_[ctrlCount_];
  entry = TCtrl{};
  entry.CellCol = col;
  entry.CellRow = row;
  entry.CellControl = control;
  if (control) {
    // A control registered before already carries the grid's handlers: its own are those saved
    // at its first registration (saving the grid's would make them call themselves).
    const TCtrl* first = nullptr;
    for (int32_t i = 0; i < ctrlCount_ && !first; ++i) {
      if (ctrls_[i].CellControl == control) first = &ctrls_[i];
    }
    entry.SavedOnKeyPress = first ? first->SavedOnKeyPress : control->OnKeyPress;
    entry.SavedOnExit = first ? first->SavedOnExit : control->OnExit;
    entry.DefaultText = text;
    control->SetVisible(false);
    std::shared_ptr<TCtrlGrid*> alive = alive_;
    control->OnKeyPress = [alive](win::HostedControl& sender, char& key) {
      if (*alive) (*alive)->ControlKeyPress(sender, key);
    };
    control->OnExit = [alive](win::HostedControl& sender) {
      if (*alive) (*alive)->ControlExit(sender);
    };
  }
  ++ctrlCount_;
}

int32_t TCtrlGrid::FindCtrl(int32_t col, int32_t row) const {
  for (int32_t i = 0; i < ctrlCount_; ++i) {
    if (PatternMatches(ctrls_[i].CellCol, col, ColCount()) &&
        PatternMatches(ctrls_[i].CellRow, row, RowCount())) {
      return i;
    }
  }
  return -1;
}

win::HostedControl* TCtrlGrid::ControlAt(int32_t col, int32_t row) const {
  const int32_t index = FindCtrl(col, row);
  return index >= 0 ? ctrls_[index].CellControl : nullptr;
}

std::string TCtrlGrid::DefaultTextAt(int32_t col, int32_t row) const {
  const int32_t index = FindCtrl(col, row);
  return index >= 0 ? ctrls_[index].DefaultText : std::string();
}

bool TCtrlGrid::CanShowControl(int32_t col, int32_t row) const {
  return ControlAt(col, row) != nullptr && (Options() & win::GridEditing) && ShowControl;
}

void TCtrlGrid::ShowControlAt(int32_t col, int32_t row) {
  if (!CanShowControl(col, row)) return;
  // Only over a cell shown whole: a control over a cut cell would stick out of the grid.
  if (!CellWhollyVisible(col, row)) return;
  HideEditor();
  win::HostedControl* control = ControlAt(col, row);
  activeCtrl_ = control;
  activeCol_ = col;
  activeRow_ = row;
  MoveActiveControl(col, row);
  handedText_ = CutText(Cell(col, row), kMaxControlText);
  control->SetText(handedText_);
  // Right above the grid: drawn over it, and next to it in the tab order.
  HWND above = GetWindow(hwnd(), GW_HWNDPREV);
  const UINT keepOrder = above == control->hwnd() ? SWP_NOZORDER : 0;
  SetWindowPos(control->hwnd(), above ? above : HWND_TOP, 0, 0, 0, 0,
               SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE | SWP_SHOWWINDOW | keepOrder);
}

void TCtrlGrid::MoveActiveControl(int32_t col, int32_t row) {
  if (!activeCtrl_) return;
  // The cell in the client coordinates of the grid, then in those of the control's parent.
  RECT area = CellRect(col, row);
  HWND parent = GetParent(activeCtrl_->hwnd());
  MapWindowPoints(hwnd(), parent, reinterpret_cast<POINT*>(&area), 2);
  activeCtrl_->PlaceOver(area);
}

void TCtrlGrid::HideControl() {
  if (!activeCtrl_ || hiding_) return;
  hiding_ = true;
  win::HostedControl* control = activeCtrl_;
  char buffer[kMaxControlText + 1] = {};
  const int length = GetWindowTextA(control->hwnd(), buffer, kMaxControlText + 1);
  const std::string text(buffer, static_cast<size_t>(length > 0 ? length : 0));
  const bool hadFocus = control->HasFocus();
  control->CloseUp();
  control->SetVisible(false);
  activeCtrl_ = nullptr;
  // An unchanged text leaves the cell as it is, so that a cell longer than the control holds
  // keeps its whole text.
  if (text != handedText_) SetCell(activeCol_, activeRow_, text);
  handedText_.clear();
  // A focus inside the hidden control would be lost to the keyboard: it goes to the grid.
  if (hadFocus && hwnd()) ::SetFocus(hwnd());
  if ((Options() & win::GridAlwaysShowEditor) && GetFocus() == hwnd()) ShowEditor();
  hiding_ = false;
}

void TCtrlGrid::PlaceControl(int32_t col, int32_t row) {
  // The control already over this cell only moves with it: it keeps its text and the focus.
  if (activeCtrl_ && !hiding_ && col == activeCol_ && row == activeRow_ &&
      activeCtrl_ == ControlAt(col, row) && CanShowControl(col, row) &&
      CellWhollyVisible(col, row)) {
    MoveActiveControl(col, row);
    return;
  }
  HideControl();
  ShowControlAt(col, row);
}

void TCtrlGrid::OpenActiveControl() {
  if (!activeCtrl_) return;
  if (Cell(Col(), Row()).empty()) activeCtrl_->SetText(DefaultTextAt(Col(), Row()));
  if (!activeCtrl_->HasFocus()) activeCtrl_->SetFocus();
}

void TCtrlGrid::ControlKeyPress(win::HostedControl& sender, char& key) {
  const int32_t index = FindCtrl(Col(), Row());
  if (index >= 0 && ctrls_[index].SavedOnKeyPress) ctrls_[index].SavedOnKeyPress(sender, key);
  if (key == '\r') {
    key = 0;
    ::SetFocus(hwnd());
  }
}

void TCtrlGrid::ControlExit(win::HostedControl& sender) {
  const int32_t index = FindCtrl(Col(), Row());
  if (index >= 0 && ctrls_[index].SavedOnExit) ctrls_[index].SavedOnExit(sender);
  if (activeCtrl_ && !activeCtrl_->HasFocus()) HideControl();
}

// ------------------------------------------------------------------ overrides

bool TCtrlGrid::SelectCell(int col, int row) {
  const bool canSelect = win::StringGrid::SelectCell(col, row);
  PlaceControl(col, row);
  return canSelect;
}

void TCtrlGrid::KeyDown(WORD& key, unsigned shift) {
  if (key == VK_RETURN) {
    OpenActiveControl();
    return;
  }
  win::StringGrid::KeyDown(key, shift);
}

void TCtrlGrid::TopLeftChanged() {
  win::StringGrid::TopLeftChanged();
  PlaceControl(Col(), Row());
}

void TCtrlGrid::ColWidthsChanged() {
  win::StringGrid::ColWidthsChanged();
  PlaceControl(Col(), Row());
}

void TCtrlGrid::RowHeightsChanged() {
  win::StringGrid::RowHeightsChanged();
  PlaceControl(Col(), Row());
}

bool TCtrlGrid::CanEditShow() const {
  if (CanShowControl(Col(), Row())) return false;
  return win::StringGrid::CanEditShow();
}

void TCtrlGrid::DoEnter() {
  win::StringGrid::DoEnter();
  PlaceControl(Col(), Row());
}

void TCtrlGrid::DoExit(HWND next) {
  if (activeCtrl_) {
    if (next && (next == activeCtrl_->hwnd() || IsChild(activeCtrl_->hwnd(), next))) {
      // A click into the control over the cell: as Enter. The focus is already on its way.
      if (Cell(Col(), Row()).empty()) activeCtrl_->SetText(DefaultTextAt(Col(), Row()));
    } else {
      HideControl();
    }
  }
  win::StringGrid::DoExit(next);
}

}  // namespace quillorb

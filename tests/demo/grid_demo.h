// The demonstration window of the grids: a control grid of 65 rows (a header and 64 rows) whose
// second column is edited through a combo box, laid out as the dialogs lay out their grids
// (397 x 173, rows 16 pixels high, Arial 11 pixels). The grid tests drive it; grid_demo.exe
// shows it for screenshots.
#pragma once

#include <windows.h>

#include <cstdio>
#include <memory>
#include <string>

#include "controls/ctrl_grid.h"
#include "win/combo_box.h"
#include "win/form.h"

namespace quillorb {

class GridDemoForm : public win::Form {
 public:
  static constexpr char kClassName[] = "QuillorbGridDemo";
  static constexpr int kGridId = 100;
  static constexpr int kComboId = 101;
  static constexpr char kDefaultText[] = "Choice 01";

  GridDemoForm() {
    CreateForm(kClassName, "Grid demonstration", WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU, 0, 60, 60,
               405, 205, nullptr);
    SetFont(win::Font(CreateFontA(-11, 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, ANSI_CHARSET,
                                  OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY,
                                  DEFAULT_PITCH | FF_DONTCARE, "Arial")));
    grid = std::make_unique<TCtrlGrid>(hwnd(), kGridId, 4, 28, 397, 173);
    combo = std::make_unique<win::ComboBox>(hwnd(), kComboId, 0, 0, 120);
    grid->SetOptions(grid->Options() | win::GridEditing);
    grid->SetScrollBars(win::GridScrollBars::Vertical);
    grid->SetColCount(2);
    grid->SetRowCount(65);
    grid->SetDefaultRowHeight(16);
    grid->SetColWidth(0, 40);
    grid->SetColWidth(1, 336);
    grid->SetCell(0, 0, "Row");
    grid->SetCell(1, 0, "Choice");
    for (int i = 1; i <= 64; ++i) {
      grid->SetCell(0, i, std::to_string(i));
      // Every third row starts empty.
      if (i % 3 != 0) grid->SetCell(1, i, Choice(i));
      combo->Add(Choice(i));
    }
    grid->AddControl(1, -1, combo.get(), kDefaultText);
  }

  static std::string Choice(int i) {
    char text[32];
    std::snprintf(text, sizeof text, "Choice %02d", i);
    return text;
  }

  void Paint(HDC dc) {
    const RECT client = ClientRect();
    FillRect(dc, &client, GetSysColorBrush(COLOR_BTNFACE));
    SelectObject(dc, Font());
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, GetSysColor(COLOR_BTNTEXT));
    const char caption[] = "Select a choice for each row.";
    TextOutA(dc, 8, 10, caption, sizeof caption - 1);
  }

  std::unique_ptr<TCtrlGrid> grid;
  std::unique_ptr<win::ComboBox> combo;

 protected:
  LRESULT OnMessage(UINT msg, WPARAM wp, LPARAM lp) override {
    if (msg == WM_PAINT) {
      PaintBuffered([this](HDC dc, const RECT&) { Paint(dc); });
      return 0;
    }
    if (msg == WM_ERASEBKGND) return 1;
    if (msg == WM_CLOSE) {
      DestroyWindow(hwnd());
      return 0;
    }
    if (msg == WM_DESTROY) {
      PostQuitMessage(0);
      return 0;
    }
    return win::Form::OnMessage(msg, wp, lp);
  }
};

}  // namespace quillorb

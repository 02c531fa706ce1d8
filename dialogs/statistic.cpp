#include "dialogs/statistic.h"

#include "dialogs/messages.h"
#include "model/file_io.h"
#include "model/text.h"
#include "win/app.h"
#include "win/dialog_util.h"
#include "win/save_dialog.h"

namespace quillorb {
namespace {

constexpr std::array<int, kReagentCount> kRowTops = {36, 65, 94, 123, 153, 182, 211, 240};
constexpr std::array<int, kReagentCount> kIconTops = {32, 61, 90, 119, 147, 176, 205, 234};

// A label right-aligned with its right edge at `right`.
std::unique_ptr<win::Label> RightLabel(win::Form& form, int right, int top, int width,
                                       const std::string& text) {
  auto label = std::make_unique<win::Label>(form, right - width, top, width, 14, text);
  label->SetAlignment(win::Label::Align::Right);
  return label;
}

// A 2-pixel line in the text colour, under a title or over the sum.
std::unique_ptr<win::PaintBox> Line(win::Form& form, int left, int top, int width) {
  auto line = std::make_unique<win::PaintBox>(form, left, top, width, 2);
  line->OnPaint = [](win::PaintBox& box, HDC dc) {
    RECT r{0, 0, box.Width(), box.Height()};
    FillRect(dc, &r, GetSysColorBrush(COLOR_WINDOWTEXT));
  };
  return line;
}

}  // namespace

TForm_Statistical::TForm_Statistical(HWND owner, const std::array<HBITMAP, kReagentCount>& icons,
                                     const AnalysisData& data)
    : spells_(data.spells), figures_(ComputeStatistics(data.used, data.prices, data.spells)) {
  CreateModalForm(kStatisticClass, "Analysis", owner, kClientWidth, kClientHeight, WS_EX_TOPMOST);
  SetFont(win::Arial(-11));
  boldFont_ = AddFont(win::Arial(-12, FW_BOLD));
  Message = [this](const Utf8& text, UINT flags) { return win::ShowMessage(hwnd(), text, flags); };
  ChooseExportFile = [this]() -> std::optional<Path> {
    return win::AskSaveFileName(hwnd(), "analysis.csv",
                                "CSV files (*.csv)\0*.csv\0All files (*.*)\0*.*\0", "csv");
  };

  Bevel1 = std::make_unique<win::Bevel>(*this, 8, 8, 125, 277);
  Label19 = std::make_unique<win::Label>(*this, 16, 12, 0, 15, "Consumption");
  Label19->SetFont(boldFont_);
  Label19->SetAutoSize(true);
  Shape1 = Line(*this, 16, 27, 109);
  for (size_t r = 0; r < kReagentCount; ++r) {
    Images[r] = std::make_unique<win::Image>(*this, r == 4 ? 16 : 18, kIconTops[r], 25, 23);
    Counts[r] = RightLabel(*this, 73, kRowTops[r], 30, "");
    Costs[r] = RightLabel(*this, 125, kRowTops[r], 50, "");
  }
  Shape2 = Line(*this, 16, 260, 109);
  Label17 = std::make_unique<win::Label>(*this, 16, 264, 0, 15, "Sum");
  Label17->SetFont(boldFont_);
  Label17->SetAutoSize(true);
  Label18 = RightLabel(*this, 125, 264, 70, "");
  Label18->SetFont(boldFont_);
  Label20 = std::make_unique<win::Label>(*this, 144, 8, 0, 15, "Your Favorite Spells");
  Label20->SetFont(boldFont_);
  Label20->SetAutoSize(true);

  // Windowed controls in tab order.
  OKBtn = std::make_unique<win::Button>(hwnd(), IDOK, 304, 296, 75, 25, "OK");
  OKBtn->Default = true;
  OKBtn->ModalResult = win::kModalOk;
  Button_Clear = std::make_unique<win::Button>(hwnd(), kIdClear, 8, 296, 75, 25, "Clear Data...");
  Button_Clear->OnClick = [this](win::Button&) { Button_ClearClick(); };
  Button_Export = std::make_unique<win::Button>(hwnd(), kIdExport, 88, 296, 75, 25, "Export...");
  Button_Export->OnClick = [this](win::Button&) { Button_ExportClick(); };
  StringGrid1 = std::make_unique<win::StringGrid>(hwnd(), kIdGrid, 144, 24, 233, 261);
  StringGrid1->SetOptions(win::GridFixedLines | win::GridLines);
  StringGrid1->SetColCount(4);
  StringGrid1->SetRowCount(kSpellCount + 1);
  StringGrid1->SetFixedCols(1);
  StringGrid1->SetFixedRows(1);
  StringGrid1->SetDefaultRowHeight(16);
  const int widths[4] = {21, 112, 34, 40};
  for (int c = 0; c < 4; ++c) StringGrid1->SetColWidth(c, widths[c]);
  win::CenterWindow(hwnd());
  FormCreate(icons);
}

std::optional<AnalysisOutcome> TForm_Statistical::Execute() {
  if (ShowModal() != win::kModalOk) return std::nullopt;
  return outcome_;
}

void TForm_Statistical::FormCreate(const std::array<HBITMAP, kReagentCount>& icons) {
  for (size_t r = 0; r < kReagentCount; ++r) Images[r]->SetBitmap(win::CopyBitmap(icons[r]), false);
  win::HourglassScope hourglass;
  for (size_t r = 0; r < kReagentCount; ++r) {
    Counts[r]->SetCaption(FormatInt(figures_.used[r]));
    Costs[r]->SetCaption(FormatInt(figures_.cost[r]) + " gp");
  }
  Label18->SetCaption(FormatInt(figures_.total) + " gp");

  win::StringGrid& grid = *StringGrid1;
  grid.SetCell(1, 0, "Name");
  grid.SetCell(2, 0, "Count");
  grid.SetCell(3, 0, "Cost");
  for (int r = 1; r <= kSpellCount; ++r) grid.SetCell(0, r, FormatInt(r));
  int row = 1;
  for (const SpellRank& rank : figures_.ranking) {
    grid.SetCell(1, row, spells_[static_cast<size_t>(rank.spell)].Name);
    grid.SetCell(2, row, FormatInt(rank.casts));
    grid.SetCell(3, row, FormatInt(rank.cost));
    ++row;
  }
  grid.SetRowCount(figures_.GridRows());
}

void TForm_Statistical::Button_ClearClick() {
  if (Message("Clear All Data?", MB_OKCANCEL | MB_ICONQUESTION) != IDOK) return;
  outcome_.clearData = true;
  SetModalResult(win::kModalOk);
}

bool TForm_Statistical::ExportTo(const Path& path, Utf8* error) const {
  const auto toUtf8 = [](const std::string& ansi) { return win::AnsiToUtf8(ansi).str(); };
  return ReplaceFileContents(path, StatisticsCsv(figures_, spells_, toUtf8), error);
}

void TForm_Statistical::Button_ExportClick() {
  const std::optional<Path> path = ChooseExportFile ? ChooseExportFile() : std::nullopt;
  if (!path) return;
  Utf8 error;
  if (!ExportTo(*path, &error)) {
    Message(ExportFileError(*path) + "\n" + error, MB_OK | MB_ICONEXCLAMATION);
  }
}

}  // namespace quillorb

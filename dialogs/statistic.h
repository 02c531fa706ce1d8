// Unit_Statistic: the analysis. What each reagent used has cost, the sum, and the spells ranked by
// how often they were cast; the figures can be exported as CSV. The dialog works on a copy of the
// character's data (AnalysisData) and hands back on OK whether the player chose to clear them.
#pragma once

#include <windows.h>

#include <array>
#include <functional>
#include <memory>
#include <optional>
#include <string>

#include "model/path.h"
#include "model/spell.h"
#include "model/statistics.h"
#include "win/bevel.h"
#include "win/button.h"
#include "win/dialog.h"
#include "win/graphic.h"
#include "win/string_grid.h"

namespace quillorb {

inline constexpr char kStatisticClass[] = "TForm_Statistical";

// What the analysis shows: copies of the character's figures.
struct AnalysisData {
  ReagentCounts used{};
  ReagentPrices prices{};
  SpellTable spells{};
};
// What it hands back on OK.
struct AnalysisOutcome {
  bool clearData = false;  // the player confirmed Clear Data: used totals and cast counts go to 0
};

class TForm_Statistical : public win::Dialog {
 public:
  enum ControlId : int { kIdGrid = 10, kIdClear = 11, kIdExport = 12 };
  static constexpr int kClientWidth = 386;
  static constexpr int kClientHeight = 326;

  // Builds the hidden dialog and fills it (FormCreate) from `data`; `icons` are the main
  // window's reagent pictures (BP..SS), copied.
  TForm_Statistical(HWND owner, const std::array<HBITMAP, kReagentCount>& icons,
                    const AnalysisData& data);
  // Runs the dialog: its outcome on OK (also after a confirmed clear), nothing on Escape.
  std::optional<AnalysisOutcome> Execute();

  void FormCreate(const std::array<HBITMAP, kReagentCount>& icons);
  void Button_ClearClick();
  void Button_ExportClick();
  // Writes the figures as CSV to `path`, all or nothing; false (with `error`) when it failed.
  bool ExportTo(const Path& path, Utf8* error = nullptr) const;

  const Statistics& Figures() const { return figures_; }
  const AnalysisOutcome& Outcome() const { return outcome_; }

  // How the dialog asks and tells; the tests replace them.
  std::function<int(const Utf8& text, UINT flags)> Message;
  std::function<std::optional<Path>()> ChooseExportFile;

  std::unique_ptr<win::Bevel> Bevel1;
  std::unique_ptr<win::Label> Label19;
  std::unique_ptr<win::Label> Label17;
  std::unique_ptr<win::Label> Label18;
  std::unique_ptr<win::Label> Label20;
  std::unique_ptr<win::PaintBox> Shape1;
  std::unique_ptr<win::PaintBox> Shape2;
  std::array<std::unique_ptr<win::Image>, kReagentCount> Images;  // Image2..Image_SS
  std::array<std::unique_ptr<win::Label>, kReagentCount> Counts;  // Label1..Label8
  std::array<std::unique_ptr<win::Label>, kReagentCount> Costs;   // Label9..Label16
  std::unique_ptr<win::Button> OKBtn;
  std::unique_ptr<win::Button> Button_Clear;
  std::unique_ptr<win::Button> Button_Export;
  std::unique_ptr<win::StringGrid> StringGrid1;

 private:
  SpellTable spells_;
  Statistics figures_;
  AnalysisOutcome outcome_;
  HFONT boldFont_ = nullptr;  // the form's
};

}  // namespace quillorb

// The analysis dialog on real windows: its labels and grid filled from the figures, Clear with
// Cancel and with OK, and the CSV export written all or nothing.
#include "dialogs/statistic.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "tests/harness/harness.h"
#include "win/bitmap.h"

namespace quillorb {
namespace {

class Analysis : public ::testing::Test {
 protected:
  void SetUp() override {
    for (size_t i = 0; i < spells_.size(); ++i) spells_[i].Name = "Spell " + std::to_string(i);
  }
  TForm_Statistical& Open() {
    std::array<HBITMAP, kReagentCount> icons{};
    dialog_ =
        std::make_unique<TForm_Statistical>(nullptr, icons, AnalysisData{used_, prices_, spells_});
    dialog_->Message = [this](const Utf8& text, UINT flags) {
      messages_.push_back(text.str() + "|" + std::to_string(flags));
      return answer_;
    };
    return *dialog_;
  }
  // The names in the grid's rows 1.. and its row count.
  std::vector<std::string> Names() const {
    std::vector<std::string> names;
    for (int r = 1; r < dialog_->StringGrid1->RowCount(); ++r) {
      names.push_back(dialog_->StringGrid1->Cell(1, r));
    }
    return names;
  }

  ReagentCounts used_{};
  ReagentPrices prices_{6.5f, 6.5f, 3.5f, 3.5f, 6.5f, 3.5f, 1.5f, 4.5f};
  SpellTable spells_{};
  std::unique_ptr<TForm_Statistical> dialog_;
  std::vector<std::string> messages_;
  int answer_ = IDCANCEL;
};

TEST_F(Analysis, FiguresAndRankingFillTheLabelsAndTheGrid) {
  TForm_Statistical& empty = Open();
  EXPECT_EQ(empty.StringGrid1->RowCount(), 2);
  EXPECT_EQ(empty.StringGrid1->Cell(0, 1), "1");
  EXPECT_EQ(empty.StringGrid1->Cell(1, 1), "");
  EXPECT_EQ(empty.Label18->Caption(), "0 gp");
  EXPECT_EQ(empty.StringGrid1->Cell(1, 0), "Name");
  EXPECT_EQ(empty.StringGrid1->Cell(2, 0), "Count");
  EXPECT_EQ(empty.StringGrid1->Cell(3, 0), "Cost");

  used_[0] = 3;
  used_[1] = 3;
  spells_[3].Reagent = {1, 0, 0, 0, 0, 0, 2, 0};  // 9.5 gold per cast
  for (int i = 0; i < 4; ++i) spells_[static_cast<size_t>(i)].CastCount = std::array{1, 2, 1, 3}[i];
  TForm_Statistical& d = Open();
  EXPECT_EQ(d.Counts[0]->Caption(), "3");
  EXPECT_EQ(d.Costs[0]->Caption(), "19 gp");
  EXPECT_EQ(d.Costs[1]->Caption(), "19 gp");
  EXPECT_EQ(d.Costs[2]->Caption(), "0 gp");
  EXPECT_EQ(d.Label18->Caption(), "38 gp");
  EXPECT_EQ(Names(), (std::vector<std::string>{"Spell 3", "Spell 1", "Spell 2", "Spell 0"}));
  EXPECT_EQ(d.StringGrid1->Cell(2, 1), "3");
  EXPECT_EQ(d.StringGrid1->Cell(3, 1), "28");  // 9.5 x 3 = 28.5

  for (int i = 0; i < 4; ++i) spells_[static_cast<size_t>(i)].CastCount = std::array{5, 0, 5, 7}[i];
  Open();
  EXPECT_EQ(Names(), (std::vector<std::string>{"Spell 3", "Spell 2", "Spell 0"}));
  EXPECT_EQ(dialog_->StringGrid1->Cell(0, 3), "3");
}

TEST_F(Analysis, ClearAsksFirstAndClosesOnlyOnOk) {
  TForm_Statistical& d = Open();
  d.Button_Clear->Press();
  EXPECT_EQ(messages_, (std::vector<std::string>{"Clear All Data?|33"}));  // 0x21
  EXPECT_FALSE(d.Outcome().clearData);
  EXPECT_EQ(d.ModalResult(), win::kModalNone);
  answer_ = IDOK;
  d.Button_Clear->Press();
  EXPECT_TRUE(d.Outcome().clearData);
  EXPECT_EQ(d.ModalResult(), win::kModalOk);
}

TEST_F(Analysis, ExportWritesTheCsvOrLeavesTheOldFile) {
  used_[6] = 4;
  spells_[10].Name = "Cure, \"great\"";
  spells_[10].CastCount = 2;
  const std::string folder = harness::NewTempFolder("csv");
  TForm_Statistical& d = Open();
  std::string chosen = folder + "figures.csv";
  d.ChooseExportFile = [&] { return std::optional(harness::AsPath(chosen)); };
  d.Button_Export->Press();
  EXPECT_EQ(harness::ReadFile(chosen),
            "\xEF\xBB\xBFReagent,Used,Price,Cost\r\n"
            "BP,0,6.5,0\r\nBM,0,6.5,0\r\nGL,0,3.5,0\r\nGS,0,3.5,0\r\nMR,0,6.5,0\r\n"
            "NS,0,3.5,0\r\nSA,4,1.5,6\r\nSS,0,4.5,0\r\nSum,,,6\r\n\r\n"
            "Rank,Spell,Casts,Cost\r\n1,\"Cure, \"\"great\"\"\",2,0\r\n");
  EXPECT_TRUE(messages_.empty());

  // A folder in the way of the file: the write fails, is reported, and nothing else changes.
  harness::WriteFile(folder + "old.csv", "old");
  chosen = folder + "sub";
  CreateDirectoryA(chosen.c_str(), nullptr);
  d.Button_Export->Press();
  ASSERT_EQ(messages_.size(), 1u);
  EXPECT_EQ(messages_[0].rfind("The figures could not be written to " + chosen, 0), 0u);
  EXPECT_EQ(harness::ReadFile(folder + "old.csv"), "old");
  d.ChooseExportFile = [] { return std::optional<Path>(); };  // Save As cancelled
  d.Button_Export->Press();
  EXPECT_EQ(messages_.size(), 1u);
  harness::RemoveFolder(folder);
}

}  // namespace
}  // namespace quillorb

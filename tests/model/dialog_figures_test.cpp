// The arithmetic behind the bank, analysis and character dialogs.
#include <gtest/gtest.h>

#include <climits>
#include <limits>
#include <random>

#include "model/bank_moves.h"
#include "model/characters.h"
#include "model/statistics.h"

namespace quillorb {
namespace {

TEST(BankMoves, MoveOnlyWhatTheSourceHoldsAndTheDestinationTakes) {
  struct Case {
    int32_t from, to, amount, fromAfter, toAfter;
  } cases[] = {
      {50, 10, 10, 40, 20},       // plain move
      {3, 0, 10, 0, 3},           // the source holds less than the amount: nothing is created
      {100, 9995, 10, 96, 9999},  // the destination is nearly full: nothing is lost
      {100, 9999, 10, 100, 9999}, {5, 5, 0, 5, 5},
  };
  for (const Case& c : cases) {
    int32_t from = c.from, to = c.to;
    MoveReagents(from, to, c.amount);
    EXPECT_EQ(from, c.fromAfter) << c.from << " " << c.to << " " << c.amount;
    EXPECT_EQ(to, c.toAfter) << c.from << " " << c.to << " " << c.amount;
  }
}

TEST(BankMoves, AdjustBackpackKeepsTheSum) {
  struct Case {
    int32_t backpack, bank, target, backpackAfter, bankAfter;
  } cases[] = {
      {10, 50, 30, 30, 30},        {40, 5, 30, 30, 15}, {3, 4, 30, 7, 0},
      {25, 100, 0, 0, 125},         // target 0: everything to the bank
      {9999, 9999, 0, 9999, 9999},  // more than both sides hold: nothing moves
      {900, 9500, 20, 401, 9999},   // the bank is full: the backpack keeps the rest
      {0, 9999, 1500, 999, 9000},   // the backpack takes no more than its counter shows
  };
  for (const Case& c : cases) {
    int32_t backpack = c.backpack, bank = c.bank;
    AdjustBackpack(backpack, bank, c.target);
    EXPECT_EQ(backpack, c.backpackAfter) << c.backpack << " " << c.bank << " " << c.target;
    EXPECT_EQ(bank, c.bankAfter) << c.backpack << " " << c.bank << " " << c.target;
  }
}

// Random visits: arrows and adjustments to any target in the dialog, casts booked into the ledger
// meanwhile (the assistant's reports), and the visit taken back into the ledger at the end. Per
// reagent, backpack + bank change by exactly what the casts took out of the backpack, and each
// side stays within its limit.
TEST(BankMoves, RandomVisitsWithCastsNeitherCreateNorDestroyReagents) {
  std::mt19937 random(20261209);
  auto below = [&](int32_t n) { return static_cast<int32_t>(random() % static_cast<uint32_t>(n)); };
  for (int visit = 0; visit < 300; ++visit) {
    BankSides ledger;
    for (size_t r = 0; r < kReagentCount; ++r) {
      ledger.backpack[r] = below(2) ? below(kBackpackMax + 1) : kBackpackMax - below(3);
      ledger.bank[r] = below(2) ? below(kBankFieldMax + 1) : kBankFieldMax - below(3);
      if (below(4) == 0) ledger.backpack[r] = below(3);  // nearly empty: casts run it dry
    }
    const BankSides opened = ledger;
    BankSides dialog = opened;
    ReagentCounts took{};
    ReagentCounts used{};
    for (int step = 0; step < 40; ++step) {
      const auto r = static_cast<size_t>(below(kReagentCount));
      const int32_t amount = below(3) ? below(50) : below(20000) - 5000;
      switch (below(4)) {
        case 0:
          MoveToBackpack(dialog.backpack[r], dialog.bank[r], amount);
          break;
        case 1:
          MoveToBank(dialog.backpack[r], dialog.bank[r], amount);
          break;
        case 2: {
          TSpell spell;
          for (int32_t& need : spell.Reagent) need = below(4);
          const ReagentCounts before = ledger.backpack;
          spell.Cast(CastMode::BookOnly, ledger.backpack, used, nullptr);
          for (size_t k = 0; k < kReagentCount; ++k) took[k] += before[k] - ledger.backpack[k];
          break;
        }
        default:
          for (size_t k = 0; k < kReagentCount; ++k) {
            AdjustBackpack(dialog.backpack[k], dialog.bank[k], amount);
          }
      }
      for (size_t k = 0; k < kReagentCount; ++k) {
        ASSERT_EQ(dialog.backpack[k] + dialog.bank[k], opened.backpack[k] + opened.bank[k])
            << "visit " << visit << " step " << step;
        ASSERT_TRUE(dialog.backpack[k] >= 0 && dialog.backpack[k] <= kBackpackMax);
        ASSERT_TRUE(dialog.bank[k] >= 0 && dialog.bank[k] <= kBankFieldMax);
      }
    }
    ApplyBankVisit(ledger, opened, dialog);
    for (size_t k = 0; k < kReagentCount; ++k) {
      EXPECT_EQ(ledger.backpack[k] + ledger.bank[k], opened.backpack[k] + opened.bank[k] - took[k])
          << "visit " << visit << " reagent " << k;
      EXPECT_TRUE(ledger.backpack[k] >= 0 && ledger.backpack[k] <= kBackpackMax);
      EXPECT_TRUE(ledger.bank[k] >= 0 && ledger.bank[k] <= kBankFieldMax);
    }
    if (took == ReagentCounts{}) {
      EXPECT_EQ(ledger.backpack, dialog.backpack) << "visit " << visit;
      EXPECT_EQ(ledger.bank, dialog.bank) << "visit " << visit;
    }
  }
}

// Taken back into a ledger that reports changed meanwhile: the player's changes are added to it,
// a backpack that would overflow leaves the rest in the bank, and a cast of reagents the player
// has moved to the bank meanwhile takes them from there.
TEST(BankMoves, AVisitKeepsWhatReportsBookedMeanwhile) {
  const BankSides opened{{50, 900, 0, 0, 0, 0, 0, 10}, {10, 500, 0, 0, 0, 0, 0, 0}};
  const BankSides closed{{30, 999, 0, 0, 0, 0, 0, 0}, {30, 401, 0, 0, 0, 0, 0, 10}};
  // Reports: 5 BP and 6 SS used, 50 BM counted; all ten SS were moved to the bank.
  BankSides ledger{{45, 950, 0, 0, 0, 0, 0, 4}, opened.bank};
  ApplyBankVisit(ledger, opened, closed);
  EXPECT_EQ(ledger.backpack, (ReagentCounts{25, 999, 0, 0, 0, 0, 0, 0}));
  EXPECT_EQ(ledger.bank, (ReagentCounts{30, 451, 0, 0, 0, 0, 0, 4}));

  // All Blood Moss and Nightshade to the bank, then a Clumsy cast reported.
  const BankSides before{{0, 1, 0, 0, 0, 1, 0, 0}, {0, 59, 0, 0, 0, 2, 0, 0}};
  const BankSides moved{{0, 0, 0, 0, 0, 0, 0, 0}, {0, 60, 0, 0, 0, 3, 0, 0}};
  BankSides afterCast{{0, 0, 0, 0, 0, 0, 0, 0}, before.bank};
  ApplyBankVisit(afterCast, before, moved);
  EXPECT_EQ(afterCast.backpack, ReagentCounts{});
  EXPECT_EQ(afterCast.bank, (ReagentCounts{0, 59, 0, 0, 0, 2, 0, 0}));
}

std::vector<int32_t> Ranked(const std::vector<int32_t>& counts) {
  SpellTable spells{};
  for (size_t i = 0; i < counts.size(); ++i) spells[i].CastCount = counts[i];
  std::vector<int32_t> order;
  for (const SpellRank& r : ComputeStatistics({}, {}, spells).ranking) order.push_back(r.spell);
  return order;
}

TEST(Statistics, RankingFollowsTheExchangeSortAndStopsAtTheFirstSpellNeverCast) {
  EXPECT_EQ(Ranked({1, 2, 1, 3}), (std::vector<int32_t>{3, 1, 2, 0}));
  EXPECT_EQ(Ranked({5, 0, 5, 7}), (std::vector<int32_t>{3, 2, 0}));
  EXPECT_TRUE(Ranked({}).empty());
  SpellTable spells{};
  EXPECT_EQ(ComputeStatistics({}, {}, spells).GridRows(), 2);
  spells[7].CastCount = 1;
  spells[9].CastCount = 4;
  spells[60].CastCount = 2;
  EXPECT_EQ(ComputeStatistics({}, {}, spells).GridRows(), 4);
  for (TSpell& s : spells) s.CastCount = 1;
  EXPECT_EQ(ComputeStatistics({}, {}, spells).GridRows(), 65);
}

TEST(Statistics, CostsAreTruncatedAndSummedIn64Bits) {
  SpellTable spells{};
  spells[4].Reagent = {1, 0, 0, 0, 0, 0, 2, 0};  // 6.5 + 2 x 1.5 = 9.5 gold per cast
  spells[4].CastCount = 3;
  const Statistics s = ComputeStatistics({3, 3, 0, 0, 0, 0, 0, INT32_MAX},
                                         {6.5f, 6.5f, 0, 0, 0, 0, 1.5f, 20.0f}, spells);
  EXPECT_EQ(s.cost[0], 19);
  EXPECT_EQ(s.cost[1], 19);
  EXPECT_EQ(s.cost[7], int64_t{INT32_MAX} * 20);
  EXPECT_EQ(s.total, 38 + int64_t{INT32_MAX} * 20);
  ASSERT_EQ(s.ranking.size(), 1u);
  EXPECT_EQ(s.ranking[0].cost, 28);

  const Statistics negative = ComputeStatistics({3, 0, 0, 0, 0, 0, 0, 0}, {-6.5f}, spells);
  EXPECT_EQ(negative.cost[0], -19);
  EXPECT_EQ(TruncateToInt64(1e300), INT64_MAX);
  EXPECT_EQ(TruncateToInt64(-1e300), INT64_MIN);
}

// Hand-edited prices far beyond any real one: every cost and sum stays at the end of the range it
// left (run under UBSan too: no overflow on the way).
TEST(Statistics, HugePricesSaturateEveryCostAndSum) {
  constexpr float kMaxFloat = std::numeric_limits<float>::max();
  constexpr float kInf = std::numeric_limits<float>::infinity();
  struct Case {
    ReagentPrices prices;
    int64_t total, spellCost;
  } cases[] = {
      {{1e15f, 1e15f, 1e15f, 1e15f, 1e15f, 1e15f, 1e15f, 1e15f}, INT64_MAX, INT64_MAX},
      {{kMaxFloat, kMaxFloat, 0, 0, 0, 0, 0, 0}, INT64_MAX, INT64_MAX},
      {{-kMaxFloat, -1e15f, 0, 0, 0, 0, 0, 0}, INT64_MIN, INT64_MIN},
      {{kMaxFloat, -kMaxFloat, 0, 0, 0, 0, 0, 0}, -1, INT64_MAX},
      {{kInf, 1, 0, 0, 0, 0, 0, 0}, INT64_MAX, INT64_MAX},
  };
  SpellTable spells{};
  spells[0].Reagent = {INT32_MAX, INT32_MAX, 0, 0, 0, 0, 0, 0};
  spells[0].CastCount = 10000;
  for (const Case& c : cases) {
    const Statistics s = ComputeStatistics(ReagentCounts{}, c.prices, spells);
    const Statistics used = ComputeStatistics(
        {10000, 10000, 10000, 10000, 10000, 10000, 10000, 10000}, c.prices, spells);
    EXPECT_EQ(s.total, 0) << c.prices[0];
    EXPECT_EQ(used.total, c.total) << c.prices[0];
    ASSERT_EQ(s.ranking.size(), 1u);
    EXPECT_EQ(s.ranking[0].cost, c.spellCost) << c.prices[0];
  }
  EXPECT_EQ(SaturatingAdd(INT64_MAX, INT64_MAX), INT64_MAX);
  EXPECT_EQ(SaturatingAdd(INT64_MIN, -1), INT64_MIN);
  EXPECT_EQ(SaturatingAdd(INT64_MAX, INT64_MIN), -1);
}

TEST(Statistics, CsvCellsThatASpreadsheetWouldRunAreTakenAsText) {
  const std::pair<const char*, const char*> cases[] = {
      {"=1+2", "'=1+2"},
      {"+Cure", "'+Cure"},
      {"-2", "'-2"},
      {"@SUM(A1)", "'@SUM(A1)"},
      {"\tTab", "'\tTab"},
      {"\rCR", "\"'\rCR\""},
      {"=HYPERLINK(\"x\",\"y\")", "\"'=HYPERLINK(\"\"x\"\",\"\"y\"\")\""},
      {"Cure", "Cure"},
      {"Magic Arrow=", "Magic Arrow="},
      // Where a spreadsheet splits cells at semicolons or tabs.
      {"Cure;=1+2", "Cure;'=1+2"},
      {"x;-1;@y;+", "x;'-1;'@y;'+"},
      {"a,b;=c", "\"a,b;'=c\""},
      {"a\t+1", "a\t'+1"},
      {"a;b; =c", "a;b; =c"},
      {"", ""},
  };
  for (const auto& [text, cell] : cases) EXPECT_EQ(CsvField(text), cell) << text;
}

TEST(Statistics, CsvHoldsBothTablesInUtf8WithAByteOrderMark) {
  SpellTable spells{};
  spells[2].Name = "Night, \"Sight\"";
  spells[2].Reagent = {0, 0, 0, 0, 0, 1, 1, 0};
  spells[2].CastCount = 2;
  spells[5].Name = "Feeblemind";
  spells[5].CastCount = 1;
  const Statistics s = ComputeStatistics({0, 0, 0, 0, 0, 2, 2, 0},
                                         {6.5f, 8.5f, 3.5f, 3.5f, 6.5f, 3.5f, 0.1f, 4.5f}, spells);
  const std::string csv =
      StatisticsCsv(s, spells, [](const std::string& text) { return "<" + text + ">"; });
  EXPECT_EQ(csv,
            "\xEF\xBB\xBFReagent,Used,Price,Cost\r\n"
            "BP,0,6.5,0\r\nBM,0,8.5,0\r\nGL,0,3.5,0\r\nGS,0,3.5,0\r\nMR,0,6.5,0\r\n"
            "NS,2,3.5,7\r\nSA,2,0.1,0\r\nSS,0,4.5,0\r\nSum,,,7\r\n"
            "\r\n"
            "Rank,Spell,Casts,Cost\r\n"
            "1,\"<Night, \"\"Sight\"\">\",2,7\r\n"
            "2,<Feeblemind>,1,0\r\n");
}

TEST(Characters, NamesFromFileNamesAndRefusedNames) {
  const auto character = [](const char* file) {
    const std::optional<Path> name = CharacterFromFileName(Path::FromUtf8(file));
    return name ? std::optional(name->Utf8()) : std::nullopt;
  };
  EXPECT_EQ(character("quillorb - Zed.ini"), "Zed");
  EXPECT_EQ(character("QUILLORB - a b.INI"), "a b");
  EXPECT_EQ(character("quillorb - .ini"), std::nullopt);
  EXPECT_EQ(character("quillorb.ini"), std::nullopt);
  EXPECT_EQ(character("quillorb - x.ini~"), std::nullopt);

  for (const char* bad :
       {"a.b", "a\\b", "a/b", "a:b", "a,b", "a;b", "a*b", "a?b", "a\"b", "a<b", "a>b", "a|b"}) {
    EXPECT_TRUE(HasForbiddenCharacter(Path::FromUtf8(bad))) << bad;
  }
  EXPECT_FALSE(HasForbiddenCharacter(Path::FromUtf8("Sir Lancelot-2 (mage)")));
  for (const char* blank : {" a", "a ", "\ta", "a\r", "  "}) {
    EXPECT_TRUE(HasOuterBlank(Path::FromUtf8(blank)));
  }
  EXPECT_FALSE(HasOuterBlank(Path::FromUtf8("a b")));
  EXPECT_FALSE(HasOuterBlank(Path()));

  // users.ini gives a quoted value back without its quotes; the longest name keeps its profile's
  // temporary file name within 255 bytes.
  const struct {
    std::string name;
    bool quoted;
    bool tooLong;
  } names[] = {{"'Al'", true, false},
               {"\"Al\"", true, false},
               {"''", true, false},
               {"'Al\"", false, false},
               {"'", false, false},
               {"O'Neil'", false, false},
               {"Al'", false, false},
               {std::string(214, 'x'), false, false},
               {std::string(215, 'x'), false, true}};
  for (const auto& c : names) {
    EXPECT_EQ(HasEnclosingQuotes(Path::FromUtf8(c.name)), c.quoted) << c.name;
    EXPECT_EQ(IsTooLongForFileName(Path::FromUtf8(c.name)), c.tooLong) << c.name.size();
  }
  const std::string longest =
      "quillorb - " + std::string(214, 'x') + ".ini.4294967295-4294967295.tmp";
  EXPECT_EQ(longest.size(), 255u);
}

}  // namespace
}  // namespace quillorb

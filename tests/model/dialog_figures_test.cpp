// The arithmetic behind the bank, analysis and character dialogs.
#include <gtest/gtest.h>

#include <climits>

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
      {10, 50, 30, 30, 30},         {40, 5, 30, 30, 15},      {3, 4, 30, 7, 0},
      {25, 100, 0, 0, 125},         // target 0: everything to the bank
      {9999, 9999, 0, 9999, 9999},  // the bank is full: the backpack keeps the rest
      {9000, 5000, 20, 4001, 9999}, {0, 9999, 9999, 9999, 0},
  };
  for (const Case& c : cases) {
    int32_t backpack = c.backpack, bank = c.bank;
    AdjustBackpack(backpack, bank, c.target);
    EXPECT_EQ(backpack, c.backpackAfter) << c.backpack << " " << c.bank << " " << c.target;
    EXPECT_EQ(bank, c.bankAfter) << c.backpack << " " << c.bank << " " << c.target;
  }
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
  EXPECT_EQ(CharacterFromFileName("quillorb - Zed.ini"), "Zed");
  EXPECT_EQ(CharacterFromFileName("QUILLORB - a b.INI"), "a b");
  EXPECT_EQ(CharacterFromFileName("quillorb - .ini"), std::nullopt);
  EXPECT_EQ(CharacterFromFileName("quillorb.ini"), std::nullopt);
  EXPECT_EQ(CharacterFromFileName("quillorb - x.ini~"), std::nullopt);

  for (const char* bad :
       {"a.b", "a\\b", "a/b", "a:b", "a,b", "a;b", "a*b", "a?b", "a\"b", "a<b", "a>b", "a|b"}) {
    EXPECT_TRUE(HasForbiddenCharacter(bad)) << bad;
  }
  EXPECT_FALSE(HasForbiddenCharacter("Sir Lancelot-2 (mage)"));
  for (const char* blank : {" a", "a ", "\ta", "a\r", "  "}) EXPECT_TRUE(HasOuterBlank(blank));
  EXPECT_FALSE(HasOuterBlank("a b"));
  EXPECT_FALSE(HasOuterBlank(""));

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
    EXPECT_EQ(HasEnclosingQuotes(c.name), c.quoted) << c.name;
    EXPECT_EQ(IsTooLongForFileName(c.name), c.tooLong) << c.name.size();
  }
  const std::string longest =
      "quillorb - " + std::string(214, 'x') + ".ini.4294967295-4294967295.tmp";
  EXPECT_EQ(longest.size(), 255u);
}

}  // namespace
}  // namespace quillorb

#include "model/spell.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace quillorb {
namespace {

TSpell Parsed(const std::string& line) {
  TSpell s;
  s.FromLine(line);
  return s;
}

TEST(SpellFromLine, ShortLinesRepeatTheLastColumn) {
  const TSpell nameOnly = Parsed("X");
  EXPECT_EQ(nameOnly.Name, "X");
  EXPECT_EQ(nameOnly.Rune, "X");
  EXPECT_TRUE(nameOnly.Alt && nameOnly.Ctrl && nameOnly.Shift);
  EXPECT_EQ(nameOnly.Key, 0);
  EXPECT_EQ(nameOnly.Reagent, ReagentCounts{});
  EXPECT_EQ(nameOnly.Mana, 0);

  const TSpell seven = Parsed("7");
  EXPECT_EQ(seven.Rune, "7");
  EXPECT_EQ(seven.Key, 7);
  EXPECT_EQ(seven.Reagent, (ReagentCounts{7, 7, 7, 7, 7, 7, 7, 7}));
  EXPECT_EQ(seven.Mana, 7);

  const TSpell empty = Parsed("");
  EXPECT_EQ(empty.Name, "");
  EXPECT_EQ(empty.Rune, "");
  EXPECT_TRUE(empty.Alt && empty.Ctrl && empty.Shift);
  EXPECT_EQ(empty.Key, 0);
  EXPECT_EQ(empty.Mana, 0);
}

TEST(SpellFromLine, OnlyExactZeroIsFalseAndNumbersDegradeToZero) {
  EXPECT_FALSE(Parsed("a\tb\t0").Alt);
  for (const char* text : {"00", " 0", "", "false", "1"}) {
    EXPECT_TRUE(Parsed(std::string("a\tb\t") + text + "\t0\t0").Alt) << '"' << text << '"';
  }
  const TSpell s = Parsed("a\tb\t1\t0\t1\t65585\t-1\tx\t\t2147483648\t0x10\t 3 \t4\t5\t12abc");
  EXPECT_FALSE(s.Ctrl);
  EXPECT_TRUE(s.Shift);
  EXPECT_EQ(s.Key, 49);
  EXPECT_EQ(s.Reagent, (ReagentCounts{-1, 0, 0, 0, 16, 3, 4, 5}));
  EXPECT_EQ(s.Mana, 0);
  EXPECT_EQ(Parsed("a\tb\t1\t1\t1\t-1").Key, 65535);
}

TEST(SpellFromLine, LeavesPerCharacterFieldsAlone) {
  TSpell s;
  s.CastText = "kal ort por";
  s.InSpellBook = false;
  s.Danger = true;
  s.CastCount = 12;
  s.FromLine("Recall\tKal Ort Por\t0\t1\t1\t82\t1\t1\t0\t0\t1\t0\t0\t0\t11");
  EXPECT_EQ(s.CastText, "kal ort por");
  EXPECT_FALSE(s.InSpellBook);
  EXPECT_TRUE(s.Danger);
  EXPECT_EQ(s.CastCount, 12);
}

TEST(SpellToLine, FreshRecordAndRoundTrip) {
  EXPECT_EQ(TSpell().ToLine(), "\t\t1\t1\t1\t49\t0\t0\t0\t0\t0\t0\t0\t0\t10");

  TSpell s;
  s.Name = "Mark";
  s.Rune = "Kal Por Ylem";
  s.Alt = false;
  s.Key = 65535;
  s.Reagent = {1, -2, 0, 2147483647, 0, 0, -2147483647 - 1, 3};
  s.Mana = -20;
  const TSpell back = Parsed(s.ToLine());
  EXPECT_EQ(back.ToLine(), s.ToLine());
  EXPECT_EQ(back.Key, 65535);
  EXPECT_EQ(back.Reagent, s.Reagent);
}

TEST(SpellToLine, SeparatorsInsideTextBecomeBlanks) {
  TSpell s;
  s.Name = "Magic\tArrow";
  s.Rune = "In\rPor\nYlem\r\n";
  s.Mana = 4;
  const std::string line = s.ToLine();
  EXPECT_EQ(std::count(line.begin(), line.end(), '\t'), 14);
  EXPECT_EQ(line.find_first_of("\r\n"), std::string::npos);
  EXPECT_EQ(s.Name, "Magic\tArrow");  // the record keeps its text

  const TSpell back = Parsed(line);
  EXPECT_EQ(back.Name, "Magic Arrow");
  EXPECT_EQ(back.Rune, "In Por Ylem  ");
  EXPECT_EQ(back.Key, 49);
  EXPECT_EQ(back.Mana, 4);
}

TEST(SpellLedger, CastsLeft) {
  TSpell s;
  // Needs nothing: always castable, never "fewer than N casts left".
  EXPECT_EQ(s.CastsLeft({0, 0, 0, 0, 0, 0, 0, 0}), kUnlimitedCasts);
  EXPECT_GT(kUnlimitedCasts, kCountCeiling);
  s.Reagent = {0, 2, 0, 0, 0, 0, 1, 0};
  EXPECT_EQ(s.CastsLeft({0, 5, 0, 0, 0, 0, 9, 0}), 2);
  EXPECT_EQ(s.CastsLeft({0, 5, 0, 0, 0, 0, 0, 0}), 0);
  EXPECT_EQ(s.CastsLeft({0, 99999, 0, 0, 0, 0, 99999, 0}), 10000);
  s.Reagent = {-1, 0, 0, 0, 0, 0, 0, 0};
  EXPECT_EQ(s.CastsLeft({-2147483647 - 1, 0, 0, 0, 0, 0, 0, 0}), 10000);
}

TEST(SpellLedger, LowCastsWarningNamesTheScarcestReagent) {
  TSpell s;
  s.Name = "Clumsy";
  const struct {
    ReagentCounts need;
    ReagentCounts stock;
    int32_t below;
    const char* text;  // nullptr: no warning
  } cases[] = {
      {{0, 1, 0, 0, 0, 1, 0, 0},
       {0, 9, 0, 0, 0, 2, 0, 0},
       5,
       "Clumsy: 2 casts left (Nightshade 2)"},
      {{0, 1, 0, 0, 0, 1, 0, 0}, {0, 1, 0, 0, 0, 1, 0, 0}, 5, "Clumsy: 1 cast left (Blood Moss 1)"},
      {{0, 0, 0, 0, 0, 0, 0, 2},
       {0, 0, 0, 0, 0, 0, 0, 1},
       1,
       "Clumsy: 0 casts left (Spider's Silk 1)"},
      // Two per cast: the larger count limits; equally scarce: the first in reagent order.
      {{0, 1, 0, 0, 0, 0, 0, 2},
       {0, 4, 0, 0, 0, 0, 0, 5},
       5,
       "Clumsy: 2 casts left (Spider's Silk 5)"},
      {{2, 0, 0, 3, 0, 0, 0, 0},
       {7, 0, 0, 9, 0, 0, 0, 0},
       4,
       "Clumsy: 3 casts left (Black Pearl 7)"},
      {{0, 1, 0, 0, 0, 1, 0, 0}, {0, 9, 0, 0, 0, 5, 0, 0}, 5, nullptr},  // not below
      {{0, 1, 0, 0, 0, 1, 0, 0}, {0, 0, 0, 0, 0, 0, 0, 0}, 0, nullptr},  // warnings off
      {{0, 0, 0, 0, 0, 0, 0, 0}, {0, 0, 0, 0, 0, 0, 0, 0}, 5, nullptr},  // needs nothing
      {{0, -1, 0, 0, 0, 0, 0, 0}, {0, 3, 0, 0, 0, 0, 0, 0}, 5, nullptr},
  };
  for (const auto& c : cases) {
    s.Reagent = c.need;
    const std::optional<std::string> text = LowCastsWarning(s, c.stock, c.below);
    EXPECT_EQ(text.value_or("(none)"), c.text ? c.text : "(none)");
  }
}

TEST(SpellLedger, CastAndUndoClampToTheCeilingAndFloor) {
  TSpell s;
  s.Reagent = {1, 3, 0, 0, 0, 0, 0, 2147483647};
  ReagentCounts stock{5, 2, -4, 20000, 0, 0, 0, 0};
  s.AddReagents(stock, -1);
  EXPECT_EQ(stock, (ReagentCounts{4, 0, 0, 10000, 0, 0, 0, 0}));
  s.AddReagents(stock, +1);
  EXPECT_EQ(stock, (ReagentCounts{5, 3, 0, 10000, 0, 0, 0, 10000}));

  ReagentCounts used{0, 7, 0, 0, 0, 0, 0, 0};
  s.CastCount = 1;
  s.Undo(stock, used);
  EXPECT_EQ(s.CastCount, 0);
  EXPECT_EQ(stock, (ReagentCounts{6, 6, 0, 10000, 0, 0, 0, 10000}));
  EXPECT_EQ(used, (ReagentCounts{0, 4, 0, 0, 0, 0, 0, 0}));

  s.InSpellBook = false;
  s.CastCount = 3;
  const ReagentCounts before = stock;
  s.AddReagents(stock, -1);
  s.Undo(stock, used);
  EXPECT_EQ(stock, before);
  EXPECT_EQ(s.CastCount, 3);

  s.CastCount = 10000;
  s.IncCount();
  EXPECT_EQ(s.CastCount, 10000);
  s.CastCount = 0;
  s.DecCount();
  EXPECT_EQ(s.CastCount, 0);
}

TEST(SpellInfo, CostIsTheFloatSum) {
  TSpell s;
  s.Name = "X";
  s.Rune = "Y Z";
  s.Mana = 4;
  s.Reagent = {1, 0, 0, 0, 0, 0, 1, 0};
  ReagentPrices prices{6.5f, 1, 1, 1, 1, 1, 3.5f, 1};
  EXPECT_EQ(s.GetInfo(prices), "X (Y Z) 10gp / 4mana");
  prices[6] = 3.0f;
  EXPECT_EQ(s.GetInfo(prices), "X (Y Z) 9.5gp / 4mana");
  EXPECT_EQ(s.GetInfo(prices, ','), "X (Y Z) 9,5gp / 4mana");

  s.Reagent = {0, 0, 0, 0, 0, 0, 0, 1};
  prices[7] = 3.3f;
  EXPECT_EQ(s.GetInfo(prices), "X (Y Z) 3.29999995231628gp / 4mana");
}

}  // namespace
}  // namespace quillorb

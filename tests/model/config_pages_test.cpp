#include "model/config_pages.h"

#include "model/client_caption.h"

#include <gtest/gtest.h>

namespace quillorb {
namespace {

TEST(ConfigKeys, KeyCellRoundTripsAndWhatMayBeInjected) {
  struct Case {
    uint16_t key;
    std::string text;
    uint16_t back;
    bool injectable;
  };
  const Case cases[] = {
      {0x70, "F1", 0x70, true},
      {0x87, "F24", 0x87, true},
      {0x41, "A", 0x41, true},
      {0x74, "F5", 0x74, true},
      {0, "", 0, false},
      {0x100, "", 0, false},
      {0x6F, "o", 0x6F, true},
      {0x88, "\x88", 0xFF88, false},
      {0xC4, "\xC4", 0xFFC4, false},
      {0xFFD6, "\xD6", 0xFFD6, false},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(KeyText(c.key), c.text) << c.key;
    EXPECT_EQ(KeyFromText(c.text), c.back) << c.key;
    EXPECT_EQ(IsInjectableKey(KeyFromText(c.text)), c.injectable) << c.key;
  }
  EXPECT_EQ(KeyFromText("Fx"), 0);  // an unreadable F-key number gives no key
  EXPECT_FALSE(IsInjectableKey(255));
  EXPECT_TRUE(IsInjectableKey(254));
}

TEST(ConfigKeys, CapturedKeyTexts) {
  EXPECT_EQ(CapturedKeyText(0x70, 0), "F1");
  EXPECT_EQ(CapturedKeyText(0x74, 0), "F5");
  EXPECT_EQ(CapturedKeyText(0x87, 0), "F24");
  EXPECT_EQ(CapturedKeyText('A', 'A'), "A");
  EXPECT_EQ(CapturedKeyText(0xBC, 0x8000002C), ",");  // only the low 8 bits count
  EXPECT_EQ(CapturedKeyText(0x25, 0), std::nullopt);  // an arrow leaves the cell
  EXPECT_EQ(CapturedKeyText(0x88, 0), std::nullopt);
  EXPECT_EQ(CapturedKeyText(0x2E, 0x7F), "");  // Delete clears
  // Backspace, Tab, Escape, and a key whose character is DEL.
  for (const auto& [key, mapped] :
       {std::pair{0x08u, 0x08u}, {0x09u, 0x09u}, {0x1Bu, 0x1Bu}, {0x58u, 0x7Fu}}) {
    EXPECT_EQ(CapturedKeyText(key, mapped), std::nullopt) << key;
  }
}

TEST(ConfigCells, UserSlotsManaAndSingleLineTexts) {
  const std::pair<const char*, int32_t> slots[] = {
      {"3-4 Fire Field", 19}, {"8-8 X", 63}, {"1-1", 0}, {"x", 0},   {"", 0}, {"3-", 0},
      {"0-1 A", 0},           {"9-1", 0},    {"1-9", 0}, {"2-0", 0},
  };
  for (const auto& [text, index] : slots) EXPECT_EQ(UserSlotFromText(text), index) << text;

  const std::pair<const char*, int32_t> mana[] = {{"abc", 10}, {"-5", -5}, {"", 10},
                                                  {"14", 14},  {" 6 ", 6}, {"9999999999", 10}};
  for (const auto& [text, value] : mana) EXPECT_EQ(ManaFromText(text), value) << text;

  EXPECT_EQ(SingleLineText("a\tb\r\nc"), "a b  c");
  EXPECT_EQ(ToggledCell("", "CTRL"), "CTRL");
  EXPECT_EQ(ToggledCell("CTRL", "CTRL"), "");
}

TEST(ConfigCells, CaptionListHoldsTheLastFiveDistinctCaptions) {
  std::vector<std::string> list = {"a", "b", "c", "d", "e"};
  UpdateCaptionList(list, "c");
  EXPECT_EQ(list, (std::vector<std::string>{"a", "b", "c", "d", "e"}));
  UpdateCaptionList(list, "C");  // case counts
  EXPECT_EQ(list, (std::vector<std::string>{"C", "a", "b", "c", "d"}));
  // A fresh profile's five equal defaults are one entry, and the next caption joins it.
  const std::string def(kDefaultClientCaption);
  list = {def, def, "  ", def, ""};
  EXPECT_EQ(DistinctCaptions(list), std::vector<std::string>{def});
  UpdateCaptionList(list, "My Shard - ");
  EXPECT_EQ(list, (std::vector<std::string>{"My Shard - ", def}));
  UpdateCaptionList(list, " ");  // a blank field adds nothing
  EXPECT_EQ(list, (std::vector<std::string>{"My Shard - ", def}));
}

// Which captions windows are looked for by: none for the default or a blank, never one that other
// programs' captions share.
TEST(ClientCaption, OnlyACaptionThatNamesAProgramIsLookedFor) {
  const std::pair<const char*, ClientCaptionUse> cases[] = {
      {"", ClientCaptionUse::None},
      {" \t ", ClientCaptionUse::None},
      {"Ultima Online - ", ClientCaptionUse::None},
      {"U", ClientCaptionUse::TooShort},
      {"UO", ClientCaptionUse::TooShort},
      {"U - O - !", ClientCaptionUse::TooShort},
      {"Ultima", ClientCaptionUse::ClassicStart},
      {"Ultima Online", ClientCaptionUse::ClassicStart},
      {"Ultima Online -", ClientCaptionUse::ClassicStart},
      {"UOAssist", ClientCaptionUse::Assistant},
      {"UOAssist - x", ClientCaptionUse::Assistant},
      {"Ultima Online - My Shard", ClientCaptionUse::Searched},
      {"UOR4", ClientCaptionUse::Searched},
      {"My Shard - ", ClientCaptionUse::Searched},
      {"\xC4\xD6\xDC\xDF", ClientCaptionUse::Searched},  // letters of the Western code page
  };
  for (const auto& [caption, use] : cases) {
    EXPECT_EQ(JudgeClientCaption(caption), use) << '"' << caption << '"';
    EXPECT_EQ(SearchesByCaption(caption), use == ClientCaptionUse::Searched) << caption;
  }
}

// One opening: the working copy into the grids, edits as a player makes them, and back.
TEST(ConfigPages, FillEditApply) {
  ConfigData data;
  TSpell& s19 = data.Spells[19];
  s19.Name = "Fire Field";
  s19.Reagent = {0, 0, 0, 0, 0, 2, 2, 1};  // the catalogue's 2 shows as the code
  s19.Key = 0x70;
  s19.Alt = true;
  s19.Ctrl = false;
  s19.Shift = false;
  data.UserSlot[0][0] = 19;
  data.UserSlot[3][7] = 70;  // from a damaged profile

  ConfigPageTexts p = FillPageTexts(data);
  ASSERT_EQ(p.SpellLabels.size(), 64u);
  EXPECT_EQ(p.SpellLabels[19], "3-4 Fire Field");
  EXPECT_EQ(p.Reagent[20],
            (std::vector<std::string>{"3-4 Fire Field", "", "", "", "", "", "NS", "SA", "SS"}));
  EXPECT_EQ(p.Macro[20], (std::vector<std::string>{"3-4 Fire Field", "ALT", "", "", "F1"}));
  EXPECT_EQ(p.Info[20], (std::vector<std::string>{"3-4", "Fire Field", "", "10"}));
  EXPECT_EQ(p.Spellbook[0], (std::vector<std::string>{"Spell", "Spellbook", "DANGER"}));
  EXPECT_EQ(p.Spellbook[1], (std::vector<std::string>{"1-1 ", "BOOK", ""}));
  EXPECT_EQ(p.User[1], (std::vector<std::string>{"A-1", "3-4 Fire Field"}));
  EXPECT_EQ(p.User[32], (std::vector<std::string>{"D-8", ""}));

  p.Info[20][1] = "Wall\tof\nFire";  // a pasted tab or line break
  p.Info[20][3] = "abc";
  p.Casting[1][1] = "In\rFlam";
  p.Macro[20][2] = ToggledCell(p.Macro[20][2], "CTRL");
  p.Macro[20][4] = "\xC4";
  p.Spellbook[1][2] = ToggledCell(p.Spellbook[1][2], "DANGER");
  p.Reagent[20][7] = "";             // SA unmarked
  p.Reagent[20][1] = "BP";           // newly marked
  p.User[10][1] = "3-4 Fire Field";  // B-2
  p.User[11][1] = "x";
  p.User[12][1] = "9-9 typed";
  data.UserSlot[1][2] = 5;
  ApplyPageTexts(p, data);

  EXPECT_EQ(s19.Name, "Wall of Fire");
  EXPECT_EQ(s19.Mana, 10);
  EXPECT_EQ(data.Spells[0].CastText, "In Flam");
  EXPECT_TRUE(s19.Alt && s19.Ctrl && !s19.Shift);
  EXPECT_EQ(s19.Key, 0xFFC4);
  EXPECT_TRUE(data.Spells[0].Danger && data.Spells[0].InSpellBook);
  // The marked NS keeps its 2.
  EXPECT_EQ(s19.Reagent, (ReagentCounts{1, 0, 0, 0, 0, 2, 0, 1}));
  EXPECT_EQ(data.UserSlot[0][0], 19);
  EXPECT_EQ(data.UserSlot[1][1], 19);
  EXPECT_EQ(data.UserSlot[1][2], 0);
  EXPECT_EQ(data.UserSlot[1][3], 0);
  EXPECT_EQ(data.UserSlot[3][7], 0);
  // The labels of this opening keep the old name.
  EXPECT_EQ(p.SpellLabels[19], "3-4 Fire Field");
}

TEST(MacroFile, TheLinesOfTheGameMacroSetup) {
  SpellTable spells;
  spells[0].Name = "X";
  spells[0].Key = 0x41;
  spells[0].Ctrl = true;
  spells[0].Alt = false;
  spells[0].Shift = true;
  spells[1].Key = 0x74;
  spells[1].Ctrl = spells[1].Alt = spells[1].Shift = false;
  spells[2].Key = 0;
  spells[2].Ctrl = spells[2].Alt = spells[2].Shift = false;
  spells[3].Name = "Split\r\nName";
  spells[4].Key = '\n';

  const std::string text = MacroFileText(spells);
  std::vector<std::string> lines;
  for (size_t at = 0; at < text.size();) {
    const size_t end = text.find("\r\n", at);
    ASSERT_NE(end, std::string::npos) << "every line ends with CR LF";
    lines.push_back(text.substr(at, end - at));
    at = end + 2;
  }
  ASSERT_EQ(lines.size(), 195u);
  for (const std::string& line : lines) EXPECT_EQ(line.find_first_of("\r\n"), std::string::npos);
  EXPECT_EQ(lines[0], "A 1 0 1");
  EXPECT_EQ(lines[1], "CastSpell X");
  EXPECT_EQ(lines[2], "########");
  EXPECT_EQ(lines[3], "F5 0 0 0");
  EXPECT_EQ(lines[4], "CastSpell ");
  EXPECT_EQ(lines[6], " 0 0 0");
  EXPECT_EQ(lines[10], "CastSpell Split  Name");
  EXPECT_EQ(lines[189], "1 1 1 1");  // the default key "1" with all three modifiers
  EXPECT_EQ(lines[192], "V 1 1 1");
  EXPECT_EQ(lines[193], "Paste");
  EXPECT_EQ(lines[194], "########");
}

}  // namespace
}  // namespace quillorb

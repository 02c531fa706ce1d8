#include "model/cuo_macros.h"

#include <gtest/gtest.h>

namespace quillorb {
namespace {

using Attributes = std::vector<std::pair<std::string, std::string>>;

XmlElement Action(const std::string& code, const std::string& subcode) {
  return {"action", {{"code", code}, {"subcode", subcode}, {"submenutype", "1"}}, {}, {}};
}

XmlElement Macro(Attributes attributes, std::vector<XmlElement> actions) {
  return {"macro", std::move(attributes), {XmlElement{"actions", {}, std::move(actions), {}}}, {}};
}

// A macro as the client writes it, on key/ctrl/shift (Alt off).
XmlElement Keyed(const std::string& name, const std::string& key, bool ctrl, bool shift,
                 std::vector<XmlElement> actions) {
  return Macro({{"name", name},
                {"key", key},
                {"mousebutton", "0"},
                {"wheelscroll", "False"},
                {"wheelup", "False"},
                {"alt", "False"},
                {"ctrl", ctrl ? "True" : "False"},
                {"shift", shift ? "True" : "False"}},
               std::move(actions));
}

XmlElement Cast(int spell) {
  return Action("15", std::to_string(62 + spell));
}

CuoSpells Spells() {
  CuoSpells spells;
  const char* names[] = {"Clumsy",      "Create Food", "Feeblemind",     "Heal",
                         "Magic Arrow", "Night Sight", "Reactive Armor", "Weaken"};
  for (int i = 0; i < 8; ++i) spells[static_cast<size_t>(i)].name = names[i];
  const auto bind = [&](int i, uint16_t key, const char* text) {
    CuoSpell& s = spells[static_cast<size_t>(i)];
    s.key = key;
    s.keyText = text;
    s.ctrl = s.shift = true;
  };
  bind(0, '1', "1");
  bind(1, '2', "2");
  bind(3, '4', "4");
  bind(4, 0xFFC4, "\xC3\x84");  // a letter outside ASCII: no keycode in the client
  bind(5, '1', "1");            // Clumsy's chord
  bind(6, 0x7C, "F13");
  return spells;
}

TEST(CuoMacros, SdlKeycodesAndChordTexts) {
  const std::pair<uint16_t, std::optional<int32_t>> keys[] = {
      {'A', 97},
      {'Z', 122},
      {'5', 53},
      {',', 44},
      {'`', 96},
      {0x70, 1073741882},
      {0x7B, 1073741893},
      {0x7C, 1073741928},
      {0x87, 1073741939},
      {0, std::nullopt},
      {0x0D, std::nullopt},
      {0xFF, std::nullopt},
      {0xFFC4, std::nullopt},
  };
  for (const auto& [key, code] : keys) EXPECT_EQ(SdlKeycode(key), code) << key;
  EXPECT_EQ(ChordText("5", true, true, true), "Ctrl+Alt+Shift+5");
  EXPECT_EQ(ChordText(" ", false, false, true), "Shift+Space");
}

TEST(CuoMacros, MergeKeepsThePlayersMacrosAndUpdatesItsOwnInPlace) {
  const CuoSpells spells = Spells();
  // The player's macros, one with its attributes in another order and a text action.
  const XmlElement paperdoll =
      Macro({{"key", "112"},
             {"name", "Paperdoll & <me>"},
             {"alt", "true"},
             {"ctrl", "False"},
             {"shift", "False"}},
            {{"action",
              {{"code", "1"}, {"subcode", "0"}, {"submenutype", "2"}, {"text", "hi"}},
              {},
              {}}});
  const XmlElement bigHeal = Keyed("big heal", "52", true, true, {Action("7", "0")});
  // Quillorb's own from before, and one the player has added an action to (the player's now).
  const XmlElement edited =
      Keyed("Heal [Quillorb]", "9", false, false, {Cast(3), Action("23", "0")});
  const XmlElement before{
      "macros",
      {},
      {paperdoll, bigHeal, Keyed("Clumsy [Quillorb]", "57", true, true, {Cast(0)}),
       Keyed("Clumsy [Quillorb]", "49", true, true, {Cast(0)}), edited,
       Keyed("Weaken [Quillorb]", "56", true, true, {Cast(7)}), XmlElement{"note", {}, {}, "x"}},
      {}};

  const CuoMerge kept = MergeCuoMacros(&before, spells, CuoConflictChoice::KeepTheirs);
  ASSERT_EQ(kept.error, "");
  EXPECT_TRUE(kept.changed);
  const std::vector<XmlElement> expected = {
      paperdoll,
      bigHeal,
      Keyed("Clumsy [Quillorb]", "49", true, true, {Cast(0)}),  // where it stood, key 9 -> 1
      edited,
      XmlElement{"note", {}, {}, "x"},
      Keyed("Create Food [Quillorb]", "50", true, true, {Cast(1)}),
      Keyed("Reactive Armor [Quillorb]", "1073741928", true, true, {Cast(6)}),
  };
  EXPECT_EQ(kept.document.children, expected);
  EXPECT_EQ(kept.added, (std::vector<int>{1, 6}));
  EXPECT_EQ(kept.updated, (std::vector<int>{0}));
  EXPECT_EQ(kept.removed, 2);  // Clumsy's second, Weaken without a key
  EXPECT_EQ(kept.others, 3);
  EXPECT_EQ(CuoMergeSummary(kept, spells),
            "Written: 3 macros (2 new, 1 changed).\n"
            "Removed: 2 macros of an earlier write that no spell needs any more.\n"
            "Kept yours, no macro for: Heal (Ctrl+Shift+4 starts your \"big heal\").\n"
            "Not written, ClassicUO has no key for: Magic Arrow (Ctrl+Shift+\xC3\x84).\n"
            "Not written, the same keys as an earlier spell: Night Sight (Ctrl+Shift+1, as "
            "Clumsy).\n"
            "Your own macros: 3, as they were.");

  // Writing again changes nothing.
  const CuoMerge again = MergeCuoMacros(&kept.document, spells, CuoConflictChoice::KeepTheirs);
  EXPECT_FALSE(again.changed);
  EXPECT_EQ(again.unchanged, (std::vector<int>{0, 1, 6}));
  EXPECT_EQ(again.conflicts.size(), 1u);

  // Taking Quillorb's: theirs stays, without its key; Heal gets its macro.
  const CuoMerge taken = MergeCuoMacros(&kept.document, spells, CuoConflictChoice::TakeOurs);
  XmlElement keyless = bigHeal;
  keyless.SetAttribute("key", "0");
  EXPECT_EQ(taken.document.children[1], keyless);
  EXPECT_EQ(taken.document.children.back(), Keyed("Heal [Quillorb]", "52", true, true, {Cast(3)}));
  EXPECT_EQ(CuoConflictQuestion(taken, spells),
            "Ctrl+Shift+4 starts your \"big heal\"; Quillorb wants it for Heal.\n\n"
            "Keep mine: those spells get no macro.\n"
            "Use Quillorb's: your macros stay in the list, without a key.");
  EXPECT_EQ(MergeCuoMacros(&taken.document, spells, CuoConflictChoice::TakeOurs).changed, false);

  // No file and nothing to write: nothing to make either.
  EXPECT_FALSE(MergeCuoMacros(nullptr, CuoSpells{}, CuoConflictChoice::KeepTheirs).changed);
  EXPECT_EQ(MergeCuoMacros(nullptr, spells, CuoConflictChoice::KeepTheirs).document.children.size(),
            4u);
}

TEST(CuoMacros, ListsTheClientCannotLoadAreRefused) {
  const auto refusal = [](XmlElement macro) {
    const XmlElement list{"macros", {}, {std::move(macro)}, {}};
    return MergeCuoMacros(&list, Spells(), CuoConflictChoice::KeepTheirs).error;
  };
  XmlElement noKey = Keyed("a", "1", true, true, {});
  noKey.attributes.erase(noKey.attributes.begin() + 1);
  EXPECT_EQ(refusal(noKey), "The macro \"a\" has no readable \"key\".");
  EXPECT_EQ(refusal(Keyed("a", "0x31", true, true, {})),
            "The macro \"a\" has no readable \"key\".");
  XmlElement badFlag = Keyed("a", "49", true, true, {});
  badFlag.SetAttribute("shift", "yes");
  EXPECT_EQ(refusal(badFlag), "The macro \"a\" has no readable \"shift\".");
  XmlElement noMenu = Keyed("a", " 49 ", true, true, {Cast(1)});
  noMenu.children[0].children[0].attributes.pop_back();
  EXPECT_EQ(refusal(noMenu), "An action of the macro \"a\" has no readable \"submenutype\".");
  const XmlElement other{"profile", {}, {}, {}};
  EXPECT_EQ(MergeCuoMacros(&other, Spells(), CuoConflictChoice::KeepTheirs).error,
            "Its first element is <profile>, where ClassicUO expects <macros>.");
}

TEST(CuoMacros, CharacterFoldersAndTheirOrder) {
  std::vector<CuoCharacter> list = {{"acc", "Shard", "Zed"},
                                    {"acc", "Atlantic", "0x1A2b_bob"},
                                    {"Acc", "Atlantic", "0x_Bob"},
                                    {"acc", "Atlantic", "Anna"},
                                    {"b", "x", "0xZZ_Bob"}};
  OrderCuoCharacters(list, "Bob");
  std::vector<std::string> lines;
  for (const CuoCharacter& c : list) lines.push_back(c.Line());
  EXPECT_EQ(lines, (std::vector<std::string>{"acc / Atlantic / bob", "Acc / Atlantic / 0x_Bob",
                                             "acc / Atlantic / Anna", "acc / Shard / Zed",
                                             "b / x / 0xZZ_Bob"}));
}

}  // namespace
}  // namespace quillorb

#include "model/ini_file.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <string>

namespace quillorb {
namespace {

using namespace std::string_literals;

TEST(IniRead, NamesMatchWithoutCaseAndBlanks) {
  IniDocument ini("[section1]\r\nname1=val1\r\n  [ Mixed Case ]  \r\n  Key Two  =  two  \r\n");
  EXPECT_EQ(ini.ReadString("SECTION1", "NaMe1", "d"), "val1");
  EXPECT_EQ(ini.ReadString(" section1 ", " name1\t", "d"), "val1");
  EXPECT_EQ(ini.ReadString("mixed case", "key two", "d"), "two");
  EXPECT_TRUE(ini.Has("Mixed Case", "KEY TWO"));
  EXPECT_FALSE(ini.Has("section1", "name2"));
}

TEST(IniRead, LineShapes) {
  IniDocument ini(
      "orphan=before any section\r\n"
      "[s]\r\n"
      "a = x = y\r\n"       // the key ends at the first '='
      "[not a section\r\n"  // no ']': an ordinary line of [s]
      "noequals\r\n"        // no '=': not a key
      "; b=comment\r\n"     // a key named "; b" as far as the platform is concerned
      "[t]]x]\r\n"          // the name ends at the last ']'
      "c=\x1a\t 3 \x0b\r\n");
  EXPECT_EQ(ini.ReadString("s", "a", "d"), "x = y");
  EXPECT_EQ(ini.ReadString("s", "noequals", "d"), "d");
  EXPECT_EQ(ini.ReadString("s", "; b", "d"), "comment");
  EXPECT_EQ(ini.ReadString("t]]x", "c", "d"), "3");
  EXPECT_EQ(ini.ReadString("", "orphan", "d"), "d");
}

TEST(IniRead, FirstOfDuplicatesWins) {
  IniDocument ini("[a]\r\nk=1\r\nk=2\r\n[b]\r\nonly=b\r\n[A]\r\nk=3\r\nlater=4\r\n");
  EXPECT_EQ(ini.ReadString("a", "k", "d"), "1");
  // Only the first section of a name is searched.
  EXPECT_EQ(ini.ReadString("a", "later", "d"), "d");
}

TEST(IniRead, QuotesAndLength) {
  IniDocument ini(
      "[q]\r\n"
      "dq=\"Ultima Online - \"\r\n"
      "sq='  x  '\r\n"
      "one=\"\r\n"
      "pair=\"\"\r\n"
      "mixed=\"a'\r\n"
      "inner=a\"b\"\r\n"
      "twice=\"\"x\"\"\r\n"
      "long=" +
      std::string(1500, 'v') + "\r\nlongq=\"" + std::string(1100, 'w') + "\"\r\n");
  EXPECT_EQ(ini.ReadString("q", "dq", ""), "Ultima Online - ");
  EXPECT_EQ(ini.ReadString("q", "sq", ""), "  x  ");
  EXPECT_EQ(ini.ReadString("q", "one", ""), "\"");
  EXPECT_EQ(ini.ReadString("q", "pair", "d"), "");
  EXPECT_EQ(ini.ReadString("q", "mixed", ""), "\"a'");
  EXPECT_EQ(ini.ReadString("q", "inner", ""), "a\"b\"");
  EXPECT_EQ(ini.ReadString("q", "twice", ""), "\"x\"");
  EXPECT_EQ(ini.ReadString("q", "long", ""), std::string(1023, 'v'));
  EXPECT_EQ(ini.ReadString("q", "longq", ""), std::string(1023, 'w'));
}

TEST(IniRead, DefaultsComeBackAsGiven) {
  // GetPrivateProfileStringA strips trailing blanks from the default; the caption default
  // "Ultima Online - " relies on keeping its final blank, so ours does not.
  IniDocument empty;
  EXPECT_EQ(empty.ReadString("Config", "Caption", "Ultima Online - "), "Ultima Online - ");
  IniDocument ini("[Config]\r\n");
  EXPECT_EQ(ini.ReadString("Config", "Caption", "Ultima Online - "), "Ultima Online - ");
  EXPECT_EQ(ini.ReadString("Other", "Caption", " x "), " x ");
}

TEST(IniRead, NumbersAndFlags) {
  IniDocument ini(
      "[n]\r\nhex=0x70\r\nneg=-12\r\nword=abc\r\ntail=12abc\r\nempty=\r\nquoted=\"5\"\r\n"
      "two=2\r\nzero=0\r\n");
  EXPECT_EQ(ini.ReadInt("n", "hex", -1), 112);
  EXPECT_EQ(ini.ReadInt("n", "neg", -1), -12);
  EXPECT_EQ(ini.ReadInt("n", "word", 7), 7);
  // GetPrivateProfileIntA would give 12 here; a value that is not wholly a number gives the
  // default.
  EXPECT_EQ(ini.ReadInt("n", "tail", 7), 7);
  EXPECT_EQ(ini.ReadInt("n", "empty", 7), 7);
  EXPECT_EQ(ini.ReadInt("n", "missing", 7), 7);
  EXPECT_EQ(ini.ReadInt("n", "quoted", 7), 5);
  EXPECT_TRUE(ini.ReadBool("n", "two", false));
  EXPECT_FALSE(ini.ReadBool("n", "zero", true));
  EXPECT_TRUE(ini.ReadBool("n", "missing", true));
  EXPECT_FALSE(ini.ReadBool("n", "word", false));
}

TEST(IniRead, AnyLineEndsAndDamagedFiles) {
  for (const std::string& eol : {"\r"s, "\n"s, "\r\n"s, "\n\r"s, "\r\r\n\n"s}) {
    IniDocument ini("[a]" + eol + "k=1" + eol + eol + "[b]" + eol + "k=2");
    EXPECT_EQ(ini.ReadString("a", "k", "d"), "1");
    EXPECT_EQ(ini.ReadString("b", "k", "d"), "2");
    EXPECT_EQ(ini.Serialize(), "[a]" + eol + "k=1" + eol + eol + "[b]" + eol + "k=2");
  }
  IniDocument mixed("[a]\rk=1\nj=2\r\n[b\n]\nx=3");
  EXPECT_EQ(mixed.ReadString("a", "j", "d"), "2");
  EXPECT_EQ(mixed.ReadString("a", "x", "d"), "3");

  // NUL bytes are ordinary bytes of a line; a value ends at the first one, as the platform's
  // C string would.
  const std::string binary = "\0\0\r\n[s]\r\nk=ab\0cd\r\n\xff\xfe=\0\r\n[t]\r\nz=1"s;
  IniDocument bin(binary);
  EXPECT_EQ(bin.ReadString("s", "k", "d"), "ab");
  EXPECT_EQ(bin.ReadString("t", "z", "d"), "1");
  EXPECT_EQ(bin.Serialize(), binary);

  IniDocument truncated("[sec");
  EXPECT_EQ(truncated.ReadString("sec", "k", "d"), "d");
  truncated.WriteString("sec", "k", "v");
  EXPECT_EQ(truncated.Serialize(), "[sec\r\n[sec]\r\nk=v\r\n");
}

TEST(IniWrite, NewFileMatchesKeyByKeyWrites) {
  // Wine's kernel32 profile test builds this file with WritePrivateProfileStringA.
  IniDocument ini;
  ini.WriteString("App1", "key1", "string1");
  ini.WriteString("App1", "key2", "string2");
  ini.WriteString("App1", "key3", "string3");
  ini.WriteString("App2", "key4", "string4");
  ini.WriteString("App3", "key5", "string5");
  ini.WriteString("app1", "KEY4", "");
  EXPECT_EQ(ini.Serialize(),
            "[App1]\r\nkey1=string1\r\nkey2=string2\r\nkey3=string3\r\nKEY4=\r\n"
            "[App2]\r\nkey4=string4\r\n[App3]\r\nkey5=string5\r\n");
}

TEST(IniWrite, EditsInPlaceAndKeepsOtherBytes) {
  const std::string before =
      "; profile\r\n"
      "[Config]\n"
      "  Caption = \"old\"  ; note\n"
      "Top = 5\n"
      "; trailing comment\n"
      "\n"
      "\t\n"
      "[Other]\r\n"
      "x=1\r\n"
      "[CONFIG]\r\n"
      "Left=9";
  IniDocument ini(before);
  ini.WriteString("config", "top", "5");  // unchanged: the line keeps its bytes
  EXPECT_EQ(ini.Serialize(), before);

  ini.WriteString("config", "CAPTION", "\"Ultima Online - \"");
  ini.WriteString("Config", "Left", "3");  // goes into the first [Config], not [CONFIG]
  ini.WriteString("Config", "Inscription", "0");
  ini.WriteString("New", "k", " v ");
  EXPECT_EQ(ini.Serialize(),
            "; profile\r\n"
            "[Config]\n"
            "Caption=\"Ultima Online - \"\n"
            "Top = 5\n"
            "; trailing comment\n"
            "Left=3\r\n"
            "Inscription=0\r\n"
            "\n"
            "\t\n"
            "[Other]\r\n"
            "x=1\r\n"
            "[CONFIG]\r\n"
            "Left=9\r\n"
            "[New]\r\n"
            "k= v \r\n");
  IniDocument reread(ini.Serialize());
  EXPECT_EQ(reread.ReadString("Config", "Caption", ""), "Ultima Online - ");
  EXPECT_EQ(reread.ReadInt("Config", "Left", -1), 3);
  EXPECT_EQ(reread.ReadString("New", "k", ""), "v");
}

TEST(IniWrite, NewKeyInLastSectionWithoutLineEnd) {
  IniDocument ini("[a]\r\nk=1");
  ini.WriteString("a", "j", "2");
  EXPECT_EQ(ini.Serialize(), "[a]\r\nk=1\r\nj=2\r\n");
  IniDocument header("[a]");
  header.WriteString("a", "j", "2");
  EXPECT_EQ(header.Serialize(), "[a]\r\nj=2\r\n");
}

TEST(IniWrite, ValuesStayOnOneLine) {
  IniDocument ini;
  ini.WriteString("s", "k", "a\r\n[Config]\r\nTop=1");
  ini.WriteString("s", "z", "x\0y"s);
  EXPECT_EQ(ini.Serialize(), "[s]\r\nk=a  [Config]  Top=1\r\nz=x\r\n");
  EXPECT_FALSE(IniDocument(ini.Serialize()).Has("Config", "Top"));
}

// The save order of a full profile: 11 sections, 588 keys.
void WriteProfile(IniDocument& ini, int variant) {
  auto num = [](int n) { return std::to_string(n); };
  for (int r = 0; r < 8; ++r) {
    ini.WriteString("Reagent", "Reagent" + num(r), num(r * 10 + variant));
    ini.WriteString("BankReagent", "BankReagent" + num(r), num(r * 100 + variant));
    ini.WriteString("ReagentCost", "ReagentCost" + num(r), "6.5");
    ini.WriteString("ReagentUsed", "ReagentUsed" + num(r), num(variant));
  }
  ini.WriteString("Config", "AdjustRegsInBackpack", "30");
  for (int p = 0; p < 4; ++p) {
    for (int s = 0; s < 8; ++s) ini.WriteString("UserSpell", "Spell" + num(p * 10 + s), num(s));
  }
  for (const char* key : {"AlwaysOnTop", "EnableSpellCasting", "Inscription", "Top", "Left"}) {
    ini.WriteString("Config", key, num(variant));
  }
  ini.WriteString("Config", "Caption", "\"Ultima Online - \"");
  for (int k = 0; k < 5; ++k)
    ini.WriteString("Config", "Captions" + num(k), "\"Ultima Online - \"");
  for (int i = 0; i < 64; ++i) {
    ini.WriteString("Cast", "Spell" + num(i), "\"In Vas Mani\"");
    ini.WriteString("SpellBook", "Spell" + num(i), "1");
    ini.WriteString("DangerSpell", "DangerSpell" + num(i), num(variant & 1));
    ini.WriteString("SpellCount", "SpellCount" + num(i), num(i * variant));
  }
  for (int i = 0; i < 64; ++i) {
    ini.WriteString("Macro", "ALT" + num(i), "0");
    ini.WriteString("Macro", "CTRL" + num(i), "1");
    ini.WriteString("Macro", "SHIFT" + num(i), num(variant & 1));
    ini.WriteString("Macro", "KEY" + num(i), num(112 + i % 12));
  }
}

// Saving into the file a save wrote gives the same bytes as writing the values into a new file.
// (Speed is measured by bench/profile_bench, not here.)
TEST(IniWrite, FullProfileRewrittenInPlaceMatchesAFreshWrite) {
  IniDocument fresh;
  WriteProfile(fresh, 1);
  const std::string file = fresh.Serialize();
  ASSERT_EQ(IniDocument(file).Serialize(), file);
  IniDocument ini(file);
  WriteProfile(ini, 2);
  IniDocument direct;
  WriteProfile(direct, 2);
  EXPECT_EQ(ini.Serialize(), direct.Serialize());
}

TEST(IniRead, HugeFile) {
  std::string big;
  for (int i = 0; i < 200000; ++i) big += "[s" + std::to_string(i % 1000) + "]\nkey=value\n";
  big += "[last]\r\nk=" + std::string(3'000'000, 'x');
  IniDocument ini(big);
  EXPECT_EQ(ini.ReadString("S999", "KEY", "d"), "value");
  EXPECT_EQ(ini.ReadString("last", "k", "d").size(), IniDocument::kMaxValueLength);
  EXPECT_EQ(ini.Serialize().size(), big.size());
}

}  // namespace
}  // namespace quillorb

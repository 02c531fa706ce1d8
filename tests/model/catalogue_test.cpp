#include "model/catalogue.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <random>
#include <set>
#include <sstream>
#include <tuple>

namespace quillorb {
namespace {

namespace fs = std::filesystem;

// "S<n>\t...\t<n>": a spell line whose name and mana tell which line it came from.
std::string SpellLine(int n) {
  return "S" + std::to_string(n) + "\tR\t0\t0\t0\t65\t1\t0\t0\t0\t0\t0\t0\t0\t" + std::to_string(n);
}

std::string Lines(int first, int last, const std::string& eol) {
  std::string text;
  for (int n = first; n <= last; ++n) text += SpellLine(n) + eol;
  return text;
}

std::string ReadBytes(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream out;
  out << in.rdbuf();
  return out.str();
}

TEST(ParseCatalogue, FirstLineIsSkippedByPosition) {
  SpellTable spells;
  // A spell line in place of the header is lost; the rest shift by one.
  ParseCatalogue(Lines(0, 29, "\r\n"), spells);
  EXPECT_EQ(spells[0].Name, "S1");
  EXPECT_EQ(spells[28].Name, "S29");
  EXPECT_EQ(spells[28].Mana, 29);
  EXPECT_EQ(spells[29].Name, "");  // a 30-line file leaves spells 29..63 as they were
  EXPECT_EQ(spells[29].Mana, 10);
  EXPECT_EQ(spells[63].Key, 49);

  SpellTable onlyHeader;
  ParseCatalogue("Spell\tRune\r\n", onlyHeader);
  EXPECT_EQ(CatalogueText(onlyHeader), CatalogueText(SpellTable{}));

  SpellTable seventy;
  ParseCatalogue("header\n" + Lines(1, 70, "\n"), seventy);
  EXPECT_EQ(seventy[63].Name, "S64");
}

TEST(ParseCatalogue, AcceptsCrLfCrAndLfLineEnds) {
  const std::string body = SpellLine(1) + "\r" + SpellLine(2) + "\n" + SpellLine(3) + "\r\n" +
                           "\n" + SpellLine(5) + "\r\r" + SpellLine(7);
  for (const std::string& eol : {std::string("\r"), std::string("\n"), std::string("\r\n")}) {
    SpellTable spells;
    ParseCatalogue("h" + eol + body, spells);
    EXPECT_EQ(spells[0].Name, "S1");
    EXPECT_EQ(spells[1].Name, "S2");
    EXPECT_EQ(spells[2].Name, "S3");
    EXPECT_EQ(spells[3].Name, "");  // an empty line is a spell line too
    EXPECT_EQ(spells[3].Key, 0);
    EXPECT_EQ(spells[4].Name, "S5");
    EXPECT_EQ(spells[6].Name, "S7");  // last line without an end
    EXPECT_EQ(spells[6].Mana, 7);
    EXPECT_EQ(spells[7].Mana, 10);
  }
}

TEST(CatalogueText, HeaderAndSixtyFourCrLfLinesThatReadBack) {
  SpellTable spells;
  spells[5].Name = "Fire\tField";
  spells[5].Rune = "In Flam\r\nGrav";
  spells[5].Key = 0x74;
  spells[5].Mana = 11;
  spells[63].Reagent[7] = -3;
  const std::string text = CatalogueText(spells);
  const std::string header =
      "Spell\tRune\tALT\tCTRL\tSHIFT\tKEY\tBP\tBM\tGL\tGS\tMR\tNS\tSA\tSS\tmana\r\n";
  EXPECT_EQ(text.substr(0, header.size()), header);
  size_t lines = 0;
  for (size_t pos = 0; (pos = text.find("\r\n", pos)) != std::string::npos; pos += 2) ++lines;
  EXPECT_EQ(lines, 65u);
  EXPECT_EQ(text.find('\n'), text.find("\r\n") + 1);
  EXPECT_EQ(text.substr(text.size() - 2), "\r\n");

  SpellTable back;
  ParseCatalogue(text, back);
  EXPECT_EQ(back[5].Name, "Fire Field");  // the columns after a blanked tab stay in place
  EXPECT_EQ(back[5].Rune, "In Flam  Grav");
  EXPECT_EQ(back[5].Key, 0x74);
  EXPECT_EQ(back[5].Mana, 11);
  EXPECT_EQ(back[6].ToLine(), spells[6].ToLine());
  EXPECT_EQ(back[63].Reagent[7], -3);
  EXPECT_EQ(CatalogueText(back), text);
}

class CatalogueFile : public ::testing::Test {
 protected:
  void SetUp() override {
    // Other runs of this program may share the temporary folder.
    dir_ = fs::temp_directory_path() /
           ("quillorb_catalogue_" + std::to_string(std::random_device{}()) + "_" +
            ::testing::UnitTest::GetInstance()->current_test_info()->name());
    fs::remove_all(dir_);
    fs::create_directories(dir_);
  }
  void TearDown() override { fs::remove_all(dir_); }
  fs::path dir_;
};

TEST_F(CatalogueFile, ReadReportsMissingFileAndWriteReadsBack) {
  SpellTable spells;
  spells[0].Name = "kept";
  const Path path = Path::FromUtf8((dir_ / "spells.txt").string());
  EXPECT_EQ(ReadCatalogue(path, spells), CatalogueRead::Missing);
  EXPECT_EQ(spells[0].Name, "kept");

  spells[9].Name = "Cunning";
  ASSERT_TRUE(WriteCatalogue(path, spells));
  EXPECT_EQ(ReadBytes(dir_ / "spells.txt"), CatalogueText(spells));
  SpellTable back;
  EXPECT_EQ(ReadCatalogue(path, back), CatalogueRead::Ok);
  EXPECT_EQ(back[9].Name, "Cunning");
}

TEST_F(CatalogueFile, FailedWriteReportsWhyAndLeavesTheTargetAlone) {
  SpellTable spells;
  const fs::path folder = dir_ / "spells.txt";
  fs::create_directories(folder);
  std::ofstream(folder / "inside.txt", std::ios::binary) << "old";
  Utf8 error;
  EXPECT_FALSE(WriteCatalogue(Path::FromUtf8(folder.string()), spells, &error));
  EXPECT_FALSE(error.empty());
  EXPECT_EQ(ReadBytes(folder / "inside.txt"), "old");

  EXPECT_FALSE(WriteCatalogue(Path::FromUtf8((dir_ / "missing" / "spells.txt").string()), spells));
  EXPECT_FALSE(fs::exists(dir_ / "missing"));
  EXPECT_EQ(std::distance(fs::directory_iterator(dir_), fs::directory_iterator()), 1);
}

TEST(ShippedCatalogue, SixtyFourDistinctSpellsThatRoundTrip) {
  const fs::path path = fs::path(QUILLORB_DATA_DIR) / "spells.txt";
  const std::string bytes = ReadBytes(path);
  ASSERT_FALSE(bytes.empty()) << path;
  SpellTable spells;
  ASSERT_EQ(ReadCatalogue(Path::FromUtf8(path.string()), spells), CatalogueRead::Ok);
  EXPECT_EQ(CatalogueText(spells), bytes);

  const int mana[8] = {4, 6, 9, 11, 14, 20, 40, 50};
  std::set<std::string> names;
  std::set<std::tuple<bool, bool, bool, int>> keys;
  for (int i = 0; i < kSpellCount; ++i) {
    const TSpell& s = spells[static_cast<size_t>(i)];
    names.insert(s.Name);
    keys.insert({s.Alt, s.Ctrl, s.Shift, s.Key});
    EXPECT_FALSE(s.Name.empty()) << i;
    EXPECT_FALSE(s.Rune.empty()) << s.Name;
    EXPECT_EQ(s.Mana, mana[i / 8]) << s.Name;
    EXPECT_LE(s.Key, 255) << s.Name;
    EXPECT_TRUE(std::any_of(s.Reagent.begin(), s.Reagent.end(), [](int32_t r) { return r > 0; }))
        << s.Name << " needs no reagent";
  }
  EXPECT_EQ(names.size(), 64u);
  EXPECT_EQ(keys.size(), 64u);
  EXPECT_EQ(spells[1].Name, "Create Food");
  EXPECT_EQ(spells[1].Rune, "In Mani Ylem");
}

}  // namespace
}  // namespace quillorb

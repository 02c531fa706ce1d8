#include "model/catalogue.h"

#include "model/file_io.h"

namespace quillorb {
namespace {

constexpr std::string_view kHeader =
    "Spell\tRune\tALT\tCTRL\tSHIFT\tKEY\tBP\tBM\tGL\tGS\tMR\tNS\tSA\tSS\tmana";

}  // namespace

void ParseCatalogue(std::string_view text, SpellTable& spells) {
  size_t pos = 0;
  // Line 1 is the header, whatever it holds; line n + 2 is spell n. Scanning stops after the
  // last spell line, so a huge tail costs nothing.
  for (int lineNo = 0; lineNo <= kSpellCount && pos < text.size(); ++lineNo) {
    const size_t end = text.find_first_of("\r\n", pos);
    const std::string_view line =
        text.substr(pos, end == std::string_view::npos ? std::string_view::npos : end - pos);
    if (lineNo > 0) spells[static_cast<size_t>(lineNo - 1)].FromLine(std::string(line));
    if (end == std::string_view::npos) break;
    pos = end + 1;
    if (text[end] == '\r' && pos < text.size() && text[pos] == '\n') ++pos;
  }
}

std::string CatalogueText(const SpellTable& spells) {
  std::string text(kHeader);
  text += "\r\n";
  for (const TSpell& spell : spells) {
    text += spell.ToLine();
    text += "\r\n";
  }
  return text;
}

CatalogueRead ReadCatalogue(const Path& path, SpellTable& spells, Utf8* error) {
  std::string bytes;
  switch (ReadWholeFile(path, bytes, error)) {
    case ReadStatus::Missing:
      return CatalogueRead::Missing;
    case ReadStatus::Failed:
      return CatalogueRead::Unreadable;
    case ReadStatus::Ok:
      break;
  }
  ParseCatalogue(bytes, spells);
  return CatalogueRead::Ok;
}

bool WriteCatalogue(const Path& path, const SpellTable& spells, Utf8* error) {
  return ReplaceFileContents(path, CatalogueText(spells), error);
}

}  // namespace quillorb

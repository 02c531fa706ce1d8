// Reads arbitrary bytes as a catalogue, writes it back and reads that again: the second read must
// give the same catalogue fields, and every written line must keep its fifteen columns.
#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "model/catalogue.h"

namespace {

bool SameCatalogueFields(const quillorb::TSpell& a, const quillorb::TSpell& b) {
  return a.Name == b.Name && a.Rune == b.Rune && a.Alt == b.Alt && a.Ctrl == b.Ctrl &&
         a.Shift == b.Shift && a.Key == b.Key && a.Reagent == b.Reagent && a.Mana == b.Mana;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string_view input(reinterpret_cast<const char*>(data), size);
  quillorb::SpellTable first;
  quillorb::ParseCatalogue(input, first);

  const std::string text = quillorb::CatalogueText(first);
  size_t lines = 0;
  for (size_t start = 0; start < text.size();) {
    const size_t end = text.find("\r\n", start);
    if (end == std::string::npos) abort();  // the last line lacks its CR LF
    const std::string_view line(text.data() + start, end - start);
    if (line.find_first_of("\r\n") != std::string_view::npos) abort();
    if (std::count(line.begin(), line.end(), '\t') != 14) abort();
    ++lines;
    start = end + 2;
  }
  if (lines != 65) abort();

  quillorb::SpellTable second;
  quillorb::ParseCatalogue(text, second);
  for (size_t i = 0; i < first.size(); ++i) {
    if (!SameCatalogueFields(first[i], second[i])) abort();
  }
  return 0;
}

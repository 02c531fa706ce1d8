// The spell catalogue "spells.txt": a header line and one tab-separated line per spell.
#pragma once

#include <string>
#include <string_view>

#include "model/path.h"
#include "model/spell.h"

namespace quillorb {

// Fills spell i from line i + 2 of `text` (the first line is the header, skipped by position);
// CR, LF and CR LF end a line; spells without a line keep their values; lines past 65 are ignored.
void ParseCatalogue(std::string_view text, SpellTable& spells);

// The header and the 64 spell lines, each ended by CR LF.
std::string CatalogueText(const SpellTable& spells);

enum class CatalogueRead { Ok, Missing, Unreadable };
// `error` (if given) names the file and the system's reason when it is Unreadable.
CatalogueRead ReadCatalogue(const Path& path, SpellTable& spells, Utf8* error = nullptr);
bool WriteCatalogue(const Path& path, const SpellTable& spells, Utf8* error = nullptr);

}  // namespace quillorb

// Characters as the profile files of the program's folder know them: the entry that stands for the
// default profile, names cut out of file names, and the names a new character may not have.
#pragma once

#include <cstddef>
#include <optional>
#include <string>

#include "model/path.h"

namespace quillorb {

inline constexpr char kDefaultCharacterEntry[] = "(default)";
inline constexpr char kCharacterFileMask[] = "quillorb - *.ini";

// "quillorb - Name.ini" gives "Name" (the prefix and the extension in any letter case); any other
// file name, and one that leaves an empty name, gives nullopt.
std::optional<Path> CharacterFromFileName(const Path& fileName);

// The rules below look at a new character's name as part of its file name (the path form, where no
// byte of a letter outside ASCII looks like '\\' or '|', as trail bytes of a double-byte code page
// do).
// One of . \ / : , ; * ? " < > | (the full stop, since it would end the name before ".ini").
bool HasForbiddenCharacter(const Path& name);

// A blank (space, tab, line end, ...) at the start or the end: users.ini gives its value back
// trimmed, so such a character would come back as another one at the next start.
bool HasOuterBlank(const Path& name);

// Quotes around the whole name (the same quote mark first and last): users.ini gives its value
// back without them, so `'Al'` would come back as another character, `Al`.
bool HasEnclosingQuotes(const Path& name);

// The longest name (in UTF-8 bytes, the path form) whose files can be written: the temporary file
// of its profile, "quillorb - <name>.ini.<process>-<count>.tmp", must stay within the 255 UTF-16
// units of a Windows file name and the 255 bytes of most other file systems (as under Wine).
inline constexpr size_t kMaxCharacterNameBytes = 255 - 11 - 4 - 26;
bool IsTooLongForFileName(const Path& name);

}  // namespace quillorb

// The open-source game client's side of its macros: where it keeps them (the characters under
// Data\Profiles of its folder), which folder a running client was started from, and whether a
// character is logged in to one (the client writes its whole macro list back when that character
// logs out, over anything written meanwhile).
#pragma once

#include <string>
#include <vector>

#include "model/cuo_macros.h"
#include "model/path.h"

namespace quillorb {

// The folder of a running client's program (with its trailing separator): the program of a visible
// window of the client's class whose caption holds "ClassicUO". Empty when none runs.
Path RunningClassicUoFolder();

// Whether a top-level window's caption begins with "<character> - ClassicUO", as the client's
// does while that character is logged in.
bool IsLoggedInToClassicUo(const Utf8& character);

// The character folders under Data\Profiles of `folder` (ending with its separator), in no set
// order.
std::vector<CuoCharacter> ListCuoCharacters(const Path& folder);
// Whether `folder` (ending with its separator) has Data\Profiles.
bool HasCuoProfiles(const Path& folder);
// The character's macros.xml, or its backup with `fileName` kCuoMacrosBackupName.
Path CuoMacrosPath(const Path& folder, const CuoCharacter& character,
                   const char* fileName = kCuoMacrosFileName);

}  // namespace quillorb

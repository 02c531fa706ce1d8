// The open-source game client's side of its macros: where it keeps them (the characters under
// Data\Profiles of its folder), which folder a running client was started from, and whether a
// character is logged in to one (the client writes its whole macro list back when that character
// logs out, over anything written meanwhile).
#pragma once

#include <string>
#include <vector>

#include "model/cuo_macros.h"

namespace quillorb {

// The folder of a running client's program (UTF-8, with its trailing separator): the program of a
// visible window of the client's class whose caption holds "ClassicUO". Empty when none runs.
std::string RunningClassicUoFolder();

// Whether a top-level window's caption begins with "<character> - ClassicUO" (`character` in
// UTF-8), as the client's does while that character is logged in.
bool IsLoggedInToClassicUo(const std::string& character);

// `folder` (UTF-8) with a trailing separator; empty stays empty.
std::string WithSeparator(std::string folder);
// The character folders under Data\Profiles of `folder` (UTF-8, ending with its separator), in no
// set order.
std::vector<CuoCharacter> ListCuoCharacters(const std::string& folder);
// Whether `folder` (ending with its separator) has Data\Profiles.
bool HasCuoProfiles(const std::string& folder);
// The character's macros.xml, or its backup with `fileName` kCuoMacrosBackupName.
std::string CuoMacrosPath(const std::string& folder, const CuoCharacter& character,
                          const char* fileName = kCuoMacrosFileName);

}  // namespace quillorb

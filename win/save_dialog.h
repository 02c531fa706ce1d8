// The standard Save As dialog. The common dialogs' library is loaded the first time the dialog is
// asked for, not at start: importing it would load a good part of the shell with it into every
// start of the program.
#pragma once

#include <windows.h>

#include <optional>
#include <string>

#include "model/path.h"

namespace win {

// Asks for a file to save to, starting with `defaultName`; `filter` is a list of description and
// pattern pairs, each ending in a NUL, the whole list in another (all ANSI). The path chosen;
// nullopt when the player cancels (or the dialog cannot be shown).
std::optional<quillorb::Path> AskSaveFileName(HWND owner, const std::string& defaultName,
                                              const char* filter, const char* defaultExtension);

}  // namespace win

// The system's folder picker (the common item dialog choosing folders). Its libraries are loaded
// the first time it is asked for, not at start.
#pragma once

#include <windows.h>

#include <optional>
#include <string>

#include "model/path.h"

namespace win {

// Asks for a folder, starting in `initial` (empty or missing: the dialog's own choice). The folder
// chosen; nullopt when the player cancels or the dialog cannot be shown.
std::optional<quillorb::Path> AskFolder(HWND owner, const quillorb::Utf8& title,
                                        const quillorb::Path& initial);

}  // namespace win

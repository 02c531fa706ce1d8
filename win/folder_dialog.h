// The system's folder picker (the common item dialog choosing folders). Its libraries are loaded
// the first time it is asked for, not at start.
#pragma once

#include <windows.h>

#include <optional>
#include <string>

namespace win {

// Asks for a folder, starting in `initial` (UTF-8; empty or missing: the dialog's own choice).
// The folder chosen, in UTF-8; nullopt when the player cancels or the dialog cannot be shown.
std::optional<std::string> AskFolder(HWND owner, const std::string& title,
                                     const std::string& initial);

}  // namespace win

// The boxes that tell the player of a failed file operation: what could not be done and what
// follows from it, then the file's name and the system's reason as the file layer gave them
// (model/file_io.h), through the wide calls.
#pragma once

#include <string>

#include "model/path.h"

namespace win {

// The standard error box: `what` (ANSI), a blank line, then `error` (the file and the system's
// reason).
void ShowFileError(const std::string& what, const quillorb::Utf8& error) noexcept;

}  // namespace win

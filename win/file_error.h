// The boxes that tell the player of a failed file operation: what could not be done and what
// follows from it, then the file's name and the system's reason as the file layer gave them
// (model/file_io.h). Every text that carries a file name reaches the screen through FileText.
#pragma once

#include <string>

namespace win {

// Text that carries file names as the program holds them (UTF-8, as the file layer takes paths),
// for a window. Character names held in the ANSI code page are put in with AnsiToUtf8.
std::wstring FileText(const std::string& text);

// The standard error box: `what`, a blank line, then `error` (the file and the system's reason).
void ShowFileError(const std::string& what, const std::string& error) noexcept;

}  // namespace win

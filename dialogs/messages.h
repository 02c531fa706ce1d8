// What the program says when a file operation fails, in one place for the main window and the
// dialogs. Each text says what could not be done and what follows from it; the box adds the
// file's name and the system's reason (win/file_error.h).
#pragma once

#include <string>

#include "model/path.h"

namespace quillorb {

// What a failed file operation means; the box adds the file's name and the system's reason.
inline constexpr char kUsersReadError[] =
    "users.ini cannot be read: the default character is used, and users.ini is left as it is.";
inline constexpr char kCatalogueReadError[] =
    "The spell catalogue cannot be read: the spells keep the values they have, and the file is "
    "not overwritten.";
inline constexpr char kProfileReadError[] =
    "The profile cannot be read: its defaults are used for this run, and the file is not "
    "overwritten.";
inline constexpr char kUsersWriteError[] =
    "users.ini cannot be saved: the next start may open another character.";
inline constexpr char kProfileWriteError[] = "The profile cannot be saved: its changes are lost.";
inline constexpr char kCatalogueWriteError[] =
    "The spell catalogue cannot be saved: the changes to the spells are lost.";
inline constexpr char kCatalogueKeptError[] =
    "The spell catalogue cannot be saved. Quillorb keeps the spells as they are and saves them "
    "again at the next change of character or at the end.";
inline constexpr char kCopySourceError[] =
    "The current profile cannot be saved, so there is nothing to copy for the new character.";
inline constexpr char kMacroFileError[] =
    "The macro file cannot be written; an old one is left as it was.";
// Followed by the folder.
inline constexpr char kClassicUoFolderNotKept[] =
    "The profile cannot keep this folder of ClassicUO, as its name has letters that this "
    "system's code page cannot store. Choose it again next time (while ClassicUO runs, its folder "
    "is offered by itself):\n";

// The headline over the system's reason when the analysis cannot be exported to `path`.
inline Utf8 ExportFileError(const Path& path) {
  return "The figures could not be written to " + path.Text() + ".";
}
// The headline over the system's reason when the profile of a new character `name` cannot be
// made.
inline Utf8 NewCharacterFileError(const Utf8& name) {
  return name + " cannot be created.";
}

// "%s" stands for the character's name.
inline constexpr wchar_t kRefusedNameError[] =
    L"The character name \"%s\" in users.ini cannot be part of a file name. The default "
    L"profile is used, and users.ini keeps the name until a character is chosen in the "
    L"character list.";

// The pattern with its "%s" replaced by `argument`.
inline std::wstring FormatWithFile(const wchar_t* pattern, const std::wstring& argument) {
  std::wstring text(pattern);
  size_t at = text.find(L"%s");
  if (at != std::wstring::npos) text.replace(at, 2, argument);
  return text;
}

}  // namespace quillorb

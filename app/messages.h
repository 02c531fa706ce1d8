// The few texts the program shows in message boxes.
#pragma once

#include <string>

namespace quillorb {

// "%s" stands for the file's full path.
inline constexpr wchar_t kFileOpenError[] = L"ﾌｧｲﾙ %s は開けません";
inline constexpr wchar_t kFileCreateError[] = L"ﾌｧｲﾙ %s を作成できません";
inline constexpr wchar_t kFileWriteError[] = L"Unable to write to %s";
inline constexpr wchar_t kRefusedNameError[] =
    L"The character name \"%s\" in users.ini cannot be part of a file name. The default "
    L"profile is used and users.ini is left as it is.";

// The pattern with its "%s" replaced by `argument`.
inline std::wstring FormatWithFile(const wchar_t* pattern, const std::wstring& argument) {
  std::wstring text(pattern);
  size_t at = text.find(L"%s");
  if (at != std::wstring::npos) text.replace(at, 2, argument);
  return text;
}

}  // namespace quillorb

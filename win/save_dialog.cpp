#include "win/save_dialog.h"

#include <commdlg.h>

#include <cstring>

#include "win/app.h"
#include "win/library.h"

namespace win {

std::optional<quillorb::Path> AskSaveFileName(HWND owner, const std::string& defaultName,
                                              const char* filter, const char* defaultExtension) {
  using GetSaveFileNameFn = BOOL(WINAPI*)(OPENFILENAMEW*);
  static const auto getSaveFileName =
      LibraryFunction<GetSaveFileNameFn>("comdlg32.dll", "GetSaveFileNameW");
  if (!getSaveFileName) return std::nullopt;
  // The wide dialog: the folder chosen may have letters the ANSI code page lacks.
  std::string filterList;
  for (const char* part = filter; *part; part += std::strlen(part) + 1) {
    filterList.append(part, std::strlen(part) + 1);
  }
  const std::wstring wideFilter = AnsiToWide(filterList + '\0');
  const std::wstring extension = AnsiToWide(defaultExtension);
  std::wstring file(32768, L'\0');
  const std::wstring name = AnsiToWide(defaultName);
  name.copy(file.data(), file.size() - 1);
  OPENFILENAMEW ofn{};
  ofn.lStructSize = sizeof ofn;
  ofn.hwndOwner = owner;
  ofn.lpstrFilter = wideFilter.c_str();
  ofn.lpstrFile = file.data();
  ofn.nMaxFile = static_cast<DWORD>(file.size());
  ofn.lpstrDefExt = extension.c_str();
  ofn.Flags = OFN_OVERWRITEPROMPT | OFN_PATHMUSTEXIST | OFN_HIDEREADONLY | OFN_NOCHANGEDIR;
  if (!getSaveFileName(&ofn)) return std::nullopt;
  file.resize(file.find(L'\0'));
  return PathFromWide(file);
}

}  // namespace win

#include "win/save_dialog.h"

#include <commdlg.h>

#include "win/library.h"

namespace win {

std::optional<std::string> AskSaveFileName(HWND owner, const std::string& defaultName,
                                           const char* filter, const char* defaultExtension) {
  using GetSaveFileNameFn = BOOL(WINAPI*)(OPENFILENAMEA*);
  static const auto getSaveFileName =
      LibraryFunction<GetSaveFileNameFn>("comdlg32.dll", "GetSaveFileNameA");
  if (!getSaveFileName) return std::nullopt;
  char file[MAX_PATH] = {};
  defaultName.copy(file, sizeof file - 1);
  OPENFILENAMEA ofn{};
  ofn.lStructSize = sizeof ofn;
  ofn.hwndOwner = owner;
  ofn.lpstrFilter = filter;
  ofn.lpstrFile = file;
  ofn.nMaxFile = sizeof file;
  ofn.lpstrDefExt = defaultExtension;
  ofn.Flags = OFN_OVERWRITEPROMPT | OFN_PATHMUSTEXIST | OFN_HIDEREADONLY | OFN_NOCHANGEDIR;
  if (!getSaveFileName(&ofn)) return std::nullopt;
  return std::string(file);
}

}  // namespace win

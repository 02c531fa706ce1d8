#include "win/save_dialog.h"

#include <commdlg.h>

namespace win {

std::optional<std::string> AskSaveFileName(HWND owner, const std::string& defaultName,
                                           const char* filter, const char* defaultExtension) {
  using GetSaveFileNameFn = BOOL(WINAPI*)(OPENFILENAMEA*);
  static const auto getSaveFileName = [] {
    HMODULE library = LoadLibraryA("comdlg32.dll");  // kept for the rest of the run
    return library ? reinterpret_cast<GetSaveFileNameFn>(
                         reinterpret_cast<void*>(GetProcAddress(library, "GetSaveFileNameA")))
                   : nullptr;
  }();
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

#include "win/file_error.h"

#include "win/app.h"

namespace win {

std::wstring FileText(const std::string& text) {
  return Utf8ToWide(text);
}

void ShowFileError(const std::string& what, const std::string& error) noexcept {
  try {
    ShowErrorBox(FileText(what + "\n\n" + error));
  } catch (...) {
    ShowErrorBox(what);
  }
}

}  // namespace win

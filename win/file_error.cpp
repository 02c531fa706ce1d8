#include "win/file_error.h"

#include "win/app.h"

namespace win {

void ShowFileError(const std::string& what, const quillorb::Utf8& error) noexcept {
  try {
    ShowErrorBox(AnsiToWide(what) + L"\n\n" + Wide(error));
  } catch (...) {
    ShowErrorBox(what);
  }
}

}  // namespace win

#include "win/app.h"

#include "win/dialog.h"
#include "win/dialog_util.h"

namespace win {
namespace {
std::string& TitleStorage() {
  static std::string title;
  return title;
}
}  // namespace

void SetApplicationTitle(const std::string& title) {
  TitleStorage() = title;
}
const std::string& ApplicationTitle() {
  return TitleStorage();
}

void ShowErrorBox(const std::string& ansiText) noexcept {
  try {
    ShowErrorBox(AnsiToWide(ansiText));
  } catch (...) {
    // No memory for the conversion: the bytes as they are.
    MessageBoxA(GetActiveWindow(), ansiText.c_str(), "Error", MB_OK | MB_ICONSTOP | MB_TASKMODAL);
  }
}

void ShowErrorBox(const quillorb::Utf8& text) noexcept {
  try {
    ShowErrorBox(Wide(text));
  } catch (...) {
    ShowMessage(GetActiveWindow(), L"Out of memory", MB_OK | MB_ICONSTOP, L"Error");
  }
}

void ShowErrorBox(const std::wstring& text) noexcept {
  try {
    ShowMessage(GetActiveWindow(), text.c_str(), MB_OK | MB_ICONSTOP,
                AnsiToWide(ApplicationTitle()).c_str());
  } catch (...) {
    ShowMessage(GetActiveWindow(), text.c_str(), MB_OK | MB_ICONSTOP, L"Error");
  }
}

int RunMessageLoop(HWND dialogWindow) {
  // The wide calls: a character typed is carried in UTF-16 to the window, which takes it in its
  // own form (through the ANSI calls, one outside the code page would arrive as "?").
  MSG msg{};
  while (GetMessageW(&msg, nullptr, 0, 0) > 0) {
    if (dialogWindow && IsWindow(dialogWindow) && DialogMessage(dialogWindow, msg)) continue;
    TranslateMessage(&msg);
    DispatchMessageW(&msg);
  }
  return static_cast<int>(msg.wParam);
}

quillorb::Path ProgramDirectory() {
  std::wstring path(MAX_PATH, L'\0');
  for (;;) {
    const DWORD n = GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size()));
    if (n == 0) return {};
    if (n < path.size()) {
      path.resize(n);
      break;
    }
    path.resize(path.size() * 2);
  }
  const size_t slash = path.find_last_of(L"\\/");
  if (slash == std::wstring::npos) return {};
  return PathFromWide(std::wstring_view(path).substr(0, slash + 1));
}

char UserDecimalSeparator() {
  char buf[8] = {};
  int n = GetLocaleInfoA(LOCALE_USER_DEFAULT, LOCALE_SDECIMAL, buf, sizeof buf);
  return n == 2 ? buf[0] : '.';
}

std::wstring AnsiToWide(const std::string& text) {
  if (text.empty()) return std::wstring();
  int n = MultiByteToWideChar(CP_ACP, 0, text.data(), static_cast<int>(text.size()), nullptr, 0);
  std::wstring wide(static_cast<size_t>(n), L'\0');
  MultiByteToWideChar(CP_ACP, 0, text.data(), static_cast<int>(text.size()), wide.data(), n);
  return wide;
}

std::optional<std::string> WideToAnsi(std::wstring_view text) {
  if (text.empty()) return std::string();
  const int size = static_cast<int>(text.size());
  BOOL lossy = FALSE;
  const int n = WideCharToMultiByte(CP_ACP, WC_NO_BEST_FIT_CHARS, text.data(), size, nullptr, 0,
                                    nullptr, &lossy);
  if (n <= 0 || lossy) return std::nullopt;
  std::string ansi(static_cast<size_t>(n), '\0');
  WideCharToMultiByte(CP_ACP, WC_NO_BEST_FIT_CHARS, text.data(), size, ansi.data(), n, nullptr,
                      &lossy);
  // Some code pages map a character without saying so: the way back must give the same text.
  if (lossy || AnsiToWide(ansi) != text) return std::nullopt;
  return ansi;
}

quillorb::Utf8 AnsiToUtf8(const std::string& text) {
  return Utf8FromWide(AnsiToWide(text));
}

}  // namespace win

#include "win/app.h"

#include "win/dialog.h"

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
    MessageBoxA(GetActiveWindow(), ansiText.c_str(), "Error", MB_OK | MB_ICONSTOP | MB_TASKMODAL);
  }
}

void ShowErrorBox(const std::wstring& text) noexcept {
  try {
    std::wstring caption = AnsiToWide(ApplicationTitle());
    MessageBoxW(GetActiveWindow(), text.c_str(), caption.c_str(), MB_OK | MB_ICONSTOP);
  } catch (...) {
    MessageBoxW(GetActiveWindow(), text.c_str(), L"Error", MB_OK | MB_ICONSTOP);
  }
}

int RunMessageLoop(HWND dialogWindow) {
  MSG msg{};
  while (GetMessageA(&msg, nullptr, 0, 0) > 0) {
    if (dialogWindow && IsWindow(dialogWindow) && DialogMessage(dialogWindow, msg)) continue;
    TranslateMessage(&msg);
    DispatchMessageA(&msg);
  }
  return static_cast<int>(msg.wParam);
}

std::string ProgramDirectory() {
  std::string path(MAX_PATH, '\0');
  for (;;) {
    DWORD n = GetModuleFileNameA(nullptr, path.data(), static_cast<DWORD>(path.size()));
    if (n == 0) return std::string();
    if (n < path.size()) {
      path.resize(n);
      break;
    }
    path.resize(path.size() * 2);
  }
  size_t slash = path.find_last_of("\\/");
  return slash == std::string::npos ? std::string() : path.substr(0, slash + 1);
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

}  // namespace win

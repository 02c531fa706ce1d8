#include "client/classicuo_profiles.h"

#include <windows.h>

#include "client/game_window.h"
#include "win/handles.h"
#include "win/utf8.h"

namespace quillorb {
namespace {

constexpr char kProfiles[] = "Data\\Profiles\\";

// The names of the sub-folders of `folder` (ending with its separator). A name UTF-8 cannot tell
// exactly (a lone surrogate) is left out: no path made from it would reach it.
std::vector<std::string> FoldersIn(const Path& folder) {
  std::vector<std::string> names;
  WIN32_FIND_DATAW found{};
  const win::FindHandle find(FindFirstFileW(win::Wide(folder + "*").c_str(), &found));
  if (!find) return names;
  do {
    const std::wstring name = found.cFileName;
    if (!(found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) || name == L"." || name == L"..") {
      continue;
    }
    std::string utf8 = win::WideToUtf8(name);
    if (win::Utf8ToWide(utf8) == name) names.push_back(std::move(utf8));
  } while (FindNextFileW(find.get(), &found));
  return names;
}

std::wstring CaptionOf(HWND window) {
  wchar_t caption[512];
  caption[0] = L'\0';
  GetWindowTextW(window, caption, static_cast<int>(std::size(caption)));
  return caption;
}

}  // namespace

Path RunningClassicUoFolder() {
  const std::wstring part = win::Utf8ToWide(kOpenClientCaptionPart);
  for (HWND w = FindWindowExA(nullptr, nullptr, kOpenClientWindowClass, nullptr); w;
       w = FindWindowExA(nullptr, w, kOpenClientWindowClass, nullptr)) {
    if (!IsWindowVisible(w) || CaptionOf(w).find(part) == std::wstring::npos) continue;
    DWORD id = 0;
    GetWindowThreadProcessId(w, &id);
    const win::Handle process(OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, id));
    std::wstring image(32768, L'\0');
    auto size = static_cast<DWORD>(image.size());
    if (!process || !QueryFullProcessImageNameW(process.get(), 0, image.data(), &size)) continue;
    image.resize(size);
    const size_t slash = image.find_last_of(L"\\/");
    if (slash != std::wstring::npos) return win::PathFromWide(image.substr(0, slash + 1));
  }
  return {};
}

bool IsLoggedInToClassicUo(const Utf8& character) {
  struct Search {
    std::wstring prefix;
    bool found = false;
  } search{win::Wide(character) + L" - " + win::Utf8ToWide(kOpenClientCaptionPart)};
  EnumWindows(
      [](HWND w, LPARAM context) -> BOOL {
        auto& s = *reinterpret_cast<Search*>(context);
        s.found = CaptionOf(w).rfind(s.prefix, 0) == 0;
        return s.found ? FALSE : TRUE;
      },
      reinterpret_cast<LPARAM>(&search));
  return search.found;
}

std::vector<CuoCharacter> ListCuoCharacters(const Path& folder) {
  std::vector<CuoCharacter> characters;
  const Path profiles = folder + kProfiles;
  for (const std::string& account : FoldersIn(profiles)) {
    const Path accountFolder = profiles + Path::FromUtf8(account + "\\");
    for (const std::string& server : FoldersIn(accountFolder)) {
      for (const std::string& name : FoldersIn(accountFolder + Path::FromUtf8(server + "\\"))) {
        characters.push_back({account, server, name});
      }
    }
  }
  return characters;
}

bool HasCuoProfiles(const Path& folder) {
  const DWORD attributes = GetFileAttributesW(win::Wide(folder + kProfiles).c_str());
  return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
}

Path CuoMacrosPath(const Path& folder, const CuoCharacter& character, const char* fileName) {
  // The client's folder names are UTF-8 (model/cuo_macros.h).
  return folder + kProfiles +
         Path::FromUtf8(character.account + "\\" + character.server + "\\" + character.folder +
                        "\\" + fileName);
}

}  // namespace quillorb

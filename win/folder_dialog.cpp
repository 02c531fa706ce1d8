#include "win/folder_dialog.h"

#include <shobjidl.h>

#include "win/handles.h"
#include "win/library.h"
#include "win/utf8.h"

namespace win {
namespace {

// CLSID_FileOpenDialog, without the import library that defines it.
constexpr CLSID kFileOpenDialog = {
    0xdc1c5a9c, 0xe88a, 0x4dde, {0xa5, 0xa1, 0x60, 0xf8, 0x2a, 0x20, 0xae, 0xf7}};

// COM for this thread while it lives (if this thread had it already, in whichever model, that
// stays as it was).
class ComScope {
 public:
  ComScope() {
    using InitFn = HRESULT(WINAPI*)(void*, DWORD);
    static const auto init = LibraryFunction<InitFn>("ole32.dll", "CoInitializeEx");
    initialized_ = init && SUCCEEDED(init(nullptr, COINIT_APARTMENTTHREADED));
  }
  ComScope(const ComScope&) = delete;
  ComScope& operator=(const ComScope&) = delete;
  ~ComScope() {
    using UninitFn = void(WINAPI*)();
    static const auto uninit = LibraryFunction<UninitFn>("ole32.dll", "CoUninitialize");
    if (initialized_ && uninit) uninit();
  }

 private:
  bool initialized_ = false;
};

}  // namespace

std::optional<quillorb::Path> AskFolder(HWND owner, const quillorb::Utf8& title,
                                        const quillorb::Path& initial) {
  using CreateFn = HRESULT(WINAPI*)(REFCLSID, IUnknown*, DWORD, REFIID, void**);
  using ItemFn = HRESULT(WINAPI*)(PCWSTR, IBindCtx*, REFIID, void**);
  using FreeFn = void(WINAPI*)(void*);
  static const auto create = LibraryFunction<CreateFn>("ole32.dll", "CoCreateInstance");
  static const auto freeMemory = LibraryFunction<FreeFn>("ole32.dll", "CoTaskMemFree");
  static const auto itemFromPath =
      LibraryFunction<ItemFn>("shell32.dll", "SHCreateItemFromParsingName");
  if (!create || !freeMemory) return std::nullopt;
  const ComScope com;
  void* object = nullptr;
  if (FAILED(create(kFileOpenDialog, nullptr, CLSCTX_INPROC_SERVER, __uuidof(IFileOpenDialog),
                    &object))) {
    return std::nullopt;
  }
  const ComPtr<IFileOpenDialog> dialog(static_cast<IFileOpenDialog*>(object));
  FILEOPENDIALOGOPTIONS options = 0;
  dialog.get()->GetOptions(&options);
  dialog.get()->SetOptions(options | FOS_PICKFOLDERS | FOS_FORCEFILESYSTEM | FOS_PATHMUSTEXIST);
  dialog.get()->SetTitle(Wide(title).c_str());
  void* start = nullptr;
  if (itemFromPath && !initial.empty() &&
      SUCCEEDED(itemFromPath(Wide(initial).c_str(), nullptr, __uuidof(IShellItem), &start))) {
    const ComPtr<IShellItem> folder(static_cast<IShellItem*>(start));
    dialog.get()->SetFolder(folder.get());
  }
  if (FAILED(dialog.get()->Show(owner))) return std::nullopt;
  IShellItem* chosen = nullptr;
  if (FAILED(dialog.get()->GetResult(&chosen))) return std::nullopt;
  const ComPtr<IShellItem> result(chosen);
  PWSTR path = nullptr;
  if (FAILED(result.get()->GetDisplayName(SIGDN_FILESYSPATH, &path))) return std::nullopt;
  quillorb::Path folder = PathFromWide(path);
  freeMemory(path);
  return folder;
}

}  // namespace win

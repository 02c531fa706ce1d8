// One Quillorb per program folder: two strips over the same files would overwrite each other's
// profile at shutdown. The folder is told by a named mutex made from its identity on its volume,
// the same through every path that reaches it (a link, a junction, a subst drive, a share).
#pragma once

#include <windows.h>

#include <string>

#include "win/handles.h"

namespace quillorb {

// The key of a folder: its volume's serial number and its file index, as the folder opened gives
// them. When it cannot be opened, its full path in long form (no 8.3 short names) with a trailing
// separator, '/' read as '\\', upper-cased the way the file system compares names.
std::wstring FolderKey(const std::wstring& folder);

// The mutex name for a key: "Local\\Quillorb-" and a 64-bit FNV-1a hash of the key in hex (a
// path may be longer than a mutex name and holds backslashes, which a name may not).
std::wstring FolderMutexName(const std::wstring& key);

// The folder of this program file, as given by the system.
std::wstring ProgramFolderW();

class FolderInstance {
 public:
  // Creates the folder's mutex, or opens it when another Quillorb of the folder holds it.
  explicit FolderInstance(const std::wstring& key);
  // No other Quillorb of this folder was running.
  bool First() const { return first_; }

 private:
  win::Handle mutex_;
  bool first_ = true;
};

// Finds the main window of the Quillorb that runs from the folder of `key` (waiting up to
// `timeoutMs` for it to appear), restores it when minimized and brings it to the front.
bool BringRunningStripToFront(const std::wstring& key, DWORD timeoutMs);

}  // namespace quillorb

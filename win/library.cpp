#include "win/library.h"

#include <commctrl.h>

namespace win {

bool InitCommonControlClasses(DWORD classes) {
  using InitFn = BOOL(WINAPI*)(const INITCOMMONCONTROLSEX*);
  static const auto init = LibraryFunction<InitFn>("comctl32.dll", "InitCommonControlsEx");
  const INITCOMMONCONTROLSEX icc{sizeof icc, classes};
  return init && init(&icc);
}

}  // namespace win

// Functions of system libraries that are loaded when first asked for, not at every start (each
// imported library is mapped and initialised before the window shows).
#pragma once

#include <windows.h>

namespace win {

// The function `name` of `library`, loaded on the first call and kept for the rest of the run;
// nullptr when either is missing. `Fn` is the function's pointer type.
template <typename Fn>
Fn LibraryFunction(const char* library, const char* name) {
  HMODULE module = LoadLibraryA(library);
  FARPROC proc = module ? GetProcAddress(module, name) : nullptr;
  return reinterpret_cast<Fn>(reinterpret_cast<void (*)()>(proc));
}

// InitCommonControlsEx for `classes` (ICC_...), with the common controls library loaded now.
bool InitCommonControlClasses(DWORD classes);

}  // namespace win

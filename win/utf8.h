// UTF-8, the form in which the program carries paths and text it may not hold in the ANSI code
// page (quillorb::Path, quillorb::Utf8), to and from the system's UTF-16. Header-only: the file
// layer (built into the model library on Windows) and the window layer both use it.
#pragma once

#include <windows.h>

#include <string>
#include <string_view>

#include "model/path.h"

namespace win {

inline std::wstring Utf8ToWide(std::string_view text) {
  if (text.empty()) return std::wstring();
  const int n =
      MultiByteToWideChar(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), nullptr, 0);
  std::wstring wide(static_cast<size_t>(n), L'\0');
  MultiByteToWideChar(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), wide.data(), n);
  return wide;
}

inline std::string WideToUtf8(std::wstring_view text) {
  if (text.empty()) return std::string();
  const int n = WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), nullptr,
                                    0, nullptr, nullptr);
  std::string utf8(static_cast<size_t>(n), '\0');
  WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), utf8.data(), n,
                      nullptr, nullptr);
  return utf8;
}

// A path or a text for the wide calls, and back.
inline std::wstring Wide(const quillorb::Path& path) {
  return Utf8ToWide(path.Utf8());
}
inline std::wstring Wide(const quillorb::Utf8& text) {
  return Utf8ToWide(text.str());
}
inline quillorb::Path PathFromWide(std::wstring_view path) {
  return quillorb::Path::FromUtf8(WideToUtf8(path));
}
inline quillorb::Utf8 Utf8FromWide(std::wstring_view text) {
  return quillorb::Utf8(WideToUtf8(text));
}

}  // namespace win

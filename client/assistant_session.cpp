#include "client/assistant_session.h"

#include <cstring>

#include "client/window_link.h"

namespace quillorb {

bool IsAssistantWindow(HWND window) {
  if (!window || !IsWindow(window) || IsWindowVisible(window) != TRUE) return false;
  char caption[256] = {};
  GetWindowTextA(window, caption, 254);
  const size_t length = std::strlen(kAssistantCaptionPrefix);
  return std::strncmp(caption, kAssistantCaptionPrefix, length) == 0;
}

HWND LiveAssistantWindow(HWND& remembered) {
  if (!remembered) return nullptr;
  if (IsAssistantWindow(remembered)) return remembered;
  HWND now = FindWindowByCaptionPrefix(kAssistantCaptionPrefix);
  if (now) remembered = now;
  return now;
}

}  // namespace quillorb

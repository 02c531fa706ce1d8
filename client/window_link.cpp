#include "client/window_link.h"

#include <cstring>

namespace quillorb {
namespace {
constexpr UINT kActivationWaitMs = 250;

// `window` is the foreground window (or owns it) and its thread has handled the activation: its
// active window is the foreground one and its keyboard focus lies inside it.
bool InFront(HWND window) {
  HWND foreground = GetForegroundWindow();
  if (!IsOrOwnedBy(foreground, window)) return false;
  GUITHREADINFO info{};
  info.cbSize = sizeof info;
  const DWORD thread = GetWindowThreadProcessId(window, nullptr);
  if (!thread || !GetGUIThreadInfo(thread, &info)) return false;
  return info.hwndActive == foreground && info.hwndFocus &&
         (info.hwndFocus == foreground || IsChild(foreground, info.hwndFocus));
}

}  // namespace

bool IsOrOwnedBy(HWND window, HWND topLevel) {
  return window && topLevel &&
         (window == topLevel || GetAncestor(window, GA_ROOTOWNER) == topLevel);
}

bool BringToFront(HWND window, DWORD timeoutMs) {
  if (!window || !IsWindowVisible(window)) return false;
  if (InFront(window)) return true;
  SetForegroundWindow(window);
  const DWORD start = GetTickCount();
  for (;;) {
    // A message round trip lets the window's thread take the activation (under Wine it does so
    // only when it handles its messages); messages sent to us meanwhile are handled too.
    DWORD_PTR ignored = 0;
    SendMessageTimeoutA(window, WM_NULL, 0, 0, SMTO_ABORTIFHUNG, 50, &ignored);
    if (InFront(window)) return true;
    const DWORD waited = GetTickCount() - start;
    if (waited >= timeoutMs || !IsWindow(window)) return false;
    // Wait for anything sent to this thread, or a few milliseconds.
    MsgWaitForMultipleObjects(0, nullptr, FALSE, 5, QS_SENDMESSAGE);
  }
}

HWND FindWindowByCaptionPrefix(std::string prefix) {
  char caption[256];
  for (HWND w = GetWindow(GetDesktopWindow(), GW_CHILD); w; w = GetWindow(w, GW_HWNDNEXT)) {
    if (IsWindowVisible(w) != 1) continue;
    caption[0] = '\0';
    GetWindowTextA(w, caption, 254);
    const size_t length = std::strlen(caption);
    // As many leading characters as the prefix has (the whole caption when it is shorter).
    const size_t compared = length < prefix.size() ? length : prefix.size();
    if (compared == prefix.size() && std::memcmp(caption, prefix.data(), compared) == 0) return w;
  }
  return nullptr;
}

bool SendKeyCombination(HWND window, uint16_t key, bool alt, bool ctrl, bool shift) {
  if (!IsWindowVisible(window)) return false;
  if (GetForegroundWindow() != window) {
    SetForegroundWindow(window);
    // Under Wine another program's window takes the activation only when its thread handles it;
    // keys sent before that would still go to Quillorb. A message round trip to the window (at
    // most kActivationWaitMs for a client that does not answer) lets the activation land first.
    // On Windows the switch is immediate and the round trip costs next to nothing.
    DWORD_PTR ignored = 0;
    SendMessageTimeoutA(window, WM_NULL, 0, 0, SMTO_ABORTIFHUNG, kActivationWaitMs, &ignored);
  }
  const auto scanCtrl = static_cast<BYTE>(MapVirtualKeyA(VK_CONTROL, 0));
  const auto scanShift = static_cast<BYTE>(MapVirtualKeyA(VK_SHIFT, 0));
  const auto scanAlt = static_cast<BYTE>(MapVirtualKeyA(VK_MENU, 0));
  const auto scanKey = static_cast<BYTE>(MapVirtualKeyA(key, 0));
  const auto vk = static_cast<BYTE>(key & 0xFF);
  if (alt) keybd_event(VK_MENU, scanAlt, 0, 0);
  if (ctrl) keybd_event(VK_CONTROL, scanCtrl, 0, 0);
  if (shift) keybd_event(VK_SHIFT, scanShift, 0, 0);
  keybd_event(vk, scanKey, 0, 0);
  keybd_event(vk, scanKey, KEYEVENTF_KEYUP, 0);
  if (shift) keybd_event(VK_SHIFT, scanShift, KEYEVENTF_KEYUP, 0);
  if (ctrl) keybd_event(VK_CONTROL, scanCtrl, KEYEVENTF_KEYUP, 0);
  if (alt) keybd_event(VK_MENU, scanAlt, KEYEVENTF_KEYUP, 0);
  return true;
}

std::optional<KeyChord> LayoutChord(HWND client, const KeyChord& stored) {
  const uint16_t c = stored.key;
  const bool letterOrDigit = (c >= '0' && c <= '9') || (c >= 'A' && c <= 'Z');
  // The characters after the blank that are no virtual key of their own; from 0x70 on the codes
  // are F-keys.
  if (c <= ' ' || c >= VK_F1 || letterOrDigit) return stored;
  const DWORD thread = client ? GetWindowThreadProcessId(client, nullptr) : 0;
  HKL layout = GetKeyboardLayout(thread);
  if (!layout) layout = GetKeyboardLayout(0);
  const SHORT typed = VkKeyScanExW(static_cast<WCHAR>(c), layout);
  const auto needs = static_cast<unsigned>(HIBYTE(typed));
  // -1: no key types it; a state beyond Shift, Ctrl and Alt (a kana toggle) cannot be pressed.
  if (typed == -1 || (needs & ~7u) != 0) return std::nullopt;
  return KeyChord{LOBYTE(typed), stored.alt || (needs & 4) != 0, stored.ctrl || (needs & 2) != 0,
                  stored.shift || (needs & 1) != 0};
}

}  // namespace quillorb

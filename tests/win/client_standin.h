// Test helpers around the stand-in game client (tests/standins/fake_client.cpp): start it, read
// its message log, and watch the keyboard at the input level with a low-level hook.
#pragma once

#include <windows.h>

#include <cstdio>
#include <algorithm>
#include <sstream>
#include <string>
#include <vector>

#include "tests/harness/harness.h"
#include "tests/win/standin_process.h"

namespace standin {

struct ClientMessage {
  unsigned order = 0;
  std::string name;
  UINT msg = 0;
  WPARAM wp = 0;
  LPARAM lp = 0;
};

inline bool IsKeyMessage(UINT msg) {
  return msg == WM_KEYDOWN || msg == WM_KEYUP || msg == WM_SYSKEYDOWN || msg == WM_SYSKEYUP;
}

// The marker key that tests press after an operation to know that everything before it arrived.
// Each press carries a number of its own in the scan code field: a wait must end at the marker it
// pressed, not at an earlier one still on its way (the marker a hook waited for reaches the
// client too, and a client that is slow to read its input may have handled that one only).
inline constexpr BYTE kMarkerKey = VK_F24;

// Presses the marker and returns its number (1 to 127).
inline BYTE PressMarker() {
  static BYTE last = 0;
  last = static_cast<BYTE>(last % 127 + 1);
  keybd_event(kMarkerKey, last, 0, 0);
  keybd_event(kMarkerKey, last, KEYEVENTF_KEYUP, 0);
  return last;
}

class FakeClient : public StandinProcess {
 public:
  // `show`: visible, minimized or hidden; the outer rectangle in screen coordinates; the window's
  // caption and class; the program (fake_client.exe, or its copy shard_client.exe); the extra
  // windows of its process (fake_client.cpp: "own", "assistant", "uoassist", joined by commas).
  explicit FakeClient(const std::string& show = "visible", RECT rect = {100, 50, 740, 530},
                      const std::string& caption = "Ultima Online",
                      const std::string& className = "Ultima Online",
                      const std::string& program = "fake_client.exe",
                      const std::string& extras = "")
      : StandinProcess(program, "client.log",
                       Arguments(show, rect, caption, className) + " \"" + extras + "\"") {}

  // The API windows' log lines ("own REGISTER ..."), READY lines left out.
  std::vector<std::string> ApiLog() const {
    std::vector<std::string> lines;
    for (const auto& [order, line] : LogLines()) {
      if (line.starts_with("API ") && line.find(" READY ") == std::string::npos) {
        lines.push_back(line.substr(4, line.find_last_not_of('\r') - 3));
      }
    }
    return lines;
  }
  // The API window of `kind` ("own" or "assistant"), or nullptr.
  HWND ApiWindow(const std::string& kind) const {
    for (const auto& [order, line] : LogLines()) {
      unsigned long long handle = 0;
      if (std::sscanf(line.c_str(), ("API " + kind + " READY %llx").c_str(), &handle) == 1) {
        return reinterpret_cast<HWND>(static_cast<ULONG_PTR>(handle));
      }
    }
    return nullptr;
  }

  // Every logged message after the READY line.
  std::vector<ClientMessage> Messages() const {
    std::vector<ClientMessage> all;
    for (const auto& [order, line] : LogLines()) {
      ClientMessage m;
      m.order = order;
      char name[32] = {};
      unsigned msg = 0;
      unsigned long long wp = 0, lp = 0;
      if (std::sscanf(line.c_str(), "%31s %x %llx %llx", name, &msg, &wp, &lp) != 4) continue;
      m.name = name;
      m.msg = msg;
      m.wp = static_cast<WPARAM>(wp);
      m.lp = static_cast<LPARAM>(lp);
      all.push_back(m);
    }
    return all;
  }

  // The keyboard and input-method messages logged since the last Mark().
  std::vector<ClientMessage> InputSinceMark() const {
    std::vector<ClientMessage> input;
    for (const ClientMessage& m : Messages()) {
      if (m.order > mark_ && (IsKeyMessage(m.msg) || m.msg == WM_IME_CHAR)) input.push_back(m);
    }
    return input;
  }
  void Mark() {
    const auto all = Messages();
    mark_ = all.empty() ? 0 : all.back().order;
  }

  // Presses the marker key (the client must be the foreground window) and waits until the key-up
  // of that press has arrived; returns the input messages since the last Mark() up to it, markers
  // left out.
  std::vector<ClientMessage> InputUpToMarker() const {
    const BYTE marker = PressMarker();
    std::vector<ClientMessage> input;
    harness::WaitUntil([&] {
      input = InputSinceMark();
      const auto end = std::find_if(input.begin(), input.end(), [&](const ClientMessage& m) {
        return m.msg == WM_KEYUP && m.wp == kMarkerKey && ((m.lp >> 16) & 0xFF) == marker;
      });
      if (end == input.end()) return false;
      input.erase(end, input.end());
      return true;
    });
    std::erase_if(input,
                  [](const ClientMessage& m) { return m.wp == kMarkerKey && IsKeyMessage(m.msg); });
    return input;
  }

 private:
  static std::string Arguments(const std::string& show, RECT rect, const std::string& caption,
                               const std::string& className) {
    std::ostringstream args;
    args << show << ' ' << rect.left << ' ' << rect.top << ' ' << rect.right - rect.left << ' '
         << rect.bottom - rect.top << " \"" << caption << "\" \"" << className << '"';
    return args.str();
  }

  unsigned mark_ = 0;
};

// One keyboard event as the low-level hook saw it.
struct InputEvent {
  DWORD vk = 0;
  DWORD scan = 0;
  DWORD flags = 0;  // LLKHF_*
};

// The wParams of the keyboard and input-method messages the client logged since its last Mark(),
// once `count` of them have come (fewer when they do not come in time).
inline std::vector<WPARAM> KeysSinceMark(const FakeClient& client, size_t count) {
  const std::vector<ClientMessage> input =
      harness::WaitForValue([&] { return client.InputSinceMark(); },
                            [&](const std::vector<ClientMessage>& k) { return k.size() >= count; });
  std::vector<WPARAM> keys;
  for (const ClientMessage& m : input) keys.push_back(m.wp);
  return keys;
}

// Keyboard events at the input level, recorded on this thread by a WH_KEYBOARD_LL hook; the hook
// runs while this thread handles messages (harness::WaitUntil does).
class KeyboardHook {
 public:
  KeyboardHook() {
    instance_ = this;
    hook_ = SetWindowsHookExA(WH_KEYBOARD_LL, &KeyboardHook::Proc, GetModuleHandleA(nullptr), 0);
  }
  ~KeyboardHook() {
    if (hook_) UnhookWindowsHookEx(hook_);
    instance_ = nullptr;
  }
  bool Installed() const { return hook_ != nullptr; }
  void Clear() { events_.clear(); }
  const std::vector<InputEvent>& Events() const { return events_; }

  // Presses the marker key and waits until the hook has seen the release of that press; returns
  // the events recorded up to it, markers left out.
  std::vector<InputEvent> EventsUpToMarker() {
    const BYTE marker = PressMarker();
    std::vector<InputEvent> before;
    harness::WaitUntil([&] {
      before = events_;
      const auto end = std::find_if(before.begin(), before.end(), [&](const InputEvent& e) {
        return e.vk == kMarkerKey && (e.flags & LLKHF_UP) && e.scan == marker;
      });
      if (end == before.end()) return false;
      before.erase(end, before.end());
      return true;
    });
    std::erase_if(before, [](const InputEvent& e) { return e.vk == kMarkerKey; });
    return before;
  }

 private:
  static LRESULT CALLBACK Proc(int code, WPARAM wp, LPARAM lp) {
    if (code == HC_ACTION && instance_) {
      const auto* k = reinterpret_cast<const KBDLLHOOKSTRUCT*>(lp);
      instance_->events_.push_back({k->vkCode, k->scanCode, k->flags});
    }
    return CallNextHookEx(nullptr, code, wp, lp);
  }
  static inline KeyboardHook* instance_ = nullptr;
  HHOOK hook_ = nullptr;
  std::vector<InputEvent> events_;
};

// The generic code of a left- or right-hand modifier key.
inline DWORD GenericKey(DWORD vk) {
  switch (vk) {
    case VK_LMENU:
    case VK_RMENU:
      return VK_MENU;
    case VK_LCONTROL:
    case VK_RCONTROL:
      return VK_CONTROL;
    case VK_LSHIFT:
    case VK_RSHIFT:
      return VK_SHIFT;
    default:
      return vk;
  }
}

// One row of the key table: what a key combination must produce, in order.
struct ExpectedKey {
  BYTE vk;
  bool up;
  bool extended;
};

inline std::vector<ExpectedKey> ExpectedSequence(BYTE vk, bool alt, bool ctrl, bool shift) {
  std::vector<ExpectedKey> rows;
  if (alt) rows.push_back({VK_MENU, false, false});
  if (ctrl) rows.push_back({VK_CONTROL, false, false});
  if (shift) rows.push_back({VK_SHIFT, false, false});
  rows.push_back({vk, false, false});
  rows.push_back({vk, true, false});
  if (shift) rows.push_back({VK_SHIFT, true, false});
  if (ctrl) rows.push_back({VK_CONTROL, true, false});
  if (alt) rows.push_back({VK_MENU, true, false});
  return rows;
}

}  // namespace standin

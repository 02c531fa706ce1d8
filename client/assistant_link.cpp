#include "client/assistant_link.h"

#include <algorithm>
#include <array>
#include <limits>

namespace quillorb {
namespace {

// Index = code - 1.
constexpr std::array<int, 8> kCountCodeReagent = {1, 0, 2, 3, 4, 5, 7, 6};
constexpr std::array<int, 8> kApiCounterReagent = {1, 0, 2, 3, 4, 5, 6, 7};

int FromTable(const std::array<int, 8>& table, WPARAM code) {
  return code >= 1 && code <= table.size() ? table[code - 1] : -1;
}

// SendMessage that gives up on an assistant that hangs; 0 when it did.
LRESULT SendToAssistant(HWND assistant, UINT msg, WPARAM wp, LPARAM lp, bool& answered) {
  DWORD_PTR result = 0;
  answered = SendMessageTimeoutA(assistant, msg, wp, lp, SMTO_ABORTIFHUNG, kAssistantSendTimeoutMs,
                                 &result) != 0;
  return answered ? static_cast<LRESULT>(result) : 0;
}

}  // namespace

int ReagentOfCountCode(WPARAM code) {
  return FromTable(kCountCodeReagent, code);
}

int ReagentOfApiCounter(WPARAM id) {
  return FromTable(kApiCounterReagent, id);
}

int SpellOfCastNumber(WPARAM number) {
  return number >= 1 && number <= 64 ? static_cast<int>(number) - 1 : -1;
}

int32_t CountOfParam(LPARAM count) {
  using Limits = std::numeric_limits<int32_t>;
  return static_cast<int32_t>(
      std::clamp<LPARAM>(count, LPARAM{Limits::min()}, LPARAM{Limits::max()}));
}

bool RequestReagentCount(HWND assistant) {
  if (!assistant || !IsWindow(assistant)) return false;
  bool answered = false;
  SendToAssistant(assistant, kAssistCountRequestMessage, 0, 0, answered);
  return answered;
}

HWND FindAssistantApiWindow() {
  return FindWindowA(kAssistantApiWindow, kAssistantApiWindow);
}

bool AssistantApiLink::Register(HWND assistant, HWND mainWindow) {
  if (!assistant || !mainWindow) return false;
  const auto wp = reinterpret_cast<WPARAM>(mainWindow);
  bool answered = false;
  LRESULT result = SendToAssistant(assistant, kApiRegisterMessage, wp, 0, answered);
  if (answered && result == kApiUnregistered) {
    result = SendToAssistant(assistant, kApiRegisterMessage, wp, 0, answered);
  }
  if (!answered || result != kApiRegistered) return false;
  assistant_ = assistant;
  main_ = mainWindow;
  return true;
}

void AssistantApiLink::Unregister() {
  if (!assistant_) return;
  const HWND assistant = assistant_;
  assistant_ = nullptr;
  if (!IsWindow(assistant)) return;
  const auto wp = reinterpret_cast<WPARAM>(main_);
  bool answered = false;
  const LRESULT result = SendToAssistant(assistant, kApiRegisterMessage, wp, 0, answered);
  // 1: the assistant had lost the registration and has just made it again; undo that.
  if (answered && result == kApiRegistered) {
    SendToAssistant(assistant, kApiRegisterMessage, wp, 0, answered);
  }
}

void AssistantApiLink::RequestRecount() const {
  if (!assistant_ || !IsWindow(assistant_)) return;
  bool answered = false;
  SendToAssistant(assistant_, kApiRecountMessage, 0, 0, answered);
}

}  // namespace quillorb

// What the stand-in assistant (fake_assistant.exe) and the tests that drive it agree on.
#pragma once

#include <windows.h>

namespace standin {

// Commands, sent to the stand-in's window; each returns what the stand-in's own message
// returned (or 1 for a message that was posted), 0 when it had no window to address.
enum AssistantCommand : UINT {
  kCmdSendCount = WM_APP + 1,  // 0x464 sent to the target: wParam code, lParam count
  kCmdPostCount,               // the same, posted
  kCmdSendCast,                // 0x466 sent: wParam spell number
  kCmdPostCast,                // 0x466 posted
  kCmdApiCount,                // WM_USER+301 posted to every registered window: wParam id, lParam n
  kCmdApiCast,                 // WM_USER+302 posted to every registered window: wParam spell
  kCmdSetAnswer,               // wParam: an AssistantAnswer for the next count requests
  kCmdSetTarget,               // wParam: the window that gets 0x464 and 0x466 (else FindWindow)
};

// How the stand-in answers the count request 0x465.
enum AssistantAnswer : WPARAM {
  kAnswerInside = 0,  // sends its counts back before the request returns
  kAnswerLater = 1,   // posts its counts after the request has returned
  kAnswerNever = 2,
};

}  // namespace standin

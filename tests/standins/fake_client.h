// What the stand-in game client (fake_client.exe) and the tests that drive it agree on about the
// assistant-API windows it can hold in its process, as the open-source client does: its own hidden
// "UOASSIST-TP-MSG-WND" (shows text, counts nothing) and the visible main window of an assistant
// loaded into it (registers, counts, recounts, shows text and deletes the text's atom).
#pragma once

#include <windows.h>

namespace standin {

// Commands, sent to the client's game window.
enum ClientCommand : UINT {
  kCmdHang = WM_APP + 1,            // wParam: milliseconds the client does not answer
  kCmdAssistantCount = WM_APP + 2,  // the assistant posts WM_USER+301 (wParam id, lParam n) to
                                    // every window registered with it
  kCmdLogin = WM_APP + 3,           // wParam: 1 a character is logged in (text is shown), 0 none
};

// What the assistant posts, in this order, when it is asked to recount: counter id, count.
inline constexpr int kAssistantRecount[][2] = {{1, 12}, {2, 40}, {3, 7},  {4, 8},
                                               {5, 9},  {6, 10}, {7, 11}, {8, 13}};

}  // namespace standin

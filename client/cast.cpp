// The casting pipeline: TSpell::Cast, a member of the spell record that needs the window system.
#include <windows.h>

#include "app/form_main.h"
#include "client/danger_dialog.h"
#include "client/window_link.h"
#include "model/spell.h"

namespace quillorb {
namespace {

// The main window's rune-casting toggle ("Original Rune Casting"); up when there is no main window.
bool RuneCastingDown() {
  return Form_Main && Form_Main->SpeedButton_Casting && Form_Main->SpeedButton_Casting->Down();
}

// Whether the assistant program will report the cast (and so book it). An assistant window that
// has gone since start-up reports nothing, so the cast is booked here.
bool AssistantReportsCasts() {
  return Form_Main && Form_Main->AssistantWindow && IsWindow(Form_Main->AssistantWindow);
}

// Asks the dangerous-spell question over the client window; true for Yes.
bool ConfirmDangerousCast(HWND client, const std::string& name) {
  TOKBottomDlg dialog(Form_Main ? Form_Main->hwnd() : nullptr);
  dialog.PlaceOver(client);
  dialog.Label_Spell->SetCaption(name + " ?");
  return dialog.ShowModal() == TOKBottomDlg::kYes;
}

// Posts the player's spellcasting words as input-method characters: a double-byte character of
// the ANSI code page as lead x 256 + trail (a lead byte at the very end with a zero trail).
void PostCastText(HWND client, const std::string& text) {
  const size_t n = text.size();
  for (size_t i = 0; i < n; ++i) {
    const auto byte = static_cast<unsigned char>(text[i]);
    WPARAM code = byte;
    if (IsDBCSLeadByte(byte)) {
      const auto trail = i + 1 < n ? static_cast<unsigned char>(text[++i]) : 0u;
      code = (WPARAM{byte} << 8) | trail;
    }
    PostMessageA(client, WM_IME_CHAR, code, 1);
  }
}

}  // namespace

bool TSpell::Cast(uint8_t CastMode, ReagentCounts& stock, ReagentCounts& used) {
  if (!InSpellBook) return false;
  if (CastMode == 0) {
    HWND client = FindClientWindow();
    if (!client) return false;
    if (Danger && !ConfirmDangerousCast(client, Name)) {
      SetForegroundWindow(client);  // back into the game
      return false;
    }
    // A client that went away (or was hidden) while the question was open gets nothing, and
    // nothing is booked for a cast that never reached the game.
    if (!IsWindowVisible(client)) return false;
    if (RuneCastingDown() && !CastText.empty()) {
      PostCastText(client, CastText);
      SendKeyCombination(client, VK_RETURN, false, false, false);
    }
    SendKeyCombination(client, Key, Alt, Ctrl, Shift);
    if (AssistantReportsCasts()) return true;  // the assistant's report books it
  }
  AddReagents(stock, -1);
  AddReagents(used, +1);
  IncCount();
  return true;
}

}  // namespace quillorb

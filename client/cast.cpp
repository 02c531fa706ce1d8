// The casting pipeline into the game client, the model's GameCaster.
#include "client/cast.h"

#include <optional>
#include <string>

#include "client/danger_dialog.h"
#include "client/window_link.h"
#include "model/spell.h"
#include "win/app.h"
#include "win/child_window.h"
#include "win/dialog_util.h"

namespace quillorb {
namespace {

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

// Asks the dangerous-spell question over the client window; true for Yes. Whatever the answer,
// the client is brought to the front before the dialog hides: the dialog's owner (Quillorb) is
// then never activated in between, which under Wine could take the activation back from the
// client after it had been given (a late focus event) and send the keys to Quillorb.
bool CastPipeline::ConfirmDangerousCast(HWND client, const std::string& name) const {
  TOKBottomDlg dialog(host_ ? host_->QuestionOwner() : nullptr);
  dialog.PlaceOver(client);
  dialog.Label_Spell->SetCaption(name + " ?");
  dialog.OnEnd = [client](int) {
    if (IsWindow(client)) SetForegroundWindow(client);
  };
  return dialog.ShowModal() == TOKBottomDlg::kYes;
}

// Asks whether a window found by its caption alone is the game client: its caption and its
// program's file name are shown. Yes remembers the program with the host and, like the dangerous
// spell's question, hands the activation to the window before the question goes.
bool CastPipeline::ConfirmClient(const FoundClient& found, const std::string& captionPrefix) const {
  if (!host_) return false;
  HWND client = found.window;
  const std::optional<std::string> program = win::WideToAnsi(found.program);
  const bool rememberable = program && !program->empty();
  const Utf8 programName =
      found.program.empty() ? Utf8("(unknown)") : win::Utf8FromWide(found.program);
  const Utf8 text =
      "Is this window your game client?\n\nWindow: " + win::Utf8FromWide(win::WindowTextW(client)) +
      "\nProgram: " + programName + "\n\nIt was found only because its caption starts with \"" +
      win::AnsiToUtf8(captionPrefix) + "\". " +
      (rememberable ? "Yes casts into it and remembers " + programName +
                          " as your game client for this character."
                    : Utf8("Yes casts into it; its program cannot be remembered, so you will be "
                           "asked again.")) +
      " No casts nothing.";
  const auto handOver = [client](int button) {
    if (button == IDYES && IsWindow(client)) SetForegroundWindow(client);
  };
  const UINT flags = MB_YESNO | MB_ICONQUESTION | MB_DEFBUTTON2 | MB_SETFOREGROUND;
  const int answer = win::ShowMessage(host_->QuestionOwner(), text, flags, "Quillorb", handOver);
  if (answer != IDYES) return false;
  if (rememberable) host_->TrustClientProgram(*program);
  return true;
}

GameCast CastPipeline::Refuse(CastFailure why) const {
  if (host_) host_->CastNotDelivered(why);
  return GameCast::NotCast;
}

GameCast CastPipeline::CastIntoGame(const TSpell& spell) {
  last_ = Cast(spell);
  return last_;
}

GameCast CastPipeline::Cast(const TSpell& spell) {
  const ClientSearch search = host_ ? host_->GameWindowSearch() : ClientSearch{};
  const FoundClient found = FindClient(search);
  HWND client = found.window;
  // A hidden client could get no keys: nothing is asked about a cast that cannot go anywhere.
  if (!client || !IsWindowVisible(client)) return Refuse(CastFailure::NoClientWindow);
  if (!IsInjectableKey(spell.Key)) return Refuse(CastFailure::NoMacroKey);
  const std::optional<KeyChord> chord =
      LayoutChord(client, {spell.Key, spell.Alt, spell.Ctrl, spell.Shift});
  if (!chord) return Refuse(CastFailure::KeyNotOnLayout);
  if (found.needsConfirmation && !ConfirmClient(found, search.captionPrefix)) {
    return GameCast::NotCast;
  }
  if (spell.Danger && !ConfirmDangerousCast(client, spell.Name)) return GameCast::NotCast;
  // A client that went away while the question was open gets nothing.
  if (!IsWindow(client) || !IsWindowVisible(client)) return Refuse(CastFailure::NoClientWindow);
  // Keys go to whichever window is in front when they are injected: nothing is typed, and
  // nothing booked, unless that is verifiably the client.
  if (!BringToFront(client, kClientFrontTimeoutMs)) return Refuse(CastFailure::NotInFront);
  // Only what was sent is booked: a client that hid meanwhile gets no keys.
  if (host_ && host_->RuneCastingDown() && !spell.CastText.empty()) {
    PostCastText(client, spell.CastText);
    if (!SendKeyCombination(client, VK_RETURN, false, false, false)) {
      return Refuse(CastFailure::NotInFront);
    }
  }
  if (!SendKeyCombination(client, chord->key, chord->alt, chord->ctrl, chord->shift)) {
    return Refuse(CastFailure::NotInFront);
  }
  // The assistant books what it reports; without a window that reports, the cast is booked here.
  HWND assistant = host_ ? host_->AssistantHandle() : nullptr;
  return assistant && IsWindow(assistant) ? GameCast::CastAssistantBooks : GameCast::Cast;
}

}  // namespace quillorb

// The casting pipeline into the game client, the model's GameCaster.
#include "client/cast.h"

#include <optional>
#include <string>

#include "client/danger_dialog.h"
#include "client/window_link.h"
#include "model/spell.h"

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

GameCast CastPipeline::Refuse(CastFailure why) const {
  if (host_) host_->CastNotDelivered(why);
  return GameCast::NotCast;
}

GameCast CastPipeline::CastIntoGame(const TSpell& spell) {
  last_ = Cast(spell);
  return last_;
}

GameCast CastPipeline::Cast(const TSpell& spell) {
  HWND client = FindClientWindow(host_ ? host_->GameWindowSearch() : ClientSearch{});
  if (!client) return Refuse(CastFailure::NoClientWindow);
  if (!IsInjectableKey(spell.Key)) return Refuse(CastFailure::NoMacroKey);
  const std::optional<KeyChord> chord =
      LayoutChord(client, {spell.Key, spell.Alt, spell.Ctrl, spell.Shift});
  if (!chord) return Refuse(CastFailure::KeyNotOnLayout);
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

// The casting pipeline into the game client: find the client, ask the dangerous-spell question,
// bring the client to the front, type the player's words and press the spell's macro key. It is
// the model's GameCaster, handed to TSpell::Cast by whoever casts; it reaches the program around
// it only through the CastHost it was made with (the main window).
#pragma once

#include <windows.h>

#include <string>

#include "client/game_window.h"
#include "model/spell.h"

namespace quillorb {

// Why a cast into the game reached nothing (the question answered No is no failure).
enum class CastFailure {
  NoClientWindow,  // no game client window exists
  NotInFront,      // the client could not be brought to the front in time: nothing was typed
  NoMacroKey,      // the spell's macro key cannot be pressed (none, or no virtual key): nothing
                   // was typed
  KeyNotOnLayout,  // no key of the keyboard layout types the macro key's character: nothing was
                   // typed
};

class CastHost {
 public:
  // The "Original Rune Casting" toggle: type the spell's own words before its macro key.
  virtual bool RuneCastingDown() const = 0;
  // The assistant program's window that will report the cast (and book it), as it is now; nullptr
  // when no assistant will, and the cast is booked here.
  virtual HWND AssistantHandle() = 0;
  // What the game client is looked for by (the player's caption, which window was used last, the
  // program the player confirmed).
  virtual ClientSearch GameWindowSearch() const = 0;
  // The player confirmed `program` (a file name, ANSI) as the game client's: from now on its
  // windows found by the caption are cast into without asking.
  virtual void TrustClientProgram(const std::string& program) = 0;
  // The owner of the questions before a cast (the dangerous spell, a window found by its caption).
  virtual HWND QuestionOwner() const = 0;
  // A cast into the game reached nothing; nothing was booked.
  virtual void CastNotDelivered(CastFailure why) = 0;

 protected:
  ~CastHost() = default;
};

class CastPipeline final : public GameCaster {
 public:
  // `host` nullptr: the pipeline types no words, knows no assistant, finds the client by its
  // window class and the open client's caption only, and asks without an owner.
  explicit CastPipeline(CastHost* host = nullptr) : host_(host) {}

  GameCast CastIntoGame(const TSpell& spell) override;
  // What the last cast into the game came to.
  GameCast LastCast() const { return last_; }

 private:
  GameCast Cast(const TSpell& spell);
  bool ConfirmDangerousCast(HWND client, const std::string& name) const;
  bool ConfirmClient(const FoundClient& found, const std::string& captionPrefix) const;
  GameCast Refuse(CastFailure why) const;

  CastHost* host_;
  GameCast last_ = GameCast::NotCast;
};

// How long the client may take to come to the front before a cast is given up.
inline constexpr DWORD kClientFrontTimeoutMs = 1000;

}  // namespace quillorb

// The player's own start of a game client's caption (the configuration's "Game window caption
// starts with"): whether windows are looked for by it, and why not. Keys go to what this finds, so
// a text that many programs' captions begin with is never used.
#pragma once

#include <string_view>

namespace quillorb {

// Fewer letters or digits than this name no program: "U" begins "Untitled - Notepad".
inline constexpr int kMinClientCaptionLetters = 4;

enum class ClientCaptionUse {
  None,          // blank, or the default caption: nothing is looked for by a caption
  Searched,      // windows whose caption begins with it are looked for
  TooShort,      // fewer than kMinClientCaptionLetters letters or digits
  ClassicStart,  // a beginning of the classic client's caption, which that client is found
                 // without and which a web page about the game may share
  Assistant,     // the assistant program's caption: the assistant is never the game
};

ClientCaptionUse JudgeClientCaption(std::string_view caption);

// Nothing but blanks (or nothing at all).
bool IsBlankCaption(std::string_view caption);

inline bool SearchesByCaption(std::string_view caption) {
  return JudgeClientCaption(caption) == ClientCaptionUse::Searched;
}

}  // namespace quillorb

// The one-line input box: a small modal dialog with a prompt, an edit field, OK and Cancel.
#pragma once

#include <windows.h>

#include <memory>
#include <optional>
#include <string>

#include "win/button.h"
#include "win/dialog.h"
#include "win/edit.h"
#include "win/graphic.h"

namespace win {

inline constexpr char kInputBoxClass[] = "QuillorbInputBox";

class InputBox : public Dialog {
 public:
  static constexpr int kEditId = 10;

  // Builds the hidden box over `owner` (centred on it), drawn in `font` (copied; nullptr: the
  // owner's font, or Arial 11 pixels without one).
  InputBox(HWND owner, const std::string& caption, const std::string& prompt,
           const std::string& text, HFONT font = nullptr);

  std::unique_ptr<Label> Prompt;
  std::unique_ptr<Edit> Field;
  std::unique_ptr<Button> OKBtn;
  std::unique_ptr<Button> CancelBtn;

 protected:
  void DoShow() override;
};

// Runs the box; the text typed on OK (it may hold letters the ANSI code page lacks), nullopt on
// Cancel. `caption`, `prompt` and `text` are ANSI.
std::optional<quillorb::Utf8> InputQuery(HWND owner, const std::string& caption,
                                         const std::string& prompt, const std::string& text = {},
                                         HFONT font = nullptr);

}  // namespace win

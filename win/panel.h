// A panel: a child window with a bevel and a one-line caption.
#pragma once

#include "win/window.h"

namespace win {

class Panel : public Window {
 public:
  enum class Bevel { None, Lowered, Raised };
  Panel(HWND parent, int id, int left, int top, int width, int height, const std::string& caption);

  void SetCaption(const std::string& caption) { SetText(caption); }
  std::string Caption() const { return Text(); }
  void SetOuterBevel(Bevel bevel);

 protected:
  LRESULT OnMessage(UINT msg, WPARAM wp, LPARAM lp) override;

 private:
  void Paint();
  HFONT font_ = nullptr;
  Bevel outer_ = Bevel::Lowered;
};

}  // namespace win

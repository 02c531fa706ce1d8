#include "win/static_text.h"

namespace win {

StaticText::StaticText(HWND parent, int id, int left, int top, int width, int height,
                       const std::string& text) {
  CreateChild("STATIC", text, WS_VISIBLE | SS_LEFT, 0, left, top, width, height, parent, id);
}

}  // namespace win

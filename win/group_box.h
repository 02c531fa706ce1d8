// A group box drawn by its form: an etched frame with a caption in its top edge. It has no window
// of its own, so that the graphic controls inside it (pictures, say) stay visible.
#pragma once

#include <string>

#include "win/control.h"

namespace win {

class GroupBox : public GraphicControl {
 public:
  GroupBox(Form& parent, int left, int top, int width, int height, std::string caption);

  const std::string& Caption() const { return caption_; }
  bool WantsMouse() const override { return false; }
  const std::string& AcceleratorCaption() const override { return caption_; }
  void Paint(HDC dc) override;

 private:
  std::string caption_;
};

}  // namespace win

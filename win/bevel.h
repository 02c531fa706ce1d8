// A bevel: a windowless frame or line, lowered or raised, drawn in the system's 3-D colours.
#pragma once

#include "win/control.h"

namespace win {

class Bevel : public GraphicControl {
 public:
  enum class Shape { Box, Frame, TopLine, BottomLine, LeftLine, RightLine };
  enum class Style { Lowered, Raised };

  Bevel(Form& parent, int left, int top, int width, int height, Shape shape = Shape::Box,
        Style style = Style::Lowered);

  Shape GetShape() const { return shape_; }
  Style GetStyle() const { return style_; }
  void SetShape(Shape shape);
  void SetStyle(Style style);
  bool WantsMouse() const override { return false; }

  void Paint(HDC dc) override;

 private:
  Shape shape_;
  Style style_;
};

}  // namespace win

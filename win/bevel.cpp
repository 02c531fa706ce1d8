#include "win/bevel.h"

namespace win {

Bevel::Bevel(Form& parent, int left, int top, int width, int height, Shape shape, Style style)
    : GraphicControl(parent, left, top, width, height), shape_(shape), style_(style) {}

void Bevel::SetShape(Shape shape) {
  shape_ = shape;
  Repaint();
}

void Bevel::SetStyle(Style style) {
  style_ = style;
  Repaint();
}

void Bevel::Paint(HDC dc) {
  RECT r{0, 0, Width(), Height()};
  const bool lowered = style_ == Style::Lowered;
  UINT edge = lowered ? EDGE_ETCHED : EDGE_BUMP;
  UINT sides = BF_RECT;
  switch (shape_) {
    case Shape::Box:
      // One pixel of shadow on the top and left, one of highlight on the bottom and right.
      edge = lowered ? BDR_SUNKENOUTER : BDR_RAISEDINNER;
      break;
    case Shape::Frame:
      break;
    case Shape::TopLine:
      sides = BF_TOP;
      break;
    case Shape::BottomLine:
      r.top = r.bottom - 2;
      sides = BF_TOP;
      break;
    case Shape::LeftLine:
      sides = BF_LEFT;
      break;
    case Shape::RightLine:
      r.left = r.right - 2;
      sides = BF_LEFT;
      break;
  }
  DrawEdge(dc, &r, edge, sides);
}

}  // namespace win

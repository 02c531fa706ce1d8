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
  switch (shape_) {
    case Shape::Box:
      // One pixel of shadow on the top and left, one of highlight on the bottom and right.
      DrawEdge(dc, &r, lowered ? BDR_SUNKENOUTER : BDR_RAISEDINNER, BF_RECT);
      break;
    case Shape::Frame:
      DrawEdge(dc, &r, lowered ? EDGE_ETCHED : EDGE_BUMP, BF_RECT);
      break;
    case Shape::TopLine:
      DrawEdge(dc, &r, lowered ? EDGE_ETCHED : EDGE_BUMP, BF_TOP);
      break;
    case Shape::BottomLine:
      r.top = r.bottom - 2;
      DrawEdge(dc, &r, lowered ? EDGE_ETCHED : EDGE_BUMP, BF_TOP);
      break;
    case Shape::LeftLine:
      DrawEdge(dc, &r, lowered ? EDGE_ETCHED : EDGE_BUMP, BF_LEFT);
      break;
    case Shape::RightLine:
      r.left = r.right - 2;
      DrawEdge(dc, &r, lowered ? EDGE_ETCHED : EDGE_BUMP, BF_LEFT);
      break;
  }
}

}  // namespace win

#include "win/control.h"

#include "win/form.h"

namespace win {
GraphicControl::GraphicControl(Form& parent, int left, int top, int width, int height)
    : parent_(parent),
      design_{left, top, left + width, top + height},
      bounds_(parent.Scaling().Scale(design_)) {
  parent_.AddControl(this);
}

GraphicControl::~GraphicControl() {
  parent_.RemoveControl(this);
}

void GraphicControl::SetBounds(int left, int top, int width, int height) {
  design_ = RECT{left, top, left + width, top + height};
  SetPixelBounds(parent_.Scaling().Scale(design_));
}

void GraphicControl::SetPixelBounds(const RECT& pixels) {
  if (EqualRect(&pixels, &bounds_)) return;
  Repaint();
  bounds_ = pixels;
  Repaint();
  parent_.UpdateHint(*this);
}

void GraphicControl::Rescale() {
  SetPixelBounds(parent_.Scaling().Scale(design_));
}

void GraphicControl::SetVisible(bool visible) {
  if (visible_ == visible) return;
  visible_ = visible;
  Repaint();
}

void GraphicControl::SetEnabled(bool enabled) {
  if (enabled_ == enabled) return;
  enabled_ = enabled;
  Repaint();
}

void GraphicControl::SetHint(std::string hint) {
  hint_ = std::move(hint);
  parent_.UpdateHint(*this);
}

void GraphicControl::Repaint() const {
  parent_.InvalidateControl(*this);
}

HFONT GraphicControl::FormFont() const {
  return parent_.Font();
}

void GraphicControl::MouseDown(const MouseEvent& e) {
  if (e.doubleClick && e.button == MouseButton::Left) DblClick();
  if (OnMouseDown) OnMouseDown(*this, e);
}

void GraphicControl::MouseUp(const MouseEvent& e, bool inside) {
  if (inside && e.button == MouseButton::Left && !e.doubleClick) Click();
  if (OnMouseUp) OnMouseUp(*this, e);
}

void GraphicControl::MouseMove(int x, int y, WPARAM keys, bool /*inside*/) {
  if (OnMouseMove) OnMouseMove(*this, x, y, keys);
}

void GraphicControl::Click() {
  if (OnClick) OnClick(*this);
}

void GraphicControl::DblClick() {
  if (OnDblClick) OnDblClick(*this);
}

const std::string& GraphicControl::AcceleratorCaption() const {
  static const std::string none;
  return none;
}

}  // namespace win

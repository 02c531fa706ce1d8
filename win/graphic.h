// The graphic controls: label, paint box, image and speed button.
#pragma once

#include <windows.h>

#include <string>

#include "win/bitmap.h"
#include "win/control.h"
#include "win/handles.h"

namespace win {

class Label : public GraphicControl {
 public:
  enum class Align { Left, Right, Center };
  Label(Form& parent, int left, int top, int width, int height, std::string caption);

  const std::string& Caption() const { return caption_; }
  void SetCaption(std::string caption);
  void SetColor(COLORREF color);
  COLORREF Color() const { return color_; }
  void SetAlignment(Align align);
  // Fits the width to the caption, keeping the edge the alignment anchors.
  void SetAutoSize(bool autoSize);
  void SetFont(HFONT font);  // not owned; nullptr: the form's font
  HFONT Font() const { return font_ ? font_ : FormFont(); }
  bool WantsMouse() const override { return false; }
  // The control the caption's accelerator ("&" before a letter, shown underlined) gives the focus
  // to; without one, "&" shows as it is.
  void SetFocusControl(HWND control) { focusControl_ = control; }
  const std::string& AcceleratorCaption() const override;
  HWND AcceleratorTarget() const override { return focusControl_; }

  void Paint(HDC dc) override;
  void Rescale() override;
  void SwapFont(HFONT from, HFONT to) override;

 private:
  void AdjustBounds();
  std::string caption_;
  COLORREF color_ = GetSysColor(COLOR_BTNFACE);
  bool transparent_ = false;
  Align align_ = Align::Left;
  bool autoSize_ = false;
  HFONT font_ = nullptr;
  HWND focusControl_ = nullptr;
};

class PaintBox : public GraphicControl {
 public:
  using GraphicControl::GraphicControl;
  std::function<void(PaintBox& sender, HDC dc)> OnPaint;
  void Paint(HDC dc) override {
    if (OnPaint) OnPaint(*this, dc);
  }
};

// Shows a bitmap at its top-left corner; optionally sized to the bitmap. A bitmap smaller than the
// control (made for a smaller scale than the form's now) stands in its middle, never stretched.
class Image : public GraphicControl {
 public:
  using GraphicControl::GraphicControl;
  void SetBitmap(Bitmap bitmap, bool autoSize);
  HBITMAP BitmapHandle() const { return bitmap_.get(); }
  void Paint(HDC dc) override;

 private:
  Bitmap bitmap_;
};

// A push button without a window. With a group index it toggles (down / up).
class SpeedButton : public GraphicControl {
 public:
  using GraphicControl::GraphicControl;

  // The glyph is pixel art at 96 DPI, its lower-left pixel its transparent colour. It is drawn
  // in the button's middle at a whole multiple (each pixel 2 x 2 at 192 DPI): the form's scale
  // rounded up, or less where the glyph would not fit inside the button's edges.
  void SetGlyph(Bitmap glyph);
  void SetGroupIndex(int group, bool allowAllUp);
  bool Down() const { return down_; }
  void SetDown(bool down);

  void Paint(HDC dc) override;
  void MouseDown(const MouseEvent& e) override;
  void MouseMove(int x, int y, WPARAM keys, bool inside) override;
  void MouseUp(const MouseEvent& e, bool inside) override;
  void Click() override;

 private:
  void DrawGlyph(HDC dc, int x, int y, int multiple) const;
  Bitmap glyph_;
  Pixels glyphPixels_;  // the glyph's art, read once
  int group_ = 0;
  bool allowAllUp_ = false;
  bool down_ = false;
  bool pressing_ = false;  // left button held with the pointer inside
  bool tracking_ = false;  // left button held since a press on this button
};

}  // namespace win

#include "win/graphic.h"

#include <algorithm>

#include "win/form.h"

namespace win {

// ---------------------------------------------------------------------------- Label

Label::Label(Form& parent, int left, int top, int width, int height, std::string caption)
    : GraphicControl(parent, left, top, width, height), caption_(std::move(caption)) {}

void Label::SetCaption(std::string caption) {
  if (caption == caption_) return;
  caption_ = std::move(caption);
  AdjustBounds();
  Repaint();
}

void Label::SetColor(COLORREF color) {
  if (color == color_) return;
  color_ = color;
  Repaint();
}

void Label::SetAlignment(Align align) {
  align_ = align;
  Repaint();
}

void Label::SetAutoSize(bool autoSize) {
  autoSize_ = autoSize;
  AdjustBounds();
}

void Label::SetFont(HFONT font) {
  font_ = font;
  AdjustBounds();
  Repaint();
}

void Label::Rescale() {
  GraphicControl::Rescale();
  AdjustBounds();
}

void Label::SwapFont(HFONT from, HFONT to) {
  if (font_ == from) font_ = to;
}

void Label::AdjustBounds() {
  if (!autoSize_) return;
  HFONT font = Font();
  if (!font) return;
  WindowDc screen(nullptr);
  SelectScope select(screen.get(), font);
  SIZE size{};
  GetTextExtentPoint32A(screen.get(), caption_.c_str(), static_cast<int>(caption_.size()), &size);
  TEXTMETRICA tm{};
  GetTextMetricsA(screen.get(), &tm);
  int width = size.cx;
  int height = tm.tmHeight;
  int left = Left();
  if (align_ == Align::Right) left = Bounds().right - width;
  if (align_ == Align::Center) left = Left() + (Width() - width) / 2;
  SetPixelBounds(RECT{left, Top(), left + width, Top() + height});
}

void Label::Paint(HDC dc) {
  RECT r{0, 0, Width(), Height()};
  if (!transparent_) {
    Brush brush(CreateSolidBrush(color_));
    FillRect(dc, &r, brush.get());
  }
  SelectObject(dc, Font());
  SetBkMode(dc, TRANSPARENT);
  SetTextColor(dc, GetSysColor(Enabled() ? COLOR_WINDOWTEXT : COLOR_GRAYTEXT));
  UINT format = DT_SINGLELINE | DT_NOPREFIX | DT_TOP;
  if (align_ == Align::Right) format |= DT_RIGHT;
  if (align_ == Align::Center) format |= DT_CENTER;
  DrawTextA(dc, caption_.c_str(), static_cast<int>(caption_.size()), &r, format);
}

// ---------------------------------------------------------------------------- Image

void Image::SetBitmap(Bitmap bitmap, bool autoSize) {
  bitmap_ = std::move(bitmap);
  if (autoSize && bitmap_) {
    BITMAP bm{};
    GetObjectA(bitmap_.get(), sizeof bm, &bm);
    SetPixelBounds(RECT{Left(), Top(), Left() + bm.bmWidth, Top() + bm.bmHeight});
  }
  Repaint();
}

void Image::Paint(HDC dc) {
  if (!bitmap_) return;
  BITMAP bm{};
  GetObjectA(bitmap_.get(), sizeof bm, &bm);
  MemoryDc source(CreateCompatibleDC(dc));
  SelectScope select(source.get(), bitmap_.get());
  BitBlt(dc, std::max<int>((Width() - bm.bmWidth) / 2, 0),
         std::max<int>((Height() - bm.bmHeight) / 2, 0), Width(), Height(), source.get(), 0, 0,
         SRCCOPY);
}

// ---------------------------------------------------------------------------- SpeedButton

void SpeedButton::SetGlyph(Bitmap glyph) {
  glyph_ = std::move(glyph);
  Repaint();
}

void SpeedButton::SetGroupIndex(int group, bool allowAllUp) {
  group_ = group;
  allowAllUp_ = allowAllUp;
}

void SpeedButton::SetDown(bool down) {
  if (down_ == down) return;
  if (!down && group_ != 0 && !allowAllUp_) return;
  down_ = down;
  Repaint();
}

void SpeedButton::DrawGlyph(HDC dc, int x, int y, int multiple) const {
  if (!glyph_) return;
  BITMAP bm{};
  GetObjectA(glyph_.get(), sizeof bm, &bm);
  MemoryDc source(CreateCompatibleDC(dc));
  SelectScope select(source.get(), glyph_.get());
  const COLORREF transparent = GetPixel(source.get(), 0, bm.bmHeight - 1);
  // Each pixel of the art as a multiple x multiple square: sharp at every whole scale.
  const auto put = [&](int gx, int gy, COLORREF c) {
    if (multiple == 1) {
      SetPixelV(dc, x + gx, y + gy, c);
      return;
    }
    const RECT r{x + gx * multiple, y + gy * multiple, x + (gx + 1) * multiple,
                 y + (gy + 1) * multiple};
    SetBkColor(dc, c);
    ExtTextOutA(dc, 0, 0, ETO_OPAQUE, &r, nullptr, 0, nullptr);
  };
  if (Enabled()) {
    for (int gy = 0; gy < bm.bmHeight; ++gy) {
      for (int gx = 0; gx < bm.bmWidth; ++gx) {
        COLORREF c = GetPixel(source.get(), gx, gy);
        if (c != transparent) put(gx, gy, c);
      }
    }
    return;
  }
  // Disabled: the glyph's shape embossed, highlight below right, shadow on top.
  const COLORREF highlight = GetSysColor(COLOR_BTNHIGHLIGHT);
  const COLORREF shadow = GetSysColor(COLOR_BTNSHADOW);
  for (int pass = 0; pass < 2; ++pass) {
    for (int gy = 0; gy < bm.bmHeight; ++gy) {
      for (int gx = 0; gx < bm.bmWidth; ++gx) {
        if (GetPixel(source.get(), gx, gy) == transparent) continue;
        if (pass == 0) {
          put(gx + 1, gy + 1, highlight);
        } else {
          put(gx, gy, shadow);
        }
      }
    }
  }
}

void SpeedButton::Paint(HDC dc) {
  RECT r{0, 0, Width(), Height()};
  const bool sunken = down_ || pressing_;
  if (sunken) {
    DrawEdge(dc, &r, EDGE_SUNKEN, BF_RECT | BF_ADJUST);
    if (down_ && !pressing_) {
      // A latched button shows the dithered face of a checked tool button.
      static const WORD kDither[8] = {0x55, 0xAA, 0x55, 0xAA, 0x55, 0xAA, 0x55, 0xAA};
      Bitmap pattern(CreateBitmap(8, 8, 1, 1, kDither));
      Brush brush(CreatePatternBrush(pattern.get()));
      COLORREF oldText = SetTextColor(dc, GetSysColor(COLOR_BTNFACE));
      COLORREF oldBack = SetBkColor(dc, GetSysColor(COLOR_BTNHIGHLIGHT));
      FillRect(dc, &r, brush.get());
      SetTextColor(dc, oldText);
      SetBkColor(dc, oldBack);
    } else {
      FillRect(dc, &r, GetSysColorBrush(COLOR_BTNFACE));
    }
  } else {
    DrawFrameControl(dc, &r, DFC_BUTTON, DFCS_BUTTONPUSH);
  }
  if (glyph_) {
    BITMAP bm{};
    GetObjectA(glyph_.get(), sizeof bm, &bm);
    const Dpi dpi = Parent().Scaling();
    int m = (dpi.Value() + Dpi::kDesign - 1) / Dpi::kDesign;
    constexpr int kEdges = 4;  // the frame's two pixels on each side
    while (m > 1 && (bm.bmWidth * m > Width() - kEdges || bm.bmHeight * m > Height() - kEdges)) --m;
    const int shift = sunken ? dpi.Multiple() : 0;
    const int x = (Width() - bm.bmWidth * m) / 2 + shift;
    const int y = (Height() - bm.bmHeight * m) / 2 + shift;
    DrawGlyph(dc, x, y, m);
  }
}

void SpeedButton::MouseDown(const MouseEvent& e) {
  if (e.button == MouseButton::Left) {
    tracking_ = true;
    pressing_ = true;
    Repaint();
  }
  GraphicControl::MouseDown(e);
}

void SpeedButton::MouseMove(int x, int y, WPARAM keys, bool inside) {
  if (tracking_ && pressing_ != inside) {
    pressing_ = inside;
    Repaint();
  }
  GraphicControl::MouseMove(x, y, keys, inside);
}

void SpeedButton::MouseUp(const MouseEvent& e, bool inside) {
  bool clicked = tracking_ && inside && e.button == MouseButton::Left;
  tracking_ = false;
  pressing_ = false;
  Repaint();
  if (clicked && group_ != 0) {
    if (!down_) {
      down_ = true;
    } else if (allowAllUp_) {
      down_ = false;
    }
  }
  // A speed button clicks on every release inside it, the second press of a double click too.
  if (clicked) Click();
  if (OnMouseUp) OnMouseUp(*this, e);
}

void SpeedButton::Click() {
  GraphicControl::Click();
}

}  // namespace win

#include "win/graphic.h"

#include <algorithm>

#include "win/bitmap.h"
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

const std::string& Label::AcceleratorCaption() const {
  return focusControl_ ? caption_ : GraphicControl::AcceleratorCaption();
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
  UINT format = DT_SINGLELINE | DT_TOP | (focusControl_ ? 0 : DT_NOPREFIX);
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
  glyphPixels_ = glyph_ ? ReadPixels(glyph_.get()) : Pixels{};
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
  const Pixels& art = glyphPixels_;
  if (art.width <= 0 || art.height <= 0) return;
  // The glyph as it is drawn, made in memory and put on the button in one transparent copy: each
  // pixel of the art a multiple x multiple square, the rest the art's transparent colour. One
  // square more each way holds the disabled glyph's highlight.
  const DWORD transparent = art.At(0, art.height - 1);
  const int width = (art.width + 1) * multiple, height = (art.height + 1) * multiple;
  DWORD* bits = nullptr;
  Bitmap drawn = CreateDib32(width, height, &bits);
  if (!bits) return;
  std::fill(bits, bits + static_cast<ptrdiff_t>(width) * height, transparent);
  const auto put = [&](int gx, int gy, DWORD c) {
    for (int py = gy * multiple; py < std::min((gy + 1) * multiple, height); ++py) {
      for (int px = gx * multiple; px < std::min((gx + 1) * multiple, width); ++px) {
        bits[py * width + px] = c;
      }
    }
  };
  const auto pixel = [](COLORREF c) -> DWORD {
    return (static_cast<DWORD>(GetRValue(c)) << 16) | (static_cast<DWORD>(GetGValue(c)) << 8) |
           GetBValue(c);
  };
  if (Enabled()) {
    for (int gy = 0; gy < art.height; ++gy) {
      for (int gx = 0; gx < art.width; ++gx) {
        if (art.At(gx, gy) != transparent) put(gx, gy, art.At(gx, gy));
      }
    }
  } else {
    // Disabled: the glyph's shape embossed, highlight below right, shadow on top.
    const DWORD highlight = pixel(GetSysColor(COLOR_BTNHIGHLIGHT));
    const DWORD shadow = pixel(GetSysColor(COLOR_BTNSHADOW));
    for (int pass = 0; pass < 2; ++pass) {
      for (int gy = 0; gy < art.height; ++gy) {
        for (int gx = 0; gx < art.width; ++gx) {
          if (art.At(gx, gy) == transparent) continue;
          if (pass == 0) {
            put(gx + 1, gy + 1, highlight);
          } else {
            put(gx, gy, shadow);
          }
        }
      }
    }
  }
  GdiFlush();
  MemoryDc source(CreateCompatibleDC(dc));
  SelectScope select(source.get(), drawn.get());
  GdiTransparentBlt(dc, x, y, width, height, source.get(), 0, 0, width, height,
                    RGB((transparent >> 16) & 0xFF, (transparent >> 8) & 0xFF, transparent & 0xFF));
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

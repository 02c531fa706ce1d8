// A tiny anti-aliased vector painter for the program's pictures, in standard C++.
//
// Shapes are closed contours of points in pixel units (y downwards); a path is a list of
// contours filled with the non-zero rule, so contours of the same orientation unite and a
// reversed contour inside another cuts a hole. Coverage is exact across a scan line and
// sampled on five sub-lines per pixel row, which is anti-aliasing enough for 40-pixel icons.
#pragma once

#include <algorithm>
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <initializer_list>
#include <utility>
#include <vector>

namespace quillorb::raster {

constexpr float kPi = 3.14159265f;

struct Pt {
  float x, y;
};
using Contour = std::vector<Pt>;
using Path = std::vector<Contour>;

// Colour channels 0..255, alpha 0..1.
struct Col {
  float r, g, b, a;
};
constexpr Col Hex(uint32_t rgb, float a = 1.0f) {
  return {static_cast<float>((rgb >> 16) & 0xFF), static_cast<float>((rgb >> 8) & 0xFF),
          static_cast<float>(rgb & 0xFF), a};
}
inline Col Mix(Col p, Col q, float t) {
  return {p.r + (q.r - p.r) * t, p.g + (q.g - p.g) * t, p.b + (q.b - p.b) * t,
          p.a + (q.a - p.a) * t};
}
inline Col Lighter(Col c, float t) {
  return Mix(c, {255, 255, 255, c.a}, t);
}
inline Col Darker(Col c, float t) {
  return Mix(c, {0, 0, 0, c.a}, t);
}
inline Col Alpha(Col c, float a) {
  return {c.r, c.g, c.b, a};
}

// A solid colour, or a linear or radial gradient between two colours.
struct Paint {
  enum class Kind { Solid, Linear, Radial };
  Kind kind = Kind::Solid;
  Col c0{}, c1{};
  Pt p0{}, p1{};                  // linear: from p0 to p1; radial: centre p0, radius p1.x
  Paint(Col c) : c0(c), c1(c) {}  // a colour is a paint
  Paint(Kind k, Col a, Col b, Pt from, Pt to) : kind(k), c0(a), c1(b), p0(from), p1(to) {}
  Col At(float x, float y) const;
};
// Vertical gradient from `top` at y0 to `bottom` at y1.
inline Paint VGrad(Col top, Col bottom, float y0, float y1) {
  return Paint(Paint::Kind::Linear, top, bottom, {0, y0}, {0, y1});
}
inline Paint LGrad(Col from, Col to, Pt p0, Pt p1) {
  return Paint(Paint::Kind::Linear, from, to, p0, p1);
}
inline Paint RGrad(Col inner, Col outer, Pt centre, float radius) {
  return Paint(Paint::Kind::Radial, inner, outer, centre, {radius, 0});
}

// A channel value 0..255 (alpha 0..1 scaled first) as a byte: rounded, clamped.
inline uint32_t ToByte(float v) {
  return static_cast<uint32_t>(std::clamp(static_cast<int>(std::lround(v)), 0, 255));
}
// 0xAARRGGBB of premultiplied channels.
inline uint32_t PackArgb(float r, float g, float b, float a) {
  return (ToByte(a * 255) << 24) | (ToByte(r) << 16) | (ToByte(g) << 8) | ToByte(b);
}

// Premultiplied RGBA pixels, transparent at first. Shapes outside the canvas are clipped.
class Canvas {
 public:
  Canvas(int width, int height)
      : w_(width), h_(height), px_(static_cast<size_t>(width * height), Col{0, 0, 0, 0}) {}
  int Width() const { return w_; }
  int Height() const { return h_; }
  const Col& At(int x, int y) const { return px_[static_cast<size_t>(y * w_ + x)]; }
  Col& At(int x, int y) { return px_[static_cast<size_t>(y * w_ + x)]; }

  // Fills the path (non-zero rule) with the paint, blended over what is there.
  void Fill(const Path& path, const Paint& paint);

 private:
  void Blend(int x, int y, Col c, float cov);
  struct Edge {
    Pt top, bottom;
    int dir;
    int from, to;  // the pixel rows it crosses
  };
  int w_, h_;
  std::vector<Col> px_;
  // Buffers reused between fills.
  std::vector<float> cover_;
  std::vector<std::pair<float, int>> xs_;
  std::vector<Edge> edges_;
  std::vector<size_t> rowStart_, fillAt_, rowEdges_;
};

// ------------------------------------------------------------------ shapes
// Every closed shape comes out with positive area, so that shapes in one path unite.

float SignedArea(const Contour& c);
Contour Positive(Contour c);
Contour Reversed(Contour c);
Contour Poly(std::initializer_list<Pt> pts);
Contour Ellipse(float cx, float cy, float rx, float ry);
Contour Circle(float cx, float cy, float r);
Contour Rect(float x, float y, float w, float h);
// Open polyline along an ellipse from angle a0 to a1 (degrees; 0 = right, 90 = down).
Contour Arc(float cx, float cy, float rx, float ry, float a0, float a1);
Contour RoundRect(float x, float y, float w, float h, float r);
Contour Star(float cx, float cy, float outer, float inner, int points, float rotDeg = -90);
// Quadratic Bezier from p0 over control q to p1, as an open polyline.
Contour Bez(Pt p0, Pt q, Pt p1, int n = 12);
// A leaf or claw: a curve from p0 over q to p1 whose width swells to `width` in the middle.
Contour Taper(Pt p0, Pt q, Pt p1, float width, float startWidth = 0);
// The points of a smooth closed outline through `pts` (corner-cutting), for blobby shapes.
Contour Smooth(Contour pts, int rounds = 3);
// A line of the given width with round ends and joins.
Path Stroke(const Contour& line, float width, bool closed = false);
Path Ring(float cx, float cy, float rx, float ry, float width);
Contour Rotate(Contour c, float deg, Pt pivot);
// A crescent: a disc of radius r at cx, cy with a disc of the same size, shifted by d towards
// `towardsDeg`, cut away.
Contour Crescent(float cx, float cy, float r, float d, float towardsDeg);

// ------------------------------------------------------------------ the pen

// Draws into a canvas through a frame (offset and scale), so that a motif designed around 0, 0
// can be placed anywhere at any size. Outlines do not scale with the frame. The pen's own scale
// (1.5 for a picture drawn at 144 DPI) enlarges everything, outlines too: coordinates are the
// picture's pixels at 96 DPI.
class Pen {
 public:
  explicit Pen(Canvas& canvas, float scale = 1) : canvas_(canvas), scale_(scale) {}

  // Places the origin at x, y (in the current frame) and scales by s until the next call.
  void Frame(float x, float y, float s = 1) { ox_ = x, oy_ = y, s_ = s; }
  void Reset() { Frame(0, 0, 1); }

  void Fill(const Path& path, Paint paint);
  void Fill(const Contour& c, Paint paint) { Fill(Path{c}, paint); }

  // A filled shape with a dark outline of `outline` pixels around it.
  void Shape(const Path& path, Paint paint, float outline = 1.1f);
  void Shape(const Contour& c, Paint paint, float outline = 1.1f) {
    Shape(Path{c}, paint, outline);
  }
  // A line `width` wide (scaled with the frame) with a dark outline.
  void Line(const Contour& pts, float width, Paint paint, float outline = 1.0f,
            bool closed = false);

  Col ink = Hex(0x140F1E, 0.9f);

 private:
  Pt Map(Pt p) const { return {(ox_ + p.x * s_) * scale_, (oy_ + p.y * s_) * scale_}; }
  Canvas& canvas_;
  float scale_;
  float ox_ = 0, oy_ = 0, s_ = 1;
};

}  // namespace quillorb::raster

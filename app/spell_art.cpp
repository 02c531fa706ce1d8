#include "app/spell_art.h"

#include "win/bitmap.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdint>
#include <utility>
#include <vector>

namespace quillorb {
namespace {

// ================================================================== a tiny vector painter
//
// Shapes are closed contours of points in pixel units (y downwards); a path is a list of
// contours filled with the non-zero rule, so contours of the same orientation unite and a
// reversed contour inside another cuts a hole. Coverage is exact across a scan line and
// sampled on five sub-lines per pixel row, which is anti-aliasing enough for 40-pixel icons.

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
Col Mix(Col p, Col q, float t) {
  return {p.r + (q.r - p.r) * t, p.g + (q.g - p.g) * t, p.b + (q.b - p.b) * t,
          p.a + (q.a - p.a) * t};
}
Col Lighter(Col c, float t) {
  return Mix(c, {255, 255, 255, c.a}, t);
}
Col Darker(Col c, float t) {
  return Mix(c, {0, 0, 0, c.a}, t);
}
Col Alpha(Col c, float a) {
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
  Col At(float x, float y) const {
    switch (kind) {
      case Kind::Solid:
        return c0;
      case Kind::Linear: {
        const float dx = p1.x - p0.x, dy = p1.y - p0.y;
        const float len2 = dx * dx + dy * dy;
        const float t = len2 > 0 ? ((x - p0.x) * dx + (y - p0.y) * dy) / len2 : 0;
        return Mix(c0, c1, std::clamp(t, 0.0f, 1.0f));
      }
      case Kind::Radial: {
        const float d = std::hypot(x - p0.x, y - p0.y);
        return Mix(c0, c1, std::clamp(p1.x > 0 ? d / p1.x : 1.0f, 0.0f, 1.0f));
      }
    }
    return c0;
  }
};
// Vertical gradient from `top` at y0 to `bottom` at y1.
Paint VGrad(Col top, Col bottom, float y0, float y1) {
  return Paint(Paint::Kind::Linear, top, bottom, {0, y0}, {0, y1});
}
Paint LGrad(Col from, Col to, Pt p0, Pt p1) {
  return Paint(Paint::Kind::Linear, from, to, p0, p1);
}
Paint RGrad(Col inner, Col outer, Pt centre, float radius) {
  return Paint(Paint::Kind::Radial, inner, outer, centre, {radius, 0});
}

// Premultiplied RGBA pixels.
class Canvas {
 public:
  Canvas(int width, int height)
      : w_(width), h_(height), px_(static_cast<size_t>(width * height), Col{0, 0, 0, 0}) {}
  int Width() const { return w_; }
  int Height() const { return h_; }
  const Col& At(int x, int y) const { return px_[static_cast<size_t>(y * w_ + x)]; }

  void Fill(const Path& path, const Paint& paint) {
    float minX = 1e9f, minY = 1e9f, maxX = -1e9f, maxY = -1e9f;
    for (const auto& c : path) {
      for (Pt p : c) {
        minX = std::min(minX, p.x), maxX = std::max(maxX, p.x);
        minY = std::min(minY, p.y), maxY = std::max(maxY, p.y);
      }
    }
    const int x0 = std::max(0, static_cast<int>(std::floor(minX)));
    const int x1 = std::min(w_ - 1, static_cast<int>(std::floor(maxX)));
    const int y0 = std::max(0, static_cast<int>(std::floor(minY)));
    const int y1 = std::min(h_ - 1, static_cast<int>(std::floor(maxY)));
    if (x0 > x1 || y0 > y1) return;
    constexpr int kSub = 5;
    // The edges, pointing down, listed under every pixel row they cross (a bucket per row in
    // one flat array: rowStart_[r] .. rowStart_[r + 1]). The buffers are reused between fills.
    auto& cover = cover_;
    auto& xs = xs_;
    auto& edges = edges_;
    cover.assign(static_cast<size_t>(w_), 0.0f);
    edges.clear();
    for (const auto& c : path) {
      for (size_t i = 0; i < c.size(); ++i) {
        const Pt a = c[i], b = c[(i + 1) % c.size()];
        if (a.y == b.y) continue;
        Edge e = a.y < b.y ? Edge{a, b, 1, 0, 0} : Edge{b, a, -1, 0, 0};
        e.from = std::max(y0, static_cast<int>(std::floor(e.top.y)));
        e.to = std::min(y1, static_cast<int>(std::floor(e.bottom.y)));
        if (e.from <= e.to) edges.push_back(e);
      }
    }
    const size_t rowCount = static_cast<size_t>(y1 - y0 + 1);
    rowStart_.assign(rowCount + 1, 0);
    for (const Edge& e : edges) {
      for (int y = e.from; y <= e.to; ++y) ++rowStart_[static_cast<size_t>(y - y0 + 1)];
    }
    for (size_t r = 0; r < rowCount; ++r) rowStart_[r + 1] += rowStart_[r];
    rowEdges_.resize(rowStart_[rowCount]);
    fillAt_.assign(rowStart_.begin(), rowStart_.end() - 1);
    for (size_t i = 0; i < edges.size(); ++i) {
      for (int y = edges[i].from; y <= edges[i].to; ++y) {
        rowEdges_[fillAt_[static_cast<size_t>(y - y0)]++] = i;
      }
    }
    auto span = [&](float a, float b) {
      a = std::max(a, static_cast<float>(x0));
      b = std::min(b, static_cast<float>(x1 + 1));
      for (int x = static_cast<int>(std::floor(a)); x < b; ++x) {
        const float ov = std::min(b, x + 1.0f) - std::max(a, static_cast<float>(x));
        if (ov > 0) cover[static_cast<size_t>(x)] += ov / kSub;
      }
    };
    for (int y = y0; y <= y1; ++y) {
      const size_t first = rowStart_[static_cast<size_t>(y - y0)];
      const size_t last = rowStart_[static_cast<size_t>(y - y0 + 1)];
      if (first == last) continue;
      std::fill(cover.begin() + x0, cover.begin() + x1 + 1, 0.0f);
      for (int k = 0; k < kSub; ++k) {
        const float sy = y + (k + 0.5f) / kSub;
        xs.clear();
        for (size_t j = first; j < last; ++j) {
          const Edge& e = edges[rowEdges_[j]];
          if (e.top.y <= sy && e.bottom.y > sy) {
            const float t = (sy - e.top.y) / (e.bottom.y - e.top.y);
            xs.emplace_back(e.top.x + t * (e.bottom.x - e.top.x), e.dir);
          }
        }
        std::sort(xs.begin(), xs.end());
        int wind = 0;
        float start = 0;
        for (auto [x, dir] : xs) {
          const int before = wind;
          wind += dir;
          if (before == 0 && wind != 0) start = x;
          if (before != 0 && wind == 0) span(start, x);
        }
      }
      for (int x = x0; x <= x1; ++x) {
        const float cov = std::min(1.0f, cover[static_cast<size_t>(x)]);
        if (cov > 0) Blend(x, y, paint.At(x + 0.5f, y + 0.5f), cov);
      }
    }
  }

 private:
  void Blend(int x, int y, Col c, float cov) {
    Col& d = px_[static_cast<size_t>(y * w_ + x)];
    const float a = c.a * cov;
    d.r = c.r * a + d.r * (1 - a);
    d.g = c.g * a + d.g * (1 - a);
    d.b = c.b * a + d.b * (1 - a);
    d.a = a + d.a * (1 - a);
  }
  struct Edge {
    Pt top, bottom;
    int dir;
    int from, to;  // the pixel rows it crosses
  };
  int w_, h_;
  std::vector<Col> px_;
  std::vector<float> cover_;
  std::vector<std::pair<float, int>> xs_;
  std::vector<Edge> edges_;
  std::vector<size_t> rowStart_, fillAt_, rowEdges_;
};

// ------------------------------------------------------------------ shapes

float SignedArea(const Contour& c) {
  float s = 0;
  for (size_t i = 0; i < c.size(); ++i) {
    const Pt a = c[i], b = c[(i + 1) % c.size()];
    s += a.x * b.y - b.x * a.y;
  }
  return s / 2;
}
// Every shape below comes out with positive area, so that shapes in one path unite.
Contour Positive(Contour c) {
  if (SignedArea(c) < 0) std::reverse(c.begin(), c.end());
  return c;
}
Contour Reversed(Contour c) {
  std::reverse(c.begin(), c.end());
  return c;
}

Contour Poly(std::initializer_list<Pt> pts) {
  return Positive(Contour(pts));
}
Contour Ellipse(float cx, float cy, float rx, float ry) {
  const int n = std::clamp(static_cast<int>((rx + ry) * 2.5f), 12, 64);
  Contour c;
  for (int i = 0; i < n; ++i) {
    const float t = 2 * kPi * i / n;
    c.push_back({cx + rx * std::cos(t), cy + ry * std::sin(t)});
  }
  return Positive(std::move(c));
}
Contour Circle(float cx, float cy, float r) {
  return Ellipse(cx, cy, r, r);
}
Contour Rect(float x, float y, float w, float h) {
  return Poly({{x, y}, {x + w, y}, {x + w, y + h}, {x, y + h}});
}
// Open polyline along an ellipse from angle a0 to a1 (degrees; 0 = right, 90 = down).
Contour Arc(float cx, float cy, float rx, float ry, float a0, float a1) {
  const int n = std::max(4, static_cast<int>(std::abs(a1 - a0) / 8));
  Contour c;
  for (int i = 0; i <= n; ++i) {
    const float t = (a0 + (a1 - a0) * i / n) * kPi / 180;
    c.push_back({cx + rx * std::cos(t), cy + ry * std::sin(t)});
  }
  return c;
}
Contour RoundRect(float x, float y, float w, float h, float r) {
  Contour c;
  auto corner = [&](float cx, float cy, float a0) {
    for (Pt p : Arc(cx, cy, r, r, a0, a0 + 90)) c.push_back(p);
  };
  corner(x + w - r, y + h - r, 0);
  corner(x + r, y + h - r, 90);
  corner(x + r, y + r, 180);
  corner(x + w - r, y + r, 270);
  return Positive(std::move(c));
}
Contour Star(float cx, float cy, float outer, float inner, int points, float rotDeg = -90) {
  Contour c;
  for (int i = 0; i < points * 2; ++i) {
    const float r = i % 2 ? inner : outer;
    const float t = (rotDeg + 180.0f * i / points) * kPi / 180;
    c.push_back({cx + r * std::cos(t), cy + r * std::sin(t)});
  }
  return Positive(std::move(c));
}
// Quadratic Bezier from p0 over control q to p1, as an open polyline.
Contour Bez(Pt p0, Pt q, Pt p1, int n = 12) {
  Contour c;
  for (int i = 0; i <= n; ++i) {
    const float t = static_cast<float>(i) / n, u = 1 - t;
    c.push_back({u * u * p0.x + 2 * u * t * q.x + t * t * p1.x,
                 u * u * p0.y + 2 * u * t * q.y + t * t * p1.y});
  }
  return c;
}
// A leaf or claw: a curve from p0 over q to p1 whose width swells to `width` in the middle.
Contour Taper(Pt p0, Pt q, Pt p1, float width, float startWidth = 0) {
  const Contour mid = Bez(p0, q, p1, 16);
  Contour left, right;
  for (size_t i = 0; i < mid.size(); ++i) {
    const Pt a = mid[i > 0 ? i - 1 : i], b = mid[i + 1 < mid.size() ? i + 1 : i];
    float dx = b.x - a.x, dy = b.y - a.y;
    const float len = std::hypot(dx, dy);
    if (len > 0) dx /= len, dy /= len;
    const float t = static_cast<float>(i) / static_cast<float>(mid.size() - 1);
    const float w =
        std::max(startWidth * (1 - t), width * std::sin(kPi * t)) / 2;  // thick start optional
    left.push_back({mid[i].x - dy * w, mid[i].y + dx * w});
    right.push_back({mid[i].x + dy * w, mid[i].y - dx * w});
  }
  for (size_t i = right.size(); i-- > 0;) left.push_back(right[i]);
  return Positive(std::move(left));
}
// The points of a smooth closed outline through `pts` (corner-cutting), for blobby shapes.
Contour Smooth(Contour pts, int rounds = 3) {
  for (int r = 0; r < rounds; ++r) {
    Contour next;
    for (size_t i = 0; i < pts.size(); ++i) {
      const Pt a = pts[i], b = pts[(i + 1) % pts.size()];
      next.push_back({0.75f * a.x + 0.25f * b.x, 0.75f * a.y + 0.25f * b.y});
      next.push_back({0.25f * a.x + 0.75f * b.x, 0.25f * a.y + 0.75f * b.y});
    }
    pts = std::move(next);
  }
  return Positive(std::move(pts));
}
// A line of the given width with round ends and joins.
Path Stroke(const Contour& line, float width, bool closed = false) {
  Path p;
  const float h = width / 2;
  const size_t n = line.size();
  for (size_t i = 0; i + (closed ? 0 : 1) < n; ++i) {
    const Pt a = line[i], b = line[(i + 1) % n];
    float dx = b.x - a.x, dy = b.y - a.y;
    const float len = std::hypot(dx, dy);
    if (len <= 0) continue;
    dx = dx / len * h, dy = dy / len * h;
    p.push_back(Poly(
        {{a.x - dy, a.y + dx}, {b.x - dy, b.y + dx}, {b.x + dy, b.y - dx}, {a.x + dy, a.y - dx}}));
  }
  // Round ends, and round joins where the line turns enough to open a visible notch.
  for (size_t i = 0; i < n; ++i) {
    if (n > 2 && (closed || (i > 0 && i + 1 < n))) {
      const Pt prev = line[(i + n - 1) % n], q = line[i], next = line[(i + 1) % n];
      const float ax = q.x - prev.x, ay = q.y - prev.y, bx = next.x - q.x, by = next.y - q.y;
      const float la = std::hypot(ax, ay), lb = std::hypot(bx, by);
      if (la > 0 && lb > 0 && (ax * bx + ay * by) / (la * lb) > 0.94f) continue;
    }
    Contour dot;
    for (int k = 0; k < 12; ++k) {
      const float t = 2 * kPi * k / 12;
      dot.push_back({line[i].x + h * std::cos(t), line[i].y + h * std::sin(t)});
    }
    p.push_back(Positive(std::move(dot)));
  }
  return p;
}
Path Ring(float cx, float cy, float rx, float ry, float width) {
  return {Ellipse(cx, cy, rx, ry), Reversed(Ellipse(cx, cy, rx - width, ry - width))};
}
Contour Rotate(Contour c, float deg, Pt pivot) {
  const float s = std::sin(deg * kPi / 180), k = std::cos(deg * kPi / 180);
  for (Pt& p : c) {
    const float x = p.x - pivot.x, y = p.y - pivot.y;
    p = {pivot.x + x * k - y * s, pivot.y + x * s + y * k};
  }
  return c;
}
// A crescent: a disc of radius r at cx, cy with a disc of the same size, shifted by d towards
// `towardsDeg`, cut away.
Contour Crescent(float cx, float cy, float r, float d, float towardsDeg) {
  const float half = std::acos(std::clamp(d / (2 * r), -1.0f, 1.0f)) * 180 / kPi;
  Contour c = Arc(0, 0, r, r, half, 360 - half);
  for (Pt p : Arc(d, 0, r, r, 180 + half, 180 - half)) c.push_back(p);
  for (Pt& p : c) p = {p.x + cx, p.y + cy};
  return Positive(Rotate(std::move(c), towardsDeg, {cx, cy}));
}

// ------------------------------------------------------------------ the pen

// Draws into a canvas through a frame (offset and scale), so that a motif designed around 0, 0
// can be placed anywhere at any size. Outlines are in canvas pixels and do not scale.
class Pen {
 public:
  explicit Pen(Canvas& canvas) : canvas_(canvas) {}

  // Places the origin at x, y (in the current frame) and scales by s until the next call.
  void Frame(float x, float y, float s = 1) { ox_ = x, oy_ = y, s_ = s; }
  void Reset() { Frame(0, 0, 1); }

  void Fill(const Path& path, Paint paint) {
    Path out = path;
    for (auto& c : out) {
      for (Pt& p : c) p = Map(p);
    }
    paint.p0 = Map(paint.p0);
    if (paint.kind == Paint::Kind::Radial) {
      paint.p1.x *= s_;
    } else {
      paint.p1 = Map(paint.p1);
    }
    canvas_.Fill(out, paint);
  }
  void Fill(const Contour& c, Paint paint) { Fill(Path{c}, paint); }

  // A filled shape with a dark outline of `outline` pixels around it.
  void Shape(const Path& path, Paint paint, float outline = 1.1f) {
    if (outline > 0) {
      Path edge;
      for (const auto& c : path) {
        for (auto& part : Stroke(c, 2 * outline / s_, true)) edge.push_back(std::move(part));
      }
      Fill(edge, ink);
    }
    Fill(path, paint);
  }
  void Shape(const Contour& c, Paint paint, float outline = 1.1f) {
    Shape(Path{c}, paint, outline);
  }
  // A line `width` wide (scaled with the frame) with a dark outline.
  void Line(const Contour& pts, float width, Paint paint, float outline = 1.0f,
            bool closed = false) {
    if (outline > 0) Fill(Stroke(pts, width + 2 * outline / s_, closed), ink);
    Fill(Stroke(pts, width, closed), paint);
  }

  Col ink = Hex(0x140F1E, 0.9f);

 private:
  Pt Map(Pt p) const { return {ox_ + p.x * s_, oy_ + p.y * s_}; }
  Canvas& canvas_;
  float ox_ = 0, oy_ = 0, s_ = 1;
};

// ================================================================== motifs
//
// Each motif is drawn around 0, 0 in its own frame, about 24 pixels across at scale 1; the
// caller places it with Pen::Frame.

const Col kWhite = Hex(0xFFFFFF);
const Col kGold = Hex(0xFFD24A);
const Col kDeepGold = Hex(0xB87A10);
const Col kSteel = Hex(0xE4E8EE);
const Col kDeepSteel = Hex(0x7A8494);

// A small four-pointed sparkle.
void Sparkle(Pen& p, float x, float y, float r, Col c = kWhite) {
  p.Fill(Star(x, y, r, r * 0.28f, 4), c);
}

// A small arrow badge in the upper right corner: up (green) for blessings, down (red) for
// curses.
void UpBadge(Pen& p) {
  p.Reset();
  p.Shape(
      Poly({{32, 2.5f}, {38, 10}, {34.5f, 10}, {34.5f, 16}, {29.5f, 16}, {29.5f, 10}, {26, 10}}),
      VGrad(Hex(0x8CFF7A), Hex(0x1FA32E), 3, 16));
}
void DownBadge(Pen& p) {
  p.Reset();
  p.Shape(Poly({{32, 16.5f}, {38, 9}, {34.5f, 9}, {34.5f, 3}, {29.5f, 3}, {29.5f, 9}, {26, 9}}),
          VGrad(Hex(0xFF9A8A), Hex(0xC01818), 3, 16));
}

void Boot(Pen& p, bool winged) {
  if (winged) {
    p.Shape(Smooth({{-4, -6}, {-15, -13}, {-13, -8}, {-17, -7}, {-13, -3}, {-16, 0}, {-5, 0}}, 2),
            VGrad(kWhite, Hex(0xB8D8F0), -13, 0));
    p.Line(Contour{{-6, -4}, {-13, -8}}, 0.8f, Hex(0x8AA8C8), 0);
    p.Line(Contour{{-6, -2}, {-13, -3}}, 0.8f, Hex(0x8AA8C8), 0);
  }
  p.Shape(Smooth({{-7, -12}, {4, -12}, {4, 0}, {9, 2}, {12, 5}, {12, 10}, {-8, 10}, {-8, 2}}, 1),
          VGrad(Hex(0xC88448), Hex(0x6E3D17), -12, 10));
  p.Fill(Rect(-8, 7.5f, 20, 2.5f), Hex(0x2E1B0C));
  p.Shape(RoundRect(-8.5f, -13.5f, 13.5f, 4, 1.5f), Hex(0xE0B078), 0.8f);
}

void Brain(Pen& p) {
  Path blob{Circle(-5, -2, 6.5f), Circle(1.5f, -5, 6.5f),   Circle(6.5f, 0, 6),
            Circle(-3, 4, 6),     Circle(3.5f, 4.5f, 5.5f), Circle(-8, 2.5f, 4.5f)};
  p.Shape(blob, VGrad(Hex(0xFFC6D6), Hex(0xD0607F), -11, 10), 1.2f);
  const Col fold = Hex(0xA8385A);
  p.Line(Bez({0, -10}, {-2, -1}, {1, 8}), 0.9f, fold, 0);
  p.Line(Bez({-9, -2}, {-5, -5}, {-3, 0}), 0.9f, fold, 0);
  p.Line(Bez({-8, 5}, {-4, 2}, {-2, 6}), 0.9f, fold, 0);
  p.Line(Bez({4, -8}, {2, -3}, {6, -2}), 0.9f, fold, 0);
  p.Line(Bez({9, 2}, {4, 2}, {5, 7}), 0.9f, fold, 0);
}

void Barbell(Pen& p) {
  p.Line(Contour{{-13, 0}, {13, 0}}, 2.4f, VGrad(kSteel, kDeepSteel, -1, 1));
  for (float side : {-1.0f, 1.0f}) {
    p.Shape(RoundRect(side < 0 ? -11 : 6, -8, 5, 16, 1.2f),
            VGrad(Hex(0x6A6A78), Hex(0x25252E), -8, 8));
    p.Shape(RoundRect(side < 0 ? -14.5f : 11, -5.5f, 3.5f, 11, 1),
            VGrad(Hex(0x8A8A98), Hex(0x35353E), -5, 5));
  }
}

void Skull(Pen& p) {
  const Paint bone = VGrad(Hex(0xFFF8E6), Hex(0xBDB193), -10, 10);
  p.Shape(Path{Circle(0, -2, 8.5f), RoundRect(-5, 3, 10, 7.5f, 2)}, bone, 1.2f);
  const Col hole = Hex(0x1A1020);
  p.Fill(Ellipse(-3.3f, -1.5f, 2.5f, 2.8f), hole);
  p.Fill(Ellipse(3.3f, -1.5f, 2.5f, 2.8f), hole);
  p.Fill(Poly({{0, 1.8f}, {-1.3f, 4.2f}, {1.3f, 4.2f}}), hole);
  for (float x : {-2.2f, 0.0f, 2.2f}) p.Fill(Rect(x - 0.4f, 6.5f, 0.8f, 3.5f), hole);
}

Contour PlusShape(float arm, float half) {
  return Poly({{-half, -arm},
               {half, -arm},
               {half, -half},
               {arm, -half},
               {arm, half},
               {half, half},
               {half, arm},
               {-half, arm},
               {-half, half},
               {-arm, half},
               {-arm, -half},
               {-half, -half}});
}
void RedCross(Pen& p, float arm, float half) {
  p.Shape(PlusShape(arm + 1.6f, half + 1.6f), kWhite, 1.0f);
  p.Fill(PlusShape(arm, half), VGrad(Hex(0xFF6A6A), Hex(0xC0101A), -arm, arm));
}

// A shield: flat top, sides curving to a point at the bottom.
Contour ShieldShape(float w, float h) {
  Contour c{{-w, -h}, {0, -h + 1.5f}, {w, -h}};
  for (Pt q : Bez({w, -h}, {w, h * 0.4f}, {0, h})) c.push_back(q);
  for (Pt q : Bez({0, h}, {-w, h * 0.4f}, {-w, -h})) c.push_back(q);
  return Positive(std::move(c));
}
void Shield(Pen& p, Col face, Col rim) {
  p.Shape(ShieldShape(10.5f, 12), rim, 1.2f);
  p.Fill(ShieldShape(8.3f, 10), VGrad(Lighter(face, 0.35f), Darker(face, 0.35f), -10, 10));
}

// Five-lobed flame pointing up, about 20 wide and 26 tall.
Contour FlameShape() {
  return Smooth({{0, -15},
                 {3, -8},
                 {6, -10},
                 {7, -3},
                 {9, 2},
                 {7, 8},
                 {0, 11},
                 {-7, 8},
                 {-9, 2},
                 {-7, -4},
                 {-5, -1},
                 {-3, -9}},
                2);
}
void Flame(Pen& p) {
  p.Shape(FlameShape(), VGrad(Hex(0xFFB02A), Hex(0xD8240E), -15, 11), 1.0f);
  Contour inner = FlameShape();
  for (Pt& q : inner) q = {q.x * 0.55f, q.y * 0.55f + 4};
  p.Fill(inner, VGrad(Hex(0xFFFFD0), Hex(0xFFD040), -4, 10));
}

// A small pair of glowing eyes (the elementals).
void Eyes(Pen& p, float y, Col glow) {
  for (float x : {-3.5f, 3.5f}) {
    p.Fill(Ellipse(x, y, 2.6f, 1.9f), Hex(0x100810));
    p.Fill(Ellipse(x, y, 1.6f, 1.0f), glow);
  }
}

Contour DropShape(float r) {
  Contour c = Arc(0, 0, r, r, -32, 212);
  c.push_back({0, -r * 1.9f});
  return Positive(std::move(c));
}

void Bottle(Pen& p, Col liquid) {
  p.Shape(Path{Circle(0, 4, 8.5f), Rect(-3, -9, 6, 8)}, Hex(0xD8ECF4, 0.55f), 1.2f);
  p.Fill(Path{Ellipse(0, 5, 7.2f, 6.8f)},
         VGrad(Lighter(liquid, 0.3f), Darker(liquid, 0.25f), 0, 12));
  p.Fill(Ellipse(-3.5f, 0.5f, 1.6f, 2.6f), Hex(0xFFFFFF, 0.8f));
  p.Shape(RoundRect(-3.8f, -12.5f, 7.6f, 4.5f, 1), VGrad(Hex(0xC08850), Hex(0x70441C), -12, -8),
          0.9f);
}

void Chest(Pen& p) {
  const Paint wood = VGrad(Hex(0xB8743A), Hex(0x5E3214), -8, 9);
  p.Shape(Path{Rect(-12, -2, 24, 11), RoundRect(-12, -9, 24, 9, 4)}, wood, 1.2f);
  p.Fill(Rect(-12, -2.6f, 24, 1.2f), Hex(0x2E1808));
  const Col band = kGold;
  p.Fill(Rect(-9, -8.8f, 2.4f, 17.6f), band);
  p.Fill(Rect(6.6f, -8.8f, 2.4f, 17.6f), band);
  p.Shape(RoundRect(-2.2f, -4, 4.4f, 5, 0.8f), kGold, 0.8f);
  p.Fill(Rect(-0.5f, -2.5f, 1, 2), Hex(0x2E1808));
}

void Padlock(Pen& p) {
  p.Line(Arc(0, -3, 6, 7.5f, 180, 360), 3.0f, VGrad(kSteel, kDeepSteel, -10, 0), 1.0f);
  p.Line(Contour{{-6, -3}, {-6, 0}}, 3.0f, kSteel, 0);
  p.Line(Contour{{6, -3}, {6, 0}}, 3.0f, kSteel, 0);
  p.Shape(RoundRect(-10, -1, 20, 14, 2.5f), VGrad(Hex(0xFFE27A), Hex(0xB07810), -1, 13), 1.2f);
  p.Fill(Circle(0, 4.5f, 2), Hex(0x2A1A08));
  p.Fill(Poly({{-1, 5}, {1, 5}, {1.6f, 9.5f}, {-1.6f, 9.5f}}), Hex(0x2A1A08));
}

void Key(Pen& p) {
  const Paint gold = LGrad(Hex(0xFFE88A), Hex(0xB07810), {-10, -10}, {10, 10});
  p.Shape(Ring(-6, -6, 6, 6, 3.2f), gold, 1.1f);
  p.Line(Contour{{-2, -2}, {11, 11}}, 3, gold, 1.1f);
  p.Line(Contour{{6, 6}, {3.5f, 8.5f}}, 2.6f, gold, 1.0f);
  p.Line(Contour{{9, 9}, {6.5f, 11.5f}}, 2.6f, gold, 1.0f);
  p.Line(Contour{{-2, -2}, {11, 11}}, 3, gold, 0);
}

Contour RuneStoneShape() {
  return Smooth({{-9, -7}, {3, -11}, {11, -4}, {9, 8}, {-2, 11}, {-11, 4}}, 3);
}
void RuneStone(Pen& p, Col glyph) {
  p.Shape(RuneStoneShape(), LGrad(Hex(0xB7A8D8), Hex(0x4A3C70), {-8, -10}, {8, 10}), 1.2f);
  p.Fill(Path{Ellipse(-3, -5, 4, 2)}, Hex(0xFFFFFF, 0.25f));
  p.Line(Contour{{-3, -5}, {-3, 6}}, 1.6f, glyph, 0);
  p.Line(Contour{{-3, -5}, {3, -1}, {-3, 2}}, 1.6f, glyph, 0);
  p.Line(Contour{{-1, 1}, {4, 6}}, 1.6f, glyph, 0);
}

void Paw(Pen& p) {
  const Paint pad = VGrad(Hex(0xF6E2C0), Hex(0xB88A5A), -11, 11);
  p.Shape(Smooth({{0, -1}, {7, 4}, {6, 10}, {0, 9}, {-6, 10}, {-7, 4}}, 3), pad, 1.2f);
  p.Shape(Ellipse(-8, -4, 2.8f, 3.4f), pad, 1.1f);
  p.Shape(Ellipse(-3, -9, 2.8f, 3.5f), pad, 1.1f);
  p.Shape(Ellipse(3, -9, 2.8f, 3.5f), pad, 1.1f);
  p.Shape(Ellipse(8, -4, 2.8f, 3.4f), pad, 1.1f);
}

// The red "no" sign over a motif.
void NoSign(Pen& p, float r) {
  Path sign = Ring(0, 0, r, r, 2.8f);
  const float d = (r - 1.4f) * 0.7071f;
  for (auto& c : Stroke(Contour{{-d, -d}, {d, d}}, 2.8f)) sign.push_back(std::move(c));
  p.Shape(sign, Hex(0xF02828), 0.9f);
}

// Three columns of a magical field standing on the ground.
void Field(Pen& p, Col top, Col bottom) {
  for (float x : {-8.0f, 0.0f, 8.0f}) {
    const float h = x == 0 ? 14 : 11;
    p.Shape(RoundRect(x - 3, -h, 6, h + 10, 3), VGrad(Alpha(top, 0.75f), bottom, -h, 10), 0.9f);
    p.Fill(RoundRect(x - 1, -h + 2, 2, h + 6, 1), Hex(0xFFFFFF, 0.7f));
  }
  p.Fill(Ellipse(0, 10, 14, 2.5f), Hex(0x000000, 0.35f));
}

void Bolt(Pen& p) {
  const Contour bolt = Poly({{4, -14}, {-7, 1}, {-1, 1}, {-5, 14}, {8, -3}, {2, -3}, {7, -14}});
  p.Shape(bolt, VGrad(Hex(0xFFFFB0), Hex(0xFFC000), -14, 14), 1.1f);
}

// A glowing ball, `inner` in the middle fading to `outer`.
void Orb(Pen& p, float r, Col inner, Col outer) {
  p.Fill(Circle(0, 0, r * 1.45f), RGrad(Alpha(outer, 0.6f), Alpha(outer, 0), {0, 0}, r * 1.45f));
  p.Shape(Circle(0, 0, r), RGrad(inner, outer, {-r * 0.3f, -r * 0.3f}, r * 1.3f), 0.9f);
}

// A ball flying towards the lower left with its tail behind it.
void Comet(Pen& p, Col core, Col mid, Col tail) {
  const Paint fade = LGrad(Alpha(mid, 1), Alpha(tail, 0), {0, 0}, {17, -17});
  p.Fill(Taper({-3, 3}, {6, -4}, {17, -17}, 10, 12), fade);
  p.Fill(Taper({-3, 3}, {10, -1}, {18, -8}, 6, 8), fade);
  p.Fill(Taper({-3, 3}, {0, -8}, {8, -18}, 6, 8), fade);
  p.Fill(Taper({-3, 3}, {5, -5}, {12, -12}, 4, 6),
         LGrad(Alpha(core, 0.9f), Alpha(mid, 0), {0, 0}, {12, -12}));
  p.Shape(Circle(-3, 3, 7.5f), RGrad(core, mid, {-4, 4}, 9), 1.0f);
}

Contour BatShape() {
  return Poly({{0, -4},   {-1.5f, -6.5f}, {-2.5f, -3}, {-6, -6},     {-11, -7}, {-15, -3},
               {-12, -1}, {-11, 3},       {-8, 0},     {-6, 4},      {-3, 1},   {0, 5},
               {3, 1},    {6, 4},         {8, 0},      {11, 3},      {12, -1},  {15, -3},
               {11, -7},  {6, -6},        {2.5f, -3},  {1.5f, -6.5f}});
}

Contour HornShape(float side) {
  Contour c = Taper({side * 4, -4}, {side * 11, -7}, {side * 9, -15}, 5, 5);
  return c;
}

// ================================================================== the 64 spells

struct SpellRecipe {
  const char* name;  // for the reader; the order is the catalogue's
  void (*draw)(Pen&);
};

// Most symbols centre on (19, 18): the casts-left label covers the lower right corner.
const std::array<SpellRecipe, 64> kSpellRecipes{{
    // ---- circle 1
    {"Clumsy",
     [](Pen& p) {
       p.Frame(18, 20);
       Boot(p, false);
       DownBadge(p);
     }},
    {"Create Food",
     [](Pen& p) {
       p.Frame(19, 20);
       p.Line(Bez({0, -7}, {0, -11}, {2, -14}), 1.6f, Hex(0x6A3A12));
       p.Shape(Path{Circle(-4, 1, 8.5f), Circle(4, 1, 8.5f), Circle(0, 5, 7.5f)},
               RGrad(Hex(0xFF7060), Hex(0xA80E14), {-4, -3}, 14), 1.2f);
       p.Shape(Taper({1, -8}, {7, -14}, {11, -10}, 5), VGrad(Hex(0x9AF070), Hex(0x2E8A1E), -14, -7),
               0.9f);
       p.Fill(Ellipse(-6, -2, 1.8f, 3), Hex(0xFFFFFF, 0.75f));
     }},
    {"Feeblemind",
     [](Pen& p) {
       p.Frame(17, 21);
       Brain(p);
       p.Line(Contour{{1, -11}, {-1, -6}, {2, -2}, {-1, 3}, {1, 9}}, 1.3f, Hex(0x1A0A10), 0);
       DownBadge(p);
     }},
    {"Heal",
     [](Pen& p) {
       p.Frame(19, 18);
       RedCross(p, 11, 4);
     }},
    {"Magic Arrow",
     [](Pen& p) {
       p.Reset();
       p.Fill(Stroke(Contour{{8, 31}, {30, 9}}, 7), Hex(0xFFF0A0, 0.35f));
       p.Line(Contour{{8, 31}, {27, 12}}, 2.2f, Hex(0xFFE890));
       p.Shape(Poly({{33, 6}, {22, 10}, {30, 17}}), VGrad(kWhite, Hex(0xF0C040), 6, 17), 1.0f);
       p.Shape(Poly({{9, 30}, {4, 28}, {7, 25}, {12, 27}}), Hex(0xFF8A3A), 0.9f);
       p.Shape(Poly({{9, 30}, {11, 35}, {14, 32}, {12, 27}}), Hex(0xFF8A3A), 0.9f);
     }},
    {"Night Sight",
     [](Pen& p) {
       p.Frame(17, 22);
       Contour eye = Bez({-14, 0}, {0, -13}, {14, 0});
       for (Pt q : Bez({14, 0}, {0, 13}, {-14, 0})) eye.push_back(q);
       p.Shape(Positive(eye), VGrad(kWhite, Hex(0xC8D4E0), -7, 7), 1.2f);
       p.Fill(Circle(0, 0, 5.8f), RGrad(Hex(0x7FD8FF), Hex(0x0A3A8A), {-1, -1}, 7));
       p.Fill(Circle(0, 0, 2.6f), Hex(0x05050A));
       p.Fill(Circle(-1.8f, -1.8f, 1.2f), kWhite);
       p.Reset();
       p.Shape(Crescent(31, 8, 5.5f, 4, -45), VGrad(Hex(0xFFFBD0), Hex(0xF0C830), 2, 14), 0.9f);
     }},
    {"Reactive Armor",
     [](Pen& p) {
       p.Frame(19, 19);
       for (int i = 0; i < 8; ++i) {
         const float a = (i * 45.0f + 22.5f) * kPi / 180;
         const float c = std::cos(a), s = std::sin(a);
         p.Shape(Poly({{c * 17, s * 17},
                       {c * 9 - s * 3, s * 9 + c * 3},
                       {c * 9 + s * 3, s * 9 - c * 3}}),
                 Hex(0xFF7A20), 0.8f);
       }
       Shield(p, Hex(0x9AA4B4), Hex(0x4A5262));
       p.Shape(Star(0, -1, 5.5f, 2.4f, 6), Hex(0xFF8A30), 0.8f);
     }},
    {"Weaken",
     [](Pen& p) {
       p.Frame(17, 22);
       Barbell(p);
       DownBadge(p);
     }},

    // ---- circle 2
    {"Agility",
     [](Pen& p) {
       p.Frame(21, 20);
       Boot(p, true);
       UpBadge(p);
     }},
    {"Cunning",
     [](Pen& p) {
       p.Frame(17, 21);
       Brain(p);
       Sparkle(p, 9, -9, 5, Hex(0xFFF6A0));
       UpBadge(p);
     }},
    {"Cure",
     [](Pen& p) {
       p.Frame(19, 20);
       Bottle(p, Hex(0xFF9A1E));
     }},
    {"Harm",
     [](Pen& p) {
       p.Reset();
       const Paint blood = VGrad(Hex(0xFF6A5A), Hex(0xA00810), 5, 32);
       // Three claw marks torn diagonally, each with a dark gash down its middle.
       const Pt marks[3][3] = {{{6, 12}, {13, 20}, {15, 33}},
                               {{13, 5}, {20, 15}, {23, 30}},
                               {{21, 4}, {28, 12}, {32, 24}}};
       for (const auto& m : marks) {
         p.Shape(Taper(m[0], m[1], m[2], 4.2f), blood, 1.0f);
         p.Fill(Taper(m[0], m[1], m[2], 1.4f), Hex(0x4A0004));
       }
     }},
    {"Magic Trap",
     [](Pen& p) {
       p.Frame(18, 22);
       Chest(p);
       p.Frame(27, 10);
       p.Shape(Star(0, 0, 8, 3.2f, 8, -90), RGrad(Hex(0xFFF0A0), Hex(0xF02010), {0, 0}, 8), 0.9f);
     }},
    {"Magic Untrap",
     [](Pen& p) {
       p.Frame(18, 22);
       Chest(p);
       p.Reset();
       p.Line(Contour{{20, 10}, {25, 15}, {35, 3}}, 3.2f, Hex(0x40F050), 1.2f);
     }},
    {"Protection",
     [](Pen& p) {
       p.Frame(19, 19);
       Shield(p, Hex(0x3A7AF0), kGold);
       p.Shape(Star(0, -1.5f, 5.5f, 2.2f, 5), Hex(0xFFFFFF), 0);
     }},
    {"Strength",
     [](Pen& p) {
       p.Frame(17, 22);
       Barbell(p);
       UpBadge(p);
     }},

    // ---- circle 3
    {"Bless",
     [](Pen& p) {
       p.Frame(19, 19);
       p.Fill(Circle(0, 0, 15), RGrad(Hex(0xFFF4B0, 0.9f), Hex(0xFFD040, 0), {0, 0}, 15));
       p.Shape(Star(0, 0, 14, 3.5f, 4), VGrad(kWhite, kGold, -14, 14), 1.0f);
       p.Shape(Star(0, 0, 8, 2.5f, 4, -45), Hex(0xFFF6C0), 0.8f);
       Sparkle(p, 9, -10, 3);
       Sparkle(p, -10, 9, 3);
     }},
    {"Fireball",
     [](Pen& p) {
       p.Frame(15, 24);
       Comet(p, Hex(0xFFFFC0), Hex(0xFF8A10), Hex(0xE01000));
     }},
    {"Magic Lock",
     [](Pen& p) {
       p.Frame(19, 19);
       Padlock(p);
     }},
    {"Poison",
     [](Pen& p) {
       p.Frame(18, 22);
       p.Shape(DropShape(8.5f), RGrad(Hex(0xC8FF70), Hex(0x1E8A10), {-3, -2}, 12), 1.2f);
       p.Fill(Ellipse(-3.5f, 0, 1.6f, 3), Hex(0xFFFFFF, 0.7f));
       p.Shape(Circle(10, -12, 2.5f), Hex(0x9AF050), 0.9f);
       p.Shape(Circle(13, -6, 1.7f), Hex(0x9AF050), 0.9f);
     }},
    {"Telekinesis",
     [](Pen& p) {
       p.Frame(19, 13);
       const Paint wood = VGrad(Hex(0xD49A5A), Hex(0x7A4A1E), -7, 7);
       p.Shape(Rect(-7, -7, 14, 14), wood, 1.1f);
       p.Line(Contour{{-7, -7}, {7, 7}}, 1.4f, Hex(0x5A3410), 0);
       p.Line(Contour{{-7, 7}, {7, -7}}, 1.4f, Hex(0x5A3410), 0);
       const Col force = Hex(0xE89AFF);
       // Waves of force rising from below.
       p.Line(Arc(0, 24, 4, 3, 215, 325), 1.8f, force, 0.9f);
       p.Line(Arc(0, 24, 8.5f, 6, 220, 320), 1.8f, force, 0.9f);
       p.Line(Arc(0, 24, 13, 9, 225, 315), 1.8f, force, 0.9f);
     }},
    {"Teleport",
     [](Pen& p) {
       p.Reset();
       p.Line(Ellipse(10, 31, 6, 2.5f), 1.6f, Hex(0x9AD8FF), 0.8f, true);
       const Contour arc = Bez({10, 28}, {14, 2}, {30, 12}, 14);
       for (size_t i = 0; i + 1 < arc.size(); i += 2) {
         p.Line(Contour{arc[i], arc[i + 1]}, 2.2f, kWhite, 0.9f);
       }
       p.Shape(Poly({{34, 15}, {25, 15}, {31, 8}}), kWhite, 0.9f);
       p.Fill(Ellipse(30, 21, 6, 2.5f), Hex(0xBFEAFF, 0.9f));
       Sparkle(p, 30, 18, 3.5f);
     }},
    {"Unlock",
     [](Pen& p) {
       p.Frame(19, 18);
       Key(p);
     }},
    {"Wall of Stone",
     [](Pen& p) {
       p.Reset();
       const Paint stone = VGrad(Hex(0xC8C4BC), Hex(0x707070), 6, 32);
       for (int row = 0; row < 4; ++row) {
         const float y = 6 + row * 6.5f;
         const float shift = row % 2 ? -5 : 0;
         for (int col = 0; col < 4; ++col) {
           const float x = 4 + shift + col * 10.5f;
           const float x0 = std::max(4.0f, x), x1 = std::min(35.0f, x + 9.5f);
           if (x1 - x0 < 3) continue;
           p.Shape(RoundRect(x0, y, x1 - x0, 5.5f, 1.2f), stone, 0.9f);
         }
       }
     }},

    // ---- circle 4
    {"Arch Cure",
     [](Pen& p) {
       p.Frame(19, 19);
       p.Line(Arc(0, 0, 15, 15, 0, 360), 1.2f, Hex(0xFFE890, 0.8f), 0);
       for (int i = 0; i < 8; ++i) {
         const float a = i * kPi / 4;
         Sparkle(p, 15 * std::cos(a), 15 * std::sin(a), 3, Hex(0xFFF6C0));
       }
       p.Frame(19, 20, 0.8f);
       Bottle(p, Hex(0xFF9A1E));
     }},
    {"Arch Protection",
     [](Pen& p) {
       p.Frame(14, 16, 0.8f);
       Shield(p, Hex(0x3A7AF0), kGold);
       p.Frame(24, 22, 0.8f);
       Shield(p, Hex(0x3A7AF0), kGold);
       p.Shape(Star(0, -1.5f, 5.5f, 2.2f, 5), Hex(0xFFFFFF), 0);
     }},
    {"Curse",
     [](Pen& p) {
       p.Frame(19, 19);
       p.Fill(Circle(0, 0, 16), RGrad(Hex(0x9A30D0, 0.9f), Hex(0x5A107A, 0), {0, 0}, 16));
       Skull(p);
       DownBadge(p);
     }},
    {"Fire Field",
     [](Pen& p) {
       p.Frame(19, 29);
       p.Fill(Ellipse(0, 0, 16, 3), Hex(0x200800, 0.5f));
       for (float x : {-10.0f, 10.0f, 0.0f}) {
         p.Frame(19 + x, x == 0 ? 18 : 21, x == 0 ? 0.8f : 0.6f);
         Flame(p);
       }
     }},
    {"Greater Heal",
     [](Pen& p) {
       p.Frame(19, 19);
       p.Fill(Circle(0, 0, 17), RGrad(Hex(0xFFF8C0, 0.95f), Hex(0xFFD040, 0), {0, 0}, 17));
       RedCross(p, 13, 4.5f);
       Sparkle(p, 11, -11, 4);
       Sparkle(p, -11, -11, 3);
     }},
    {"Lightning",
     [](Pen& p) {
       p.Frame(19, 19);
       p.Fill(Circle(0, 0, 15), RGrad(Hex(0xFFFFA0, 0.6f), Hex(0xFFFF00, 0), {0, 0}, 15));
       Bolt(p);
     }},
    {"Mana Drain",
     [](Pen& p) {
       p.Frame(16, 18);
       p.Shape(DropShape(8), RGrad(Hex(0xA8E0FF), Hex(0x1030B0), {-3, -3}, 12), 1.2f);
       p.Fill(Ellipse(-3, -1, 1.4f, 2.6f), Hex(0xFFFFFF, 0.7f));
       p.Reset();
       p.Line(Contour{{24, 14}, {30, 8}}, 2.4f, Hex(0xFF5050), 1.0f);
       p.Shape(Poly({{35, 3}, {26, 5}, {33, 12}}), Hex(0xFF5050), 1.0f);
       p.Fill(Circle(10, 32, 1.6f), Hex(0x60A0FF));
       p.Fill(Circle(16, 34, 1.2f), Hex(0x60A0FF));
     }},
    {"Recall",
     [](Pen& p) {
       p.Frame(20, 21);
       RuneStone(p, Hex(0x80F0FF));
       p.Reset();
       p.Line(Arc(18, 16, 13, 12, 200, 300), 2.2f, kWhite, 1.0f);
       p.Shape(Poly({{2, 13}, {9, 13}, {4, 20}}), kWhite, 0.9f);
     }},

    // ---- circle 5
    {"Blade Spirits",
     [](Pen& p) {
       p.Frame(19, 19);
       for (int i = 0; i < 3; ++i) {
         const float r = i * 120.0f;
         p.Shape(Rotate(Taper({0, -2}, {8, -8}, {15, 2}, 5.5f, 3), r, {0, 0}),
                 LGrad(kWhite, kDeepSteel, {0, -8}, {6, 6}), 1.0f);
       }
       p.Shape(Circle(0, 0, 3), Hex(0xFFD24A), 0.9f);
     }},
    {"Dispel Field",
     [](Pen& p) {
       p.Frame(19, 19);
       Field(p, Hex(0x90D8FF), Hex(0x2050E0));
       NoSign(p, 14);
     }},
    {"Incognito",
     [](Pen& p) {
       p.Frame(19, 18);
       Path mask{Smooth({{-15, -5},
                         {-8, -8},
                         {0, -5},
                         {8, -8},
                         {15, -5},
                         {14, 3},
                         {8, 6},
                         {3, 4},
                         {0, 1},
                         {-3, 4},
                         {-8, 6},
                         {-14, 3}},
                        2)};
       mask.push_back(Reversed(Ellipse(-6.5f, -1.5f, 3.2f, 2.2f)));
       mask.push_back(Reversed(Ellipse(6.5f, -1.5f, 3.2f, 2.2f)));
       p.Shape(mask, VGrad(Hex(0xB070E0), Hex(0x4A1880), -8, 6), 1.2f);
       p.Line(Contour{{-15, -4}, {-17, 4}}, 1.5f, Hex(0xE8C8FF), 0.8f);
       p.Line(Contour{{15, -4}, {17, 4}}, 1.5f, Hex(0xE8C8FF), 0.8f);
       p.Fill(Ellipse(-8, -5, 3, 1), Hex(0xFFFFFF, 0.5f));
     }},
    {"Magic Reflection",
     [](Pen& p) {
       p.Frame(18, 16);
       p.Line(Contour{{0, 10}, {0, 19}}, 3.4f, VGrad(Hex(0xE0A858), Hex(0x8A5418), 10, 19));
       p.Shape(Ellipse(0, 0, 10, 12), LGrad(Hex(0xFFE88A), Hex(0xA06810), {-8, -10}, {8, 10}),
               1.1f);
       p.Fill(Ellipse(0, 0, 7.8f, 9.8f), LGrad(Hex(0xF0FCFF), Hex(0x6AA8D8), {-6, -8}, {6, 8}));
       p.Fill(Poly({{-5, -4}, {-1, -8}, {1, -7}, {-4, -2}}), Hex(0xFFFFFF, 0.9f));
       p.Reset();
       p.Line(Contour{{36, 4}, {26, 13}, {36, 22}}, 1.8f, Hex(0xFF60E0), 0.9f);
     }},
    {"Mind Blast",
     [](Pen& p) {
       p.Frame(19, 19);
       p.Shape(Star(0, 0, 17, 9, 9, -80), RGrad(Hex(0xFFF8A0), Hex(0xFF7A10), {0, 0}, 17), 1.0f);
       p.Frame(19, 19, 0.72f);
       Brain(p);
     }},
    {"Paralyze",
     [](Pen& p) {
       p.Reset();
       const Paint steel = LGrad(kSteel, kDeepSteel, {0, 0}, {40, 40});
       const Pt links[] = {{9, 30}, {16, 23}, {23, 16}, {30, 9}};
       for (int i = 0; i < 4; ++i) {
         const Pt c = links[i];
         if (i % 2 == 0) {
           Path ring = Ring(c.x, c.y, 7.5f, 4.5f, 2.6f);
           for (auto& q : ring) q = Rotate(q, -45, c);
           p.Shape(ring, steel, 1.0f);
         } else {
           p.Line(Contour{{c.x - 5, c.y + 5}, {c.x + 5, c.y - 5}}, 3.2f, steel, 1.0f);
         }
       }
     }},
    {"Poison Field",
     [](Pen& p) {
       p.Frame(19, 19);
       Field(p, Hex(0xC8FF70), Hex(0x1E8A10));
       p.Fill(Circle(-4, -12, 2), Hex(0xC8FF70));
       p.Fill(Circle(5, -16, 1.5f), Hex(0xC8FF70));
       p.Fill(Circle(11, -13, 1.6f), Hex(0xC8FF70));
     }},
    {"Summon Creature",
     [](Pen& p) {
       p.Frame(19, 19);
       Paw(p);
     }},

    // ---- circle 6
    {"Dispel",
     [](Pen& p) {
       p.Frame(19, 19, 0.85f);
       Paw(p);
       p.Frame(19, 19);
       NoSign(p, 15);
     }},
    {"Energy Bolt",
     [](Pen& p) {
       p.Frame(16, 23);
       Comet(p, Hex(0xFFFFFF), Hex(0x40C8FF), Hex(0x3020E0));
       p.Reset();
       p.Line(Contour{{20, 19}, {23, 17}, {22, 14}, {26, 12}}, 1.0f, kWhite, 0);
     }},
    {"Explosion",
     [](Pen& p) {
       p.Frame(19, 19);
       p.Shape(Star(0, 0, 17, 8, 11, -90), RGrad(Hex(0xFFE060), Hex(0xE02810), {0, 0}, 17), 1.0f);
       p.Fill(Star(0, 0, 10, 5, 9, -70), Hex(0xFFF0A0));
       p.Fill(Circle(0, 0, 4), kWhite);
     }},
    {"Invisibility",
     [](Pen& p) {
       p.Frame(19, 19);
       Contour body = Arc(0, 14, 11, 13, 180, 360);
       Contour outline = Arc(0, -6, 6, 6, 0, 360);
       p.Fill(Path{Positive(body), Circle(0, -6, 6)}, Hex(0xFFFFFF, 0.25f));
       const Col dash = Hex(0xFFFFFF, 0.95f);
       for (const Contour* c : {&body, &outline}) {
         for (size_t i = 0; i + 1 < c->size(); i += 2) {
           p.Line(Contour{(*c)[i], (*c)[i + 1]}, 1.6f, dash, 0);
         }
       }
       Sparkle(p, 11, -10, 3.5f);
       Sparkle(p, -11, -2, 2.5f);
     }},
    {"Mark",
     [](Pen& p) {
       p.Frame(17, 22);
       RuneStone(p, Hex(0xFF8A40));
       p.Reset();
       p.Shape(Taper({22, 19}, {29, 9}, {37, 2}, 6, 1), VGrad(kWhite, Hex(0xC0C8D8), 2, 19), 1.0f);
       p.Line(Contour{{22, 19}, {33, 6}}, 0.7f, Hex(0x8090A8), 0);
     }},
    {"Mass Curse",
     [](Pen& p) {
       p.Frame(19, 19);
       p.Fill(Circle(0, 0, 17), RGrad(Hex(0x9A30D0, 0.9f), Hex(0x5A107A, 0), {0, 0}, 17));
       p.Frame(11, 13, 0.62f);
       Skull(p);
       p.Frame(27, 13, 0.62f);
       Skull(p);
       p.Frame(19, 25, 0.62f);
       Skull(p);
     }},
    {"Paralyze Field",
     [](Pen& p) {
       p.Frame(19, 19);
       Field(p, Hex(0xFFFFD0), Hex(0xE0C020));
       const Paint steel = LGrad(kSteel, kDeepSteel, {0, -4}, {0, 4});
       for (float x : {-10.0f, 0.0f, 10.0f}) p.Shape(Ring(x, 0, 4.5f, 3, 1.8f), steel, 0.9f);
       for (float x : {-5.0f, 5.0f}) p.Line(Contour{{x - 3, 0}, {x + 3, 0}}, 2, steel, 0.9f);
     }},
    {"Reveal",
     [](Pen& p) {
       p.Frame(16, 16);
       p.Line(Contour{{8, 8}, {17, 17}}, 4.2f, VGrad(Hex(0xC08040), Hex(0x603010), 8, 17), 1.1f);
       p.Fill(Circle(0, 0, 8.5f), Hex(0xC0F0FF, 0.55f));
       p.Shape(Ring(0, 0, 10, 10, 2.4f), LGrad(Hex(0xFFE88A), Hex(0xA06810), {-8, -8}, {8, 8}),
               1.0f);
       Sparkle(p, -2, -2, 5);
     }},

    // ---- circle 7
    {"Chain Lightning",
     [](Pen& p) {
       p.Frame(13, 16, 0.7f);
       Bolt(p);
       p.Frame(27, 14, 0.7f);
       Bolt(p);
       p.Frame(20, 26, 0.6f);
       Bolt(p);
     }},
    {"Energy Field",
     [](Pen& p) {
       p.Frame(19, 19);
       Field(p, Hex(0xC0F0FF), Hex(0x2040E0));
       p.Line(Contour{{-11, -4}, {-4, -8}, {-1, -2}, {5, -7}, {11, -2}}, 1.1f, kWhite, 0.8f);
     }},
    {"Flamestrike",
     [](Pen& p) {
       p.Frame(19, 29);
       p.Fill(Ellipse(0, 0, 14, 3.5f), RGrad(Hex(0xFFE080), Hex(0xC02000, 0.2f), {0, 0}, 14));
       p.Reset();
       p.Fill(Poly({{13, 2}, {25, 2}, {23, 28}, {15, 28}}),
              VGrad(Hex(0xFFF0A0, 0), Hex(0xFFB020, 0.9f), 2, 20));
       Contour tall = FlameShape();
       for (Pt& q : tall) q = {19 + q.x * 0.85f, 19 + q.y * 1.25f};
       p.Shape(tall, VGrad(Hex(0xFFF0A0), Hex(0xE02810), 0, 32), 1.0f);
       for (Pt& q : tall) q = {19 + (q.x - 19) * 0.45f, 26 + (q.y - 19) * 0.55f};
       p.Fill(tall, Hex(0xFFFFE0));
     }},
    {"Gate Travel",
     [](Pen& p) {
       p.Frame(19, 19);
       p.Fill(Ellipse(0, 14, 13, 3), Hex(0x000010, 0.45f));
       p.Fill(Ellipse(0, 0, 14, 17), RGrad(Hex(0x80C8FF, 0.8f), Hex(0x2040FF, 0), {0, 0}, 17));
       p.Shape(Ellipse(0, 0, 9, 14), RGrad(Hex(0xFFFFFF), Hex(0x1850F0), {0, -2}, 13), 1.1f);
       p.Line(Arc(0, 0, 6, 10, 200, 330), 1.0f, Hex(0xFFFFFF, 0.8f), 0);
     }},
    {"Mana Vampire",
     [](Pen& p) {
       p.Frame(19, 20);
       Orb(p, 9, Hex(0xC0F0FF), Hex(0x1030C0));
       p.Frame(19, 12, 0.95f);
       p.Shape(BatShape(), VGrad(Hex(0x4A3A5A), Hex(0x100818), -7, 5), 0.9f);
       p.Fill(Circle(-1, -3, 0.8f), Hex(0xFF3030));
       p.Fill(Circle(1, -3, 0.8f), Hex(0xFF3030));
     }},
    {"Mass Dispel",
     [](Pen& p) {
       p.Frame(12, 14, 0.5f);
       Paw(p);
       p.Frame(26, 14, 0.5f);
       Paw(p);
       p.Frame(19, 25, 0.5f);
       Paw(p);
       p.Frame(19, 19);
       NoSign(p, 16.5f);
     }},
    {"Meteor Swarm",
     [](Pen& p) {
       const Pt at[] = {{10, 29}, {25, 21}, {13, 14}};
       const float size[] = {0.7f, 0.55f, 0.5f};
       for (int i = 0; i < 3; ++i) {
         p.Frame(at[i].x, at[i].y, size[i]);
         Comet(p, Hex(0x8A5030), Hex(0xFF8A10), Hex(0xD01000));
       }
     }},
    {"Polymorph",
     [](Pen& p) {
       p.Frame(19, 19);
       const Col turn = Hex(0xFFC040);
       p.Line(Arc(0, 0, 13, 13, 200, 330), 2.6f, turn, 1.0f);
       p.Line(Arc(0, 0, 13, 13, 20, 150), 2.6f, turn, 1.0f);
       p.Shape(Poly({{13.5f, -11}, {15.5f, -1}, {7, -4}}), turn, 1.0f);
       p.Shape(Poly({{-13.5f, 11}, {-15.5f, 1}, {-7, 4}}), turn, 1.0f);
       p.Shape(Circle(-3.5f, -2, 4.2f), Hex(0x60E060), 0.9f);
       p.Shape(Poly({{1, 6}, {5, -2}, {9, 6}}), Hex(0x60B0FF), 0.9f);
     }},

    // ---- circle 8
    {"Earthquake",
     [](Pen& p) {
       // The ground split in two, the right half thrown up.
       p.Reset();
       const Paint earth = VGrad(Hex(0xC89A60), Hex(0x5A3818), 17, 35);
       p.Shape(Poly({{3, 21}, {19, 19}, {17, 23}, {20, 27}, {18, 31}, {19, 35}, {3, 35}}), earth,
               1.0f);
       p.Shape(Poly({{22, 16}, {37, 16}, {37, 32}, {22, 33}, {21, 29}, {23, 25}, {20, 21}}), earth,
               1.0f);
       p.Line(Contour{{4, 21.5f}, {18, 19.5f}}, 2.2f, Hex(0x8AD060), 0);
       p.Line(Contour{{22.5f, 16.8f}, {36, 16.8f}}, 2.2f, Hex(0x8AD060), 0);
       const Col shake = Hex(0xFFFFFF, 0.9f);
       p.Line(Contour{{6, 8}, {9, 13}}, 1.5f, shake, 0);
       p.Line(Contour{{12, 4}, {13, 11}}, 1.5f, shake, 0);
       p.Line(Contour{{28, 4}, {27, 11}}, 1.5f, shake, 0);
       p.Line(Contour{{34, 8}, {31, 13}}, 1.5f, shake, 0);
       p.Shape(Poly({{19, 8}, {22, 7}, {23, 10}, {20, 11}}), Hex(0xA07850), 0.8f);
     }},
    {"Energy Vortex",
     [](Pen& p) {
       p.Frame(19, 19);
       p.Fill(Circle(0, 0, 16), RGrad(Hex(0xE0A0FF, 0.9f), Hex(0x6020C0, 0), {0, 0}, 16));
       Contour spiral;
       for (int i = 0; i <= 80; ++i) {
         const float t = i / 80.0f * 3.2f * kPi;
         const float r = 1 + 4.5f * t / kPi;
         spiral.push_back({r * std::cos(t), r * std::sin(t)});
       }
       p.Line(spiral, 2.2f, Hex(0xF4E0FF), 1.0f);
       p.Fill(Circle(0, 0, 1.8f), kWhite);
     }},
    {"Resurrection",
     [](Pen& p) {
       p.Frame(19, 19);
       for (int i = 0; i < 12; ++i) {
         const float a = i * kPi / 6;
         p.Line(Contour{{10 * std::cos(a), 10 * std::sin(a)}, {17 * std::cos(a), 17 * std::sin(a)}},
                1.2f, Hex(0xFFF0A0, 0.7f), 0);
       }
       const Paint gold = LGrad(Hex(0xFFF0A0), Hex(0xC08010), {-8, -14}, {8, 14});
       p.Shape(Path{Ellipse(0, -8, 5, 6.5f), Reversed(Ellipse(0, -8, 2.4f, 3.8f)),
                    Rect(-2, -2, 4, 17), Rect(-10, -2.5f, 20, 4)},
               gold, 1.1f);
     }},
    {"Air Elemental",
     [](Pen& p) {
       p.Frame(19, 19);
       const Col wind = Hex(0xF0FAFF);
       const float w[] = {15, 12.5f, 10, 7.5f, 5, 3};
       for (int i = 0; i < 6; ++i) {
         const float y = -13 + i * 5.2f;
         const float x = (i % 2 ? 1.5f : -1.5f);
         p.Line(Arc(x, y, w[i], 2.2f, 0, 360), 1.8f, Alpha(wind, 0.95f - i * 0.05f), 0.9f, true);
       }
       Eyes(p, -7, Hex(0x80F0FF));
     }},
    {"Summon Daemon",
     [](Pen& p) {
       p.Frame(19, 21);
       const Paint horn = VGrad(Hex(0xFFF4D8), Hex(0x8A7A60), -15, -4);
       p.Shape(HornShape(-1), horn, 1.0f);
       p.Shape(HornShape(1), horn, 1.0f);
       p.Shape(Smooth({{-9, -6}, {0, -9}, {9, -6}, {9, 3}, {3, 11}, {0, 12}, {-3, 11}, {-9, 3}}, 2),
               VGrad(Hex(0xF04030), Hex(0x701010), -9, 12), 1.2f);
       p.Fill(Poly({{-7, -2}, {-2, 0}, {-6, 1}}), Hex(0xFFF040));
       p.Fill(Poly({{7, -2}, {2, 0}, {6, 1}}), Hex(0xFFF040));
       p.Line(Bez({-4, 6}, {0, 8}, {4, 6}), 1.1f, Hex(0x200000), 0);
     }},
    {"Earth Elemental",
     [](Pen& p) {
       p.Frame(19, 19);
       const Paint rock = LGrad(Hex(0xD0A878), Hex(0x4A3018), {-8, -12}, {8, 12});
       p.Shape(
           Poly({{-13, -5}, {-6, -14}, {5, -13}, {13, -5}, {12, 7}, {4, 13}, {-8, 12}, {-14, 3}}),
           rock, 1.2f);
       p.Fill(Poly({{-6, -14}, {5, -13}, {2, -8}, {-5, -9}}), Hex(0xFFE8C0, 0.35f));
       p.Line(Contour{{-13, -5}, {-5, -9}, {2, -8}, {13, -5}}, 0.8f, Hex(0x3A2410, 0.8f), 0);
       p.Line(Contour{{-5, 12}, {-3, 6}, {1, 4}, {4, 8}}, 0.9f, Hex(0x3A2410), 0);
       p.Shape(Poly({{-15, 8}, {-11, 6}, {-9, 11}, {-14, 13}}), rock, 0.9f);
       p.Shape(Poly({{13, 9}, {17, 8}, {17, 12}, {14, 13}}), rock, 0.9f);
       Eyes(p, -3, Hex(0xFFB030));
     }},
    {"Fire Elemental",
     [](Pen& p) {
       p.Frame(19, 21, 1.05f);
       Flame(p);
       Eyes(p, -1, Hex(0xFFFF80));
     }},
    {"Water Elemental",
     [](Pen& p) {
       p.Frame(19, 21);
       p.Shape(Smooth({{-13, 10},
                       {-12, -2},
                       {-5, -11},
                       {4, -13},
                       {11, -8},
                       {6, -8},
                       {3, -4},
                       {7, 0},
                       {12, 4},
                       {13, 10}},
                      2),
               VGrad(Hex(0x90E0FF), Hex(0x0838A8), -13, 10), 1.2f);
       p.Line(Bez({-10, 2}, {-8, -7}, {1, -10}), 1.2f, Hex(0xFFFFFF, 0.8f), 0);
       p.Line(Bez({-9, 8}, {0, 4}, {11, 8}), 1.0f, Hex(0xC0F0FF, 0.8f), 0);
       Eyes(p, -2, Hex(0xE0FFFF));
     }},
}};

// ------------------------------------------------------------------ circles

// The colour of each circle, from green for the first to black and silver for the eighth.
constexpr std::array<uint32_t, 8> kCircleColors{0x4FA03A, 0x1E9C9C, 0x2864E6, 0x8C3CD2,
                                                0xDC4696, 0xD22828, 0xEB9614, 0x3A3848};

void DrawBackground(Pen& p, int circle) {
  const Col base = Hex(kCircleColors[static_cast<size_t>(circle)]);
  p.Reset();
  p.Fill(Rect(0, 0, 40, 40), RGrad(Lighter(base, 0.2f), Darker(base, 0.45f), {19, 16}, 30));
}

// Drawn over the symbol, so that the frame stays whole.
void DrawFrame(Pen& p, int circle) {
  const Col base = Hex(kCircleColors[static_cast<size_t>(circle)]);
  p.Reset();
  Col frame = Lighter(base, 0.3f);
  if (circle == 7) frame = Hex(0xC8CDDC);  // the deepest circle: a silver frame
  p.Fill(Path{Rect(0, 0, 40, 40), Reversed(Rect(1, 1, 38, 38))}, Darker(base, 0.7f));
  p.Fill(Path{Rect(1, 1, 38, 38), Reversed(Rect(2, 2, 36, 36))}, frame);
}

Canvas RenderSpell(int index) {
  Canvas canvas(kSpellIconSize, kSpellIconSize);
  Pen pen(canvas);
  DrawBackground(pen, index / 8);
  kSpellRecipes[static_cast<size_t>(index)].draw(pen);
  DrawFrame(pen, index / 8);
  return canvas;
}

// ================================================================== the 8 reagents

// Each drawn on a transparent 25 x 23 canvas, centred on (12.5, 11.5).
const std::array<void (*)(Pen&), 8> kReagentRecipes{{
    // BP: a black pearl with a blue sheen.
    [](Pen& p) {
      p.Frame(12.5f, 12);
      p.Fill(Ellipse(0, 9, 8, 1.6f), Hex(0x000000, 0.25f));
      p.Shape(Circle(0, 0, 9), RGrad(Hex(0x8A90B8), Hex(0x06060C), {-3, -3}, 11), 0.8f);
      p.Fill(Ellipse(-3.5f, -4, 2.6f, 1.6f), Hex(0xFFFFFF, 0.9f));
      p.Line(Arc(0, 0, 7.2f, 7.2f, 20, 110), 1.2f, Hex(0x8090FF, 0.45f), 0);
    },
    // BM: a tuft of blood-red moss.
    [](Pen& p) {
      p.Frame(12.5f, 12);
      Path tuft{Ellipse(0, 5, 10, 5)};
      for (int i = 0; i < 9; ++i) {  // fronds fanning out of the clump
        const float a = (-160 + i * 17.5f) * kPi / 180;
        tuft.push_back(Taper({0, 6}, {5 * std::cos(a), 2 + 4 * std::sin(a)},
                             {11 * std::cos(a), 5 + 13 * std::sin(a)}, 3.2f, 3));
      }
      p.Shape(tuft, RGrad(Hex(0xF05050), Hex(0x5A0008), {0, -2}, 13), 0.9f);
      const Col vein = Hex(0x3A0004, 0.8f);
      for (float x : {-5.0f, 0.0f, 5.0f})
        p.Line(Bez({x * 0.4f, 8}, {x, 4}, {x * 1.4f, -2}), 0.5f, vein, 0);
    },
    // GL: a garlic bulb.
    [](Pen& p) {
      p.Frame(12.5f, 12);
      p.Line(Contour{{-2, 9}, {-3, 11}}, 0.8f, Hex(0xA09070), 0);
      p.Line(Contour{{0, 9}, {0, 11}}, 0.8f, Hex(0xA09070), 0);
      p.Line(Contour{{2, 9}, {3, 11}}, 0.8f, Hex(0xA09070), 0);
      p.Shape(
          Smooth({{0, -11}, {2, -6}, {8, -1}, {8, 6}, {3, 9}, {-3, 9}, {-8, 6}, {-8, -1}, {-2, -6}},
                 2),
          LGrad(kWhite, Hex(0xC8BCA8), {-4, -4}, {6, 8}), 0.9f);
      const Col seam = Hex(0xA89880);
      p.Line(Bez({0, -5}, {-6, 1}, {-2, 8.5f}), 0.7f, seam, 0);
      p.Line(Bez({0, -5}, {6, 1}, {2, 8.5f}), 0.7f, seam, 0);
      p.Line(Bez({0, -5}, {0, 2}, {0, 9}), 0.6f, seam, 0);
      p.Fill(Ellipse(-4, 0, 1.2f, 2.6f), Hex(0xFFFFFF, 0.9f));
    },
    // GS: a pale forked ginseng root with its red berries.
    [](Pen& p) {
      p.Frame(12.5f, 12);
      const Paint root = LGrad(Hex(0xFFEAC0), Hex(0xC09050), {-4, -4}, {4, 10});
      p.Shape(Path{Taper({0, -4}, {-1, 2}, {-6, 11}, 5, 6),
                   Taper({0, -4}, {2, 3}, {6, 10}, 4.5f, 6), Ellipse(0, -1, 3.5f, 5)},
              root, 0.8f);
      p.Line(Contour{{-1, -1}, {1, 0}}, 0.5f, Hex(0x9A7040), 0);
      p.Line(Contour{{-1, 3}, {1, 3.5f}}, 0.5f, Hex(0x9A7040), 0);
      p.Line(Bez({0, -6}, {0, -9}, {3, -10}), 1, Hex(0x2E8A1E), 0.6f);
      p.Shape(Path{Circle(3, -9, 1.9f), Circle(6, -8, 1.9f), Circle(4.5f, -11, 1.9f)},
              Hex(0xE82020), 0.7f);
      p.Shape(Taper({0, -6}, {-5, -10}, {-9, -8}, 3.5f), Hex(0x40B030), 0.6f);
    },
    // MR: a dark, gnarled mandrake root under broad leaves.
    [](Pen& p) {
      p.Frame(12.5f, 12);
      const Paint root = LGrad(Hex(0xB07848), Hex(0x4A2810), {-4, -2}, {4, 11});
      p.Shape(Path{Ellipse(0, 1, 4.5f, 5.5f), Taper({-1, 3}, {-4, 7}, {-8, 11}, 4, 4),
                   Taper({1, 3}, {4, 8}, {4, 11.5f}, 4, 4),
                   Taper({-3, 0}, {-7, 1}, {-10, 4}, 2.5f, 2.5f)},
              root, 0.8f);
      p.Fill(Circle(-1.5f, 0, 0.7f), Hex(0x1A0A04));
      p.Fill(Circle(1.5f, 0, 0.7f), Hex(0x1A0A04));
      const Paint leaf = VGrad(Hex(0x80D850), Hex(0x1E6A14), -11, -4);
      p.Shape(Taper({0, -4}, {-6, -7}, {-9, -12}, 5), leaf, 0.7f);
      p.Shape(Taper({0, -4}, {6, -7}, {9, -12}, 5), leaf, 0.7f);
      p.Shape(Taper({0, -4}, {-1, -8}, {1, -12}, 4.5f), leaf, 0.7f);
    },
    // NS: a purple nightshade flower with a dark berry.
    [](Pen& p) {
      p.Frame(11, 11);
      p.Line(Bez({7, 11}, {8, 5}, {5, 2}), 1.1f, Hex(0x2E7A1E), 0.6f);
      p.Shape(Circle(7.5f, 7, 3.2f), RGrad(Hex(0x9070C0), Hex(0x1A0830), {6.5f, 6}, 4), 0.8f);
      Path petals;
      for (int i = 0; i < 5; ++i) {
        petals.push_back(Rotate(Ellipse(0, -5, 3.2f, 5), i * 72.0f, {0, 0}));
      }
      p.Shape(petals, RGrad(Hex(0xE0A0FF), Hex(0x6018A0), {0, 0}, 10), 0.8f);
      p.Shape(Star(0, 0, 3, 1.2f, 5), Hex(0xFFE030), 0.5f);
      p.Fill(Circle(6.5f, 6, 0.9f), Hex(0xFFFFFF, 0.8f));
    },
    // SA: a heap of yellow sulphurous ash.
    [](Pen& p) {
      p.Frame(12.5f, 12);
      p.Shape(Smooth({{-12, 9}, {-8, 2}, {-3, -7}, {1, -7}, {4, -1}, {7, -3}, {10, 2}, {12, 9}}, 2),
              VGrad(Hex(0xFFF080), Hex(0xB08A10), -7, 9), 0.9f);
      const Col speck = Hex(0x806000);
      for (Pt q : {Pt{-5, 5}, Pt{-1, 1}, Pt{3, 4}, Pt{0, 7}, Pt{6, 7}, Pt{-7, 8}, Pt{2, -3}}) {
        p.Fill(Circle(q.x, q.y, 0.6f), speck);
      }
      p.Fill(Ellipse(-2, -3, 1.5f, 2.5f), Hex(0xFFFFE0, 0.8f));
    },
    // SS: spider's silk, a white web.
    [](Pen& p) {
      p.Frame(12.5f, 11.5f);
      const Col silk = Hex(0xFFFFFF);
      p.ink = Hex(0x505868, 0.85f);
      for (int i = 0; i < 8; ++i) {
        const float a = i * kPi / 4 + 0.2f;
        p.Line(Contour{{0, 0}, {11 * std::cos(a), 10.5f * std::sin(a)}}, 1.1f, silk, 0.6f);
      }
      for (float r : {3.5f, 6.5f, 9.5f}) {
        Contour ring;
        for (int i = 0; i < 8; ++i) {
          const float a = i * kPi / 4 + 0.2f;
          ring.push_back({r * std::cos(a), r * 0.95f * std::sin(a)});
        }
        p.Line(ring, 1.0f, silk, 0.6f, true);
      }
    },
}};

Canvas RenderReagent(int index) {
  Canvas canvas(ReagentIconList::kWidth, ReagentIconList::kHeight);
  Pen pen(canvas);
  kReagentRecipes[static_cast<size_t>(index)](pen);
  return canvas;
}

// ================================================================== to bitmaps

DWORD Pack(float r, float g, float b, float a) {
  auto byte = [](float v) {
    return static_cast<DWORD>(std::clamp(static_cast<int>(std::lround(v)), 0, 255));
  };
  return (byte(a * 255) << 24) | (byte(r) << 16) | (byte(g) << 8) | byte(b);
}

}  // namespace

SpellAtlases MakeSpellAtlases() {
  SpellAtlases out;
  DWORD* normal = nullptr;
  DWORD* greyed = nullptr;
  out.normal = win::CreateDib32(kSpellAtlasSize, kSpellAtlasSize, &normal);
  out.greyed = win::CreateDib32(kSpellAtlasSize, kSpellAtlasSize, &greyed);
  if (!out.normal || !out.greyed) return {};
  for (int i = 0; i < 64; ++i) {
    const Canvas icon = RenderSpell(i);
    const int left = kSpellIconSize * (i % 8), top = kSpellIconSize * (i / 8);
    for (int y = 0; y < kSpellIconSize; ++y) {
      for (int x = 0; x < kSpellIconSize; ++x) {
        const Col c = icon.At(x, y);  // the tile makes every pixel opaque
        const int at = (top + y) * kSpellAtlasSize + left + x;
        normal[at] = Pack(c.r, c.g, c.b, 1);
        // Washed out: light grey with the shapes still faintly readable.
        const float v = 120 + 0.45f * (0.30f * c.r + 0.59f * c.g + 0.11f * c.b);
        greyed[at] = Pack(v, v, v, 1);
      }
    }
  }
  GdiFlush();
  return out;
}

win::Bitmap MakeSpellAtlas(bool greyed) {
  SpellAtlases both = MakeSpellAtlases();
  return std::move(greyed ? both.greyed : both.normal);
}

ReagentIconList::ReagentIconList() {
  DWORD* bits = nullptr;
  strip_ = win::CreateDib32(kWidth * kCount, kHeight, &bits);
  if (!strip_) return;
  for (int i = 0; i < kCount; ++i) {
    const Canvas icon = RenderReagent(i);
    for (int y = 0; y < kHeight; ++y) {
      for (int x = 0; x < kWidth; ++x) {
        const Col c = icon.At(x, y);  // premultiplied, as AlphaBlend wants it
        bits[y * kWidth * kCount + i * kWidth + x] = Pack(c.r, c.g, c.b, c.a);
      }
    }
  }
  GdiFlush();
}

bool ReagentIconList::Draw(HDC dc, int index, int x, int y) const {
  if (!strip_ || index < 0 || index >= kCount) return false;
  win::MemoryDc source(CreateCompatibleDC(dc));
  if (!source) return false;
  win::SelectScope select(source.get(), strip_.get());
  BLENDFUNCTION blend{AC_SRC_OVER, 0, 255, AC_SRC_ALPHA};
  return GdiAlphaBlend(dc, x, y, kWidth, kHeight, source.get(), index * kWidth, 0, kWidth, kHeight,
                       blend) != FALSE;
}

win::Bitmap MakeReagentPicture(int index, COLORREF background) {
  constexpr int w = ReagentIconList::kWidth, h = ReagentIconList::kHeight;
  DWORD* bits = nullptr;
  win::Bitmap picture = win::CreateDib32(w, h, &bits);
  if (!picture) return picture;
  const float br = GetRValue(background), bg = GetGValue(background), bb = GetBValue(background);
  const bool valid = index >= 0 && index < ReagentIconList::kCount;
  const Canvas icon = valid ? RenderReagent(index) : Canvas(w, h);
  for (int y = 0; y < h; ++y) {
    for (int x = 0; x < w; ++x) {
      const Col c = icon.At(x, y);
      bits[y * w + x] =
          Pack(c.r + br * (1 - c.a), c.g + bg * (1 - c.a), c.b + bb * (1 - c.a), 1) & 0x00FFFFFF;
    }
  }
  GdiFlush();
  return picture;
}

}  // namespace quillorb

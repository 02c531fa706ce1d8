#include "model/raster.h"

namespace quillorb::raster {

Col Paint::At(float x, float y) const {
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

void Canvas::Fill(const Path& path, const Paint& paint) {
  float minX = 1e9f, minY = 1e9f, maxX = -1e9f, maxY = -1e9f;
  for (const auto& c : path) {
    for (Pt p : c) {
      minX = std::min(minX, p.x), maxX = std::max(maxX, p.x);
      minY = std::min(minY, p.y), maxY = std::max(maxY, p.y);
    }
  }
  // Clamped before the conversion, so that far-away points cannot overflow an int.
  auto row = [](float v, int size) {
    return static_cast<int>(std::floor(std::clamp(v, -1.0f, static_cast<float>(size))));
  };
  const int x0 = std::max(0, row(minX, w_));
  const int x1 = std::min(w_ - 1, row(maxX, w_));
  const int y0 = std::max(0, row(minY, h_));
  const int y1 = std::min(h_ - 1, row(maxY, h_));
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
      e.from = std::max(y0, row(e.top.y, h_));
      e.to = std::min(y1, row(e.bottom.y, h_));
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
    if (a >= b) return;  // also keeps a far-away start from overflowing the conversion
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

void Canvas::Blend(int x, int y, Col c, float cov) {
  Col& d = px_[static_cast<size_t>(y * w_ + x)];
  const float a = c.a * cov;
  d.r = c.r * a + d.r * (1 - a);
  d.g = c.g * a + d.g * (1 - a);
  d.b = c.b * a + d.b * (1 - a);
  d.a = a + d.a * (1 - a);
}

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
Contour Star(float cx, float cy, float outer, float inner, int points, float rotDeg) {
  Contour c;
  for (int i = 0; i < points * 2; ++i) {
    const float r = i % 2 ? inner : outer;
    const float t = (rotDeg + 180.0f * i / points) * kPi / 180;
    c.push_back({cx + r * std::cos(t), cy + r * std::sin(t)});
  }
  return Positive(std::move(c));
}
// Quadratic Bezier from p0 over control q to p1, as an open polyline.
Contour Bez(Pt p0, Pt q, Pt p1, int n) {
  Contour c;
  for (int i = 0; i <= n; ++i) {
    const float t = static_cast<float>(i) / n, u = 1 - t;
    c.push_back({u * u * p0.x + 2 * u * t * q.x + t * t * p1.x,
                 u * u * p0.y + 2 * u * t * q.y + t * t * p1.y});
  }
  return c;
}
// A leaf or claw: a curve from p0 over q to p1 whose width swells to `width` in the middle.
Contour Taper(Pt p0, Pt q, Pt p1, float width, float startWidth) {
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
Contour Smooth(Contour pts, int rounds) {
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
Path Stroke(const Contour& line, float width, bool closed) {
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
void Pen::Fill(const Path& path, Paint paint) {
  Path out = path;
  for (auto& c : out) {
    for (Pt& p : c) p = Map(p);
  }
  paint.p0 = Map(paint.p0);
  if (paint.kind == Paint::Kind::Radial) {
    paint.p1.x *= s_ * scale_;
  } else {
    paint.p1 = Map(paint.p1);
  }
  canvas_.Fill(out, paint);
}

void Pen::Shape(const Path& path, Paint paint, float outline) {
  if (outline > 0) {
    Path edge;
    for (const auto& c : path) {
      for (auto& part : Stroke(c, 2 * outline / s_, true)) edge.push_back(std::move(part));
    }
    Fill(edge, ink);
  }
  Fill(path, paint);
}

void Pen::Line(const Contour& pts, float width, Paint paint, float outline, bool closed) {
  if (outline > 0) Fill(Stroke(pts, width + 2 * outline / s_, closed), ink);
  Fill(Stroke(pts, width, closed), paint);
}

}  // namespace quillorb::raster

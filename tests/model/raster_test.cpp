#include "model/raster.h"

#include <gtest/gtest.h>

#include <cmath>
#include <iterator>

namespace quillorb::raster {
namespace {

constexpr Col kOpaqueWhite{255, 255, 255, 1};

// The alpha of each pixel of a filled canvas, and their sum (the covered area).
float CoveredArea(const Canvas& c) {
  float sum = 0;
  for (int y = 0; y < c.Height(); ++y) {
    for (int x = 0; x < c.Width(); ++x) sum += c.At(x, y).a;
  }
  return sum;
}

Canvas Filled(int w, int h, const Path& path, const Paint& paint = kOpaqueWhite) {
  Canvas c(w, h);
  c.Fill(path, paint);
  return c;
}

struct PixelCase {
  const char* what;
  Path path;
  int x, y;
  float alpha;
};

TEST(Raster, EdgesCoverPixelsByTheirExactShare) {
  const PixelCase cases[] = {
      {"inside", {Rect(1, 1, 2, 2)}, 1, 1, 1.0f},
      {"outside", {Rect(1, 1, 2, 2)}, 0, 0, 0.0f},
      {"right edge stops short", {Rect(1, 1, 2, 2)}, 3, 1, 0.0f},
      {"half a column", {Rect(0.5f, 0, 1, 4)}, 0, 1, 0.5f},
      {"the other half", {Rect(0.5f, 0, 1, 4)}, 1, 1, 0.5f},
      {"a quarter column", {Rect(2.25f, 0, 0.5f, 4)}, 2, 1, 0.5f},
      {"top edge mid-row: 3 of 5 sub-lines", {Rect(0, 0.5f, 4, 1)}, 1, 0, 0.6f},
      {"bottom edge mid-row: 2 of 5", {Rect(0, 0.5f, 4, 1)}, 1, 1, 0.4f},
      {"a corner: both shares", {Rect(0.5f, 0.5f, 3, 3)}, 0, 0, 0.3f},
      {"hole of a ring", Ring(8, 8, 7, 7, 2), 8, 8, 0.0f},
      {"body of a ring", Ring(8, 8, 7, 7, 2), 8, 2, 1.0f},
      {"overlap of two shapes counts once", {Rect(0, 0, 3, 3), Rect(1, 1, 3, 3)}, 2, 2, 1.0f},
      {"reversed contour cuts a hole", {Rect(0, 0, 8, 8), Reversed(Rect(2, 2, 4, 4))}, 3, 3, 0.0f},
  };
  for (const auto& t : cases) {
    const Canvas c = Filled(16, 16, t.path);
    EXPECT_NEAR(c.At(t.x, t.y).a, t.alpha, 1e-5f) << t.what;
  }
}

TEST(Raster, SlantedEdgesAreAntiAliasedAndKeepTheArea) {
  // A triangle over half of a 10 x 10 square, and a disc: every pixel's share lies in 0..1, the
  // shares add up to the area, and the slanted edge leaves pixels partly covered.
  struct AreaCase {
    const char* what;
    Contour shape;
    float area;
  };
  const AreaCase cases[] = {
      {"triangle", Poly({{2, 2}, {12, 2}, {2, 12}}), 50.0f},
      {"disc (a 30-gon)", Circle(10, 10, 6), 15 * 36 * std::sin(2 * kPi / 30)},
      {"slanted bar", Poly({{2, 2}, {18, 6}, {18, 8}, {2, 4}}), 32.0f},
  };
  for (const auto& t : cases) {
    const Canvas c = Filled(20, 20, {t.shape});
    EXPECT_NEAR(CoveredArea(c), t.area, t.area * 0.02f + 0.2f) << t.what;
    int partial = 0;
    for (int y = 0; y < 20; ++y) {
      for (int x = 0; x < 20; ++x) {
        const float a = c.At(x, y).a;
        EXPECT_GE(a, 0.0f) << t.what;
        EXPECT_LE(a, 1.0f) << t.what;
        partial += a > 0.05f && a < 0.95f;
      }
    }
    EXPECT_GT(partial, 3) << t.what;
  }
}

TEST(Raster, ShapesAreClippedToTheCanvas) {
  // Partly or wholly outside, huge, or degenerate: nothing is written outside the pixels
  // (the sanitizers watch), and what is inside is right.
  const Path cases[] = {
      {Rect(-5, -5, 8, 8)},
      {Rect(6, 6, 100, 100)},
      {Rect(-1e30f, -1e30f, 2e30f, 2e30f)},
      {Circle(-50, 4, 3)},
      {Rect(20, 20, 5, 5)},
      {Poly({{1, 1}, {5, 1}})},  // flat: no edge crosses a row
      {Contour{}},
      {},
  };
  for (size_t i = 0; i < std::size(cases); ++i) {
    const Canvas c = Filled(8, 8, cases[i]);
    EXPECT_LE(CoveredArea(c), 64.0f) << i;
  }
  EXPECT_FLOAT_EQ(CoveredArea(Filled(8, 8, cases[0])), 9.0f);
  EXPECT_FLOAT_EQ(CoveredArea(Filled(8, 8, cases[1])), 4.0f);
  EXPECT_FLOAT_EQ(CoveredArea(Filled(8, 8, cases[2])), 64.0f);
  for (size_t i = 3; i < std::size(cases); ++i) {
    EXPECT_EQ(CoveredArea(Filled(8, 8, cases[i])), 0.0f) << i;
  }
}

TEST(Raster, PaintsBlendPremultipliedOverWhatIsThere) {
  Canvas c(4, 1);
  c.Fill({Rect(0, 0, 4, 1)}, Hex(0x0000FF));
  c.Fill({Rect(0, 0, 2, 1)}, Hex(0xFF0000, 0.5f));
  c.Fill({Rect(2, 0, 2, 1)}, LGrad(Hex(0x000000), Hex(0xFFFFFF), {2, 0}, {4, 0}));
  const Col half = c.At(0, 0);
  EXPECT_FLOAT_EQ(half.r, 127.5f);
  EXPECT_FLOAT_EQ(half.b, 127.5f);
  EXPECT_FLOAT_EQ(half.a, 1.0f);
  EXPECT_FLOAT_EQ(c.At(2, 0).r, 255 * 0.25f);  // the gradient sampled at pixel centres
  EXPECT_FLOAT_EQ(c.At(3, 0).r, 255 * 0.75f);

  // Gradients clamp beyond their ends; a radial one grows with the distance from its centre.
  const Paint v = VGrad(Hex(0x000000), Hex(0xFFFFFF), 10, 20);
  EXPECT_FLOAT_EQ(v.At(0, 0).r, 0.0f);
  EXPECT_FLOAT_EQ(v.At(0, 15).r, 127.5f);
  EXPECT_FLOAT_EQ(v.At(0, 99).r, 255.0f);
  const Paint r = RGrad(Hex(0xFFFFFF), Hex(0x000000), {0, 0}, 10);
  EXPECT_FLOAT_EQ(r.At(0, 0).g, 255.0f);
  EXPECT_FLOAT_EQ(r.At(6, 8).g, 0.0f);
}

TEST(Raster, PackingRoundsAndClamps) {
  EXPECT_EQ(PackArgb(0, 0, 0, 0), 0x00000000u);
  EXPECT_EQ(PackArgb(255, 128, 1, 1), 0xFFFF8001u);
  EXPECT_EQ(PackArgb(127.5f, 0.49f, 300, 0.5f), 0x80800000u | 0xFFu);
  EXPECT_EQ(PackArgb(-4, 254.6f, 0, 2), 0xFF00FF00u);
}

TEST(Raster, PenFramesMoveAndScaleShapesButNotOutlines) {
  Canvas c(20, 20);
  Pen pen(c);
  pen.Frame(10, 10, 2);
  pen.Fill(Rect(0, 0, 2, 2), kOpaqueWhite);  // 10..14 on the canvas
  EXPECT_FLOAT_EQ(CoveredArea(c), 16.0f);
  EXPECT_FLOAT_EQ(c.At(13, 13).a, 1.0f);
  EXPECT_FLOAT_EQ(c.At(14, 14).a, 0.0f);

  // An outline of 1 pixel around a shape stays 1 pixel wide at scale 4.
  Canvas outlined(40, 40);
  Pen big(outlined);
  big.Frame(20, 20, 4);
  big.ink = Hex(0x000000);
  big.Shape(Rect(-2, -2, 4, 4), kOpaqueWhite, 1.0f);
  EXPECT_FLOAT_EQ(outlined.At(11, 20).a, 1.0f);  // the outline, left of x = 12
  EXPECT_FLOAT_EQ(outlined.At(11, 20).r, 0.0f);
  EXPECT_FLOAT_EQ(outlined.At(9, 20).a, 0.0f);
  EXPECT_FLOAT_EQ(outlined.At(12, 20).r, 255.0f);
}

}  // namespace
}  // namespace quillorb::raster

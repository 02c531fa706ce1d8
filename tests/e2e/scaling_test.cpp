// quillorb.exe at the display scale of the desktop it runs on (the program runs at 96, 144 and
// 192 DPI, see tests/CMakeLists.txt): the strip laid out at that scale, its spell icons drawn
// there at their full size, and a click where an icon is drawn casts that spell.
#include <gtest/gtest.h>

#include <cstdlib>
#include <memory>
#include <string>

#include "app/spell_art.h"
#include "tests/harness/folder_test.h"
#include "tests/harness/harness.h"
#include "tests/win/client_standin.h"
#include "win/bitmap.h"
#include "win/dpi.h"

namespace {

using harness::Quillorb;

class Scaling : public harness::FolderTest {
 protected:
  Scaling() : FolderTest("scaling") {}
};

// The scale the lane was set up with (QUILLORB_EXPECT_DPI), so that a lane that silently ran at
// 96 DPI fails instead of passing.
int ExpectedDpi() {
  const char* expected = std::getenv("QUILLORB_EXPECT_DPI");
  return expected ? std::atoi(expected) : win::Dpi::kDesign;
}

TEST_F(Scaling, TheStripIsLaidOutAtTheScreensScaleAndAClickWhereAnIconIsDrawnCastsIt) {
  const win::Dpi dpi = win::SystemDpi();
  ASSERT_EQ(dpi.Value(), ExpectedDpi());
  standin::FakeClient client;
  ASSERT_NE(client.Window(), nullptr);
  // Magic Arrow in the first slot of page A, ten casts of it in the backpack; Ctrl+Shift+5.
  harness::WriteFile(folder_ + "quillorb.ini",
                     "[Reagent]\r\nReagent6=10\r\n[UserSpell]\r\nSpell00=4\r\n"
                     "[Config]\r\nEnableSpellCasting=0\r\n");
  Quillorb app(folder_, true);
  ASSERT_EQ(win::WindowDpi(app.Window()), dpi);
  RECT client_area{};
  GetClientRect(app.Window(), &client_area);
  EXPECT_EQ(client_area.right, dpi.Scale(640));
  EXPECT_EQ(client_area.bottom, dpi.Scale(60));
  // The counters, the panel and the tabs where the 96-DPI layout puts them, scaled.
  const struct {
    int id;
    RECT design;
  } kChildren[] = {{110, {30, 0, 55, 19}},
                   {117, {216, 20, 241, 39}},
                   {100, {0, 42, 267, 60}},
                   {101, {270, 40, 590, 59}}};
  for (const auto& c : kChildren) {
    const RECT r = harness::ChildRect(app.Control(c.id));
    const RECT want = dpi.Scale(c.design);
    EXPECT_TRUE(EqualRect(&r, &want))
        << c.id << ": " << r.left << "," << r.top << " " << r.right << "," << r.bottom;
  }

  // The icon's upper half on the screen (the casts-left label covers the lower right), against
  // Magic Arrow drawn at this scale: found where the slot is laid out.
  const int cell = dpi.Scale(40);
  const win::Bitmap atlas = quillorb::MakeSpellAtlas(false, dpi);
  const win::Pixels icons = win::ReadPixels(atlas.get());
  const POINT corner = app.ScreenPoint(270, 0);
  const auto matching = [&] {
    const std::vector<COLORREF> shown =
        harness::ScreenPixels({corner.x, corner.y, corner.x + cell, corner.y + cell / 2});
    int n = 0;
    for (int y = 0; y < cell / 2; ++y) {
      for (int x = 0; x < cell; ++x) {
        const DWORD px = icons.At(cell * 4 + x, y);
        n += shown[static_cast<size_t>(y * cell + x)] ==
             RGB((px >> 16) & 0xFF, (px >> 8) & 0xFF, px & 0xFF);
      }
    }
    return n;
  };
  // The strip paints in its own time: the pixels are read until they show the icon.
  const int same = harness::WaitForValue(matching, [&](int n) { return n == cell * cell / 2; });
  EXPECT_EQ(same, cell * cell / 2) << "pixels of Magic Arrow's icon where slot 1 is laid out";

  client.Mark();
  harness::Click({corner.x + cell / 2, corner.y + cell / 2});
  EXPECT_EQ(standin::KeysSinceMark(client, 6),
            (std::vector<WPARAM>{VK_CONTROL, VK_SHIFT, '5', '5', VK_SHIFT, VK_CONTROL}));
  EXPECT_TRUE(harness::WaitUntil([&] { return harness::WindowText(app.Control(116)) == "9"; }));
  ASSERT_TRUE(app.Close());
}

}  // namespace

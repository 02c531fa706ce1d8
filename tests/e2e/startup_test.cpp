// quillorb.exe started for real in a fresh folder: its window, its controls, and the files it
// leaves behind when it is closed.
#include <gtest/gtest.h>

#include "tests/harness/harness.h"

namespace {

using harness::Quillorb;

class Startup : public ::testing::Test {
 protected:
  void SetUp() override { folder_ = harness::NewTempFolder("startup"); }
  void TearDown() override { harness::RemoveFolder(folder_); }
  std::string folder_;
};

TEST_F(Startup, FirstStartInAnEmptyFolder) {
  Quillorb app(folder_);
  HWND w = app.Window();
  EXPECT_EQ(harness::WindowText(w), "Quillorb");
  RECT client{};
  GetClientRect(w, &client);
  EXPECT_EQ(client.right, 640);
  EXPECT_EQ(client.bottom, 60);
  EXPECT_TRUE(harness::IsTopmost(w));
  RECT outer = harness::WindowRectOf(w);
  EXPECT_EQ(outer.left, 0);
  EXPECT_EQ(outer.top, 0);
  ASSERT_TRUE(app.Close());
}

}  // namespace

// A test fixture with a fresh folder of its own under the temporary folder. The folder goes
// after the derived fixture's members (a program still running in it, a dialog holding a file).
#pragma once

#include <gtest/gtest.h>

#include <string>

#include "tests/harness/harness.h"

namespace harness {

class FolderTest : public ::testing::Test {
 protected:
  // `tag` makes the folder recognisable.
  explicit FolderTest(const std::string& tag) : folder_(NewTempFolder(tag)) {}
  ~FolderTest() override { RemoveFolder(folder_); }

  const std::string folder_;  // ends in a backslash
};

}  // namespace harness

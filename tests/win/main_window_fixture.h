// The main window created in-process, once for a whole test suite (creating it is what is
// expensive under Wine). It is never closed with WM_CLOSE, so it writes nothing beside the test
// program.
#pragma once

#include <commctrl.h>
#include <gtest/gtest.h>
#include <windows.h>

#include "app/form_main.h"
#include "tests/harness/harness.h"

namespace quillorb {

class MainWindowFixture : public ::testing::Test {
 protected:
  static void SetUpTestSuite() { CreateMainWindow(SW_SHOWNOACTIVATE); }
  static void TearDownTestSuite() {
    delete form_;
    form_ = nullptr;
  }

  // A suite that needs the window shown otherwise calls this from its own SetUpTestSuite.
  static void CreateMainWindow(int showCommand) {
    INITCOMMONCONTROLSEX icc{sizeof icc, ICC_WIN95_CLASSES};
    InitCommonControlsEx(&icc);
    form_ = new TForm_Main();
    form_->Create();
    form_->Show(showCommand);
  }

  // Handles what is queued for this thread.
  static void Pump() { harness::Pump(); }

  static inline TForm_Main* form_ = nullptr;
};

}  // namespace quillorb

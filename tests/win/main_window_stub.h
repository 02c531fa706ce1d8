// What the casting pipeline reads of the main window, without the window: a TForm_Main object
// with its rune-casting toggle and assistant window, published as Form_Main for the test's
// lifetime.
#pragma once

#include <memory>

#include "app/form_main.h"
#include "win/graphic.h"

namespace quillorb {

class MainWindowStub {
 public:
  explicit MainWindowStub(bool runeCasting = true) {
    form_.SpeedButton_Casting = std::make_unique<win::SpeedButton>(form_, 616, 40, 22, 20);
    form_.SpeedButton_Casting->SetGroupIndex(2, true);
    form_.SpeedButton_Casting->SetDown(runeCasting);
    Form_Main = &form_;
  }
  ~MainWindowStub() { Form_Main = nullptr; }
  MainWindowStub(const MainWindowStub&) = delete;
  MainWindowStub& operator=(const MainWindowStub&) = delete;

  TForm_Main& Form() { return form_; }
  void SetRuneCasting(bool down) { form_.SpeedButton_Casting->SetDown(down); }

 private:
  TForm_Main form_;
};

}  // namespace quillorb

// The numeric edit controls: TCustomEditEx (an edit with keyboard navigation) and TNumEdit
// (a bounded number shown bare while focused and formatted otherwise).
#pragma once

#include <cstdint>
#include <string>

#include "win/edit.h"

namespace quillorb {

class TCustomEditEx : public win::Edit {
 public:
  using win::Edit::Edit;

  bool Modified = false;
  bool EnterKeyToExit = false;
  bool EscToExit = false;
  bool EscToReset = false;
  bool TabKeyToExit = true;
  std::string EntryText;

 protected:
  void DoEnter() override;
  void DoChange() override;
};

class TNumEdit : public TCustomEditEx {
 public:
  static constexpr double kDefaultMax = 9999999999.999998;

  TNumEdit(HWND parent, int id, int left, int top, int width, int height);

  int32_t Integer() const { return integer_; }
  void SetInteger(int32_t value);
  double Real() const { return real_; }
  void SetReal(double value);

  double Max = kDefaultMax;
  double Min = -kDefaultMax;
  bool EnableNegative = true;

 protected:
  void DoEnter() override;
  void DoExit() override;
  void DoChange() override;

 private:
  void RefreshText();
  void ParseText();
  bool editing_ = false;
  int32_t integer_ = 0;
  double real_ = 0.0;
};

}  // namespace quillorb
